// The folder scan and the progress window it shares with loading, appending and the CD look-up.

#include <algorithm>

#include "app/cd_import.h"
#include "app/main_window.h"
#include "app/question_boxes.h"
#include "app/splash.h"
#include "platform/messages/application.h"
#include "platform/text/format.h"
#include "platform/windows/dialog_service.h"
#include "platform/windows/top_level_window.h"
#include "search/find_file.h"

namespace rv {

void Twnd_rv_Main::ShowSplash(const std::string& text, bool showStop) {
    HideSplash();
    splash_ = new Twnd_rv_Splash(this);
    splash_->lText->SetCaption(text);
    splash_->bStop->SetVisible(showStop);
    // With Stop, modal without a loop of its own: the program's other windows take no input
    // while it is up, and the events of the scan it watches go on arriving. Without, it shows a
    // step that ends by itself (loading, a CD look-up) and holds nothing up.
    SetWindowModal(splash_->Handle(), showStop);
    splash_->Show();
    splash_->Repaint();
    if (showStop && splash_->bStop->CanFocus()) splash_->bStop->SetFocus();
}

void Twnd_rv_Main::HideSplash() {
    Twnd_rv_Splash* splash = splash_;
    splash_ = nullptr;
    delete splash;
}

bool Twnd_rv_Main::Scanning() const {
    return FindFile && FindFile->Busy();
}

void Twnd_rv_Main::cmScan(TObject*) {
    std::string folder;
    if (SelectDirectory("Select directory", "", folder)) ScanFolder(folder);
}

bool Twnd_rv_Main::ScanRefused(const std::string& folder) {
    // A scan's progress window, modal with its Stop, is in front and says what runs.
    if (Scanning()) return true;
    if (cdLookup_ == TCdLookup::Idle) return false;
    // A look-up's is not: without a word the user would not know why nothing happens.
    MessageBox(0,
               Format("A CD is being looked up at the CDDB site already. Scan the %s again once "
                      "that look-up has ended.",
                      IsCdDriveRoot(folder) ? "drive" : "folder"),
               kInformationCaption, MB_OK | MB_ICONINFORMATION);
    return true;
}

void Twnd_rv_Main::ScanFolder(const std::string& folder) {
    if (ScanRefused(folder) || TakeCdRoad(folder)) return;
    TFileCriteria& files = FindFile->Criteria().Files;
    files.FileName = kScanMasks;
    files.Subfolders = true;
    files.Included.clear();
    // Locations are separated by ";", which a folder name may hold on Linux: such a folder is
    // given as one entry per mask, which is taken whole.
    if (folder.find(';') == std::string::npos) {
        files.Location = folder;
    } else {
        files.Location.clear();
        const std::string path = folder.ends_with('/') ? folder : folder + "/";
        for (std::size_t start = 0, end; start < files.FileName.size(); start = end + 1) {
            end = std::min(files.FileName.find(';', start), files.FileName.size());
            files.Included.push_back(">" + path + files.FileName.substr(start, end - start));
        }
    }
    FindFile->Execute();
}

void Twnd_rv_Main::FindFileSearchBegin(TFindFile&) {
    ShowSplash("Scanning...", true);
    sb->Panels(0)->SetText(LibraryCountsText(library_));
}

void Twnd_rv_Main::FindFileFileMatch(TFindFile&, const std::string& folder,
                                     const TSearchRec& fileInfo) {
    // The views are rebuilt once, at the end; each file shows only the counts.
    import_.AddFile(folder + fileInfo.Name(), library_);
}

void Twnd_rv_Main::FindFileSearchFinish(TFindFile&) {
    // Also after Stop: the tree shows what was imported until then.
    try {
        RefreshTree(-1, -1);
    } catch (...) {
        HideSplash();
        throw;
    }
    HideSplash();
}

void Twnd_rv_Main::WMStopScan(TMessage&) {
    FindFile->Abort();
}

}  // namespace rv
