#include "widgets/lb_button.h"

#include "platform/text/ascii_case.h"
#include "platform/windows/window_host.h"

namespace rv {
namespace {

struct KindEntry {
    TLbButtonKind kind;
    TModalResult result;
    const char* bitmap;
    const char* caption;
};

const KindEntry kKinds[] = {
    {bkOK, mrOk, "LBOK", "OK"},
    {bkCancel, mrCancel, "LBCANCEL", "Abbrechen"},
    {bkHelp, mrNone, "LBHELP", "Hilfe"},
    {bkYes, mrYes, "LBYES", "Ja"},
    {bkNo, mrNo, "LBNO", "Nein"},
    {bkClose, mrNone, "LBCLOSE", "Schließen"},
    {bkAbort, mrAbort, "LBABORT", "Abbrechen"},
    {bkRetry, mrRetry, "LBRETRY", "Wiederholen"},
    {bkIgnore, mrIgnore, "LBIGNORE", "Ignorieren"},
    {bkAll, mrAll, "LBALL", "Alle"},
};

// The form a button belongs to: the first form up its owner chain.
TCustomForm* OwnerForm(const TComponent* c) {
    for (TComponent* o = c->Owner(); o; o = o->Owner())
        if (auto* form = dynamic_cast<TCustomForm*>(o)) return form;
    return nullptr;
}

bool IsPushButton(const TWinControl* control) {
    std::string name = UpperCase(control->ClassName());
    return name.find("BUTTON") != std::string::npos &&
           name.find("RADIOBUTTON") == std::string::npos;
}

}  // namespace

TLbButton::TLbButton(TComponent* owner) : TLbButtonBase<TCustomControl>(owner) {
    ControlStyle = csCaptureMouse | csSetCaption;
    SetTabStop(true);
    SetWindowBounds(Handle(), BoundsRect());
}

void TLbButton::SetKind(TLbButtonKind kind) {
    for (const KindEntry& e : kKinds) {
        if (e.kind != kind) continue;
        numGlyphs_ = 2;
        SetModalResult(e.result);
        glyph_ = LoadLbBitmap(e.bitmap);
        SetCaption(e.caption);
    }
    kind_ = kind;
    Invalidate();
}

void TLbButton::SetModalResult(TModalResult result) {
    modalResult_ = result;
    kind_ = bkCustom;
}

void TLbButton::SetGlyph(const TBitmap& glyph) {
    TLbButtonBase::SetGlyph(glyph);
    kind_ = bkCustom;
}

void TLbButton::SetStyle(TLbButtonStyle style) {
    // The rounded styles let the parent show through their corners.
    SetWindowTransparent(Handle(), KeyedStyle(style));
    TLbButtonBase::SetStyle(style);
}

void TLbButton::Click() {
    pressed_ = true;
    if (!Visible() || !Enabled() || !pressed_) return;
    pressed_ = false;
    if (OnClick) OnClick(this);
    if (modalResult_ != mrNone)
        if (TCustomForm* form = GetParentForm()) form->ModalResult = modalResult_;
    if (TPopupMenu* menu = PopupMenu()) {
        TPoint corner = ClientToScreen({0, Height()});
        menu->SetPopupComponent(this);
        menu->Popup(corner.X, corner.Y);
    }
    if (!OnClick && Action()) Action()->Execute();
}

void TLbButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft && Enabled()) {
        pressed_ = true;
        if (CanFocus()) SetFocus();
        Repaint();
    }
    TLbButtonBase::MouseDown(button, shift, x, y);
}

void TLbButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (pressed_) Click();
        pressed_ = false;
        Repaint();
    }
    TLbButtonBase::MouseUp(button, shift, x, y);
}

void TLbButton::KeyDown(int& key, TShiftState shift) {
    if (Enabled() && (key == VK_RETURN || key == VK_SPACE)) {
        pressed_ = true;
        Repaint();
    }
    TLbButtonBase::KeyDown(key, shift);
}

void TLbButton::KeyUp(int& key, TShiftState shift) {
    // Only the release of a press this button saw: the Enter that closed another window must not
    // click the button that window's closing put the focus on.
    if ((key == VK_RETURN || key == VK_SPACE) && pressed_) {
        Click();
        Repaint();
    }
    TLbButtonBase::KeyUp(key, shift);
}

bool TLbButton::DialogKey(int key) {
    bool mine = (key == VK_RETURN && Default) || (key == VK_ESCAPE && Cancel);
    bool modifiers = KeyboardShiftState() & (ssShift | ssCtrl | ssAlt);
    if (!mine || modifiers || !Visible() || !Enabled()) return false;
    // Enter belongs to a push button that has the focus. Escape has no such owner: a focused
    // button does nothing with it, so the Cancel button always takes it.
    if (key == VK_RETURN)
        if (TCustomForm* form = OwnerForm(this))
            if (TWinControl* active = form->ActiveControl(); active && IsPushButton(active))
                return false;
    pressed_ = true;
    Click();
    return true;
}

void TLbButton::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_DIALOGKEY:
            if (DialogKey(int(m.WParam))) {
                m.Result = 1;
                return;
            }
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(unsigned(m.WParam), Caption()) && Reachable()) {
                pressed_ = true;
                Click();
                m.Result = 1;
                return;
            }
            break;
        case CM_ENABLEDCHANGED:
            pressed_ = false;
            TLbButtonBase::WndProc(m);
            Repaint();
            return;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            TLbButtonBase::WndProc(m);
            Repaint();
            return;
        default:
            break;
    }
    TLbButtonBase::WndProc(m);
}

void TLbButton::Paint() {
    if (!Visible() || Loading() || Destroying()) return;
    TCanvas& target = *Canvas();
    int w = Width(), h = Height();
    bool focused = Focused();
    bool hot = mouseInside_ || focused;
    const TFont& font = hot && useHotTrackFont_ ? hotTrackFont_ : Font();
    bool keyed = KeyedStyle(style_);
    if (style_ == bsOld && focused) {
        TColor light = pressed_ ? shadowColor_ : lightColor_;
        TBitmap picture =
            Picture(target, w - 2, h - 2, keyed, font, light, shadowColor_, false, hot, pressed_);
        picture.SetSize(w, h);
        picture.Canvas().CopyRect({1, 1, w + 1, h + 1}, picture, {0, 0, w, h});
        picture.Canvas().Pen = TPen{};
        picture.Canvas().Brush.Style = bsClear;
        picture.Canvas().Rectangle(0, 0, w, h);
        target.Draw(0, 0, picture);
    } else {
        target.Draw(
            0, 0,
            Picture(target, w, h, keyed, font, lightColor_, shadowColor_, false, hot, pressed_));
    }
    if (focused && Enabled() && style_ != bsShape) target.DrawFocusRect({4, 4, w - 4, h - 4});
}

}  // namespace rv
