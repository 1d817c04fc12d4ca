#pragma once

#include <cstdint>
#include <string>
#include <vector>

// AAC headers built bit by bit from the format's definition: ADTS frames with any field
// values, and ADIF headers, which no Debian encoder writes.
namespace rv::test {

// Writes fields most significant bit first; the last byte is padded with zeros.
class BitWriter {
public:
    void Put(std::uint32_t value, unsigned count);
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    unsigned used_ = 8;  // bits used in the last byte
};

struct ADTSFields {
    bool mpeg2 = false;
    unsigned profile = 1;    // object type - 1: 0 Main, 1 LC, 2 SSR, 3 LTP
    unsigned rateIndex = 3;  // 48000 Hz: 375 bit/s for each byte a frame
    unsigned channels = 2;
    unsigned length = 200;      // whole frame, header included
    unsigned fullness = 0x7FF;  // all ones: variable rate
};
// One frame: a 7-byte header without CRC, then zeros up to `length`.
std::string ADTSFrame(const ADTSFields& fields);

struct ADIFFields {
    bool copyrightId = false;
    bool vbr = false;
    std::uint32_t bitRate = 128000;
    unsigned profile = 1;
    unsigned rateIndex = 4;
    // One entry per element: true for a channel pair element, false for a single channel.
    std::vector<bool> front{}, side{}, back{};
    unsigned lfe = 0;
    bool monoMixdown = false, stereoMixdown = false, matrixMixdown = false;
};
// "ADIF", the header and one program config element, then some zero bytes of stream.
std::string ADIFHeader(const ADIFFields& fields);

}  // namespace rv::test
