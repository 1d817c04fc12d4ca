#include "platform/framework/widget_control.h"

#include <QPalette>
#include <QWidget>

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/internal/host_widget.h"

namespace rv {

TWidgetControl::TWidgetControl(TComponent* owner) : TWinControl(owner), guard_(new QObject) {
    InitColor(clWindow);
    SetTabStop(true);
    // The face follows the mouse itself; capturing it for the control would only get in its way.
    ControlStyle &= ~unsigned(csCaptureMouse);
}

namespace {

// A face the control no longer shows goes.
void RetireFace(QWidget* face) {
    // Without the focus first: hiding a focused widget would hand the focus, and the events of
    // entering, to a neighbour while the form may be going.
    face->clearFocus();
    face->hide();
    face->setParent(nullptr);
    // Later: the face may be inside one of its own events now.
    face->deleteLater();
}

}  // namespace

TWidgetControl::~TWidgetControl() {
    // No signal of the face reaches the control from here on.
    delete guard_;
    guard_ = nullptr;
    if (!face_) return;
    if (HostWidget* host = HostWidget::Find(Handle())) host->SetFace(nullptr);
    RetireFace(face_);
}

void TWidgetControl::SetFace(QWidget* face, QWidget* mouseArea) {
    QWidget* old = face_;
    const bool focused = old && old->hasFocus();
    face_ = face;
    // The host stops listening to the old face before it lets the focus go.
    if (HostWidget* host = HostWidget::Find(Handle())) host->SetFace(face, mouseArea);
    if (old && old != face) RetireFace(old);
    ApplyLook();
    TextChanged();
    if (focused && face) face->setFocus();
}

void TWidgetControl::SetParent(TWinControl* parent) {
    TWinControl::SetParent(parent);
    ApplyLook();
}

void TWidgetControl::ApplyLook() {
    if (!face_) return;
    face_->setFont(ToQFont(Font()));
    QPalette palette = face_->palette();
    QColor text = ToQColor(Font().Color);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::WindowText, text);
        if (ColorIsBackground) palette.setColor(group, QPalette::Base, ToQColor(Color()));
    }
    face_->setPalette(palette);
}

unsigned TWidgetControl::DialogCode() const {
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TWidgetControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_GETDLGCODE:
            m.Result = DialogCode();
            return;
        case WM_CONTEXTMENU:
            // The control's own menu or the face's: never a parent's.
            TControl::WndProc(m);
            return;
        default:
            break;
    }
    TWinControl::WndProc(m);
    switch (m.Msg) {
        case CM_FONTCHANGED:
        case CM_COLORCHANGED:
            ApplyLook();
            break;
        case CM_TEXTCHANGED:
            TextChanged();
            break;
        default:
            break;
    }
}

}  // namespace rv
