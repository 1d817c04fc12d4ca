#include "player/fat_scroll_bar_style.h"

namespace rv {

TStateStyleProperty::TStateStyleProperty(TColor cold, TColor hot, TColor down)
    : colors_{cold, hot, down} {}

void TStateStyleProperty::SetColor(TPartState state, TColor value) {
    colors_[int(state)] = value;
    Changed();
}

void TStateStyleProperty::SetStyle(TPartState state, TBrushStyle value) {
    styles_[int(state)] = value;
    Changed();
}

void TStateStyleProperty::SetPattern(TPartState state, const TBitmap& value) {
    patterns_[int(state)] = value;
    Changed();
}

void TStateStyleProperty::Assign(const TStateStyleProperty& other) {
    colors_ = other.colors_;
    styles_ = other.styles_;
    patterns_ = other.patterns_;
    Changed();
}

void TStateStyleProperty::Changed() {
    if (OnChange) OnChange();
}

TStyleProperty::TStyleProperty(const TStateStyleProperty& border, const TStateStyleProperty& fill)
    : border_(border), fill_(fill) {
    Connect();
}

TStyleProperty::TStyleProperty(const TStyleProperty& other)
    : border_(other.border_), fill_(other.fill_) {
    Connect();
}

TStyleProperty& TStyleProperty::operator=(const TStyleProperty& other) {
    if (this == &other) return *this;
    // One report for both halves.
    auto report = std::move(OnChange);
    border_.Assign(other.border_);
    fill_.Assign(other.fill_);
    OnChange = std::move(report);
    if (OnChange) OnChange();
    return *this;
}

void TStyleProperty::Connect() {
    auto changed = [this] {
        if (OnChange) OnChange();
    };
    border_.OnChange = changed;
    fill_.OnChange = changed;
}

TStyleProperty DefaultArrowStyle() {
    return {{clWindowText, clWindow, clWindow}, {clWindowText, clWindow, clWindow}};
}

TStyleProperty DefaultArrowButtonStyle() {
    return {{clBtnShadow, clBtnShadow, clWindow}, {clBtnFace, clBtnShadow, clWindowText}};
}

TStyleProperty DefaultTrackStyle() {
    return {{clBtnShadow, clBtnShadow, clWindow}, {clWindow, clBtnShadow, clWindowText}};
}

TStyleProperty DefaultScrollerStyle() {
    return {{clBtnShadow, clBtnShadow, clWindow}, {clBtnFace, clBtnShadow, clWindowText}};
}

}  // namespace rv
