// The painting steps' dispatchers and the smaller painting hooks: measuring a node's height,
// the cell span, and the toggle animation's end.

#include <algorithm>
#include <utility>

#include "platform/windows/window_host.h"
#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::DoBeforePaint(TCanvas& canvas) {
    if (OnBeforePaint) OnBeforePaint(this, canvas);
}

void TBaseVirtualTree::DoAfterPaint(TCanvas& canvas) {
    if (OnAfterPaint) OnAfterPaint(this, canvas);
}

bool TBaseVirtualTree::DoBeforeItemPaint(TCanvas& canvas, PVirtualNode node,
                                         const TRect& itemRect) {
    bool customDraw = false;
    if (OnBeforeItemPaint) OnBeforeItemPaint(this, canvas, node, itemRect, customDraw);
    return customDraw;
}

void TBaseVirtualTree::DoAfterItemPaint(TCanvas& canvas, PVirtualNode node, const TRect& itemRect) {
    if (OnAfterItemPaint) OnAfterItemPaint(this, canvas, node, itemRect);
}

void TBaseVirtualTree::DoBeforeItemErase(TCanvas& canvas, PVirtualNode node, const TRect& itemRect,
                                         TColor& color, TItemEraseAction& action) {
    if (OnBeforeItemErase) OnBeforeItemErase(this, canvas, node, itemRect, color, action);
}

void TBaseVirtualTree::DoAfterItemErase(TCanvas& canvas, PVirtualNode node, const TRect& itemRect) {
    if (OnAfterItemErase) OnAfterItemErase(this, canvas, node, itemRect);
}

void TBaseVirtualTree::DoBeforeCellPaint(TCanvas& canvas, PVirtualNode node, TColumnIndex column,
                                         const TRect& cellRect) {
    if (OnBeforeCellPaint) OnBeforeCellPaint(this, canvas, node, column, cellRect);
}

void TBaseVirtualTree::DoAfterCellPaint(TCanvas& canvas, PVirtualNode node, TColumnIndex column,
                                        const TRect& cellRect) {
    if (OnAfterCellPaint) OnAfterCellPaint(this, canvas, node, column, cellRect);
}

bool TBaseVirtualTree::DoPaintBackground(TCanvas& canvas, const TRect& r) {
    bool handled = false;
    if (OnPaintBackground) OnPaintBackground(this, canvas, r, handled);
    return handled;
}

void TBaseVirtualTree::DoGetLineStyle(std::array<std::uint8_t, 8>& pattern) {
    if (OnGetLineStyle) OnGetLineStyle(this, pattern);
}

void TBaseVirtualTree::DoMeasureItem(TCanvas& canvas, PVirtualNode node, int& nodeHeight) {
    if (OnMeasureItem) OnMeasureItem(this, canvas, node, nodeHeight);
}

bool TBaseVirtualTree::ColumnIsEmpty(PVirtualNode node, TColumnIndex column) {
    bool isEmpty = true;
    if (OnGetCellIsEmpty) OnGetCellIsEmpty(this, node, column, isEmpty);
    return isEmpty;
}

void TBaseVirtualTree::AdjustPaintCellRect(TVTPaintInfo& paintInfo, TColumnIndex& nextNonEmpty) {
    nextNonEmpty = header_.Columns().GetNextVisibleColumn(paintInfo.Column);
}

TCanvas& TBaseVirtualTree::MeasureCanvas() {
    TCanvas& canvas = paint_.measure.Canvas();
    canvas.Font = Font();
    return canvas;
}

void TBaseVirtualTree::MeasureItemHeight(PVirtualNode node) {
    if (!node || node == root_ || node->Has(nsHeightMeasured)) return;
    node->Include(nsHeightMeasured);
    int height = node->NodeHeight;
    DoMeasureItem(MeasureCanvas(), node, height);
    height = std::clamp(height, 0, 0xFFFF);
    if (height != node->NodeHeight) SetNodeHeight(node, std::uint32_t(height));
}

}  // namespace rv
