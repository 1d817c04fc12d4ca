#pragma once

#include <string>

#include "cd/cd_info.h"
#include "medialib/library_index.h"

namespace rv {

class TMediaLib;

// Whether `folder` (a trailing "/" does not count) is one of the machine's CD drives: its device
// ("/dev/sr0") or the folder its disc is mounted at. Audio CDs are not mounted, so the folder
// dialog offers the drives themselves.
bool IsCdDriveRoot(const std::string& folder);

// Files one track per audio track of the disc into the library, under the disc's artist and
// album: its length from the table of contents (to the next entry, or the lead-out after the
// last), the disc's genre and year (0 when it is no number); a track without a title is called
// "Track NN" (so that untitled tracks do not overwrite one another). Returns the address of the
// last track filed, or an empty address when the disc has no audio track.
TFindIndex AddDiscTracks(const TCDInfo& disc, TMediaLib& library);

}  // namespace rv
