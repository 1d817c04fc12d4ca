// Message-only windows: a registry of handles, each with its window procedure and the queue of
// the thread that owns it.

#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "platform/messages/application.h"
#include "platform/messages/messages.h"
#include "platform/messages/thread_queue.h"

namespace rv {

namespace {

struct Window {
    HWND handle = 0;
    // Shared, so that a procedure replaced while it runs lives until it returns.
    std::shared_ptr<const TWndMethod> proc;
    std::shared_ptr<detail::ThreadQueue> queue;
    std::map<UINT_PTR, int> timers;  // id -> toolkit timer; touched in the owner thread only
};

std::mutex g_mutex;
std::unordered_map<HWND, std::shared_ptr<Window>> g_windows;
HWND g_lastHandle = 0;

std::shared_ptr<Window> Find(HWND wnd) {
    std::lock_guard lock(g_mutex);
    const auto it = g_windows.find(wnd);
    return it == g_windows.end() ? nullptr : it->second;
}

LRESULT Dispatch(const Window& window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    const std::shared_ptr<const TWndMethod> proc = window.proc;
    (*proc)(message);
    return message.Result;
}

// Delivery from the queue: the window may have gone since the message was queued.
LRESULT DispatchQueued(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto window = Find(wnd);
    if (!window) return 0;
    try {
        return Dispatch(*window, msg, wParam, lParam);
    } catch (...) {
        detail::ReportLoopException();
        return 0;
    }
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    auto window = std::make_shared<Window>();
    window->proc = std::make_shared<const TWndMethod>(std::move(method));
    window->queue = detail::ThreadQueue::Current();
    window->queue->AttachToolkit();
    std::lock_guard lock(g_mutex);
    window->handle = ++g_lastHandle;
    g_windows.emplace(window->handle, window);
    return window->handle;
}

void DeallocateHWnd(HWND wnd) {
    std::shared_ptr<Window> window;
    {
        std::lock_guard lock(g_mutex);
        const auto it = g_windows.find(wnd);
        if (it == g_windows.end()) return;
        window = std::move(it->second);
        g_windows.erase(it);
    }
    // From another thread the timers cannot be stopped here; they stop at their next tick, when
    // they find the window gone.
    if (window->queue->IsOwnerThread()) {
        for (const auto& [id, timer] : window->timers) window->queue->StopTimer(timer);
        window->timers.clear();
    }
    if (Application && Application->MainWindow() == wnd) Application->Terminate();
}

bool IsWindow(HWND wnd) {
    return Find(wnd) != nullptr;
}

TWndMethod GetWindowProc(HWND wnd) {
    const auto window = Find(wnd);
    return window && window->queue->IsOwnerThread() ? *window->proc : TWndMethod{};
}

bool SetWindowProc(HWND wnd, TWndMethod method) {
    const auto window = Find(wnd);
    if (!window || !method || !window->queue->IsOwnerThread()) return false;
    window->proc = std::make_shared<const TWndMethod>(std::move(method));
    return true;
}

bool PostMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto window = Find(wnd);
    if (!window) return false;
    return window->queue->Post([=] { DispatchQueued(wnd, msg, wParam, lParam); });
}

LRESULT SendMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const auto window = Find(wnd);
    if (!window) return 0;
    if (window->queue->IsOwnerThread()) return Dispatch(*window, msg, wParam, lParam);
    LRESULT result = 0;
    window->queue->Call([&] { result = DispatchQueued(wnd, msg, wParam, lParam); });
    return result;
}

LRESULT DefWindowProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

UINT_PTR SetTimer(HWND wnd, UINT_PTR id, UINT elapseMs) {
    const auto window = Find(wnd);
    if (!window || !window->queue->IsOwnerThread()) return 0;
    const auto old = window->timers.find(id);
    if (old != window->timers.end()) {
        window->queue->StopTimer(old->second);
        window->timers.erase(old);
    }
    constexpr UINT kMinimum = 10;
    const int timer = window->queue->StartTimer(
        elapseMs < kMinimum ? kMinimum : elapseMs, [wnd, id](int timerId) {
            const auto target = Find(wnd);
            const bool current =
                target && target->timers.count(id) != 0 && target->timers.at(id) == timerId;
            if (!current) {
                detail::ThreadQueue::Current()->StopTimer(timerId);
                return;
            }
            Dispatch(*target, WM_TIMER, id, 0);
        });
    if (timer == 0) return 0;
    window->timers[id] = timer;
    return id == 0 ? 1 : id;
}

bool KillTimer(HWND wnd, UINT_PTR id) {
    const auto window = Find(wnd);
    if (!window || !window->queue->IsOwnerThread()) return false;
    const auto it = window->timers.find(id);
    if (it == window->timers.end()) return false;
    window->queue->StopTimer(it->second);
    window->timers.erase(it);
    return true;
}

}  // namespace rv
