// Arbitrary bytes as a CDDB answer: its lines as the answer to a query, a read, a request for
// the sites and a submission, and as the line protocol's banner, hello and level answers, as a
// database entry, as site texts and as site lines of a server's list, and the
// bytes as a drive's READ TOC answer. Nothing may crash, every text that comes out is UTF-8, and
// the invariants hold.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cd/cddb_answer.h"
#include "cd/cddb_text.h"
#include "cd/entry_parser.h"
#include "cd/site.h"
#include "cd/toc_convert.h"
#include "platform/text/utf8.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckSite(const rv::TServer& s) {
    for (const std::string* text : {&s.Address, &s.CGIPath, &s.Location.Latitude,
                                    &s.Location.Longitude, &s.Location.Description}) {
        Check(rv::IsValidUtf8(*text));
    }
}

// The answer read as the reply to each request; the first match, if any, is chosen.
void ReadAsAnswers(const std::vector<std::string>& lines) {
    for (const std::int32_t request :
         {rv::cddbQuerySent, rv::cddbReadSent, rv::cddbSitesSent, rv::cddbSubmissionSent,
          rv::cddbConnected, rv::cddbHelloSent, rv::cddbProtocolAsked, rv::cddbClosing}) {
        rv::TCDInfo info;
        rv::CddbAnswerReader reader(info);
        reader.State = request;
        reader.QueryTOC.Count = 1;
        reader.OnStatus = [](const std::string& status) {
            Check(!status.empty());
            return true;
        };
        for (const std::string& line : lines) reader.Line(line);
        Check(rv::IsValidUtf8(info.Category) && rv::IsValidUtf8(info.DiscID));
        for (const std::string& match : reader.Matches()) Check(rv::IsValidUtf8(match));
        for (const std::string& line : reader.Entry()) Check(rv::IsValidUtf8(line));
        for (const rv::TServer& site : reader.Sites()) CheckSite(site);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = rv::CddbAnswerLines(bytes);
    ReadAsAnswers(lines);

    rv::TCDInfo info;
    info.TOC.Count = 99;
    rv::ParseEntry(lines, info);
    for (const std::string* text :
         {&info.Artist, &info.Title, &info.Year, &info.Genre, &info.EXTD}) {
        Check(rv::IsValidUtf8(*text));
    }
    for (std::size_t i = 0; i < info.TrackTitles.size(); ++i) {
        Check(rv::IsValidUtf8(info.TrackTitles[i]) && rv::IsValidUtf8(info.EXTT[i]));
    }

    for (const std::string& line : lines) {
        Check(rv::Unescape(line).size() <= line.size());
        CheckSite(rv::StrToSite(line));
        if (const auto site = rv::SiteFromServerLine(line)) {
            CheckSite(*site);
            Check(!site->Address.empty());
            Check(rv::SiteFromServerLine(rv::SiteToStr(*site)) == site);
        }
    }

    rv::TCDRawTOC raw;
    raw.Length = std::min(size, raw.Data.size());
    std::copy_n(data, raw.Length, raw.Data.begin());
    rv::TCDTOC toc;
    if (rv::ConvertTOC(raw, toc)) {
        Check(toc.Count >= 1 && toc.Count <= 99 && 4 + 8 * (toc.Count + 1u) <= raw.Length);
    } else {
        Check(toc == rv::TCDTOC{});
    }
    return 0;
}
