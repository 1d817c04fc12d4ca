#pragma once

#include "platform/framework/custom_controls.h"

namespace rv {

enum class TTrackBarOrientation { trHorizontal, trVertical };
using enum TTrackBarOrientation;

// A plain track bar: a thumb on a channel, moved with the mouse or the arrow keys. Its low end is
// at the left, or at the top when vertical.
class TTrackBar : public TCustomControl {
public:
    explicit TTrackBar(TComponent* owner);
    std::string ClassName() const override { return "TTrackBar"; }

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    // Kept inside Min ... Max.
    int Position() const { return position_; }
    void SetPosition(int value);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation value);

    // Fires when Position changes, whoever moved it.
    TNotifyEvent OnChange;

    void WndProc(TMessage& message) override;

protected:
    virtual void DoChange();
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void KeyDown(int& key, TShiftState shift) override;

private:
    // The thumb's centre runs along the channel from kEnd to length - kEnd.
    static constexpr int kEnd = 8;
    int Length() const { return orientation_ == trHorizontal ? Width() : Height(); }
    int Across() const { return orientation_ == trHorizontal ? Height() : Width(); }
    int PositionAt(int x, int y) const;
    int CentreOf(int position) const;

    int min_ = 0;
    int max_ = 10;
    int position_ = 0;
    TTrackBarOrientation orientation_ = trHorizontal;
};

}  // namespace rv
