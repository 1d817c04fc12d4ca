#pragma once

#include <cstdint>

// MPEG audio frame headers (MPEG 1, 2 and 2.5; Layers I, II and III).
namespace rv {

enum : std::uint8_t {
    kMPEGVersion25 = 0,
    kMPEGVersionReserved = 1,
    kMPEGVersion2 = 2,
    kMPEGVersion1 = 3,
};
enum : std::uint8_t {
    kMPEGLayerReserved = 0,
    kMPEGLayerIII = 1,
    kMPEGLayerII = 2,
    kMPEGLayerI = 3,
};
enum : std::uint8_t {
    kMPEGModeStereo = 0,
    kMPEGModeJointStereo = 1,
    kMPEGModeDualChannel = 2,
    kMPEGModeMono = 3,
    kMPEGModeUnknown = 4,
};

// The first frame header of a stream and where it was found.
struct TFrameData {
    bool Found = false;
    std::uint32_t Position = 0;  // offset of the header inside the block that was searched
    std::uint16_t Size = 0;      // frame length in bytes
    unsigned char Data[4] = {};
    std::uint8_t VersionID = kMPEGVersionReserved;
    std::uint8_t LayerID = kMPEGLayerReserved;
    bool ProtectionBit = false;
    std::uint8_t BitRateID = 0;
    std::uint8_t SampleRateID = 3;
    std::uint8_t PaddingBit = 0;
    std::uint8_t PrivateBit = 0;
    std::uint8_t ModeID = kMPEGModeUnknown;
    std::uint8_t ModeExtensionID = 4;
    std::uint8_t CopyrightBit = 0;
    std::uint8_t OriginalBit = 0;
    std::uint8_t EmphasisID = 2;
};

// Whether four bytes form a usable frame header (sync word, known version, layer, bit rate,
// sample rate and emphasis; a "free" bit rate is refused).
bool IsFrameHeader(const unsigned char* bytes);

// The header fields of four bytes; Found, Position and Size are left as they are.
void DecodeFrameHeader(const unsigned char* bytes, TFrameData& frame);

// kbit/s from the standard tables; 0 for the free and the bad index, and for a reserved version
// or layer.
std::uint16_t MPEGBitRate(const TFrameData& frame);
// Hz; 0 for the reserved index or version.
std::uint16_t MPEGSampleRate(const TFrameData& frame);
// Samples per frame divided by 8.
unsigned MPEGCoefficient(const TFrameData& frame);
// Bytes the padding bit adds in the frame's layer (a Layer I slot is 4 bytes).
unsigned MPEGPadding(const TFrameData& frame);
// Length of the frame in bytes, padding included; 0 when bit rate or sample rate is unknown.
std::uint16_t MPEGFrameLength(const TFrameData& frame);

}  // namespace rv
