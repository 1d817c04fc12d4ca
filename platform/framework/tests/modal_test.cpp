#include <gtest/gtest.h>

#include "platform/framework/application_events.h"
#include "platform/framework/edit.h"
#include "platform/framework/form.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/top_level_window.h"

namespace rv {
namespace {

struct Dialog {
    Dialog() {
        test::App();
        form.SetCaption("Track Properties");
        form.SetBounds(0, 0, 300, 200);
        title->SetParent(&form);
    }
    TForm form{nullptr};
    TEdit* title = new TEdit(&form);
};

TEST(ShowModal, AScriptedStepFillsTheFormAndItsResultEndsTheLoop) {
    Dialog d;
    TModalScript script;
    bool modalMeanwhile = false;
    script.Then([&](TCustomForm& form) {
        modalMeanwhile = IsWindowModal(form.Handle()) && IsWindowVisible(form.Handle());
        d.title->SetText("Intro");
        form.ModalResult = mrOk;
    });
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    EXPECT_TRUE(modalMeanwhile);
    EXPECT_EQ(d.title->Text(), "Intro");
    EXPECT_FALSE(d.form.Visible());
    EXPECT_FALSE(IsWindowModal(d.form.Handle()));

    // A step that decides nothing, and a form that finds no step, are cancelled.
    script.Then([](TCustomForm&) {});
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    EXPECT_EQ(script.Shown, (std::vector<std::string>{"Track Properties", "Track Properties",
                                                      "Track Properties"}));

    d.form.Show();
    EXPECT_THROW(d.form.ShowModal(), EInvalidOperation);
}

TEST(ShowModal, AFormThatRefusesToCloseIsHandedTheNextStep) {
    Dialog d;
    TModalScript script;
    d.form.OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = d.form.ModalResult != mrOk || !d.title->Text().empty();
    };
    script.Then([](TCustomForm& form) { form.ModalResult = mrOk; });
    script.Then([&](TCustomForm& form) {
        d.title->SetText("Intro");
        form.ModalResult = mrOk;
    });
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    EXPECT_EQ(script.Shown, (std::vector<std::string>{"Track Properties", "Track Properties"}));

    // Refused, with no step left: cancelled like a form that found none.
    d.title->SetText("");
    script.Then([](TCustomForm& form) { form.ModalResult = mrOk; });
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    EXPECT_EQ(script.Shown.size(), 4u);
}

TEST(ShowModal, TheLoopRunsUntilAResultThatCloseQueryAndOnCloseLetStand) {
    Dialog d;
    int ticks = 0, idles = 0, queries = 0;
    auto* events = new TApplicationEvents(&d.form);
    events->OnIdle = [&](TObject*, bool&) { ++idles; };
    // The user: first OK, which the form refuses, then OK again, then the window's close box.
    HWND user = AllocateHWnd([&](TMessage& m) {
        if (m.Msg != WM_TIMER) return;
        ++ticks;
        if (ticks <= 2) d.form.ModalResult = mrOk;
    });
    d.form.OnCloseQuery = [&](TObject*, bool& canClose) { canClose = ++queries > 1; };
    SetTimer(user, 1, 10);
    EXPECT_EQ(d.form.ShowModal(), mrOk);
    EXPECT_EQ(ticks, 2);
    EXPECT_GT(idles, 0);

    // Close is Cancel for a modal form; OnClose may keep it open once.
    int closes = 0;
    d.form.OnCloseQuery = nullptr;
    d.form.OnClose = [&](TObject*, TCloseAction& action) {
        if (++closes == 1) action = caNone;
    };
    SetWindowProc(user, [&](TMessage& m) {
        if (m.Msg == WM_TIMER) PostMessage(d.form.Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    EXPECT_EQ(closes, 2);

    // The program ending ends the loop even while the form refuses to close.
    d.form.OnClose = nullptr;
    d.form.OnCloseQuery = [](TObject*, bool& canClose) { canClose = false; };
    SetWindowProc(user, [](TMessage& m) {
        if (m.Msg == WM_TIMER) test::App().Terminate();
    });
    EXPECT_EQ(d.form.ShowModal(), mrCancel);
    EXPECT_FALSE(d.form.Visible());
    test::App().Run();  // takes the request up again

    // Freed, the events component hears no more idle passes.
    delete events;
    int before = idles;
    SetWindowProc(user, [](TMessage&) {});
    test::App().HandleMessage();  // the timer ends the wait
    EXPECT_EQ(idles, before);
    KillTimer(user, 1);
    DeallocateHWnd(user);
}

}  // namespace
}  // namespace rv
