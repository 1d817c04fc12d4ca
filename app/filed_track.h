#pragma once

#include "medialib/media_lib.h"

namespace rv {

// The address of the track that filing `track` would overwrite: the first track of its title
// in the first album of its title under the first artist of its name, names compared as the
// library compares them; (-1, -1, -1) when filing it would add a track.
TFindIndex TrackFiledOver(const TMediaLib& library, const TTrack& track);

}  // namespace rv
