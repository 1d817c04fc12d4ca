#include "widgets/lb_button.h"

#include <chrono>
#include <functional>
#include <tuple>

#include "widgets/tests/widget_fixture.h"

namespace rv {
namespace {

using namespace std::chrono_literals;
using test::CountColor;
using test::FormWith;
using test::PixelsAre;
using test::Snapshot;

struct PresetRow {
    TLbColorStyle style;
    TColor face;
    TLbButtonStyle look;
};

TEST(LbButton, ColorPresetsSetColoursAndLook) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    const PresetRow rows[] = {
        {lcsGold, 0x00C0C0, bsModern},        {lcsChrome, 0xC0C0C0, bsModern},
        {lcsBlue, 0xFF8000, bsModern},        {lcsRed, 0x0000FF, bsModern},
        {lcsUltraFlat1, clBtnFace, bsNormal}, {lcsUltraFlat2, clBtnFace, bsNormal},
        {lcsUltraFlatXP, 0xD1D8DB, bsNormal}, {lcsAqua, 0xECCE94, bsModern},
        {lcsDefault, clBtnFace, bsNormal},    {lcsQuicken, 0x603000, bsQuicken},
    };
    int w = b->Width(), h = b->Height();
    for (const PresetRow& row : rows) {
        SCOPED_TRACE(int(row.style));
        b->SetColorStyle(row.style);
        EXPECT_EQ(b->Color(), row.face);
        EXPECT_EQ(b->Style(), row.look);
        TBitmap p = Snapshot(*b);
        TColor face = ColorToRGB(row.face);
        const TColor light = ColorToRGB(b->LightColor()), shadow = ColorToRGB(b->ShadowColor());
        if (row.look == bsNormal) {
            // Flat presets show no frame until hot.
            EXPECT_TRUE(PixelsAre(p, {{w / 2, h / 2, face}, {0, h / 2, b->Flat() ? face : light}}));
        } else if (row.look == bsModern) {
            // 32 bands over few rows: each row shows the last band that starts on it; then the
            // inner outline, the rounded outline, and corners that show what lies below.
            EXPECT_TRUE(PixelsAre(p, {{w / 2, 2, BlendColors(light, face, 10 / 31.0)},
                                      {w / 2, h / 4, BlendColors(face, light, 1 / 31.0)},
                                      {w / 2, h - 3, BlendColors(face, light, 29 / 31.0)},
                                      {w / 2, h - 2, face},
                                      {w / 2, 0, shadow},
                                      {0, 0, clLime}}));
        } else {
            EXPECT_TRUE(PixelsAre(p, {{w / 2, h / 2, face}, {w / 2, 0, shadow}, {0, 1, clLime}}));
        }
    }
    EXPECT_EQ(b->Font().Color, clWhite);  // Quicken's text
    b->SetColorStyle(lcsCustom);          // changes nothing
    EXPECT_EQ(b->Color(), 0x603000u);
}

TEST(LbButton, StatesShowInTheFrameFaceAndGlyph) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    int w = b->Width(), h = b->Height();
    b->SetLightColor(clWhite);
    b->SetShadowColor(clGray);
    b->SetHotTrackColor(clYellow);
    b->SetColorWhenDown(clAqua);
    TColor face = ColorToRGB(clBtnFace);

    EXPECT_TRUE(PixelsAre(Snapshot(*b),
                          {{0, h / 2, clWhite}, {w - 1, h / 2, clGray}, {w / 2, h / 2, face}}));

    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Snapshot(*b).Pixel(w / 2, h / 2), clYellow);

    b->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(b->Pressed());
    // Light and shadow change sides.
    EXPECT_TRUE(PixelsAre(Snapshot(*b),
                          {{0, h / 2, clGray}, {w - 1, h / 2, clWhite}, {w / 2, h / 2, clAqua}}));
    EXPECT_TRUE(b->Focused());  // pressing takes the focus
    b->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    b->Perform(CM_MOUSELEAVE);

    // The focus rectangle sits 4 pixels inside.
    TBitmap focused = Snapshot(*b);
    EXPECT_NE(focused.Pixel(4, 4), focused.Pixel(5, 4));
    EXPECT_EQ(focused.Pixel(3, 4), face);

    // Flat: no frame until hot (and the focus makes it hot too).
    f.Add<test::PlainControl>(10, 100)->SetFocus();
    b->SetFlat(true);
    EXPECT_EQ(Snapshot(*b).Pixel(w - 1, h / 2), face);
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(Snapshot(*b).Pixel(w - 1, h / 2), clGray);
    b->Perform(CM_MOUSELEAVE);
}

TEST(LbButton, AtTwiceTheScaleTheFrameIsOneLogicalPixelWideAndTheCaptionSharp) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    b->SetLightColor(clWhite);
    b->SetShadowColor(clGray);
    b->SetCaption("Hilfe");
    TBitmap p = Snapshot(*b, 2);
    ASSERT_EQ(p.PixelWidth(), 2 * b->Width());
    int w = p.PixelWidth(), h = p.PixelHeight();
    // Light at the left, shadow at the right: two device pixels each, unbroken from top to
    // bottom, the face right inside.
    std::string left, right;
    for (int y = 0; y < h; ++y) {
        left += p.Pixel(0, y) == clWhite && p.Pixel(1, y) == clWhite ? '#' : '.';
        right += p.Pixel(w - 1, y) == clGray && p.Pixel(w - 2, y) == clGray ? '#' : '.';
    }
    EXPECT_EQ(left, std::string(h, '#'));
    EXPECT_EQ(right.substr(2), std::string(h - 2, '#'));
    TColor face = ColorToRGB(clBtnFace);
    EXPECT_TRUE(PixelsAre(p, {{2, h / 2, face}, {w - 3, h / 2, face}, {w / 2, 1, clWhite}}));
    // The caption is drawn at the finer resolution, not enlarged from a picture of half the size
    // (which would repeat every pixel in the one beside it).
    int finer = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; x += 2) finer += p.Pixel(x, y) != p.Pixel(x + 1, y);
    EXPECT_GT(finer, 20);
}

// `cells` square cells on the transparent colour: red in the first, blue in the second.
TBitmap Cells(int cells) {
    TBitmap g = test::Filled(12 * cells, 12, kLbTransparent);
    for (int i = 0; i < cells; ++i) {
        g.Canvas().Brush.Color = i == 0 ? clRed : clBlue;
        g.Canvas().FillRect({12 * i + 2, 2, 12 * i + 10, 10});
    }
    return g;
}

TEST(LbButton, DisabledShowsTheSecondCellAndGreyTextAndIgnoresPresses) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    b->SetCaption("Save");
    b->SetGlyph(Cells(2));
    EXPECT_EQ(b->NumGlyphs(), 2);
    b->SetFontColor(clBlack);
    TBitmap on = Snapshot(*b);
    EXPECT_EQ(CountColor(on, clRed), 64);
    EXPECT_EQ(CountColor(on, clBlue) + CountColor(on, kLbTransparent), 0);
    EXPECT_GT(CountColor(on, clBlack), 0);

    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    b->SetEnabled(false);
    TBitmap off = Snapshot(*b);
    EXPECT_EQ(CountColor(off, clBlue), 64);
    EXPECT_EQ(CountColor(off, clRed) + CountColor(off, clBlack), 0);
    EXPECT_GT(CountColor(off, 0x808080), 0);

    f.Click(b);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Pressed());

    // A one-cell glyph has no disabled picture: its only cell is shown.
    b->SetGlyph(Cells(1));
    EXPECT_EQ(b->NumGlyphs(), 1);
    EXPECT_EQ(CountColor(Snapshot(*b), clRed), 64);
}

TEST(LbButton, LongCaptionsAreCutOrWrapped) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    b->SetBounds(10, 10, 60, 60);
    b->SetFontColor(clBlack);
    b->SetCaption("Wide words here");
    auto ink = [&] { return test::DarkBounds(Snapshot(*b), 1, 100); };
    TRect cut = ink();
    EXPECT_GE(cut.Left, 4);
    EXPECT_LE(cut.Right, 56);
    EXPECT_LT(cut.Height(), 15);  // one line
    b->SetWordWrap(true);
    TRect wrapped = ink();
    EXPECT_GT(wrapped.Height(), 2 * cut.Height());
    EXPECT_LE(wrapped.Right, 56);
}

TEST(LbButton, KindsSetGlyphCaptionAndModalResultAClickPassesOn) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    auto kind = [&](TLbButtonKind k) {
        b->SetKind(k);
        return std::tuple(b->Caption(), b->ModalResult(), b->NumGlyphs());
    };
    EXPECT_EQ(kind(bkOK), std::tuple("OK", mrOk, 2));
    EXPECT_EQ(kind(bkClose), std::tuple("Schließen", mrNone, 2));

    b->SetModalResult(mrYes);
    EXPECT_EQ(b->Kind(), bkCustom);
    b->SetKind(bkCancel);
    b->SetGlyph(TBitmap(30, 10));
    EXPECT_EQ(b->Kind(), bkCustom);
    EXPECT_EQ(b->NumGlyphs(), 3);
    b->ClearGlyph();
    EXPECT_EQ(b->NumGlyphs(), 0);

    // Every kind has its picture: two cells differing somewhere.
    for (const char* name : {"LBOK", "LBCANCEL", "LBHELP", "LBYES", "LBNO", "LBCLOSE", "LBABORT",
                             "LBRETRY", "LBIGNORE", "LBALL"}) {
        TBitmap g = LoadLbBitmap(name);
        ASSERT_EQ(g.Width(), 36) << name;
        EXPECT_EQ(g.Pixel(0, g.Height() - 1), kLbTransparent) << name;
        EXPECT_LT(CountColor(g, kLbTransparent), 36 * g.Height() - 20) << name;
    }
    EXPECT_EQ(LoadLbBitmap("LBARROW").Width(), 5);
    EXPECT_TRUE(LoadLbBitmap("NOSUCH").Empty());

    // A click sets the form's modal result and pops the menu.
    b->SetKind(bkYes);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    f.Click(b);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(f.form.ModalResult, mrYes);

    auto* menu = new TPopupMenu(&f.form);
    b->SetPopupMenu(menu);
    b->Click();
    EXPECT_EQ(menu->PopupCount, 1);
    EXPECT_EQ(menu->PopupPoint, b->ClientToScreen({0, b->Height()}));
    EXPECT_EQ(menu->PopupComponent(), b);
    TBitmap p = Snapshot(*b);  // the arrow
    EXPECT_EQ(p.Pixel(b->Width() - 11, b->Height() / 2 - 1), clBlack);
    EXPECT_EQ(p.Pixel(b->Width() - 9, b->Height() / 2 + 1), clBlack);
}

TEST(LbButton, DefaultAndCancelKeys) {
    FormWith f;
    auto* edit = f.Add<test::PlainControl>(10, 100);
    auto* ok = f.Add<TLbButton>(10, 10);
    auto* cancel = f.Add<TLbButton>(120, 10);
    ok->Default = true;
    cancel->Cancel = true;
    int okClicks = 0, cancelClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    cancel->OnClick = [&](TObject*) { ++cancelClicks; };
    // The clicks of OK and Cancel so far, after `to` was given the message.
    auto send = [&](TControl* to, UINT msg, int key) {
        to->Perform(msg, key);
        return std::pair{okClicks, cancelClicks};
    };
    using Clicks = std::pair<int, int>;

    edit->SetFocus();
    EXPECT_EQ(send(edit, WM_KEYDOWN, VK_RETURN), Clicks(1, 0));
    EXPECT_EQ(send(edit, WM_KEYDOWN, VK_ESCAPE), Clicks(1, 1));
    SetKeyState(VK_SHIFT, true);
    EXPECT_EQ(send(edit, WM_KEYDOWN, VK_ESCAPE), Clicks(1, 1));
    EXPECT_EQ(send(edit, WM_KEYDOWN, VK_RETURN), Clicks(1, 1));
    SetKeyState(VK_SHIFT, false);

    // With a push button focused, Enter is that button's, pressed on down, clicked on up.
    cancel->SetFocus();
    EXPECT_EQ(send(cancel, WM_KEYDOWN, VK_RETURN), Clicks(1, 1));
    EXPECT_TRUE(cancel->Pressed());
    EXPECT_EQ(send(cancel, WM_KEYUP, VK_RETURN), Clicks(1, 2));
    send(cancel, WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(send(cancel, WM_KEYUP, VK_SPACE), Clicks(1, 3));
    // A release whose press went elsewhere (the Enter that closed a dialog) clicks nothing.
    EXPECT_EQ(send(cancel, WM_KEYUP, VK_RETURN), Clicks(1, 3));
    EXPECT_EQ(send(cancel, WM_KEYUP, VK_SPACE), Clicks(1, 3));
    // Escape still reaches the Cancel button while another button has the focus.
    ok->SetFocus();
    EXPECT_EQ(send(ok, WM_KEYDOWN, VK_ESCAPE), Clicks(1, 4));

    // A disabled default button takes no Enter.
    ok->SetEnabled(false);
    edit->SetFocus();
    EXPECT_EQ(send(edit, WM_KEYDOWN, VK_RETURN), Clicks(1, 4));

    // The accelerator of the caption clicks.
    cancel->SetCaption("&Quit");
    EXPECT_EQ(send(edit, WM_CHAR, 'q'), Clicks(1, 5));
    EXPECT_EQ(send(edit, WM_CHAR, 'x'), Clicks(1, 5));
}

TColor FaceOf(TLbButton& b) {
    return Snapshot(b).Pixel(b.Width() / 2, b.Height() / 2);
}

void Tick(TLbButton& b) {
    SendMessage(b.FadeTimerHandle(), WM_TIMER, 1, 0);
}

// Handles messages until `done` holds or `ms` milliseconds have passed; returns the time taken.
long long PumpFor(
    long long ms, const std::function<bool()>& done = [] { return false; }) {
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return (std::chrono::steady_clock::now() - start) / 1ms; };
    while (!done() && elapsed() < ms) test::App().ProcessMessages();
    return elapsed();
}

TEST(LbFade, LeavingFadesOutInEightStepsComingBackStopsItAndTheTimerRunsByItself) {
    FormWith f;
    auto* b = f.Add<TLbButton>(10, 10);
    b->SetColor(clBlack);
    b->SetHotTrackColor(RGB(0, 0, 240));
    b->SetSlowDecease(true);
    int entered = 0, left = 0;
    b->OnMouseEnter = [&](TObject*) { ++entered; };
    b->OnMouseExit = [&](TObject*) { ++left; };

    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->FadeStep(), 8);
    EXPECT_EQ(FaceOf(*b), RGB(0, 0, 240));
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
    EXPECT_TRUE(b->Fading());

    std::vector<TColor> faces;
    while (b->Fading()) {
        Tick(*b);
        faces.push_back(FaceOf(*b));
        ASSERT_LE(faces.size(), 8u);
    }
    EXPECT_EQ(faces.size(), 8u);
    for (size_t i = 0; i < faces.size(); ++i)
        EXPECT_EQ(faces[i], RGB(0, 0, 240 * (7 - i) / 8)) << i;
    EXPECT_EQ(b->FadeStep(), 0);

    // Coming back stops the fade.
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    Tick(*b);
    Tick(*b);
    EXPECT_EQ(b->FadeStep(), 6);
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->FadeStep(), 8);
    PumpFor(120);
    EXPECT_EQ(b->FadeStep(), 8);  // the hot colour stays under the mouse
    EXPECT_EQ(FaceOf(*b), RGB(0, 0, 240));

    // Left alone, the timer brings the face back within about 8 x 30 ms.
    b->Perform(CM_MOUSELEAVE);
    EXPECT_GE(PumpFor(3000, [&] { return !b->Fading(); }), 8 * 30 - 30);
    EXPECT_FALSE(b->Fading());
    EXPECT_EQ(b->FadeStep(), 0);

    // Switching the slow fade off mid-way puts the face back at once.
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    b->SetSlowDecease(false);
    EXPECT_EQ(b->FadeStep(), 0);
    EXPECT_FALSE(b->Fading());
    // … and without it leaving does so as well.
    b->Perform(CM_MOUSEENTER);
    b->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(b->FadeStep(), 0);
    EXPECT_EQ(FaceOf(*b), clBlack);

    // No hot colour: the face never changes, whatever the step.
    b->SetHotTrackColor(clNone);
    b->SetColor(clWhite);
    b->Perform(CM_MOUSEENTER);
    EXPECT_EQ(b->FadeStep(), 8);
    EXPECT_EQ(FaceOf(*b), clWhite);

    // A disabled button does not light up.
    b->Perform(CM_MOUSELEAVE);
    b->SetHotTrackColor(clRed);
    b->SetEnabled(false);
    b->Perform(CM_MOUSEENTER);
    EXPECT_FALSE(b->MouseInside());
    EXPECT_EQ(b->FadeStep(), 0);
}

}  // namespace
}  // namespace rv
