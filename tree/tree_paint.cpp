// Painting the tree: the visible rows one by one, each composed in a bitmap of one row and
// copied to the target, then the background below the last row.

#include <algorithm>
#include <cstdint>

#include "tree/alpha_blend.h"
#include "tree/base_tree.h"
#include "tree/check_images.h"

namespace rv {

namespace {

// The remainder in 0 … 7, so that pattern brushes line up with the tree's own coordinates.
int PatternPhase(std::int64_t v) {
    return int(((v % 8) + 8) % 8);
}

}  // namespace

void TBaseVirtualTree::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect update = canvas.ClipRect();
    if (update.IsEmpty()) return;
    if (slide_) {
        slide_->PaintClient(canvas, ClientWidth(), ClientHeight(),
                            [this](TCanvas& c, const TRect& r) { FillSlideStrip(c, r); });
        return;
    }
    PaintTree(canvas, OffsetRect(update, -offsetX_, -offsetY_), update.TopLeft(),
              kWindowPaintOptions);
}

void TBaseVirtualTree::PaintTree(TCanvas& target, const TRect& window, TPoint targetPoint,
                                 TVTInternalPaintOptions options) {
    if (window.IsEmpty()) return;
    SyncThemeState();
    DoStateChange({tsPainting});
    try {
        DoBeforePaint(target);
        const TVTPaintOptions paintOptions = TreeOptions().PaintOptions();
        if (paintOptions.Contains(toAlwaysHideSelection) ||
            (paintOptions.Contains(toHideSelection) && !Focused()))
            options &= std::uint8_t(~poDrawSelection);
        if (paintOptions.Contains(toHideFocusRect)) options &= std::uint8_t(~poDrawFocusRect);
        if (!paintOptions.Contains(toShowBackground) || background_.Empty())
            options &= std::uint8_t(~poBackground);

        const double ratio = target.PixelRatio();
        PrepareButtons(ratio);
        if (paint_.row.PixelRatio() != ratio || paint_.row.Empty())
            paint_.row = TBitmap(window.Width(), 1, pf32bit, ratio);
        else if (paint_.row.Width() != window.Width())
            paint_.row.SetWidth(window.Width());

        int firstTop = 0;
        PVirtualNode node = GetNodeAt(0, window.Top, false, firstTop);
        std::int64_t y = node ? firstTop : std::int64_t(root_->TotalHeight) - root_->NodeHeight;
        while (node && y < window.Bottom) {
            InitIfNeeded(node);
            const int height = int(NodeHeight(node));
            if (height > 0 && (!(options & poSelectedOnly) || node->Has(nsSelected)))
                PaintRow(target, window, targetPoint, node, y, height, options);
            y += height;
            node = GetNextVisible(node);
        }
        if (y < window.Bottom) {
            const int top = int(std::max<std::int64_t>(y, window.Top));
            PaintBelowRows(target, {window.Left, top, window.Right, window.Bottom},
                           {targetPoint.X, targetPoint.Y + top - window.Top}, options);
        }
        DoAfterPaint(target);
    } catch (...) {
        DoStateChange({}, {tsPainting});
        throw;
    }
    DoStateChange({}, {tsPainting});
}

void TBaseVirtualTree::PaintRow(TCanvas& target, const TRect& window, TPoint targetPoint,
                                PVirtualNode node, std::int64_t rowTop, int height,
                                TVTInternalPaintOptions options) {
    TBitmap& row = paint_.row;
    if (row.Height() != height) row.SetHeight(height);
    paint_.rowTop = rowTop;
    TCanvas& canvas = row.Canvas();
    canvas.RemoveClip();
    canvas.SetOrigin(-window.Left, 0);
    const TPoint brushOrigin{PatternPhase(-window.Left), PatternPhase(-rowTop)};
    canvas.SetBrushOrigin(brushOrigin.X, brushOrigin.Y);
    canvas.Font = Font();
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};

    // The whole row, however wide the window.
    const TRect itemRect{0, 0, std::max({rangeX_, ClientWidth(), window.Right}), height};
    TVTPaintInfo paintInfo;
    paintInfo.Canvas = &canvas;
    paintInfo.PaintOptions = options;
    paintInfo.Node = node;
    paintInfo.BrushOrigin = brushOrigin;
    if (!DoBeforeItemPaint(canvas, node, itemRect)) {
        EraseNodeBackground(paintInfo, itemRect);
        TLineImage lineImage;
        DetermineLineImageAndSelectLevel(node, lineImage);
        const TVirtualTreeColumns& columns = header_.Columns();
        if (header_.UseColumns()) {
            TColumnIndex column = columns.GetFirstVisibleColumn();
            while (column != InvalidColumn) {
                const TVirtualTreeColumn& c = columns[column];
                if (c.Left() >= window.Right) break;
                TColumnIndex next = columns.GetNextVisibleColumn(column);
                if (!(options & poMainOnly) || column == header_.MainColumn()) {
                    paintInfo.Column = column;
                    paintInfo.Position = c.Position();
                    paintInfo.CellRect = {c.Left(), 0, SaturatedSum(c.Left(), c.Width()), height};
                    paintInfo.Alignment = c.Alignment();
                    paintInfo.BidiMode = c.BiDiMode();
                    AdjustPaintCellRect(paintInfo, next);
                    if (paintInfo.CellRect.Right > window.Left) PaintCell(paintInfo, lineImage);
                }
                column = next;
            }
        } else {
            paintInfo.Column = NoColumn;
            paintInfo.Position = 0;
            paintInfo.CellRect = itemRect;
            paintInfo.Alignment = alignment_;
            paintInfo.BidiMode = bdLeftToRight;
            PaintCell(paintInfo, lineImage);
        }
        DoAfterItemPaint(canvas, node, itemRect);
        if (node == dropTargetNode_ && (options & poDrawDropMark) &&
            TreeOptions().PaintOptions().Contains(toShowDropmark))
            PaintDropMark(canvas, node,
                          IntersectRect(itemRect, {window.Left, 0, window.Right, height}));
    }
    if (!drawSelectionRect_.IsEmpty()) PaintSelectionRectangle(row, window, rowTop);

    // Only the part of the row inside the window goes to the target.
    const int from = int(std::max<std::int64_t>(0, window.Top - rowTop));
    const int to = int(std::min<std::int64_t>(height, window.Bottom - rowTop));
    if (to <= from) return;
    target.CopyRect(Bounds(targetPoint.X, targetPoint.Y + int(rowTop + from - window.Top),
                           row.Width(), to - from),
                    row, {0, from, row.Width(), to});
}

void TBaseVirtualTree::PaintCell(TVTPaintInfo& paintInfo, const TLineImage& lineImage) {
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    const bool useColumns = header_.UseColumns();
    const bool main = paintInfo.Column == header_.MainColumn();
    const bool rightToLeft = paintInfo.BidiMode != bdLeftToRight;
    const TVTPaintOptions paintOptions = TreeOptions().PaintOptions();

    paintInfo.NodeWidth = DoGetNodeWidth(node, paintInfo.Column);
    paintInfo.ContentRect = paintInfo.CellRect;
    const int indentation = main ? int(lineImage.size()) * int(indent_) : 0;
    if (rightToLeft)
        paintInfo.ContentRect.Right -= margin_ + indentation;
    else
        paintInfo.ContentRect.Left += margin_ + indentation;
    PositionImages(paintInfo, main);

    int saved = 0;
    if (useColumns) {
        saved = canvas.SaveState();
        canvas.IntersectClipRect(paintInfo.CellRect);
    }
    if (paintInfo.PaintOptions & poGridLines) PaintGridLines(paintInfo, indentation);
    PaintCellSelection(paintInfo);
    if (main) {
        int alignOffset = 0, buttonOffset = 0;
        GetAlignOffsets(node, alignOffset, buttonOffset, images_);
        if (paintOptions.Contains(toShowTreeLines))
            PaintTreeLines(paintInfo, alignOffset, int(indent_), lineImage);
        const bool buttonHidden = node->Has(nsAllChildrenHidden) &&
                                  TreeOptions().AutoOptions().Contains(toAutoHideButtons);
        if (paintOptions.Contains(toShowButtons) && node->Has(nsHasChildren) && !buttonHidden &&
            !lineImage.empty()) {
            // In the box of the node's own level, centred as the lines are.
            const int levels = int(lineImage.size());
            const int box = rightToLeft
                                ? paintInfo.CellRect.Right - margin_ - levels * int(indent_)
                                : paintInfo.CellRect.Left + margin_ + (levels - 1) * int(indent_);
            const int offset = ButtonOffsetInLevel();
            const int x = rightToLeft ? box + int(indent_) - offset - paint_.plusButton.Width()
                                      : box + offset;
            PaintNodeButton(canvas, node, x, buttonOffset);
        }
        if (paintInfo.ImageInfo[iiCheck].Index != -1) PaintCheckImage(paintInfo);
    }
    if (paintInfo.ImageInfo[iiState].Index != -1)
        PaintImage(paintInfo, iiState, stateImages_, false);
    if (paintInfo.ImageInfo[iiNormal].Index != -1) PaintImage(paintInfo, iiNormal, images_, true);
    const bool edited =
        states_.Contains(tsEditing) && node == focusedNode_ && paintInfo.Column == focusedColumn_;
    if (!edited) PaintNode(paintInfo);
    DoAfterCellPaint(canvas, node, paintInfo.Column, paintInfo.CellRect);
    if (useColumns) canvas.RestoreState(saved);
}

// The check image, then the state and the normal image, each with a gap of 2 pixels, from the
// content's reading side; vertically centred on the node's alignment.
void TBaseVirtualTree::PositionImages(TVTPaintInfo& paintInfo, bool main) {
    const PVirtualNode node = paintInfo.Node;
    const bool rightToLeft = paintInfo.BidiMode != bdLeftToRight;
    for (TVTImageInfo& info : paintInfo.ImageInfo) info = TVTImageInfo{};
    bool ghosted = false;
    if (main && TreeOptions().MiscOptions().Contains(toCheckSupport))
        paintInfo.ImageInfo[iiCheck].Index = GetCheckImage(node);
    if (stateImages_) {
        paintInfo.ImageInfo[iiState].Index =
            DoGetImageIndex(node, ikState, paintInfo.Column, ghosted);
        paintInfo.ImageInfo[iiState].Ghosted = ghosted;
    }
    if (images_) {
        const TVTImageKind kind = node->Has(nsSelected) ? ikSelected : ikNormal;
        paintInfo.ImageInfo[iiNormal].Index =
            DoGetImageIndex(node, kind, paintInfo.Column, ghosted);
        paintInfo.ImageInfo[iiNormal].Ghosted = ghosted;
    }
    int alignOffset = 0, buttonOffset = 0;
    GetAlignOffsets(node, alignOffset, buttonOffset, images_);
    const struct {
        TVTImageInfoIndex entry;
        int width, height;
    } order[] = {
        {iiCheck, CheckImageWidth(), kCheckImageSize},
        {iiState, stateImages_ ? stateImages_->Width() : 0,
         stateImages_ ? stateImages_->Height() : 0},
        {iiNormal, images_ ? images_->Width() : 0, images_ ? images_->Height() : 0},
    };
    for (const auto& image : order) {
        TVTImageInfo& info = paintInfo.ImageInfo[image.entry];
        if (info.Index == -1) continue;
        info.YPos = alignOffset - image.height / 2;
        if (rightToLeft) {
            info.XPos = paintInfo.ContentRect.Right - image.width;
            paintInfo.ContentRect.Right -= image.width + 2;
        } else {
            info.XPos = paintInfo.ContentRect.Left;
            paintInfo.ContentRect.Left += image.width + 2;
        }
    }
}

void TBaseVirtualTree::PaintGridLines(TVTPaintInfo& paintInfo, int indentation) {
    TCanvas& canvas = *paintInfo.Canvas;
    const TVTPaintOptions paintOptions = TreeOptions().PaintOptions();
    const bool rightToLeft = paintInfo.BidiMode != bdLeftToRight;
    const TColor color = colors_.Get(TVTColors::GridLineColor);
    TRect& cell = paintInfo.CellRect;
    if (paintOptions.Contains(toShowHorzGridLines)) {
        int left = cell.Left, right = cell.Right - 1;
        if (lineMode_ == lmBands && paintInfo.Column == header_.MainColumn()) {
            if (rightToLeft)
                right -= margin_ + indentation;
            else
                left += margin_ + indentation;
        }
        DrawDottedHLine(canvas, left, right, cell.Bottom - 1, color);
        --cell.Bottom;
        paintInfo.ContentRect.Bottom = std::min(paintInfo.ContentRect.Bottom, cell.Bottom);
    }
    if (paintOptions.Contains(toShowVertGridLines) && header_.UseColumns()) {
        const bool lastAutoSized = header_.Options().Contains(hoAutoResize) &&
                                   paintInfo.Column == header_.Columns().GetLastVisibleColumn();
        if (!lastAutoSized && !(rightToLeft && ColumnIsEmpty(paintInfo.Node, paintInfo.Column))) {
            DrawDottedVLine(canvas, cell.Top, cell.Bottom, cell.Right - 1, color);
            --cell.Right;
            paintInfo.ContentRect.Right = std::min(paintInfo.ContentRect.Right, cell.Right);
        }
    }
}

// The rubber band's part in this row: blended with a frame, or a dotted focus rectangle.
void TBaseVirtualTree::PaintSelectionRectangle(TBitmap& row, const TRect& window,
                                               std::int64_t rowTop) {
    const TRect band = OffsetRect(drawSelectionRect_, 0, int(-rowTop));
    const TRect rowRect{window.Left, 0, window.Right, row.Height()};
    const TRect inRow = IntersectRect(band, rowRect);
    if (inRow.IsEmpty()) return;
    TCanvas& canvas = row.Canvas();
    if (drawSelectionMode_ == smBlendedRectangle || states_.Contains(tsUseThemes)) {
        AlphaBlend(nullptr, &row, OffsetRect(inRow, -window.Left, 0),
                   {inRow.Left - window.Left, inRow.Top}, bmConstantAlphaAndColor,
                   selectionBlendFactor_,
                   int(ColorToRGB(colors_.Get(TVTColors::SelectionRectangleBlendColor))));
        canvas.Brush = TBrush{};
        canvas.Brush.Color = colors_.Get(TVTColors::SelectionRectangleBorderColor);
        canvas.FrameRect(band);
    } else {
        canvas.DrawFocusRect(band);
    }
}

void TBaseVirtualTree::PaintBelowRows(TCanvas& target, const TRect& area, TPoint targetPoint,
                                      TVTInternalPaintOptions options) {
    TBitmap rest(area.Width(), area.Height(), pf32bit, target.PixelRatio());
    TCanvas& canvas = rest.Canvas();
    canvas.SetOrigin(-area.Left, -area.Top);
    canvas.SetBrushOrigin(PatternPhase(-area.Left), PatternPhase(-area.Top));
    if (!DoPaintBackground(canvas, area)) {
        const TVTPaintOptions paintOptions = TreeOptions().PaintOptions();
        if (options & poBackground) {
            TileBackground(canvas, area, 0);
        } else if (header_.UseColumns()) {
            PaintColumnBackgrounds(canvas, area);
            if (paintOptions.Contains(toFullVertGridLines) &&
                paintOptions.Contains(toShowVertGridLines) && (options & poGridLines)) {
                const TVirtualTreeColumns& columns = header_.Columns();
                const TColumnIndex last = columns.GetLastVisibleColumn();
                for (TColumnIndex column : columns.GetVisibleColumns()) {
                    if (column == last && header_.Options().Contains(hoAutoResize)) continue;
                    const int right = SaturatedSum(columns[column].Left(), columns[column].Width());
                    DrawDottedVLine(canvas, area.Top, area.Bottom - 1, right - 1,
                                    colors_.Get(TVTColors::GridLineColor));
                }
            }
        } else {
            FillSolid(canvas, area, Color());
        }
    }
    target.CopyRect(Bounds(targetPoint.X, targetPoint.Y, area.Width(), area.Height()), rest,
                    {0, 0, area.Width(), area.Height()});
}

}  // namespace rv
