#pragma once

#include <array>

#include "platform/framework/custom_controls.h"
#include "player/fat_scroll_bar_layout.h"
#include "player/fat_scroll_bar_style.h"

namespace rv {

// A scroll bar that draws itself: two arrows, the track on either side of the scroller, and the
// scroller, each framed and filled after its style in the state the mouse gives it (cold, hot
// over it, down while pressed). Holding an arrow or the track repeats its step every
// ScrollInterval ms; the scroller can be dragged.
//
// Assignments outside a property's limits are ignored, except ArrowStretch, which is clamped.
class TFatScrollBar : public TGraphicControl {
public:
    explicit TFatScrollBar(TComponent* owner);
    ~TFatScrollBar() override;
    std::string ClassName() const override { return "TFatScrollBar"; }

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind value);
    // 0 <= Min <= Max; a range that shrinks past Position takes it along.
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    // Min ... Max; a change fires OnChange.
    int Position() const { return position_; }
    void SetPosition(int value);
    // 1 <= SmallChange < LargeChange.
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int value);
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int value);
    // 2 ... half the bar's length.
    int ArrowWidth() const { return arrowWidth_; }
    void SetArrowWidth(int value);
    // How far the arrow's triangle reaches into its button, 1 ... 100 percent.
    int ArrowStretch() const { return arrowStretch_; }
    void SetArrowStretch(int value);
    // 2 ... the bar's length less both arrows and one pixel.
    int ScrollerWidth() const { return scrollerWidth_; }
    void SetScrollerWidth(int value);
    // 1 ... 9999 ms.
    int ScrollInterval() const { return scrollInterval_; }
    void SetScrollInterval(int value);

    // Changing a style, or any of its parts, repaints the bar.
    TStyleProperty& StyleArrow() { return styles_[0]; }
    void SetStyleArrow(const TStyleProperty& value) { styles_[0] = value; }
    TStyleProperty& StyleArrowButton() { return styles_[1]; }
    void SetStyleArrowButton(const TStyleProperty& value) { styles_[1] = value; }
    TStyleProperty& StyleTrack() { return styles_[2]; }
    void SetStyleTrack(const TStyleProperty& value) { styles_[2] = value; }
    TStyleProperty& StyleScroller() { return styles_[3]; }
    void SetStyleScroller(const TStyleProperty& value) { styles_[3] = value; }

    TNotifyEvent OnChange;
    TNotifyEvent OnMouseIn;
    TNotifyEvent OnMouseOut;

    // The parts (fat_scroll_bar_layout.h) as they are now.
    const TRect& PartRect(int part) const { return layout_.Parts.at(part); }
    TPartState PartState(int part) const { return states_.at(part); }
    const std::array<TPoint, 3>& ArrowTriangle(int arrow) const { return layout_.Arrows.at(arrow); }
    // The part the left button went down on, kNoPart when none.
    int PressedPart() const { return pressed_; }
    bool Dragging() const override { return dragging_; }
    // The window of the repeat timer; the timer runs while an arrow or the track is held.
    HWND RepeatTimerWindow() const { return timerWindow_; }
    bool Repeating() const { return repeating_; }

    void WndProc(TMessage& message) override;

protected:
    virtual void DoChange();
    void Paint() override;
    void Resize() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    int Length() const { return kind_ == sbHorizontal ? Width() : Height(); }
    void LayOut();
    // Gives each part its state for the mouse at (x, y); with `press` the part under it becomes
    // the pressed one.
    void UpdateStates(TPoint mouse, bool leftDown, bool press);
    void StartRepeat();
    void StopRepeat();
    void RepeatStep();
    void DragTo(TPoint mouse);
    void PaintPart(TCanvas& canvas, int part) const;

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 5;
    int arrowWidth_ = 18;
    int arrowStretch_ = 35;
    int scrollerWidth_ = 18;
    int scrollInterval_ = 50;
    // Arrow, arrow button, track, scroller.
    std::array<TStyleProperty, 4> styles_{DefaultArrowStyle(), DefaultArrowButtonStyle(),
                                          DefaultTrackStyle(), DefaultScrollerStyle()};

    TFatScrollBarLayout layout_;
    std::array<TPartState, kPartCount> states_{};
    int pressed_ = kNoPart;
    bool dragging_ = false;
    int grabOffset_ = 0;
    TPoint lastMouse_{-1, -1};
    TBitmap buffer_;
    HWND timerWindow_ = 0;
    bool repeating_ = false;
};

}  // namespace rv
