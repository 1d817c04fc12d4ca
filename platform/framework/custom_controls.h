#pragma once

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

// A top-level window holding controls; tests put controls on one to show them.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    std::string ClassName() const override { return "TForm"; }

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    TModalResult ModalResult = mrNone;
    bool Showing() const override { return Visible(); }

    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SelectNext(bool forward);
    TWinControl* activeControl_ = nullptr;
};

using TForm = TCustomForm;

}  // namespace rv
