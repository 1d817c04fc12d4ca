#include "platform/windows/gui_application.h"

#include "platform/graphics/internal/qt_graphics.h"
#include "platform/windows/dialog_service.h"

namespace rv {

void TGuiApplication::CreateToolkit() {
    EnsureGuiApplication();
}

void TGuiApplication::ShowException(const std::string& message) {
    MessageBox(0, message, "Error", MB_OK | MB_ICONERROR);
}

}  // namespace rv
