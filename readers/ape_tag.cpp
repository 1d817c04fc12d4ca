#include "readers/ape_tag.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "platform/text/ascii_case.h"
#include "readers/bounded_reader.h"
#include "readers/byte_order.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

constexpr std::size_t kFooterSize = 32;
constexpr std::size_t kID3v1Size = 128;
constexpr std::size_t kMaxKey = 255;  // keys are short ASCII names
constexpr std::uint32_t kLastVersion1 = 1000;

}  // namespace

void TAPEtag::Reset() {
    exists_ = false;
    version_ = 0;
    size_ = 0;
    for (auto* text :
         {&title_, &artist_, &album_, &trackText_, &year_, &genre_, &comment_, &copyright_})
        text->clear();
    track_ = 0;
}

bool TAPEtag::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TAPEtag::ReadFromFile(CachedFile& file) {
    Reset();
    const std::uint64_t fileSize = file.Size();
    char tagMark[3];
    if (fileSize < kID3v1Size || !file.ReadExactAt(fileSize - kID3v1Size, tagMark, 3)) return false;
    const std::uint64_t id3v1Size = std::string_view(tagMark, 3) == "TAG" ? kID3v1Size : 0;
    unsigned char footer[kFooterSize];
    if (fileSize < id3v1Size + kFooterSize ||
        !file.ReadExactAt(fileSize - id3v1Size - kFooterSize, footer, kFooterSize))
        return false;
    if (std::string_view(reinterpret_cast<const char*>(footer), 8) != "APETAGEX") return true;

    exists_ = true;
    version_ = LoadLE32(footer + 8);
    size_ = LoadLE32(footer + 12);
    ReadItems(file, fileSize - id3v1Size, LoadLE32(footer + 16));
    track_ = static_cast<std::uint8_t>(ParseTrackNumber(trackText_, 0xFF));
    return true;
}

void TAPEtag::ReadItems(CachedFile& file, std::uint64_t tagEnd, std::uint32_t itemCount) {
    if (size_ < kFooterSize || size_ > tagEnd) return;
    BoundedReader reader(file, tagEnd - size_, tagEnd - kFooterSize);
    const TagEncoding encoding = version_ <= kLastVersion1 ? TagEncoding::Latin : TagEncoding::Utf8;
    char value[kTagTextBytes];  // only the start of a value is kept
    // Each item takes at least nine bytes, so a forged count cannot keep the walk going.
    for (std::uint32_t i = 0; i < itemCount && reader.Remaining() >= 9; ++i) {
        const std::uint32_t valueSize = reader.LE32();
        reader.LE32();  // item flags
        std::string key;
        for (char c; (c = static_cast<char>(reader.U8())) != 0 && reader.Ok();) {
            if (key.size() == kMaxKey) return;
            key.push_back(c);
        }
        if (!reader.Ok()) return;
        const std::uint64_t valueStart = reader.Position();
        if (std::string* field = Field(CleanTagText(key))) {
            const std::size_t kept =
                reader.ReadSome(value, std::min<std::uint64_t>(valueSize, kTagTextBytes));
            if (!reader.Ok()) return;
            *field = DecodeTagText(std::string_view(value, kept), encoding);
        }
        if (valueSize > reader.End() - valueStart) return;
        reader.SeekForward(valueStart + valueSize);
    }
}

std::string* TAPEtag::Field(std::string_view key) {
    static constexpr std::pair<std::string_view, std::string TAPEtag::*> kItems[] = {
        {"Title", &TAPEtag::title_},     {"Artist", &TAPEtag::artist_},
        {"Album", &TAPEtag::album_},     {"Track", &TAPEtag::trackText_},
        {"Year", &TAPEtag::year_},       {"Genre", &TAPEtag::genre_},
        {"Comment", &TAPEtag::comment_}, {"Copyright", &TAPEtag::copyright_}};
    for (const auto& [name, field] : kItems)
        if (SameText(name, key)) return &(this->*field);
    return nullptr;
}

}  // namespace rv
