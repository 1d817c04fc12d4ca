// The commands of the main window that keep the library's file: new, open, save, append, the
// recent files, the library's name, the close; the player's; and the private messages.

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/name_dialogs.h"
#include "app/question_boxes.h"
#include "platform/messages/application.h"
#include "platform/text/format.h"
#include "platform/windows/dialog_service.h"
#include "player/player_window.h"

namespace rv {

namespace {

// Loads `fileName` into `library`; a file that cannot be read or holds no library is reported
// by name, and the library stays as it was.
void LoadLibrary(TMediaLib& library, const std::string& fileName) {
    try {
        library.LoadFromFile(fileName);
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& e) {
        throw Exception(
            Format("%s is not a library file or cannot be read:\n%s", fileName.c_str(), e.what()));
    }
}

}  // namespace

void Twnd_rv_Main::RunCommand(void (Twnd_rv_Main::*command)(TObject*), TObject* sender) {
    if (!Scanning()) (this->*command)(sender);
}

void Twnd_rv_Main::AskSave() {
    if (!library_.Modified()) return;
    switch (ConfirmCancel("Save changes?")) {
        case IDYES:
            // The user asked to keep the changes: when they were not saved after all, the
            // caller stops as after Cancel rather than dropping them.
            if (!SaveLibrary()) Abort();
            return;
        case IDNO:
            return;
        default:
            Abort();
    }
}

bool Twnd_rv_Main::SaveLibrary() {
    std::string name = library_.FileName();
    if (name.empty()) {
        if (!sd->Execute()) return false;
        name = sd->FileName;
    }
    try {
        library_.SaveToFile(name);
    } catch (const EAbort&) {
        throw;
    } catch (const std::exception& e) {
        if (Application) Application->HandleException(e);
        return false;
    }
    return true;
}

void Twnd_rv_Main::FormCloseQuery(TObject*, bool& canClose) {
    // A scan files into the library until Stop ends it.
    if (Scanning()) {
        canClose = false;
        return;
    }
    try {
        AskSave();
    } catch (const EAbort&) {
        canClose = false;
    }
}

void Twnd_rv_Main::cmNew(TObject* sender) {
    AskSave();
    library_.NewLibrary();
    // What the right-hand side showed belongs to the library that went.
    HideRightViews();
    cmLibProps(sender);
    RefreshTree(-1, -1);
}

void Twnd_rv_Main::cmOpen(TObject*) {
    if (od->Execute()) OpenLibrary(od->FileName);
}

void Twnd_rv_Main::OpenLibrary(const std::string& fileName) {
    AskSave();
    ShowSplash("Loading...", false);
    HideRightViews();
    try {
        LoadLibrary(library_, fileName);
        MRUList->AddFile(fileName);
        MRUList->Save();
        RefreshTree(-1, -1);
    } catch (...) {
        HideSplash();
        throw;
    }
    HideSplash();
}

void Twnd_rv_Main::MRUListMenuItemClick(TObject* sender) {
    const auto* item = dynamic_cast<const TMenuItem*>(sender);
    if (!item) return;
    const std::vector<std::string>& files = MRUList->GetFiles();
    if (item->Tag < 0 || item->Tag >= static_cast<int>(files.size())) return;
    // A copy: opening the file rebuilds the list and its menu items, the clicked one too.
    const std::string fileName = files[static_cast<std::size_t>(item->Tag)];
    OpenLibrary(fileName);
}

void Twnd_rv_Main::cmSave(TObject* sender) {
    if (library_.FileName().empty())
        cmSaveAs(sender);
    else
        library_.SaveToFile(library_.FileName());
}

void Twnd_rv_Main::cmSaveAs(TObject*) {
    if (sd->Execute()) library_.SaveToFile(sd->FileName);
}

void Twnd_rv_Main::cmAppend(TObject*) {
    AskSave();
    if (!od->Execute()) return;
    ShowSplash("Appending...", false);
    try {
        TMediaLib other;
        LoadLibrary(other, od->FileName);
        library_.Merge(other);
        RefreshTree(-1, -1);
    } catch (...) {
        HideSplash();
        throw;
    }
    HideSplash();
}

void Twnd_rv_Main::cmLibProps(TObject*) {
    std::string name = library_.LibraryName();
    if (ExecutePropsDlg(name, 255)) library_.SetLibraryName(name);
}

void Twnd_rv_Main::cmExit(TObject*) {
    Close();
}

void Twnd_rv_Main::cmAbout(TObject*) {
    ShowAboutDlg(0, "");
}

void Twnd_rv_Main::cmMP3Player(TObject*) {
    // The player adds files to the library through this window's AddFileTrack.
    ShowPlayerWindow(this);
}

void Twnd_rv_Main::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_STOPSCAN:
            return WMStopScan(message);
        case WM_CDDBREAD:
            return WMCddbRead(message);
        case WM_CDDBADD:
            return WMCddbAdd(message);
        case WM_CDDBEND:
            return WMCddbEnd(message);
        case WM_CDDBFAILED:
            return WMCddbFailed(message);
        default:
            TForm::WndProc(message);
    }
}

}  // namespace rv
