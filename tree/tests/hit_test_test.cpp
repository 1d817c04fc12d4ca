// The hit test across a row: every position bit for left, right and centred text, with and
// without columns, and mirrored in a right-to-left column.

#include "tree/tests/input_fixture.h"

namespace rv::test {
namespace {

struct HitCase {
    int x, y;
    THitPositions expected;
};

void ExpectHits(InputTree& tree, const std::vector<HitCase>& cases, const char* what) {
    for (const HitCase& c : cases)
        EXPECT_EQ(tree.GetHitTestInfoAt(c.x, c.y, true).HitPositions, c.expected)
            << what << " at " << c.x << ", " << c.y;
}

// A row at level 0 with the root shown: indentation 0–17, margin to 21, text from 22 on, 40
// wide; the client area is 196 wide and 96 high, the rows end at 54.
TEST(TreeHitTest, AcrossARowByAlignment) {
    InputFixture f(3);
    InputTree& tree = *f.tree;
    tree.Add(f.nodes[0], 9);  // node 0 shows a button
    constexpr THitPositions row = hiOnItem;
    ExpectHits(tree,
               {{5, 9, row | hiOnItemButton},
                {5, 27, row | hiOnItemIndent},
                {20, 9, row | hiOnItemLeft},
                {22, 9, row | hiOnItemLabel},
                {61, 9, row | hiOnItemLabel},
                {62, 9, row | hiOnItemRight},
                {100, 60, hiNowhere},
                {-1, 9, hiToLeft},
                {196, 9, hiToRight},
                {10, -1, hiAbove},
                {10, 96, hiBelow},
                {-1, 96, hiToLeft | hiBelow}},
               "left");
    EXPECT_EQ(tree.GetHitTestInfoAt(100, 60, true).HitNode, nullptr);
    EXPECT_EQ(tree.GetHitTestInfoAt(30, 27, true).HitNode, f.nodes[1]);
    EXPECT_EQ(tree.GetHitTestInfoAt(30, 27, true).HitColumn, NoColumn);

    tree.SetAlignment(taRightJustify);  // the text at 156–195
    ExpectHits(tree, {{155, 9, row | hiOnItemLeft}, {156, 9, row | hiOnItemLabel}}, "right");
    tree.SetAlignment(taCenter);  // (22 + 196 − 40) / 2 = 89
    ExpectHits(
        tree,
        {{88, 9, row | hiOnItemLeft}, {89, 9, row | hiOnItemLabel}, {129, 9, row | hiOnItemRight}},
        "centred");
    tree.NodeWidth = 500;  // too wide to place: all label
    ExpectHits(tree, {{150, 9, row | hiOnItemLabel}}, "wide");
}

TEST(TreeHitTest, CheckBoxesImagesAndScrolling) {
    InputFixture f(10);
    InputTree& tree = *f.tree;
    tree.SetMisc(toCheckSupport, true);
    tree.SetCheckType(f.nodes[0], ctCheckBox);
    // The check box (16 + 2) follows the margin: 22–39, the text from 40.
    ExpectHits(tree, {{30, 9, hiOnItem | hiOnItemCheckbox}, {40, 9, hiOnItem | hiOnItemLabel}},
               "check");
    TImageList images(16, 16);
    images.Add(TBitmap(16, 16));
    tree.SetImages(&images);
    tree.OnGetImageIndex = [](TBaseVirtualTree*, PVirtualNode, TVTImageKind, TColumnIndex, bool&,
                              int& index) { index = 0; };
    ExpectHits(tree, {{45, 9, hiOnItem | hiOnNormalIcon}, {58, 9, hiOnItem | hiOnItemLabel}},
               "image");
    tree.SetImages(nullptr);
    // Scrolled down a row: client points are moved by the offset, tree points are not.
    tree.SetOffsetY(-18);
    EXPECT_EQ(tree.GetHitTestInfoAt(30, 9, true).HitNode, f.nodes[1]);
    EXPECT_EQ(tree.GetHitTestInfoAt(30, 9, false).HitNode, f.nodes[0]);
}

// Two columns of 80: column 1 reads right to left, its text sits left in what the margin on its
// right side leaves (0–75); the main column 0 mirrored keeps its indentation on the right.
TEST(TreeHitTest, ColumnsAndRightToLeft) {
    InputFixture f(2);
    InputTree& tree = *f.tree;
    TVirtualTreeColumns& columns = tree.Header().Columns();
    for (int i = 0; i < 2; ++i) columns.Add().SetWidth(80);
    columns[1].SetBiDiMode(bdRightToLeft);
    THitInfo hit = tree.GetHitTestInfoAt(100, 9, true);
    EXPECT_EQ(hit.HitColumn, 1);
    EXPECT_EQ(hit.HitPositions, hiOnItem | hiOnItemLabel);
    ExpectHits(tree, {{125, 9, hiOnItem | hiOnItemRight}, {159, 9, hiOnItem | hiOnItemRight}},
               "rtl left");
    columns[1].SetAlignment(taRightJustify);  // the text at 36–75
    ExpectHits(tree, {{110, 9, hiOnItem | hiOnItemLeft}, {120, 9, hiOnItem | hiOnItemLabel}},
               "rtl right");
    hit = tree.GetHitTestInfoAt(170, 9, true);  // right of every column
    EXPECT_EQ(hit.HitColumn, InvalidColumn);
    EXPECT_EQ(hit.HitPositions, hiNowhere);

    columns[0].SetBiDiMode(bdRightToLeft);
    ExpectHits(tree,
               {{75, 9, hiOnItem | hiOnItemIndent},
                {50, 9, hiOnItem | hiOnItemRight},
                {10, 9, hiOnItem | hiOnItemLabel}},
               "rtl main");
    // In report mode other columns answer only "on the row".
    columns[1].SetBiDiMode(bdLeftToRight);
    tree.SetMisc(toReportMode, true);
    EXPECT_EQ(tree.GetHitTestInfoAt(100, 9, true).HitPositions, hiOnItem);
}

// A tree without columns read right to left: its indentation is on the right (178–195 for a
// top-level node), the margin left of it, and the text aligned left sits at 0–39.
TEST(TreeHitTest, TreeReadRightToLeftWithoutColumns) {
    InputFixture f(2);
    InputTree& tree = *f.tree;
    tree.SetBiDiMode(bdRightToLeft);
    ExpectHits(tree,
               {{190, 9, hiOnItem | hiOnItemIndent},
                {175, 9, hiOnItem | hiOnItemRight},
                {39, 9, hiOnItem | hiOnItemLabel},
                {40, 9, hiOnItem | hiOnItemRight}},
               "tree rtl");
    EXPECT_EQ(tree.GetDisplayRect(f.nodes[0], NoColumn, true), TRect(0, 0, 40, 18));
    tree.SetAlignment(taRightJustify);  // against the margin: 134–173
    ExpectHits(tree, {{133, 9, hiOnItem | hiOnItemLeft}, {134, 9, hiOnItem | hiOnItemLabel}},
               "tree rtl right");

    // Columns that take the tree's reading order follow it; one with its own keeps it.
    TVirtualTreeColumns& columns = tree.Header().Columns();
    columns.Add();
    columns.Add().SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(columns[0].BiDiMode(), bdRightToLeft);
    tree.SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(columns[0].BiDiMode(), bdLeftToRight);
    tree.SetBiDiMode(bdRightToLeftNoAlign);
    EXPECT_EQ(columns[0].BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_EQ(columns[1].BiDiMode(), bdLeftToRight);
    TVTColumnOptions options = columns[1].Options();
    options.Include(coParentBidiMode);
    columns[1].SetOptions(options);
    EXPECT_EQ(columns[1].BiDiMode(), bdRightToLeftNoAlign);
}

}  // namespace
}  // namespace rv::test
