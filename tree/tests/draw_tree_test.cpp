// The draw tree: the application draws each cell's content, and the width it gives for a node is
// what painting, hit tests, display rectangles and column sizing go by; it sizes and draws the
// tree's hints too.

#include "tree/draw_tree.h"
#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/tests/pixels.h"
#include "platform/windows/window_image.h"
#include "tree/hint_window.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// Top-level content starts after the root's level and the margin.
constexpr int kContentLeft = 22;

struct DrawFixture {
    DrawFixture() {
        tree = form.Add<TVirtualDrawTree>(Bounds(0, 0, 200, 100));
        tree->SetColor(clWhite);
        tree->SetNodeDataSize(4);
        a = tree->AddChild(nullptr);
        b = tree->AddChild(nullptr);
        // A bar as wide as the node says it is, where its content starts.
        tree->OnDrawNode = [this](TCustomVirtualDrawTree* sender, const TVTPaintInfo& info) {
            EXPECT_EQ(sender, tree);
            drawn.push_back({info.Node, info.Column});
            info.Canvas->Brush.Color = clRed;
            info.Canvas->FillRect(
                {info.ContentRect.Left, 4, info.ContentRect.Left + info.NodeWidth, 10});
        };
        tree->OnGetNodeWidth = [this](TCustomVirtualDrawTree*, TCanvas& canvas, PVirtualNode node,
                                      TColumnIndex column, int& width) {
            EXPECT_EQ(width, 0);
            EXPECT_EQ(canvas.Font.Name, tree->Font().Name);
            width = (node == a ? 30 : 50) + (column > 0 ? 5 : 0);
        };
    }
    TBitmap Paint(int width = 200) {
        TBitmap b(width, 36);
        tree->PaintTree(b.Canvas(), {0, 0, width, 36}, {0, 0}, kWindowPaintOptions);
        return b;
    }

    FormWith form;
    TVirtualDrawTree* tree;
    PVirtualNode a, b;
    std::vector<std::pair<PVirtualNode, TColumnIndex>> drawn;
};

TEST(DrawTree, TheApplicationDrawsEachCellAsWideAsItSays) {
    DrawFixture f;
    const TBitmap picture = f.Paint();
    EXPECT_EQ(f.drawn, (std::vector<std::pair<PVirtualNode, TColumnIndex>>{{f.a, NoColumn},
                                                                           {f.b, NoColumn}}));
    EXPECT_TRUE(PixelsAre(picture, {{kContentLeft, 5, clRed},
                                    {kContentLeft + 29, 5, clRed},
                                    {kContentLeft + 30, 5, clWhite},
                                    {kContentLeft + 49, 23, clRed},
                                    {kContentLeft + 50, 23, clWhite}}));
    // Hit tests and the text rectangle take the node's width.
    EXPECT_EQ(f.tree->GetHitTestInfoAt(kContentLeft + 29, 9).HitPositions,
              hiOnItem | hiOnItemLabel);
    EXPECT_EQ(f.tree->GetHitTestInfoAt(kContentLeft + 30, 9).HitPositions,
              hiOnItem | hiOnItemRight);
    EXPECT_EQ(f.tree->GetHitTestInfoAt(kContentLeft + 40, 27).HitPositions,
              hiOnItem | hiOnItemLabel);
    EXPECT_EQ(f.tree->GetDisplayRect(f.b, NoColumn, true).Width(), 50);
    // Without a handler a node has no width and nothing is drawn.
    f.tree->OnGetNodeWidth = nullptr;
    f.tree->OnDrawNode = nullptr;
    EXPECT_EQ(f.tree->GetHitTestInfoAt(kContentLeft + 1, 9).HitPositions, hiOnItem | hiOnItemRight);
    EXPECT_EQ(f.Paint().Pixel(kContentLeft + 1, 5), clWhite);
}

TEST(DrawTree, EachVisibleColumnIsDrawnAndSizedByItsOwnWidth) {
    DrawFixture f;
    TVirtualTreeColumns& columns = f.tree->Header().Columns();
    for (int width : {80, 60, 50}) columns.Add().SetWidth(width);
    TVTColumnOptions hidden = columns[2].Options();
    hidden.Exclude(coVisible);
    columns[2].SetOptions(hidden);
    const TBitmap picture = f.Paint();
    EXPECT_EQ(f.drawn, (std::vector<std::pair<PVirtualNode, TColumnIndex>>{
                           {f.a, 0}, {f.a, 1}, {f.b, 0}, {f.b, 1}}));
    // Column 1 starts at 80; its content after the margin, 35 wide for the first node.
    EXPECT_TRUE(PixelsAre(picture, {{84, 5, clRed}, {84 + 34, 5, clRed}, {84 + 35, 5, clWhite}}));
    // Double-click sizing takes the widest node of the column.
    EXPECT_EQ(f.tree->GetMaxColumnWidth(1), 55);
}

TEST(DrawTree, TheApplicationSizesAndDrawsTheHints) {
    DrawFixture f;
    TVirtualDrawTree& tree = *f.tree;
    tree.ShowHint = true;
    tree.Hint = "Swatches of every colour";
    tree.SetHintMode(hmHint);
    tree.SetHintAnimation(hatNone);
    TRect size{0, 0, 60, 30};
    tree.OnGetHintSize = [&](TCustomVirtualDrawTree*, PVirtualNode node, TColumnIndex column,
                             TRect& r) {
        EXPECT_EQ(node, f.b);
        EXPECT_EQ(column, NoColumn);
        EXPECT_FALSE(r.IsEmpty());  // as large as the text would make it
        r = size;
    };
    tree.OnDrawHint = [&](TCustomVirtualDrawTree*, TCanvas& canvas, PVirtualNode node,
                          const TRect& r, TColumnIndex) {
        EXPECT_EQ(node, f.b);
        EXPECT_EQ(r, size);
        canvas.Brush.Color = clRed;
        canvas.FillRect({40, 20, 55, 27});
    };
    const auto show = [&] {
        THintInfo info;
        info.CursorPos = {kContentLeft + 10, 27};
        tree.Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        return tree.HintWindow().Visible();
    };
    ASSERT_TRUE(show());
    const HWND hint = tree.HintWindow().Handle();
    EXPECT_EQ(GetWindowBounds(hint).Width(), 60 + TVirtualTreeHintWindow::kDefaultShadowSize);
    EXPECT_EQ(GetWindowBounds(hint).Height(), 30 + TVirtualTreeHintWindow::kDefaultShadowSize);
    // What the handler drew, on the hint's colour; none of the hint's text where it would go.
    const TBitmap picture = WindowImage(hint);
    EXPECT_TRUE(PixelsAre(picture, {{40, 20, clRed}, {54, 26, clRed}, {0, 0, clBlack}}));
    for (int y = 2; y < 18; ++y)
        for (int x = 2; x < 58; ++x)
            ASSERT_EQ(picture.Pixel(x, y), ColorToRGB(clInfoBk)) << x << "," << y;

    // An empty size shows no hint.
    tree.CancelHint();
    size = {};
    EXPECT_FALSE(show());
}

}  // namespace
}  // namespace rv::test
