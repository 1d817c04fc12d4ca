#include "cd/entry_parser.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "cd/decimal_number.h"
#include "platform/text/ascii_case.h"

namespace rv {
namespace {

enum class Field { Skipped, DiscTitle, Year, Genre, TrackTitle, DiscExtra, TrackExtra };

struct Keyword {
    std::string_view name;
    Field field;
};

// In the order they are tried.
constexpr Keyword kKeywords[] = {
    {"DISCID", Field::Skipped},  {"DTITLE", Field::DiscTitle},  {"DYEAR", Field::Year},
    {"DGENRE", Field::Genre},    {"TTITLE", Field::TrackTitle}, {"EXTD", Field::DiscExtra},
    {"EXTT", Field::TrackExtra},
};

constexpr std::string_view kRevision = "# Revision: ";
constexpr std::string_view kTitleSeparator = " / ";

const Keyword* KeywordOf(std::string_view line) {
    for (const Keyword& k : kKeywords) {
        if (line.size() >= k.name.size() && SameText(line.substr(0, k.name.size()), k.name)) {
            return &k;
        }
    }
    return nullptr;
}

// The raw text of every field, joined line by line before anything is decoded.
struct RawEntry {
    std::string discTitle, year, genre, discExtra;
    TStringArray trackTitles, trackExtras;
};

void ReadLine(std::string_view line, std::size_t trackCount, RawEntry& raw, TCDInfo& info) {
    if (line.starts_with('#')) {
        if (line.starts_with(kRevision)) {
            if (const auto revision = DecimalNumber(line.substr(kRevision.size()))) {
                info.Revision = *revision;
            }
        }
        return;
    }
    const Keyword* keyword = KeywordOf(line);
    if (keyword == nullptr || keyword->field == Field::Skipped) return;
    const std::size_t equals = line.find('=', keyword->name.size());
    if (equals == std::string_view::npos) return;
    const std::string_view between =
        line.substr(keyword->name.size(), equals - keyword->name.size());
    const std::string_view value = line.substr(equals + 1);

    const bool numbered =
        keyword->field == Field::TrackTitle || keyword->field == Field::TrackExtra;
    std::size_t track = 0;
    if (numbered) {
        const bool digits =
            !between.empty() && std::all_of(between.begin(), between.end(),
                                            [](char c) { return c >= '0' && c <= '9'; });
        const auto number = digits ? DecimalNumber(between) : std::nullopt;
        if (!number || static_cast<std::size_t>(*number) >= trackCount) return;
        track = static_cast<std::size_t>(*number);
    } else if (!between.empty()) {
        return;
    }

    switch (keyword->field) {
        case Field::DiscTitle:
            raw.discTitle += value;
            break;
        case Field::Year:
            raw.year = value;
            break;
        case Field::Genre:
            raw.genre = value;
            break;
        case Field::DiscExtra:
            raw.discExtra += value;
            break;
        case Field::TrackTitle:
            raw.trackTitles[track] += value;
            break;
        case Field::TrackExtra:
            raw.trackExtras[track] += value;
            break;
        case Field::Skipped:
            break;
    }
}

}  // namespace

std::string Unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (text[i] != '\\' || (next != 'n' && next != 't' && next != '\\')) {
            out += text[i];
            continue;
        }
        out += next == 'n' ? "\r\n" : next == 't' ? "\t" : "\\";
        ++i;
    }
    return out;
}

void ParseEntry(std::span<const std::string> lines, TCDInfo& info) {
    info.Artist = info.Title = info.Year = info.Genre = info.EXTD = {};
    info.TrackTitles = info.EXTT = {};
    info.Revision = 0;
    // A title for a track the disc does not have would be filed nowhere.
    const std::size_t trackCount = std::min<std::size_t>(info.TOC.Count, info.TrackTitles.size());
    RawEntry raw;
    for (const std::string& line : lines) {
        if (!line.empty()) ReadLine(line, trackCount, raw, info);
    }

    const std::size_t separator = raw.discTitle.find(kTitleSeparator);
    if (separator == std::string::npos) {
        info.Artist = Unescape(raw.discTitle);
    } else {
        info.Artist = Unescape(std::string_view(raw.discTitle).substr(0, separator));
        info.Title = Unescape(std::string_view(raw.discTitle).substr(separator + 3));
    }
    info.Year = Unescape(raw.year);
    info.Genre = Unescape(raw.genre);
    info.EXTD = Unescape(raw.discExtra);
    for (std::size_t i = 0; i < trackCount; ++i) {
        info.TrackTitles[i] = Unescape(raw.trackTitles[i]);
        info.EXTT[i] = Unescape(raw.trackExtras[i]);
    }
}

}  // namespace rv
