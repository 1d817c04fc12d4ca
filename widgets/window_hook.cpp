#include "widgets/window_hook.h"

#include <algorithm>

#include "platform/windows/window_host.h"

namespace rv {

// What the window's procedure reaches: the control hook while it lives, and the procedure it
// replaced, so that a window whose hook went first still gets its messages.
struct TControlHook::Link {
    TControlHook* hook = nullptr;
    TWndMethod previous;
};

// The window procedure of a hooked window.
struct TControlHook::HookProc {
    std::shared_ptr<Link> link;
    void operator()(TMessage& m) const;
};

namespace {

class THookList;

// The list once made, until it is freed at exit.
THookList*& ListSlot() {
    static THookList* list = nullptr;
    return list;
}

// The control hooks of the program, and the window that re-subclasses and frees them.
class THookList {
public:
    THookList() : wnd_(AllocateHWnd([this](TMessage& m) { WndProc(m); })) {}
    ~THookList() {
        while (!hooks_.empty()) delete hooks_.back();
        ListSlot() = nullptr;
        DeallocateHWnd(wnd_);
    }

    HWND Handle() const { return wnd_; }
    std::vector<TControlHook*>& Hooks() { return hooks_; }
    bool Holds(TControlHook* hook) const {
        return std::find(hooks_.begin(), hooks_.end(), hook) != hooks_.end();
    }

private:
    void WndProc(TMessage& m) {
        auto* hook = reinterpret_cast<TControlHook*>(m.LParam);
        if (m.Msg == CM_RECREATEWINDOW && Holds(hook))
            hook->Subclass();
        else if (m.Msg == CM_DESTROYHOOK && Holds(hook) && hook->HookCount() == 0)
            delete hook;
        else
            m.Result = DefWindowProc(wnd_, m.Msg, m.WParam, m.LParam);
    }

    HWND wnd_;
    std::vector<TControlHook*> hooks_;
};

// Made on first use, freed at exit with every control hook.
THookList& List() {
    static THookList list;
    ListSlot() = &list;
    return list;
}

void PostToList(UINT msg, TControlHook* hook) {
    if (THookList* list = ListSlot()) PostMessage(list->Handle(), msg, 0, LPARAM(hook));
}

}  // namespace

TControlHook* GetControlHook(TWinControl* control) {
    for (TControlHook* hook : List().Hooks())
        if (hook->Control() == control) return hook;
    auto* hook = new TControlHook(control);
    List().Hooks().push_back(hook);
    return hook;
}

TControlHook::TControlHook(TWinControl* control)
    : control_(control), link_(std::make_shared<Link>()) {
    link_->hook = this;
}

TControlHook::~TControlHook() {
    destroying_ = true;
    Unsubclass();
    for (TRxWindowHook* hook : hooks_) hook->controlHook_ = nullptr;
    link_->hook = nullptr;
    if (THookList* list = ListSlot()) std::erase(list->Hooks(), this);
}

void TControlHook::Attach(TRxWindowHook* hook) {
    if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
    control_ = hook->control_;
    wnd_ = control_->Handle();
    Subclass();
}

void TControlHook::Detach(TRxWindowHook* hook) {
    std::erase(hooks_, hook);
    if (hooks_.empty()) Unsubclass();
}

void TControlHook::Subclass() {
    // A control lives as long as its window: a window gone means the control may be too.
    if (destroying_ || !control_ || !IsWindow(wnd_) || control_->Destroying()) return;
    TWndMethod current = GetWindowProc(wnd_);
    if (!current) return;
    if (const HookProc* mine = current.target<HookProc>(); mine && mine->link == link_) return;
    link_->previous = std::move(current);
    SetWindowProc(wnd_, HookProc{link_});
}

void TControlHook::Unsubclass() {
    if (!link_->previous || !IsWindow(wnd_)) return;
    TWndMethod current = GetWindowProc(wnd_);
    const HookProc* mine = current.target<HookProc>();
    // Someone who came later still calls this hook's procedure: it stays and passes on.
    if (!mine || mine->link != link_) return;
    SetWindowProc(wnd_, link_->previous);
    link_->previous = nullptr;
}

// Once the window is gone the control may be too: only its handle is asked then.
bool TControlHook::Calling() const {
    return !hooks_.empty() && !destroying_ && IsWindow(wnd_) && control_ && !control_->Destroying();
}

void TControlHook::Ask(void (TRxWindowHook::*ask)(TMessage&, bool&), TMessage& m, bool& handled) {
    std::shared_ptr<Link> link = link_;  // a handler's message loop may free this object
    std::vector<TRxWindowHook*> hooks = hooks_;
    for (auto it = hooks.rbegin(); it != hooks.rend(); ++it) {
        if (link->hook != this || !Calling()) return;
        if (std::find(hooks_.begin(), hooks_.end(), *it) == hooks_.end()) continue;
        ((*it)->*ask)(m, handled);
        if (handled) return;
    }
}

void TControlHook::HookWndProc(TMessage& m) {
    std::shared_ptr<Link> link = link_;
    bool handled = false;
    if (m.Msg != WM_QUIT) Ask(&TRxWindowHook::DoBeforeMessage, m, handled);
    if (link->hook != this) return;
    if (!handled || m.Msg == WM_DESTROY) {
        HWND wnd = wnd_;
        if (TWndMethod previous = link->previous)
            previous(m);
        else
            DefHostWindowProc(wnd, m);
        if (link->hook != this) return;
        Ask(&TRxWindowHook::DoAfterMessage, m, handled);
        if (link->hook != this) return;
    }
    if (m.Msg == WM_DESTROY) {
        bool controlGoes = !IsWindow(wnd_) || !control_ || control_->Destroying();
        Unsubclass();
        // The control may get a window again: subclass that one then.
        if (!destroying_ && !controlGoes) PostToList(CM_RECREATEWINDOW, this);
    }
}

void TControlHook::HookProc::operator()(TMessage& m) const {
    if (link->hook) return link->hook->HookWndProc(m);
    if (TWndMethod previous = link->previous) previous(m);
}

TRxWindowHook::TRxWindowHook(TComponent* owner) : TComponent(owner) {}

TRxWindowHook::~TRxWindowHook() {
    active_ = false;
    SetWinControl(nullptr);
}

void TRxWindowHook::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    if (active)
        HookControl();
    else
        UnhookControl();
}

void TRxWindowHook::SetWinControl(TWinControl* control) {
    if (control == control_) return;
    UnhookControl();
    SetLink(control_, control);
    if (active_) HookControl();
}

void TRxWindowHook::HookControl() {
    if (!active_ || !control_ || Destroying() || controlHook_) return;
    controlHook_ = GetControlHook(control_);
    controlHook_->Attach(this);
}

void TRxWindowHook::UnhookControl() {
    if (!controlHook_) return;
    TControlHook* left = controlHook_;
    controlHook_ = nullptr;
    left->Detach(this);
    // A control hook nobody uses is freed later, outside any window procedure.
    if (left->HookCount() == 0) PostToList(CM_DESTROYHOOK, left);
}

void TRxWindowHook::DoBeforeMessage(TMessage& msg, bool& handled) {
    if (BeforeMessage) BeforeMessage(this, msg, handled);
}

void TRxWindowHook::DoAfterMessage(TMessage& msg, bool& handled) {
    if (AfterMessage) AfterMessage(this, msg, handled);
}

void TRxWindowHook::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == control_) SetWinControl(nullptr);
}

}  // namespace rv
