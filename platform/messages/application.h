#pragma once

#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/messages/messages.h"

namespace rv {

// The application object: runs the GUI thread's message loop over the toolkit's event loop, calls
// the idle hook whenever the queue has fallen empty, and is where exceptions that reach the loop
// end up. There is one at a time, reachable as `Application`; the thread that creates it is the
// GUI thread (the one TThread::Synchronize runs in). Messages, timers and Synchronize calls are
// also delivered inside the toolkit's own loops (a modal dialog's), as they were on Windows.
class TApplication {
public:
    TApplication();
    virtual ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Makes the toolkit's application object when none exists yet (CreateToolkit); called by Run
    // and ProcessMessages when the program has not done so.
    void Initialize();

    // Runs the message loop until Terminate is called (also before Run) or the main window is
    // destroyed. Returning uses the request up: Terminated is false again and Run may run again.
    void Run();

    // Handles every message that is waiting for the calling thread's windows (also those queued
    // meanwhile), then returns; never waits and never calls the idle hook.
    void ProcessMessages();

    // One turn of the loop: handles what is waiting and returns; only when nothing was waiting, it
    // runs the idle hook and, unless that asked to be called again at once, waits for the next
    // message. So `while (!condition) HandleMessage();` ends as soon as a message has made the
    // condition true.
    void HandleMessage();

    // Asks the loop to end (from any thread).
    void Terminate();
    bool Terminated() const { return terminated_.load(); }

    // To be called inside a catch block: passes the exception being handled to OnException when
    // set, else shows it (ShowException); the silent abort (EAbort) goes nowhere. Never throws.
    // Runs in the thread that caught it: the GUI thread, unless a worker's own window procedure
    // threw.
    void HandleException();
    void HandleException(const std::exception& e);

    // Shows an error to the user. Without a GUI it writes "Error: <message>" to standard error; the
    // GUI application shows a message box titled "Error".
    virtual void ShowException(const std::string& message);

    // The main window: destroying it ends Run.
    void SetMainWindow(HWND wnd) { mainWindow_.store(wnd); }
    HWND MainWindow() const { return mainWindow_.load(); }

    std::string Title;

    // Runs each time the loop finds the queue empty; Done starts true, and set to false it asks to
    // be called again at once instead of waiting for the next message.
    std::function<void(bool& done)> OnIdle;
    // Further idle handlers, each under a key of its owner's choosing, run after OnIdle in the
    // order they were added. Adding under a key already used replaces that handler.
    void AddIdleHandler(const void* key, std::function<void(bool& done)> handler);
    void RemoveIdleHandler(const void* key);
    // Help for a help context number: handed to OnHelp, which answers whether it showed any.
    // There is no help viewer of the system's here, so without a handler nothing is shown.
    bool HelpContext(int context);
    std::function<bool(int context)> OnHelp;

    // Replaces the default showing of exceptions that reach the loop.
    std::function<void(const std::exception& e)> OnException;

protected:
    // Creates the toolkit's application object with `new`; the GUI layer overrides it to make a
    // GUI one. What it makes belongs to this object from then on (deleted with it, after the
    // windows' toolkit parts). When it makes none, a console one is made.
    virtual void CreateToolkit();
    // The command line the toolkit's application object is made with (it keeps references).
    static int& ToolkitArgc();
    static char** ToolkitArgv();
    virtual void DoIdle(bool& done);

private:
    // ProcessMessages, telling whether it handled anything.
    bool ProcessWaiting();

    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::atomic<bool> terminated_{false};
    std::atomic<HWND> mainWindow_{0};
};

// The current application object, or nullptr.
extern TApplication* Application;

// True in the thread that created the application object.
bool IsMainThread();

// Runs `call`; an exception it raises goes to the application's handling (HandleException), or
// to standard error when there is no application object, and no further.
void RunReported(const std::function<void()>& call) noexcept;

}  // namespace rv
