// What painting builds on: alpha blending in its four modes, shortening a text on whole
// characters, the growing text buffers, the expand buttons and the check image table.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/graphics/tests/pixels.h"
#include "platform/windows/tests/gui_app.h"
#include "tree/alpha_blend.h"
#include "tree/check_images.h"
#include "tree/expand_buttons.h"
#include "tree/shorten_string.h"
#include "tree/text_buffers.h"

namespace rv::test {
namespace {

// A 32-bit bitmap of w × 1 pixels, each (B, G, R, A).
TBitmap Pixels32(std::vector<std::array<int, 4>> pixels) {
    TBitmap b(int(pixels.size()), 1, pf32bit);
    std::uint8_t* row = b.ScanLine(0);
    for (const auto& p : pixels)
        for (int c : p) *row++ = std::uint8_t(c);
    return b;
}

std::array<int, 4> At(const TBitmap& b, int x) {
    const std::uint8_t* p = b.ScanLine(0) + 4 * x;
    return {p[0], p[1], p[2], p[3]};
}

TEST(AlphaBlend, FourModesOnKnownNumbers) {
    struct Case {
        TBlendMode mode;
        int alpha, bias, sourceAlpha;
        std::array<int, 4> expected;  // B G R A of the destination afterwards
    };
    // Source (200, 100, 0), destination (0, 100, 200) with alpha 77, which stays.
    const Case cases[] = {
        {bmConstantAlpha, 128, 0, 0, {100, 100, 100, 77}},
        {bmConstantAlpha, 128, 10, 0, {110, 110, 110, 77}},
        {bmConstantAlpha, 128, -120, 0, {0, 0, 0, 77}},       // saturates at 0
        {bmConstantAlpha, 128, 200, 0, {255, 255, 255, 77}},  // and at 255
        {bmConstantAlpha, 0, 0, 0, {0, 100, 200, 77}},
        {bmPerPixelAlpha, 0, 0, 128, {100, 100, 100, 77}},
        {bmPerPixelAlpha, 0, 0, 255, {199, 100, 0, 77}},  // the product is shifted, not divided
        {bmMasterAlpha, 128, 0, 128, {50, 100, 150, 77}},
        {bmConstantAlphaAndColor, 128, int(RGB(255, 0, 0)), 0, {0, 50, 227, 77}},
    };
    for (const Case& c : cases) {
        TBitmap source = Pixels32({{200, 100, 0, c.sourceAlpha}});
        TBitmap dest = Pixels32({{0, 100, 200, 77}});
        AlphaBlend(&source, &dest, {0, 0, 1, 1}, {0, 0}, c.mode, c.alpha, c.bias);
        EXPECT_EQ(At(dest, 0), c.expected) << int(c.mode) << " alpha " << c.alpha;
    }
}

TEST(AlphaBlend, PlacesCutsAndRefuses) {
    TBitmap source = Pixels32({{10, 10, 10, 255}, {20, 20, 20, 255}, {30, 30, 30, 255}});
    TBitmap dest = Pixels32({{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}});
    // Source pixels 1 and 2 to destination 2 and beyond: only one fits (at the largest alpha,
    // 255/256 of the way).
    AlphaBlend(&source, &dest, {1, 0, 3, 1}, {2, 0}, bmConstantAlpha, 255, 0);
    EXPECT_EQ(At(dest, 0)[0], 0);
    EXPECT_EQ(At(dest, 1)[0], 0);
    EXPECT_EQ(At(dest, 2)[0], 19);
    AlphaBlend(&source, &dest, {0, 0, 0, 1}, {0, 0}, bmConstantAlpha, 255, 0);  // empty: nothing
    EXPECT_EQ(At(dest, 0)[0], 0);
    AlphaBlend(nullptr, &dest, {0, 0, 1, 1}, {0, 0}, bmConstantAlphaAndColor, 255, 0);  // no source

    TBitmap plain(2, 1, pf24bit);
    try {
        AlphaBlend(&plain, &dest, {0, 0, 1, 1}, {0, 0}, bmConstantAlpha, 128, 0);
        ADD_FAILURE() << "24-bit source accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Alpha blending error: bitmap must use 32 bpp.");
    }
    try {
        AlphaBlend(nullptr, &dest, {0, 0, 1, 1}, {0, 0}, bmPerPixelAlpha, 128, 0);
        ADD_FAILURE() << "no source accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Alpha blending DC error: no bitmap available.");
    }
}

TEST(ShortenString, CutsOnWholeCharactersByMeasuredWidth) {
    App();
    TBitmap b(1, 1);
    TCanvas& c = b.Canvas();
    const int dots = c.TextWidth("...");
    const std::string text = "Wonderful Tonight";
    // Room for exactly "Wonder": the cut keeps it, one pixel less loses the "r".
    const int wonder = c.TextWidth("Wonder") + dots;
    EXPECT_EQ(ShortenString(c, text, wonder, false), "Wonder...");
    EXPECT_EQ(ShortenString(c, text, wonder - 1, false), "Wonde...");
    const int tonight = c.TextWidth("Tonight") + dots;
    EXPECT_EQ(ShortenString(c, text, tonight, true), "...Tonight");
    EXPECT_EQ(ShortenString(c, text, tonight - 1, true), "...onight");
    // A passed ellipsis width is used as it is.
    EXPECT_EQ(ShortenString(c, text, c.TextWidth("Wo") + 100, false, 100), "Wo...");
    // Nothing fits: empty text, no room, or no more room than the ellipsis.
    EXPECT_EQ(ShortenString(c, "", 100, false), "");
    EXPECT_EQ(ShortenString(c, text, 0, false), "");
    EXPECT_EQ(ShortenString(c, text, dots, false), "");
    EXPECT_EQ(ShortenString(c, text, dots + 1, false), "...");

    // A character outside the basic plane at the cut stays whole or goes whole.
    const std::string note = "\xF0\x9F\x8E\xB5";  // U+1F3B5, four bytes (a surrogate pair)
    const std::string song = "ab" + note + "cd";
    const int withNote = c.TextWidth("ab" + note) + dots;
    EXPECT_EQ(ShortenString(c, song, withNote, false), "ab" + note + "...");
    EXPECT_EQ(ShortenString(c, song, withNote - 1, false), "ab...");
    EXPECT_EQ(ShortenString(c, song, c.TextWidth(note + "cd") + dots, true), "..." + note + "cd");
    EXPECT_EQ(ShortenString(c, song, c.TextWidth(note + "cd") + dots - 1, true), "...cd");
}

TEST(TextBuffers, GrowGeometricallyAndKeepEveryPiece) {
    TBufferedString buffer;
    std::string expected;
    std::size_t capacity = 0, growths = 0;
    for (int i = 0; i < 100000; ++i) {
        const std::string piece = "row " + std::to_string(i);
        buffer.Add(piece);
        buffer.AddNewLine();
        expected += piece + "\r\n";
        if (buffer.Capacity() != capacity) {
            EXPECT_GE(buffer.Capacity(), 2 * capacity);
            capacity = buffer.Capacity();
            ++growths;
        }
    }
    EXPECT_EQ(buffer.AsString(), expected);
    EXPECT_LE(growths, 10u) << "about 1.1 MB in pieces; 4096-byte steps would need 270";

    TWideBufferedString wide;
    wide.Add(u"Dvo\u0159\u00E1k");
    wide.AddNewLine();
    wide.Add(u"");
    EXPECT_EQ(wide.AsString(), u"Dvo\u0159\u00E1k\r\n");
}

TEST(ExpandButtons, PixelForPixel) {
    App();
    const TColor line = RGB(0x80, 0x80, 0x80), tree = RGB(0xFF, 0xFF, 0xF0), sign = clNavy;
    const TExpandButtonLook look{bsRectangle, fmTreeColor, tree, line, sign};
    // '#' frame, '+' sign, '.' fill.
    const char* plus[] = {"#########", "#.......#", "#...+...#", "#...+...#", "#.+++++.#",
                          "#...+...#", "#...+...#", "#.......#", "#########"};
    const char* minus[] = {"#########", "#.......#", "#.......#", "#.......#", "#.+++++.#",
                           "#.......#", "#.......#", "#.......#", "#########"};
    for (bool isPlus : {true, false}) {
        TBitmap b;
        MakeExpandButton(b, isPlus, look);
        ASSERT_EQ(b.Width(), 9);
        EXPECT_TRUE(b.Transparent);
        const char** map = isPlus ? plus : minus;
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) {
                const char m = map[y][x];
                EXPECT_EQ(b.Pixel(x, y), m == '#'   ? line
                                         : m == '+' ? sign
                                                    : tree)
                    << (isPlus ? "plus " : "minus ") << x << "," << y;
            }
    }
    // Transparent fill leaves magenta inside; the triangles are black on magenta.
    TBitmap b;
    MakeExpandButton(b, true, {bsRectangle, fmTransparent, tree, line, sign});
    EXPECT_EQ(b.Pixel(1, 1), kButtonTransparentColor);
    MakeExpandButton(b, true, {bsTriangle, fmTreeColor, tree, line, sign});
    EXPECT_EQ(b.Pixel(3, 4), clBlack);
    EXPECT_EQ(b.Pixel(7, 4), kButtonTransparentColor);
    MakeExpandButton(b, false, {bsTriangle, fmTreeColor, tree, line, sign});
    EXPECT_EQ(b.Pixel(4, 3), clBlack);
    EXPECT_EQ(b.Pixel(4, 7), kButtonTransparentColor);
    // At 200 % every logical pixel is a block of four.
    MakeExpandButton(b, true, look, 2);
    EXPECT_EQ(b.PixelWidth(), 18);
    EXPECT_EQ(b.Pixel(9, 5), sign);
    EXPECT_EQ(b.Pixel(8, 8), sign);
}

TEST(CheckImages, IndexTableAndTheSetsDrawIt) {
    struct Row {
        TCheckType type;
        TCheckState state;
        bool enabled, hot;
        int index;
    };
    const Row rows[] = {
        {ctNone, chkChecked, true, false, -1},
        {ctRadioButton, chkUnchecked, true, false, 1},
        {ctRadioButton, chkChecked, true, true, 6},
        {ctRadioButton, chkCheckedPressed, true, true, 7},
        {ctRadioButton, chkUnchecked, false, true, 4},
        {ctCheckBox, chkUnchecked, true, false, 9},
        {ctCheckBox, chkChecked, true, false, 13},
        {ctCheckBox, chkChecked, true, true, 14},
        {ctCheckBox, chkUncheckedPressed, true, false, 11},
        {ctCheckBox, chkChecked, false, false, 16},
        {ctTriStateCheckBox, chkMixed, true, false, 17},
        {ctTriStateCheckBox, chkMixedPressed, false, false, 20},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CheckImageIndex(r.type, r.state, r.enabled, r.hot), r.index)
            << int(r.type) << "/" << int(r.state);
    // The theme's states are the same numbers counted within each part.
    EXPECT_EQ(CheckImageThemeDetails(6), (TThemedElementDetails{teButton, BP_RADIOBUTTON, 6}));
    EXPECT_EQ(CheckImageThemeDetails(9), (TThemedElementDetails{teButton, BP_CHECKBOX, 1}));
    EXPECT_EQ(CheckImageThemeDetails(20), (TThemedElementDetails{teButton, BP_CHECKBOX, 12}));
    EXPECT_EQ(CheckImageThemeDetails(22), (TThemedElementDetails{teButton, BP_PUSHBUTTON, 2}));

    // Every set draws every image; checked boxes carry a mark the unchecked ones lack.
    App();
    for (TCheckImageKind kind : {ckLightCheck, ckDarkCheck, ckLightTick, ckDarkTick, ckFlat, ckXP,
                                 ckSystem, ckSystemFlat}) {
        TImageList list;
        LoadCheckImages(list, kind);
        EXPECT_EQ(list.Count(), kCheckImageCount);
        // The list draws its radio button round at the canvas's own resolution.
        TBitmap sharp(16, 16, pf24bit, 2);
        list.Draw(sharp.Canvas(), 0, 0, kFirstRadioImage);
        EXPECT_GT(FineBlocks(sharp), 4) << int(kind);
        auto ink = [&](int index) {
            TBitmap b(16, 16);
            DrawCheckImage(b.Canvas(), kind, index, 0, 0);
            return CountColor(b, {5, 5, 11, 11}, b.Pixel(7, 3));
        };
        EXPECT_GT(ink(9), ink(13)) << int(kind) << ": the check covers part of the face";
        EXPECT_GT(ink(9), ink(17)) << int(kind) << ": so does the mixed mark";
        EXPECT_GT(ink(1), ink(5)) << int(kind) << ": and the radio button's dot";
    }
}

}  // namespace
}  // namespace rv::test
