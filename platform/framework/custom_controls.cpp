#include "platform/framework/custom_controls.h"

#include <algorithm>
#include <functional>

#include "platform/windows/window_host.h"

namespace rv {

namespace {

// Lends a paint routine its canvas for the length of one paint, also when the routine throws.
class CanvasLoan {
public:
    CanvasLoan(TCanvas*& slot, TCanvas& canvas) : slot_(slot) { slot_ = &canvas; }
    ~CanvasLoan() { slot_ = nullptr; }
    CanvasLoan(const CanvasLoan&) = delete;
    CanvasLoan& operator=(const CanvasLoan&) = delete;

private:
    TCanvas*& slot_;
};

}  // namespace

void TCustomControl::PaintWindow(TCanvas& canvas) {
    CanvasLoan loan(canvas_, canvas);
    Paint();
}

void TGraphicControl::PaintTo(TCanvas& canvas) {
    CanvasLoan loan(canvas_, canvas);
    Paint();
}

void TGraphicControl::WndProc(TMessage& m) {
    if (m.Msg == WM_PAINT) {
        if (auto* canvas = reinterpret_cast<TCanvas*>(m.WParam)) PaintTo(*canvas);
        return;
    }
    TControl::WndProc(m);
}

}  // namespace rv
