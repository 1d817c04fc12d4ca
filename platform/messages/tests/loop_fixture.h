#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "platform/messages/application.h"

namespace rv::test {

// A fresh application object per test, and a loop that runs until a condition holds.
class LoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        app = std::make_unique<TApplication>();
        app->Initialize();
    }
    void TearDown() override { app.reset(); }

    // Runs the message loop until `done` holds (checked on every idle pass); false after
    // `timeoutMs` without it.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        bool met = false;
        // A watchdog window keeps the loop turning while the test waits on other threads.
        const HWND watchdog = AllocateHWnd([](TMessage&) {});
        SetTimer(watchdog, 1, 10);
        app->OnIdle = [&](bool&) {
            met = done();
            if (met || std::chrono::steady_clock::now() > deadline) app->Terminate();
        };
        app->Run();
        app->OnIdle = nullptr;
        DeallocateHWnd(watchdog);
        return met;
    }

    // Runs the loop until a timer of `ms` milliseconds started now has ticked. Timers tick in the
    // order they fall due, also when the loop runs late: by then every timer due earlier has had
    // its turn.
    void RunPastTimer(unsigned ms) {
        bool ticked = false;
        const HWND fence = AllocateHWnd([&](TMessage& m) { ticked = ticked || m.Msg == WM_TIMER; });
        SetTimer(fence, 1, ms);
        EXPECT_TRUE(RunUntil([&] { return ticked; }));
        DeallocateHWnd(fence);
    }

    // Runs `work` in a thread of its own and the loop until it has returned; `meanwhile` runs in
    // this thread once the other has started.
    bool RunAlongside(const std::function<void()>& work,
                      const std::function<void()>& meanwhile = {}) {
        std::atomic<bool> done{false};
        std::thread thread([&] {
            work();
            done = true;
        });
        if (meanwhile) meanwhile();
        const bool met = RunUntil([&] { return done.load(); });
        thread.join();
        return met;
    }

    std::unique_ptr<TApplication> app;
};

}  // namespace rv::test
