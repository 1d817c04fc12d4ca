#pragma once

namespace rv {

// Tells the user, in a message box per file, of each damaged settings file that was kept aside
// since the last call (the program then starts with the defaults). Called once the main window
// has read its settings.
void ReportSetAsideSettings();

}  // namespace rv
