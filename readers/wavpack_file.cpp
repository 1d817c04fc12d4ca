#include "readers/wavpack_file.h"

#include <cstring>

#include "readers/byte_order.h"
#include "readers/read_from_path.h"

namespace rv {

namespace {

constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::size_t kFormatSize = 16;
constexpr std::size_t kBlockHeaderSize = 36;
constexpr std::uint64_t kID3v1Size = 128;

bool Is(const unsigned char* bytes, const char (&id)[5]) {
    return std::memcmp(bytes, id, 4) == 0;
}

}  // namespace

void TWAVPackfile::Reset() {
    fileLength_ = 0;
    valid_ = false;
    formatTag_ = 0;
    version_ = 0;
    channels_ = 0;
    sampleRate_ = 0;
    bits_ = 0;
    bitRate_ = 0;
    duration_ = 0;
    id3v1_.Reset();
    id3v2_.Reset();
    apeTag_.Reset();
}

bool TWAVPackfile::ReadFromFile(const std::string& fileName) {
    ReadFromPath(*this, fileName);
    return valid_;
}

bool TWAVPackfile::ReadFromFile(CachedFile& file) {
    Reset();
    id3v2_.ReadFromFile(file);
    id3v1_.ReadFromFile(file);
    apeTag_.ReadFromFile(file);

    std::uint64_t position = id3v2_.Exists() ? id3v2_.Size() : 0;
    unsigned char riff[12];
    if (!file.ReadExactAt(position, riff, sizeof riff) || !Is(riff, "RIFF") ||
        !Is(riff + 8, "WAVE"))
        return false;
    position += sizeof riff;

    std::uint32_t byteRate = 0;
    while (position < file.Size()) {
        unsigned char header[kChunkHeaderSize];
        if (!file.ReadExactAt(position, header, sizeof header)) break;
        const std::uint32_t size = LoadLE32(header + 4);
        if (size == 0) break;
        const std::uint64_t body = position + kChunkHeaderSize;
        if (Is(header, "fmt ") && size >= kFormatSize) {
            unsigned char format[kFormatSize];
            if (!file.ReadExactAt(body, format, sizeof format)) break;
            fileLength_ = file.Size();
            valid_ = true;
            formatTag_ = LoadLE16(format);
            channels_ = LoadLE16(format + 2);
            sampleRate_ = LoadLE32(format + 4);
            byteRate = LoadLE32(format + 8);
            bits_ = LoadLE16(format + 14);
            bitRate_ = byteRate / 125.0;
        } else if (Is(header, "data") && valid_) {
            ReadData(file, body, size, byteRate);
            break;
        }
        // A "fmt " chunk longer than its 16 known bytes is passed over whole too.
        position = body + size;
    }
    return valid_;
}

void TWAVPackfile::ReadData(CachedFile& file, std::uint64_t position, std::uint32_t size,
                            std::uint32_t byteRate) {
    unsigned char block[kBlockHeaderSize] = {};
    file.ReadAt(position, block, sizeof block);
    if (!Is(block, "wvpk")) {
        // Plain PCM samples; a cut file holds fewer than the chunk announces.
        const std::uint64_t left = position < file.Size() ? file.Size() - position : 0;
        const std::uint64_t dataSize = size < left ? size : left;
        if (dataSize > 0 && byteRate != 0) duration_ = static_cast<double>(dataSize) / byteRate;
        return;
    }

    const std::uint32_t blockSize = LoadLE32(block + 4);
    version_ = LoadLE16(block + 8);
    const std::uint16_t flags = LoadLE16(block + 12);
    const std::uint32_t totalSamples = LoadLE32(block + 16);
    channels_ = 2 - (flags & 1);
    if (sampleRate_ == 0) return;
    duration_ = static_cast<double>(totalSamples) / sampleRate_;
    if (duration_ <= 0) return;

    double audioBytes = static_cast<double>(fileLength_) - blockSize;
    if (id3v1_.Exists()) audioBytes -= kID3v1Size;
    if (id3v2_.Exists()) audioBytes -= static_cast<double>(id3v2_.Size());
    if (apeTag_.Exists()) audioBytes -= apeTag_.Size();
    // Sizes that do not fit the file give no rate rather than a negative one.
    bitRate_ = audioBytes > 0 ? audioBytes * 8 / (duration_ * 1000) : 0;
}

}  // namespace rv
