// Row and cell backgrounds: erasing a row, a cell's selection and focus rectangle, column
// colours, the tiled background picture and the dotted grid lines.

#include <algorithm>
#include <cstdint>

#include "tree/alpha_blend.h"
#include "tree/base_tree.h"

namespace rv {

namespace {

// A filled rectangle with a one-pixel frame, its corners rounded by `radius`.
void SelectionShape(TCanvas& canvas, const TRect& r, TColor fill, TColor border, int radius) {
    canvas.Pen = TPen{border};
    canvas.Brush = TBrush{};
    canvas.Brush.Color = fill;
    if (radius > 0)
        canvas.RoundRect(r.Left, r.Top, r.Right, r.Bottom, radius, radius);
    else
        canvas.Rectangle(r);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

}  // namespace

bool TBaseVirtualTree::SelectionLooksFocused() const {
    return Focused() || TreeOptions().PaintOptions().Contains(toPopupMode);
}

void TBaseVirtualTree::EraseNodeBackground(TVTPaintInfo& paintInfo, const TRect& itemRect) {
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    TColor color = Color();
    TItemEraseAction action = eaDefault;
    DoBeforeItemErase(canvas, node, itemRect, color, action);
    if (action == eaColor) {
        FillSolid(canvas, itemRect, color);
    } else if (action == eaDefault) {
        if (paintInfo.PaintOptions & poBackground) {
            TileBackground(canvas, itemRect, paint_.rowTop);
        } else if ((paintInfo.PaintOptions & poDrawSelection) && node->Has(nsSelected) &&
                   TreeOptions().SelectionOptions().Contains(toFullRowSelect)) {
            FillSolid(canvas, itemRect, color);
            TRect r = itemRect;
            if (TreeOptions().PaintOptions().Contains(toShowHorzGridLines)) --r.Bottom;
            const bool focused = SelectionLooksFocused();
            SelectionShape(canvas, r,
                           colors_.Get(focused ? TVTColors::FocusedSelectionColor
                                               : TVTColors::UnfocusedSelectionColor),
                           colors_.Get(focused ? TVTColors::FocusedSelectionBorderColor
                                               : TVTColors::UnfocusedSelectionBorderColor),
                           int(selectionCurveRadius_));
        } else {
            FillSolid(canvas, itemRect, color);
        }
    }
    DoAfterItemErase(canvas, node, itemRect);
}

void TBaseVirtualTree::PaintCellSelection(TVTPaintInfo& paintInfo) {
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    const TColumnIndex column = paintInfo.Column;
    const TVirtualTreeColumns& columns = header_.Columns();
    if ((paintInfo.PaintOptions & poColumnColor) && columns.IsValidColumn(column) &&
        !columns[column].Options().Contains(coParentColor))
        FillSolid(canvas, paintInfo.CellRect, columns[column].Color());
    DoBeforeCellPaint(canvas, node, column, paintInfo.CellRect);

    const TVTSelectionOptions selection = TreeOptions().SelectionOptions();
    const bool fullRow = selection.Contains(toFullRowSelect);
    const bool gridExtensions = TreeOptions().MiscOptions().Contains(toGridExtensions);
    if (column != focusedColumn_ && !fullRow) return;

    // The node's own width within the content, placed by the cell's alignment.
    TRect inner = paintInfo.ContentRect;
    if (!gridExtensions) {
        const int width = paintInfo.NodeWidth;
        switch (paintInfo.Alignment) {
            case taLeftJustify:
                inner.Right = inner.Left + width;
                break;
            case taRightJustify:
                inner.Left = inner.Right - width;
                break;
            case taCenter:
                inner.Left += (inner.Width() - width) / 2;
                inner.Right = inner.Left + width;
                break;
        }
    }
    if (paintInfo.PaintOptions & poDrawSelection) {
        const bool selected = node->Has(nsSelected);
        TVTColors::Index fill = TVTColors::Count, border = TVTColors::Count;
        if (node == dropTargetNode_ && (dropMode_ == dmOnNode || selected)) {
            fill = TVTColors::DropTargetColor;
            border = TVTColors::DropTargetBorderColor;
        } else if (selected) {
            const bool focused = SelectionLooksFocused();
            fill = focused ? TVTColors::FocusedSelectionColor : TVTColors::UnfocusedSelectionColor;
            border = focused ? TVTColors::FocusedSelectionBorderColor
                             : TVTColors::UnfocusedSelectionBorderColor;
        }
        const TRect r = gridExtensions || fullRow ? paintInfo.CellRect : inner;
        if (fill != TVTColors::Count && !r.IsEmpty()) {
            if (TreeOptions().PaintOptions().Contains(toUseBlendedSelection)) {
                // Blended in the row's own pixels, which start at the canvas's origin.
                const TPoint origin = canvas.Origin();
                const TRect inRow = OffsetRect(r, origin.X, origin.Y);
                AlphaBlend(nullptr, &paint_.row, inRow, inRow.TopLeft(), bmConstantAlphaAndColor,
                           selectionBlendFactor_, int(ColorToRGB(colors_.Get(fill))));
                canvas.Brush = TBrush{};
                canvas.Brush.Color = colors_.Get(border);
                canvas.FrameRect(r);
            } else {
                SelectionShape(canvas, r, colors_.Get(fill), colors_.Get(border),
                               int(selectionCurveRadius_));
            }
        }
    }
    if ((paintInfo.PaintOptions & poDrawFocusRect) && node == focusedNode_ &&
        column == focusedColumn_ && SelectionLooksFocused())
        canvas.DrawFocusRect(gridExtensions ? paintInfo.CellRect : inner);
}

void TBaseVirtualTree::PaintColumnBackgrounds(TCanvas& canvas, const TRect& r) {
    FillSolid(canvas, r, Color());
    const TVirtualTreeColumns& columns = header_.Columns();
    for (TColumnIndex index : columns.GetVisibleColumns()) {
        const TVirtualTreeColumn& column = columns[index];
        const TRect span = IntersectRect(
            r, {column.Left(), r.Top, SaturatedSum(column.Left(), column.Width()), r.Bottom});
        if (!span.IsEmpty())
            FillSolid(canvas, span,
                      column.Options().Contains(coParentColor) ? Color() : column.Color());
    }
}

void TBaseVirtualTree::TileBackground(TCanvas& canvas, const TRect& r, std::int64_t canvasTop) {
    if (background_.Empty() || r.IsEmpty()) return;
    const int w = background_.Width(), h = background_.Height();
    // The picture's corner in the canvas's coordinates: at the client's corner plus the offsets.
    const std::int64_t x0 = std::int64_t(backgroundOffsetX_) - offsetX_;
    const std::int64_t y0 = std::int64_t(backgroundOffsetY_) - offsetY_ - canvasTop;
    const std::int64_t left = x0 + FloorDiv(r.Left - x0, w) * w;
    const std::int64_t top = y0 + FloorDiv(r.Top - y0, h) * h;
    const int saved = canvas.SaveState();
    canvas.IntersectClipRect(r);
    for (std::int64_t y = top; y < r.Bottom; y += h)
        for (std::int64_t x = left; x < r.Right; x += w) canvas.Draw(int(x), int(y), background_);
    canvas.RestoreState(saved);
}

void TBaseVirtualTree::DrawDottedHLine(TCanvas& canvas, int left, int right, int top,
                                       TColor color) {
    canvas.Brush.SetPattern(kDottedPattern, color, Color());
    canvas.FillRect({std::min(left, right), top, std::max(left, right) + 1, top + 1});
    canvas.Brush = TBrush{};
}

void TBaseVirtualTree::DrawDottedVLine(TCanvas& canvas, int top, int bottom, int left,
                                       TColor color) {
    canvas.Brush.SetPattern(kDottedPattern, color, Color());
    canvas.FillRect({left, std::min(top, bottom), left + 1, std::max(top, bottom) + 1});
    canvas.Brush = TBrush{};
}

}  // namespace rv
