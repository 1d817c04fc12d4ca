// The parts drawn into a cell: tree lines, expand buttons, check images, node images and the
// drop mark, and the look they follow (themes, button style, line style).

#include <cstdint>
#include <cstdlib>

#include "platform/text/round.h"
#include "platform/windows/theme_services.h"
#include "tree/base_tree.h"
#include "tree/check_images.h"
#include "tree/expand_buttons.h"

namespace rv {

namespace {

// Perceived lightness, 0 to 255.
int Lightness(int r, int g, int b) {
    return (299 * r + 587 * g + 114 * b) / 1000;
}

// The style draws its expand glyphs for its own window colour. On a tree coloured far from that
// (a dark tree under a light style) they would all but vanish; there they take the font's
// colour, which the tree's owner chose to be read on its background.
void KeepGlyphVisible(TBitmap& glyph, TColor background, TColor ink) {
    long weight = 0, sum = 0;
    for (int y = 0; y < glyph.PixelHeight(); ++y) {
        const std::uint8_t* p = glyph.ScanLine(y);
        for (int x = 0; x < glyph.PixelWidth(); ++x, p += 4) {
            weight += p[3];
            sum += long(p[3]) * Lightness(p[2], p[1], p[0]);
        }
    }
    const TColor back = ColorToRGB(background);
    const int backLightness = Lightness(GetRValue(back), GetGValue(back), GetBValue(back));
    constexpr int kReadableDifference = 96;
    if (weight == 0 || std::abs(int(sum / weight) - backLightness) >= kReadableDifference) return;
    const TColor rgb = ColorToRGB(ink);
    for (int y = 0; y < glyph.PixelHeight(); ++y) {
        std::uint8_t* p = glyph.ScanLine(y);
        for (int x = 0; x < glyph.PixelWidth(); ++x, p += 4) {
            p[0] = GetBValue(rgb);
            p[1] = GetGValue(rgb);
            p[2] = GetRValue(rgb);
        }
    }
}

// The bands of lmBands for a row, from its line image.
TLineImage BandsOf(const TLineImage& lines, bool expanded) {
    TLineImage bands(lines.size(), ltLeft);
    if (expanded) return bands;
    for (std::size_t i = lines.size(); i-- > 0;) {
        const TVTLineType t = lines[i];
        if (t == ltNone || t == ltTopDown) {
            const bool right = i + 1 < lines.size();
            if (right && lines[i + 1] != ltNone && lines[i + 1] != ltTopRight)
                bands[i] = ltLeft;
            else
                bands[i] = right ? bands[i + 1] : ltNone;
        } else {
            bands[i] = ltLeftBottom;
        }
    }
    return bands;
}

}  // namespace

// ---- Themes and the looks of buttons and lines -------------------------------------------

bool TBaseVirtualTree::ThemeServicesEnabled() const {
    return ThemeServices().ThemesEnabled();
}

void TBaseVirtualTree::SyncThemeState() {
    const bool themed =
        TreeOptions().PaintOptions().Contains(toThemeAware) && ThemeServicesEnabled();
    if (themed == states_.Contains(tsUseThemes)) return;
    if (themed)
        DoStateChange({tsUseThemes});
    else
        DoStateChange({}, {tsUseThemes});
    PrepareBitmaps();
}

void TBaseVirtualTree::PrepareBitmaps() {
    paint_.buttonRatio = 0;
}

int TBaseVirtualTree::ButtonHeight() const {
    return kExpandButtonSize;
}

int TBaseVirtualTree::ButtonOffsetInLevel() const {
    return int(Round((double(indent_) - kExpandButtonSize) / 2));
}

int TBaseVirtualTree::LineOffsetInLevel() const {
    return ButtonOffsetInLevel() + kExpandButtonSize / 2;
}

void TBaseVirtualTree::PrepareButtons(double pixelRatio) {
    const bool themed = states_.Contains(tsUseThemes);
    TExpandButtonLook look{buttonStyle_, buttonFillMode_, Color(),
                           colors_.Get(TVTColors::TreeLineColor), Font().Color};
    if (paint_.buttonRatio == pixelRatio && paint_.themedButtons == themed &&
        paint_.buttonLook == look)
        return;
    paint_.buttonRatio = pixelRatio;
    paint_.themedButtons = themed;
    paint_.buttonLook = look;
    if (themed) {
        // The style's glyphs on a see-through square.
        for (bool plus : {true, false}) {
            TBitmap& b = plus ? paint_.plusButton : paint_.minusButton;
            b = TBitmap(kExpandButtonSize, kExpandButtonSize, pf32bit, pixelRatio);
            for (int y = 0; y < b.PixelHeight(); ++y)
                std::fill_n(b.ScanLine(y), 4 * b.PixelWidth(), std::uint8_t(0));
            ThemeServices().DrawElement(
                b.Canvas(), TThemeServices::GetElementDetails(plus ? ttGlyphClosed : ttGlyphOpened),
                {0, 0, kExpandButtonSize, kExpandButtonSize});
            KeepGlyphVisible(b, Color(), Font().Color);
        }
    } else {
        MakeExpandButton(paint_.plusButton, true, look, pixelRatio);
        MakeExpandButton(paint_.minusButton, false, look, pixelRatio);
    }
    switch (lineStyle_) {
        case lsDotted:
            paint_.linePattern = kDottedPattern;
            break;
        case lsSolid:
            paint_.linePattern.fill(0xFF);
            break;
        case lsCustomStyle:
            paint_.linePattern = kDottedPattern;
            DoGetLineStyle(paint_.linePattern);
            break;
    }
}

// ---- Tree lines -----------------------------------------------------------------------------

int TBaseVirtualTree::DetermineLineImageAndSelectLevel(PVirtualNode node, TLineImage& lineImage) {
    const bool showRoot = TreeOptions().PaintOptions().Contains(toShowRoot);
    const int levels = int(GetNodeLevel(node)) + (showRoot ? 1 : 0);
    lineImage.assign(std::size_t(std::max(levels, 0)), ltNone);
    int selectLevel = 0;
    for (PVirtualNode a = node->Parent; a != root_; a = a->Parent)
        if (a->Has(nsSelected)) ++selectLevel;
    if (!TreeOptions().PaintOptions().Contains(toShowTreeLines) || levels == 0) return selectLevel;
    if (node->Parent != root_) {
        lineImage[std::size_t(levels - 1)] =
            HasVisibleNextSibling(node) ? ltTopDownRight : ltTopRight;
        // Each ancestor's box continues its line down when more of its siblings follow; the
        // top-level ancestor's box exists with toShowRoot only.
        for (PVirtualNode a = node->Parent; a != root_; a = a->Parent) {
            const int index = int(GetNodeLevel(a)) - 1 + (showRoot ? 1 : 0);
            if (index >= 0)
                lineImage[std::size_t(index)] = HasVisibleNextSibling(a) ? ltTopDown : ltNone;
        }
    } else {
        const bool first = IsFirstVisibleChild(root_, node);
        const bool last = IsLastVisibleChild(root_, node);
        lineImage[0] =
            first ? (last ? ltRight : ltBottomRight) : (last ? ltTopRight : ltTopDownRight);
    }
    return selectLevel;
}

void TBaseVirtualTree::DrawLineImage(const TVTPaintInfo& paintInfo, int x, int y, int h, int vAlign,
                                     TVTLineType lineType, bool reverse) {
    TCanvas& canvas = *paintInfo.Canvas;
    const int indent = int(indent_);
    const int lineX = reverse ? x + indent - 1 - LineOffsetInLevel() : x + LineOffsetInLevel();
    const int edgeX = reverse ? x + indent - 1 : x;
    const int bottom = y + h - 1;
    const TColor color =
        colors_.Get(lineMode_ == lmBands ? TVTColors::GridLineColor : TVTColors::TreeLineColor);
    // Set pattern pixels in the line colour; the gaps keep what is below.
    auto fill = [&](const TRect& r) {
        canvas.Brush.SetPattern(paint_.linePattern, color, clNone);
        canvas.FillRect(r);
        canvas.Brush = TBrush{};
    };
    auto vertical = [&](int at, int from, int to) {
        if (to >= from) fill({at, from, at + 1, to + 1});
    };
    auto toTheSide = [&](int at) {
        if (reverse)
            fill({x, at, lineX + 1, at + 1});
        else
            fill({lineX, at, x + indent, at + 1});
    };
    switch (lineType) {
        case ltNone:
            break;
        case ltTopDown:
            vertical(lineX, y, bottom);
            break;
        case ltTopDownRight:
            vertical(lineX, y, bottom);
            toTheSide(y + vAlign);
            break;
        case ltRight:
            toTheSide(y + vAlign);
            break;
        case ltTopRight:
            vertical(lineX, y, y + vAlign);
            toTheSide(y + vAlign);
            break;
        case ltBottomRight:
            vertical(lineX, y + vAlign, bottom);
            toTheSide(y + vAlign);
            break;
        case ltLeft:
            vertical(edgeX, y, bottom);
            break;
        case ltLeftBottom:
            vertical(edgeX, y, bottom);
            fill({x, bottom, x + indent, bottom + 1});
            break;
    }
}

void TBaseVirtualTree::PaintTreeLines(const TVTPaintInfo& paintInfo, int vAlign, int indentSize,
                                      const TLineImage& lineImage) {
    TLineImage lines = lineImage;
    if (lineMode_ == lmBands) {
        if (!(paintInfo.PaintOptions & poGridLines)) return;
        lines = BandsOf(lineImage, paintInfo.Node->Has(nsExpanded) && paintInfo.Node->FirstChild);
    }
    const bool reverse = paintInfo.BidiMode != bdLeftToRight;
    const TRect& cell = paintInfo.CellRect;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int x = reverse ? cell.Right - margin_ - int(i + 1) * indentSize
                              : cell.Left + margin_ + int(i) * indentSize;
        DrawLineImage(paintInfo, x, cell.Top, cell.Height(), vAlign, lines[i], reverse);
    }
}

// ---- Buttons, check images, images, the drop mark -------------------------------------------

void TBaseVirtualTree::PaintNodeButton(TCanvas& canvas, PVirtualNode node, int x, int y) {
    const TBitmap& button = node->Has(nsExpanded) ? paint_.minusButton : paint_.plusButton;
    if (paint_.themedButtons)
        canvas.DrawAlpha(x, y, button);
    else
        canvas.Draw(x, y, button);
}

int TBaseVirtualTree::GetCheckImage(PVirtualNode node) {
    const bool enabled = !node->Has(nsDisabled) && Enabled();
    return CheckImageIndex(node->CheckType, node->CheckState, enabled, node == hotNode_);
}

void TBaseVirtualTree::PaintCheckImage(const TVTPaintInfo& paintInfo) {
    TCanvas& canvas = *paintInfo.Canvas;
    const TVTImageInfo& info = paintInfo.ImageInfo[iiCheck];
    const int index = info.Index;
    if (states_.Contains(tsUseThemes) && checkImageKind_ != ckCustom) {
        ThemeServices().DrawElement(
            canvas, CheckImageThemeDetails(index),
            Bounds(info.XPos, info.YPos, kCheckImageSize + 1, kCheckImageSize));
        return;
    }
    // A selected node's check image stands on the selection colour.
    TColor background = clNone;
    if (paintInfo.Node->Has(nsSelected) && (paintInfo.PaintOptions & poDrawSelection))
        background = colors_.Get(SelectionLooksFocused() ? TVTColors::FocusedSelectionColor
                                                         : TVTColors::UnfocusedSelectionColor);
    if (checkImageKind_ == ckCustom) {
        if (!customCheckImages_) return;
        customCheckImages_->DrawEx(canvas, index, info.XPos, info.YPos,
                                   background == clNone ? CLR_NONE : background, CLR_NONE,
                                   background == clNone ? ILD_TRANSPARENT : ILD_NORMAL);
        return;
    }
    if (background != clNone) {
        FillSolid(canvas, Bounds(info.XPos, info.YPos, kCheckImageSize, kCheckImageSize),
                  background);
    }
    DrawCheckImage(canvas, checkImageKind_, index, info.XPos, info.YPos);
}

void TBaseVirtualTree::PaintImage(TVTPaintInfo& paintInfo, TVTImageInfoIndex imageInfoIndex,
                                  TImageList* images, bool doOverlay) {
    if (!images) return;
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    const TVTImageInfo& info = paintInfo.ImageInfo[imageInfoIndex];
    const bool cut = node->Has(nsCutOrCopy) && states_.Contains(tsCutPending);
    const TVTPaintOptions paintOptions = TreeOptions().PaintOptions();
    const bool focusedLook = Focused() || paintOptions.Contains(toGhostedIfUnfocused);
    int overlay = -1;
    if (doOverlay) {
        bool ghosted = false;
        overlay = DoGetImageIndex(node, ikOverlay, paintInfo.Column, ghosted);
    }
    if (node->Has(nsDisabled) || !Enabled()) {
        const TColor textColor = canvas.Font.Color;
        images->DrawOverlay(canvas, info.XPos, info.YPos, info.Index, overlay, false);
        canvas.Font.Color = textColor;
        return;
    }
    const bool selected = node->Has(nsSelected);
    TColor blendWith = Color() == clNone      ? CLR_NONE
                       : Color() == clDefault ? CLR_DEFAULT
                                              : ColorToRGB(Color());
    if (selected && !info.Ghosted) blendWith = CLR_DEFAULT;
    unsigned style = ILD_TRANSPARENT;
    if (overlay != -1) style |= IndexToOverlayMask(overlay + 1) & ILD_OVERLAYMASK;
    const bool plainSelection = selected &&
                                !TreeOptions().SelectionOptions().Contains(toFullRowSelect) &&
                                !TreeOptions().MiscOptions().Contains(toGridExtensions);
    if (paintOptions.Contains(toUseBlendedImages) && focusedLook &&
        (info.Ghosted || plainSelection || cut))
        style |= ILD_BLEND50;
    if (images->ImageType == itMask) style |= ILD_MASK;
    images->DrawEx(canvas, info.Index, info.XPos, info.YPos, CLR_DEFAULT, blendWith, style);
}

void TBaseVirtualTree::PaintDropMark(TCanvas& canvas, PVirtualNode, const TRect& r) {
    if (dropMode_ != dmAbove && dropMode_ != dmBelow) return;
    const TPen pen = canvas.Pen;
    const TBrush brush = canvas.Brush;
    canvas.Pen.Style = psClear;
    canvas.Brush = TBrush{};
    canvas.Brush.Color = colors_.Get(TVTColors::DropMarkColor);
    const int l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
    if (dropMode_ == dmAbove) {
        const TPoint above[] = {{l + 2, t},      {rr - 2, t},    {rr - 2, t + 6},
                                {rr - 6, t + 2}, {l + 6, t + 2}, {l + 2, t + 6}};
        canvas.Polygon(above);
    } else {
        const TPoint below[] = {{l + 2, b - 1},  {rr - 2, b - 1}, {rr - 2, b - 8},
                                {rr - 7, b - 3}, {l + 7, b - 3},  {l + 2, b - 8}};
        canvas.Polygon(below);
    }
    canvas.Pen = pen;
    canvas.Brush = brush;
}

}  // namespace rv
