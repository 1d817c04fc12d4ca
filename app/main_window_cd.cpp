// The audio CD import: a scan of a CD drive holding an audio disc looks the disc up at the CDDB
// site of the settings, lets the user choose among the matches, reads the chosen entry and files
// the disc's tracks. The client answers by events; each next step starts from a message the
// window posts to itself, outside the event that announced it.
//
// The look-up keeps its own phase, so that an answer is taken only by the step that waits for
// it: a finished read is filed once and only while reading, and the ends (no match, a failed
// read or request) count only while querying or reading. An answer left over from an earlier
// look-up can neither file its disc's titles again nor close the progress window of a new one.
// The look-up lasts until its disc is filed: no scan starts before, as it would take the
// progress window that the filing then closes.
//
// A look-up that ends without a disc tells why, once, after the client's event that ended it;
// one that the user ends by cancelling the choice tells nothing.

#include <algorithm>
#include <utility>

#include "app/cd_import.h"
#include "app/cddb_failure.h"
#include "app/main_window.h"
#include "app/match_dialog.h"
#include "app/question_boxes.h"
#include "app/splash.h"
#include "cd/cddb.h"
#include "platform/windows/dialog_service.h"

namespace rv {

void Twnd_rv_Main::SetUpCdImport() {
    CddbClient->OnStatusMessage = [this](TObject* s, const std::string& text) {
        cddbStatus_ = text;
        CddbClientDataExchange(s, text);
    };
    CddbClient->OnDataExchange = [this](TObject* s, const std::string& text) {
        // The server's own words, when it refuses.
        if (IsCddbAnswerLine(text) && (text[0] == '4' || text[0] == '5')) cddbServerAnswer_ = text;
        CddbClientDataExchange(s, text);
    };
    CddbClient->OnMatch = [this](TObject* s, const TMatchArray& matches, int& rightOne) {
        CddbClientMatch(s, matches, rightOne);
    };
    CddbClient->OnDriveNotice = [this](TObject* s, TCDNotice notice, const std::string& text) {
        CddbClientDriveNotice(s, notice, text);
    };
}

bool Twnd_rv_Main::TakeCdRoad(const std::string& folder) {
    if (!IsCdDriveRoot(folder)) return false;
    driveNotices_.clear();
    if (!DiscHasAudio(folder)) return false;
    QueryCddb();
    return true;
}

void Twnd_rv_Main::CddbClientDriveNotice(TObject*, TCDNotice notice, const std::string& text) {
    // The drive is read again as the look-up goes on; what it has to say is said once.
    if (std::find(driveNotices_.begin(), driveNotices_.end(), text) != driveNotices_.end()) return;
    driveNotices_.push_back(text);
    if (notice == TCDNotice::Error)
        MessageBox(0, text, kErrorCaption, MB_OK | MB_ICONERROR);
    else
        MessageBox(0, text, kWarningCaption, MB_OK | MB_ICONWARNING);
}

bool Twnd_rv_Main::DiscHasAudio(const std::string& drive) {
    if (!CddbClient->ReadTOCByLetter(drive)) return false;
    const TCDTOC& toc = CddbClient->GetCDInfo().TOC;
    for (std::size_t i = 0; i < toc.Count && i < toc.Tracks.size(); ++i)
        if (toc.Tracks[i].Audio) return true;
    return false;
}

void Twnd_rv_Main::FailCdLookup() {
    const TCddbStep step = cdLookup_ == TCdLookup::Reading ? TCddbStep::Read : TCddbStep::Query;
    cdLookup_ = TCdLookup::Idle;
    SendMessage(Handle(), WM_CDDBEND, 0, 0);
    const TCddbFailure failure = CddbFailure(step, cddbStatus_, cddbServerAnswer_);
    cddbFailure_ = failure.Text;
    cddbNoMatch_ = failure.NoMatch;
    PostMessage(Handle(), WM_CDDBFAILED, 0, 0);
}

void Twnd_rv_Main::QueryCddb() {
    // Not modal, having no Stop: the look-up ends by itself, at the latest by the client's
    // time-out.
    ShowSplash("Querying CDDB...", false);
    AimCddbClient(*CddbClient, Prefs);
    cdLookup_ = TCdLookup::Querying;
    cddbStatus_.clear();
    cddbServerAnswer_.clear();
    CddbClient->HTTPQuery();
    // A query that did not even start (no HTTP site) says so by no event of its end.
    if (cdLookup_ == TCdLookup::Querying && CddbClient->State() != cddbQuerySent) FailCdLookup();
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
    cddbStatus_.clear();
    cddbServerAnswer_.clear();
    const std::int32_t state = CddbClient->State();
    if (state == cddbMatchChosen || state == cddbMatchList) CddbClient->HTTPRead();
    if (cdLookup_ == TCdLookup::Reading && CddbClient->State() != cddbReadSent) FailCdLookup();
}

void Twnd_rv_Main::CddbClientDataExchange(TObject*, const std::string&) {
    const std::int32_t state = CddbClient->State();
    const bool waiting = cdLookup_ == TCdLookup::Querying || cdLookup_ == TCdLookup::Reading;
    if (state == cddbEntryRead && cdLookup_ == TCdLookup::Reading) {
        cdLookup_ = TCdLookup::Filing;
        PostMessage(Handle(), WM_CDDBADD, 0, 0);
    } else if (waiting && (state == cddbNoMatch || state == cddbHttpFailed ||
                           (state == cddbReadFailed && cdLookup_ == TCdLookup::Reading))) {
        FailCdLookup();
    }
}

void Twnd_rv_Main::WMCddbAdd(TMessage&) {
    if (cdLookup_ != TCdLookup::Filing) return;
    cdLookup_ = TCdLookup::Idle;
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

void Twnd_rv_Main::WMCddbFailed(TMessage&) {
    const std::string text = std::exchange(cddbFailure_, {});
    if (text.empty()) return;
    if (cddbNoMatch_)
        MessageBox(0, text, kInformationCaption, MB_OK | MB_ICONINFORMATION);
    else
        MessageBox(0, text, kErrorCaption, MB_OK | MB_ICONERROR);
}

}  // namespace rv
