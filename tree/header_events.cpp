// The dispatchers of the header's mouse and drawing events.

#include "tree/base_tree.h"

namespace rv {

void TBaseVirtualTree::DoHeaderDblClick(TColumnIndex column, TMouseButton button, TShiftState shift,
                                        int x, int y) {
    if (OnHeaderDblClick) OnHeaderDblClick(&header_, column, button, shift, x, y);
}

void TBaseVirtualTree::DoHeaderDragged(TColumnIndex column, int oldPosition) {
    if (OnHeaderDragged) OnHeaderDragged(&header_, column, oldPosition);
}

void TBaseVirtualTree::DoHeaderDraggedOut(TColumnIndex column, TPoint dropPosition) {
    if (OnHeaderDraggedOut) OnHeaderDraggedOut(&header_, column, dropPosition);
}

bool TBaseVirtualTree::DoHeaderDragging(TColumnIndex column) {
    bool allowed = true;
    if (OnHeaderDragging) OnHeaderDragging(&header_, column, allowed);
    return allowed;
}

void TBaseVirtualTree::DoHeaderDraw(TCanvas& canvas, TVirtualTreeColumn& column, const TRect& r,
                                    bool hover, bool pressed, TVTDropMarkMode dropMark) {
    if (OnHeaderDraw) OnHeaderDraw(&header_, canvas, column, r, hover, pressed, dropMark);
}

THeaderPaintElements TBaseVirtualTree::DoHeaderDrawQueryElements(THeaderPaintInfo& paintInfo) {
    THeaderPaintElements elements;
    if (OnHeaderDrawQueryElements) OnHeaderDrawQueryElements(&header_, paintInfo, elements);
    return elements;
}

void TBaseVirtualTree::DoAdvancedHeaderDraw(THeaderPaintInfo& paintInfo,
                                            THeaderPaintElements elements) {
    if (OnAdvancedHeaderDraw) OnAdvancedHeaderDraw(&header_, paintInfo, elements);
}

void TBaseVirtualTree::DoHeaderMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnHeaderMouseDown) OnHeaderMouseDown(&header_, button, shift, x, y);
}

void TBaseVirtualTree::DoHeaderMouseMove(TShiftState shift, int x, int y) {
    if (OnHeaderMouseMove) OnHeaderMouseMove(&header_, shift, x, y);
}

void TBaseVirtualTree::DoHeaderMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnHeaderMouseUp) OnHeaderMouseUp(&header_, button, shift, x, y);
}

TCursor TBaseVirtualTree::DoGetHeaderCursor(TCursor cursor) {
    if (OnGetHeaderCursor) OnGetHeaderCursor(&header_, cursor);
    return cursor;
}

}  // namespace rv
