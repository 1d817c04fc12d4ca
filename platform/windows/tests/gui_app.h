#pragma once
// One GUI application object for the whole test program.

#include "platform/windows/gui_application.h"

namespace rv::test {

inline TGuiApplication& App() {
    static TGuiApplication* app = [] {
        auto* a = new TGuiApplication;
        a->Initialize();
        return a;
    }();
    return *app;
}

}  // namespace rv::test
