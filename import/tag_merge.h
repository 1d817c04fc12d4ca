#pragma once

#include <cstdint>
#include <string>

#include "medialib/records.h"
#include "readers/ape_tag.h"
#include "readers/id3v1.h"
#include "readers/id3v2.h"
#include "readers/vorbis_comment.h"

// The tag fields of a track (ID, Title, Artist, Album, Genre, Release) from the tags of a file.
// A builder merges the tags of its format in their order of precedence: each fills only what the
// ones before it left empty or 0, so the first tag sets every field it has.
namespace rv {

// What one tag offers a track, as the tag gives it.
struct TagValues {
    std::uint32_t Track = 0;  // the track keeps the low 8 bits
    std::string Title{}, Artist{}, Album{}, Genre{};
    std::string Year{};  // a whole number or nothing: any other text gives 0
};

// Fills the fields of `track` that are still empty or 0. Texts are trimmed (blanks and control
// characters at either end) and cut to 255 characters.
void MergeTag(TTrack& track, const TagValues& tag);

// The same with a tag a reader found; a tag that does not exist (or a Vorbis comment block that is
// not valid) gives nothing.
void MergeTag(TTrack& track, const TID3v1& tag);
void MergeTag(TTrack& track, const TID3v2& tag);
void MergeTag(TTrack& track, const TAPEtag& tag);
// "TrackNumber", "Title", "Artist", "Album", "Genre" and "Year", names in any case.
void MergeTag(TTrack& track, const TVorbisComment& comment);

}  // namespace rv
