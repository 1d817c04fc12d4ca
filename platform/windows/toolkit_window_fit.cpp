// The toolkit's own windows (its file and folder dialogs, its message boxes and the windows they
// open in turn) land whole on the work area, frame included, as the program's windows do.

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWindow>

#include "platform/windows/internal/host_widget.h"

namespace rv {

namespace {

// The toolkit's top-level window (a window or dialog that is no host of the program's) whose
// screen window `object` is.
QWidget* ToolkitWindowOf(QObject* object) {
    if (!object->isWindowType()) return nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->windowHandle() != object) continue;
        const Qt::WindowType type = top->windowType();
        if ((type != Qt::Window && type != Qt::Dialog) || dynamic_cast<HostWidget*>(top))
            return nullptr;
        return top;
    }
    return nullptr;
}

void Fit(QWidget* window) {
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    const QRect inner = window->geometry();
    const QRect fitted = FittedOntoWorkArea(inner, FrameMarginsOf(window));
    if (fitted == inner) return;
    // Its parts make do with less room than they would like, rather than leave the screen.
    if (fitted.width() < window->minimumWidth() || fitted.height() < window->minimumHeight())
        window->setMinimumSize(window->minimumSize().boundedTo(fitted.size()));
    window->setGeometry(fitted);
}

// Fits each toolkit window as its screen window is shown: after the window placed and sized
// itself (a dialog centres on its parent, a message box fits its text), before it is on the
// screen. Where the window manager puts it, and the frame it draws, count once it is drawn
// there: it is fitted again after its first paint.
class ToolkitWindowFitter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            if (QWidget* window = ToolkitWindowOf(watched)) {
                Fit(window);
                if (!(window->windowFlags() & Qt::FramelessWindowHint)) framing_.append(window);
            }
        } else if (e->type() == QEvent::Paint && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (framing_.removeAll(window) > 0)
                QMetaObject::invokeMethod(
                    window, [window] { Fit(window); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    QList<QPointer<QWidget>> framing_;
};

}  // namespace

void FitToolkitWindowsOntoWorkArea() {
    static ToolkitWindowFitter* fitter = nullptr;
    if (fitter || !qApp) return;
    fitter = new ToolkitWindowFitter;
    fitter->setParent(qApp);
    qApp->installEventFilter(fitter);
}

}  // namespace rv
