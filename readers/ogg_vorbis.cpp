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
constexpr std::size_t kFieldBufferSize = 250;  // only the start of a long field is kept

// The sample count is looked for in 50 windows of 251 bytes, 241 apart, from the end.
constexpr std::uint64_t kWindowStep = 241;
constexpr std::uint64_t kWindows = 50;
constexpr std::uint64_t kTailSize = kWindowStep * kWindows + 10;

bool StartsWith(const unsigned char* bytes, unsigned char type, std::string_view id) {
    return bytes[0] == type && std::memcmp(bytes + 1, id.data(), id.size()) == 0;
}

// Leading and trailing characters up to code 32 removed.
std::string_view TrimLow(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
    return text;
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

bool TOggVorbis::ReadFromFile(const ReadOnlyFile& file) {
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

void TOggVorbis::ReadComments(const ReadOnlyFile& file, std::uint64_t pageStart) {
    OggPacketReader packet(file, pageStart);
    unsigned char type[7];
    if (!packet.Read(type, sizeof type) || !StartsWith(type, 3, "vorbis")) return;

    // The vendor string comes first, then the field count, then the fields.
    std::uint32_t fieldCount = 0;
    for (std::uint64_t counter = 0; counter <= fieldCount; ++counter) {
        const std::uint32_t length = packet.LE32();
        if (!packet.Ok()) break;
        char buffer[kFieldBufferSize] = {};
        const std::size_t kept = std::min<std::size_t>(length, kFieldBufferSize);
        if (!packet.Read(buffer, kept)) break;
        SetField(TrimLow(std::string_view(buffer, strnlen(buffer, kept))));
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

void TOggVorbis::FindSamples(const ReadOnlyFile& file) {
    // The windows overlap and together cover the last kTailSize bytes; the first "OggS" found
    // scanning backwards from 10 bytes before the end is the one the windows would find.
    const std::uint64_t size = file.Size();
    if (size < 10) return;
    const std::uint64_t start = size > kTailSize ? size - kTailSize : 0;
    std::string tail(static_cast<std::size_t>(size - start), '\0');
    tail.resize(file.ReadAt(start, tail.data(), tail.size()));
    std::size_t last = static_cast<std::size_t>(size - 10 - start);
    for (std::size_t at = last + 1; at-- > 0;) {
        if (at + 4 > tail.size() || tail.compare(at, 4, "OggS") != 0) continue;
        unsigned char granule[8] = {};
        file.ReadAt(start + at + 6, granule, sizeof granule);
        samples_ = static_cast<std::int32_t>(LoadLE32(granule));
        return;
    }
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
