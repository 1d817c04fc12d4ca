#pragma once

#include <string>

#include "platform/messages/application.h"

namespace rv {

// The application object of the program with windows: its toolkit is the graphical one, and an
// exception that reaches the loop is shown in a message box titled "Error" (the error box, a
// message box of the dialog service in use).
class TGuiApplication : public TApplication {
public:
    void ShowException(const std::string& message) override;

protected:
    void CreateToolkit() override;
};

}  // namespace rv
