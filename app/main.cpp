// The program reelvault: start-up in a fixed order, then the message loop until the main window
// closes. The command line is not read.

#include <cstdio>
#include <string>

#include "app/app_pictures.h"
#include "app/main_window.h"
#include "app/settings_notice.h"
#include "platform/windows/display.h"
#include "platform/windows/gui_application.h"
#include "platform/windows/window_image.h"
#include "widgets/hand_cursors.h"

int main() {
    // Without a display there is no window to show; say so rather than let the toolkit abort.
    if (const std::string problem = rv::DisplayProblem(); !problem.empty()) {
        std::fprintf(stderr, "reelvault: %s\n", problem.c_str());
        return 1;
    }
    rv::TGuiApplication application;
    rv::RegisterHandCursors();              // 1. what the parts need before any window
    application.Title = rv::kProgramTitle;  // 2.
    application.Initialize();               // 3.
    rv::SetApplicationIcon(rv::AppIcon(128));
    rv::Twnd_rv_Main mainWindow(nullptr);  // 4. its components, then FormCreate
    application.SetMainWindow(mainWindow.Handle());
    mainWindow.Show();
    rv::ReportSetAsideSettings();  // the window has read its settings now
    application.Run();             // 5. until the main window closes
    return 0;
}
