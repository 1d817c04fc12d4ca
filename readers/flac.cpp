#include "readers/flac.h"

#include <cstring>

#include "readers/bounded_reader.h"
#include "readers/byte_order.h"
#include "readers/read_from_path.h"

namespace rv {

namespace {

// "fLaC", the STREAMINFO block header and the 34 bytes of STREAMINFO.
constexpr std::size_t kHeadSize = 42;
constexpr unsigned char kLastBlock = 0x80;
constexpr unsigned char kVorbisCommentBlock = 4;

}  // namespace

void TFLACfile::Reset() {
    channels_ = 0;
    sampleRate_ = 0;
    bits_ = 0;
    fileLength_ = 0;
    samples_ = 0;
    id3v1_.Reset();
    id3v2_.Reset();
    vorbisComment_.Reset();
}

bool TFLACfile::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TFLACfile::ReadFromFile(CachedFile& file) {
    Reset();
    id3v2_.ReadFromFile(file);
    id3v1_.ReadFromFile(file);
    fileLength_ = file.Size();

    // Some taggers put an ID3v2 tag in front of the marker.
    const std::uint64_t start = id3v2_.Size();
    unsigned char head[kHeadSize] = {};
    if (!file.ReadExactAt(start, head, kHeadSize) || std::memcmp(head, "fLaC", 4) != 0)
        return false;

    sampleRate_ = (static_cast<std::uint32_t>(head[18]) << 12) |
                  (static_cast<std::uint32_t>(head[19]) << 4) | (head[20] >> 4);
    channels_ = ((head[20] >> 1) & 0x07) + 1u;
    bits_ = (((head[20] & 0x01) << 4) | (head[21] >> 4)) + 1u;
    samples_ = (static_cast<std::uint64_t>(head[21] & 0x0F) << 32) | LoadBE32(head + 22);

    ReadBlocks(file, start + kHeadSize, (head[4] & kLastBlock) != 0);
    return true;
}

void TFLACfile::ReadBlocks(CachedFile& file, std::uint64_t start, bool last) {
    BoundedReader walk(file, start, file.Size());
    while (!last) {
        unsigned char header[4];
        if (!walk.Read(header, sizeof header)) return;
        last = (header[0] & kLastBlock) != 0;
        const std::uint32_t length = LoadBE24(header + 1);
        if ((header[0] & 0x7F) == kVorbisCommentBlock) {
            BoundedReader block(file, walk.Position(), walk.Position() + length);
            vorbisComment_.Reset();
            vorbisComment_.ReadFromStream(block);
            return;
        }
        if (!walk.Skip(length)) return;
    }
}

bool TFLACfile::GetValid() const {
    return channels_ > 0 && sampleRate_ >= 1 && bits_ > 0 && samples_ > 0;
}

double TFLACfile::GetDuration() const {
    return GetValid() ? static_cast<double>(samples_) / sampleRate_ : 0;
}

}  // namespace rv
