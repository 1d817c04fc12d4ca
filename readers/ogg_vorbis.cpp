#include "readers/ogg_vorbis.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/text/ascii_case.h"
#include "platform/text/round.h"
#include "readers/byte_order.h"
#include "readers/channel_mode.h"
#include "readers/id3v2.h"
#include "readers/ogg_packet.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

constexpr std::size_t kPageHeaderSize = 27;  // up to and including the segment count
constexpr std::size_t kIdentificationSize = 30;

// The sample count is looked for in 50 windows of 251 bytes, 241 apart, from the end.
constexpr std::uint64_t kWindowStep = 241;
constexpr std::uint64_t kWindows = 50;
constexpr std::uint64_t kTailSize = kWindowStep * kWindows + 10;
static_assert(kTailSize <= CachedFile::kWindowSize, "the search looks at one view of the file");

bool StartsWith(const unsigned char* bytes, unsigned char type, std::string_view id) {
    return bytes[0] == type && std::memcmp(bytes + 1, id.data(), id.size()) == 0;
}

// Leading and trailing characters up to code 32 removed.
std::string_view TrimLow(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
}

// Where the last "OggS" at or before position `last` of `bytes` starts, or npos. Eight bytes at
// a time are tested for an "O" until one holds it.
std::size_t FindLastPage(std::string_view bytes, std::size_t last) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kOs = kOnes * 'O';
    constexpr std::uint64_t kHighBits = kOnes * 0x80;
    std::size_t end = bytes.size() < 4 ? 0 : std::min(last + 1, bytes.size() - 3);
    while (end > 0) {
        if (end >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + end - 8, sizeof word);
            const std::uint64_t x = word ^ kOs;  // a zero byte where an "O" is
            if (((x - kOnes) & ~x & kHighBits) == 0) {
                end -= 8;
                continue;
            }
        }
        --end;
        if (bytes.compare(end, 4, "OggS") == 0) return end;
    }
    return std::string_view::npos;
}

std::uint16_t ClampToWord(std::int64_t value) {
    return static_cast<std::uint16_t>(std::clamp<std::int64_t>(value, 0, 0xFFFF));
}

}  // namespace

void TOggVorbis::Reset() {
    fileLength_ = 0;
    channelModeID_ = 0;
    sampleRate_ = 0;
    bitRateNominal_ = 0;
    samples_ = 0;
    id3v2Size_ = 0;
    for (auto* text : {&title_, &artist_, &album_, &track_, &date_, &genre_, &comment_, &performer_,
                       &description_, &vendor_})
        text->clear();
}

bool TOggVorbis::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TOggVorbis::ReadFromFile(CachedFile& file) {
    Reset();
    fileLength_ = file.Size();
    TID3v2 id3v2;
    id3v2.ReadFromFile(file);
    id3v2Size_ = id3v2.Size();

    unsigned char page[kPageHeaderSize] = {};
    file.ReadAt(id3v2Size_, page, kPageHeaderSize);
    if (std::memcmp(page, "OggS", 4) != 0) return false;

    const std::uint64_t identificationAt = id3v2Size_ + kPageHeaderSize + page[26];
    unsigned char id[kIdentificationSize] = {};
    file.ReadAt(identificationAt, id, kIdentificationSize);
    if (!StartsWith(id, 1, "vorbis")) return false;

    // The identification header stands alone on the first page; the comment header begins the
    // second.
    ReadComments(file, identificationAt + kIdentificationSize);
    FindSamples(file);

    channelModeID_ = id[11];
    sampleRate_ = LoadLE32(id + 12);
    const auto nominal = static_cast<std::int32_t>(LoadLE32(id + 20));
    bitRateNominal_ = ClampToWord(Round(nominal / 1000.0));
    return true;
}

void TOggVorbis::ReadComments(CachedFile& file, std::uint64_t pageStart) {
    OggPacketReader packet(file, pageStart);
    unsigned char type[7];
    if (!packet.Read(type, sizeof type) || !StartsWith(type, 3, "vorbis")) return;

    // The vendor string comes first, then the field count, then the fields.
    std::uint32_t fieldCount = 0;
    for (std::uint64_t counter = 0; counter <= fieldCount; ++counter) {
        const std::uint32_t length = packet.LE32();
        if (!packet.Ok()) break;
        char buffer[kTagTextBytes];  // only the start of a long field is kept
        const std::size_t kept = std::min<std::size_t>(length, kTagTextBytes);
        if (!packet.Read(buffer, kept)) break;
        const std::string_view field(buffer, kept);
        SetField(TrimLow(field.substr(0, field.find('\0'))));
        if (!packet.Skip(length - kept)) break;
        if (counter == 0) {
            fieldCount = packet.LE32();
            if (!packet.Ok()) break;
        }
    }
}

void TOggVorbis::SetField(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        if (vendor_.empty()) vendor_ = DecodeTagText(text, TagEncoding::Utf8);
        return;
    }
    struct Name {
        std::string_view name;
        std::string TOggVorbis::*field;
    };
    static constexpr Name kNames[] = {{"TITLE", &TOggVorbis::title_},
                                      {"ARTIST", &TOggVorbis::artist_},
                                      {"ALBUM", &TOggVorbis::album_},
                                      {"TRACKNUMBER", &TOggVorbis::track_},
                                      {"DATE", &TOggVorbis::date_},
                                      {"GENRE", &TOggVorbis::genre_},
                                      {"COMMENT", &TOggVorbis::comment_},
                                      {"PERFORMER", &TOggVorbis::performer_},
                                      {"DESCRIPTION", &TOggVorbis::description_}};
    const std::string name = UpperCase(text.substr(0, equals));
    for (const Name& known : kNames) {
        if (known.name == name) {
            this->*known.field = DecodeTagText(text.substr(equals + 1), TagEncoding::Utf8);
            return;
        }
    }
}

void TOggVorbis::FindSamples(CachedFile& file) {
    // The windows overlap and together cover the last kTailSize bytes; the first "OggS" found
    // scanning backwards from 10 bytes before the end is the one the windows would find.
    const std::uint64_t size = file.Size();
    if (size < 10) return;
    const std::uint64_t start = size > kTailSize ? size - kTailSize : 0;
    const std::string_view tail = file.View(start, static_cast<std::size_t>(size - start));
    const std::size_t at = FindLastPage(tail, static_cast<std::size_t>(size - 10 - start));
    if (at == std::string_view::npos) return;
    unsigned char granule[8] = {};
    tail.copy(reinterpret_cast<char*>(granule), sizeof granule, std::min(at + 6, tail.size()));
    samples_ = static_cast<std::int32_t>(LoadLE32(granule));
}

std::uint16_t TOggVorbis::Track() const {
    return static_cast<std::uint16_t>(ParseTrackNumber(track_, 0xFFFF));
}

std::string TOggVorbis::ChannelMode() const {
    return ChannelCountMode(channelModeID_);
}

double TOggVorbis::Duration() const {
    if (samples_ > 0) return sampleRate_ > 0 ? static_cast<double>(samples_) / sampleRate_ : 0;
    if (bitRateNominal_ == 0 || channelModeID_ == 0 || fileLength_ <= id3v2Size_) return 0;
    // The nominal rate covers all channels: bytes / (kbit/s * 125) is seconds.
    return static_cast<double>(fileLength_ - id3v2Size_) / bitRateNominal_ / 125;
}

std::uint16_t TOggVorbis::BitRate() const {
    const double duration = Duration();
    if (duration <= 0 || fileLength_ <= id3v2Size_) return 0;
    return ClampToWord(Round(static_cast<double>(fileLength_ - id3v2Size_) / duration / 125));
}

bool TOggVorbis::Valid() const {
    return (channelModeID_ == 1 || channelModeID_ == 2) && sampleRate_ >= 1 && Duration() > 0.1 &&
           BitRate() != 0;
}

}  // namespace rv
