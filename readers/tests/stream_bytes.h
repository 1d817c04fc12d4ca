#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "readers/tests/tag_bytes.h"

// Stream headers of Musepack, TwinVQ, Monkey's Audio and OptimFROG files, built byte by byte
// from the formats' definitions, for the variants tests need and for hostile input.
namespace rv::test {

// Musepack stream version 7 (7.1 with `minor` 1): "MP+", frame count, sample-rate index 0-3
// (44.1, 48, 37.8, 32 kHz), the mid-side flag; 32 bytes.
std::string MusepackSV7Header(std::uint32_t frames, unsigned rateIndex, bool midSide,
                              unsigned minor = 0);
// Musepack stream versions 4 to 6: the bit rate in the first word (kbit/s, 9 bits), the
// version, the mid-side flag and a full band count; the frame count in the second word (its
// high half for version 4); 32 bytes.
std::string MusepackOldHeader(unsigned version, std::uint32_t frames, unsigned bitRate,
                              bool midSide);

// A TwinVQ file: "TWIN", version, header size, the COMM chunk (channel mode 0 mono / 1 stereo,
// bit rate in kbit/s, sample rate in kHz — 11, 22, 44 for the 1.025 rates), the other chunks,
// "DATA" and `dataSize` bytes of data. The header size counts the chunks up to "DATA".
struct TwinVQFields {
    std::uint32_t channelMode = 1;
    std::uint32_t bitRate = 48;
    std::uint32_t sampleRate = 44;
    std::vector<std::pair<std::string, std::string>> chunks{};
    std::size_t dataSize = 12000;
};
std::string TwinVQChunk(std::string_view id, std::string_view body);
std::string TwinVQFile(const TwinVQFields& fields);

// Monkey's Audio headers. Old layout (versions before 3980): the 6-byte common part and the
// 30 bytes that follow it, with `peakLevel` as the last word. Descriptor layout: common part,
// descriptor of `descriptorBytes` (52 or more) and a header of `headerBytes`, of which up to
// 24 are written.
struct MonkeyFields {
    std::uint16_t version = 3990;
    std::uint16_t compression = 2000;
    std::uint16_t flags = 0;
    std::uint16_t channels = 2;
    std::uint32_t sampleRate = 44100;
    std::uint32_t totalFrames = 3;
    std::uint32_t finalFrameBlocks = 1000;
    std::uint32_t peakLevel = 0;           // old layout
    std::uint32_t blocksPerFrame = 73728;  // descriptor layout
    std::uint16_t bits = 16;               // descriptor layout
    std::uint32_t descriptorBytes = 52;    // descriptor layout
    std::uint32_t headerBytes = 24;        // descriptor layout
};
std::string MonkeyOldHeader(const MonkeyFields& fields);
std::string MonkeyDescriptorHeader(const MonkeyFields& fields);

// The 23-byte OptimFROG header.
struct OptimFrogFields {
    std::uint64_t length = 2 * 44100;  // samples of all channels
    std::uint8_t sampleType = 2;
    std::uint8_t channelMode = 1;
    std::uint32_t sampleRate = 44100;
    std::uint8_t compression = 2 << 3;
};
std::string OptimFrogHeader(const OptimFrogFields& fields);

}  // namespace rv::test
