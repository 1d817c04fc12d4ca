#include "platform/framework/form.h"

#include <algorithm>
#include <functional>

#include "platform/framework/internal/menu_views.h"
#include "platform/framework/modal_script.h"
#include "platform/messages/application.h"
#include "platform/windows/screens.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_host.h"

namespace rv {

namespace {

std::vector<TCustomForm*>& FormList() {
    static std::vector<TCustomForm*> forms;
    return forms;
}

TRect CenteredOn(const TRect& area, int width, int height) {
    return Bounds(area.Left + (area.Width() - width) / 2, area.Top + (area.Height() - height) / 2,
                  width, height);
}

}  // namespace

const std::vector<TCustomForm*>& ScreenForms() {
    return FormList();
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
    FormList().push_back(this);
    SetParentFont(false);
    InitVisible(false);  // a form shows when asked to
    SetBounds(0, 0, 400, 300);
}

TCustomForm::~TCustomForm() {
    BeforeDestruction();
    if (menu_) DetachMenuBar(*menu_);
    // The components go while the form is whole: they may still reach it.
    DestroyComponents();
    std::erase(FormList(), this);
}

void TCustomForm::BeforeDestruction() {
    if (destroyRaised_) return;
    destroyRaised_ = true;
    MarkDestroying();
    RunReported([this] { DoDestroy(); });
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    SetLink(activeControl_, control);
}

void TCustomForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    // A minimised or maximised window keeps its bounds and takes these as its normal ones.
    FollowWindow();
}

void TCustomForm::FollowWindow() {
    TRect r = GetWindowBounds(Handle());
    InitBounds(r.Left, r.Top, r.Width(), r.Height());
    if (IsWindowVisible(Handle()))
        windowState_ = IsIconic(Handle())   ? wsMinimized
                       : IsZoomed(Handle()) ? wsMaximized
                                            : wsNormal;
}

int TCustomForm::ShowCommand() const {
    switch (windowState_) {
        case wsMinimized:
            return SW_SHOWMINIMIZED;
        case wsMaximized:
            return SW_SHOWMAXIMIZED;
        default:
            return SW_SHOWNORMAL;
    }
}

void TCustomForm::SetWindowState(TWindowState state) {
    windowState_ = state;
    if (Visible()) ShowWindowCmd(Handle(), ShowCommand());
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style) {
    if (style == borderStyle_) return;
    borderStyle_ = style;
    ApplyDecoration();
}

void TCustomForm::SetBorderIcons(TBorderIcons icons) {
    if (icons == borderIcons_) return;
    borderIcons_ = icons;
    ApplyDecoration();
}

void TCustomForm::ApplyDecoration() {
    bool tool = borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin;
    bool buttons = !tool && borderStyle_ != bsDialog;
    TWindowDecoration d;
    d.frame = borderStyle_ != bsNone;
    d.tool = tool;
    d.dialog = borderStyle_ == bsDialog || modal_;
    d.systemMenu = borderIcons_ & biSystemMenu;
    d.minimizeBox = buttons && (borderIcons_ & biMinimize);
    d.maximizeBox = buttons && (borderIcons_ & biMaximize);
    d.sizeable = borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin;
    SetWindowDecoration(Handle(), d);
}

void TCustomForm::SetMenu(TMainMenu* menu) {
    TMainMenu* old = menu_;
    if (!SetLink(menu_, menu)) return;
    if (old) DetachMenuBar(*old);
    if (menu_) AttachMenuBar(Handle(), *menu_);
}

bool TCustomForm::IsMainForm() const {
    return Application && Application->MainWindow() == Handle();
}

void TCustomForm::PlaceOnShow() {
    TRect area;
    switch (Position) {
        case poScreenCenter:
        case poDesktopCenter:
            area = ScreenWorkAreas().front();
            break;
        case poMainFormCenter:
            area = Application && Application->MainWindow() && !IsMainForm()
                       ? GetWindowBounds(Application->MainWindow())
                       : ScreenWorkAreas().front();
            break;
        case poOwnerFormCenter:
            if (auto* owner = dynamic_cast<TCustomForm*>(Owner()))
                area = owner->BoundsRect();
            else
                area = ScreenWorkAreas().front();
            break;
        default:
            return;
    }
    TRect r = CenteredOn(area, Width(), Height());
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomForm::VisibleChanged() {
    if (!Visible()) {
        ShowWindow(Handle(), false);
        DoHide();
        return;
    }
    // A failing handler is shown and the form still appears.
    RunReported([this] { DoShow(); });
    if (!Visible()) return;  // a handler hid it again
    PlaceOnShow();
    ShowWindowCmd(Handle(), ShowCommand());
    // The keys enter the form at its active control, as a Tab would bring them: an edit selects
    // its text, so that what is typed first replaces it.
    if (windowState_ != wsMinimized && activeControl_ && activeControl_->CanFocus())
        activeControl_->SetFocusByTab(true);
}

void TCustomForm::Close() {
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (IsMainForm()) return Application->Terminate();
    switch (action) {
        case caHide:
            Hide();
            break;
        case caMinimize:
            SetWindowState(wsMinimized);
            break;
        default:
            Release();
            break;
    }
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_)
        throw EInvalidOperation("Cannot make a visible window modal");
    if (!Application) throw EInvalidOperation("No application object");
    modal_ = true;
    ModalResult = mrNone;
    // A dialog of the window the user was working in.
    HWND owner = GetActiveWindow();
    if (!owner || owner == Handle()) owner = Application->MainWindow();
    SetWindowOwner(Handle(), owner == Handle() ? 0 : owner);
    ApplyDecoration();
    SetWindowModal(Handle(), true);
    struct Ending {
        TCustomForm& form;
        ~Ending() {
            form.modal_ = false;
            RunReported([this] { form.Hide(); });
            SetWindowModal(form.Handle(), false);
            form.ApplyDecoration();
        }
    } ending{*this};
    Show();
    if (TModalScript* script = TModalScript::Current()) {
        Application->ProcessMessages();
        script->Drive(*this);
    }
    for (;;) {
        if (ModalResult == mrNone) {
            // What is waiting may decide already; only then the loop waits for more.
            Application->ProcessMessages();
            if (ModalResult == mrNone && Visible() && !Application->Terminated())
                Application->HandleMessage();
        }
        // The program ending, or the form hidden meanwhile, ends the loop without asking.
        if (Application->Terminated()) ModalResult = mrCancel;
        if (Application->Terminated() || !Visible()) {
            if (ModalResult == mrNone) ModalResult = mrCancel;
            break;
        }
        if (ModalResult == mrNone) continue;
        const TModalResult asked = ModalResult;
        CloseModal();
        if (ModalResult != mrNone) break;
        // The form stayed: a script plays the user's next move on it, as a user would on seeing
        // it still there. A form that refuses even the Cancel of a script without steps waits.
        if (TModalScript* script = TModalScript::Current();
            script && (script->Pending() > 0 || asked != mrCancel))
            script->Drive(*this);
    }
    return ModalResult;
}

void TCustomForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        ModalResult = mrNone;
    else if (action == caFree)
        Release();
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Release() {
    PostMessage(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::DoShow() {
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide() {
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

void TCustomForm::DoDestroy() {
    if (OnDestroy) OnDestroy(this);
}

void TCustomForm::Deactivate() {
    if (OnDeactivate) OnDeactivate(this);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == activeControl_) activeControl_ = nullptr;
    if (component == menu_) menu_ = nullptr;
}

void TCustomForm::SelectNext(bool forward) {
    std::vector<TWinControl*> stops;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
        for (int i = 0; i < w->ControlCount(); ++i)
            if (auto* child = dynamic_cast<TWinControl*>(w->Controls(i))) {
                if (child->TabStop && child->CanFocus()) stops.push_back(child);
                collect(child);
            }
    };
    collect(this);
    if (stops.empty()) return;
    auto it = std::find(stops.begin(), stops.end(), activeControl_);
    size_t index = 0;
    if (it != stops.end()) {
        size_t at = size_t(it - stops.begin());
        index = forward ? (at + 1) % stops.size() : (at + stops.size() - 1) % stops.size();
    }
    stops[index]->SetFocusByTab(forward);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_TEXTCHANGED:
            SetWindowText(Handle(), Caption());
            break;
        case CM_DIALOGKEY:
            Broadcast(m);
            if (m.Result == 0 && m.WParam == WPARAM(VK_TAB)) {
                SelectNext(GetKeyState(VK_SHIFT) >= 0);
                m.Result = 1;
            }
            return;
        case WM_WINDOWPOSCHANGED:
            FollowWindow();
            return;
        case WM_CLOSE:
            Close();
            return;
        case WM_ACTIVATE:
            if (m.WParam == WA_INACTIVE && m.LParam != 0 && !Destroying() && Visible())
                RunReported([this] { Deactivate(); });
            break;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<TMinMaxInfo*>(m.LParam);
            if (!info) break;
            if (Constraints.MinWidth > 0) info->ptMinTrackSize.X = Constraints.MinWidth;
            if (Constraints.MinHeight > 0) info->ptMinTrackSize.Y = Constraints.MinHeight;
            if (Constraints.MaxWidth > 0) info->ptMaxTrackSize.X = Constraints.MaxWidth;
            if (Constraints.MaxHeight > 0) info->ptMaxTrackSize.Y = Constraints.MaxHeight;
            return;
        }
        case WM_SYSCOMMAND:
            switch (m.WParam & 0xFFF0) {
                case SC_MOVE:
                    return BeginWindowMove(Handle());
                case SC_MINIMIZE:
                    return SetWindowState(wsMinimized);
                case SC_MAXIMIZE:
                    return SetWindowState(wsMaximized);
                case SC_RESTORE:
                    return SetWindowState(wsNormal);
                default:
                    break;
            }
            break;
        case CM_RELEASE:
            delete this;
            return;
        default:
            break;
    }
    TWinControl::WndProc(m);
}

}  // namespace rv
