#include "readers/twinvq.h"

#include <algorithm>
#include <string_view>

#include "readers/bounded_reader.h"
#include "readers/byte_order.h"
#include "readers/channel_mode.h"
#include "readers/read_from_path.h"
#include "readers/tag_text.h"

namespace rv {

namespace {

constexpr std::size_t kHeaderSize = 40;
// The chunks follow "TWIN", the 8-character version and the header size.
constexpr std::uint64_t kFirstChunk = 16;
// "TWIN", version, header size and the "DATA" mark: the bytes not counted by the header size.
constexpr std::uint64_t kUncounted = 20;

// Of each 32-bit big-endian header number only the low 16 bits count.
std::uint16_t Low16(const unsigned char* p) {
    return LoadBE16(p + 2);
}

}  // namespace

void TTwinVQ::Reset() {
    valid_ = false;
    channelModeID_ = 0;
    bitRate_ = 0;
    sampleRate_ = 0;
    fileLength_ = 0;
    duration_ = 0;
    for (auto* text : {&title_, &comment_, &author_, &copyright_, &originalFile_, &album_})
        text->clear();
}

bool TTwinVQ::ReadFromFile(const std::string& fileName) {
    return ReadFromPath(*this, fileName);
}

bool TTwinVQ::ReadFromFile(CachedFile& file) {
    Reset();
    unsigned char header[kHeaderSize];
    if (!file.ReadExactAt(0, header, kHeaderSize)) return false;
    if (std::string_view(reinterpret_cast<const char*>(header), 4) == "TWIN") {
        ReadHeader(header, file.Size());
        ReadChunks(file);
    }
    return true;
}

void TTwinVQ::ReadHeader(const unsigned char* header, std::uint64_t fileSize) {
    valid_ = true;
    const std::uint16_t headerSize = Low16(header + 12);
    switch (Low16(header + 24)) {
        case 0:
            channelModeID_ = 1;
            break;
        case 1:
            channelModeID_ = 2;
            break;
        default:
            channelModeID_ = 0;
    }
    bitRate_ = Low16(header + 28);
    const std::uint16_t rate = Low16(header + 32);
    switch (rate) {
        case 11:
            sampleRate_ = 11025;
            break;
        case 22:
            sampleRate_ = 22050;
            break;
        case 44:
            sampleRate_ = 44100;
            break;
        default:
            sampleRate_ = rate * 1000u;
    }
    fileLength_ = fileSize;
    const std::uint64_t counted = headerSize + kUncounted;
    const std::uint64_t dataSize = fileSize > counted ? fileSize - counted : counted - fileSize;
    if (bitRate_ != 0) duration_ = static_cast<double>(dataSize) / 125 / bitRate_;
}

void TTwinVQ::ReadChunks(CachedFile& file) {
    BoundedReader reader(file, kFirstChunk, file.Size());
    char body[kTagTextBytes];  // only the start of a text chunk is kept
    // Every chunk takes at least its 8-byte header, so the walk only moves forward and ends.
    while (reader.Remaining() >= 8) {
        char id[4];
        if (!reader.Read(id, 4)) return;
        const std::string_view chunkId(id, 4);
        if (chunkId == "DATA" ||
            std::any_of(id, id + 4, [](char c) { return static_cast<unsigned char>(c) < 32; }))
            return;
        const std::uint32_t size = reader.BE32();
        const std::uint64_t bodyStart = reader.Position();
        const std::size_t kept = reader.ReadSome(body, std::min<std::size_t>(size, kTagTextBytes));
        if (!reader.Ok()) return;
        SetChunk(chunkId, std::string_view(body, kept));
        if (size > reader.End() - bodyStart) return;
        reader.SeekForward(bodyStart + size);
    }
}

void TTwinVQ::SetChunk(std::string_view id, std::string_view body) {
    struct Chunk {
        std::string_view id;
        std::string TTwinVQ::*field;
    };
    static constexpr Chunk kChunks[] = {
        {"NAME", &TTwinVQ::title_},        {"COMT", &TTwinVQ::comment_},
        {"AUTH", &TTwinVQ::author_},       {"(c) ", &TTwinVQ::copyright_},
        {"FILE", &TTwinVQ::originalFile_}, {"ALBM", &TTwinVQ::album_}};
    for (const Chunk& chunk : kChunks)
        if (chunk.id == id) this->*chunk.field = DecodeTagText(body, TagEncoding::Latin);
}

std::string TTwinVQ::ChannelMode() const {
    return ChannelCountMode(channelModeID_);
}

bool TTwinVQ::Corrupted() const {
    return valid_ && (channelModeID_ == 0 || bitRate_ < 8 || bitRate_ > 192 || sampleRate_ < 8000 ||
                      sampleRate_ > 44100 || duration_ < 0.1 || duration_ > 10000);
}

}  // namespace rv
