// The buttons' own pictures and the glyphs they are given are drawn at the pixel ratio of what
// the button is painted on; at 100 % a button looks as it always did.

#include <gtest/gtest.h>

#include "platform/framework/actions.h"
#include "platform/graphics/image_list.h"
#include "widgets/lb_button.h"
#include "widgets/lb_speed_button.h"
#include "widgets/tests/widget_fixture.h"

namespace rv {
namespace {

using test::FineBlocks;
using test::FixedCopy;
using test::FormWith;
using test::SamePixels;
using test::Snapshot;

TEST(LbGlyphs, TheKindsPicturesKeepTheirSizesAndAreDrawnAtTheRatio) {
    // The disabled close box is one grey: its cross does not show.
    const std::pair<const char*, bool> kinds[] = {
        {"LBOK", true},     {"LBCANCEL", true}, {"LBHELP", true},  {"LBYES", true},
        {"LBNO", true},     {"LBCLOSE", false}, {"LBABORT", true}, {"LBRETRY", true},
        {"LBIGNORE", true}, {"LBALL", true}};
    for (const auto& [name, disabledSlopes] : kinds) {
        const TBitmap picture = LoadLbBitmap(name);
        const TBitmap sharp = picture.ForRatio(2);
        const int height = std::string(name) == "LBALL" ? 19 : 18;
        EXPECT_EQ(TSize(picture.Width(), picture.Height()), TSize(36, height)) << name;
        EXPECT_EQ(TSize(sharp.PixelWidth(), sharp.PixelHeight()), TSize(72, 2 * height)) << name;
        // Both cells, the normal and the disabled picture, have their slopes and curves in
        // device pixels.
        EXPECT_GT(FineBlocks(sharp, {0, 0, 18, height}), 10) << name;
        if (disabledSlopes) {
            EXPECT_GT(FineBlocks(sharp, {18, 0, 36, height}), 10) << name;
        }
        EXPECT_EQ(sharp.Pixel(0, sharp.PixelHeight() - 1), kLbTransparent) << name;
    }
    EXPECT_TRUE(LoadLbBitmap("LBNOTHING").Empty());
}

TEST(LbGlyphs, ThePopupArrowIsFiveThreeAndOnePixelsAtOneHundredPercentAndFinerAtTwoHundred) {
    const TBitmap arrow = LoadLbBitmap("LBARROW");
    ASSERT_EQ(arrow.Width(), 5);
    ASSERT_EQ(arrow.Height(), 3);
    std::string rows;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) rows += arrow.Pixel(x, y) == clBlack ? '#' : '.';
        rows += '|';
    }
    EXPECT_EQ(rows, "#####|.###.|..#..|");
    // At 200 % its rows narrow by one device pixel at each side.
    const TBitmap sharp = arrow.ForRatio(2);
    std::vector<int> widths(sharp.PixelHeight());
    for (int y = 0; y < sharp.PixelHeight(); ++y)
        for (int x = 0; x < sharp.PixelWidth(); ++x) widths[y] += sharp.Pixel(x, y) == clBlack;
    EXPECT_EQ(widths, (std::vector<int>{10, 8, 6, 4, 2, 0}));
}

// A button with a glyph at its left and a pop-up arrow, painted at `ratio`: with its drawn
// glyph, and with the same glyph as fixed pixels.
template <class Button>
std::pair<TBitmap, TBitmap> Painted(FormWith& f, TBitmap glyph, double ratio) {
    auto* b = f.Add<Button>(10, 10);
    b->SetCaption("OK");
    b->SetAlignment(taLeftJustify);
    b->SetPopupMenu(new TPopupMenu(&f.form));
    b->SetGlyph(glyph);
    const TBitmap drawn = Snapshot(*b, ratio);
    b->SetGlyph(FixedCopy(glyph));
    const TBitmap fixed = Snapshot(*b, ratio);
    delete b;
    return {drawn, fixed};
}

TEST(LbGlyphs, ButtonsDrawTheirGlyphsAtTheCanvassRatio) {
    FormWith f;
    const TBitmap glyph = LoadLbBitmap("LBRETRY");
    for (int kind = 0; kind < 2; ++kind) {
        SCOPED_TRACE(kind == 0 ? "push button" : "speed button");
        auto painted = [&](double ratio) {
            return kind == 0 ? Painted<TLbButton>(f, glyph, ratio)
                             : Painted<TLbSpeedButton>(f, glyph, ratio);
        };
        // At 100 % the drawn glyph is what its pixels always were.
        const auto [drawn1, fixed1] = painted(1);
        EXPECT_TRUE(SamePixels(drawn1, fixed1));
        // At 200 % the glyph cell (left, centred on the height) and the arrow (11 pixels from
        // the right) are drawn finer; the fixed glyph is only enlarged.
        const auto [drawn2, fixed2] = painted(2);
        const int h = drawn2.Height(), w = drawn2.Width();
        const TRect cell = Bounds(4, (h - 18) / 2, 18, 18);
        const TRect arrow = Bounds(w - 11, h / 2 - 1, 5, 3);
        EXPECT_GT(FineBlocks(drawn2, cell), 20);
        EXPECT_EQ(FineBlocks(fixed2, cell), 0);
        EXPECT_GT(FineBlocks(drawn2, arrow), 2);
    }
}

TEST(LbGlyphs, AnActionsImageFromADrawnPictureStaysFine) {
    FormWith f;
    TImageList images(18, 18);
    images.AddMasked(LoadLbBitmap("LBOK"), clDefault);
    auto* list = new TActionList(&f.form);
    list->SetImages(&images);
    auto* ok = new TAction(&f.form);
    ok->SetActionList(list);
    ok->SetImageIndex(0);
    auto* s = f.Add<TLbSpeedButton>(0, 0);
    s->SetAction(ok);
    ASSERT_TRUE(s->Glyph().Redrawable());
    EXPECT_EQ(s->NumGlyphs(), 1);
    const TBitmap sharp = s->Glyph().ForRatio(2);
    EXPECT_EQ(sharp.Width(), 18);
    EXPECT_GT(FineBlocks(sharp), 10);
    EXPECT_EQ(sharp.Pixel(0, 0), kLbTransparent);
}

}  // namespace
}  // namespace rv
