#include "tree/draw_tree.h"

namespace rv {

void TCustomVirtualDrawTree::DoDrawNode(const TVTPaintInfo& paintInfo) {
    if (OnDrawNode) OnDrawNode(this, paintInfo);
}

void TCustomVirtualDrawTree::DoDrawHint(TCanvas& canvas, PVirtualNode node, const TRect& r,
                                        TColumnIndex column) {
    if (OnDrawHint) OnDrawHint(this, canvas, node, r, column);
}

void TCustomVirtualDrawTree::DoGetHintSize(PVirtualNode node, TColumnIndex column, TRect& r) {
    if (OnGetHintSize) OnGetHintSize(this, node, column, r);
}

int TCustomVirtualDrawTree::DoGetNodeWidth(PVirtualNode node, TColumnIndex column) {
    int width = 0;
    if (OnGetNodeWidth) {
        TCanvas& canvas = MeasureCanvas();
        const int saved = canvas.SaveState();
        OnGetNodeWidth(this, canvas, node, column, width);
        canvas.RestoreState(saved);
    }
    return width;
}

void TCustomVirtualDrawTree::PaintNode(TVTPaintInfo& paintInfo) {
    // The handler may change the canvas as it likes; the next cell starts from the same state.
    TCanvas& canvas = *paintInfo.Canvas;
    const int saved = canvas.SaveState();
    DoDrawNode(paintInfo);
    canvas.RestoreState(saved);
}

}  // namespace rv
