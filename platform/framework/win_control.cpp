#include "platform/framework/win_control.h"

#include <algorithm>
#include <unordered_map>

#include "platform/framework/custom_controls.h"
#include "platform/framework/drag_loop.h"
#include "platform/windows/window_host.h"

namespace rv {
namespace {

std::unordered_map<HWND, TWinControl*>& WindowControls() {
    static std::unordered_map<HWND, TWinControl*> controls;
    return controls;
}

}  // namespace

TWinControl* FindControl(HWND wnd) {
    auto it = WindowControls().find(wnd);
    return it == WindowControls().end() ? nullptr : it->second;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    InitColor(clBtnFace);
    handle_ = CreateHostWindow([this](TMessage& m) {
        if (dying_)
            DefHostWindowProc(handle_, m);
        else if (!FrameworkDragMessage(handle_, m))  // a running drag sees the input first
            WndProc(m);
    });
    WindowControls()[handle_] = this;
}

TWinControl::~TWinControl() {
    ForgetFrameworkDragControl(this);
    MarkDestroying();
    DestroyComponents();
    dying_ = true;
    // Children owned elsewhere lose their parent rather than point at a freed one.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        RemoveControl(child);
    }
    if (Parent()) Parent()->RemoveControl(this);
    WindowControls().erase(handle_);
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
    if (control->Align() != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (captureControl_ == control) captureControl_ = nullptr;
    if (hoverControl_ == control) hoverControl_ = nullptr;
    control->parent_ = nullptr;
    if (auto* win = dynamic_cast<TWinControl*>(control)) SetParentWindow(win->handle_, 0);
    if (control->Align() != alNone && !dying_) Realign();
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
    bool resized = width != Width() || height != Height();
    InitBounds(left, top, width, height);
    SetWindowBounds(handle_, BoundsRect());
    RequestAlign();
    if (resized) Realign();
}

void TWinControl::BringToFront() {
    TControl::BringToFront();
    BringWindowToTop(handle_);
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::Realign() {
    if (aligning_ || dying_) return;
    aligning_ = true;
    TRect rest = ClientRect();
    AdjustClientRect(rest);
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> row;
        for (TControl* c : controls_)
            if (c->Align() == align && c->Visible()) row.push_back(c);
        // In the order they stand now, from the edge inwards; ties keep the order of creation.
        std::stable_sort(row.begin(), row.end(), [align](TControl* a, TControl* b) {
            switch (align) {
                case alTop:
                    return a->Top() < b->Top();
                case alBottom:
                    return a->Top() + a->Height() > b->Top() + b->Height();
                case alLeft:
                    return a->Left() < b->Left();
                case alRight:
                    return a->Left() + a->Width() > b->Left() + b->Width();
                default:
                    return false;
            }
        });
        for (TControl* c : row) {
            int w = std::max(0, rest.Width()), h = std::max(0, rest.Height());
            switch (align) {
                case alTop:
                    c->SetBounds(rest.Left, rest.Top, w, c->Height());
                    rest.Top += c->Height();
                    break;
                case alBottom:
                    c->SetBounds(rest.Left, rest.Bottom - c->Height(), w, c->Height());
                    rest.Bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetBounds(rest.Left, rest.Top, c->Width(), h);
                    rest.Left += c->Width();
                    break;
                case alRight:
                    c->SetBounds(rest.Right - c->Width(), rest.Top, c->Width(), h);
                    rest.Right -= c->Width();
                    break;
                default:
                    c->SetBounds(rest.Left, rest.Top, w, h);
                    break;
            }
        }
    }
    aligning_ = false;
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

void TWinControl::SetFocusByTab(bool forward) {
    if (TCustomForm* form = GetParentForm()) form->SetActiveControl(this);
    SetWindowFocusable(handle_, true);
    rv::SetFocus(handle_, forward ? TFocusCause::fcTab : TFocusCause::fcBacktab);
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
    HWND self = handle_;
    target->WndProc(forwarded);
    m.Result = forwarded.Result;
    // The window still asks for the context menu, which goes to the control under the mouse.
    if (m.Msg == WM_RBUTTONUP && IsHostWindow(self)) DefHostWindowProc(self, m);
    return true;
}

void TWinControl::RouteContextMenu(TMessage& m) {
    TPoint at = rv::ScreenToClient(handle_, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
    if (TControl* child = ControlAtPos(at)) {
        child->WndProc(m);
        if (m.Result) return;
    }
    TControl::WndProc(m);
    // Nobody here has a menu: the parent may.
    if (!m.Result && Parent()) Parent()->WndProc(m);
}

bool TWinControl::IsMenuKey(int key) {
    TShortCut shortCut = ShortCut(key, KeyboardShiftState());
    for (TControl* c = this; c; c = c->Parent())
        if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(shortCut)) return true;
    TCustomForm* form = GetParentForm();
    return form && form->Menu() && form->Menu()->IsShortCut(shortCut);
}

// A hint of the windowless control under the mouse, or else of this one: the text before any
// "|" (what follows is the long form, for status lines).
void TWinControl::ShowHintOf(THintInfo& info) {
    TControl* under = ControlAtPos(info.CursorPos);
    TControl* source = under ? under : this;
    if (!source->ShowHint || source->Hint.empty()) return;
    info.HintStr = source->Hint.substr(0, source->Hint.find('|'));
    if (under) info.CursorRect = under->BoundsRect();
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
        case CN_KEYDOWN:
        case CN_SYSKEYDOWN:
            m.Result = IsMenuKey(int(m.WParam)) ? 1 : 0;
            return;
        case WM_SETCURSOR: {
            // Over a windowless control, its cursor.
            if (LOWORD(m.LParam) != HTCLIENT) break;
            TControl* under = captureControl_
                                  ? captureControl_
                                  : ControlAtPos(rv::ScreenToClient(handle_, GetCursorPos()));
            if (!under) break;
            under->Perform(WM_SETCURSOR, m.WParam, m.LParam);
            if (under->Cursor() == crDefault) break;
            rv::SetCursor(under->Cursor());
            m.Result = 1;
            return;
        }
        case CM_HINTSHOW:
            if (m.LParam) ShowHintOf(*reinterpret_cast<THintInfo*>(m.LParam));
            return;
        case CM_DRAG:
            // The drag's target at a point: an enabled windowless child there, else the window.
            if (const auto* rec = reinterpret_cast<const TDragRec*>(m.LParam);
                rec && TDragMessage(m.WParam) == dmFindTarget) {
                TControl* child = ControlAtPos(rv::ScreenToClient(handle_, rec->Pos));
                m.Result = reinterpret_cast<LRESULT>(
                    child && child->Enabled() ? child : static_cast<TControl*>(this));
                return;
            }
            break;
        case WM_CONTEXTMENU:
            RouteContextMenu(m);
            return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            if (DialogKey(m)) return;
            int key = int(m.WParam);
            KeyDown(key, KeyboardShiftState());
            if (key == 0) return;
            m.WParam = WPARAM(key);  // the default handling acts on the key the handler left
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
            m.WParam = WPARAM(ch);  // the default handling types what the handler left
            break;
        }
        case CM_DIALOGKEY:
        case CM_DIALOGCHAR:
            Broadcast(m);
            return;
        case WM_SIZE:
            Realign();
            Resize();
            break;
        case CM_ENABLEDCHANGED:
            EnableWindow(handle_, Enabled());
            break;
        case WM_SYSCOLORCHANGE:
            // The desktop tells top-level windows only; every control hears of it.
            for (TControl* c : std::vector<TControl*>(controls_))
                c->Perform(dynamic_cast<TWinControl*>(c) ? WM_SYSCOLORCHANGE : CM_SYSCOLORCHANGE);
            Perform(CM_SYSCOLORCHANGE);
            return;
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
