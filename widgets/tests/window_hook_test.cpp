#include "widgets/window_hook.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/framework/form.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/window_host.h"
#include "widgets/hand_cursors.h"

namespace rv {
namespace {

using Log = std::vector<std::string>;
constexpr UINT kProbe = WM_USER + 7;

struct LoggingForm : TForm {
    explicit LoggingForm(Log& log) : TForm(nullptr), log_(log) {}
    void WndProc(TMessage& m) override {
        if (m.Msg == kProbe || m.Msg == WM_DESTROY) log_.push_back("form");
        TForm::WndProc(m);
        if (m.Msg == kProbe) m.Result = 5;
    }
    Log& log_;
};

// A hook on the form that logs as `name` and, when told, handles before or after.
TRxWindowHook* Hook(TComponent* owner, TWinControl* target, Log& log, const std::string& name,
                    bool* handleBefore = nullptr) {
    auto* hook = new TRxWindowHook(owner);
    hook->BeforeMessage = [&log, name, handleBefore](TObject*, TMessage& m, bool& handled) {
        if (m.Msg != kProbe && m.Msg != WM_DESTROY) return;
        log.push_back(name + " before");
        if (handleBefore && *handleBefore) handled = true;
    };
    hook->AfterMessage = [&log, name](TObject*, TMessage& m, bool&) {
        if (m.Msg != kProbe && m.Msg != WM_DESTROY) return;
        log.push_back(name + " after " + std::to_string(m.Result));
    };
    hook->SetWinControl(target);
    return hook;
}

TEST(WindowHook, HooksSeeTheWindowsMessagesLastAttachedFirst) {
    test::App();
    Log log;
    LoggingForm form(log);
    form.Show();
    Hook(&form, &form, log, "a");
    bool bHandles = false;
    TRxWindowHook* b = Hook(&form, &form, log, "b", &bHandles);

    EXPECT_EQ(SendMessage(form.Handle(), kProbe, 0, 0), 5);
    EXPECT_EQ(log, (Log{"b before", "a before", "form", "b after 5", "a after 5"}));

    // Handled before: neither the earlier hook nor the form sees it.
    log.clear();
    bHandles = true;
    EXPECT_EQ(SendMessage(form.Handle(), kProbe, 0, 0), 0);
    EXPECT_EQ(log, (Log{"b before"}));
    // Perform is the control's own call, not a message to its window.
    log.clear();
    form.Perform(kProbe);
    EXPECT_EQ(log, (Log{"form"}));

    // WM_DESTROY reaches the form even when handled; the hooks come back once the window does.
    log.clear();
    SendMessage(form.Handle(), WM_DESTROY, 0, 0);
    EXPECT_EQ(log, (Log{"b before", "form", "b after 0"}));
    bHandles = false;
    log.clear();
    SendMessage(form.Handle(), kProbe, 0, 0);
    EXPECT_EQ(log, (Log{"form"}));
    test::App().ProcessMessages();
    log.clear();
    SendMessage(form.Handle(), kProbe, 0, 0);
    EXPECT_EQ(log, (Log{"b before", "a before", "form", "b after 5", "a after 5"}));

    // A hook that is freed or switched off leaves; the last one to leave gives the window back.
    log.clear();
    delete b;
    TRxWindowHook* a = dynamic_cast<TRxWindowHook*>(form.Components(0));
    ASSERT_TRUE(a);
    a->SetActive(false);
    SendMessage(form.Handle(), kProbe, 0, 0);
    a->SetActive(true);
    SendMessage(form.Handle(), kProbe, 0, 0);
    EXPECT_EQ(log, (Log{"form", "a before", "form", "a after 5"}));
    a->SetWinControl(nullptr);
    test::App().ProcessMessages();  // the control hook nobody uses is freed
    log.clear();
    SendMessage(form.Handle(), kProbe, 0, 0);
    EXPECT_EQ(log, (Log{"form"}));
}

TEST(WindowHook, AControlFreedUnderItsHookLeavesTheHookWithoutOne) {
    test::App();
    Log log;
    TComponent owner(nullptr);
    auto form = std::make_unique<LoggingForm>(log);
    TRxWindowHook* hook = Hook(&owner, form.get(), log, "h");
    SendMessage(form->Handle(), kProbe, 0, 0);
    form.reset();
    EXPECT_EQ(hook->WinControl(), nullptr);
    test::App().ProcessMessages();
    EXPECT_EQ(log, (Log{"h before", "form", "h after 5"}));
}

TEST(HandCursors, TheTwoSlotsShowTheThemesHands) {
    test::App();
    RegisterHandCursors();
    TForm form(nullptr);
    form.SetCursor(crDragHand);
    EXPECT_EQ(GetWindowCursorShown(form.Handle()), crDragHand);
    form.SetCursor(crHand);
    EXPECT_EQ(GetWindowCursorShown(form.Handle()), crHandPoint);
}

}  // namespace
}  // namespace rv
