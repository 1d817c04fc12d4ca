#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/actions.h"
#include "platform/framework/control.h"
#include "platform/framework/list_view.h"
#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/graphics/tests/pixels.h"

namespace rv {
namespace {

using test::FormWith;

// A windowless control that paints itself in one colour and keeps what reaches it; it takes
// Enter as a dialog key when told to.
class Patch : public TGraphicControl {
public:
    Patch(TComponent* owner, TColor fill = clRed) : TGraphicControl(owner) { InitColor(fill); }
    std::vector<UINT> messages;
    std::vector<TPoint> points;
    bool takesEnter = false;
    int entersTaken = 0;
    void WndProc(TMessage& m) override {
        messages.push_back(m.Msg);
        if (takesEnter && m.Msg == CM_DIALOGKEY && m.WParam == WPARAM(VK_RETURN)) {
            ++entersTaken;
            m.Result = 1;
            return;
        }
        if (m.Msg >= WM_MOUSEMOVE && m.Msg <= WM_MBUTTONDBLCLK)
            points.push_back({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
        TGraphicControl::WndProc(m);
    }
    size_t Count(UINT msg) const { return std::count(messages.begin(), messages.end(), msg); }

protected:
    void Paint() override {
        Canvas()->Brush.Color = Color();
        Canvas()->FillRect({0, 0, Width() + 50, Height() + 50});  // clipped to the control
    }
};

// A windowed control that records the keys and the wheel it is given.
class KeyTaker : public TCustomControl {
public:
    explicit KeyTaker(TComponent* owner, unsigned dlgCode = 0)
        : TCustomControl(owner), code_(dlgCode) {
        SetTabStop(true);
    }
    std::vector<int> keys;
    int wheel = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEWHEEL) wheel = GET_WHEEL_DELTA_WPARAM(m.WParam);
        if (m.Msg == WM_GETDLGCODE) {
            m.Result = code_;
            return;
        }
        TCustomControl::WndProc(m);
    }

protected:
    void KeyDown(int& key, TShiftState shift) override {
        keys.push_back(key);
        TCustomControl::KeyDown(key, shift);
    }

private:
    unsigned code_;
};

LPARAM At(int x, int y) {
    return MAKELPARAM(x, y);
}

TEST(Controls, WindowlessChildrenGetMouseInTheirOwnCoordinates) {
    FormWith f;
    TForm& form = f.form;
    auto* patch = f.Add<Patch>(Bounds(40, 30, 20, 10));
    int clicks = 0;
    patch->OnClick = [&](TObject*) { ++clicks; };

    form.Perform(WM_MOUSEMOVE, 0, At(45, 35));
    form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(45, 35));
    ASSERT_EQ(patch->points.size(), 2u);
    EXPECT_EQ(patch->points[1], (TPoint{5, 5}));
    EXPECT_EQ(patch->Count(CM_MOUSEENTER), 1u);
    EXPECT_TRUE(patch->MouseCapture());

    // Captured, it follows the mouse outside; released outside it is no click.
    form.Perform(WM_MOUSEMOVE, MK_LBUTTON, At(5, 5));
    EXPECT_EQ(patch->points.back(), (TPoint{-35, -25}));
    form.Perform(WM_LBUTTONUP, 0, At(5, 5));
    EXPECT_FALSE(patch->MouseCapture());
    EXPECT_EQ(clicks, 0);
    form.Perform(WM_MOUSEMOVE, 0, At(5, 5));
    EXPECT_EQ(patch->Count(CM_MOUSELEAVE), 1u);

    form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(41, 31));
    form.Perform(WM_LBUTTONUP, 0, At(41, 31));
    EXPECT_EQ(clicks, 1);

    // A disabled child is passed over; the form gets the mouse itself.
    patch->SetEnabled(false);
    size_t before = patch->points.size();
    form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, At(45, 35));
    form.Perform(WM_LBUTTONUP, 0, At(45, 35));
    EXPECT_EQ(patch->points.size(), before);

    // Leaving the form leaves the child it was over.
    patch->SetEnabled(true);
    form.Perform(WM_MOUSEMOVE, 0, At(45, 35));
    form.Perform(CM_MOUSELEAVE);
    EXPECT_EQ(patch->Count(CM_MOUSELEAVE), 2u);
}

TEST(Controls, WindowlessChildrenPaintWithTheirParent) {
    FormWith f;
    f.Add<Patch>(Bounds(10, 20, 30, 10), clBlue);
    f.Add<Patch>(Bounds(50, 20, 10, 10), clLime)->Hide();
    TBitmap picture(100, 60);
    f.form.PaintTo(picture.Canvas());
    const TColor face = ColorToRGB(clBtnFace);  // right of the first: clipped to the control
    EXPECT_TRUE(test::PixelsAre(
        picture, {{10, 20, clBlue}, {39, 29, clBlue}, {40, 29, face}, {55, 25, face}}));

    // Children of a destroyed parent are left without one, not with a dangling one.
    auto* stray = new Patch(nullptr);
    {
        TForm temporary(nullptr);
        stray->SetParent(&temporary);
    }
    EXPECT_EQ(stray->Parent(), nullptr);
    delete stray;
}

TEST(Controls, DialogKeysGoToTheFormUnlessTheFocusedControlWantsThem) {
    FormWith f;
    TForm& form = f.form;
    auto* plain = f.Add<KeyTaker>(Bounds(0, 0, 50, 20));
    auto* greedy = f.Add<KeyTaker>(Bounds(0, 30, 50, 20), unsigned(DLGC_WANTALLKEYS));
    auto* taker = f.Add<Patch>(Bounds(60, 0, 10, 10));
    taker->takesEnter = true;

    plain->Perform(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(taker->entersTaken, 1);
    EXPECT_TRUE(plain->keys.empty());
    greedy->Perform(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(taker->entersTaken, 1);
    EXPECT_EQ(greedy->keys, (std::vector<int>{VK_RETURN}));
    plain->Perform(WM_KEYDOWN, 'A');
    EXPECT_EQ(plain->keys, (std::vector<int>{'A'}));

    // Tab walks the focus through the controls that take it.
    plain->SetFocus();
    EXPECT_EQ(form.ActiveControl(), plain);
    EXPECT_TRUE(plain->Focused()) << GetFocus();
    plain->Perform(WM_KEYDOWN, VK_TAB);
    EXPECT_EQ(form.ActiveControl(), greedy);
    EXPECT_TRUE(greedy->Focused());
}

TEST(Controls, PropertiesNotifyAndParentFontsFollow) {
    FormWith f;
    TForm& form = f.form;
    TFont big;
    big.Height = -20;
    form.SetFont(big);
    auto* child = f.Add<KeyTaker>(0, 0);
    EXPECT_EQ(child->Font().Height, -20);
    TFont bigger = big;
    bigger.Height = -30;
    form.SetFont(bigger);
    EXPECT_EQ(child->Font().Height, -30);
    child->SetFontColor(clRed);  // its own font from now on
    form.SetFont(big);
    EXPECT_EQ(child->Font().Height, -30);
    EXPECT_EQ(child->Font().Color, clRed);

    EXPECT_THROW(form.SetParent(&form), EComponentError);

    // The wheel reaches controls as the framework's notification, with its delta.
    SendMessage(child->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
    EXPECT_EQ(child->wheel, -120);
}

TEST(Controls, LinkedActionsLendTheirPropertiesRunOnClickAndAreDroppedWhenFreed) {
    FormWith f;
    auto* save = new TAction(&f.form);
    save->SetCaption("Save");
    save->SetHint("Save the library");
    int runs = 0;
    save->OnExecute = [&](TObject*) { ++runs; };
    auto* patch = new Patch(&f.form);
    patch->SetAction(save);
    EXPECT_EQ(patch->Caption(), "Save");
    EXPECT_EQ(patch->Hint, "Save the library");
    patch->Click();
    EXPECT_EQ(runs, 1);

    save->SetEnabled(false);
    EXPECT_FALSE(patch->Enabled());
    patch->Click();  // a disabled action does not run
    EXPECT_EQ(runs, 1);
    save->SetEnabled(true);

    int own = 0;
    patch->OnClick = [&](TObject*) { ++own; };
    patch->Click();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(runs, 1);

    delete save;
    EXPECT_EQ(patch->Action(), nullptr);

    // So is a freed popup menu.
    auto* menu = new TPopupMenu(&f.form);
    patch->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(patch->PopupMenu(), nullptr);
}

// Whoever owns them, the components a control, a form or an action refers to are forgotten when
// they go, however many references of one component name them.
TEST(Controls, ReferencedComponentsOfAnyOwnerAreForgottenWhenFreed) {
    FormWith f;
    auto* patch = f.Add<Patch>(Bounds(10, 10, 50, 50));
    auto* other = f.Add<Patch>(Bounds(70, 10, 50, 50));
    auto* menu = new TPopupMenu(nullptr);
    patch->SetPopupMenu(menu);
    other->SetPopupMenu(menu);
    other->SetPopupMenu(nullptr);
    other->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(patch->PopupMenu(), nullptr);
    EXPECT_EQ(other->PopupMenu(), nullptr);
    // A right click asks for a menu there is none of.
    f.form.Perform(WM_RBUTTONDOWN, MK_RBUTTON, At(15, 15));
    f.form.Perform(WM_RBUTTONUP, 0, At(15, 15));
    EXPECT_EQ(patch->Count(WM_RBUTTONUP), 1u);

    auto* box = new KeyTaker(nullptr);
    box->SetParent(&f.form);
    f.form.SetActiveControl(box);
    delete box;
    EXPECT_EQ(f.form.ActiveControl(), nullptr);

    auto* images = new TImageList(nullptr, 16, 16);
    auto* list = new TActionList(nullptr);
    list->SetImages(images);
    auto* save = new TAction(&f.form);
    save->SetActionList(list);
    delete images;
    EXPECT_EQ(list->Images(), nullptr);
    delete list;
    EXPECT_EQ(save->ActionList(), nullptr);

    auto* view = f.Add<TListView>(Bounds(10, 70, 200, 100));
    auto* pictures = new TImageList(nullptr, 16, 16);
    view->SetSmallImages(pictures);
    delete pictures;
    EXPECT_EQ(view->SmallImages(), nullptr);
}

struct Tracked : TComponent {
    Tracked(TComponent* owner, std::vector<std::string>& log, std::string tag)
        : TComponent(owner), log_(log), tag_(std::move(tag)) {}
    ~Tracked() override { log_.push_back(tag_); }
    std::vector<std::string>& log_;
    std::string tag_;
};

TEST(Component, OwnedComponentsGoWithTheirOwnerLastFirst) {
    std::vector<std::string> freed;
    auto* root = new Tracked(nullptr, freed, "root");
    auto* a = new Tracked(root, freed, "a");
    new Tracked(a, freed, "a1");
    new Tracked(root, freed, "b");
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(a->Owner(), root);

    // A component freed early leaves its owner's list.
    auto* c = new Tracked(root, freed, "c");
    delete c;
    EXPECT_EQ(root->ComponentCount(), 2);

    delete root;
    // Each destructor runs before the components it owns go.
    EXPECT_EQ(freed, (std::vector<std::string>{"c", "root", "b", "a", "a1"}));
}

TEST(Component, NamesAreUniquePerOwnerWithoutCase) {
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    first->SetName("OkButton");
    auto* second = new TComponent(&owner);
    EXPECT_THROW(second->SetName("OKBUTTON"), EComponentError);
    EXPECT_EQ(second->Name(), "");
    second->SetName("CancelButton");
    EXPECT_EQ(owner.FindComponent("okbutton"), first);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    first->SetName("okButton");  // a change of case only is allowed
    EXPECT_EQ(first->Name(), "okButton");

    // Another owner has names of its own; moving in a clash is refused.
    TComponent other(nullptr);
    auto* third = new TComponent(&other);
    third->SetName("CancelButton");
    EXPECT_THROW(owner.InsertComponent(third), EComponentError);
    other.RemoveComponent(third);
    EXPECT_EQ(third->Owner(), nullptr);
    delete third;
}

}  // namespace
}  // namespace rv
