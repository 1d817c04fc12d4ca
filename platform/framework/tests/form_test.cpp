#include <gtest/gtest.h>

#include <QApplication>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/framework/form.h"
#include "platform/framework/modal_script.h"
#include "platform/windows/screens.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_host.h"

namespace rv {
namespace {

// Runs what the loop has waiting (posted messages, the toolkit's window events).
void Settle() {
    for (int i = 0; i < 3; ++i) test::App().ProcessMessages();
}

struct Exceptions {
    Exceptions() {
        test::App().OnException = [this](const std::exception& e) { seen.push_back(e.what()); };
    }
    ~Exceptions() { test::App().OnException = nullptr; }
    std::vector<std::string> seen;
};

TEST(Form, ShowingRaisesOnShowFirstThenCentresAndAppliesTheState) {
    test::App();
    Exceptions errors;
    TForm form(nullptr);
    form.SetBounds(5, 5, 200, 100);
    form.Position = poScreenCenter;
    form.SetWindowState(wsMaximized);  // kept until shown
    EXPECT_FALSE(IsZoomed(form.Handle()));
    bool visibleInHandler = true;
    form.OnShow = [&](TObject*) {
        visibleInHandler = IsWindowVisible(form.Handle());
        throw std::runtime_error("restore failed");
    };
    form.Show();
    Settle();
    EXPECT_FALSE(visibleInHandler);
    EXPECT_EQ(errors.seen, std::vector<std::string>{"restore failed"});  // and the show went on
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(IsZoomed(form.Handle()));
    EXPECT_EQ(form.WindowState(), wsMaximized);
    // The bounds are the maximised ones; the placement keeps the centred normal ones.
    EXPECT_EQ(form.BoundsRect(), GetWindowBounds(form.Handle()));
    TWindowPlacement p;
    GetWindowPlacement(form.Handle(), p);
    TRect work = ScreenWorkAreas().front();
    EXPECT_EQ(p.rcNormalPosition, Bounds(work.Left + (work.Width() - 200) / 2,
                                         work.Top + (work.Height() - 100) / 2, 200, 100));

    // Restored through the system command, it follows the window again.
    PostMessage(form.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Settle();
    EXPECT_EQ(form.WindowState(), wsNormal);
    EXPECT_EQ(form.BoundsRect(), p.rcNormalPosition);
    form.SetBounds(40, 50, 300, 200);
    EXPECT_EQ(GetWindowBounds(form.Handle()), Bounds(40, 50, 300, 200));
}

TEST(Form, AModalFormIsADialogOfTheWindowThatOpenedItCentredAsPlaced) {
    test::App();
    TForm main(nullptr);
    main.SetBounds(60, 50, 500, 400);
    main.Show();
    const HWND before = test::App().MainWindow();
    test::App().SetMainWindow(main.Handle());
    TForm dialog(nullptr), box(nullptr);
    dialog.Position = poMainFormCenter;
    dialog.SetBounds(0, 0, 200, 100);
    box.Position = poOwnerFormCenter;
    box.SetBounds(0, 0, 120, 60);
    TModalScript script;
    struct Seen {
        bool dialog;
        HWND owner;
        TRect bounds;
    };
    std::vector<Seen> seen;
    auto look = [&](TCustomForm& f) {
        seen.push_back({IsDialogWindow(f.Handle()), GetWindowOwner(f.Handle()), f.BoundsRect()});
    };
    script.Then([&](TCustomForm& f) {
        look(f);
        // A box it opens in turn belongs to it.
        SetFocus(f.Handle());
        Settle();
        box.ShowModal();
        f.ModalResult = mrOk;
    });
    script.Then(look);
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_TRUE(seen[0].dialog);
    EXPECT_EQ(seen[0].owner, main.Handle());
    const TRect m = main.BoundsRect();
    EXPECT_EQ(seen[0].bounds,
              Bounds(m.Left + (m.Width() - 200) / 2, m.Top + (m.Height() - 100) / 2, 200, 100));
    EXPECT_TRUE(seen[1].dialog);
    EXPECT_EQ(seen[1].owner, dialog.Handle());
    // Shown without ShowModal, it is a window of its own again; a dialog border keeps it one.
    EXPECT_FALSE(IsDialogWindow(dialog.Handle()));
    dialog.SetBorderStyle(bsDialog);
    EXPECT_TRUE(IsDialogWindow(dialog.Handle()));
    test::App().SetMainWindow(before);
}

TEST(Form, CloseAsksThenHidesFreesMinimisesOrEndsTheProgram) {
    test::App();
    std::vector<std::string> log;
    auto* form = new TForm(nullptr);
    bool allow = false;
    TCloseAction action = caHide;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        log.push_back("query");
        canClose = allow;
    };
    form->OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("close");
        a = action;
    };
    form->OnDestroy = [&](TObject*) { log.push_back("destroy"); };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Visible());
    allow = true;
    SendMessage(form->Handle(), WM_CLOSE, 0, 0);  // the user's close
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close"}));

    form->Show();
    action = caMinimize;
    form->Close();
    Settle();
    EXPECT_EQ(form->WindowState(), wsMinimized);

    // The main form ends the loop instead.
    test::App().SetMainWindow(form->Handle());
    EXPECT_TRUE(form->IsMainForm());
    action = caHide;
    form->Close();
    EXPECT_TRUE(test::App().Terminated());
    EXPECT_TRUE(form->Visible());
    test::App().SetMainWindow(0);
    test::App().Run();  // takes the request up, as the program's loop would

    // Freed from the loop, raising OnDestroy once.
    log.clear();
    action = caFree;
    form->Close();
    EXPECT_EQ(log, (std::vector<std::string>{"query", "close"}));
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"query", "close", "destroy"}));
}

TEST(Form, AnotherWindowOfTheProgramTakingTheActivationRaisesOnDeactivate) {
    test::App();
    TForm first(nullptr), second(nullptr);
    first.SetBounds(10, 10, 200, 150);
    second.SetBounds(40, 40, 200, 150);
    std::vector<std::string> log;
    first.OnDeactivate = [&](TObject*) { log.push_back("first"); };
    second.OnDeactivate = [&](TObject*) { log.push_back("second"); };
    first.Show();
    second.Show();
    Settle();
    EXPECT_EQ(GetTopWindow(), second.Handle());  // shown last
    log.clear();
    SetFocus(first.Handle());
    Settle();
    EXPECT_EQ(GetActiveWindow(), first.Handle());
    EXPECT_EQ(GetTopWindow(), first.Handle());  // activated last
    SetFocus(second.Handle());
    Settle();
    EXPECT_EQ(log, (std::vector<std::string>{"second", "first"}));
    log = {"first"};
    BringWindowToTop(first.Handle());
    EXPECT_EQ(GetTopWindow(), first.Handle());
    EXPECT_EQ(GetActiveWindow(), second.Handle());  // in front, not activated

    // The user turning to another program deactivates none of the forms.
    QApplication::setActiveWindow(nullptr);
    Settle();
    EXPECT_EQ(GetActiveWindow(), 0u);
    EXPECT_EQ(log, std::vector<std::string>{"first"});
    second.Hide();
    first.Hide();
    EXPECT_EQ(GetTopWindow(), 0u);
}

}  // namespace
}  // namespace rv
