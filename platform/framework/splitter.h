#pragma once

#include "platform/framework/custom_controls.h"

namespace rv {

// A bar between aligned controls that the user drags to size the control on its aligned side
// (the one to its left for alLeft); the control keeps at least MinSize pixels and leaves at
// least MinSize to the controls that share the rest.
class TSplitter : public TGraphicControl {
public:
    explicit TSplitter(TComponent* owner);
    std::string ClassName() const override { return "TSplitter"; }

    int MinSize = 30;
    // After the user has dragged it.
    TNotifyEvent OnMoved;

    // The control it sizes now, or nullptr.
    TControl* FindControl() const;

    void WndProc(TMessage& message) override;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
    // How far the control may grow: all the room its aligned siblings leave, less MinSize.
    int MaxSize(const TControl& control) const;

    TControl* control_ = nullptr;  // while dragging
    TPoint downAt_;                // screen coordinates
    int startSize_ = 0;
    int maxSize_ = 0;
};

}  // namespace rv
