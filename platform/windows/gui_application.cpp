#include "platform/windows/gui_application.h"

#include <QMessageBox>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {

void TGuiApplication::CreateToolkit() {
    EnsureGuiApplication();
}

void TGuiApplication::ShowException(const std::string& message) {
    QMessageBox::critical(nullptr, QStringLiteral("Error"), QString::fromStdString(message));
}

}  // namespace rv
