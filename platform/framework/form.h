#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/framework/menus.h"
#include "platform/framework/win_control.h"

namespace rv {

enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = unsigned;
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// Sizes the user may give a form; 0: no limit.
struct TSizeConstraints {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

class EInvalidOperation : public Exception {
public:
    using Exception::Exception;
};

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

// Posted by Release: the form frees itself once the message arrives.
inline constexpr UINT CM_RELEASE = CM_BASE + 33;

// A top-level window holding controls. Left, Top, Width and Height are its bounds on the screen
// and follow the window when the user moves or sizes it; while it is minimised or maximised they
// give the bounds it has then, and the window's placement keeps the normal ones.
//
// Shown, it raises OnShow before it appears (a handler may still move it), is centred when its
// Position asks for it and appears in its WindowState; unless minimised, it gives the keys to its
// ActiveControl as a Tab would (an edit selects its text, so typing replaces it). Close asks
// OnCloseQuery, then OnClose, and hides the form, frees it, minimises it or, for the application's
// main form, ends the program. The user closing the window is Close.
//
// Shown modally, it keeps the input of the program until it has a ModalResult (set by a button,
// or mrCancel by Close) that OnCloseQuery and OnClose let stand; then it hides, and ShowModal
// returns the result.
//
// When another window of the program becomes the active one, it raises OnDeactivate (not when
// the user turns to another program).
//
// Freed, it raises OnDestroy while all its components are still there. A derived form whose
// OnDestroy handler uses the derived form's own members calls BeforeDestruction at the start of
// its destructor, so that the handler runs while they exist.
class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;
    std::string ClassName() const override { return "TForm"; }

    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    TModalResult ModalResult = mrNone;
    bool Showing() const override { return Visible(); }

    void SetBounds(int left, int top, int width, int height) override;

    // Applied at once when the form is shown, otherwise when it is shown next.
    TWindowState WindowState() const { return windowState_; }
    void SetWindowState(TWindowState state);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons);
    // Where the form goes each time it is shown: poScreenCenter and poDesktopCenter centre it on
    // the primary screen, poMainFormCenter on the main form, poOwnerFormCenter on the form that
    // owns it; the others keep its bounds.
    TPosition Position = poDesigned;

    // The menu bar across the top of the window; the client area starts below it.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    TSizeConstraints Constraints;

    // The application's main window is this form's.
    bool IsMainForm() const;

    // A modal form gets the result mrCancel and closes as its modal loop sees it.
    void Close();
    // Shows the form modally and returns its ModalResult. EInvalidOperation for a form that is
    // visible already or disabled.
    TModalResult ShowModal();
    bool Modal() const { return modal_; }
    // OnCloseQuery's answer; true without a handler.
    virtual bool CloseQuery();
    // Frees the form from the message loop, after the event being handled.
    void Release();
    // Raises OnDestroy, once.
    void BeforeDestruction();

    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnDeactivate;

    void WndProc(TMessage& message) override;

protected:
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void DoDestroy();
    virtual void Deactivate();
    void VisibleChanged() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SelectNext(bool forward);
    void FollowWindow();
    void PlaceOnShow();
    void ApplyDecoration();
    int ShowCommand() const;
    void CloseModal();

    TWinControl* activeControl_ = nullptr;
    TWindowState windowState_ = wsNormal;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TMainMenu* menu_ = nullptr;
    bool destroyRaised_ = false;
    bool modal_ = false;
};

using TForm = TCustomForm;

// The forms that exist now, in the order they were made.
const std::vector<TCustomForm*>& ScreenForms();

}  // namespace rv
