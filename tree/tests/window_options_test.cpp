// Options that act on the tree's window and scale: toAutoChangeScale with a scaled form,
// toFullRepaintOnResize with a resized window, the scroll bars' style, and the side the vertical
// bar takes in a tree read right to left.

#include <set>

#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/tests/toolkit_input.h"
#include "platform/windows/window_host.h"
#include "platform/windows/window_image.h"
#include "tree/tests/header_fixture.h"

namespace rv::test {
namespace {

TEST(TreeWindowOptions, AutoChangeScaleScalesRowsAndHeaderNotTheIndent) {
    for (bool autoScale : {false, true}) {
        FormWith form;
        auto* tree = form.Add<IdTree>(Bounds(10, 10, 200, 100));
        tree->SetAuto(toAutoChangeScale, autoScale);
        TFont font = tree->Font();
        font.Height = -11;
        tree->SetFont(font);
        tree->Header().Columns().Add().SetWidth(60);
        TFont headerFont = tree->Header().Font();
        headerFont.Height = -12;
        tree->Header().SetFont(headerFont);
        const PVirtualNode before = tree->Add(nullptr, 1);
        tree->ScaleBy(3, 2);
        // The framework scales the bounds and the font either way.
        EXPECT_EQ(tree->BoundsRect(), Bounds(15, 15, 300, 150));
        EXPECT_EQ(tree->Font().Height, -17);
        const PVirtualNode after = tree->Add(nullptr, 2);
        const std::uint32_t rows = autoScale ? 27 : 18;
        EXPECT_EQ(tree->DefaultNodeHeight(), rows) << autoScale;
        EXPECT_EQ(tree->NodeHeight(after), rows);
        EXPECT_EQ(tree->NodeHeight(before), 18u);  // made before: as it was
        EXPECT_EQ(tree->Indent(), 18u);
        EXPECT_EQ(tree->Header().Height(), autoScale ? 26 : 17);
        EXPECT_EQ(tree->Header().Font().Height, autoScale ? -18 : -12);
        EXPECT_EQ(tree->Header().Columns()[0].Width(), autoScale ? 90 : 60);
        EXPECT_TREE_OK(*tree);
    }
}

// Records the client rectangles it paints.
class RecordingTree : public IdTree {
public:
    using IdTree::IdTree;
    std::vector<TRect> painted;
    // The bounds of everything painted after the messages waiting were handled.
    TRect PaintedAfterMessages() {
        painted.clear();
        for (int i = 0; i < 3; ++i) App().ProcessMessages();
        Update();
        TRect all;
        for (const TRect& r : painted) all = all.IsEmpty() ? r : UnionRect(all, r);
        return all;
    }

protected:
    void Paint() override {
        painted.push_back(Canvas()->ClipRect());
        IdTree::Paint();
    }
};

TEST(TreeWindowOptions, FullRepaintOnResizeOrOnlyWhatTheResizeUncovers) {
    FormWith form;
    auto* tree = form.Add<RecordingTree>(Bounds(0, 0, 200, 100));
    for (int i = 0; i < 10; ++i) tree->Add(nullptr, i);
    ASSERT_TRUE(tree->TreeOptions().MiscOptions().Contains(toFullRepaintOnResize));
    tree->PaintedAfterMessages();
    const auto client = [&] { return TRect(0, 0, tree->ClientWidth(), tree->ClientHeight()); };
    // The default: a wider window paints all of its client area again.
    tree->SetBounds(0, 0, 240, 100);
    EXPECT_EQ(tree->PaintedAfterMessages(), client());
    // Without the option, only the strip that was not client before, wider or higher.
    tree->SetMisc(toFullRepaintOnResize, false);
    tree->PaintedAfterMessages();
    const int width = tree->ClientWidth(), height = tree->ClientHeight();
    tree->SetBounds(0, 0, 240 + 30, 100);
    EXPECT_EQ(tree->PaintedAfterMessages(), TRect(width, 0, width + 30, height));
    tree->SetBounds(0, 0, 240 + 30, 100 + 20);
    EXPECT_EQ(tree->PaintedAfterMessages(), TRect(0, height, width + 30, height + 20));
    // Narrower: nothing of the client to paint; what the tree repaints itself it still gets.
    tree->SetBounds(0, 0, 250, 120);
    EXPECT_TRUE(tree->PaintedAfterMessages().IsEmpty());
    tree->SetBounds(0, 0, 240, 120);
    tree->InvalidateNode(tree->GetFirst());
    EXPECT_EQ(tree->PaintedAfterMessages(), TRect(0, 0, tree->ClientWidth(), 18));
    // The option back: all again.
    tree->SetMisc(toFullRepaintOnResize, true);
    tree->SetBounds(0, 0, 260, 120);
    EXPECT_EQ(tree->PaintedAfterMessages(), client());
}

// The colours a strip of the window shows as wide as a scroll bar, from window X `left` over the
// height of the client area.
std::set<TColor> StripColours(TBaseVirtualTree& tree, int left) {
    const TBitmap image = WindowImage(tree.Handle());
    const TPoint client = GetClientOffset(tree.Handle());
    std::set<TColor> colours;
    const int bottom = client.Y + tree.ClientHeight();
    for (int y = client.Y; y < bottom; ++y)
        for (int x = left; x < left + GetSystemScrollBarSize(); ++x)
            colours.insert(image.Pixel(x, y));
    return colours;
}

// The colours the vertical scroll bar shows: the part of the window right of the client area.
std::set<TColor> BarColours(TBaseVirtualTree& tree) {
    return StripColours(tree, GetClientOffset(tree.Handle()).X + tree.ClientWidth());
}

TEST(TreeWindowOptions, ScrollBarStyleDrawsTheBarsFlat) {
    FormWith form;
    auto* tree = form.Add<IdTree>(Bounds(0, 0, 200, 100));
    for (int i = 0; i < 30; ++i) tree->Add(nullptr, i);
    ASSERT_TRUE(IsScrollBarVisible(tree->Handle(), SB_VERT));
    // The desktop's bar shades its parts; a flat one has a track, faces, their frames and the
    // arrows; the 3-D one no frames until the mouse is over a part.
    const std::size_t regular = BarColours(*tree).size();
    tree->ScrollBarOptions().SetScrollBarStyle(sbmFlat);
    const std::set<TColor> flat = BarColours(*tree);
    EXPECT_LE(flat.size(), 4u);
    tree->ScrollBarOptions().SetScrollBarStyle(sbm3D);
    const std::set<TColor> encarta = BarColours(*tree);
    EXPECT_LE(encarta.size(), 3u);
    EXPECT_LT(encarta.size(), flat.size());
    tree->ScrollBarOptions().SetScrollBarStyle(sbmRegular);
    EXPECT_EQ(BarColours(*tree).size(), regular);
    EXPECT_GT(regular, 4u);
}

TEST(TreeWindowOptions, RightToLeftStandsTheVerticalBarLeftOfClientAndHeader) {
    HeaderMouseFixture f;
    IdTree& tree = *f.tree;
    tree.TreeOptions().SetSelectionOptions({toFullRowSelect});
    for (int i = 0; i < 30; ++i) tree.Add(nullptr, i);
    std::vector<TColumnIndex> clicks;
    tree.OnHeaderClick = [&](TVTHeader*, TColumnIndex c, TMouseButton, TShiftState, int, int) {
        clicks.push_back(c);
    };
    ASSERT_TRUE(IsScrollBarVisible(tree.Handle(), SB_VERT));
    const int frame = 2, bar = GetSystemScrollBarSize(), header = f.Header().Height();
    const int clientWidth = tree.ClientWidth();
    const TColor window = ColorToRGB(clWindow);
    EXPECT_FALSE(HasLeftScrollBar(tree.Handle()));

    tree.SetBiDiMode(bdRightToLeft);
    EXPECT_TRUE(HasLeftScrollBar(tree.Handle()));
    EXPECT_EQ(GetClientOffset(tree.Handle()), (TPoint{frame + bar, frame + header}));
    EXPECT_EQ(tree.HeaderRect().Left, frame + bar);
    EXPECT_EQ(tree.ClientWidth(), clientWidth);
    // The bar's parts at the left; right of the columns only the tree's background.
    EXPECT_GT(StripColours(tree, frame).size(), 2u);
    EXPECT_EQ(StripColours(tree, tree.Width() - frame - bar), std::set<TColor>{window});

    // Clicks keep their client coordinates: on the third row, and on the first column's
    // header, which begins where its cells do.
    const PVirtualNode third = tree.GetFirst()->NextSibling->NextSibling;
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Press, {30, 2 * 18 + 9});
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Release, {30, 2 * 18 + 9});
    EXPECT_EQ(tree.FocusedNode(), third);
    EXPECT_TRUE(tree.Selected(third));
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Press, {50, 8 - header});
    SendToolkitMouse(tree.Handle(), ToolkitMouse::Release, {50, 8 - header});
    EXPECT_EQ(clicks, std::vector<TColumnIndex>{0});

    // Read left to right again, the bar goes back to the right.
    tree.SetBiDiMode(bdLeftToRight);
    EXPECT_FALSE(HasLeftScrollBar(tree.Handle()));
    EXPECT_EQ(GetClientOffset(tree.Handle()), (TPoint{frame, frame + header}));
    EXPECT_EQ(tree.HeaderRect().Left, frame);
    EXPECT_GT(BarColours(tree).size(), 2u);
    EXPECT_TREE_OK(tree);
}

}  // namespace
}  // namespace rv::test
