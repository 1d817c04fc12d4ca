// The tree painting itself into bitmaps, checked by sampling pixels: selection colours, tree
// lines, buttons, grid lines, the drop mark, the background below the rows, where text goes,
// and the display rectangles painting and hit tests share.

#include <algorithm>

#include "tree/tests/cache_fixture.h"
#include "tree/tests/paint_fixture.h"

namespace rv::test {
namespace {

// Default geometry: Margin 4, Indent 18, rows of 18; a top-level node's content starts after
// one level (toShowRoot), at 22; a level's lines run through x 8 of its box.
constexpr int kContentLeft = 22;
constexpr int kLineX = 12;

TEST(TreePaint, SelectionColoursFollowTheFocusAndTheHideOptions) {
    PaintFixture f;
    f.AddRows(3);
    PVirtualNode second = f.tree->GetFirst()->NextSibling;
    f.tree->SetSelected(second, true);
    struct Case {
        TVTPaintOptions extra;
        bool focused;
        TColor expected;
    };
    const Case cases[] = {
        {{}, true, kHighlight},
        {{}, false, kButtonFace},
        {{toHideSelection}, true, kHighlight},
        {{toHideSelection}, false, clWhite},
        {{toAlwaysHideSelection}, true, clWhite},
    };
    for (const Case& c : cases) {
        f.tree->TreeOptions().SetPaintOptions(kDefaultPaintOptions + c.extra);
        (c.focused ? f.tree : f.other)->SetFocus();
        ASSERT_EQ(f.tree->Focused(), c.focused);
        const TBitmap b = f.Paint();
        // The frame and the inside of the selection, which is as wide as the text.
        EXPECT_TRUE(
            PixelsAre(b, {{kContentLeft, 19, c.expected}, {kContentLeft + 1, 20, c.expected}}))
            << c.extra.ToBits() << (c.focused ? " focused" : " unfocused");
        EXPECT_EQ(b.Pixel(kContentLeft + 1, 1), clWhite) << "the first row is not selected";
    }

    // With full-row selection the whole row, left of the content too.
    f.tree->TreeOptions().SetPaintOptions(kDefaultPaintOptions);
    f.tree->TreeOptions().SetSelectionOptions({toFullRowSelect});
    f.tree->SetFocus();
    EXPECT_TRUE(
        PixelsAre(f.Paint(), {{1, 20, kHighlight}, {118, 20, kHighlight}, {1, 2, clWhite}}));
}

TEST(TreePaint, TreeLinesAreDottedOnAlternatePixelsAndButtonsSitOnThem) {
    PaintFixture f;
    f.AddRows(3);
    PVirtualNode first = f.tree->GetFirst();
    f.tree->Add(first, 10);
    const TBitmap b = f.Paint();
    // Row 1 has siblings above and below: its level's line runs from top to bottom, and to the
    // right at the row's middle (y 9 of the row); set pixels where x + y is even.
    for (int y = 18; y < 36; ++y)
        EXPECT_EQ(b.Pixel(kLineX, y), (kLineX + y) % 2 == 0 ? kButtonShadow : clWhite) << y;
    for (int x = kLineX + 1; x < kContentLeft; ++x)
        EXPECT_EQ(b.Pixel(x, 27), (x + 27) % 2 == 0 ? kButtonShadow : clWhite) << x;
    // Row 2 is the last: its line stops at the middle.
    EXPECT_EQ(b.Pixel(kLineX, 36 + 10), clWhite);
    EXPECT_EQ(b.Pixel(kLineX, 36 + 11), clWhite);
    // Row 0 has a child: the plus button, 9 × 9, centred in the level at x 8, y 5.
    EXPECT_TRUE(PixelsAre(b, {{8, 5, kButtonShadow},
                              {16, 13, kButtonShadow},
                              {9, 6, clWhite},
                              {12, 7, clBlack},
                              {10, 9, clBlack},
                              {12, 11, clBlack},
                              {7, 9, clWhite}}));
    // Expanded, the minus; the child's row continues its parent's line (not the last one).
    f.tree->ToggleNode(first);
    const TBitmap open = f.Paint();
    EXPECT_EQ(open.Pixel(12, 7), clWhite);
    EXPECT_EQ(open.Pixel(10, 9), clBlack);
    EXPECT_EQ(open.Pixel(kLineX, 18), kButtonShadow);  // (12 + 18) even
    EXPECT_EQ(open.Pixel(kLineX + 18, 18), kButtonShadow) << "the child's own level";

    // Solid lines have no gaps.
    f.tree->SetLineStyle(lsSolid);
    const TBitmap solid = f.Paint();
    for (int y = 36; y < 54; ++y) EXPECT_EQ(solid.Pixel(kLineX, y), kButtonShadow) << y;
}

// The buttons are made once and kept: a change of the desktop's colours makes them again, and
// a change of the font reaches the buttons' signs and the widths of the texts.
TEST(TreePaint, ButtonsFollowTheSystemColoursAndTheFont) {
    PaintFixture f;
    f.AddRows(3);
    f.tree->Add(f.tree->GetFirst(), 10);
    f.tree->SetSelected(f.tree->GetFirst()->NextSibling, true);
    f.tree->SetFocus();
    ASSERT_TRUE(PixelsAre(f.Paint(), {{8, 5, kButtonShadow}, {kContentLeft, 19, kHighlight}}));
    SetSysColors({{clBtnShadow & 0xFF, clRed}, {clHighlight & 0xFF, clGreen}});
    const TBitmap b = f.Paint();
    SetSysColors({{clBtnShadow & 0xFF, kButtonShadow}, {clHighlight & 0xFF, kHighlight}});
    EXPECT_TRUE(PixelsAre(b, {{8, 5, clRed}, {16, 13, clRed}, {kContentLeft, 19, clGreen}}));
    EXPECT_EQ(CountColor(b, {0, 0, 20, 20}, kButtonShadow), 0);

    TFont font = f.tree->Font();
    font.Color = clBlue;
    const int rangeBefore = f.tree->RangeX();
    font.SetSize(3 * font.Size());
    f.tree->SetFont(font);
    const TBitmap big = f.Paint();
    EXPECT_TRUE(PixelsAre(big, {{12, 7, clBlue}, {10, 9, clBlue}}));
    EXPECT_GT(f.tree->RangeX(), rangeBefore) << "the widest text is wider now";
}

TEST(TreePaint, LineImagesByLevel) {
    PaintFixture f;
    IdTree& t = *f.tree;
    const PVirtualNode a = t.Add(nullptr, 1), a1 = t.Add(a, 11), a2 = t.Add(a, 12),
                       a2a = t.Add(a2, 121), b = t.Add(nullptr, 2), c = t.Add(nullptr, 3),
                       c1 = t.Add(c, 31);
    auto lines = [&](PVirtualNode n) {
        TLineImage image;
        f.tree->DetermineLineImageAndSelectLevel(n, image);
        return image;
    };
    using L = TLineImage;
    const std::pair<PVirtualNode, L> withRoot[] = {
        {a, {ltBottomRight}},          {a1, {ltTopDown, ltTopDownRight}},
        {a2, {ltTopDown, ltTopRight}}, {a2a, {ltTopDown, ltNone, ltTopRight}},
        {b, {ltTopDownRight}},         {c, {ltTopRight}},
        {c1, {ltNone, ltTopRight}},
    };
    for (const auto& [node, expected] : withRoot) EXPECT_EQ(lines(node), expected) << t.Id(node);

    f.SetPaint(toShowRoot, false);
    const std::pair<PVirtualNode, L> withoutRoot[] = {
        {a, {}}, {a1, {ltTopDownRight}}, {a2a, {ltNone, ltTopRight}}, {c1, {ltTopRight}}};
    for (const auto& [node, expected] : withoutRoot) EXPECT_EQ(lines(node), expected) << t.Id(node);

    f.SetPaint(toShowRoot, true);
    t.SetIsVisible(c, false);  // b is the last shown top-level node now
    EXPECT_EQ(lines(b), (L{ltTopRight}));
    t.SetIsVisible(b, false);
    EXPECT_EQ(lines(a), (L{ltRight}));
    EXPECT_EQ(lines(a2a), (L{ltNone, ltNone, ltTopRight}));

    f.SetPaint(toShowTreeLines, false);
    EXPECT_EQ(lines(a2a), (L{ltNone, ltNone, ltNone}));
    // The select level counts the selected ancestors.
    t.SetSelected(a2, true);
    TLineImage image;
    EXPECT_EQ(f.tree->DetermineLineImageAndSelectLevel(a2a, image), 1);
}

TEST(TreePaint, GridLinesTakeTheLastPixelRowAndColumnOfEachCell) {
    PaintFixture f;
    f.AddRows(2);
    for (int width : {60, 50}) f.tree->Header().Columns().Add().SetWidth(width);
    f.SetPaint(toShowHorzGridLines, true);
    f.SetPaint(toShowVertGridLines, true);
    const TBitmap b = f.Paint(140, 40);
    auto dotted = [&](int x, int y) { return (x + y) % 2 == 0 ? kButtonFace : clWhite; };
    for (int x = 0; x < 110; ++x) EXPECT_EQ(b.Pixel(x, 17), dotted(x, 17)) << x;
    for (int y = 0; y < 36; ++y) {
        EXPECT_EQ(b.Pixel(59, y), dotted(59, y)) << y;
        EXPECT_EQ(b.Pixel(109, y), dotted(109, y)) << y;
    }
    EXPECT_EQ(b.Pixel(110, 5), clWhite) << "right of the columns";
    // The last column sized by the header gets no line at its right.
    f.tree->Header().SetOptions(f.tree->Header().Options() + TVTHeaderOptions{hoAutoResize});
    const TBitmap sized = f.Paint(240, 40);
    const int right = f.tree->Header().Columns().TotalWidth();
    EXPECT_EQ(sized.Pixel(right - 1, 4), clWhite);
    EXPECT_EQ(sized.Pixel(right - 1, 5), clWhite);
    EXPECT_EQ(sized.Pixel(59, 1), kButtonFace);
}

TEST(TreePaint, DropMarkAboveAndBelowTheTarget) {
    PaintFixture f;
    f.AddRows(3);
    PVirtualNode target = f.tree->GetFirst()->NextSibling;
    f.tree->dropTargetNode_ = target;
    f.tree->dropMode_ = dmAbove;
    // Row 1 from y 18: the band (2,0)–(118,2) with a triangle down at each end to y 6.
    const TBitmap above = f.Paint();
    EXPECT_TRUE(PixelsAre(above, {{3, 18, kHighlight},
                                  {60, 19, kHighlight},
                                  {117, 19, kHighlight},
                                  {2, 21, kHighlight},
                                  {117, 21, kHighlight},
                                  {1, 18, clWhite},
                                  {118, 18, clWhite},
                                  {60, 20, clWhite},
                                  {7, 22, clWhite}}));
    f.tree->dropMode_ = dmBelow;
    // At the bottom: the band up to y 15 of the row, the triangles up to y 10.
    const TBitmap below = f.Paint();
    EXPECT_TRUE(PixelsAre(below, {{60, 18 + 16, kHighlight},
                                  {60, 18 + 15, kHighlight},
                                  {3, 18 + 12, kHighlight},
                                  {116, 18 + 12, kHighlight},
                                  {60, 18 + 14, clWhite},
                                  {60, 18 + 17, clWhite},
                                  {60, 19, clWhite}}));
    // Without the option, no mark.
    f.SetPaint(toShowDropmark, false);
    EXPECT_EQ(f.Paint().Pixel(60, 18 + 16), clWhite);
}

TEST(TreePaint, BackgroundBelowTheLastRow) {
    PaintFixture f;
    f.AddRows(2);
    f.tree->SetColor(clYellow);
    EXPECT_EQ(f.Paint().Pixel(5, 50), clYellow);

    // With columns each column's colour, the tree's right of them, and with full vertical grid
    // lines their lines too.
    f.tree->Header().Columns().Add().SetWidth(40);
    TVirtualTreeColumn& second = f.tree->Header().Columns().Add();
    second.SetWidth(40);
    second.SetOptions(second.Options() - TVTColumnOptions{coParentColor});
    second.SetColor(clAqua);
    f.SetPaint(toShowVertGridLines, true);
    f.SetPaint(toFullVertGridLines, true);
    const TBitmap b = f.Paint();
    EXPECT_TRUE(PixelsAre(b, {{20, 50, clYellow}, {60, 50, clAqua}, {100, 50, clYellow}}));
    EXPECT_EQ(b.Pixel(39, 51), (39 + 51) % 2 == 0 ? kButtonFace : clYellow);
    EXPECT_EQ(b.Pixel(39, 50), (39 + 50) % 2 == 0 ? kButtonFace : clYellow);

    // A window wholly below the rows is background alone; a handler may paint it instead.
    int rows = 0;
    f.tree->OnBeforeItemPaint = [&](TBaseVirtualTree*, TCanvas&, PVirtualNode, const TRect&,
                                    bool&) { ++rows; };
    TRect asked;
    f.tree->OnPaintBackground = [&](TBaseVirtualTree*, TCanvas& c, const TRect& r, bool& done) {
        asked = r;
        c.Brush.Color = clRed;
        c.FillRect(r);
        done = true;
    };
    TBitmap low(50, 20);
    f.tree->PaintTree(low.Canvas(), {0, 100, 50, 120}, {0, 0}, kWindowPaintOptions);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(asked, (TRect{0, 100, 50, 120}));
    EXPECT_EQ(CountColor(low, clRed), 50 * 20);
}

TEST(TreePaint, TextSitsWhereTheFontAndTheDisplayRectanglePutIt) {
    PaintFixture f;
    f.AddRows(2, nullptr, 7);
    const PVirtualNode node = f.tree->GetFirst();
    f.tree->SetSelected(node, true);
    f.tree->SetFocus();
    TBitmap measure(1, 1);
    measure.Canvas().Font = f.tree->Font();
    const TSize text = measure.Canvas().TextExtent("Node 7");
    const TRect r = f.tree->GetDisplayRect(node, NoColumn, true);
    EXPECT_EQ(r.Left, kContentLeft);
    EXPECT_EQ(r.Width(), text.cx + 2 * f.tree->TextMargin());
    EXPECT_EQ(f.tree->TextHeight(), text.cy);

    // The selection covers the display rectangle exactly.
    const TBitmap b = f.Paint();
    EXPECT_TRUE(PixelsAre(b, {{r.Left, 2, kHighlight},
                              {r.Right - 1, 15, kHighlight},
                              {r.Right, 8, clWhite},
                              {r.Left - 1, 8, clWhite}}));
    // The next row's text starts a text margin into its rectangle, centred vertically.
    TBitmap row(120, 18);
    f.tree->PaintTree(row.Canvas(), {0, 18, 120, 36}, {0, 0}, kWindowPaintOptions);
    const TRect ink = DarkBounds(row);
    const int left = kContentLeft + f.tree->TextMargin(), top = (18 - text.cy) / 2;
    EXPECT_GE(ink.Left, left);
    EXPECT_LE(ink.Left, left + 2);
    EXPECT_LE(ink.Right, left + text.cx);
    EXPECT_GE(ink.Top, top);
    EXPECT_LE(ink.Bottom, top + text.cy);
}

TEST(TreePaint, OnlyNarrowColumnsShortenTheirText) {
    PaintFixture f;
    f.AddRows(1);
    f.Text = [](PVirtualNode, TColumnIndex column) {
        return column == 1 ? std::string("A rather long title") : std::string("Main");
    };
    std::vector<std::pair<TColumnIndex, int>> shortened;
    f.tree->OnShortenString = [&](TCustomVirtualStringTree*, TCanvas&, PVirtualNode,
                                  TColumnIndex column, const std::string&, int space, bool,
                                  std::string&, bool&) { shortened.emplace_back(column, space); };
    // Without columns a wide text is clipped, never shortened.
    f.Paint(60, 18);
    EXPECT_TRUE(shortened.empty());

    f.tree->Header().Columns().Add().SetWidth(60);
    f.tree->Header().Columns().Add().SetWidth(40);
    const TBitmap b = f.Paint(140, 18);
    // The column's width less Margin and a text margin on each side.
    ASSERT_EQ(shortened.size(), 1u);
    EXPECT_EQ(shortened[0], std::make_pair(TColumnIndex(1), 40 - 4 - 2 * 4));
    EXPECT_EQ(DarkBounds(b).Right <= 100, true);
    EXPECT_EQ(CountColor(b, {96, 0, 140, 18}, clWhite), 44 * 18) << "nothing past the column";

    // With toAutoSpanColumns an empty neighbour lends its room.
    f.tree->Header().Columns().Add().SetWidth(200);
    f.Text = [](PVirtualNode, TColumnIndex column) {
        return column == 1 ? std::string("A rather long title") : std::string();
    };
    f.tree->TreeOptions().SetAutoOptions(f.tree->TreeOptions().AutoOptions() +
                                         TVTAutoOptions{toAutoSpanColumns});
    shortened.clear();
    f.Paint(300, 18);
    EXPECT_TRUE(shortened.empty());
}

TEST(TreePaint, DisplayRectanglesMatchAWalkAcrossCacheBoundaries) {
    PaintFixture f;
    IdTree& t = *f.tree;
    t.BeginUpdate();
    for (int i = 0; i < 5000; ++i) {
        const PVirtualNode n = t.Add(nullptr, i);
        if (i % 700 == 3) {
            t.Add(n, 100000 + i);
            t.SetExpanded(n, true);
        }
        if (i % 97 == 5) t.SetNodeHeight(n, 25);
    }
    t.EndUpdate();
    ASSERT_TRUE(PumpUntil([&] { return t.TreeStates().Contains(tsUseCache); }));
    const std::vector<Row> rows = ShownRows(t);
    for (int offset : {0, -36000, -80000}) {
        t.SetOffsetY(offset);
        for (std::size_t i : {std::size_t(0), std::size_t(1), std::size_t(1999), std::size_t(2000),
                              std::size_t(2001), std::size_t(3999), std::size_t(4000),
                              std::size_t(4001), rows.size() - 2, rows.size() - 1}) {
            const TRect r = t.GetDisplayRect(rows[i].node, NoColumn, false);
            EXPECT_EQ(r.Top, rows[i].top + t.OffsetY()) << i;
            EXPECT_EQ(r.Height(), rows[i].height) << i;
        }
    }
    // A collapsed parent hides its child's rectangle.
    const PVirtualNode child = t.GetFirst()->NextSibling->NextSibling->NextSibling->FirstChild;
    ASSERT_NE(child, nullptr);
    EXPECT_FALSE(t.GetDisplayRect(child, NoColumn, false).IsEmpty());
    t.SetExpanded(child->Parent, false);
    EXPECT_TRUE(t.GetDisplayRect(child, NoColumn, false).IsEmpty());
}

TEST(TreePaint, AnimatedToggleTakesItsStartingPictureBeforeReturning) {
    PaintFixture f;
    f.AddRows(3);
    const PVirtualNode parent = f.tree->GetFirst();
    f.AddRows(2, parent, 10);
    App().ProcessMessages();
    int paints = 0;
    f.tree->OnAfterPaint = [&](TBaseVirtualTree*, TCanvas&) { ++paints; };
    f.tree->ToggleNode(parent);
    EXPECT_EQ(paints, 0) << "without animation the repaint waits for the events";
    App().ProcessMessages();
    f.tree->TreeOptions().SetAnimationOptions({toAnimatedToggle});
    paints = 0;
    f.tree->ToggleNode(parent);
    EXPECT_GE(paints, 1);
    EXPECT_FALSE(f.tree->Expanded(parent));
}

TEST(TreePaint, ThemedLookFollowsTheVisualStyles) {
    PaintFixture f(true);
    f.AddRows(2);
    f.tree->Add(f.tree->GetFirst(), 10);
    const TBitmap themed = f.Paint();
    EXPECT_TRUE(f.tree->TreeStates().Contains(tsUseThemes));
    SetVisualStylesEnabled(false);  // every tree hears of it
    EXPECT_FALSE(f.tree->TreeStates().Contains(tsUseThemes));
    const TBitmap classic = f.Paint();
    EXPECT_EQ(classic.Pixel(8, 5), kButtonShadow);
    int differing = 0;
    for (int y = 5; y < 14; ++y)
        for (int x = 8; x < 17; ++x) differing += themed.Pixel(x, y) != classic.Pixel(x, y);
    EXPECT_GT(differing, 10) << "the style's glyph, not the classic button";
}

TEST(TreePaint, ThemedGlyphsStayVisibleOnADarkTree) {
    PaintFixture f(true);
    f.AddRows(1);
    f.tree->Add(f.tree->GetFirst(), 10);
    auto greenest = [](const TBitmap& b) {
        int most = 0;
        for (int y = 5; y < 14; ++y)
            for (int x = 8; x < 17; ++x) {
                const TColor c = b.Pixel(x, y);
                most = std::max(most, GetGValue(c) - GetRValue(c));
            }
        return most;
    };
    f.tree->SetFontColor(clLime);
    EXPECT_LT(greenest(f.Paint()), 64) << "on the style's own light colour its glyph stays";
    const TColor darkTeal = RGB(0x1D, 0x38, 0x38);
    f.tree->SetColor(darkTeal);
    EXPECT_GT(greenest(f.Paint()), 160) << "on a dark tree the glyph takes the font's colour";
}

TEST(TreePaint, RowsAreDrawnAtTheTargetsScale) {
    PaintFixture f;
    f.AddRows(2);
    f.tree->Add(f.tree->GetFirst(), 10);
    const TBitmap one = f.Paint(), two = f.Paint(120, 72, kWindowPaintOptions, 2);
    ASSERT_EQ(two.PixelWidth(), 240);
    // Lines and buttons cover whole logical pixels: each is a block of four device pixels.
    for (auto [x, y] : {std::pair{8, 5}, {12, 9}, {kLineX, 18}, {kLineX, 19}, {13, 27}, {14, 27}})
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                EXPECT_EQ(two.Pixel(2 * x + dx, 2 * y + dy), one.Pixel(x, y)) << x << "," << y;
}

TEST(TreePaint, ImagesBlendOnlyWhereTheRulesSay) {
    PaintFixture f;
    f.AddRows(2);
    TImageList images;
    TBitmap red(16, 16);
    red.Canvas().Brush.Color = clRed;
    red.Canvas().FillRect({0, 0, 16, 16});
    images.Add(red);
    f.tree->SetImages(&images);
    bool ghosted = false;
    f.tree->OnGetImageIndex = [&](TBaseVirtualTree*, PVirtualNode, TVTImageKind kind, TColumnIndex,
                                  bool& ghost, int& index) {
        if (kind == ikOverlay) return;
        index = 0;
        ghost = ghosted;
    };
    const PVirtualNode node = f.tree->GetFirst();
    const TColor withHighlight = BlendColors(clRed, kHighlight, 0.5);
    const TColor withTree = BlendColors(clRed, clWhite, 0.5);
    struct Case {
        bool focused, selected, fullRow, ghost, cut, ghostedIfUnfocused;
        TColor expected;
    };
    const Case cases[] = {
        {true, false, false, false, false, false, clRed},
        {true, true, false, false, false, false, withHighlight},
        {true, true, true, false, false, false, clRed},    // not with full-row selection
        {false, true, false, false, false, false, clRed},  // nor unfocused
        {false, true, false, false, false, true, withHighlight},
        {true, false, false, true, false, false, withTree},  // ghosted: the tree's colour
        {true, true, false, true, false, false, withTree},
        {true, false, false, false, true, false, withTree},  // cut
        {false, false, false, false, true, false, clRed},
    };
    for (const Case& c : cases) {
        (c.focused ? f.tree : f.other)->SetFocus();
        f.tree->SetSelected(node, c.selected);
        f.tree->TreeOptions().SetSelectionOptions(c.fullRow ? TVTSelectionOptions{toFullRowSelect}
                                                            : TVTSelectionOptions{});
        f.SetPaint(toGhostedIfUnfocused, c.ghostedIfUnfocused);
        ghosted = c.ghost;
        c.cut ? node->Include(nsCutOrCopy) : node->Exclude(nsCutOrCopy);
        c.cut ? f.tree->DoStateChange({tsCutPending}) : f.tree->DoStateChange({}, {tsCutPending});
        // The image sits at the content's start, centred on the row.
        EXPECT_EQ(f.Paint().Pixel(kContentLeft + 8, 9), c.expected)
            << c.focused << c.selected << c.fullRow << c.ghost << c.cut << c.ghostedIfUnfocused;
    }
    // A list of masks gives the image's mask: black where the image shows.
    f.tree->DoStateChange({}, {tsCutPending});
    images.ImageType = itMask;
    EXPECT_EQ(f.Paint().Pixel(kContentLeft + 8, 9), clBlack);
    images.ImageType = itImage;
    // A disabled node's image is the list's disabled drawing: grey, not red.
    f.tree->SetIsDisabled(node, true);
    const TColor disabled = f.Paint().Pixel(kContentLeft + 8, 9);
    EXPECT_EQ(GetRValue(disabled), GetGValue(disabled));
}

TEST(TreePaint, OverlayCoversTheNormalImageEnabledOrDisabled) {
    PaintFixture f;
    f.AddRows(1);
    // Image 0 red; image 1 a blue corner, the overlay of slot 1.
    TImageList images;
    TBitmap strip(32, 16);
    FillSolid(strip.Canvas(), {0, 0, 16, 16}, clRed);
    FillSolid(strip.Canvas(), {16, 0, 32, 16}, clFuchsia);
    FillSolid(strip.Canvas(), {16, 0, 20, 4}, clBlue);
    images.AddMasked(strip, clFuchsia);
    images.SetOverlay(1, 1);
    f.tree->SetImages(&images);
    f.tree->SetStateImages(&images);
    int overlay = 0;
    f.tree->OnGetImageIndex = [&](TBaseVirtualTree*, PVirtualNode, TVTImageKind kind, TColumnIndex,
                                  bool&, int& index) { index = kind == ikOverlay ? overlay : 0; };
    // The state image comes first, then the normal one; both 16 pixels from row 1.
    constexpr int kState = kContentLeft, kNormal = kContentLeft + 18;
    EXPECT_TRUE(PixelsAre(f.Paint(), {{kNormal + 1, 2, clBlue},
                                      {kNormal + 8, 9, clRed},
                                      {kState + 1, 2, clRed}}));  // never on the state image
    overlay = -1;
    EXPECT_EQ(f.Paint().Pixel(kNormal + 1, 2), clRed);
    // Disabled, both in the list's grey form: the overlay's darker than the image's.
    overlay = 0;
    f.tree->SetIsDisabled(f.tree->GetFirst(), true);
    const TBitmap disabled = f.Paint();
    const TColor corner = disabled.Pixel(kNormal + 1, 2), middle = disabled.Pixel(kNormal + 8, 9);
    EXPECT_EQ(GetRValue(corner), GetBValue(corner));
    EXPECT_EQ(GetRValue(middle), GetBValue(middle));
    EXPECT_LT(GetRValue(corner), GetRValue(middle));
    EXPECT_EQ(disabled.Pixel(kState + 1, 2), middle);
}

// Rows start at every height, so patterns of the tree lines meet each row at another phase;
// nothing of that may show in the check boxes drawn after them.
TEST(TreePaint, UncheckedBoxesLookTheSameInEveryRow) {
    for (bool themed : {false, true}) {
        for (double ratio : {1.0, 2.0}) {
            PaintFixture f(themed);
            f.tree->SetMisc(toCheckSupport, true);
            f.SetPaint(toShowHorzGridLines, true);
            f.Text = [](PVirtualNode, TColumnIndex) { return std::string(); };
            constexpr int kRows = 8;
            f.AddRows(kRows);
            for (PVirtualNode n = f.tree->GetFirst(); n; n = f.tree->GetNext(n))
                f.tree->SetCheckType(n, ctCheckBox);
            const TBitmap b = f.Paint(60, kRows * 18, kWindowPaintOptions, ratio);
            const int size = int(16 * ratio);
            const int left = int(kContentLeft * ratio);
            int differing = 0;
            for (int row = 1; row < kRows; ++row)
                for (int y = 0; y < size; ++y)
                    for (int x = 0; x < size; ++x) {
                        const int top = int((row * 18 + 1) * ratio);
                        differing +=
                            b.Pixel(left + x, top + y) != b.Pixel(left + x, int(ratio) + y);
                    }
            EXPECT_EQ(differing, 0) << "themed " << themed << " at " << ratio;
        }
    }
}

TEST(TreePaint, BackgroundPictureStaysWithTheClientArea) {
    PaintFixture f;
    f.AddRows(30);
    TBitmap tile(4, 4);
    tile.Canvas().Brush.Color = clLime;
    tile.Canvas().FillRect({0, 0, 2, 4});
    f.tree->SetBackground(tile);
    f.tree->SetBackgroundOffsetX(1);
    f.SetPaint(toShowBackground, true);
    f.SetPaint(toShowTreeLines, false);
    f.SetPaint(toShowRoot, false);
    auto lime = [](int x) { return ((x - 1) % 4 + 4) % 4 < 2; };
    // Scrolled down by 40 pixels: the picture does not move, the rows do.
    f.tree->SetOffsetY(-40);
    TBitmap b(120, 40);
    f.tree->PaintTree(b.Canvas(), {0, 40, 120, 80}, {0, 0}, kWindowPaintOptions);
    for (int x = 100; x < 108; ++x) EXPECT_EQ(b.Pixel(x, 3), lime(x) ? clLime : clWhite) << x;
    // Without the option, or outside the window's paint, the tree's colour.
    f.SetPaint(toShowBackground, false);
    f.tree->PaintTree(b.Canvas(), {0, 40, 120, 80}, {0, 0}, kWindowPaintOptions);
    EXPECT_EQ(b.Pixel(100, 3), clWhite);
}

TEST(TreePaint, RubberBandIsDottedOrBlended) {
    PaintFixture f;
    f.AddRows(3);
    f.SetPaint(toShowTreeLines, false);
    f.Text = [](PVirtualNode, TColumnIndex) { return std::string(); };
    f.tree->drawSelectionRect_ = {70, 5, 110, 40};  // over two row boundaries
    const TBitmap dotted = f.Paint();
    for (int x = 70; x < 110; ++x) {
        EXPECT_EQ(dotted.Pixel(x, 5), (x + 5) % 2 ? clWhite : clBlack) << x;
        EXPECT_EQ(dotted.Pixel(x, 39), (x + 39 - 36) % 2 ? clWhite : clBlack) << x;
    }
    EXPECT_EQ(dotted.Pixel(90, 20), clWhite);
    // Blended: the inside mixed half-way with the highlight, framed in it.
    f.tree->SetDrawSelectionMode(smBlendedRectangle);
    const TBitmap blended = f.Paint();
    EXPECT_TRUE(PixelsAre(blended, {{90, 20, RGB(132, 145, 180)},
                                    {90, 30, RGB(132, 145, 180)},
                                    {70, 20, kHighlight},
                                    {90, 39, kHighlight},
                                    {90, 40, clWhite},
                                    {69, 20, clWhite}}));
}

TEST(TreeBorder, DecorationBandsAndTheHeaderStrip) {
    PaintFixture f;
    PaintedTree& t = *f.tree;
    EXPECT_EQ(t.FrameWidth(), 2);
    TBitmap plain(200, 100);
    t.PaintBorderDecoration(plain.Canvas());
    EXPECT_EQ(CountColor(plain, clWhite), 200 * 100) << "no bevel, no band: nothing";

    // A band of 3 pixels in BorderColor inside the two-pixel edge; the client shrinks by it.
    TBorderDecoration band;
    band.BorderWidth = 3;
    t.SetBorderDecoration(band);
    t.Colors().Set(TVTColors::BorderColor, clRed);
    EXPECT_EQ(t.FrameWidth(), 5);
    EXPECT_EQ(t.ClientWidth(), 190);
    TBitmap b(200, 100);
    t.PaintBorderDecoration(b.Canvas());
    EXPECT_EQ(CountColor(b, clRed), 196 * 96 - 190 * 90);
    EXPECT_TRUE(PixelsAre(b, {{2, 50, clRed},
                              {4, 50, clRed},
                              {1, 50, clWhite},
                              {5, 50, clWhite},
                              {100, 95, clRed},
                              {100, 94, clWhite}}));
    // The header's strip starts inside the band and matches the window's own.
    EXPECT_EQ(t.HeaderRect(), (TRect{5, 5, 195, 5}));
    t.Header().SetOptions(t.Header().Options() + TVTHeaderOptions{hoVisible});
    EXPECT_EQ(t.HeaderRect(), (TRect{5, 5, 195, 22}));
    EXPECT_EQ(t.HeaderRect(), GetHeaderRect(t.Handle()));

    // A flat lowered bevel of one pixel on the left and right edges, inside the border.
    TBorderDecoration bevel;
    bevel.Kind = bkFlat;
    bevel.Inner = bvNone;
    bevel.Edges = {beLeft, beRight};
    t.SetBorderDecoration(bevel);
    TBitmap beveled(200, 100);
    t.PaintBorderDecoration(beveled.Canvas());
    EXPECT_TRUE(PixelsAre(
        beveled,
        {{2, 50, kButtonShadow}, {197, 50, kButtonShadow}, {100, 2, clWhite}, {3, 50, clWhite}}));
    EXPECT_EQ(t.HeaderRect().Left, 3);
    EXPECT_EQ(t.HeaderRect().Top, 2);

    // The window's frame: the sunken edge, then the decoration.
    t.SetBorderDecoration(band);
    TBitmap window(200, 100);
    PaintWindowTo(t.Handle(), window.Canvas());
    EXPECT_TRUE(PixelsAre(window, {{0, 50, kButtonShadow}, {3, 60, clRed}}));
}

}  // namespace
}  // namespace rv::test
