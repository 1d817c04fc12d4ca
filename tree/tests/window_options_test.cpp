// Options that act on the tree's window and scale: toAutoChangeScale with a scaled form,
// toFullRepaintOnResize with a resized window, and the scroll bars' style.

#include <set>

#include "platform/framework/tests/form_fixture.h"
#include "platform/windows/window_host.h"
#include "platform/windows/window_image.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

TEST(TreeWindowOptions, AutoChangeScaleScalesRowsIndentAndHeader) {
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
        EXPECT_EQ(tree->Indent(), autoScale ? 27u : 18u);
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

// The colours the vertical scroll bar shows: the part of the window right of the client area.
std::set<TColor> BarColours(TBaseVirtualTree& tree) {
    const TBitmap image = WindowImage(tree.Handle());
    const TPoint client = GetClientOffset(tree.Handle());
    std::set<TColor> colours;
    const int left = client.X + tree.ClientWidth(), bottom = client.Y + tree.ClientHeight();
    for (int y = client.Y; y < bottom; ++y)
        for (int x = left; x < left + GetSystemScrollBarSize(); ++x)
            colours.insert(image.Pixel(x, y));
    return colours;
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

}  // namespace
}  // namespace rv::test
