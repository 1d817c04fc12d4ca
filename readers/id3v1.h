#pragma once

#include <cstdint>
#include <string>

#include "readers/cached_file.h"

namespace rv {

// The fixed 128-byte ID3v1 block at the end of a file. Text is windows-1252, returned as UTF-8.
class TID3v1 {
public:
    TID3v1() { Reset(); }

    void Reset();
    // False only when the file cannot be opened or its last 128 bytes cannot be read; test
    // Exists() for the tag.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    bool Exists() const { return exists_; }
    // 1 = ID3v1.0, 2 = ID3v1.1 (with a track number).
    std::uint8_t VersionID() const { return versionID_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    const std::string& Year() const { return year_; }
    const std::string& Comment() const { return comment_; }
    std::uint8_t Track() const { return track_; }
    std::uint8_t GenreID() const { return genreID_; }
    // The name of GenreID(); empty when it is 148 or more.
    std::string GetGenre() const;
    std::string Genre() const { return GetGenre(); }

private:
    bool exists_;
    std::uint8_t versionID_;
    std::string title_, artist_, album_, year_, comment_;
    std::uint8_t track_;
    std::uint8_t genreID_;
};

}  // namespace rv
