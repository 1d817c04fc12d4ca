#include <gtest/gtest.h>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/internal/qt_graphics.h"
#include "platform/graphics/tests/pixels.h"

namespace rv {
namespace {

using test::DarkBounds;
using test::InkBounds;
using test::White;

// Black text on a 200 x 60 white bitmap with a hollow brush.
struct TextCanvas {
    TBitmap bitmap = White(200, 60);
    TCanvas& c = bitmap.Canvas();
    TextCanvas() {
        c.Brush.Style = bsClear;
        c.Font.Color = clBlack;
    }
};

// Where the glyphs of `text` drawn into `r` land.
TRect Drawn(const char* text, TRect r, unsigned flags) {
    TextCanvas t;
    t.c.DrawText(text, r, flags);
    return DarkBounds(t.bitmap);
}

TEST(CanvasText, AlignmentPlacesTheTextInsideTheRectangleAndCalcRectMeasuresWithoutDrawing) {
    const TRect r{10, 10, 190, 50};
    TRect a = Drawn("Wide", r, DT_SINGLELINE | DT_VCENTER | DT_LEFT),
          b = Drawn("Wide", r, DT_SINGLELINE | DT_VCENTER | DT_CENTER),
          z = Drawn("Wide", r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    ASSERT_FALSE(a.IsEmpty());
    EXPECT_GE(a.Left, 10);
    EXPECT_LE(a.Left, 12);
    EXPECT_LE(z.Right, 190);
    EXPECT_GE(z.Right, 186);
    EXPECT_NEAR((b.Left + b.Right) / 2.0, 100, 3);
    EXPECT_NEAR((a.Top + a.Bottom) / 2.0, 30, 3);  // centred vertically
    EXPECT_EQ(a.Width(), b.Width());
    EXPECT_EQ(a.Top, z.Top);

    TextCanvas t;
    TSize one = t.c.TextExtent("Hello world");
    auto measure = [&](const char* text, int width, unsigned flags) {
        TRect r{0, 0, width, 0};
        int h = t.c.DrawText(text, r, DT_CALCRECT | flags);
        EXPECT_EQ(h, r.Height()) << text;
        EXPECT_LE(r.Width(), width) << text;
        return r;
    };
    EXPECT_EQ(measure("Hello world", 1000, DT_SINGLELINE), (TRect{0, 0, one.cx, one.cy}));
    EXPECT_EQ(InkBounds(t.bitmap, clWhite), TRect{});

    // Word break: a rectangle narrower than the text makes two lines; line ends always break,
    // unless single line.
    int narrow = std::max(t.c.TextWidth("Hello"), t.c.TextWidth("world")) + 2;
    EXPECT_EQ(measure("Hello world", narrow, DT_WORDBREAK).Height(), 2 * one.cy);
    EXPECT_EQ(measure("a\r\nb\nc", 1000, 0).Height(), 3 * one.cy);
    EXPECT_EQ(measure("a\r\nb\nc", 1000, DT_SINGLELINE).Height(), one.cy);

    // "&&" is one ampersand, unless prefixes are off.
    EXPECT_EQ(measure("Save && Close", 200, DT_SINGLELINE).Width(), t.c.TextWidth("Save & Close"));
    EXPECT_EQ(measure("Save && Close", 200, DT_SINGLELINE | DT_NOPREFIX).Width(),
              t.c.TextWidth("Save && Close"));
}

TEST(CanvasText, EllipsisPrefixAndClipping) {
    const TRect r{0, 0, 40, 20};
    const char* caption = "A rather long caption";
    TRect ink = Drawn(caption, r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(ink.Right, 40);
    EXPECT_GT(ink.Right, 20);
    // Without the ellipsis the text is clipped to the rectangle, unless told not to.
    EXPECT_LE(Drawn(caption, r, DT_SINGLELINE).Right, 40);
    EXPECT_GT(Drawn(caption, r, DT_SINGLELINE | DT_NOCLIP).Right, 60);
    // "&x" loses its mark but gains an underline.
    EXPECT_GT(Drawn("&Home", {0, 0, 200, 30}, DT_SINGLELINE).Bottom,
              Drawn("Home", {0, 0, 200, 30}, DT_SINGLELINE).Bottom);
}

TEST(CanvasText, EveryChangeOfTheFontTakesEffectAtTheNextCall) {
    TextCanvas t;
    const TSize plain = t.c.TextExtent("Mimi");
    t.c.Font.Height = -22;
    const TSize big = t.c.TextExtent("Mimi");
    EXPECT_GT(big.cy, plain.cy);
    t.c.Font.Style = fsBold;
    EXPECT_GT(t.c.TextWidth("Mimi"), big.cx);
    t.c.Font.Name = "DejaVu Sans Mono";
    t.c.Font.Style = 0;
    EXPECT_EQ(t.c.TextWidth("Mimi"), t.c.TextWidth("...."));
    // The colour is no part of the measurement but shows in the drawing.
    t.c.Font = TFont{};
    t.c.Font.Color = clRed;
    t.c.Font.Quality = fqNonAntialiased;
    EXPECT_EQ(t.c.TextExtent("Mimi"), plain);
    t.c.TextOut(0, 0, "Mimi");
    EXPECT_GT(test::CountColor(t.bitmap, clRed), 10);
    EXPECT_EQ(test::CountColor(t.bitmap, clBlack), 0);
}

TEST(CanvasText, FontsThatAlternateAreMadeOnceAndEachRowDrawsInItsOwn) {
    // A tree's rows: bold and normal in turn, each in its colour.
    TFont normal, bold;
    bold.Style = fsBold;
    TextCanvas fresh;
    const int normalWidth = fresh.c.TextWidth("Row text");
    fresh.c.Font = bold;
    const int boldWidth = fresh.c.TextWidth("Row text");
    ASSERT_GT(boldWidth, normalWidth);

    TextCanvas t;
    const int made = t.c.Impl().FontsMade();
    for (int row = 0; row < 20; ++row) {
        t.c.Font = row % 2 ? bold : normal;
        t.c.Font.Color = row % 3 ? clBlack : clNavy;
        t.c.TextOut(0, 0, "Row text");
        EXPECT_EQ(t.c.TextWidth("Row text"), row % 2 ? boldWidth : normalWidth) << row;
    }
    EXPECT_EQ(t.c.Impl().FontsMade() - made, 2);

    // Many sizes in turn keep only a few fonts, and each size still measures as its own.
    for (int height = -8; height >= -40; --height) {
        t.c.Font.Height = height;
        TextCanvas own;
        own.c.Font = t.c.Font;
        EXPECT_EQ(t.c.TextExtent("Mimi"), own.c.TextExtent("Mimi")) << height;
    }
    t.c.Font = normal;
    EXPECT_EQ(t.c.TextWidth("Row text"), normalWidth);
}

TEST(CanvasText, UnsmoothedTextHasOnlyTheFontColourAndASolidBrushFillsBehind) {
    TextCanvas t;
    t.c.Font.Quality = fqNonAntialiased;
    t.c.TextOut(2, 2, "Quality");
    int ink = test::CountColor(t.bitmap, clBlack);
    EXPECT_GT(ink, 20);
    EXPECT_EQ(ink + test::CountColor(t.bitmap, clWhite), 200 * 60);

    TextCanvas s;
    s.c.Brush.Style = bsSolid;
    s.c.Brush.Color = clYellow;
    s.c.TextOut(5, 5, "Mm");
    TSize size = s.c.TextExtent("Mm");
    EXPECT_EQ(InkBounds(s.bitmap, clWhite), Bounds(5, 5, size.cx, size.cy));
    EXPECT_EQ(s.c.PenPos(), (TPoint{5 + size.cx, 5}));
}

}  // namespace
}  // namespace rv
