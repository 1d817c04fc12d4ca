#include "readers/id3v2.h"

#include <algorithm>
#include <string_view>

#include "platform/text/utf8.h"
#include "readers/bounded_reader.h"
#include "readers/byte_order.h"
#include "readers/id3v2_frame_text.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

constexpr std::size_t kHeaderSize = 10;

constexpr unsigned char kFlagExtendedHeader = 0x40;
constexpr unsigned char kFlagFooter = 0x10;

struct FrameIds {
    std::string_view current;  // versions 2.3 and 2.4
    std::string_view old;      // version 2.2
};

// Indexed by TID3v2::Slot.
constexpr FrameIds kFrameIds[TID3v2::kSlotCount] = {
    {"TIT2", "TT2"}, {"TPE1", "TP1"}, {"TALB", "TAL"}, {"TRCK", "TRK"},
    {"TYER", "TYE"}, {"TCON", "TCO"}, {"COMM", "COM"}, {"TCOM", "TCM"},
    {"TENC", "TEN"}, {"TCOP", "TCR"}, {"TLAN", "TLA"}, {"WXXX", "WXX"},
    {"TDRC", "TOR"}, {"TOPE", "TOA"}, {"TIT1", "TT1"}, {"TOAL", "TOT"}};

int FindSlot(std::string_view id, bool old) {
    for (int slot = 0; slot < TID3v2::kSlotCount; ++slot)
        if ((old ? kFrameIds[slot].old : kFrameIds[slot].current) == id) return slot;
    return -1;
}

// A version 2.4 frame size is a synchsafe integer; some writers stored plain numbers, which
// show themselves by a byte with its top bit set.
std::uint32_t FrameSize24(const unsigned char* p) {
    const bool synchsafe = ((p[0] | p[1] | p[2] | p[3]) & 0x80) == 0;
    return synchsafe ? LoadSynchsafe32(p) : LoadBE32(p);
}

// Undoes unsynchronisation: every 0xFF 0x00 pair stands for 0xFF.
std::string Resynchronise(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        out.push_back(data[i]);
        if (static_cast<unsigned char>(data[i]) == 0xFF && i + 1 < data.size() && data[i + 1] == 0)
            ++i;
    }
    return out;
}

}  // namespace

void TID3v2::Reset() {
    exists_ = false;
    versionID_ = 0;
    size_ = 0;
    for (auto& frame : frames_) frame.clear();
    for (auto* text : {&title_, &artist_, &album_, &trackString_, &year_, &genre_, &comment_,
                       &composer_, &encoder_, &copyright_, &language_, &link_})
        text->clear();
    track_ = 0;
}

bool TID3v2::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TID3v2::ReadFromFile(CachedFile& file) {
    Reset();
    unsigned char header[kHeaderSize];
    if (!file.ReadExactAt(0, header, kHeaderSize)) return false;
    if (std::string_view(reinterpret_cast<const char*>(header), 3) != "ID3") return true;

    exists_ = true;
    versionID_ = header[3];
    const unsigned char flags = header[5];
    // The size bytes are taken whole, as stored.
    std::uint64_t size = (std::uint64_t{header[6]} << 21) + (std::uint64_t{header[7]} << 14) +
                         (std::uint64_t{header[8]} << 7) + header[9] + kHeaderSize;
    if (flags & kFlagFooter) size += kHeaderSize;
    size_ = size > file.Size() ? 0 : size;

    if (versionID_ >= 2 && versionID_ <= 4 && size_ > 0) {
        std::uint64_t start = kHeaderSize;
        if ((flags & kFlagExtendedHeader) && versionID_ >= 3) {
            unsigned char extended[4];
            if (!file.ReadExactAt(start, extended, 4)) return true;
            // Version 2.3 counts the bytes after the size field, 2.4 the whole extended header.
            start += versionID_ == 3 ? 4 + std::uint64_t{LoadBE32(extended)}
                                     : std::uint64_t{LoadSynchsafe32(extended)};
        }
        ReadFrames(file, start);
        DeriveProperties();
    }
    return true;
}

void TID3v2::ReadFrames(CachedFile& file, std::uint64_t start) {
    const bool old = versionID_ == 2;
    const std::size_t headerSize = old ? 6 : 10;
    const std::size_t idLength = old ? 3 : 4;
    BoundedReader reader(file, start, size_);
    if (reader.Position() != start) return;

    char buffer[kTagTextBytes];  // only the start of a frame body is kept
    while (reader.Remaining() >= headerSize) {
        unsigned char header[10];
        if (!reader.Read(header, headerSize)) break;
        if (header[0] < 'A' || header[0] > 'Z') break;

        std::uint32_t bodySize = 0;
        bool skip = false, resync = false, lengthIndicator = false;
        if (old) {
            bodySize = LoadBE24(header + 3);
        } else if (versionID_ == 3) {
            bodySize = LoadBE32(header + 4);
            skip = (header[9] & 0xC0) != 0;  // compressed or encrypted
        } else {
            bodySize = FrameSize24(header + 4);
            skip = (header[9] & 0x0C) != 0;  // compressed or encrypted
            resync = (header[9] & 0x02) != 0;
            lengthIndicator = (header[9] & 0x01) != 0;
        }

        const std::uint64_t bodyStart = reader.Position();
        const int slot = FindSlot(std::string_view(reinterpret_cast<char*>(header), idLength), old);
        if (slot >= 0 && !skip) {
            const std::size_t wanted = std::min<std::uint64_t>(bodySize, kTagTextBytes);
            std::string_view data(buffer, reader.ReadSome(buffer, wanted));
            if (!reader.Ok()) break;
            if (lengthIndicator) data.remove_prefix(std::min<std::size_t>(4, data.size()));
            if (resync)
                SetFrame(static_cast<Slot>(slot), Resynchronise(data));
            else
                SetFrame(static_cast<Slot>(slot), data);
        }
        if (bodySize > reader.End() - bodyStart) break;
        if (!reader.SeekForward(bodyStart + bodySize)) break;
    }
}

void TID3v2::SetFrame(Slot slot, std::string_view data) {
    if (!ID3v2Encoding(data)) return;  // an unknown encoding leaves the slot as it was
    switch (slot) {
        case kComment:
            frames_[slot] = ID3v2CommentText(data);
            break;
        case kLink:
            frames_[slot] = ID3v2LinkText(data);
            break;
        default:
            frames_[slot] = ID3v2FrameText(data);
            break;
    }
}

void TID3v2::DeriveProperties() {
    auto content = [this](Slot first, Slot fallback) {
        return frames_[first].empty() ? frames_[fallback] : frames_[first];
    };
    title_ = content(kTitle, kContentGroup);
    artist_ = content(kArtist, kOriginalArtist);
    album_ = content(kAlbum, kOriginalAlbum);
    trackString_ = frames_[kTrack];
    track_ = static_cast<std::uint16_t>(ParseTrackNumber(trackString_, 0xFFFF));
    year_ = frames_[kYear].empty() ? CutToChars(frames_[kRecordingTime], 4) : frames_[kYear];
    genre_ = ID3v2GenreText(frames_[kGenre]);
    comment_ = frames_[kComment];
    composer_ = frames_[kComposer];
    encoder_ = frames_[kEncoder];
    copyright_ = frames_[kCopyright];
    language_ = frames_[kLanguage];
    link_ = frames_[kLink];
}

}  // namespace rv
