#include "cd/cddb_answer.h"

#include <algorithm>
#include <array>
#include <optional>

#include "cd/disc_id.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"
#include "platform/text/utf8.h"

namespace rv {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The text from `from` on; empty when the text is shorter.
std::string_view From(std::string_view text, std::size_t from) {
    return text.substr(std::min(from, text.size()));
}

template <std::size_t N>
void StoreInFirstEmpty(std::array<std::string, N>& slots, std::string text) {
    if (text.empty()) return;
    const auto free = std::find(slots.begin(), slots.end(), std::string());
    if (free != slots.end()) *free = std::move(text);  // a full list takes no more
}

// The words for an answer code the request has none of its own for, and whether the server
// closes the connection with it (State back to idle).
struct GeneralText {
    std::string text;
    bool closes = false;
};

GeneralText GeneralTextOf(std::string_view line) {
    const bool numbered = line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, IsDigit);
    const int code = numbered ? (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0') : -1;
    switch (code) {
        case 402:
            return {"Server error"};
        case 408:
            return {"CGI environment error"};
        case 500:
            return {"Command syntax error, command unknown, command unimplemented"};
        case 530:
            return {"Server error, server timeout", true};
        default:
            break;
    }
    static constexpr const char* kClass[] = {"Informative message", "Command OK",
                                             "Command OK so far",
                                             "Command OK, but cannot be performed",
                                             "Command unimplemented, incorrect, or program error"};
    static constexpr const char* kDetail[] = {
        ", ready for further commands", ", more server-to-client output follows",
        ", more client-to-server input follows", ", connection will close"};
    if (line.empty() || line[0] < '1' || line[0] > '5') return {"Unexpected answer line"};
    GeneralText result{kClass[line[0] - '1']};
    const int detail = code % 100;
    if (code >= 0 && detail % 10 == 0 && detail <= 30) {
        result.text += kDetail[detail / 10];
        result.closes = detail == 30;
    }
    return result;
}

}  // namespace

bool IsCddbAnswerLine(std::string_view line) {
    return line.size() >= 3 && std::all_of(line.begin(), line.begin() + 3, IsDigit) &&
           (line.size() == 3 || line[3] == ' ');
}

struct CddbCodeAnswer {
    std::string_view code;
    std::int32_t state;
    const char* text;
    std::optional<bool> handshake = std::nullopt;  // what the flag becomes; none: kept
};

namespace {

constexpr CddbCodeAnswer kBanner[] = {
    {"200", cddbBannerReadWrite, "OK, read/write allowed", false},
    {"201", cddbBannerReadOnly, "OK, read only", false},
    {"432", cddbIdle, "No connections allowed: permission denied", false},
    {"433", cddbIdle, "No connections allowed: X users allowed, Y currently active", false},
    {"434", cddbIdle, "No connections allowed: system load too high", false},
};

constexpr CddbCodeAnswer kHello[] = {
    {"200", cddbHandshakeDone, "Handshake successful", true},
    {"402", cddbHandshakeDone, "Already shook hands", true},
    {"431", cddbIdle, "Handshake not successful, closing connection", false},
};

constexpr CddbCodeAnswer kProtocol[] = {
    {"201", cddbProtocolLevel5, "OK, protocol level now: 5"},
    {"502", cddbProtocolLevel5, "Protocol level already 5"},
    {"501", cddbConnected, "Illegal protocol level"},
};

constexpr CddbCodeAnswer kSubmission[] = {
    {"200", cddbSubmissionAccepted, "OK, submission has been sent."},
    {"500", cddbSubmissionRefused, "Missing required header information."},
    {"501", cddbSubmissionRefused, "Invalid header information."},
};

}  // namespace

void CddbAnswerReader::Line(std::string_view line) {
    switch (State) {
        case cddbConnected:
            CodeLine(line, kBanner);
            break;
        case cddbHelloSent:
            CodeLine(line, kHello);
            break;
        case cddbProtocolAsked:
            CodeLine(line, kProtocol);
            break;
        case cddbQuerySent:
            QueryLine(line);
            break;
        case cddbReadSent:
            ReadLine(line);
            break;
        case cddbSitesSent:
            SitesLine(line);
            break;
        case cddbSubmissionSent:
            CodeLine(line, kSubmission);
            break;
        case cddbClosing:
            Report(cddbIdle, "Connection closed");
            break;
        default:
            break;
    }
}

void CddbAnswerReader::CodeLine(std::string_view line, std::span<const CddbCodeAnswer> answers) {
    const std::string_view code = line.substr(0, 3);
    for (const CddbCodeAnswer& answer : answers) {
        if (answer.code != code) continue;
        if (answer.handshake) Handshake = *answer.handshake;
        Report(answer.state, answer.text);
        return;
    }
    GeneralAnswer(line);
}

void CddbAnswerReader::QueryLine(std::string_view line) {
    const std::string_view code = line.substr(0, 3);
    if (code == "200") {
        if (!Report(cddbMatchChosen, "Found exact match")) return;
        matches_ = {};
        // The text after the code and the character that follows it.
        std::size_t text = code.size();
        if (text < line.size()) DecodeUtf8(line, text);
        matches_[0] = Trim(From(line, text));
        const int chosen = Choose();
        if (chosen < 0) return;
        const std::string& match = matches_[chosen];
        info_.Category = match.substr(0, match.find(' '));
        // The server's own text of the id may differ in form; the disc's is known.
        info_.DiscID = Format("%08X", CddbDiscId(QueryTOC));
    } else if (code == "210" || code == "211") {
        if (!Report(State, code == "210" ? "Found exact matches" : "Found inexact matches")) return;
        matches_ = {};
        Report(State, "OK, receiving matches");
    } else if (code == "202") {
        Report(cddbNoMatch, "No match found");
    } else if (code == "403") {
        Report(cddbNoMatch, "Database entry is corrupt");
    } else if (code == "409") {
        Handshake = false;
        Report(cddbNoMatch, "No handshake");
    } else if (!line.empty() && IsDigit(line[0])) {
        GeneralAnswer(line);
    } else if (Trim(line) == ".") {
        // A list without a single match line found nothing.
        if (matches_[0].empty()) {
            Report(cddbNoMatch, "No match found");
            return;
        }
        if (!Report(cddbMatchList, "Received matches")) return;
        const int chosen = Choose();
        if (chosen < 0) return;
        // "category discid artist / title"
        const std::string& match = matches_[chosen];
        const std::size_t blank = match.find(' ');
        info_.Category = blank == std::string::npos ? std::string() : match.substr(0, blank);
        info_.DiscID = CutToChars(From(match, blank == std::string::npos ? 0 : blank + 1), 8);
        State = cddbMatchChosen;
    } else {
        StoreInFirstEmpty(matches_, Trim(line));
    }
}

void CddbAnswerReader::ReadLine(std::string_view line) {
    const std::string_view code = line.substr(0, 3);
    if (code == "210") {
        entry_ = {};
        Report(State, "OK, CDDB database entry follows");
    } else if (code == "401") {
        Report(cddbReadFailed, "Specified CDDB entry not found");
    } else if (code == "403") {
        Report(cddbReadFailed, "Database entry is corrupt");
    } else if (code == "409") {
        Handshake = false;
        Report(cddbReadFailed, "No handshake");
    } else if (code == "402" || line.empty()) {
        // no effect
    } else if (Trim(line) == ".") {
        std::string reason;
        if (OnEntryComplete && !OnEntryComplete(reason)) {
            Report(cddbReadFailed, reason);
        } else {
            Report(cddbEntryRead, "Entry read");
        }
    } else if (std::string_view("#TDEP").find(line[0]) != std::string_view::npos) {
        StoreInFirstEmpty(entry_, Trim(line));
    } else {
        State = cddbReadFailed;
        GeneralAnswer(line);
    }
}

void CddbAnswerReader::SitesLine(std::string_view line) {
    const std::string_view code = line.substr(0, 3);
    if (code == "210") {
        sites_ = {};
        Report(State, "OK, receiving sites");
    } else if (code == "401") {
        Report(cddbNoSiteInfo, "No site information available");
    } else if (Trim(line) == ".") {
        Report(cddbSitesReceived, "Got sites");
    } else if (const auto site = SiteFromServerLine(line)) {
        const auto free = std::find_if(sites_.begin(), sites_.end(),
                                       [](const TServer& s) { return s.Address.empty(); });
        if (free != sites_.end()) *free = *site;
    }
}

void CddbAnswerReader::GeneralAnswer(std::string_view line) {
    const GeneralText general = GeneralTextOf(line);
    if (general.closes) Handshake = false;
    Report(general.closes ? cddbIdle : State, general.text);
}

int CddbAnswerReader::Choose() {
    int rightOne = 0;
    if (OnChoose && !OnChoose(matches_, rightOne)) return -1;
    const bool valid = rightOne >= 0 && static_cast<std::size_t>(rightOne) < matches_.size() &&
                       !matches_[rightOne].empty();
    if (!valid) State = cddbNoMatch;
    return valid ? rightOne : -1;
}

bool CddbAnswerReader::Report(std::int32_t state, const std::string& status) {
    State = state;
    return !OnStatus || OnStatus(status);
}

}  // namespace rv
