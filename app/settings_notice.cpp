#include "app/settings_notice.h"

#include "app/question_boxes.h"
#include "platform/registry/registry_file.h"
#include "platform/text/format.h"
#include "platform/windows/dialog_service.h"

namespace rv {

void ReportSetAsideSettings() {
    for (const std::string& name : TakeSetAsideSettingsFiles())
        MessageBox(0,
                   Format("The settings file could not be read; it was kept as %s and the "
                          "default settings are used.",
                          name.c_str()),
                   kWarningCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace rv
