#include "platform/transfer/tests/toolkit_drag.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

#include "platform/transfer/internal/mime_bridge.h"
#include "platform/windows/internal/host_widget.h"

namespace rv::test {

DWORD SendToolkitDrag(HWND wnd, ToolkitDrag kind, TPoint client,
                      const std::shared_ptr<IDataObject>& data, DWORD okEffects, DWORD keyState,
                      bool foreign) {
    HostWidget* host = HostWidget::Find(wnd);
    if (!host) return DROPEFFECT_NONE;
    if (kind == ToolkitDrag::Leave) {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(host, &leave);
        return DROPEFFECT_NONE;
    }
    DataObjectMime own(data);
    std::unique_ptr<QMimeData> rendered(foreign ? own.Rendered() : nullptr);
    const QMimeData* mime = foreign ? rendered.get() : &own;
    Qt::MouseButtons buttons;
    if (keyState & MK_LBUTTON) buttons |= Qt::LeftButton;
    if (keyState & MK_RBUTTON) buttons |= Qt::RightButton;
    if (keyState & MK_MBUTTON) buttons |= Qt::MiddleButton;
    Qt::KeyboardModifiers modifiers;
    if (keyState & MK_SHIFT) modifiers |= Qt::ShiftModifier;
    if (keyState & MK_CONTROL) modifiers |= Qt::ControlModifier;
    if (keyState & MK_ALT) modifiers |= Qt::AltModifier;
    const QPoint at = QPoint(client.X, client.Y) + host->ClientOffset();
    const Qt::DropActions actions = ActionsOf(okEffects);
    std::unique_ptr<QDropEvent> event;
    switch (kind) {
        case ToolkitDrag::Enter:
            event = std::make_unique<QDragEnterEvent>(at, actions, mime, buttons, modifiers);
            break;
        case ToolkitDrag::Move:
            event = std::make_unique<QDragMoveEvent>(at, actions, mime, buttons, modifiers);
            break;
        default:
            event = std::make_unique<QDropEvent>(QPointF(at), actions, mime, buttons, modifiers);
            break;
    }
    event->setAccepted(false);
    QCoreApplication::sendEvent(host, event.get());
    return event->isAccepted() ? EffectsOf(event->dropAction()) : DROPEFFECT_NONE;
}

TDragLoop ScriptedDragLoop(std::vector<TDragStep> steps) {
    return [steps = std::move(steps)](HWND, const std::shared_ptr<IDataObject>& data,
                                      IDropSource& source, DWORD okEffects, DWORD& effect) {
        HWND over = 0;
        effect = DROPEFFECT_NONE;
        for (const TDragStep& step : steps) {
            const HRESULT go = source.QueryContinueDrag(step.escape, step.keyState);
            if (go == DRAGDROP_S_DROP && over) {
                effect = SendToolkitDrag(over, ToolkitDrag::Drop, step.client, data, okEffects,
                                         step.keyState);
                return effect == DROPEFFECT_NONE ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
            }
            if (go != S_OK) break;
            if (step.wnd != over) {
                if (over) SendToolkitDrag(over, ToolkitDrag::Leave, {}, data, okEffects, 0);
                over = step.wnd;
                if (over)
                    SendToolkitDrag(over, ToolkitDrag::Enter, step.client, data, okEffects,
                                    step.keyState);
            }
            const DWORD now = over ? SendToolkitDrag(over, ToolkitDrag::Move, step.client, data,
                                                     okEffects, step.keyState)
                                   : DROPEFFECT_NONE;
            source.GiveFeedback(now);
        }
        if (over) SendToolkitDrag(over, ToolkitDrag::Leave, {}, data, okEffects, 0);
        effect = DROPEFFECT_NONE;
        return DRAGDROP_S_CANCEL;
    };
}

}  // namespace rv::test
