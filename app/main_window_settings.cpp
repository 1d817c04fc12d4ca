// The program's settings: the CDDB site and the proxy, kept by the window's storage, read when
// the window is first shown and changed in the preferences dialog.

#include "app/main_window.h"
#include "app/prefs_dialog.h"
#include "cd/cddb.h"

namespace rv {

void Twnd_rv_Main::SetUpSettings() {
    AddSettingValues(Storage->StoredValues());
    Storage->OnRestorePlacement = [this](TObject* s) { StorageRestorePlacement(s); };
    SetUpCddbClient(*CddbClient);
    SetUpCdImport();
}

void Twnd_rv_Main::StorageRestorePlacement(TObject*) {
    LoadSettings();
}

void Twnd_rv_Main::LoadSettings() {
    Storage->StoredValues().ReadAll();
    Prefs = SettingsFromValues(Storage->StoredValues());
}

void Twnd_rv_Main::SaveSettings() {
    SettingsToValues(Prefs, Storage->StoredValues());
    Storage->StoredValues().WriteAll();
}

void Twnd_rv_Main::cmPrefs(TObject*) {
    if (ExecutePrefs(Prefs)) SaveSettings();
}

}  // namespace rv
