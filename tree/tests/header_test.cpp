// The header's columns: setters and their clamps, the display order under adding, deleting and
// moving, the indices that follow a deleted column, automatic and spring sizing, auto-fit, the
// visible-column queries and header clicks.

#include <algorithm>
#include <numeric>
#include <random>

#include "platform/framework/tests/form_fixture.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {
namespace {

// A shown tree without rows at 200 × 100: its client area is 196 pixels wide.
struct HeaderFixture {
    explicit HeaderFixture(std::initializer_list<int> widths) {
        tree = form.Add<IdTree>(Bounds(0, 0, 200, 100));
        for (int w : widths) columns().Add().SetWidth(w);
    }
    TVirtualTreeColumns& columns() { return tree->Header().Columns(); }
    std::vector<int> Widths() {
        std::vector<int> w;
        for (int i = 0; i < columns().Count(); ++i) w.push_back(columns()[i].Width());
        return w;
    }
    FormWith form;
    IdTree* tree;
};

TEST(TreeHeader, SettersKeepValuesInRange) {
    IdTree tree;
    TVTHeader& header = tree.Header();
    EXPECT_EQ(header.MainColumn(), NoColumn);
    EXPECT_EQ(header.Height(), 17);
    EXPECT_FALSE(header.Options().Contains(hoShowSortGlyphs));
    EXPECT_EQ(header.Options(), (TVTHeaderOptions{hoColumnResize, hoDrag}));
    TVirtualTreeColumn& a = header.Columns().Add();
    header.Columns().Add();
    header.Columns().Add();
    EXPECT_EQ(header.MainColumn(), 0);
    EXPECT_EQ(a.Width(), 50);
    EXPECT_EQ(a.Options(), kDefaultColumnOptions);

    a.SetMinWidth(-3);
    EXPECT_EQ(a.MinWidth(), 0);
    a.SetMargin(-1);
    EXPECT_EQ(a.Margin(), 4);
    a.SetMaxWidth(20);
    EXPECT_EQ(a.Width(), 20);  // the width follows its new limit
    EXPECT_EQ(a.LastWidth(), 50);
    a.SetWidth(500);
    EXPECT_EQ(a.Width(), 20);
    a.SetMinWidth(30);
    EXPECT_EQ(a.MinWidth(), 20);
    a.SetMaxWidth(5);
    EXPECT_EQ(a.MaxWidth(), 20);

    header.SetSortColumn(7);
    EXPECT_EQ(header.SortColumn(), 2);
    header.SetSortColumn(-5);
    EXPECT_EQ(header.SortColumn(), -1);
    header.SetMainColumn(9);
    EXPECT_EQ(header.MainColumn(), 2);
    header.SetMainColumn(-4);
    EXPECT_EQ(header.MainColumn(), 0);
    header.SetHeight(100000);
    EXPECT_EQ(header.Height(), 0xFFFF);

    a.SetColor(clRed);
    EXPECT_FALSE(a.Options().Contains(coParentColor));
    a.SetOptions(a.Options() + TVTColumnOptions{coParentColor});
    EXPECT_EQ(a.Color(), tree.Color());
    a.SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(a.Options().Contains(coParentBidiMode));

    a.SetText("Caf\xC3\xA9");
    EXPECT_EQ(a.GetDisplayName(), "Caf\xC3\xA9");
    header.Columns()[1].SetText("\xCE\xA9mega");  // Ω is above U+00FF
    EXPECT_EQ(header.Columns()[1].GetDisplayName(), "Column 1");
}

// Whatever happens to the collection, PositionToIndex is a permutation of the indices, each
// column's Position is its place in it, and Left adds up the visible widths before it.
TEST(TreeHeader, DisplayOrderStaysAPermutation) {
    IdTree tree;
    TVirtualTreeColumns& columns = tree.Header().Columns();
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    for (int step = 0; step < 600; ++step) {
        const int count = columns.Count();
        const int op = count == 0 ? 0 : pick(6);
        if (op == 0 || (op == 1 && count < 12)) {
            columns.Insert(pick(count + 1)).SetWidth(10 + pick(50));
        } else if (op == 1) {
            columns.Delete(pick(count));
        } else if (op == 2) {
            columns[pick(count)].SetIndex(pick(count));
        } else if (op == 3) {
            columns[pick(count)].SetPosition(pick(count + 2) - 1);
        } else if (op == 4) {
            TVirtualTreeColumn& c = columns[pick(count)];
            c.SetOptions(c.Options().Contains(coVisible)
                             ? c.Options() - TVTColumnOptions{coVisible}
                             : c.Options() + TVTColumnOptions{coVisible});
        } else {
            columns.BeginUpdate();
            columns[pick(count)].SetPosition(pick(count));
            columns[pick(count)].SetPosition(pick(count));
            columns.EndUpdate();
        }
        std::vector<TColumnIndex> order = columns.PositionToIndex();
        ASSERT_EQ(int(order.size()), columns.Count());
        std::vector<TColumnIndex> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        std::vector<TColumnIndex> identity(order.size());
        std::iota(identity.begin(), identity.end(), 0);
        ASSERT_EQ(sorted, identity) << "step " << step;
        int left = 0;
        for (int p = 0; p < int(order.size()); ++p) {
            const TVirtualTreeColumn& c = columns[order[std::size_t(p)]];
            ASSERT_EQ(c.Position(), p);
            ASSERT_EQ(c.Index(), order[std::size_t(p)]);
            ASSERT_EQ(c.Left(), left);
            if (c.Visible()) left += c.Width();
        }
        ASSERT_EQ(columns.TotalWidth(), columns.GetLastVisibleColumn() < 0 ? 0 : left);
        const TColumnIndex main = tree.Header().MainColumn();
        ASSERT_TRUE(count == 0 || columns.Count() == 0 || columns.IsValidColumn(main));
    }
}

TEST(TreeHeader, PositionsGivenInABracketOrWhileLoadingSurviveWidthChanges) {
    IdTree tree;
    TVirtualTreeColumns& columns = tree.Header().Columns();
    for (int i = 0; i < 3; ++i) columns.Add();
    columns.BeginUpdate();
    columns[0].SetPosition(2);
    columns[0].SetWidth(90);
    columns[1].SetPosition(0);
    columns[2].SetPosition(1);
    columns[1].SetWidth(70);
    columns.EndUpdate();
    EXPECT_EQ(columns.PositionToIndex(), (std::vector<TColumnIndex>{1, 2, 0}));
    EXPECT_EQ(columns[0].Left(), 70 + 50);

    tree.Header().BeginLoading();
    columns[2].SetPosition(0);
    columns[1].SetPosition(1);
    columns[0].SetPosition(2);
    columns[2].SetWidth(20);
    tree.Header().EndLoading();
    EXPECT_EQ(columns.PositionToIndex(), (std::vector<TColumnIndex>{2, 1, 0}));
    EXPECT_EQ(columns[1].Left(), 20);
}

TEST(TreeHeader, IndicesFollowAMovedOrDeletedColumn) {
    HeaderFixture f({50, 60, 40, 30});
    TVTHeader& header = f.tree->Header();
    header.SetMainColumn(2);
    header.SetSortColumn(3);
    header.SetAutoSizeIndex(1);
    f.columns().Delete(1);
    EXPECT_EQ(header.MainColumn(), 1);
    EXPECT_EQ(header.SortColumn(), 2);
    EXPECT_EQ(header.AutoSizeIndex(), NoColumn);
    f.columns()[2].SetIndex(0);  // the sort column moves to the front
    EXPECT_EQ(header.SortColumn(), 0);
    EXPECT_EQ(header.MainColumn(), 2);
    f.columns().Delete(2);  // the main column goes: the first one takes over
    EXPECT_EQ(header.MainColumn(), 0);
    EXPECT_EQ(f.tree->FocusedColumn(), 0);
    f.columns().Clear();
    EXPECT_EQ(header.MainColumn(), NoColumn);
    EXPECT_EQ(header.SortColumn(), NoColumn);
}

TEST(TreeHeader, AutoSizeColumnTakesTheRest) {
    HeaderFixture f({50, 60, 40});
    TVTHeader& header = f.tree->Header();
    std::vector<TColumnIndex> resized;
    f.tree->OnColumnResize = [&](TVTHeader*, TColumnIndex c) { resized.push_back(c); };
    header.SetAutoSizeIndex(1);
    header.SetOptions(header.Options() + TVTHeaderOptions{hoAutoResize});
    EXPECT_EQ(f.Widths(), (std::vector<int>{50, 106, 40}));  // 196 − 50 − 40
    EXPECT_EQ(resized, std::vector<TColumnIndex>{1});
    f.columns()[0].SetWidth(70);  // left of the auto-size column: it gives way
    EXPECT_EQ(f.Widths(), (std::vector<int>{70, 86, 40}));
    f.columns()[1].SetWidth(20);  // the auto-size column is the header's to size
    EXPECT_EQ(f.columns()[1].Width(), 86);
    f.columns()[1].SetMaxWidth(80);
    EXPECT_EQ(f.columns()[1].Width(), 80);
    // Right of it, the next visible column would give way; there is none after the last. The
    // horizontal bar that now shows changes the client size, which sizes once more.
    f.columns()[2].SetWidth(60);
    EXPECT_EQ(f.Widths(), (std::vector<int>{70, 66, 60}));
    // A wider client: the auto-size column grows up to its limit.
    f.columns()[1].SetMaxWidth(1000);
    f.tree->SetBounds(0, 0, 260, 100);
    EXPECT_EQ(f.Widths(), (std::vector<int>{70, 256 - 130, 60}));
}

TEST(TreeHeader, SpringColumnsShareTheChangeWithTheirRemainders) {
    HeaderFixture f({50, 50, 50, 50, 50});
    TVTHeader& header = f.tree->Header();
    const TVTHeaderOptions springs = header.Options() + TVTHeaderOptions{hoAutoSpring};
    header.SetOptions(springs);
    for (int i = 0; i < 4; ++i)
        f.columns()[i].SetOptions(f.columns()[i].Options() + TVTColumnOptions{coAutoSpring});
    // The tree's resizing shares the change: 40 pixels, 10 for each spring column.
    f.tree->SetBounds(0, 0, 240, 100);
    EXPECT_EQ(f.Widths(), (std::vector<int>{60, 60, 60, 60, 50}));

    header.SetOptions(springs - TVTHeaderOptions{hoAutoSpring});
    header.ShareSpringWidth(100);  // only noted
    EXPECT_EQ(f.Widths(), (std::vector<int>{60, 60, 60, 60, 50}));
    header.SetOptions(springs);
    header.ShareSpringWidth(110);  // 2.5 each: 2 now, 0.5 kept
    EXPECT_EQ(f.Widths(), (std::vector<int>{62, 62, 62, 62, 50}));
    EXPECT_FLOAT_EQ(f.columns()[3].SpringRest(), 0.5f);
    header.ShareSpringWidth(112);  // 0.5 + 0.5 = 1 for the first two, then it is used up
    EXPECT_EQ(f.Widths(), (std::vector<int>{63, 63, 62, 62, 50}));
    EXPECT_FLOAT_EQ(f.columns()[0].SpringRest(), 0.f);
    EXPECT_FLOAT_EQ(f.columns()[2].SpringRest(), 0.5f);
    header.ShareSpringWidth(108);  // shrinking: 1 each, 1.5 for the last two
    EXPECT_EQ(f.Widths(), (std::vector<int>{62, 62, 61, 61, 50}));
    EXPECT_FLOAT_EQ(f.columns()[3].SpringRest(), 0.5f);
}

// The widest content: indentation, images and the node's own width (ids × 10 here).
struct WideTree : IdTree {
    using IdTree::IdTree;
    int DoGetNodeWidth(PVirtualNode node, TColumnIndex) override { return Id(node) * 10; }
};

TEST(TreeHeader, AutoFitGivesEachColumnItsWidestContent) {
    FormWith form;
    auto* tree = form.Add<WideTree>(Bounds(0, 0, 200, 100));
    TVirtualTreeColumns& columns = tree->Header().Columns();
    for (int i = 0; i < 3; ++i) columns.Add();
    columns[2].SetOptions(columns[2].Options() - TVTColumnOptions{coResizable});
    tree->Add(nullptr, 5);
    tree->Add(tree->Add(nullptr, 3), 12);  // collapsed: not counted
    EXPECT_EQ(tree->GetMaxColumnWidth(0), 18 + 50);
    tree->FullExpand();
    EXPECT_EQ(tree->GetMaxColumnWidth(0), 2 * 18 + 120);
    EXPECT_EQ(tree->GetMaxColumnWidth(1), 120);
    tree->Header().AutoFitColumns(false);
    EXPECT_EQ(columns[0].Width(), 156);
    EXPECT_EQ(columns[1].Width(), 120);
    EXPECT_EQ(columns[2].Width(), 50);
    tree->Header().RestoreColumns();
    EXPECT_EQ(columns[0].Width(), 50);
    EXPECT_EQ(columns[1].Width(), 50);
}

TEST(TreeHeader, VisibleColumnsInDisplayOrder) {
    HeaderFixture f({50, 60, 40});
    TVirtualTreeColumns& c = f.columns();
    c[1].SetOptions(c[1].Options() - TVTColumnOptions{coVisible});
    EXPECT_EQ(c[2].Left(), 50);
    EXPECT_EQ(c.TotalWidth(), 90);
    EXPECT_EQ(c.GetNextVisibleColumn(0), 2);
    EXPECT_EQ(c.GetPreviousVisibleColumn(2), 0);
    EXPECT_EQ(c.GetNextColumn(2), InvalidColumn);
    EXPECT_EQ(c.ColumnFromPosition(TPoint{55, 5}), 2);
    EXPECT_EQ(c.ColumnFromPosition(TPoint{95, 5}), InvalidColumn);
    EXPECT_EQ(c.ColumnFromPosition(TPoint{-1, 5}), InvalidColumn);
    c[2].SetPosition(0);
    EXPECT_EQ(c.PositionToIndex(), (std::vector<TColumnIndex>{2, 0, 1}));
    EXPECT_EQ(c.GetFirstVisibleColumn(), 2);
    EXPECT_EQ(c.GetVisibleColumns(), (std::vector<TColumnIndex>{2, 0}));
    int left = 0, right = 0;
    c.GetColumnBounds(0, left, right);
    EXPECT_EQ(left, 40);
    EXPECT_EQ(right, 90);
    c.GetColumnBounds(NoColumn, left, right);
    EXPECT_EQ(right, 196);
}

TEST(TreeHeader, ClicksReachTheTreeForClickableColumns) {
    HeaderFixture f({50, 60});
    std::vector<std::pair<TColumnIndex, TShiftState>> clicks;
    f.tree->OnHeaderClick = [&](TVTHeader* sender, TColumnIndex column, TMouseButton,
                                TShiftState shift, int, int) {
        EXPECT_EQ(sender, &f.tree->Header());
        clicks.emplace_back(column, shift);
    };
    TVirtualTreeColumns& c = f.columns();
    c.HandleClick({70, 5}, mbLeft, false, false);  // not pressed before: no click
    EXPECT_TRUE(clicks.empty());
    c.DownIndex = 1;
    c.HandleClick({70, 5}, mbLeft, false, false);
    c.HandleClick({10, 5}, mbRight, true, true);
    EXPECT_EQ(clicks, (std::vector<std::pair<TColumnIndex, TShiftState>>{{1, 0}, {0, ssDouble}}));
    EXPECT_EQ(c.ClickIndex, 0);
    c[0].SetOptions(c[0].Options() - TVTColumnOptions{coAllowClick});
    c.HandleClick({10, 5}, mbLeft, true, false);
    EXPECT_EQ(clicks.size(), 2u);
    EXPECT_EQ(c.ClickIndex, NoColumn);
}

}  // namespace
}  // namespace rv::test
