#pragma once

#include "platform/framework/form.h"
#include "platform/framework/win_control.h"

namespace rv {

// A windowed control that paints itself: Paint draws on Canvas().
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
    std::string ClassName() const override { return "TCustomControl"; }
    // Valid while Paint runs.
    TCanvas* Canvas() const { return canvas_; }

protected:
    virtual void Paint() {}
    void PaintWindow(TCanvas& canvas) override;

private:
    TCanvas* canvas_ = nullptr;
};

// A control without a window, painted by its parent and fed its mouse messages.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
    std::string ClassName() const override { return "TGraphicControl"; }
    TCanvas* Canvas() const { return canvas_; }
    void WndProc(TMessage& message) override;

    // Paints the control into `canvas` with its top-left corner at the canvas's origin.
    void PaintTo(TCanvas& canvas);

protected:
    virtual void Paint() {}

private:
    TCanvas* canvas_ = nullptr;
};

}  // namespace rv
