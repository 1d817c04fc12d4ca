#include "platform/messages/application.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

#include <cstdio>
#include <thread>
#include <utility>
#include <vector>

#include "platform/base/exception.h"
#include "platform/messages/thread_queue.h"

namespace rv {

TApplication* Application = nullptr;

namespace {

std::atomic<std::thread::id> g_mainThread{};

// The toolkit keeps references to these for the life of its application object.
int g_argc = 1;
char g_programName[] = "reelvault";
char* g_argv[] = {g_programName, nullptr};

std::string DescribeCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "Unknown exception";
    }
}

}  // namespace

struct TApplication::Impl {
    std::unique_ptr<QCoreApplication> ownToolkit;
    std::shared_ptr<detail::ThreadQueue> queue;
    bool initialized = false;
    std::vector<std::pair<const void*, std::function<void(bool&)>>> idleHandlers;
};

TApplication::TApplication() : impl_(std::make_unique<Impl>()) {
    impl_->queue = detail::ThreadQueue::Current();
    g_mainThread.store(std::this_thread::get_id());
    detail::ThreadQueue::SetMain(impl_->queue);
    Application = this;
}

TApplication::~TApplication() {
    if (Application == this) Application = nullptr;
    detail::ThreadQueue::SetMain(nullptr);
    g_mainThread.store(std::thread::id{});
    impl_->queue->DetachToolkit();
    impl_->ownToolkit.reset();
}

void TApplication::Initialize() {
    if (impl_->initialized) return;
    impl_->initialized = true;
    if (!QCoreApplication::instance()) {
        CreateToolkit();
        if (!QCoreApplication::instance()) new QCoreApplication(g_argc, g_argv);
        impl_->ownToolkit.reset(QCoreApplication::instance());
    }
    if (!Title.empty()) QCoreApplication::setApplicationName(QString::fromStdString(Title));
    impl_->queue->AttachToolkit();
}

void TApplication::CreateToolkit() {}

int& TApplication::ToolkitArgc() {
    return g_argc;
}

char** TApplication::ToolkitArgv() {
    return g_argv;
}

void TApplication::Run() {
    Initialize();
    while (!Terminated()) HandleMessage();
    terminated_.store(false);
}

void TApplication::ProcessMessages() {
    ProcessWaiting();
}

bool TApplication::ProcessWaiting() {
    // Normally the GUI thread; a worker that owns windows may pump its own queue the same way.
    if (IsMainThread()) Initialize();
    const auto current = detail::ThreadQueue::Current();
    auto& queue = *current;
    queue.AttachToolkit();
    QAbstractEventDispatcher* const toolkit = QAbstractEventDispatcher::instance();
    bool any = false;
    do {
        any = queue.ProcessPending() || any;
        if (toolkit) any = toolkit->processEvents(QEventLoop::AllEvents) || any;
    } while (queue.HasPending());
    return any;
}

void TApplication::HandleMessage() {
    // Having handled something, the turn ends there, as the caller's loop may be waiting for just
    // that: waiting now could wait for a message that never comes.
    if (ProcessWaiting() || Terminated()) return;
    bool done = true;
    try {
        DoIdle(done);
    } catch (...) {
        HandleException();
    }
    if (done && !Terminated() && !impl_->queue->HasPending())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void TApplication::DoIdle(bool& done) {
    if (OnIdle) OnIdle(done);
    // A handler may add or remove handlers: each one still there when its turn comes runs.
    std::vector<const void*> keys;
    for (const auto& entry : impl_->idleHandlers) keys.push_back(entry.first);
    for (const void* key : keys)
        for (const auto& [k, handler] : impl_->idleHandlers)
            if (k == key) {
                auto call = handler;  // the handler may remove itself
                call(done);
                break;
            }
}

void TApplication::AddIdleHandler(const void* key, std::function<void(bool& done)> handler) {
    for (auto& entry : impl_->idleHandlers)
        if (entry.first == key) {
            entry.second = std::move(handler);
            return;
        }
    impl_->idleHandlers.emplace_back(key, std::move(handler));
}

void TApplication::RemoveIdleHandler(const void* key) {
    std::erase_if(impl_->idleHandlers, [key](const auto& entry) { return entry.first == key; });
}

bool TApplication::HelpContext(int context) {
    return OnHelp && OnHelp(context);
}

void TApplication::Terminate() {
    terminated_.store(true);
    // An empty task wakes the loop wherever it waits.
    impl_->queue->Post([] {});
}

void TApplication::HandleException() {
    if (!std::current_exception()) return;
    try {
        throw;
    } catch (const std::exception& e) {
        HandleException(e);
    } catch (...) {
        HandleException(Exception("Unknown exception"));
    }
}

void TApplication::HandleException(const std::exception& e) {
    if (dynamic_cast<const EAbort*>(&e)) return;
    try {
        if (OnException)
            OnException(e);
        else
            ShowException(e.what());
    } catch (...) {
        std::fprintf(stderr, "Error: %s\n", DescribeCurrentException().c_str());
    }
}

void TApplication::ShowException(const std::string& message) {
    std::fprintf(stderr, "Error: %s\n", message.c_str());
}

bool IsMainThread() {
    return g_mainThread.load() == std::this_thread::get_id();
}

void RunReported(const std::function<void()>& call) noexcept {
    try {
        call();
    } catch (...) {
        detail::ReportLoopException();
    }
}

namespace detail {

void ReportLoopException() noexcept {
    if (!std::current_exception()) return;
    if (Application) {
        Application->HandleException();
        return;
    }
    std::fprintf(stderr, "Error: %s\n", DescribeCurrentException().c_str());
}

}  // namespace detail

}  // namespace rv
