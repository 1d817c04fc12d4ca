#include "platform/transfer/drag_drop.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <map>

#include "platform/messages/application.h"
#include "platform/transfer/internal/mime_bridge.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {

namespace {

// The one action a target's effect stands for: the platform prefers move, then copy, then link.
Qt::DropAction ActionOf(DWORD effect) {
    if (effect & DROPEFFECT_MOVE) return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY) return Qt::CopyAction;
    if (effect & DROPEFFECT_LINK) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

DWORD KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    DWORD keys = 0;
    if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
    if (modifiers & Qt::AltModifier) keys |= MK_ALT;
    return keys;
}

// The drop targets of windows, and the data of the drag over each.
struct Registration {
    std::shared_ptr<IDropTarget> target;
    std::shared_ptr<IDataObject> data;
};

class DropFilter : public QObject {
public:
    std::map<HWND, Registration> targets;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        switch (e->type()) {
            case QEvent::DragEnter:
            case QEvent::DragMove:
            case QEvent::DragLeave:
            case QEvent::Drop:
                break;
            default:
                return false;
        }
        auto* host = HostWidget::Of(qobject_cast<QWidget*>(watched));
        const auto it = host ? targets.find(host->Handle()) : targets.end();
        if (it == targets.end()) return false;
        // The target may revoke itself while it is called: the call holds what it needs.
        Registration r = it->second;
        const HWND wnd = host->Handle();
        if (e->type() == QEvent::DragLeave) {
            RunReported([&] { r.target->DragLeave(); });
            if (auto now = targets.find(wnd); now != targets.end()) now->second.data.reset();
            return true;
        }
        auto* drop = static_cast<QDropEvent*>(e);
        UpdateKeyStateFrom(drop->modifiers(), drop->buttons());
        const DWORD keys = KeyStateOf(drop->buttons(), drop->modifiers());
        const QPoint global = host->mapToGlobal(drop->position().toPoint());
        const TPoint pt{global.x(), global.y()};
        DWORD effect = EffectsOf(drop->possibleActions());
        switch (e->type()) {
            case QEvent::DragEnter:
                r.data = DataObjectFor(drop->mimeData(), false);
                if (auto now = targets.find(wnd); now != targets.end()) now->second.data = r.data;
                RunReported([&] { r.target->DragEnter(r.data, keys, pt, effect); });
                break;
            case QEvent::DragMove:
                RunReported([&] { r.target->DragOver(keys, pt, effect); });
                break;
            default: {
                auto data = r.data ? r.data : DataObjectFor(drop->mimeData(), false);
                RunReported([&] { r.target->Drop(data, keys, pt, effect); });
                if (auto now = targets.find(wnd); now != targets.end()) now->second.data.reset();
                break;
            }
        }
        // An entering drag is taken in any case, so that its moves come here to be judged.
        const Qt::DropAction action = ActionOf(effect);
        drop->setDropAction(action == Qt::IgnoreAction ? drop->proposedAction() : action);
        if (action != Qt::IgnoreAction || e->type() == QEvent::DragEnter)
            drop->accept();
        else
            drop->ignore();
        return true;
    }
};

DropFilter& Filter() {
    static auto* filter = new DropFilter;
    return *filter;
}

TDragLoop& Loop() {
    static TDragLoop loop;
    return loop;
}

HRESULT ToolkitDragLoop(HWND source, const std::shared_ptr<IDataObject>& data, IDropSource&,
                        DWORD okEffects, DWORD& effect) {
    QObject* owner = HostWidget::Find(source);
    if (!owner) owner = QCoreApplication::instance();
    if (!owner) return E_UNEXPECTED;
    QDrag drag(owner);
    drag.setMimeData(new DataObjectMime(data));
    const Qt::DropAction done = drag.exec(ActionsOf(okEffects));
    effect = EffectsOf(done) & okEffects;
    return effect == DROPEFFECT_NONE ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

}  // namespace

HRESULT RegisterDragDrop(HWND wnd, const std::shared_ptr<IDropTarget>& target) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host || !target) return DRAGDROP_E_INVALIDHWND;
    auto& targets = Filter().targets;
    if (targets.count(wnd)) return DRAGDROP_E_ALREADYREGISTERED;
    targets[wnd] = Registration{target, nullptr};
    host->installEventFilter(&Filter());
    host->setAcceptDrops(true);
    // The window's end ends its registration.
    QObject::connect(host, &QObject::destroyed, &Filter(), [wnd] { Filter().targets.erase(wnd); });
    return S_OK;
}

HRESULT RevokeDragDrop(HWND wnd) {
    auto& targets = Filter().targets;
    if (!targets.erase(wnd)) return DRAGDROP_E_NOTREGISTERED;
    if (HostWidget* host = HostWidget::Find(wnd)) {
        host->removeEventFilter(&Filter());
        host->setAcceptDrops(false);
    }
    return S_OK;
}

std::shared_ptr<IDropTarget> RegisteredDropTarget(HWND wnd) {
    const auto& targets = Filter().targets;
    const auto it = targets.find(wnd);
    return it == targets.end() ? nullptr : it->second.target;
}

HRESULT DoDragDrop(HWND source, const std::shared_ptr<IDataObject>& data, IDropSource& dropSource,
                   DWORD okEffects, DWORD& effect) {
    effect = DROPEFFECT_NONE;
    if (!data) return E_INVALIDARG;
    const TDragLoop loop = Loop();
    return loop ? loop(source, data, dropSource, okEffects, effect)
                : ToolkitDragLoop(source, data, dropSource, okEffects, effect);
}

TDragLoop SetDragLoop(TDragLoop loop) {
    TDragLoop previous = std::move(Loop());
    Loop() = std::move(loop);
    return previous;
}

DWORD CurrentDragKeyState() {
    return KeyStateOf(QGuiApplication::mouseButtons(), QGuiApplication::keyboardModifiers());
}

}  // namespace rv
