#pragma once

#include <array>
#include <functional>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/pen_brush.h"

namespace rv {

// The mouse states of a part of the scroll bar.
enum class TPartState { stCold, stHot, stDown };
using enum TPartState;

// A colour, a brush style and a pattern picture for each mouse state. bsPattern without a
// picture alternates the colour's pixels with the bar's own colour; a picture, when there is
// one, is tiled over the part instead of either.
class TStateStyleProperty {
public:
    TStateStyleProperty(TColor cold, TColor hot, TColor down);

    TColor Color(TPartState state) const { return colors_[int(state)]; }
    void SetColor(TPartState state, TColor value);
    TBrushStyle Style(TPartState state) const { return styles_[int(state)]; }
    void SetStyle(TPartState state, TBrushStyle value);
    const TBitmap& Pattern(TPartState state) const { return patterns_[int(state)]; }
    void SetPattern(TPartState state, const TBitmap& value);

    TColor ColorCold() const { return Color(stCold); }
    void SetColorCold(TColor v) { SetColor(stCold, v); }
    TColor ColorHot() const { return Color(stHot); }
    void SetColorHot(TColor v) { SetColor(stHot, v); }
    TColor ColorDown() const { return Color(stDown); }
    void SetColorDown(TColor v) { SetColor(stDown, v); }
    TBrushStyle StyleCold() const { return Style(stCold); }
    void SetStyleCold(TBrushStyle v) { SetStyle(stCold, v); }
    TBrushStyle StyleHot() const { return Style(stHot); }
    void SetStyleHot(TBrushStyle v) { SetStyle(stHot, v); }
    TBrushStyle StyleDown() const { return Style(stDown); }
    void SetStyleDown(TBrushStyle v) { SetStyle(stDown, v); }
    const TBitmap& PatternCold() const { return Pattern(stCold); }
    void SetPatternCold(const TBitmap& v) { SetPattern(stCold, v); }
    const TBitmap& PatternHot() const { return Pattern(stHot); }
    void SetPatternHot(const TBitmap& v) { SetPattern(stHot, v); }
    const TBitmap& PatternDown() const { return Pattern(stDown); }
    void SetPatternDown(const TBitmap& v) { SetPattern(stDown, v); }

    // Takes the other's values (not its change handler) and reports the change.
    void Assign(const TStateStyleProperty& other);

    // Called after every change.
    std::function<void()> OnChange;

private:
    void Changed();

    std::array<TColor, 3> colors_;
    std::array<TBrushStyle, 3> styles_{bsSolid, bsSolid, bsSolid};
    std::array<TBitmap, 3> patterns_;
};

// How one kind of part looks: its frame (Border) and its inside (Fill).
class TStyleProperty {
public:
    TStyleProperty(const TStateStyleProperty& border, const TStateStyleProperty& fill);
    TStyleProperty(const TStyleProperty& other);
    TStyleProperty& operator=(const TStyleProperty& other);

    TStateStyleProperty& Border() { return border_; }
    const TStateStyleProperty& Border() const { return border_; }
    TStateStyleProperty& Fill() { return fill_; }
    const TStateStyleProperty& Fill() const { return fill_; }

    // Called after a change of the border or the fill.
    std::function<void()> OnChange;

private:
    void Connect();

    TStateStyleProperty border_;
    TStateStyleProperty fill_;
};

// The looks the bar starts with.
TStyleProperty DefaultArrowStyle();
TStyleProperty DefaultArrowButtonStyle();
TStyleProperty DefaultTrackStyle();
TStyleProperty DefaultScrollerStyle();

}  // namespace rv
