#include "platform/windows/display.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace rv {

namespace {

std::string_view Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Connects to the X display as the toolkit would, and leaves again.
bool XDisplayOpens(std::string_view name) {
    std::string display(name);
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    bool opens = connection && xcb_connection_has_error(connection) == 0;
    if (connection) xcb_disconnect(connection);
    return opens;
}

}  // namespace

std::string DisplayProblem() {
    std::string_view platform = Env("QT_QPA_PLATFORM");
    // Another platform than X is the toolkit's to open.
    if (!platform.empty() && !platform.starts_with("xcb")) return {};
    std::string_view display = Env("DISPLAY");
    if (!display.empty()) {
        if (XDisplayOpens(display)) return {};
        if (platform.empty() && !Env("WAYLAND_DISPLAY").empty()) return {};
        return "cannot open the display " + std::string(display);
    }
    if (platform.empty() && !Env("WAYLAND_DISPLAY").empty()) return {};
    return "cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set";
}

}  // namespace rv
