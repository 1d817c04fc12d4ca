// The string tree's texts: the default text, new texts, the cached main-column widths and what
// clears them, static and multi-line text, measured rows and hints.

#include <cstring>

#include "tree/tests/paint_fixture.h"

namespace rv::test {
namespace {

std::uint32_t CachedWidth(PaintedTree& tree, PVirtualNode node) {
    std::uint32_t width;
    std::memcpy(&width, reinterpret_cast<char*>(node) + tree.TextWidthOffset(), sizeof width);
    return width;
}

TEST(StringTreeText, DefaultTextAndNewTexts) {
    PaintFixture f;
    f.AddRows(1);
    const PVirtualNode node = f.tree->GetFirst();
    f.Text = [](PVirtualNode, TColumnIndex) { return std::string(); };
    f.tree->OnGetText = nullptr;
    EXPECT_EQ(f.tree->GetText(node, NoColumn), "Node");
    f.tree->SetDefaultText("(empty)");
    EXPECT_EQ(f.tree->GetText(node, 0), "(empty)");

    std::vector<std::string> news;
    f.tree->OnNewText = [&](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex column,
                            const std::string& text) {
        EXPECT_EQ(n, node);
        news.push_back(std::to_string(column) + ":" + text);
    };
    f.tree->GetDisplayRect(node, NoColumn, true);
    EXPECT_GT(CachedWidth(*f.tree, node), 0u);
    f.tree->SetText(node, 2, "Blue in Green");
    EXPECT_EQ(news, (std::vector<std::string>{"2:Blue in Green"}));
    EXPECT_EQ(CachedWidth(*f.tree, node), 0u) << "measured again when next needed";
}

TEST(StringTreeText, CachedWidthsFollowTheFont) {
    PaintFixture f;
    f.AddRows(3);
    PVirtualNode child = f.tree->Add(f.tree->GetFirst(), 10);  // collapsed: never shown
    f.Paint();
    const std::uint32_t normal = CachedWidth(*f.tree, f.tree->GetFirst());
    TBitmap measure(1, 1);
    measure.Canvas().Font = f.tree->Font();
    EXPECT_EQ(normal, std::uint32_t(measure.Canvas().TextWidth("Node 0") + 8));
    EXPECT_EQ(CachedWidth(*f.tree, child), 0u) << "painting measures only what it shows";

    // A new font clears every width and the font's measures are taken again.
    TFont big = f.tree->Font();
    big.Height = -20;
    f.tree->SetFont(big);
    for (PVirtualNode n = f.tree->GetFirstNoInit(); n; n = f.tree->GetNextNoInit(n))
        EXPECT_EQ(CachedWidth(*f.tree, n), 0u);
    measure.Canvas().Font = big;
    EXPECT_EQ(f.tree->TextHeight(), measure.Canvas().TextHeight(""));
    EXPECT_EQ(f.tree->EllipsisWidth(), measure.Canvas().TextWidth("..."));

    // A paint-text handler's font is the one measured.
    f.tree->OnPaintText = [](TCustomVirtualStringTree*, TCanvas& c, PVirtualNode, TColumnIndex,
                             TVSTTextType) { c.Font.Style |= fsBold; };
    big.Style = fsBold;
    measure.Canvas().Font = big;
    EXPECT_EQ(f.tree->GetDisplayRect(f.tree->GetFirst(), NoColumn, true).Width(),
              measure.Canvas().TextWidth("Node 0") + 8);
}

TEST(StringTreeText, StaticTextFollowsTheNormalTextWhenAsked) {
    PaintFixture f;
    f.AddRows(1);
    f.tree->OnGetText = [](TCustomVirtualStringTree*, PVirtualNode, TColumnIndex, TVSTTextType type,
                           std::string& text) { text = type == ttStatic ? "(live)" : "Song"; };
    const TRect r = f.tree->GetDisplayRect(f.tree->GetFirst(), NoColumn, true);
    const TRect after{r.Right, 0, 120, 18};
    EXPECT_EQ(CountColor(f.Paint(), after, clWhite), after.Width() * after.Height());
    f.tree->TreeOptions().SetStringOptions(f.tree->TreeOptions().StringOptions() +
                                           TVTStringOptions{toShowStaticText});
    const TBitmap b = f.Paint();
    EXPECT_LT(CountColor(b, after, clWhite), after.Width() * after.Height());
    EXPECT_EQ(CountColor(b, {r.Right, 0, r.Right + f.tree->TextMargin(), 18}, clWhite),
              f.tree->TextMargin() * 18)
        << "a text margin after the normal text";
}

TEST(StringTreeText, MultiLineNodesAndMeasuredRows) {
    PaintFixture f;
    f.AddRows(2);
    const PVirtualNode node = f.tree->GetFirst();
    f.Text = [](PVirtualNode, TColumnIndex) { return std::string("one\ntwo\nthree"); };
    TBitmap measure(1, 1);
    EXPECT_EQ(f.tree->ComputeNodeHeight(measure.Canvas(), node, NoColumn), 18)
        << "a single-line node keeps its height";
    f.tree->OnInitNode = [](TBaseVirtualTree*, PVirtualNode, PVirtualNode,
                            TVirtualNodeInitStates& states) { states |= ivsMultiline; };
    f.tree->ReinitNode(node, false);
    ASSERT_TRUE(node->Has(nsMultiline));
    EXPECT_EQ(f.tree->ComputeNodeHeight(measure.Canvas(), node, NoColumn),
              3 * f.tree->TextHeight());

    // With variable heights the rows take what OnMeasureItem answers before they are painted.
    f.tree->SetMisc(toVariableNodeHeight, true);
    f.tree->OnMeasureItem = [&](TBaseVirtualTree*, TCanvas& c, PVirtualNode n, int& height) {
        height = f.tree->ComputeNodeHeight(c, n, NoColumn);
    };
    f.Paint();
    EXPECT_EQ(f.tree->NodeHeight(node), std::uint32_t(3 * f.tree->TextHeight()));
    EXPECT_EQ(f.tree->GetDisplayRect(node->NextSibling, NoColumn, false).Top,
              3 * f.tree->TextHeight());
}

TEST(StringTreeText, HintsAndTooltips) {
    PaintFixture f;
    f.AddRows(1, nullptr, 4);
    const PVirtualNode node = f.tree->GetFirst();
    f.tree->Hint = "The library";
    EXPECT_EQ(f.tree->GetNodeHint(node, NoColumn), "The library");
    f.tree->OnGetHint = [](TCustomVirtualStringTree*, PVirtualNode, TColumnIndex, TVSTTextType,
                           std::string& hint) { hint += ": artist"; };
    EXPECT_EQ(f.tree->GetNodeHint(node, NoColumn), "The library: artist");
    EXPECT_EQ(f.tree->GetNodeTooltip(node, NoColumn), "Node 4");
}

TEST(StringTreeText, UserDataBehindTheTextWidthIsAlignedForPointers) {
    PaintFixture f;
    f.tree->SetNodeDataSize(sizeof(double));
    for (int i = 0; i < 3; ++i) {
        const PVirtualNode n = f.tree->AddChild(nullptr);
        auto* data = static_cast<char*>(f.tree->GetNodeData(n));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % alignof(double), 0u);
        EXPECT_GE(data, reinterpret_cast<char*>(n) + f.tree->TextWidthOffset() + 4);
        *reinterpret_cast<double*>(data) = 1.5 * i;  // a misaligned store would trap here
    }
}

}  // namespace
}  // namespace rv::test
