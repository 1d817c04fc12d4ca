#include "readers/id3v1.h"

#include <string_view>

#include "readers/id3v1_genres.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

constexpr std::size_t kBlockSize = 128;

std::string Field(const char* block, std::size_t offset, std::size_t width) {
    return DecodeTagText(std::string_view(block + offset, width), TagEncoding::Latin);
}

}  // namespace

void TID3v1::Reset() {
    exists_ = false;
    versionID_ = 1;
    title_.clear();
    artist_.clear();
    album_.clear();
    year_.clear();
    comment_.clear();
    track_ = 0;
    genreID_ = 255;
}

bool TID3v1::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TID3v1::ReadFromFile(CachedFile& file) {
    Reset();
    char block[kBlockSize];
    if (file.Size() < kBlockSize || !file.ReadExactAt(file.Size() - kBlockSize, block, kBlockSize))
        return false;
    if (std::string_view(block, 3) != "TAG") return true;

    exists_ = true;
    const auto b125 = static_cast<unsigned char>(block[125]);
    const auto b126 = static_cast<unsigned char>(block[126]);
    versionID_ = (b125 == 0 && b126 != 0) || (b125 == ' ' && b126 != ' ') ? 2 : 1;
    title_ = Field(block, 3, 30);
    artist_ = Field(block, 33, 30);
    album_ = Field(block, 63, 30);
    year_ = Field(block, 93, 4);
    if (versionID_ == 2) {
        comment_ = Field(block, 97, 28);
        track_ = b126;
    } else {
        comment_ = Field(block, 97, 30);
    }
    genreID_ = static_cast<unsigned char>(block[127]);
    return true;
}

std::string TID3v1::GetGenre() const {
    return std::string(ID3v1GenreName(genreID_));
}

}  // namespace rv
