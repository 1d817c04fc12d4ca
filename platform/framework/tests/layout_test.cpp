#include <gtest/gtest.h>

#include "platform/framework/label.h"
#include "platform/framework/panel.h"
#include "platform/framework/splitter.h"
#include "platform/framework/status_bar.h"
#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/bitmap.h"
#include "platform/windows/tests/host_fixture.h"
#include "platform/windows/top_level_window.h"

namespace rv {
namespace {

template <class T>
T* Aligned(TWinControl* parent, TAlign align, int size) {
    auto* c = new T(parent);
    c->SetParent(parent);
    c->SetBounds(0, 0, size, size);
    c->SetAlign(align);
    return c;
}

// The library window's frame: tool bar, status bar, and the library area with the tree panel,
// a splitter and the list panel, which holds the album header above the lists.
struct LibraryLayout : test::FormWith {
    LibraryLayout() {
        form.SetClientSize(778, 512);
        toolBar = Aligned<TPanel>(&form, alTop, 28);
        status = Aligned<TStatusBar>(&form, alBottom, 19);
        area = Aligned<TPanel>(&form, alClient, 0);
        area->SetBevelOuter(bvNone);
        treePanel = Aligned<TPanel>(area, alLeft, 231);
        splitter = new TSplitter(area);
        splitter->SetParent(area);
        splitter->SetLeft(231);  // after the tree panel
        listPanel = Aligned<TPanel>(area, alClient, 0);
        albumPanel = Aligned<TPanel>(listPanel, alTop, 91);
        albumPanel->Hide();
        tracks = Aligned<TPanel>(listPanel, alClient, 0);
    }
    TPanel *toolBar, *area, *treePanel, *listPanel, *albumPanel, *tracks;
    TStatusBar* status;
    TSplitter* splitter;
};

TEST(Align, ControlsTakeTheirEdgesInOrderAndFollowSizesAndVisibility) {
    LibraryLayout f;
    EXPECT_EQ(f.toolBar->BoundsRect(), Bounds(0, 0, 778, 28));
    EXPECT_EQ(f.status->BoundsRect(), Bounds(0, 493, 778, 19));
    EXPECT_EQ(f.area->BoundsRect(), Bounds(0, 28, 778, 465));
    EXPECT_EQ(f.treePanel->BoundsRect(), Bounds(0, 0, 231, 465));
    EXPECT_EQ(f.splitter->BoundsRect(), Bounds(231, 0, 3, 465));
    // The list panel's raised bevel keeps one pixel for itself on each side.
    EXPECT_EQ(f.listPanel->BoundsRect(), Bounds(234, 0, 544, 465));
    EXPECT_EQ(f.tracks->BoundsRect(), Bounds(1, 1, 542, 463));

    f.albumPanel->Show();
    EXPECT_EQ(f.albumPanel->BoundsRect(), Bounds(1, 1, 542, 91));
    EXPECT_EQ(f.tracks->BoundsRect(), Bounds(1, 92, 542, 372));

    // The window grows; a stored width comes back.
    f.form.SetClientSize(900, 600);
    EXPECT_EQ(f.status->Top(), 581);
    EXPECT_EQ(f.listPanel->Width(), 900 - 234);
    f.treePanel->SetWidth(300);
    EXPECT_EQ(f.splitter->Left(), 300);
    EXPECT_EQ(f.listPanel->BoundsRect(), Bounds(303, 0, 597, 553));

    f.form.SetBounds(0, 0, 500, 400);
    f.treePanel->Hide();
    EXPECT_EQ(f.splitter->Left(), 0);
    EXPECT_EQ(f.listPanel->Left(), 3);

    // The narrowest the user may make the window.
    f.form.Constraints.MinWidth = 130;
    UpdateWindowSizeLimits(f.form.Handle());
    EXPECT_EQ(HostWidget::Find(f.form.Handle())->minimumWidth(), 130);
}

TEST(Splitter, AControlFreedDuringADragIsSizedNoMore) {
    test::FormWith f;
    auto* caption = new TLabel(nullptr);  // of no owner: only a link tells the splitter
    caption->SetParent(&f.form);
    caption->SetBounds(0, 0, 80, 80);
    caption->SetAlign(alLeft);
    auto* splitter = new TSplitter(&f.form);
    splitter->SetParent(&f.form);
    splitter->SetLeft(80);
    splitter->SetAlign(alLeft);
    ASSERT_EQ(splitter->FindControl(), caption);
    f.form.Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(81, 50));
    delete caption;
    f.form.Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(121, 50));
    f.form.Perform(WM_LBUTTONUP, 0, MAKELPARAM(121, 50));
    EXPECT_EQ(splitter->Left(), 0);
}

TEST(Align, BringingToFrontPutsAControlAboveItsSiblings) {
    test::FormWith f;
    auto* under = f.Add<TLabel>(Bounds(10, 10, 50, 20));
    auto* over = f.Add<TLabel>(Bounds(20, 10, 50, 20));
    EXPECT_EQ(f.form.ControlAtPos({30, 15}), over);
    under->BringToFront();
    EXPECT_EQ(f.form.ControlAtPos({30, 15}), under);
}

TEST(Splitter, DraggingSizesTheControlOnItsSideWithinTheLimits) {
    LibraryLayout f;
    int moved = 0;
    f.splitter->OnMoved = [&](TObject*) { ++moved; };
    EXPECT_EQ(f.splitter->FindControl(), f.treePanel);
    auto drag = [&](int dx) {
        // Through the area's window, as the mouse does: the splitter is windowless.
        int x = f.splitter->Left() + 1;
        f.area->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 100));
        f.area->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, 100));
        f.area->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x + dx, 100));
    };
    drag(50);
    EXPECT_EQ(f.treePanel->Width(), 281);
    EXPECT_EQ(f.splitter->Left(), 281);
    EXPECT_EQ(moved, 1);
    drag(-1000);
    EXPECT_EQ(f.treePanel->Width(), 30);
    // The list keeps MinSize pixels: 778 - 3 - 30.
    drag(2000);
    EXPECT_EQ(f.treePanel->Width(), 778 - 3 - 30);
    EXPECT_EQ(f.listPanel->Width(), 30);
    EXPECT_EQ(moved, 3);

    // Over the bar the mouse shows the splitting cursor.
    f.form.Show();
    QWidget* host = HostWidget::Find(f.area->Handle());
    test::Move(host, {f.splitter->Left() + 1, 50});
    EXPECT_EQ(GetWindowCursorShown(f.area->Handle()), crHSplit);
}

TEST(StatusBar, FieldsStandSideBySideAndTheLastTakesTheRest) {
    test::FormWith f;
    f.form.SetClientSize(400, 100);
    auto* bar = new TStatusBar(&f.form);
    bar->SetParent(&f.form);
    TStatusPanel* counts = bar->AddPanel();
    counts->SetWidth(225);
    counts->SetAlignment(taCenter);
    counts->SetText("Artists: 2");
    TStatusPanel* file = bar->AddPanel();
    file->SetText("/music/library.rvl");
    EXPECT_EQ(bar->BoundsRect(), Bounds(0, 81, 400, 19));
    EXPECT_EQ(bar->PanelRect(0), (TRect{0, 2, 223, 19}));
    EXPECT_EQ(bar->PanelRect(1), (TRect{225, 2, 398, 19}));
    EXPECT_EQ(bar->PanelRect(2), TRect{});

    TBitmap shot(400, 19);
    bar->PaintTo(shot.Canvas());
    auto dark = [&](int from, int to) {
        int n = 0;
        for (int x = from + 2; x < to - 2; ++x)
            for (int y = 4; y < 16; ++y) n += GetRValue(ColorToRGB(shot.Pixel(x, y))) < 100;
        return n;
    };
    EXPECT_GT(dark(60, 165), 30);  // the counts, centred
    EXPECT_EQ(dark(0, 60), 0);
    EXPECT_EQ(dark(165, 223), 0);
    EXPECT_GT(dark(225, 398), 30);  // the file name
}

TEST(Label, AnAutoSizedLabelFitsItsTextAndKeepsTheEdgeItIsAlignedTo) {
    test::FormWith f;
    auto* name = f.Add<TLabel>(Bounds(10, 10, 0, 0));
    name->SetCaption("Artist:");
    int narrow = name->Width();
    EXPECT_GT(narrow, 20);
    EXPECT_GT(name->Height(), 8);
    name->SetCaption("Channel &Mode:");  // the "&" takes no room
    EXPECT_GT(name->Width(), narrow);
    auto* right = f.Add<TLabel>(Bounds(100, 40, 80, 13));
    right->SetAlignment(taRightJustify);
    right->SetCaption("Time:");
    EXPECT_EQ(right->Left() + right->Width(), 180);

    int entered = 0, left = 0;
    name->OnMouseEnter = [&](TObject*) { ++entered; };
    name->OnMouseLeave = [&](TObject*) { ++left; };
    f.form.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(12, 12));
    f.form.Perform(WM_MOUSEMOVE, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(entered, 1);
    EXPECT_EQ(left, 1);
}

TEST(Hints, TheHintOfTheControlUnderTheMouseBeforeItsBar) {
    test::FormWith f;
    auto* toolBar = f.Add<TPanel>(Bounds(0, 0, 300, 28));
    auto* save = new TLabel(&f.form);
    save->SetParent(toolBar);
    save->SetBounds(30, 2, 24, 24);
    save->Hint = "Save|Saves the library";
    save->ShowHint = true;
    THintInfo info;
    info.CursorPos = {35, 10};
    toolBar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, "Save");
    EXPECT_EQ(info.CursorRect, Bounds(30, 2, 24, 24));

    save->ShowHint = false;
    THintInfo none;
    none.CursorPos = {35, 10};
    toolBar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&none));
    EXPECT_EQ(none.HintStr, "");
}

}  // namespace
}  // namespace rv
