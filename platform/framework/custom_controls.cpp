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

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    SetParentFont(false);
    InitVisible(false);  // a form shows when asked to
    SetBounds(0, 0, 400, 300);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    activeControl_ = control;
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeControl_) activeControl_ = nullptr;
}

void TCustomForm::SelectNext(bool forward) {
    std::vector<TWinControl*> stops;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
        for (int i = 0; i < w->ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(w->Controls(i))) {
                if (child->TabStop && child->CanFocus()) stops.push_back(child);
                collect(child);
            }
    };
    collect(this);
    if (stops.empty()) return;
    auto it = std::find(stops.begin(), stops.end(), activeControl_);
    size_t index = 0;
    if (it != stops.end()) {
        size_t at = size_t(it - stops.begin());
        index = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    stops[index]->SetFocus();
}

void TCustomForm::WndProc(TMessage& m) {
    if (m.Msg == CM_TEXTCHANGED) SetWindowText(Handle(), Caption());
    if (m.Msg == CM_DIALOGKEY) {
        Broadcast(m);
        if (m.Result == 0 && m.WParam == WPARAM(VK_TAB)) {
            SelectNext(GetKeyState(VK_SHIFT) >= 0);
            m.Result = 1;
        }
        return;
    }
    TWinControl::WndProc(m);
}

}  // namespace rv
