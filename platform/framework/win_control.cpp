#include "platform/framework/win_control.h"

#include <algorithm>

#include "platform/framework/custom_controls.h"
#include "platform/windows/window_host.h"

namespace rv {

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    InitColor(clBtnFace);
    handle_ = CreateHostWindow([this](TMessage& m) {
        if (dying_)
            DefHostWindowProc(handle_, m);
        else
            WndProc(m);
    });
}

TWinControl::~TWinControl() {
    MarkDestroying();
    DestroyComponents();
    dying_ = true;
    // Children owned elsewhere lose their parent rather than point at a freed one.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
    }
    if (Parent()) Parent()->RemoveControl(this);
    DestroyHostWindow(handle_);
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* win = dynamic_cast<TWinControl*>(control)) {
        SetParentWindow(win->handle_, handle_);
        SetWindowBounds(win->handle_, win->BoundsRect());
        ShowWindow(win->handle_, win->Visible());
    }
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (captureControl_ == control) captureControl_ = nullptr;
    if (hoverControl_ == control) hoverControl_ = nullptr;
    control->parent_ = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(control)) SetParentWindow(win->handle_, 0);
}

TControl* TWinControl::ControlAtPos(TPoint p) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        if (dynamic_cast<TWinControl*>(c)) continue;
        if (c->Visible() && c->BoundsRect().Contains(p)) return c;
    }
    return nullptr;
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    InitBounds(left, top, width, height);
    SetWindowBounds(handle_, BoundsRect());
}

TRect TWinControl::ClientRect() const {
    return GetClientRect(handle_);
}

bool TWinControl::Showing() const {
    return Visible() && (!Parent() || Parent()->Showing());
}

void TWinControl::VisibleChanged() {
    ShowWindow(handle_, Visible());
}

void TWinControl::SetTabStop(bool value) {
    TabStop = value;
    SetWindowFocusable(handle_, value);
}

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const {
    return GetFocus() == handle_;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm()) form->SetActiveControl(this);
    SetWindowFocusable(handle_, true);
    rv::SetFocus(handle_);
}

void TWinControl::Invalidate() {
    InvalidateRect(handle_, nullptr);
}
void TWinControl::Update() {
    UpdateWindow(handle_);
}

void TWinControl::SetMouseCapture(bool capture) {
    if (capture)
        rv::SetCapture(handle_);
    else if (GetCapture() == handle_)
        ReleaseCapture();
}

void TWinControl::SetCursor(TCursor cursor) {
    TControl::SetCursor(cursor);
    SetWindowCursor(handle_, cursor);
}

void TWinControl::Broadcast(TMessage& m) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
        c->WndProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::PaintWindow(TCanvas& canvas) {
    canvas.Brush = TBrush{};
    canvas.Brush.Color = Color();
    canvas.FillRect(ClientRect());
}

void TWinControl::PaintControls(TCanvas& canvas) {
    for (TControl* c : controls_) {
        if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
        if (!canvas.RectVisible(c->BoundsRect())) continue;
        int level = canvas.SaveState();
        canvas.IntersectClipRect(c->BoundsRect());
        canvas.MoveOrigin(c->Left(), c->Top());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(&canvas));
        canvas.RestoreState(level);
    }
}

void TWinControl::PaintTo(TCanvas& canvas) {
    int level = canvas.SaveState();
    PaintWindow(canvas);
    canvas.RestoreState(level);
    PaintControls(canvas);
}

void TWinControl::TrackHover(TControl* under) {
    if (under == hoverControl_) return;
    TControl* old = hoverControl_;
    hoverControl_ = under;
    if (old) old->Perform(CM_MOUSELEAVE);
    if (under) under->Perform(CM_MOUSEENTER);
}

// Mouse messages over a windowless child (or for the one holding the capture) go to it, in its
// own coordinates.
bool TWinControl::RouteMouseToControl(TMessage& m) {
    TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    TControl* target = captureControl_;
    if (!target) {
        target = ControlAtPos(p);
        if (m.Msg == WM_MOUSEMOVE) TrackHover(target);
        if (target && !target->Enabled()) return false;
    }
    if (!target) return false;
    TMessage forwarded{m.Msg, m.WParam, MAKELPARAM(p.X - target->Left(), p.Y - target->Top()), 0};
    if (forwarded.Msg == WM_LBUTTONDBLCLK && !(target->ControlStyle & csDoubleClicks))
        forwarded.Msg = WM_LBUTTONDOWN;
    target->WndProc(forwarded);
    m.Result = forwarded.Result;
    return true;
}

bool TWinControl::DialogKey(TMessage& m) {
    int key = int(m.WParam);
    bool arrows = key >= VK_LEFT && key <= VK_DOWN;
    if (key != VK_TAB && key != VK_RETURN && key != VK_ESCAPE && !arrows) return false;
    unsigned code = unsigned(Perform(WM_GETDLGCODE));
    if (code & DLGC_WANTALLKEYS) return false;
    if (arrows && (code & DLGC_WANTARROWS)) return false;
    if (key == VK_TAB && (code & DLGC_WANTTAB)) return false;
    TCustomForm* form = GetParentForm();
    return form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0;
}

bool TWinControl::DialogChar(TMessage& m) {
    if (m.Msg == WM_CHAR && (Perform(WM_GETDLGCODE) & (DLGC_WANTCHARS | DLGC_WANTALLKEYS)))
        return false;
    TCustomForm* form = GetParentForm();
    return form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0;
}

void TWinControl::KeyDown(int& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(int& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::Resize() {
    if (OnResize) OnResize(this);
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: {
            if (RouteMouseToControl(m)) return;
            break;
        }
        case CM_MOUSELEAVE:
            TrackHover(nullptr);
            break;
        case WM_MOUSEWHEEL: {
            // Controls take the wheel as the framework's notification.
            TMessage wheel{CM_MOUSEWHEEL, m.WParam, m.LParam, 0};
            WndProc(wheel);
            m.Result = wheel.Result;
            return;
        }
        case WM_PAINT: {
            auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
            if (canvas) PaintTo(*canvas);
            return;
        }
        case WM_SETFOCUS:
            if (TCustomForm* form = GetParentForm(); form && form != this)
                form->SetActiveControl(this);
            if (OnEnter) OnEnter(this);
            break;
        case WM_KILLFOCUS:
            if (OnExit) OnExit(this);
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (DialogKey(m)) return;
            int key = int(m.WParam);
            KeyDown(key, KeyboardShiftState());
            if (key == 0) return;
            break;
        }
        case WM_KEYUP:
        case WM_SYSKEYUP: {
            int key = int(m.WParam);
            KeyUp(key, KeyboardShiftState());
            if (key == 0) return;
            break;
        }
        case WM_CHAR:
        case WM_SYSCHAR: {
            if (DialogChar(m)) return;
            char32_t ch = char32_t(m.WParam);
            KeyPress(ch);
            if (ch == 0) return;
            break;
        }
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            Broadcast(m);
            return;
        case WM_SIZE:
            Resize();
            break;
        case CM_ENABLEDCHANGED:
            EnableWindow(handle_, Enabled());
            break;
        case CM_FONTCHANGED:
        case CM_COLORCHANGED: {
            UINT notice = m.Msg == CM_FONTCHANGED ? CM_PARENTFONTCHANGED : CM_PARENTCOLORCHANGED;
            for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(notice);
            break;
        }
        default:
            break;
    }
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    DefHostWindowProc(handle_, m);
}

}  // namespace rv
