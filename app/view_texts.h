#pragma once

#include <string>

#include "medialib/media_lib.h"

// What the three library views show, compare and search, worked out from the library for the
// address a node carries; the views keep nothing else. Columns are those of the views' headers.
namespace rv {

// The artist tree: an album's title for an album node, else the artist's name.
std::string TreeNodeText(const TMediaLib& library, const TFindIndex& node);
// Album list: title, release (empty when 0), genre, number of tracks, time.
std::string AlbumListText(const TMediaLib& library, const TFindIndex& node, int column);
// Track list: number, title, time, bit rate, channel mode, format.
std::string TrackListText(const TMediaLib& library, const TFindIndex& node, int column);

// Negative, 0 or positive for `a` before, equal to or after `b` in ascending order: texts by the
// user's locale (case-sensitive), numbers by the sign of their difference.
int CompareTreeNodes(const TMediaLib& library, const TFindIndex& a, const TFindIndex& b);
// Column 4, the album time, sorts by time too.
int CompareAlbumListNodes(const TMediaLib& library, const TFindIndex& a, const TFindIndex& b,
                          int column);
int CompareTrackListNodes(const TMediaLib& library, const TFindIndex& a, const TFindIndex& b,
                          int column);

// The text incremental search looks at: in the tree as TreeNodeText; in the lists a track's
// title for a track node, else the album's title.
std::string ListSearchText(const TMediaLib& library, const TFindIndex& node);

// 0 when the typed text and the node's text agree over the shorter of the two, "a"-"z" taken
// as upper case; otherwise the difference of the first characters that differ.
int CompareTypedText(const std::string& typed, const std::string& nodeText);

}  // namespace rv
