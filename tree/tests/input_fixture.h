#pragma once
// A string tree on a shown form that takes keys, clicks and scroll messages through its window
// procedure, with the key state of each message set as the test says.

#include <string>
#include <vector>

#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/window_host.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {

// Node texts by id from `Names`; every text is 40 pixels wide, so that hit positions are plain
// numbers.
class InputTree : public IdTree {
public:
    explicit InputTree(TComponent* owner) : IdTree(owner) {
        OnGetText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex, TVSTTextType,
                           std::string& text) {
            const int id = Id(n);
            text = id >= 0 && id < int(Names.size()) ? Names[std::size_t(id)] : "node";
        };
    }
    std::vector<std::string> Names;
    int NodeWidth = 40;

    using TBaseVirtualTree::AutoScrollStep;
    using TBaseVirtualTree::CanAutoScroll;
    using TBaseVirtualTree::PanningWindow;

protected:
    int DoGetNodeWidth(PVirtualNode, TColumnIndex) override { return NodeWidth; }
};

struct InputFixture {
    // `count` top-level nodes (ids 0 …) on a 200 × 100 tree: rows of 18 pixels in a client area
    // 96 pixels high.
    explicit InputFixture(int count) {
        tree = form.Add<InputTree>(Bounds(0, 0, 200, 100));
        for (int i = 0; i < count; ++i) nodes.push_back(tree->Add(nullptr, i));
    }
    ~InputFixture() { Keys(0); }

    static void Keys(TShiftState shift) {
        SetKeyState(VK_SHIFT, shift & ssShift);
        SetKeyState(VK_CONTROL, shift & ssCtrl);
        SetKeyState(VK_MENU, shift & ssAlt);
    }
    void Key(int vk, TShiftState shift = 0) {
        Keys(shift);
        tree->Perform(WM_KEYDOWN, WPARAM(vk), 1);
        Keys(0);
    }
    void KeyUp(int vk) { tree->Perform(WM_KEYUP, WPARAM(vk), LPARAM(0xC0000001)); }
    // A typed character: its key, then the character.
    void Type(const std::string& text) {
        for (char c : text) {
            const int vk = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c == '\b' ? VK_BACK : c;
            tree->Perform(WM_KEYDOWN, WPARAM(vk), 1);
            tree->Perform(WM_CHAR, WPARAM(static_cast<unsigned char>(c)), 1);
        }
    }
    static WPARAM MouseKeys(TShiftState shift, unsigned button) {
        return button | (shift & ssShift ? MK_SHIFT : 0u) | (shift & ssCtrl ? MK_CONTROL : 0u);
    }
    void Press(int x, int y, TShiftState shift = 0, UINT msg = WM_LBUTTONDOWN) {
        Keys(shift);
        tree->Perform(msg, MouseKeys(shift, MK_LBUTTON), MAKELPARAM(x, y));
        Keys(0);
    }
    void Release(int x, int y, TShiftState shift = 0, UINT msg = WM_LBUTTONUP) {
        Keys(shift);
        tree->Perform(msg, MouseKeys(shift, 0), MAKELPARAM(x, y));
        Keys(0);
    }
    void Click(int x, int y, TShiftState shift = 0) {
        Press(x, y, shift);
        Release(x, y, shift);
    }
    void Move(int x, int y, unsigned buttons = MK_LBUTTON) {
        tree->Perform(WM_MOUSEMOVE, buttons, MAKELPARAM(x, y));
    }
    // The row of node i (of the top level, all collapsed), on its text.
    static int RowY(int i) { return i * 18 + 9; }
    bool Has(TVirtualTreeState state) const { return tree->TreeStates().Contains(state); }
    void Options(TVTSelectionOptions add) {
        tree->TreeOptions().SetSelectionOptions(tree->TreeOptions().SelectionOptions() + add);
    }

    FormWith form;
    InputTree* tree;
    std::vector<PVirtualNode> nodes;
};

// Label of a top-level node: right of the indentation (18) and the margin (4).
inline constexpr int kLabelX = 30;

}  // namespace rv::test
