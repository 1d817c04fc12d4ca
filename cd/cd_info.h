#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "cd/cd_records.h"

// One disc as a CDDB lookup describes it. Texts are UTF-8.
namespace rv {

using TStringArray = std::array<std::string, 100>;
using TEntryArray = std::array<std::string, 512>;  // the lines of a received entry
using TMatchArray = std::array<std::string, 100>;  // the lines of a match list

struct TCDInfo {
    std::string DiscID{};  // 8 hexadecimal digits
    std::string Artist{};
    std::string Title{};
    std::string Year{};
    std::string Genre{};
    std::string EXTD{};          // extended disc data
    TStringArray TrackTitles{};  // index: track number from 0
    TStringArray EXTT{};         // extended track data
    std::string Category{};      // first word of the chosen match line
    std::int32_t Revision = 0;
    TCDTOC TOC{};

    bool operator==(const TCDInfo&) const = default;
};

}  // namespace rv
