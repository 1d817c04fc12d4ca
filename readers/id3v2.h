#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// The frame-based ID3v2 tag at the start of a file (versions 2.2, 2.3 and 2.4). Text of every
// encoding the tag may use is returned as UTF-8.
class TID3v2 {
public:
    TID3v2() { Reset(); }

    void Reset();
    // False only when the file cannot be opened or its first 10 bytes cannot be read; test
    // Exists() for the tag.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    bool Exists() const { return exists_; }
    // The major version: 2, 3 or 4 (other values are reported but no frames are read).
    std::uint8_t VersionID() const { return versionID_; }
    // Bytes the tag takes at the start of the file, header (and footer) included; 0 when the
    // size runs past the end of the file.
    std::uint64_t Size() const { return size_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    std::uint16_t Track() const { return track_; }
    const std::string& TrackString() const { return trackString_; }
    const std::string& Year() const { return year_; }
    const std::string& Genre() const { return genre_; }
    const std::string& Comment() const { return comment_; }
    const std::string& Composer() const { return composer_; }
    const std::string& Encoder() const { return encoder_; }
    const std::string& Copyright() const { return copyright_; }
    const std::string& Language() const { return language_; }
    const std::string& Link() const { return link_; }

    // The frames the tag reader keeps, in the order of their ids.
    enum Slot {
        kTitle,
        kArtist,
        kAlbum,
        kTrack,
        kYear,
        kGenre,
        kComment,
        kComposer,
        kEncoder,
        kCopyright,
        kLanguage,
        kLink,
        kRecordingTime,
        kOriginalArtist,
        kContentGroup,
        kOriginalAlbum,
        kSlotCount
    };

private:
    void ReadFrames(CachedFile& file, std::uint64_t start);
    void SetFrame(Slot slot, std::string_view data);
    void DeriveProperties();

    bool exists_;
    std::uint8_t versionID_;
    std::uint64_t size_;
    std::array<std::string, kSlotCount> frames_;  // decoded text of the last frame of each id
    std::string title_, artist_, album_, trackString_, year_, genre_, comment_, composer_, encoder_,
        copyright_, language_, link_;
    std::uint16_t track_;
};

}  // namespace rv
