#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cd/cd_info.h"

// The lines of a CDDB database entry ("DTITLE=Artist / Album", "TTITLE0=...", ...) turned
// into a disc record.
namespace rv {

// Decodes the entry escapes in one pass from the left: "\n" gives CR LF, "\t" a tab, "\\" one
// backslash; a backslash before anything else stays as it is.
std::string Unescape(std::string_view text);

// Fills the texts of `info` (Artist, Title, Year, Genre, EXTD, TrackTitles, EXTT, Revision,
// emptied first) from the entry's lines; DiscID, Category and TOC are left as they are, and
// TOC.Count is the disc's number of tracks.
// - Lines of one field are joined, then decoded once. DTITLE is split at its first " / " into
//   Artist and Title; without one it is all Artist.
// - "# Revision: <number>" sets Revision; other comment lines, empty lines and unknown keywords
//   (PLAYORDER, DISCID) are skipped. Keywords are matched without regard to letter case.
// - TTITLEn and EXTTn take the whole decimal number n; a number that is not one, or that names
//   no track of the disc, skips the line, and so does a line without "=".
void ParseEntry(std::span<const std::string> lines, TCDInfo& info);

}  // namespace rv
