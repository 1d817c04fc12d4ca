// Arbitrary bytes as a CDDB answer: its lines as a database entry, as site texts and as site
// lines of a server's list, and the bytes as a drive's READ TOC answer. Nothing may crash, every
// text that comes out is UTF-8, and the invariants hold.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = rv::CddbAnswerLines(bytes);

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
