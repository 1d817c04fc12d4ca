#include <gtest/gtest.h>

#include <QEventLoop>
#include <QGuiApplication>

#include <algorithm>
#include <vector>

#include "platform/messages/application.h"
#include "platform/messages/messages.h"
#include "platform/threads/thread.h"

namespace rv {
namespace {

class GuiApplication : public TApplication {
protected:
    void CreateToolkit() override { new QGuiApplication(ToolkitArgc(), ToolkitArgv()); }
};

// Tells the window from the GUI thread, through Synchronize.
class OneCall : public TThread {
public:
    explicit OneCall(HWND wnd) : wnd_(wnd) {}

protected:
    void Execute() override {
        Synchronize([this] { PostMessage(wnd_, WM_USER + 2, 0, 0); });
    }

private:
    const HWND wnd_;
};

TEST(GuiLoopTest, MessagesTimersAndSynchronizeReachANestedToolkitLoop) {
    GuiApplication app;
    app.Initialize();
    ASSERT_NE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr);

    // A handler that runs a loop of the toolkit's own, as a modal dialog does: posted messages,
    // timers and a worker's Synchronize must still get through to end it.
    std::vector<UINT> seen;
    QEventLoop* nested = nullptr;
    OneCall* worker = nullptr;
    HWND wnd = 0;
    wnd = AllocateHWnd([&](TMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == WM_USER) {
            QEventLoop loop;
            nested = &loop;
            PostMessage(wnd, WM_USER + 1, 0, 0);
            SetTimer(wnd, 1, 10);
            worker = new OneCall(wnd);
            worker->Start();
            loop.exec();
            nested = nullptr;
            app.Terminate();
        } else if (m.Msg == WM_TIMER) {
            KillTimer(wnd, 1);
        }
        if (nested && seen.size() == 4) nested->quit();
    });
    PostMessage(wnd, WM_USER, 0, 0);
    app.Run();
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<UINT>{WM_TIMER, WM_USER, WM_USER + 1, WM_USER + 2}));
    delete worker;
    DeallocateHWnd(wnd);
}

}  // namespace
}  // namespace rv
