// The header's picture: the XP look's own colours for normal, hot and pressed cells, the classic
// pressed button, the layout of image, caption and sort arrow, and the dragged column laid over
// the strip with the mark where it would land.

#include "platform/windows/theme_services.h"
#include "tree/header_glyphs.h"
#include "tree/tests/header_fixture.h"

namespace rv::test {
namespace {

// The header without visual styles, its captions empty so that faces show plainly.
struct PlainHeader : HeaderMouseFixture {
    PlainHeader() {
        SetVisualStylesEnabled(false);
        tree->Perform(WM_THEMECHANGED);
    }
    ~PlainHeader() { SetVisualStylesEnabled(true); }
    TBitmap Paint() {
        const int width = tree->HeaderRect().Width(), height = Header().Height();
        TBitmap b(width, height);
        Header().PaintHeader(b.Canvas(), {0, 0, width, height});
        return b;
    }
};

TEST(TreeHeaderPaint, XPLookHasItsOwnColours) {
    PlainHeader f;
    ASSERT_FALSE(f.tree->TreeStates().Contains(tsUseThemes));
    f.Header().SetStyle(hsXPStyle);
    f.Columns().HoverIndex = 1;  // hot only with hoHotTrack
    f.Columns().DownIndex = 2;
    struct Sample {
        int x, y;
        TColor color;
        bool same;  // false: any colour but this one
    };
    const auto check = [&](const std::vector<Sample>& samples) {
        const TBitmap b = f.Paint();
        for (const Sample& s : samples)
            if (s.same)
                EXPECT_EQ(b.Pixel(s.x, s.y), s.color) << s.x << "," << s.y;
            else
                EXPECT_NE(b.Pixel(s.x, s.y), s.color) << s.x << "," << s.y;
    };
    constexpr TColor face = RGB(235, 234, 219), hot = RGB(250, 248, 243);
    check({
        {30, 5, face, true},
        {80, 5, face, true},
        // A normal cell: three lines along the bottom, a separator at its right from top + 3.
        {30, 14, RGB(224, 222, 207), true},
        {30, 15, RGB(213, 210, 195), true},
        {30, 16, RGB(203, 199, 184), true},
        {58, 5, RGB(199, 197, 178), true},
        {59, 5, RGB(255, 255, 255), true},
        {58, 1, face, true},
        // Pressed: its face, the frame at left, bottom and right, the two inner lines.
        {150, 8, RGB(222, 223, 216), true},
        {110, 8, RGB(165, 165, 151), true},
        {150, 16, RGB(165, 165, 151), true},
        {179, 8, RGB(165, 165, 151), true},
        {111, 8, RGB(193, 194, 184), true},
        {150, 0, RGB(193, 194, 184), true},
        {112, 8, RGB(208, 209, 201), true},
        // Past the last column: a normal face without separator.
        {250, 5, face, true},
        {294, 5, face, true},
    });
    f.Header().SetOptions(f.Header().Options() + TVTHeaderOptions{hoHotTrack});
    check({
        {80, 5, hot, true},
        // The hot bar: 3 rows at the bottom, its rounded ends leaving the corners out.
        {80, 13, hot, true},
        {80, 14, hot, false},
        {80, 16, hot, false},
        {60, 14, hot, true},
        {60, 15, hot, false},
        {109, 16, hot, true},
    });
}

TEST(TreeHeaderPaint, ClassicPressedButtonSinksIn) {
    PlainHeader f;
    const TBitmap normal = f.Paint();
    f.Columns().DownIndex = 1;
    const TBitmap pressed = f.Paint();
    // The top-left edge turns dark, the bottom-right light; the face stays.
    EXPECT_EQ(normal.Pixel(60, 0), ColorToRGB(clBtnHighlight));
    EXPECT_NE(pressed.Pixel(60, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pressed.Pixel(80, 8), normal.Pixel(80, 8));
    EXPECT_EQ(pressed.Pixel(30, 0), normal.Pixel(30, 0));
    // Plates have no edges until pressed.
    f.Header().SetStyle(hsPlates);
    f.Columns().DownIndex = NoColumn;
    EXPECT_EQ(f.Paint().Pixel(60, 0), ColorToRGB(clBtnFace));
}

TEST(TreeHeaderPaint, LayoutOfImageCaptionAndSortArrow) {
    PlainHeader f;
    TVirtualTreeColumn& column = f.Columns()[0];
    TBitmap measure(1, 1);
    TCanvas& c = measure.Canvas();
    column.SetText("Title");
    const int text = c.TextWidth("Title");
    const TRect client{0, 0, 200, 17};
    const TSize glyph{16, 16}, arrow{kSortGlyphWidth, kSortGlyphHeight};

    THeaderCellLayout l = column.ComputeHeaderLayout(c, client, glyph, arrow);
    EXPECT_EQ(l.Glyph.Left, 4);  // the margin
    EXPECT_EQ(l.Text.Left, 4 + 16 + 4);
    EXPECT_EQ(l.Text.Width(), text);
    EXPECT_EQ(l.SortGlyph.Right, 200 - 4);
    EXPECT_EQ(l.Caption, "Title");

    column.SetAlignment(taRightJustify);
    l = column.ComputeHeaderLayout(c, client, {0, 0}, arrow);
    EXPECT_TRUE(l.Glyph.IsEmpty());
    EXPECT_EQ(l.Text.Right, 200 - 4 - kSortGlyphWidth - 4);
    column.SetLayout(blGlyphRight);
    column.SetAlignment(taLeftJustify);
    l = column.ComputeHeaderLayout(c, client, glyph, {0, 0});
    EXPECT_EQ(l.Text.Left, 4);
    EXPECT_EQ(l.Glyph.Left, 4 + text + 4);
    EXPECT_TRUE(l.SortGlyph.IsEmpty());
    column.SetLayout(blGlyphTop);
    l = column.ComputeHeaderLayout(c, {0, 0, 200, 60}, glyph, {0, 0});
    EXPECT_LT(l.Glyph.Bottom, l.Text.Top + 1);
    EXPECT_NEAR((l.Glyph.Left + l.Glyph.Right) / 2, (l.Text.Left + l.Text.Right) / 2, 1);
    // Too narrow: the caption is cut with "...", never beyond the cell.
    column.SetLayout(blGlyphLeft);
    l = column.ComputeHeaderLayout(c, {0, 0, 40, 17}, {0, 0}, arrow);
    EXPECT_NE(l.Caption, "Title");
    EXPECT_LE(l.Text.Right, l.SortGlyph.Left);

    // Painted: the arrow in the shadow colour at the cell's right end.
    f.Header().SetOptions(f.Header().Options() + TVTHeaderOptions{hoShowSortGlyphs});
    f.Header().SetSortColumn(2);
    const TBitmap b = f.Paint();
    const int middle = 180 - 2 - 4 - kSortGlyphWidth / 2 - 1;
    bool arrowSeen = false;
    for (int y = 0; y < 17; ++y) arrowSeen |= b.Pixel(middle, y) == ColorToRGB(clBtnShadow);
    EXPECT_TRUE(arrowSeen);
}

// The width a caption needs is just enough for the cell's layout to show it whole.
TEST(TreeHeaderPaint, ACaptionsWidthShowsItWholeBesideTheSortGlyph) {
    PlainHeader f;
    TVTHeader& header = f.Header();
    TVirtualTreeColumn& column = f.Columns()[0];
    column.SetText("#");
    header.SetOptions(header.Options() + TVTHeaderOptions{hoShowSortGlyphs});
    header.SetSortColumn(0);
    TBitmap measure(1, 1);
    TCanvas& c = measure.Canvas();
    c.Font = header.Font();
    const TSize arrow{kSortGlyphWidth, kSortGlyphHeight};
    const auto caption = [&](int width) {
        return column.ComputeHeaderLayout(c, {2, 2, width - 2, 15}, {0, 0}, arrow).Caption;
    };
    const int needed = header.CaptionWidth(0);
    EXPECT_EQ(caption(needed), "#");
    EXPECT_NE(caption(needed - 1), "#");
    // Without the sort glyph the caption needs less.
    header.SetSortColumn(1);
    EXPECT_EQ(header.CaptionWidth(0), needed - kSortGlyphWidth - column.Spacing());
    EXPECT_EQ(header.CaptionWidth(NoColumn), 0);
}

TEST(TreeHeaderPaint, DraggedColumnIsLaidOverTheStrip) {
    PlainHeader f;
    const TColor face = f.Paint().Pixel(150, 8);
    f.Press(50);
    f.Move(160);
    ASSERT_TRUE(f.Header().States().Contains(hdDragging));
    const TBitmap b = f.Paint();
    // The picture of column 0 (lightened, translucent) now lies over 110 … 170.
    EXPECT_NE(b.Pixel(150, 8), face);
    EXPECT_GT(GetRValue(b.Pixel(150, 8)), GetRValue(face));
    // The mark on the side of column 2 it would land on: its right edge.
    EXPECT_EQ(b.Pixel(179, 8), ColorToRGB(clHighlight));
    EXPECT_EQ(b.Pixel(178, 8), ColorToRGB(clHighlight));
    f.tree->Perform(WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(f.Paint().Pixel(150, 8), face);
}

}  // namespace
}  // namespace rv::test
