#pragma once

#include "platform/graphics/canvas.h"
#include "platform/messages/messages.h"
#include "platform/windows/cursors.h"

namespace rv {

// The pictures of wheel panning, drawn by our own code in whole logical pixels: the mark left
// where panning started, showing which ways the view can move, and the cursors showing the way
// it moves now.
enum class TPanningShape { psNS, psEW, psAll, psN, psS, psE, psW, psNE, psSE, psNW, psSW };
using enum TPanningShape;

inline constexpr int kPanningMarkSize = 32;
// The colour the pictures are drawn on; it is not part of the mark or the cursors.
inline constexpr TColor kPanningKeyColor = clFuchsia;

// The picture of `shape` in the 32 × 32 square at (x, y), on the key colour.
void DrawPanningShape(TCanvas& canvas, TPanningShape shape, int x, int y);
// The mark for what can scroll: up and down only, left and right only, or all four ways.
TPanningShape PanningMarkShape(bool horizontal, bool vertical);
// The cursor for the mouse `dx`, `dy` away from where panning started: the mark's shape within
// the dead zone, else the way the view moves, among the ways it can.
TPanningShape PanningCursorShape(int dx, int dy, int deadZone, bool horizontal, bool vertical);
// The cursor of a shape: a slot of the screen's cursor table, filled on first use.
TCursor PanningCursor(TPanningShape shape);

// The mark itself: a small popup centred on a screen point, shaped like its picture, that takes
// neither the mouse nor the activation.
class TPanningWindow {
public:
    TPanningWindow(TPoint centre, TPanningShape shape);
    ~TPanningWindow();
    TPanningWindow(const TPanningWindow&) = delete;
    TPanningWindow& operator=(const TPanningWindow&) = delete;
    HWND Handle() const { return window_; }
    TPanningShape Shape() const { return shape_; }

private:
    void WindowProc(TMessage& message);
    HWND window_ = 0;
    TPanningShape shape_;
};

}  // namespace rv
