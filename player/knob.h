#pragma once

#include <cstdint>

#include "platform/framework/custom_controls.h"

namespace rv {

// A round knob turned with the mouse or the keys: its pointer runs from the lower left (Min)
// through the top to the lower right (Max). A label may show the position, and while the mouse
// is over the knob the position it points at.
class TKnob : public TCustomControl {
public:
    explicit TKnob(TComponent* owner);
    std::string ClassName() const override { return "TKnob"; }

    // The range may run either way; Position stays inside it. Every assignment fires OnChange,
    // also one that changes nothing.
    int Min() const { return min_; }
    void SetMin(int value) { SetParams(position_, value, max_); }
    int Max() const { return max_; }
    void SetMax(int value) { SetParams(position_, min_, value); }
    int Position() const { return position_; }
    void SetPosition(int value) { SetParams(value, min_, max_); }

    // The step of Page Up and Page Down.
    std::uint16_t PageSize() const { return pageSize_; }
    void SetPageSize(std::uint16_t value) { pageSize_ = value; }
    TColor LineColor() const { return lineColor_; }
    void SetLineColor(TColor value);
    // The knob returns to 0 when let go and when it loses the focus.
    bool SpringLoaded() const { return springLoaded_; }
    void SetSpringLoaded(bool value);
    // Shows the position followed by the knob's Caption; follows the knob's visibility and
    // enabled state, and is forgotten when freed.
    TControl* PositionLabel() const { return label_; }
    void SetPositionLabel(TControl* label);

    TNotifyEvent OnChange;

    // Degrees per unit of the range, and where the pointer points (see knob_geometry.h).
    double AngleStep() const { return step_; }
    int PointerAngle() const { return angle_; }
    bool Dragging() const override { return dragging_; }

    // The knob is kept square.
    void SetBounds(int left, int top, int width, int height) override;
    void WndProc(TMessage& message) override;

protected:
    virtual void DoChange();
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Every change of Position, Min and Max goes through here.
    void SetParams(int position, int min, int max);
    int PositionAt(int x, int y) const;
    void ShowInLabel(int position);

    int min_ = 0;
    int max_ = 127;
    int position_ = 0;
    std::uint16_t pageSize_ = 10;
    TColor lineColor_ = clActiveCaption;
    bool springLoaded_ = false;
    TControl* label_ = nullptr;
    int diameter_ = 40;
    double step_ = 0;
    int angle_ = 0;
    bool dragging_ = false;
};

}  // namespace rv
