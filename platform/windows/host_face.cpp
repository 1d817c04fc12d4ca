#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/windows/internal/host_widget.h"

namespace rv {

void HostWidget::SetFace(QWidget* widget, QWidget* mouseArea) {
    if (face_) face_->removeEventFilter(this);
    if (faceMouseArea_) faceMouseArea_->removeEventFilter(this);
    face_ = widget;
    faceMouseArea_ = mouseArea != widget ? mouseArea : nullptr;
    if (widget) {
        widget->setParent(this);
        widget->lower();  // child windows stay above it
        widget->installEventFilter(this);
        widget->show();
    }
    if (faceMouseArea_) faceMouseArea_->installEventFilter(this);
    setFocusProxy(widget);
    Relayout();
}

void HostWidget::SetHeaderFace(QWidget* widget) {
    headerFace_ = widget;
    if (widget) {
        widget->setParent(this);
        widget->show();
    }
    Relayout();
}

void HostWidget::NoteKeyPassed(const TMessage& m) {
    keyPassed_ = true;
    if (m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN) passedKey_ = int(m.WParam);
    if (collectingChars_ && (m.Msg == WM_CHAR || m.Msg == WM_SYSCHAR))
        passedChars_ += QChar(char16_t(m.WParam));
}

bool HostWidget::FaceEvent(QObject* watched, QEvent* e) {
    QObject* mouseArea = faceMouseArea_ ? faceMouseArea_.data() : face_.data();
    switch (e->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            // A drop-down list of the face taking the keys leaves the focus where it is.
            if (watched != face_ || static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason)
                return false;
            e->type() == QEvent::FocusIn ? NoteFocusIn() : NoteFocusOut();
            return false;
        case QEvent::KeyPress:
            return watched == face_ && FaceKeyPress(static_cast<QKeyEvent*>(e));
        case QEvent::KeyRelease:
            return watched == face_ && FaceKeyRelease(static_cast<QKeyEvent*>(e));
        case QEvent::InputMethod:
            return watched == face_ && FaceInputMethod(static_cast<QInputMethodEvent*>(e));
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            return watched == mouseArea && FaceMouse(static_cast<QMouseEvent*>(e));
        case QEvent::ContextMenu: {
            // Taken when the window shows a menu of its own; otherwise the face shows its own.
            QPoint at = static_cast<QContextMenuEvent*>(e)->globalPos();
            return DeliverMessage(wnd_, WM_CONTEXTMENU, wnd_, MAKELPARAM(at.x(), at.y())) != 0;
        }
        default:
            return false;
    }
}

bool HostWidget::FaceKeyPress(QKeyEvent* e) {
    if (replaying_) return false;
    // A key that neither has a code of the platform's nor types is the face's alone.
    const int vk = KeyCodeOf(e);
    keyPassed_ = vk == 0;
    passedKey_ = vk;
    if (!SendKeyDown(e) || !keyPassed_) return true;
    if (passedKey_ != vk) {
        // The procedure turned the key into another one: the face gets that one, without text.
        const int other = ToolkitKeyOf(passedKey_);
        if (!other || !face_) return true;
        QKeyEvent changed(QEvent::KeyPress, other, e->modifiers() & ~Qt::KeypadModifier, QString(),
                          e->isAutoRepeat(), ushort(e->count()));
        replaying_ = true;
        QCoreApplication::sendEvent(face_, &changed);
        replaying_ = false;
        return true;
    }
    const QString text = e->text();
    bool ctrl = e->modifiers() & Qt::ControlModifier;
    if ((ctrl && !(e->modifiers() & Qt::AltModifier)) || text.isEmpty()) return false;
    passedChars_.clear();
    collectingChars_ = true;
    bool alive = SendChars(e);
    collectingChars_ = false;
    if (!alive) return true;
    if (passedChars_ == text) return false;
    if (passedChars_.isEmpty() || !face_) return true;
    // The procedure changed the characters: the face gets the key with the new ones.
    QKeyEvent changed(QEvent::KeyPress, e->key(), e->modifiers(), passedChars_, e->isAutoRepeat(),
                      ushort(e->count()));
    replaying_ = true;
    QCoreApplication::sendEvent(face_, &changed);
    replaying_ = false;
    return true;
}

bool HostWidget::FaceKeyRelease(QKeyEvent* e) {
    if (replaying_) return false;
    keyPassed_ = false;
    if (!SendKeyUp(e)) return false;
    return !Alive() || !keyPassed_;
}

// What an input method commits is typed through the window procedure like keys; the face gets
// the characters the procedure left, and the composition as it stands.
bool HostWidget::FaceInputMethod(QInputMethodEvent* e) {
    if (replaying_ || e->commitString().isEmpty()) return false;
    passedChars_.clear();
    collectingChars_ = true;
    bool alive = SendTypedText(e->commitString());
    collectingChars_ = false;
    if (!alive) return true;
    if (passedChars_ == e->commitString() || !face_) return !face_;
    QInputMethodEvent changed(e->preeditString(), e->attributes());
    changed.setCommitString(passedChars_, e->replacementStart(), e->replacementLength());
    replaying_ = true;
    QCoreApplication::sendEvent(face_, &changed);
    replaying_ = false;
    return true;
}

// The face acts on the mouse itself; the window procedure hears of the buttons.
bool HostWidget::FaceMouse(QMouseEvent* e) {
    UpdateKeyStateFrom(e->modifiers(), e->buttons());
    QPoint global = e->globalPosition().toPoint();
    NoteCursorPos(global);
    int kind = e->type() == QEvent::MouseButtonPress     ? kDown
               : e->type() == QEvent::MouseButtonRelease ? kUp
                                                         : kDouble;
    QPoint c = mapFromGlobal(global) - ClientOffset();
    DeliverMessage(wnd_, ClientMouseMessage(e->button(), kind), MouseKeyFlags(),
                   MAKELPARAM(c.x(), c.y()));
    return false;
}

}  // namespace rv
