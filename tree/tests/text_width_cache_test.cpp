// The text tree's cached main-column widths: each change that can alter what a node's text
// measures has the text measured again, so the label a click finds is the text that is painted,
// and nothing else has the application asked again.

#include <map>

#include "platform/windows/tests/toolkit_input.h"
#include "tree/string_edit_link.h"
#include "tree/tests/paint_fixture.h"

namespace rv::test {
namespace {

constexpr const char* kShort = "ab";
constexpr const char* kLong = "a much longer text";

struct WidthFixture : PaintFixture {
    WidthFixture() {
        Text = [this](PVirtualNode, TColumnIndex column) { return texts[column]; };
        tree->SetWidth(400);
    }
    void AddNodes() {
        parent = tree->Add(nullptr, 0);
        node = tree->Add(parent, 1);
        tree->SetExpanded(parent, true);
    }
    void AddColumns() {
        for (int i = 0; i < 2; ++i) tree->Header().Columns().Add().SetWidth(180);
    }
    TColumnIndex Main() { return tree->Header().MainColumn(); }
    // The width the node's text has now, in the tree's font, with both text margins.
    int TextWidthNow() {
        TBitmap measure(1, 1);
        measure.Canvas().Font = tree->Font();
        return measure.Canvas().TextWidth(tree->GetText(node, Main())) + 2 * tree->TextMargin();
    }
    TRect Label() { return tree->GetDisplayRect(node, Main(), true); }
    THitPositions HitAt(int x) {
        return tree->GetHitTestInfoAt(x, Label().Top + 2, true).HitPositions;
    }

    std::map<TColumnIndex, std::string> texts{{NoColumn, kShort}, {0, kShort}, {1, kLong}};
    PVirtualNode parent = nullptr;
    PVirtualNode node = nullptr;
};

TEST(TextWidthCache, EachChangeOfWhatATextMeasuresHasItMeasuredAgain) {
    struct Row {
        const char* change;
        std::function<void(WidthFixture&)> before;  // the tree before its nodes are added
        std::function<void(WidthFixture&)> act;
        bool measuredAgain;
    };
    const auto newText = [](WidthFixture& f) { f.texts[NoColumn] = f.texts[0] = kLong; };
    const std::vector<Row> rows = {
        {"a new text, and only a paint", nullptr, newText, false},
        {"a new text, then the node invalidated", nullptr,
         [&](WidthFixture& f) {
             newText(f);
             f.tree->InvalidateNode(f.node);
         },
         true},
        {"a new text, then the node initialised again", nullptr,
         [&](WidthFixture& f) {
             newText(f);
             f.tree->ReinitNode(f.node, false);
         },
         true},
        {"a new text, then its parent initialised again with its children", nullptr,
         [&](WidthFixture& f) {
             newText(f);
             f.tree->ReinitNode(f.parent, true);
         },
         true},
        {"a new text, then the node reset", nullptr,
         [&](WidthFixture& f) {
             newText(f);
             f.tree->ResetNode(f.node);
         },
         true},
        {"a new text, then an edit cancelled with Escape", nullptr,
         [&](WidthFixture& f) {
             f.tree->SetMisc(toEditable, true);
             ASSERT_TRUE(f.tree->EditNode(f.node, f.Main()));
             newText(f);
             auto* link = dynamic_cast<TStringEditLink*>(f.tree->EditLink());
             ASSERT_NE(link, nullptr);
             SendToolkitKey(link->Edit()->Handle(), VK_ESCAPE, "\x1b");
             ASSERT_FALSE(f.tree->IsEditing());
         },
         true},
        {"the tree's font set", nullptr,
         [](WidthFixture& f) {
             TFont big = f.tree->Font();
             big.Height = -20;
             f.tree->SetFont(big);
         },
         true},
        {"the text margin set", nullptr, [](WidthFixture& f) { f.tree->SetTextMargin(12); }, true},
        {"the default text set, shown where OnGetText leaves the text",
         [](WidthFixture& f) { f.tree->OnGetText = nullptr; },
         [](WidthFixture& f) { f.tree->SetDefaultText(kLong); }, true},
        {"the main column moved to another column", [](WidthFixture& f) { f.AddColumns(); },
         [](WidthFixture& f) { f.tree->Header().SetMainColumn(1); }, true},
        {"the columns cleared, so that there is no main column",
         [](WidthFixture& f) {
             f.AddColumns();
             f.tree->Header().SetMainColumn(1);
         },
         [](WidthFixture& f) { f.tree->Header().Columns().Clear(); }, true},
        {"the first column added, which becomes the main column",
         [](WidthFixture& f) { f.texts[0] = kLong; },
         [](WidthFixture& f) { f.tree->Header().Columns().Add().SetWidth(180); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.change);
        WidthFixture f;
        if (row.before) row.before(f);
        f.AddNodes();
        f.Paint(400);
        const int before = f.Label().Width();
        ASSERT_EQ(before, f.TextWidthNow());

        row.act(f);
        f.Paint(400);
        const int expected = row.measuredAgain ? f.TextWidthNow() : before;
        ASSERT_NE(expected, row.measuredAgain ? before : 0) << "the row changes nothing";
        const TRect label = f.Label();
        EXPECT_EQ(label.Width(), expected);
        // A click on the last pixel of the text hits it, and the next one is beside it.
        EXPECT_TRUE(f.HitAt(label.Left + expected - 1) & hiOnItemLabel);
        EXPECT_TRUE(f.HitAt(label.Left + expected) & hiOnItemRight);
        // The column's double-click sizing takes the same width (the node is on level 1).
        if (f.Main() > NoColumn) {
            EXPECT_EQ(f.tree->GetMaxColumnWidth(f.Main()), 2 * int(f.tree->Indent()) + expected);
        }
    }
}

// A paint-text handler that picks a wider font while the row is painted has the text measured in
// that font, so a text that fits its column in the tree's font is shortened in the wider one.
TEST(TextWidthCache, AFontChosenWhilePaintingIsTheOneTheTextIsFittedIn) {
    WidthFixture f;
    f.AddColumns();
    f.AddNodes();
    f.Paint(400);
    const TRect label = f.Label();
    const int widthWithMargins = f.TextWidthNow();
    // The text just fits: the column holds the margin, the indentation and the text.
    f.tree->Header().Columns()[0].SetWidth(label.Left + widthWithMargins);
    std::vector<std::string> shortened;
    f.tree->OnShortenString = [&](TCustomVirtualStringTree*, TCanvas&, PVirtualNode, TColumnIndex,
                                  const std::string& text, int, bool, std::string& result,
                                  bool& done) {
        shortened.push_back(text);
        result = text;
        done = true;
    };
    f.Paint(400);
    EXPECT_TRUE(shortened.empty());

    f.tree->OnPaintText = [&](TCustomVirtualStringTree*, TCanvas& canvas, PVirtualNode n,
                              TColumnIndex, TVSTTextType) {
        if (n == f.node) canvas.Font.Style = fsBold;
    };
    f.tree->Invalidate();
    f.Paint(400);
    EXPECT_EQ(shortened, std::vector<std::string>{kShort});
}

}  // namespace
}  // namespace rv::test
