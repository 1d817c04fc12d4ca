#pragma once
// A window with a face whose procedure records what arrives, and ways to feed it Qt events.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <functional>
#include <tuple>
#include <vector>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"
#include "platform/windows/tests/gui_app.h"
#include "platform/windows/window_host.h"

namespace rv::test {

struct Recorded {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    TRect clip;     // WM_PAINT / WM_NCPAINT: the canvas's visible bounds
    TPoint origin;  // … and its origin
};

using Args = std::vector<std::tuple<WPARAM, int, int>>;
using Numbers = std::vector<UINT>;

class RecordingWindow {
public:
    explicit RecordingWindow(int width = 200, int height = 100) {
        App();
        wnd = CreateHostWindow([this](TMessage& m) { Handle(m); });
        SetWindowBounds(wnd, Bounds(0, 0, width, height));
    }
    ~RecordingWindow() { DestroyHostWindow(wnd); }

    void Handle(TMessage& m) {
        Recorded r{m.Msg, m.WParam, m.LParam, {}, {}};
        if ((m.Msg == WM_PAINT || m.Msg == WM_NCPAINT) && m.WParam) {
            auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
            r.clip = canvas->ClipRect();
            r.origin = canvas->Origin();
        }
        log.push_back(r);
        if (OnMessage && OnMessage(m)) return;
        DefHostWindowProc(wnd, m);
    }

    // The messages with these numbers, in order.
    std::vector<Recorded> Only(std::initializer_list<UINT> numbers) const {
        std::vector<Recorded> out;
        for (const Recorded& r : log)
            for (UINT n : numbers)
                if (r.msg == n) out.push_back(r);
        return out;
    }

    // Just the numbers of those messages (of all when none are named).
    Numbers Msgs(std::initializer_list<UINT> numbers = {}) const {
        Numbers out;
        for (const Recorded& r : numbers.size() ? Only(numbers) : log) out.push_back(r.msg);
        return out;
    }

    // The WParams of those messages, in order.
    std::vector<WPARAM> WParams(std::initializer_list<UINT> numbers) const {
        std::vector<WPARAM> out;
        for (const Recorded& r : Only(numbers)) out.push_back(r.wParam);
        return out;
    }

    // WParam and the point in LParam of those messages, in order.
    Args ArgsOf(std::initializer_list<UINT> numbers) const {
        Args out;
        for (const Recorded& r : Only(numbers))
            out.emplace_back(r.wParam, GET_X_LPARAM(r.lParam), GET_Y_LPARAM(r.lParam));
        return out;
    }

    HostWidget* Widget() const { return HostWidget::Find(wnd); }

    void Show() {
        ShowWindow(wnd, true);
        QApplication::processEvents();
    }

    HWND wnd = 0;
    std::vector<Recorded> log;
    // Return true to take the message over.
    std::function<bool(TMessage&)> OnMessage;
};

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

inline void Press(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonPress, p, b, b);
}
inline void Release(QWidget* w, QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    SendMouse(w, QEvent::MouseButtonRelease, p, b, Qt::NoButton);
}
inline void Move(QWidget* w, QPoint p, Qt::MouseButtons held = Qt::NoButton) {
    SendMouse(w, QEvent::MouseMove, p, Qt::NoButton, held);
}

inline void Key(QWidget* w, QEvent::Type type, int key, Qt::KeyboardModifiers mods,
                const QString& text = {}, bool autoRepeat = false) {
    QKeyEvent e(type, key, mods, text, autoRepeat);
    QApplication::sendEvent(w, &e);
}

}  // namespace rv::test
