#pragma once

#include <vector>

#include "platform/framework/control.h"
#include "platform/windows/window_host.h"

namespace rv {

// A control with a window of its own: it receives input and focus and hosts child controls.
// Controls without a window (TGraphicControl) get their mouse messages and paint through it.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    HWND Handle() const { return handle_; }

    int ControlCount() const { return int(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(index); }
    // The visible, enabled control without a window at the client point, topmost first.
    TControl* ControlAtPos(TPoint p) const;

    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    bool Showing() const override;
    void BringToFront() override;

    // Places the aligned children in the client area (AdjustClientRect tells what of it they
    // may take): top ones from the top down, then bottom, left and right ones, in the order of
    // their positions, and the client ones in what is left. Runs by itself whenever an aligned
    // child or this control changes size, alignment or visibility.
    void Realign();

    bool TabStop = false;
    void SetTabStop(bool value);
    virtual bool CanFocus() const;
    bool Focused() const;
    virtual void SetFocus();
    // The focus arriving by Tab (Shift+Tab: not `forward`): an edit takes it with its text
    // selected, so that typing replaces the text.
    void SetFocusByTab(bool forward);

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;

    void WndProc(TMessage& message) override;
    void DefaultHandler(TMessage& message) override;
    void Invalidate() override;
    void Update() override;
    void SetMouseCapture(bool capture) override;
    void SetCursor(TCursor cursor) override;

    // Sends the message to every child control in turn until one sets a non-zero result.
    void Broadcast(TMessage& message);

    // Paints the control and its windowless children into `canvas` (the client at the canvas's
    // origin), as the window's paint message does.
    void PaintTo(TCanvas& canvas);

protected:
    // The window's own content; the default fills the client with Color.
    virtual void PaintWindow(TCanvas& canvas);
    // The part of the client area that aligned children share; the default is all of it.
    virtual void AdjustClientRect(TRect& rect) const;
    // The key is a shortcut of a pop-up menu of this control or a parent, or of the form's
    // menu: the item is clicked and true comes back.
    virtual bool IsMenuKey(int key);
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyUp(int& key, TShiftState shift);
    virtual void KeyPress(char32_t& key);
    void Resize() override;
    void VisibleChanged() override;

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);

private:
    void PaintControls(TCanvas& canvas);
    bool RouteMouseToControl(TMessage& m);
    void TrackHover(TControl* under);
    bool DialogKey(TMessage& m);
    bool DialogChar(TMessage& m);
    void ShowHintOf(THintInfo& info);
    void RouteContextMenu(TMessage& m);

    HWND handle_ = 0;
    std::vector<TControl*> controls_;
    TControl* captureControl_ = nullptr;
    TControl* hoverControl_ = nullptr;
    bool dying_ = false;
    bool aligning_ = false;
    friend class TControl;
};

// The windowed control whose window `wnd` is; nullptr for any other window.
TWinControl* FindControl(HWND wnd);

// A control made in code as a form's resource makes it: owned by `owner`, named, placed on
// `parent` at `bounds`, and aligned.
template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, const char* name, TRect bounds,
               TAlign align = alNone) {
    auto* control = new T(owner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    control->SetAlign(align);
    return control;
}

}  // namespace rv
