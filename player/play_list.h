#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "medialib/records.h"
#include "readers/mpeg_audio.h"
#include "readers/wma_file.h"

namespace rv {

class TListView;

// A file of the play list: its track as the import reads it, its name and its size in bytes.
struct TAudioTrack : TTrack {
    std::string FileName;
    std::uint64_t FileSize = 0;
};

// The readers the player reads its files with, made once and used for every file.
struct TPlayerReaders {
    TMPEGaudio MPEGaudio;
    TWMAfile WMA;
};

// An MPEG audio file (.mp1, .mp2, .mp3) or a Windows Media Audio file (.wma), the extension's
// letter case ignored, read through the import's builders: what the tags leave empty stays empty,
// only the title falls back to the file's name. Nothing for another extension, or for a file
// that cannot be read or holds no valid stream.
std::optional<TAudioTrack> ReadAudioTrack(const std::string& fileName, TPlayerReaders& readers);

// The places of a row's sub-items. The last three have no column: the window reads them back.
enum TPlayListItem {
    piArtist,
    piAlbum,
    piTitle,
    piTime,
    piBitrate,
    piFileName,
    piFormat,
    piChannelMode,
};

// "%2.2d:%2.2d": minutes and seconds of the rounded time (halves to even).
std::string MinutesSecondsText(double seconds);

// "%d files (%d MB): %dh %2.2dm %2.2ds": the count, the size in whole MiB, and the rounded
// total time in hours, minutes and seconds.
std::string PlayListTotalsText(int files, std::uint64_t bytes, double seconds);

// The play list shown in a list view: a row per file (caption its number on the album, then the
// sub-items above), and the totals of the rows there are. Rows come and go only through here, so
// that the totals always count the rows that are shown.
class TPlayList {
public:
    explicit TPlayList(TListView& view) : view_(view) {}

    // Reads the file and, when it plays for some time, adds its row; false when it adds none.
    bool AddFile(const std::string& fileName);
    void AddRow(const TAudioTrack& track);
    void Delete(int index);
    void Clear();
    int Count() const { return int(sizes_.size()); }

    // The totals text of the rows.
    std::string TotalsText() const;

private:
    TListView& view_;
    TPlayerReaders readers_;
    // What the totals need of each row, in the order of the rows.
    struct Sizes {
        double Duration;
        std::uint64_t FileSize;
    };
    std::vector<Sizes> sizes_;
};

}  // namespace rv
