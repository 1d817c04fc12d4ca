// The CDDB client's requests: starting one, and reading its answer.

#include "cd/cddb.h"

#include "cd/cddb_text.h"
#include "cd/cddb_url.h"
#include "cd/disc_id.h"
#include "cd/entry_parser.h"
#include "net/http_cli.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

// The start of the status of a request that failed, up to the opening quote of the reason.
std::string FailedText(bool post) {
    return std::string(kCddbInternalError) + "THttpCli." + (post ? "PostAsync" : "GetAsync") +
           " failed because of error \"";
}

}  // namespace

void TCddb::HTTPQuery() {
    StartRequest(Request::Query);
}

void TCddb::HTTPRead() {
    StartRequest(Request::Read);
}

void TCddb::HTTPSites() {
    StartRequest(Request::Sites);
}

void TCddb::StartRequest(Request request) {
    if (request == Request::Read && State() == cddbNoMatch) {
        Status("Can't perform a CDDB READ without a successful CDDB QUERY!");
        return;
    }
    // From here on an answer still on its way belongs to an earlier request.
    const std::uint64_t serial = ++serial_;
    if (ServerType != TServerType::HTTP) {
        Fail("Selected server not an HTTP server");
        return;
    }
    static constexpr std::int32_t kSentState[] = {cddbQuerySent, cddbReadSent, cddbSitesSent};
    static constexpr const char* kStartText[] = {"Querying CD", "Reading CD info", "Getting sites"};
    const auto index = static_cast<std::size_t>(request);
    // Set before anything is told, so that no owner takes this request's events for the end of
    // the last one.
    reader_.State = kSentState[index];

    std::string command = "sites";
    if (request == Request::Query) {
        std::string failure;
        const bool read = ReadQueryTOC(failure);
        if (MovedOn(serial)) return;
        if (!read) {
            reader_.State = cddbNoMatch;
            Status(failure);
            return;
        }
        command = CddbQueryCommand(reader_.QueryTOC);
    } else if (request == Request::Read) {
        command = "cddb read " + Trim(info_.Category) + " " + Trim(info_.DiscID);
    }
    const std::string url = CddbRequestUrl({ServerAddr, ServerPort, ServerAdditionalAddr}, command,
                                           EmailUser, ClientName, ClientVersion);
    Status(kStartText[index]);
    if (MovedOn(serial)) return;
    SendRequest(serial, request, url);
}

void TCddb::SendRequest(std::uint64_t serial, Request request, const std::string& url) {
    DataExchange(url + "\r\n");
    if (MovedOn(serial)) return;
    received_.str({});
    received_.clear();
    http_->URL = url;
    try {
        if (request == Request::Submission)
            http_->PostAsync();
        else
            http_->GetAsync();
    } catch (const std::exception& e) {
        Fail(FailedText(request == Request::Submission) + e.what() + "\"");
        return;
    }
    request_ = request;
    answerSerial_ = serial;
}

bool TCddb::ReadQueryTOC(std::string& failure) {
    if (!InternalTOCRetrieve) {
        failure = "No CD-ROM interface detected!";
        return false;
    }
    TocRead read = TocRead::NoDrive;
    try {
        read = ReadDrive(drives_.CurrentDrive, info_.TOC);
    } catch (const std::exception& e) {
        failure = e.what();
        return false;
    }
    info_.DiscID = DiscIdText(CddbDiscId(info_.TOC));
    reader_.QueryTOC = info_.TOC;
    if (read == TocRead::NoDrive) failure = "No CD/DVD drive found";
    if (read == TocRead::NoDisc) failure = "No CD in CD/DVD drive!";
    return read == TocRead::Disc;
}

void TCddb::RequestDone(std::uint16_t error) {
    const std::uint64_t serial = serial_;
    // A later request was started meanwhile (and could not be, or the client would be busy):
    // this answer is no longer awaited.
    if (answerSerial_ != serial) return;
    answerSerial_ = 0;
    try {
        if (error != 0) {
            Fail(FailedText(request_ == Request::Submission) + http_->ReasonPhrase() + "\"");
        } else if (http_->StatusCode() < 200 || http_->StatusCode() > 299) {
            Fail(FailedText(request_ == Request::Submission) + std::to_string(http_->StatusCode()) +
                 " " + http_->ReasonPhrase() + "\"");
        } else {
            HandleAnswer();
        }
    } catch (const std::exception& e) {
        if (!MovedOn(serial)) Fail(kCddbInternalError + std::string(e.what()));
    }
}

void TCddb::HandleAnswer() {
    const std::uint64_t serial = serial_;
    const std::vector<std::string> lines = CddbAnswerLines(received_.str());
    received_.str({});
    if (lines.empty()) {
        Fail("The CDDB server sent an empty answer");
        return;
    }
    // A page from a web server that is no CDDB server, or from a portal in between.
    if (!IsCddbAnswerLine(lines.front())) {
        Fail("The server's answer is not a CDDB answer");
        return;
    }
    for (const std::string& line : lines) {
        DataExchange(line);
        if (MovedOn(serial)) return;
        reader_.Line(line);
        if (MovedOn(serial)) return;
    }
    if (!AnswerComplete()) Fail("The CDDB server's answer ended before it was complete");
}

bool TCddb::AnswerComplete() const {
    const std::int32_t state = State();
    switch (request_) {
        case Request::Query:
            return state == cddbMatchChosen || state == cddbNoMatch;
        case Request::Read:
            return state == cddbEntryRead || state == cddbReadFailed;
        case Request::Sites:
            return state == cddbSitesReceived || state == cddbNoSiteInfo;
        case Request::Submission:
            return state == cddbSubmissionAccepted || state == cddbSubmissionRefused;
    }
    return false;
}

bool TCddb::FileEntry(std::string& reason) {
    const TCDTOC& queried = reader_.QueryTOC;
    TCDTOC now;
    bool sameDisc = false;
    try {
        sameDisc = InternalTOCRetrieve && ReadDrive(drives_.CurrentDrive, now) == TocRead::Disc &&
                   CddbDiscId(now) == CddbDiscId(queried);
    } catch (const Exception&) {
        // no way to the drive: the disc cannot be confirmed
    }
    if (!sameDisc) {
        reason = "The disc in the drive has changed since the query";
        return false;
    }
    const std::string category = info_.Category;
    info_ = TCDInfo{};
    info_.Category = category;
    info_.TOC = queried;
    info_.DiscID = DiscIdText(CddbDiscId(queried));
    ParseEntry(reader_.Entry(), info_);
    return true;
}

void TCddb::Fail(const std::string& status) {
    reader_.State = cddbHttpFailed;
    Status(status);
}

}  // namespace rv
