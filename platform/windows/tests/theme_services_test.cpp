// The theme services: the element table, the process switch, elements drawn by the style, the
// themed border, and following a change of the style.

#include <QApplication>
#include <QStyleFactory>

#include "platform/graphics/tests/pixels.h"
#include "platform/windows/tests/host_fixture.h"
#include "platform/windows/theme_services.h"

namespace rv {
namespace {

using test::CountColor;
using test::RecordingWindow;

TEST(ThemeServices, MapsElementKindsToPartsAndStates) {
    struct Row {
        TThemedElementDetails got, expected;
    };
    const Row rows[] = {
        {TThemeServices::GetElementDetails(teEditTextNormal), {teEdit, EP_EDITTEXT, 1}},
        {TThemeServices::GetElementDetails(teEditTextAssist), {teEdit, EP_EDITTEXT, 7}},
        {TThemeServices::GetElementDetails(teEditCaret), {teEdit, EP_CARET, 1}},
        {TThemeServices::GetElementDetails(teEditRoot), {teEdit, 0, 2}},
        {TThemeServices::GetElementDetails(thHeaderItemPressed), {teHeader, HP_HEADERITEM, 3}},
        {TThemeServices::GetElementDetails(thHeaderItemLeftHot), {teHeader, HP_HEADERITEMLEFT, 2}},
        {TThemeServices::GetElementDetails(thHeaderItemRightNormal),
         {teHeader, HP_HEADERITEMRIGHT, 1}},
        {TThemeServices::GetElementDetails(thHeaderSortArrowSortedDown),
         {teHeader, HP_HEADERSORTARROW, 2}},
        {TThemeServices::GetElementDetails(thHeaderDontCare), {teHeader, 0, 1}},
        {TThemeServices::GetElementDetails(ttItemSelectedNotFocus), {teTreeview, TVP_TREEITEM, 5}},
        {TThemeServices::GetElementDetails(ttGlyphClosed), {teTreeview, TVP_GLYPH, 1}},
        {TThemeServices::GetElementDetails(ttGlyphOpened), {teTreeview, TVP_GLYPH, 2}},
        {TThemeServices::GetElementDetails(ttBranch), {teTreeview, TVP_BRANCH, 1}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.got, r.expected) << int(r.expected.Element) << " " << r.expected.Part;
}

TEST(ThemeServices, SwitchTellsEveryWindowWithAFace) {
    RecordingWindow w;
    TThemeServices& themes = ThemeServices();
    EXPECT_TRUE(themes.ThemesAvailable());
    EXPECT_TRUE(themes.ThemesEnabled()) << "on by default";
    int changes = 0;
    themes.OnThemeChange = [&] { ++changes; };
    w.log.clear();
    SetVisualStylesEnabled(false);
    EXPECT_FALSE(themes.ThemesEnabled());
    EXPECT_FALSE(themes.UseThemes());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(w.Only({WM_THEMECHANGED}).size(), 1u);
    SetVisualStylesEnabled(false);  // no change, no news
    EXPECT_EQ(changes, 1);
    SetVisualStylesEnabled(true);
    EXPECT_TRUE(themes.ThemesEnabled());
    EXPECT_EQ(changes, 2);

    // A new style of the application is taken once, after the events that announce it.
    QApplication::setStyle(QStyleFactory::create("Windows"));
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(w.Only({WM_THEMECHANGED}).size(), 3u);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::processEvents();
    themes.OnThemeChange = nullptr;
}

// The pixels that differ from white in a fresh bitmap drawn with one element.
int Ink(const TThemedElementDetails& details, TRect r = {0, 0, 17, 16}, double ratio = 1) {
    TBitmap b(20, 20, pf24bit, ratio);
    if (!ThemeServices().DrawElement(b.Canvas(), details, r)) return -1;
    return b.PixelWidth() * b.PixelHeight() - CountColor(b, clWhite);
}

TEST(ThemeServices, StyleDrawsTheElementsControlsUse) {
    // Check boxes: unchecked, checked and mixed look different; so do hot and disabled ones.
    const int unchecked = Ink({teButton, BP_CHECKBOX, 1});
    EXPECT_GT(unchecked, 0);
    EXPECT_NE(Ink({teButton, BP_CHECKBOX, 5}), unchecked);
    EXPECT_NE(Ink({teButton, BP_CHECKBOX, 9}), Ink({teButton, BP_CHECKBOX, 5}));
    EXPECT_GT(Ink({teButton, BP_RADIOBUTTON, 5}), Ink({teButton, BP_RADIOBUTTON, 1}));
    EXPECT_GT(Ink({teButton, BP_PUSHBUTTON, 1}), 0);
    EXPECT_GT(Ink(TThemeServices::GetElementDetails(thHeaderItemNormal), {0, 0, 20, 17}), 0);
    // The closed glyph points another way than the open one.
    TBitmap closed(9, 9), opened(9, 9);
    ThemeServices().DrawElement(closed.Canvas(), TThemeServices::GetElementDetails(ttGlyphClosed),
                                {0, 0, 9, 9});
    ThemeServices().DrawElement(opened.Canvas(), TThemeServices::GetElementDetails(ttGlyphOpened),
                                {0, 0, 9, 9});
    int differing = 0;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) differing += closed.Pixel(x, y) != opened.Pixel(x, y);
    EXPECT_GT(differing, 4);
    // Drawn at the device's resolution: four times the pixels at 200 %.
    const int glyph = Ink(TThemeServices::GetElementDetails(ttGlyphClosed), {0, 0, 9, 9});
    EXPECT_GT(Ink(TThemeServices::GetElementDetails(ttGlyphClosed), {0, 0, 9, 9}, 2), 2 * glyph);

    // Parts the style has no picture for, and states out of range, draw nothing.
    EXPECT_EQ(Ink({teClock, 1, 1}), -1);
    EXPECT_EQ(Ink({teButton, BP_CHECKBOX, 13}), -1);
    EXPECT_EQ(Ink(TThemeServices::GetElementDetails(ttBranch)), -1);

    // The clip keeps the element inside.
    TBitmap b(20, 20);
    const TRect clip{0, 0, 5, 20};
    ThemeServices().DrawElement(b.Canvas(), {teButton, BP_PUSHBUTTON, 1}, {0, 0, 20, 20}, &clip);
    EXPECT_EQ(CountColor(b, {5, 0, 20, 20}, clWhite), 15 * 20);
}

// A pattern fill starts its pattern where the canvas says; an element the style draws later on
// the same canvas is where it would be without it, gradients and all.
TEST(ThemeServices, ElementsDoNotInheritAPatternsOrigin) {
    for (double ratio : {1.0, 2.0}) {
        TBitmap plain(20, 20, pf24bit, ratio), after(20, 20, pf24bit, ratio);
        ThemeServices().DrawElement(plain.Canvas(), {teButton, BP_CHECKBOX, 1}, {2, 2, 19, 18});
        TCanvas& c = after.Canvas();
        c.SetBrushOrigin(3, 6);
        c.Brush.SetPattern({0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}, clGray, clNone);
        c.FillRect({0, 0, 1, 20});
        c.Brush = TBrush{};
        c.Brush.Color = clWhite;
        c.FillRect({0, 0, 1, 20});
        ThemeServices().DrawElement(c, {teButton, BP_CHECKBOX, 1}, {2, 2, 19, 18});
        int differing = 0;
        for (int y = 0; y < plain.PixelHeight(); ++y)
            for (int x = 0; x < plain.PixelWidth(); ++x)
                differing += plain.Pixel(x, y) != after.Pixel(x, y);
        EXPECT_EQ(differing, 0) << ratio;
    }
}

TEST(ThemeServices, BorderIsTheTwoPixelBandOfAClientEdge) {
    TBitmap b(40, 30);
    ThemeServices().PaintBorder(b.Canvas(), {0, 0, 40, 30}, false);
    EXPECT_EQ(CountColor(b, clWhite), 40 * 30) << "no client edge, no border";
    ThemeServices().PaintBorder(b.Canvas(), {0, 0, 40, 30}, true, 10);
    EXPECT_EQ(CountColor(b, {2, 2, 28, 18}, clWhite), 26 * 16) << "the inside stays";
    EXPECT_EQ(CountColor(b, {28, 18, 38, 28}, ColorToRGB(clBtnFace)), 100) << "the corner";
    EXPECT_LT(CountColor(b, {0, 0, 40, 2}, clWhite), 40) << "the band";
}

}  // namespace
}  // namespace rv
