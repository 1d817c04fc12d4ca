#include "platform/windows/tests/toolkit_dialog_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTimer>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv::test {

namespace {

void LookAt(ToolkitDialogView& view, const std::vector<std::string>& parts) {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    view.seen = true;
    view.frame = FromQRect(dialog->frameGeometry());
    view.workArea = FromQRect(dialog->screen()->availableGeometry());
    for (const std::string& name : parts) {
        const QString wanted = QString::fromStdString(name);
        view.parts[name] = {};
        for (QWidget* part : dialog->findChildren<QWidget*>()) {
            auto* button = qobject_cast<QAbstractButton*>(part);
            if (part->objectName() != wanted && !(button && button->text() == wanted)) continue;
            view.parts[name] = FromQRect(QRect(part->mapToGlobal(QPoint()), part->size()));
            break;
        }
    }
    dialog->reject();
}

}  // namespace

void LookAtNextToolkitDialog(ToolkitDialogView& view, const std::vector<std::string>& parts) {
    // Twice round the event loop: the dialog has handled what its showing brought.
    QTimer::singleShot(
        0, [&view, parts] { QTimer::singleShot(0, [&view, parts] { LookAt(view, parts); }); });
}

}  // namespace rv::test
