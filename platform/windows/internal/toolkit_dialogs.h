#pragma once
// The toolkit's own dialogs; platform .cpp files only.

#include <QString>

#include "platform/windows/dialog_service.h"

namespace rv {

TDialogService& ToolkitDialogs();

// A pattern of the platform's dialogs ("*.MP3", matched without regard to case) as the toolkit's
// case-sensitive pattern ("*.[mM][pP]3"); "*.*" matches every name, as it does there.
QString CaseBlindPattern(const std::string& pattern);

}  // namespace rv
