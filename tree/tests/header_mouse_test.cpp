// The header's mouse: sizing a column at its splitter, dragging a column to a new place or out of
// the tree, clicks and double clicks with their events, hot tracking with timer 3, Escape, and the
// same through the toolkit's own events with the cursor over a splitter.

#include "platform/framework/menus.h"
#include "platform/framework/tests/popup_input.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/image_list.h"
#include "platform/windows/screens.h"
#include "platform/windows/tests/toolkit_input.h"
#include "tree/tests/header_fixture.h"

namespace rv::test {
namespace {

// Menus and image lists that the tree and its header use, whoever owns them, may go first: the
// tree forgets them, then pops up no menu and paints no picture of theirs.
TEST(TreeHeaderMouse, MenusAndImageListsThatGoFirstAreForgotten) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    tree.Add(nullptr, 1);
    auto* menu = new TPopupMenu(nullptr);
    auto* images = new TImageList(nullptr, 16, 16);
    auto* checks = new TImageList(nullptr, 16, 16);
    TBitmap picture(32, 16);
    images->Add(picture);
    checks->Add(picture);
    tree.SetPopupMenu(menu);
    f.Header().SetPopupMenu(menu);
    tree.SetImages(images);
    tree.SetStateImages(images);
    f.Header().SetImages(images);
    f.Columns()[1].SetImageIndex(0);
    tree.SetStateImages(nullptr);  // the tree's other references to the list stay linked
    tree.SetCustomCheckImages(checks);
    tree.SetCheckImageKind(ckCustom);
    tree.OnGetImageIndex = [](TBaseVirtualTree*, PVirtualNode, TVTImageKind, TColumnIndex, bool&,
                              int& index) { index = 0; };
    delete menu;
    delete images;
    delete checks;
    EXPECT_EQ(tree.PopupMenu(), nullptr);
    EXPECT_EQ(f.Header().PopupMenu(), nullptr);
    EXPECT_EQ(tree.Images(), nullptr);
    EXPECT_EQ(f.Header().Images(), nullptr);
    EXPECT_EQ(tree.CustomCheckImages(), nullptr);

    f.NonClient(WM_NCRBUTTONDOWN, 150, 5);
    f.NonClient(WM_NCRBUTTONUP, 150, 5);
    tree.Perform(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 5));
    tree.Perform(WM_RBUTTONUP, 0, MAKELPARAM(20, 5));
    tree.Repaint();
    EXPECT_TREE_OK(tree);
}

// A right click on the header pops its menu up, raised by the tree, as is the menu the tree asks
// for over its rows: a handler of a menu both share can tell the tree.
TEST(TreeHeaderMouse, RightClickPopsUpTheHeadersMenuRaisedByTheTree) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    tree.Add(nullptr, 1);
    auto* menu = new TPopupMenu(&f.form.form);
    auto* hide = new TMenuItem(menu);
    hide->SetCaption("&Hide Column");
    menu->Items()->Add(hide);
    std::vector<TComponent*> raisedBy;
    hide->OnClick = [&](TObject*) { raisedBy.push_back(menu->PopupComponent()); };
    f.Header().SetPopupMenu(menu);

    const int y = 8 - f.Header().Height();  // the strip, in client coordinates
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Press, {100, y}, ToolkitButton::Right);
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Release, {100, y}, ToolkitButton::Right);
    EXPECT_EQ(test::OpenPopupEntries(), std::vector<std::string>{"Hide Column"});
    EXPECT_EQ(menu->PopupComponent(), &tree);
    ASSERT_TRUE(test::ChooseFromPopup("Hide Column"));
    ASSERT_TRUE(PumpUntil([&] { return !raisedBy.empty(); }));
    EXPECT_EQ(raisedBy, std::vector<TComponent*>{&tree});

    // Over a row, the menu the tree asks its handler for.
    menu->SetPopupComponent(nullptr);
    tree.OnGetPopupMenu = [&](TBaseVirtualTree*, PVirtualNode, TColumnIndex, TPoint, bool&,
                              TPopupMenu*& popup) { popup = menu; };
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Press, {100, 5}, ToolkitButton::Right);
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Release, {100, 5}, ToolkitButton::Right);
    EXPECT_EQ(test::OpenPopupEntries(), std::vector<std::string>{"Hide Column"});
    EXPECT_EQ(menu->PopupComponent(), &tree);
    EXPECT_TRUE(test::EscapePopup());
    tree.OnGetPopupMenu = nullptr;
}

TEST(TreeHeaderMouse, SplitterSizesTheColumnByTheDistanceMoved) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    std::vector<TColumnIndex> resized;
    tree.OnColumnResize = [&](TVTHeader*, TColumnIndex column) { resized.push_back(column); };
    // Pressed two pixels left of column 0's edge: the edge follows the mouse without a jump.
    f.Press(58);
    EXPECT_TRUE(f.Header().States().Contains(hdTrackPending));
    EXPECT_EQ(GetCapture(), tree.Handle());
    f.Move(83);
    EXPECT_TRUE(f.Header().States().Contains(hdTracking));
    EXPECT_EQ(f.Columns()[0].Width(), 85);
    f.Move(40, 50);  // anywhere while captured, even over the rows
    f.Release(40, 50);
    EXPECT_EQ(f.Columns()[0].Width(), 42);
    EXPECT_EQ(f.Columns()[1].Left(), 42);
    EXPECT_FALSE(f.Header().InInteraction());
    EXPECT_EQ(GetCapture(), HWND(0));
    EXPECT_EQ(resized, (std::vector<TColumnIndex>{0, 0}));

    // The splitter zone reaches 4 pixels into the column and 2 past its edge.
    EXPECT_EQ(f.Header().SplitterAt({38, 5}), 0);
    EXPECT_EQ(f.Header().SplitterAt({44, 5}), 0);
    EXPECT_EQ(f.Header().SplitterAt({45, 5}), NoColumn);
    EXPECT_EQ(f.Header().SplitterAt({37, 5}), NoColumn);
    EXPECT_EQ(f.Header().SplitterAt({90, 5}), 1);  // column 1 now ends at 92
    // A column that may not be resized has no splitter, and none without hoColumnResize.
    f.Columns()[0].SetOptions(f.Columns()[0].Options() - TVTColumnOptions{coResizable});
    EXPECT_EQ(f.Header().SplitterAt({42, 5}), NoColumn);
    f.Columns()[0].SetOptions(f.Columns()[0].Options() + TVTColumnOptions{coResizable});
    f.Header().SetOptions(f.Header().Options() - TVTHeaderOptions{hoColumnResize});
    f.Press(42);
    EXPECT_FALSE(f.Header().States().ContainsAny({hdTrackPending, hdTracking}));
    f.Release(42);
    EXPECT_EQ(f.Columns()[0].Width(), 42);
}

TEST(TreeHeaderMouse, DraggingAColumnMovesItOrDropsItOutside) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    std::vector<std::pair<TColumnIndex, int>> dragged;
    tree.OnHeaderDragged = [&](TVTHeader*, TColumnIndex c, int old) {
        dragged.push_back({c, old});
    };
    TColumnIndex out = NoColumn;
    tree.OnHeaderDraggedOut = [&](TVTHeader*, TColumnIndex c, TPoint) { out = c; };
    const auto drag = [&](int from, int to, int y = 8) {
        f.Press(from);
        f.Move(from + 10);
        f.Move(to, y);
        f.Release(to, y);
    };
    // Column 0 onto the right half of column 2 (110 … 180).
    f.Press(30);
    EXPECT_TRUE(f.Header().States().Contains(hdDragPending));
    f.Move(32);  // within the drag threshold: still only pending
    EXPECT_TRUE(f.Header().States().Contains(hdDragPending));
    f.Move(170);
    EXPECT_TRUE(f.Header().States().Contains(hdDragging));
    EXPECT_EQ(f.Header().DragIndex(), 0);
    EXPECT_EQ(f.Columns().DropTarget, 2);
    EXPECT_FALSE(f.Columns().DropBefore);
    EXPECT_TRUE(f.Header().DragImage().Visible());
    f.Release(170);
    EXPECT_EQ(f.Order(), (std::vector<TColumnIndex>{1, 2, 0}));
    EXPECT_EQ(dragged, (std::vector<std::pair<TColumnIndex, int>>{{0, 0}}));
    EXPECT_FALSE(f.Header().DragImage().Prepared());
    EXPECT_EQ(f.Columns().DropTarget, NoColumn);

    // Onto itself: nothing changes. Column 0 now spans 120 … 180.
    drag(130, 175);
    EXPECT_EQ(f.Order(), (std::vector<TColumnIndex>{1, 2, 0}));
    EXPECT_EQ(dragged.size(), 1u);
    // Column 0 back onto the left half of column 1 (0 … 50): it goes before it.
    drag(130, 10);
    EXPECT_EQ(f.Order(), (std::vector<TColumnIndex>{0, 1, 2}));
    // Escape ends a drag where it is; so does losing the focus.
    f.Press(30);
    f.Move(150);
    tree.Perform(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(f.Header().InInteraction());
    f.Release(150);
    EXPECT_EQ(f.Order(), (std::vector<TColumnIndex>{0, 1, 2}));
    // Dropped below the tree: out of it.
    drag(30, 150, 400);
    EXPECT_EQ(out, 0);
    EXPECT_EQ(f.Order(), (std::vector<TColumnIndex>{0, 1, 2}));
    // A column that is not draggable, or a header without hoDrag, does not move.
    f.Columns()[0].SetOptions(f.Columns()[0].Options() - TVTColumnOptions{coDraggable});
    drag(30, 150);
    tree.OnHeaderDragging = [](TVTHeader*, TColumnIndex c, bool& allowed) { allowed = c != 1; };
    drag(80, 150);
    EXPECT_EQ(f.Order(), (std::vector<TColumnIndex>{0, 1, 2}));
}

TEST(TreeHeaderMouse, ClicksAndDoubleClicks) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    std::vector<std::pair<TColumnIndex, TMouseButton>> clicks, doubles;
    tree.OnHeaderClick = [&](TVTHeader*, TColumnIndex c, TMouseButton b, TShiftState, int, int) {
        clicks.push_back({c, b});
    };
    tree.OnHeaderDblClick = [&](TVTHeader*, TColumnIndex c, TMouseButton b, TShiftState s, int,
                                int) {
        EXPECT_TRUE(s & ssDouble);
        doubles.push_back({c, b});
    };
    // A draggable column holds the mouse: its release comes as a client message.
    f.Press(80);
    EXPECT_EQ(f.Columns().DownIndex, 1);
    f.Release(82);
    // A column that is not: the release stays non-client.
    f.Header().SetOptions(f.Header().Options() - TVTHeaderOptions{hoDrag});
    f.Press(150);
    f.NonClient(WM_NCLBUTTONUP, 150);
    // Released over another column: no click.
    f.Press(150);
    f.NonClient(WM_NCLBUTTONUP, 20);
    EXPECT_EQ(f.Columns().DownIndex, NoColumn);
    // coAllowClick off: no click at all.
    f.Columns()[0].SetOptions(f.Columns()[0].Options() - TVTColumnOptions{coAllowClick});
    f.Press(20);
    f.NonClient(WM_NCLBUTTONUP, 20);
    f.NonClient(WM_NCRBUTTONUP, 20);
    // The right button clicks at its release wherever it went down.
    f.NonClient(WM_NCRBUTTONUP, 150);
    f.NonClient(WM_NCLBUTTONDBLCLK, 80);
    EXPECT_EQ(clicks, (std::vector<std::pair<TColumnIndex, TMouseButton>>{
                          {1, mbLeft}, {2, mbLeft}, {2, mbRight}, {1, mbLeft}}));
    EXPECT_EQ(doubles, (std::vector<std::pair<TColumnIndex, TMouseButton>>{{1, mbLeft}}));

    // The mouse events in header points; the header's menu at the right button's release.
    std::vector<std::string> mouse;
    tree.OnHeaderMouseDown = [&](TVTHeader*, TMouseButton b, TShiftState, int x, int y) {
        mouse.push_back("down " + std::to_string(int(b)) + " " + std::to_string(x) + "," +
                        std::to_string(y));
    };
    tree.OnHeaderMouseUp = [&](TVTHeader*, TMouseButton b, TShiftState, int x, int) {
        mouse.push_back("up " + std::to_string(int(b)) + " " + std::to_string(x));
    };
    TPopupMenu menu(nullptr);
    f.Header().SetPopupMenu(&menu);
    f.NonClient(WM_NCRBUTTONDOWN, 150, 5);
    f.NonClient(WM_NCRBUTTONUP, 150, 5);
    EXPECT_EQ(mouse, (std::vector<std::string>{"down " + std::to_string(int(mbRight)) + " 150,5",
                                               "up " + std::to_string(int(mbRight)) + " 150"}));
    EXPECT_EQ(menu.PopupCount, 1);
    EXPECT_EQ(menu.PopupPoint.X, GET_X_LPARAM(f.Screen(150)));
    f.Header().SetPopupMenu(nullptr);
    tree.OnHeaderMouseDown = nullptr;
    tree.OnHeaderMouseUp = nullptr;

    // A double click on a splitter with hoDblClickResize fits the column to its widest text.
    tree.OnGetText = [](TCustomVirtualStringTree*, PVirtualNode, TColumnIndex column, TVSTTextType,
                        std::string& text) { text = column == 0 ? "a much longer title" : "x"; };
    tree.Add(nullptr, 0);
    f.Header().SetOptions(f.Header().Options() + TVTHeaderOptions{hoDblClickResize});
    f.NonClient(WM_NCLBUTTONDBLCLK, 59);
    EXPECT_EQ(f.Columns()[0].Width(), tree.GetMaxColumnWidth(0));
    EXPECT_GT(f.Columns()[0].Width(), 60);
    EXPECT_EQ(doubles.size(), 1u);
}

TEST(TreeHeaderMouse, HotTrackingFollowsTheMouseUntilItLeaves) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    const TRect window = GetWindowRect(tree.Handle());
    f.NonClient(WM_NCMOUSEMOVE, 80);
    EXPECT_EQ(f.Columns().HoverIndex, 1);
    f.NonClient(WM_NCMOUSEMOVE, 150);
    EXPECT_EQ(f.Columns().HoverIndex, 2);
    // Timer 3 finds the mouse still in the header, then gone.
    SetCursorPos({GET_X_LPARAM(f.Screen(150)), GET_Y_LPARAM(f.Screen(150))});
    tree.Perform(WM_TIMER, TBaseVirtualTree::kHeaderTimer);
    EXPECT_EQ(f.Columns().HoverIndex, 2);
    SetCursorPos({window.Left + 100, window.Bottom + 50});
    tree.Perform(WM_TIMER, TBaseVirtualTree::kHeaderTimer);
    EXPECT_EQ(f.Columns().HoverIndex, NoColumn);
    // A pressed column left by the mouse is no longer pressed once the timer looks.
    f.Header().SetOptions(f.Header().Options() - TVTHeaderOptions{hoDrag});
    f.Press(80);
    f.NonClient(WM_NCMOUSEMOVE, 150);
    tree.Perform(WM_TIMER, TBaseVirtualTree::kHeaderTimer);
    EXPECT_EQ(f.Columns().DownIndex, NoColumn);
}

TEST(TreeHeaderMouse, ToolkitEventsClickAndShowTheSplitCursor) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    std::vector<TColumnIndex> clicks;
    tree.OnHeaderClick = [&](TVTHeader*, TColumnIndex c, TMouseButton, TShiftState, int, int) {
        clicks.push_back(c);
    };
    const int y = 8 - f.Header().Height();  // the strip, in client coordinates
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Move, {58, y});
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), crHSplit);
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Move, {100, y});
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), crDefault);
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Press, {100, y});
    EXPECT_EQ(GetCapture(), tree.Handle());
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Release, {100, y});
    EXPECT_EQ(clicks, std::vector<TColumnIndex>{1});
    EXPECT_TRUE(tree.Focused());
    // Sizing through the toolkit: the split cursor stays while the mouse is held.
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Press, {59, y});
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Move, {79, 40});
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), crHSplit);
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Release, {79, 40});
    EXPECT_EQ(f.Columns()[0].Width(), 80);
    EXPECT_EQ(clicks.size(), 1u);
}

}  // namespace
}  // namespace rv::test
