#pragma once

#include "widgets/lb_button_base.h"

namespace rv {

// The owner-drawn tool-bar button: no window and no focus; it stays down while pressed, and
// buttons of one group on one parent (GroupIndex > 0) are down one at a time.
class TLbSpeedButton : public TLbButtonBase<TGraphicControl> {
public:
    explicit TLbSpeedButton(TComponent* owner);
    std::string ClassName() const override { return "TLbSpeedButton"; }

    bool AllowAllUp = false;
    bool Down() const { return down_; }
    void SetDown(bool down);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    void SetStyle(TLbButtonStyle style) override;
    void Click() override;
    void WndProc(TMessage& m) override;

protected:
    void Paint() override;
    void Refresh() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void RaiseOthers();

    bool down_ = false;
    int groupIndex_ = 0;
    bool transparent_ = false;
};

}  // namespace rv
