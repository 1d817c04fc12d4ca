#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "readers/cached_file.h"

namespace rv {

// The item-based APE tag at the end of a file, before an ID3v1 block if there is one. Version 1
// text is read as windows-1252, version 2 text as UTF-8; both are returned as UTF-8.
class TAPEtag {
public:
    TAPEtag() { Reset(); }

    void Reset();
    // False only when the file cannot be opened or is too short to hold the blocks looked at;
    // test Exists() for the tag.
    bool ReadFromFile(const std::string& fileName);
    bool ReadFromFile(CachedFile& file);

    bool Exists() const { return exists_; }
    // 1000 = APEv1, 2000 = APEv2.
    std::uint32_t Version() const { return version_; }
    // The footer's tag size: items plus footer, without a header.
    std::uint32_t Size() const { return size_; }
    const std::string& Title() const { return title_; }
    const std::string& Artist() const { return artist_; }
    const std::string& Album() const { return album_; }
    std::uint8_t Track() const { return track_; }
    const std::string& Year() const { return year_; }
    const std::string& Genre() const { return genre_; }
    const std::string& Comment() const { return comment_; }
    const std::string& Copyright() const { return copyright_; }

private:
    void ReadItems(CachedFile& file, std::uint64_t tagEnd, std::uint32_t itemCount);
    // The text an item of that key fills (a later item replaces an earlier one), or null.
    std::string* Field(std::string_view key);

    bool exists_;
    std::uint32_t version_;
    std::uint32_t size_;
    std::string title_, artist_, album_, trackText_, year_, genre_, comment_, copyright_;
    std::uint8_t track_;
};

}  // namespace rv
