// The commands of the main window that keep the library's file, the close and the private
// messages, and the player's. The library, file-import, scan and CD commands are built with
// those parts of the program; until then their handlers do nothing.

#include "app/about_box.h"
#include "app/main_window.h"
#include "app/name_dialogs.h"
#include "app/question_boxes.h"
#include "platform/messages/application.h"
#include "platform/windows/dialog_service.h"
#include "player/player_window.h"
#include "search/find_file.h"

namespace rv {

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
    try {
        AskSave();
    } catch (const EAbort&) {
        canClose = false;
    }
}

void Twnd_rv_Main::cmNew(TObject* sender) {
    AskSave();
    library_.NewLibrary();
    cmLibProps(sender);
    RefreshTree(-1, -1);
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

// Opening and appending library files and the recent files (with their progress window).
void Twnd_rv_Main::cmOpen(TObject*) {}
void Twnd_rv_Main::cmAppend(TObject*) {}
void Twnd_rv_Main::MRUListMenuItemClick(TObject*) {}
// The folder scan.
void Twnd_rv_Main::cmScan(TObject*) {}
// Adding, editing and deleting entries.
void Twnd_rv_Main::cmAddFileTrack(TObject*) {}
void Twnd_rv_Main::cmAddTrack(TObject*) {}
void Twnd_rv_Main::cmTrackProps(TObject*) {}
void Twnd_rv_Main::cmAlbumProps(TObject*) {}
void Twnd_rv_Main::cmArtistProps(TObject*) {}
void Twnd_rv_Main::cmDeleteTrack(TObject*) {}
void Twnd_rv_Main::cmDeleteAlbum(TObject*) {}
void Twnd_rv_Main::cmDeleteArtist(TObject*) {}
void Twnd_rv_Main::cmClearLibrary(TObject*) {}
void Twnd_rv_Main::cmMP3Player(TObject*) {
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
        default:
            TForm::WndProc(message);
    }
}

void Twnd_rv_Main::WMStopScan(TMessage&) {
    FindFile->Abort();
}

// The CD look-up's steps: reading the chosen entry, adding the disc's tracks, closing the
// progress window. They come with the CD import.
void Twnd_rv_Main::WMCddbRead(TMessage&) {}
void Twnd_rv_Main::WMCddbAdd(TMessage&) {}
void Twnd_rv_Main::WMCddbEnd(TMessage&) {}

}  // namespace rv
