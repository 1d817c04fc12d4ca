#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/tests/test_bytes.h"

// Stream headers of the formats no Debian encoder writes (Musepack up to stream version 7.1,
// TwinVQ, Monkey's Audio, OptimFROG, RIFF-wrapped WavPack), built byte by byte from the formats'
// definitions.
namespace rv::test {

// Musepack stream version 7 (7.1 with `minor` 1): "MP+", frame count, sample-rate index 0-3
// (44.1, 48, 37.8, 32 kHz), the mid-side flag; 32 bytes.
inline std::string MusepackSV7Header(std::uint32_t frames, unsigned rateIndex, bool midSide,
                                     unsigned minor = 0) {
    // Third word, from the top bit down: intensity stereo, mid-side, max band (6 bits), profile
    // (4), link (2), sample rate (2), max level (16).
    const std::uint32_t flags =
        (midSide ? 1u << 30 : 0) | (31u << 24) | (10u << 20) | ((rateIndex & 3) << 16);
    std::string header =
        "MP+" + std::string(1, static_cast<char>(minor << 4 | 7)) + LE32(frames) + LE32(flags);
    return header + std::string(32 - header.size(), '\0');
}
// Musepack stream versions 4 to 6: the bit rate in the first word (kbit/s, 9 bits), the
// version, the mid-side flag and a full band count; the frame count in the second word (its
// high half for version 4); 32 bytes.
inline std::string MusepackOldHeader(unsigned version, std::uint32_t frames, unsigned bitRate,
                                     bool midSide) {
    // First word, from the top bit down: bit rate (9 bits), intensity stereo, mid-side,
    // version (10), max band (5), block size (6).
    const std::uint32_t word1 =
        (bitRate << 23) | (midSide ? 1u << 21 : 0) | (version << 11) | (31u << 6) | 1u;
    const std::uint32_t word2 = version == 4 ? frames << 16 : frames;
    return LE32(word1) + LE32(word2) + std::string(24, '\0');
}

// A TwinVQ file: "TWIN", version, header size, the COMM chunk (channel mode 0 mono / 1 stereo,
// bit rate in kbit/s, sample rate in kHz — 11, 22, 44 for the 1.025 rates), the other chunks,
// "DATA" and `dataSize` bytes of data. The header size counts the chunks up to "DATA".
struct TwinVQFields {
    std::uint32_t channelMode = 1, bitRate = 48, sampleRate = 44;
    std::vector<std::pair<std::string, std::string>> chunks{};
    std::size_t dataSize = 12000;
};
inline std::string TwinVQChunk(std::string_view id, std::string_view body) {
    return std::string(id) + BE32(static_cast<std::uint32_t>(body.size())) + std::string(body);
}
inline std::string TwinVQFile(const TwinVQFields& f) {
    std::string chunks =
        TwinVQChunk("COMM", BE32(f.channelMode) + BE32(f.bitRate) + BE32(f.sampleRate) + BE32(0));
    for (const auto& [id, body] : f.chunks) chunks += TwinVQChunk(id, body);
    return "TWIN97012000" + BE32(static_cast<std::uint32_t>(chunks.size())) + chunks + "DATA" +
           std::string(f.dataSize, '\x5A');
}

// Monkey's Audio headers. Old layout (versions before 3980): the 6-byte common part and the
// 30 bytes that follow it, with `peakLevel` as the last word. Descriptor layout: common part,
// descriptor of `descriptorBytes` (52 or more) and a header of `headerBytes`, of which up to
// 24 are written.
struct MonkeyFields {
    std::uint16_t version = 3990, compression = 2000, flags = 0, channels = 2;
    std::uint32_t sampleRate = 44100, totalFrames = 3, finalFrameBlocks = 1000;
    std::uint32_t peakLevel = 0;  // old layout
    // Descriptor layout:
    std::uint32_t blocksPerFrame = 73728;
    std::uint16_t bits = 16;
    std::uint32_t descriptorBytes = 52, headerBytes = 24;
};
inline std::string MonkeyOldHeader(const MonkeyFields& f) {
    return "MAC " + LE16(f.version) + LE16(f.compression) + LE16(f.flags) + LE16(f.channels) +
           LE32(f.sampleRate) + LE32(0) + LE32(0) + LE32(f.totalFrames) + LE32(f.finalFrameBlocks) +
           LE32(f.peakLevel);
}
inline std::string MonkeyDescriptorHeader(const MonkeyFields& f) {
    std::string descriptor = "MAC " + LE16(f.version) + LE16(0) + LE32(f.descriptorBytes) +
                             LE32(f.headerBytes) + LE32(0) + LE32(0) + LE32(0) + LE32(0) + LE32(0) +
                             std::string(16, '\x11');
    if (f.descriptorBytes > descriptor.size())
        descriptor += std::string(f.descriptorBytes - descriptor.size(), '\xEE');
    std::string header = LE16(f.compression) + LE16(f.flags) + LE32(f.blocksPerFrame) +
                         LE32(f.finalFrameBlocks) + LE32(f.totalFrames) + LE16(f.bits) +
                         LE16(f.channels) + LE32(f.sampleRate);
    header.resize(f.headerBytes < header.size() ? f.headerBytes : header.size());
    return descriptor + header;
}

// The 23-byte OptimFROG header.
struct OptimFrogFields {
    std::uint64_t length = 2 * 44100;  // samples of all channels
    std::uint8_t sampleType = 2, channelMode = 1;
    std::uint32_t sampleRate = 44100;
    std::uint8_t compression = 2 << 3;
};
inline std::string OptimFrogHeader(const OptimFrogFields& f) {
    return "OFR " + LE32(15) + LE32(static_cast<std::uint32_t>(f.length)) +
           LE16(static_cast<std::uint16_t>(f.length >> 32)) + static_cast<char>(f.sampleType) +
           static_cast<char>(f.channelMode) + LE32(f.sampleRate) + LE16(4540) +
           static_cast<char>(f.compression);
}

// A RIFF/WAVE file and its chunks.
inline std::string RiffChunk(std::string_view id, std::string_view body) {
    return std::string(id) + LE32(static_cast<std::uint32_t>(body.size())) + std::string(body);
}

inline std::string RiffWave(std::string_view chunks) {
    return "RIFF" + LE32(static_cast<std::uint32_t>(chunks.size() + 4)) + "WAVE" +
           std::string(chunks);
}

inline std::string WaveFormat(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                              std::string_view extra = {}) {
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    return RiffChunk("fmt ", LE16(1) + LE16(channels) + LE32(rate) + LE32(rate * align) +
                                 LE16(align) + LE16(bits) + std::string(extra));
}

// The 36-byte "wvpk" header at the start of the "data" body.
inline std::string WavPackBlockHeader(std::uint32_t blockSize, std::uint16_t version,
                                      std::uint16_t flags, std::uint32_t totalSamples) {
    return "wvpk" + LE32(blockSize) + LE16(version) + LE16(16) + LE16(flags) + LE16(0) +
           LE32(totalSamples) + LE32(0x12345678) + LE32(0) + LE32(0) + std::string(4, '\0');
}

}  // namespace rv::test
