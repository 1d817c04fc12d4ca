// The header's picture: each visible column's cell in display order — its face in the classic
// (thick or flat buttons, plates), XP or themed look, normal, hot or pressed — with image,
// caption and sort arrow, the space after the last column, the mark where a dragged column would
// land, and the dragged column laid over it all.

#include <algorithm>

#include "platform/windows/theme_services.h"
#include "tree/base_tree.h"
#include "tree/header_glyphs.h"

namespace rv {

namespace {

// The XP look's own colours.
constexpr TColor kXPFace = RGB(235, 234, 219);
constexpr TColor kXPHotFace = RGB(250, 248, 243);
constexpr TColor kXPPressedFace = RGB(222, 223, 216);
constexpr TColor kXPBottomLines[3] = {RGB(224, 222, 207), RGB(213, 210, 195), RGB(203, 199, 184)};
constexpr TColor kXPSeparator = RGB(199, 197, 178);
constexpr TColor kXPPressedFrame = RGB(165, 165, 151);
constexpr TColor kXPPressedInner = RGB(193, 194, 184);
constexpr TColor kXPPressedInnermost = RGB(208, 209, 201);

enum class TCellLook { Normal, Hot, Pressed };

void Line(TCanvas& c, int left, int top, int right, int bottom, TColor color) {
    FillSolid(c, {left, top, right, bottom}, color);
}

void PaintXPFace(TCanvas& c, const TRect& r, TCellLook look, bool separator) {
    switch (look) {
        case TCellLook::Normal:
            FillSolid(c, r, kXPFace);
            for (int i = 0; i < 3; ++i)
                Line(c, r.Left, r.Bottom - 3 + i, r.Right, r.Bottom - 2 + i, kXPBottomLines[i]);
            if (separator && r.Width() >= 2) {
                Line(c, r.Right - 2, r.Top + 3, r.Right - 1, r.Bottom - 5, kXPSeparator);
                Line(c, r.Right - 1, r.Top + 3, r.Right, r.Bottom - 5, clWhite);
            }
            return;
        case TCellLook::Hot:
            FillSolid(c, r, kXPHotFace);
            DrawHotBar(c, r);
            return;
        case TCellLook::Pressed:
            FillSolid(c, r, kXPPressedFace);
            Line(c, r.Left, r.Top, r.Left + 1, r.Bottom, kXPPressedFrame);
            Line(c, r.Left, r.Bottom - 1, r.Right, r.Bottom, kXPPressedFrame);
            Line(c, r.Right - 1, r.Top, r.Right, r.Bottom, kXPPressedFrame);
            Line(c, r.Left + 1, r.Top, r.Left + 2, r.Bottom - 1, kXPPressedInner);
            Line(c, r.Left + 1, r.Top, r.Right - 1, r.Top + 1, kXPPressedInner);
            Line(c, r.Left + 2, r.Top + 1, r.Left + 3, r.Bottom - 1, kXPPressedInnermost);
            Line(c, r.Left + 2, r.Top + 1, r.Right - 1, r.Top + 2, kXPPressedInnermost);
            return;
    }
}

// The classic looks: thick and flat buttons stand out and sink in when pressed; plates are
// flat until a clickable column is pressed.
void PaintClassicFace(TCanvas& c, const TRect& r, TVTHeaderStyle style, TCellLook look,
                      TColor background) {
    FillSolid(c, r, background);
    TRect edge = r;
    const bool pressed = look == TCellLook::Pressed;
    switch (style) {
        case hsThickButtons:
            c.DrawEdge(edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
            break;
        case hsFlatButtons:
            c.DrawEdge(edge, pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
            break;
        default:
            if (pressed) c.DrawEdge(edge, BDR_SUNKENOUTER, BF_RECT);
            break;
    }
}

TThemedHeader ThemedLook(TCellLook look) {
    return look == TCellLook::Pressed ? thHeaderItemPressed
           : look == TCellLook::Hot   ? thHeaderItemHot
                                      : thHeaderItemNormal;
}

}  // namespace

void TVTHeader::PaintHeader(TCanvas& canvas, const TRect& r) {
    if (r.IsEmpty()) return;
    const double ratio = canvas.PixelRatio();
    if (paintBuffer_.Width() != r.Width() || paintBuffer_.Height() != r.Height() ||
        paintBuffer_.PixelRatio() != ratio)
        paintBuffer_ = TBitmap(r.Width(), r.Height(), pf32bit, ratio);
    const TRect strip{0, 0, r.Width(), r.Height()};
    PaintColumns(paintBuffer_.Canvas(), strip, true);
    // The dragged column goes over the strip, clipped to it.
    if (dragIndex_ != NoColumn && dragImage_.Visible()) dragImage_.ComposeOnto(paintBuffer_, {});
    canvas.CopyRect(r, paintBuffer_, strip);
}

void TVTHeader::PaintColumns(TCanvas& canvas, const TRect& strip, bool withMarks) {
    const int saved = canvas.SaveState();
    canvas.IntersectClipRect(strip);
    FillSolid(canvas, strip, background_);
    int right = strip.Left;
    for (TColumnIndex index : columns_.PositionToIndex()) {
        const TVirtualTreeColumn& column = columns_[index];
        if (!column.Visible()) continue;
        const int left = strip.Left + column.Left() + tree_.OffsetX();
        const TRect cell{left, strip.Top, SaturatedSum(left, column.Width()), strip.Bottom};
        right = std::max(right, cell.Right);
        if (cell.Right <= strip.Left || cell.Left >= strip.Right) continue;
        TVTDropMarkMode mark = dmmNone;
        if (withMarks && columns_.DropTarget == index && index != dragIndex_ &&
            column.Options().Contains(coShowDropMark))
            mark = columns_.DropBefore ? dmmLeft : dmmRight;
        PaintColumn(canvas, index, cell, mark);
    }
    if (right < strip.Right) PaintSpace(canvas, {right, strip.Top, strip.Right, strip.Bottom});
    canvas.RestoreState(saved);
}

void TVTHeader::PaintSpace(TCanvas& canvas, const TRect& cell) {
    if (options_.Contains(hoOwnerDraw)) {
        THeaderPaintInfo info;
        info.TargetCanvas = &canvas;
        info.PaintRectangle = cell;
        if (tree_.DoHeaderDrawQueryElements(info).Contains(hpeBackground)) {
            const int saved = canvas.SaveState();
            canvas.IntersectClipRect(cell);
            tree_.DoAdvancedHeaderDraw(info, {hpeBackground});
            canvas.RestoreState(saved);
            return;
        }
    }
    if (tree_.TreeStates().Contains(tsUseThemes) &&
        ThemeServices().DrawElement(canvas, TThemeServices::GetElementDetails(thHeaderItemNormal),
                                    cell, &cell))
        return;
    if (style_ == hsXPStyle)
        PaintXPFace(canvas, cell, TCellLook::Normal, false);
    else if (style_ == hsPlates)
        FillSolid(canvas, cell, background_);
    else
        PaintClassicFace(canvas, cell, style_, TCellLook::Normal, background_);
}

void TVTHeader::PaintColumn(TCanvas& canvas, TColumnIndex index, const TRect& cell,
                            TVTDropMarkMode mark) {
    TVirtualTreeColumn& column = columns_[index];
    const TVTColumnOptions options = column.Options();
    const bool enabled = options.Contains(coEnabled);
    const bool hot = options_.Contains(hoHotTrack) && columns_.HoverIndex == index && enabled;
    const bool pressed = columns_.DownIndex == index && options.Contains(coAllowClick) && enabled;
    const TCellLook look = pressed ? TCellLook::Pressed : hot ? TCellLook::Hot : TCellLook::Normal;
    const bool ownerDraw = options_.Contains(hoOwnerDraw);
    const int saved = canvas.SaveState();
    canvas.IntersectClipRect(cell);
    if (ownerDraw && column.Style() == vsOwnerDraw) {
        TVTDropMarkMode ownMark = dmmNone;
        if (columns_.DropTarget == index && index != dragIndex_)
            ownMark = columns_.DropBefore ? dmmLeft : dmmRight;
        tree_.DoHeaderDraw(canvas, column, cell, hot, pressed, ownMark);
        canvas.RestoreState(saved);
        if (mark != dmmNone) DrawHeaderDropMark(canvas, cell, mark == dmmLeft, clHighlight);
        return;
    }
    const bool themed = tree_.TreeStates().Contains(tsUseThemes);

    // Where the parts go: the content one pixel down and right while a classic button is held.
    TRect client = InflateRect(cell, -2, -2);
    if (pressed && !themed && style_ != hsXPStyle) client = OffsetRect(client, 1, 1);
    canvas.Font = font_;
    const bool withImage = options_.Contains(hoShowImages) && images_ && column.ImageIndex() >= 0 &&
                           column.ImageIndex() < images_->Count();
    const bool sorted = options_.Contains(hoShowSortGlyphs) && sortColumn_ == index;
    const THeaderCellLayout layout = column.ComputeHeaderLayout(
        canvas, client, withImage ? TSize{images_->Width(), images_->Height()} : TSize{0, 0},
        sorted ? TSize{kSortGlyphWidth, kSortGlyphHeight} : TSize{0, 0});

    // Under hoOwnerDraw the application may take any of the parts.
    THeaderPaintInfo info;
    info.TargetCanvas = &canvas;
    info.Column = &column;
    info.PaintRectangle = cell;
    info.TextRectangle = layout.Text;
    info.IsHoverIndex = hot;
    info.IsDownIndex = pressed;
    info.IsEnabled = enabled;
    info.ShowHeaderGlyph = withImage;
    info.ShowSortGlyph = sorted;
    info.DropMark = mark;
    info.GlyphRectangle = layout.Glyph;
    info.SortGlyphRectangle = layout.SortGlyph;
    const THeaderPaintElements own =
        ownerDraw ? tree_.DoHeaderDrawQueryElements(info) : THeaderPaintElements{};

    if (own.Contains(hpeBackground)) {
        const int inner = canvas.SaveState();
        tree_.DoAdvancedHeaderDraw(info, {hpeBackground});
        canvas.RestoreState(inner);
    } else {
        TThemeServices& themes = ThemeServices();
        const bool faceDrawn =
            themed && themes.DrawElement(
                          canvas, TThemeServices::GetElementDetails(ThemedLook(look)), cell, &cell);
        if (!faceDrawn && style_ == hsXPStyle) PaintXPFace(canvas, cell, look, true);
        if (!faceDrawn && style_ != hsXPStyle)
            PaintClassicFace(canvas, cell, style_, look, background_);
    }
    canvas.Font = font_;
    if (withImage && !own.Contains(hpeHeaderGlyph))
        images_->Draw(canvas, layout.Glyph.Left, layout.Glyph.Top, column.ImageIndex(), enabled);
    if (!layout.Caption.empty() && !own.Contains(hpeText)) {
        canvas.Brush.Style = bsClear;
        TRect text = layout.Text;
        const unsigned flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT;
        if (!enabled) {
            // Engraved: the caption in the highlight colour, and in the shadow colour above it.
            TRect raised = OffsetRect(text, 1, 1);
            canvas.Font.Color = clBtnHighlight;
            canvas.DrawText(layout.Caption, raised, flags);
            canvas.Font.Color = clBtnShadow;
        } else if (hot) {
            canvas.Font.Color = tree_.Colors().Get(TVTColors::HeaderHotColor);
        }
        canvas.DrawText(layout.Caption, text, flags);
    }
    if (sorted && !own.Contains(hpeSortGlyph)) {
        const bool ascending = sortDirection_ == sdAscending;
        const bool arrowDrawn =
            themed && ThemeServices().DrawElement(
                          canvas,
                          TThemeServices::GetElementDetails(
                              ascending ? thHeaderSortArrowSortedUp : thHeaderSortArrowSortedDown),
                          layout.SortGlyph, &cell);
        if (!arrowDrawn) DrawSortGlyph(canvas, layout.SortGlyph, ascending, clBtnShadow);
    }
    if (mark != dmmNone && !own.Contains(hpeDropMark))
        DrawHeaderDropMark(canvas, cell, mark == dmmLeft, clHighlight);
    const THeaderPaintElements foreground = own - THeaderPaintElements{hpeBackground};
    if (!foreground.Empty()) {
        canvas.Font = font_;
        tree_.DoAdvancedHeaderDraw(info, foreground);
    }
    canvas.RestoreState(saved);
}

}  // namespace rv
