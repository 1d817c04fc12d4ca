#include "app/cd_import.h"

#include <algorithm>

#include "medialib/media_lib.h"
#include "medialib/safe_convert.h"
#include "platform/cdrom/cd_drive_list.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

std::string WithoutClosingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

int Seconds(const TCDTOCEntry& entry) {
    return entry.Minute * 60 + entry.Second;
}

}  // namespace

bool IsCdDriveRoot(const std::string& folder) {
    const std::string wanted = WithoutClosingSlash(folder);
    for (const CdDriveFacts& drive : ListCdDrives()) {
        if (drive.Device == wanted) return true;
        if (!drive.MountPoint.empty() && WithoutClosingSlash(drive.MountPoint) == wanted)
            return true;
    }
    return false;
}

TFindIndex AddDiscTracks(const TCDInfo& disc, TMediaLib& library) {
    const TCDTOC& toc = disc.TOC;
    const int count = std::min<int>(toc.Count, static_cast<int>(toc.Tracks.size()));
    const int year = SafeStrToInt(Trim(disc.Year));
    TFindIndex index{-1, -1, -1};
    for (int i = 0; i < count; ++i) {
        const TCDTOCEntry& entry = toc.Tracks[static_cast<std::size_t>(i)];
        if (!entry.Audio) continue;
        const TCDTOCEntry& next =
            i + 1 < count ? toc.Tracks[static_cast<std::size_t>(i + 1)] : toc.LeadOut;
        TTrack track;
        // A table of contents out of order gives no negative length.
        track.Duration = std::max(0, Seconds(next) - Seconds(entry));
        track.ChannelMode = "Stereo";
        track.Format = "CD Audio";
        track.Bitrate = 0;
        track.ID = static_cast<std::uint8_t>(i + 1);
        const std::string& title = disc.TrackTitles[static_cast<std::size_t>(i)];
        track.Title = Text255(title.empty() ? Format("Track %.2d", i + 1) : title);
        track.Album = Text255(disc.Title);
        track.Artist = Text255(disc.Artist);
        track.Genre = Text255(disc.Genre);
        track.Release = year > 0 && year <= 0xFFFF ? static_cast<std::uint16_t>(year) : 0;
        track.MediaType = 0;
        index = library.AddTrack(track);
    }
    return index;
}

}  // namespace rv
