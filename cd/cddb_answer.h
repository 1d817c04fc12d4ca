#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "cd/cd_info.h"
#include "cd/cddb_states.h"
#include "cd/site.h"

// The lines of a CDDB server's answers, read by the state of the request they answer.
namespace rv {

// An answer that only sets State and tells a text of its own.
struct CddbCodeAnswer;

// Whether a line can open a CDDB answer: a three-digit code, alone or followed by a blank.
bool IsCddbAnswerLine(std::string_view line);

// Reads answer lines into the client's record and lists: a query (State 6) yields the matches
// and the chosen one's category and disc id, a read (11) the lines of the entry, a request for
// the sites (7) the site list, a submission (14) whether the server took it. On the line
// protocol's connection it also reads the banner (0), the answer to the hello (1) and to the
// protocol level (9), and a line while closing (15). Lines in other states are not looked at.
// Each step sets State before it tells its status.
class CddbAnswerReader {
public:
    explicit CddbAnswerReader(TCDInfo& info) : info_(info) {}

    // Told each status text. Returns whether to go on with the line: false when the client has
    // moved on meanwhile (another request started).
    std::function<bool(const std::string& status)> OnStatus;
    // Asked to choose among the matches: sets `rightOne` to the index of the chosen one, -1 for
    // none; returns whether to go on, as OnStatus does. Without a handler the first is chosen.
    std::function<bool(const TMatchArray& matches, int& rightOne)> OnChoose;
    // Called when the entry's last line has come, to file it; false when it cannot be filed,
    // `reason` telling why (the read then fails). Without a handler the entry counts as filed.
    std::function<bool(std::string& reason)> OnEntryComplete;

    std::int32_t State = cddbIdle;
    // Whether the line protocol's server has taken the client's hello.
    bool Handshake = false;
    // The table of contents the query asks about; an exact match takes its disc id.
    TCDTOC QueryTOC{};

    void Line(std::string_view line);

    const TMatchArray& Matches() const { return matches_; }
    const TEntryArray& Entry() const { return entry_; }
    const TServerArray& Sites() const { return sites_; }

private:
    void QueryLine(std::string_view line);
    void ReadLine(std::string_view line);
    void SitesLine(std::string_view line);
    // The answers that only set State and tell a text of their own, by their code.
    // Other codes get the general texts.
    void CodeLine(std::string_view line, std::span<const CddbCodeAnswer> answers);
    // An answer code the request has no word of its own for.
    void GeneralAnswer(std::string_view line);
    // The index of the chosen match; -1 when none is (State is then cddbNoMatch) or when the
    // client has moved on.
    int Choose();
    // Sets State and tells `status`; false when the line is to be left alone.
    bool Report(std::int32_t state, const std::string& status);

    TCDInfo& info_;
    TMatchArray matches_{};
    TEntryArray entry_{};
    TServerArray sites_{};
};

}  // namespace rv
