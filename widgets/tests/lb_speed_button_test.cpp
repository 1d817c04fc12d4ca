#include "widgets/lb_speed_button.h"

#include "platform/graphics/image_list.h"

#include "widgets/tests/widget_fixture.h"

namespace rv {
namespace {

using test::FormWith;
using test::Snapshot;

TEST(LbSpeedButton, GroupsKeepOneButtonDownAndItLooksPressed) {
    FormWith f;
    auto* a = f.Add<TLbSpeedButton>(0, 0);
    auto* b = f.Add<TLbSpeedButton>(0, 30);
    auto* c = f.Add<TLbSpeedButton>(0, 60);
    for (auto* s : {a, b, c}) s->SetGroupIndex(1);
    // Same group number on another parent is another group.
    TForm other(nullptr);
    auto* elsewhere = new TLbSpeedButton(&other);
    elsewhere->SetParent(&other);
    elsewhere->SetGroupIndex(1);
    elsewhere->SetDown(true);

    f.Click(a);
    EXPECT_TRUE(a->Down());
    f.Click(b);
    EXPECT_TRUE(b->Down());
    EXPECT_FALSE(a->Down());
    EXPECT_TRUE(elsewhere->Down());
    f.Click(b);  // without AllowAllUp a down button stays down
    EXPECT_TRUE(b->Down());
    for (auto* s : {a, b, c}) s->AllowAllUp = true;
    f.Click(b);
    EXPECT_FALSE(b->Down());
    // A double click is one more press.
    f.Click(c, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(c->Down());
    c->SetDown(false);
    a->SetDown(true);
    b->SetDown(true);
    EXPECT_FALSE(a->Down());

    c->SetColorStyle(lcsUltraFlatXP);
    int w = c->Width(), h = c->Height();
    // Flat: no frame; pressed: a frame in the shadow colour.
    EXPECT_TRUE(test::PixelsAre(Snapshot(*c), {{w / 2, h / 2, 0xD1D8DB}, {0, h / 2, 0xD1D8DB}}));
    c->SetDown(true);
    EXPECT_TRUE(test::PixelsAre(
        Snapshot(*c), {{w / 2, h / 2, 0xB59285}, {0, h / 2, 0xB59285}, {w - 1, h / 2, 0xB59284}}));

    c->SetDown(false);
    c->SetTransparent(true);
    EXPECT_EQ(Snapshot(*c).Pixel(w / 2, h / 2), clLime);
}

TEST(LbSpeedButton, WithoutGroupItIsDownWhilePressedAndClicksOnRelease) {
    FormWith f;
    auto* s = f.Add<TLbSpeedButton>(20, 20);
    int clicks = 0;
    bool downAtClick = false;
    s->OnClick = [&](TObject*) {
        ++clicks;
        downAtClick = s->Down();
    };
    LPARAM at = MAKELPARAM(25, 25);
    f.form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    EXPECT_TRUE(s->Down());
    f.form.Perform(WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(s->Down());
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(downAtClick);
    // Released outside: no click.
    f.form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
    f.form.Perform(WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
    EXPECT_EQ(clicks, 1);

    // The accelerator clicks with the button shown down, then restores it.
    s->SetCaption("&Play");
    f.form.Perform(CM_DIALOGCHAR, 'P');
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(downAtClick);
    EXPECT_FALSE(s->Down());

    auto* menu = new TPopupMenu(&f.form);
    s->SetPopupMenu(menu);
    f.Click(s);
    EXPECT_EQ(menu->PopupCount, 1);
    EXPECT_EQ(menu->PopupPoint, s->ClientToScreen({0, s->Height()}));
    EXPECT_EQ(menu->PopupComponent(), s);
}

TEST(LbSpeedButton, AnActionsImageBecomesTheGlyph) {
    FormWith f;
    TImageList images(8, 8);
    TBitmap picture(16, 8);
    picture.Canvas().Brush.Color = clBlue;
    picture.Canvas().FillRect({8, 0, 16, 8});
    images.Add(picture);
    auto* list = new TActionList(&f.form);
    list->SetImages(&images);
    auto* play = new TAction(&f.form);
    play->SetActionList(list);
    play->SetImageIndex(1);
    play->SetCaption("Play");

    auto* s = f.Add<TLbSpeedButton>(0, 0);
    s->SetAction(play);
    EXPECT_EQ(s->Caption(), "Play");
    ASSERT_EQ(s->Glyph().Width(), 8);
    EXPECT_EQ(s->Glyph().Pixel(3, 3), clBlue);

    // A button that has a glyph keeps it.
    auto* t = f.Add<TLbSpeedButton>(0, 40);
    t->SetGlyph(TBitmap(10, 10));
    t->SetAction(play);
    EXPECT_EQ(t->Glyph().Width(), 10);
    int runs = 0;
    play->OnExecute = [&](TObject*) { ++runs; };
    f.Click(t);
    EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace rv
