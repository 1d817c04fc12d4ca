// The audio CD import: a scan of a CD drive holding an audio disc looks the disc up at the CDDB
// site of the settings, lets the user choose among the matches, reads the chosen entry and files
// the disc's tracks. The client answers by events; each next step starts from a message the
// window posts to itself, outside the event that announced it.
//
// The look-up keeps its own phase, so that an answer is taken only by the step that waits for
// it: a finished read is filed once and only while reading, and the ends (no match, a failed
// read or request) count only while querying or reading. An answer left over from an earlier
// look-up can neither file its disc's titles again nor close the progress window of a new one.

#include "app/cd_import.h"
#include "app/main_window.h"
#include "app/match_dialog.h"
#include "app/splash.h"
#include "cd/cddb.h"

namespace rv {

void Twnd_rv_Main::SetUpCdImport() {
    const auto exchange = [this](TObject* s, const std::string& text) {
        CddbClientDataExchange(s, text);
    };
    CddbClient->OnStatusMessage = exchange;
    CddbClient->OnDataExchange = exchange;
    CddbClient->OnMatch = [this](TObject* s, const TMatchArray& matches, int& rightOne) {
        CddbClientMatch(s, matches, rightOne);
    };
}

bool Twnd_rv_Main::TakeCdRoad(const std::string& folder) {
    if (!IsCdDriveRoot(folder) || !DiscHasAudio(folder)) return false;
    QueryCddb();
    return true;
}

bool Twnd_rv_Main::DiscHasAudio(const std::string& drive) {
    if (!CddbClient->ReadTOCByLetter(drive)) return false;
    const TCDTOC& toc = CddbClient->GetCDInfo().TOC;
    for (std::size_t i = 0; i < toc.Count && i < toc.Tracks.size(); ++i)
        if (toc.Tracks[i].Audio) return true;
    return false;
}

void Twnd_rv_Main::EndCdLookup() {
    cdLookup_ = TCdLookup::Idle;
    SendMessage(Handle(), WM_CDDBEND, 0, 0);
}

void Twnd_rv_Main::QueryCddb() {
    // Not modal, having no Stop: the look-up ends by itself, at the latest by the client's
    // time-out.
    ShowSplash("Querying CDDB...", false);
    AimCddbClient(*CddbClient, Prefs);
    cdLookup_ = TCdLookup::Querying;
    CddbClient->HTTPQuery();
    // A query that did not even start (no HTTP site) says so by no event of its end.
    if (cdLookup_ == TCdLookup::Querying && CddbClient->State() != cddbQuerySent) EndCdLookup();
}

void Twnd_rv_Main::CddbClientMatch(TObject* sender, const TMatchArray& matches, int& rightOne) {
    if (cdLookup_ != TCdLookup::Querying) {
        rightOne = -1;
        return;
    }
    const TMatchArray lines = matches;
    cdLookup_ = TCdLookup::Choosing;
    // The progress window goes before the choice opens.
    SendMessage(Handle(), WM_CDDBEND, 0, 0);
    rightOne = ExecuteMatchDlg(lines);
    if (rightOne >= 0)
        PostMessage(Handle(), WM_CDDBREAD, reinterpret_cast<WPARAM>(sender), 0);
    else
        cdLookup_ = TCdLookup::Idle;
}

void Twnd_rv_Main::WMCddbRead(TMessage& message) {
    // Only the window's own client, and only for the choice just made.
    if (cdLookup_ != TCdLookup::Choosing ||
        message.WParam != reinterpret_cast<WPARAM>(static_cast<TObject*>(CddbClient)))
        return;
    cdLookup_ = TCdLookup::Reading;
    ShowSplash("Reading from CDDB...", false);
    const std::int32_t state = CddbClient->State();
    if (state == cddbMatchChosen || state == cddbMatchList) CddbClient->HTTPRead();
    if (cdLookup_ == TCdLookup::Reading && CddbClient->State() != cddbReadSent) EndCdLookup();
}

void Twnd_rv_Main::CddbClientDataExchange(TObject*, const std::string&) {
    const std::int32_t state = CddbClient->State();
    const bool waiting = cdLookup_ == TCdLookup::Querying || cdLookup_ == TCdLookup::Reading;
    if (state == cddbEntryRead && cdLookup_ == TCdLookup::Reading) {
        cdLookup_ = TCdLookup::Idle;
        PostMessage(Handle(), WM_CDDBADD, 0, 0);
    } else if (waiting && (state == cddbNoMatch || state == cddbHttpFailed ||
                           (state == cddbReadFailed && cdLookup_ == TCdLookup::Reading))) {
        EndCdLookup();
    }
}

void Twnd_rv_Main::WMCddbAdd(TMessage&) {
    // The progress window goes, also when filing fails.
    struct Closing {
        Twnd_rv_Main& window;
        ~Closing() { window.HideSplash(); }
    } closing{*this};
    AddDiscTracks(CddbClient->GetCDInfo(), library_);
    RefreshTree(-1, -1);
}

void Twnd_rv_Main::WMCddbEnd(TMessage&) {
    HideSplash();
}

}  // namespace rv
