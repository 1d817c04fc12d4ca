#include "readers/tests/stream_bytes.h"

namespace rv::test {

std::string MusepackSV7Header(std::uint32_t frames, unsigned rateIndex, bool midSide,
                              unsigned minor) {
    // Third word, from the top bit down: intensity stereo, mid-side, max band (6 bits), profile
    // (4), link (2), sample rate (2), max level (16).
    const std::uint32_t flags =
        (midSide ? 1u << 30 : 0) | (31u << 24) | (10u << 20) | ((rateIndex & 3) << 16);
    std::string header =
        "MP+" + std::string(1, static_cast<char>(minor << 4 | 7)) + LE32(frames) + LE32(flags);
    return header + std::string(32 - header.size(), '\0');
}

std::string MusepackOldHeader(unsigned version, std::uint32_t frames, unsigned bitRate,
                              bool midSide) {
    // First word, from the top bit down: bit rate (9 bits), intensity stereo, mid-side,
    // version (10), max band (5), block size (6).
    const std::uint32_t word1 =
        (bitRate << 23) | (midSide ? 1u << 21 : 0) | (version << 11) | (31u << 6) | 1u;
    const std::uint32_t word2 = version == 4 ? frames << 16 : frames;
    return LE32(word1) + LE32(word2) + std::string(24, '\0');
}

std::string TwinVQChunk(std::string_view id, std::string_view body) {
    return std::string(id) + BE32(static_cast<std::uint32_t>(body.size())) + std::string(body);
}

std::string TwinVQFile(const TwinVQFields& f) {
    std::string chunks =
        TwinVQChunk("COMM", BE32(f.channelMode) + BE32(f.bitRate) + BE32(f.sampleRate) + BE32(0));
    for (const auto& [id, body] : f.chunks) chunks += TwinVQChunk(id, body);
    return "TWIN97012000" + BE32(static_cast<std::uint32_t>(chunks.size())) + chunks + "DATA" +
           std::string(f.dataSize, '\x5A');
}

std::string MonkeyOldHeader(const MonkeyFields& f) {
    return "MAC " + LE16(f.version) + LE16(f.compression) + LE16(f.flags) + LE16(f.channels) +
           LE32(f.sampleRate) + LE32(0) + LE32(0) + LE32(f.totalFrames) + LE32(f.finalFrameBlocks) +
           LE32(f.peakLevel);
}

std::string MonkeyDescriptorHeader(const MonkeyFields& f) {
    std::string descriptor = "MAC " + LE16(f.version) + LE16(0) + LE32(f.descriptorBytes) +
                             LE32(f.headerBytes) + LE32(0) + LE32(0) + LE32(0) + LE32(0) + LE32(0) +
                             std::string(16, '\0');
    if (f.descriptorBytes > descriptor.size())
        descriptor += std::string(f.descriptorBytes - descriptor.size(), '\xEE');
    std::string header = LE16(f.compression) + LE16(f.flags) + LE32(f.blocksPerFrame) +
                         LE32(f.finalFrameBlocks) + LE32(f.totalFrames) + LE16(f.bits) +
                         LE16(f.channels) + LE32(f.sampleRate);
    header.resize(f.headerBytes < header.size() ? f.headerBytes : header.size());
    return descriptor + header;
}

std::string OptimFrogHeader(const OptimFrogFields& f) {
    return "OFR " + LE32(15) + LE32(static_cast<std::uint32_t>(f.length)) +
           LE16(static_cast<std::uint16_t>(f.length >> 32)) + static_cast<char>(f.sampleType) +
           static_cast<char>(f.channelMode) + LE32(f.sampleRate) + LE16(4540) +
           static_cast<char>(f.compression);
}

}  // namespace rv::test
