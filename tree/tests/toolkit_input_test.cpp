// Real toolkit events through the window's host: the order of a double click, the capture of a
// rubber band dragged outside, characters after their keys, one release of a repeated Space,
// the hot cursor; and a tree of 100,000 nodes clicked, stepped through and searched.

#include <algorithm>
#include <cstdio>

#include "platform/windows/tests/toolkit_input.h"
#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

class RecordingTree : public InputTree {
public:
    using InputTree::InputTree;
    void WndProc(TMessage& m) override {
        if (m.Msg >= WM_KEYDOWN && m.Msg <= WM_CHAR) keys.push_back(m.Msg);
        if (m.Msg >= WM_LBUTTONDOWN && m.Msg <= WM_LBUTTONDBLCLK) buttons.push_back(m.Msg);
        InputTree::WndProc(m);
    }
    std::vector<UINT> keys, buttons;
};

struct HostFixture {
    explicit HostFixture(int count) {
        tree = form.Add<RecordingTree>(Bounds(0, 0, 200, 100));
        for (int i = 0; i < count; ++i) nodes.push_back(tree->Add(nullptr, i));
    }
    void Mouse(ToolkitMouse kind, int x, int y) { SendToolkitMouse(tree->Handle(), kind, {x, y}); }
    FormWith form;
    RecordingTree* tree;
    std::vector<PVirtualNode> nodes;
};

TEST(TreeToolkitInput, DoubleClickOrderCaptureAndCursor) {
    HostFixture f(3);
    RecordingTree& tree = *f.tree;
    tree.Add(f.nodes[0], 9);
    int doubleClicks = 0;
    tree.OnDblClick = [&](TObject*) { ++doubleClicks; };
    for (ToolkitMouse kind : {ToolkitMouse::Press, ToolkitMouse::Release, ToolkitMouse::DoubleClick,
                              ToolkitMouse::Release})
        f.Mouse(kind, kLabelX, 9);
    EXPECT_EQ(tree.buttons,
              (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_TRUE(tree.Expanded(f.nodes[0]));  // toggled on the label by the double click
    tree.ToggleNode(f.nodes[0]);

    // A band dragged out below the window: the tree keeps the mouse until the release.
    tree.MultiSelect();
    f.Mouse(ToolkitMouse::Press, 150, 80);
    f.Mouse(ToolkitMouse::Move, 20, 60);
    f.Mouse(ToolkitMouse::Move, 20, 300);
    EXPECT_EQ(GetCapture(), tree.Handle());
    EXPECT_TRUE(tree.TreeStates().Contains(tsDrawSelecting));
    f.Mouse(ToolkitMouse::Move, 20, 2);
    EXPECT_EQ(tree.SelectionCount(), 3u);
    f.Mouse(ToolkitMouse::Release, 20, 2);
    EXPECT_NE(GetCapture(), tree.Handle());
    EXPECT_FALSE(tree.TreeStates().Contains(tsDrawSelecting));

    // The hot node's cursor, through the cursor message before each move.
    tree.TreeOptions().SetPaintOptions(tree.TreeOptions().PaintOptions() +
                                       TVTPaintOptions{toHotTrack});
    tree.SetHotCursor(crHandPoint);
    f.Mouse(ToolkitMouse::Move, kLabelX, 27);
    f.Mouse(ToolkitMouse::Move, kLabelX + 1, 27);
    EXPECT_EQ(GetWindowCursorShown(tree.Handle()), crHandPoint);
}

TEST(TreeToolkitInput, CharactersFollowTheirKeysAndSpaceIsReleasedOnce) {
    HostFixture f(3);
    RecordingTree& tree = *f.tree;
    tree.Names = {"apple", "banana", "cherry"};
    tree.SetIncrementalSearch(isAll);
    SendToolkitKey(tree.Handle(), 'B', "b");
    EXPECT_EQ(tree.keys, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(tree.FocusedNode(), f.nodes[1]);

    tree.SetMisc(toCheckSupport, true);
    tree.SetCheckType(f.nodes[1], ctCheckBox);
    tree.keys.clear();
    SendToolkitKey(tree.Handle(), VK_SPACE, " ");
    SendToolkitKey(tree.Handle(), VK_SPACE, " ", 0, true, true);  // held: the toolkit repeats
    SendToolkitKey(tree.Handle(), VK_SPACE, " ", 0, false, true);
    SendToolkitKey(tree.Handle(), VK_SPACE, " ", 0, true);
    EXPECT_EQ(std::count(tree.keys.begin(), tree.keys.end(), WM_KEYUP), 1);
    EXPECT_EQ(tree.CheckState(f.nodes[1]), chkChecked);
}

// Keys of other scripts and accented letters have no key code, and an input method hands over
// text without keys: each character still feeds the search, also one beyond the first plane.
TEST(TreeToolkitInput, LettersWithoutKeyCodesAndInputMethodTextSearch) {
    HostFixture f(6);
    RecordingTree& tree = *f.tree;
    tree.Names = {"Sigur Ros",
                  "Sigur R\u00f3s",
                  "\u0418\u0432\u0430\u043d",
                  "\u039c\u03ac\u03bd\u03bf\u03c2",
                  "\U0001d11e clef",
                  "\u4e2d\u6587"};
    tree.SetIncrementalSearch(isAll);
    tree.SetIncrementalSearchTimeout(60000);
    const auto focused = [&] { return tree.Id(tree.FocusedNode()); };
    SendToolkitCharacters(tree.Handle(), "Sigur R\u00f3");
    EXPECT_EQ(focused(), 1);
    EXPECT_EQ(tree.keys.size(), 3 * 8u);  // each a key down, its character and the key up
    const auto restart = [&] { tree.Perform(WM_KILLFOCUS, 0, 0); };
    restart();
    SendToolkitCharacters(tree.Handle(), "\u0418\u0432");
    EXPECT_EQ(focused(), 2);
    restart();
    SendToolkitInputMethodText(tree.Handle(), "\u039c\u03ac");
    EXPECT_EQ(focused(), 3);
    restart();
    SendToolkitInputMethodText(tree.Handle(), "\U0001d11e");
    EXPECT_EQ(focused(), 4);
    restart();
    SendToolkitInputMethodText(tree.Handle(), "\u4e2d");
    EXPECT_EQ(focused(), 5);
}

// The offscreen platform with a tree as the program's views have it: 100,000 texts, a click,
// Down three times, Page Down, Shift+End, and typed letters.
TEST(TreeToolkitInput, HundredThousandNodesEndToEnd) {
    FormWith form;
    form.form.SetBounds(0, 0, 320, 240);
    auto* tree = form.Add<IdTree>(Bounds(0, 0, 300, 200));
    tree->MultiSelect();
    tree->SetIncrementalSearch(isAll);
    tree->SetIncrementalSearchStart(ssAlwaysStartOver);
    tree->SetIncrementalSearchTimeout(500);
    tree->OnGetText = [](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex, TVSTTextType,
                         std::string& text) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "item %06d", static_cast<IdTree*>(s)->Id(n));
        text = buffer;
    };
    constexpr int kCount = 100000;
    tree->BeginUpdate();
    for (int i = 0; i < kCount; ++i) tree->Add(nullptr, i);
    tree->EndUpdate();
    ASSERT_EQ(tree->ClientHeight(), 196);
    const HWND wnd = tree->Handle();
    const auto id = [&](PVirtualNode n) { return n ? tree->Id(n) : -1; };

    SendToolkitMouse(wnd, ToolkitMouse::Press, {kLabelX, 2 * 18 + 9});
    SendToolkitMouse(wnd, ToolkitMouse::Release, {kLabelX, 2 * 18 + 9});
    EXPECT_EQ(id(tree->FocusedNode()), 2);
    for (int i = 0; i < 3; ++i) SendToolkitKey(wnd, VK_DOWN, "");
    EXPECT_EQ(id(tree->FocusedNode()), 5);
    EXPECT_EQ(tree->SelectionCount(), 1u);
    SendToolkitKey(wnd, VK_NEXT, "");  // the ten rows that fit into 196 pixels
    EXPECT_EQ(id(tree->FocusedNode()), 15);
    EXPECT_EQ(id(tree->TopNode()), 5);
    SendToolkitKey(wnd, VK_END, "", kToolkitShift);
    EXPECT_EQ(id(tree->FocusedNode()), kCount - 1);
    EXPECT_EQ(tree->SelectionCount(), std::uint32_t(kCount - 15));
    EXPECT_EQ(id(tree->TopNode()), (kCount * 18 - 196) / 18);
    for (char c : std::string("item 05"))
        SendToolkitKey(wnd, c == ' ' ? VK_SPACE : c >= 'a' ? c - 'a' + 'A' : c, std::string(1, c));
    EXPECT_EQ(id(tree->FocusedNode()), 50000);
    EXPECT_EQ(tree->SelectionCount(), 1u);
    // "i" went back to the top; the hit came into view from there, at the bottom.
    EXPECT_EQ(id(tree->TopNode()), (50001 * 18 - 196) / 18);
    EXPECT_TREE_OK(*tree);
}

}  // namespace
}  // namespace rv::test
