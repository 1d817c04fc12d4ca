#include "widgets/lb_speed_button.h"

#include "platform/windows/window_host.h"

namespace rv {

TLbSpeedButton::TLbSpeedButton(TComponent* owner) : TLbButtonBase<TGraphicControl>(owner) {
    ControlStyle = (ControlStyle | csCaptureMouse | csSetCaption | csDoubleClicks) & ~csOpaque;
    alignment_ = taLeftJustify;
    shadowColor_ = clBlack;
}

void TLbSpeedButton::SetDown(bool down) {
    if (down == down_) return;
    down_ = down;
    if (down_) RaiseOthers();
    Refresh();
}

void TLbSpeedButton::SetGroupIndex(int index) {
    groupIndex_ = index;
    if (down_) RaiseOthers();
}

void TLbSpeedButton::RaiseOthers() {
    if (groupIndex_ == 0 || !Parent()) return;
    TWinControl* parent = Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c != this)
            c->Perform(CM_BUTTONPRESSED, WPARAM(groupIndex_), reinterpret_cast<LPARAM>(this));
    }
}

void TLbSpeedButton::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

void TLbSpeedButton::SetStyle(TLbButtonStyle style) {
    // Gradients need more colours than a palette screen has.
    if (style == bsModern && ScreenColorDepth() < 9) style = bsNormal;
    TLbButtonBase::SetStyle(style);
}

void TLbSpeedButton::Refresh() {
    // A transparent button shows its parent, which paints first.
    if (transparent_)
        Invalidate();
    else
        Repaint();
}

void TLbSpeedButton::Click() {
    if (TPopupMenu* menu = PopupMenu()) {
        TPoint corner = ClientToScreen({0, Height()});
        menu->SetPopupComponent(this);
        menu->Popup(corner.X, corner.Y);
    }
    TLbButtonBase::Click();
}

void TLbSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (groupIndex_ == 0 || !down_)
            SetDown(true);
        else if (AllowAllUp)
            SetDown(false);
    }
    TLbButtonBase::MouseDown(button, shift, x, y);
}

void TLbSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && groupIndex_ == 0) SetDown(false);
    TLbButtonBase::MouseUp(button, shift, x, y);
}

void TLbSpeedButton::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_LBUTTONDBLCLK:
            m.Msg = WM_LBUTTONDOWN;
            break;
        case CM_BUTTONPRESSED:
            if (int(m.WParam) == groupIndex_ &&
                reinterpret_cast<TLbSpeedButton*>(m.LParam) != this && down_) {
                down_ = false;
                Refresh();
            }
            return;
        case CM_DIALOGCHAR:
            if (IsAccel(unsigned(m.WParam), Caption()) && Reachable()) {
                bool was = down_;
                down_ = true;
                Refresh();
                Click();
                down_ = was;
                Refresh();
                m.Result = 1;
                return;
            }
            break;
        default:
            break;
    }
    TLbButtonBase::WndProc(m);
}

void TLbSpeedButton::Paint() {
    if (!Visible() || Loading()) return;
    bool keyed = transparent_ || KeyedStyle(style_);
    const TFont& font = mouseInside_ && useHotTrackFont_ ? hotTrackFont_ : Font();
    TCanvas& target = *Canvas();
    target.Draw(0, 0,
                Picture(target, Width(), Height(), keyed, font, lightColor_, shadowColor_,
                        transparent_, mouseInside_, down_));
}

}  // namespace rv
