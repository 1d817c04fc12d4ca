#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/framework/win_control.h"

namespace rv {

// Messages of the hook list's own window, both carrying a TControlHook* in LParam: subclass
// again after the control's window was destroyed, and free a control hook nobody uses.
inline constexpr UINT CM_RECREATEWINDOW = CM_BASE + 82;
inline constexpr UINT CM_DESTROYHOOK = CM_BASE + 83;

// Handled set by a handler ends the round: no later handler of the round is asked, and a
// message handled before the control saw it never reaches the control (except WM_DESTROY).
using THookMessageEvent = std::function<void(TObject* sender, TMessage& msg, bool& handled)>;

class TControlHook;

// Watches, and may answer, the messages sent to a windowed control's window, before the
// control's own window procedure runs and after it. Hooks on one control are asked last
// attached first.
class TRxWindowHook : public TComponent {
public:
    explicit TRxWindowHook(TComponent* owner);
    ~TRxWindowHook() override;
    std::string ClassName() const override { return "TRxWindowHook"; }

    // Attached to the control's hooks while active and given a control.
    bool Active() const { return active_; }
    void SetActive(bool active);
    TWinControl* WinControl() const { return control_; }
    void SetWinControl(TWinControl* control);

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    virtual void DoBeforeMessage(TMessage& msg, bool& handled);
    virtual void DoAfterMessage(TMessage& msg, bool& handled);
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TControlHook;
    void HookControl();
    void UnhookControl();

    bool active_ = true;
    TWinControl* control_ = nullptr;
    TControlHook* controlHook_ = nullptr;
};

// The one replacement of a control's window procedure that passes each message to the hooks
// attached to the control. It lives while any hook is attached and is freed later, from the
// hook list's window, never from inside its own procedure.
class TControlHook {
public:
    explicit TControlHook(TWinControl* control);
    ~TControlHook();
    TControlHook(const TControlHook&) = delete;
    TControlHook& operator=(const TControlHook&) = delete;

    TWinControl* Control() const { return control_; }
    int HookCount() const { return int(hooks_.size()); }

    // The window procedure is replaced when the first hook arrives and put back when the last
    // one leaves.
    void Attach(TRxWindowHook* hook);
    void Detach(TRxWindowHook* hook);

    void Subclass();
    void Unsubclass();

private:
    struct Link;
    struct HookProc;
    void HookWndProc(TMessage& m);
    bool Calling() const;
    void Ask(void (TRxWindowHook::*ask)(TMessage&, bool&), TMessage& m, bool& handled);

    TWinControl* control_;
    HWND wnd_ = 0;
    std::vector<TRxWindowHook*> hooks_;
    std::shared_ptr<Link> link_;
    bool destroying_ = false;
};

// The control hook of a control, made when it has none.
TControlHook* GetControlHook(TWinControl* control);

}  // namespace rv
