#include "readers/mpeg_frame.h"

namespace rv {

namespace {

// kbit/s by table row and bit-rate index.
constexpr std::uint16_t kBitRates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // MPEG 1 Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // MPEG 1 Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // MPEG 1 Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},     // MPEG 2 Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},          // MPEG 2 II, III
};

// Hz by version id and sample-rate index.
constexpr std::uint16_t kSampleRates[4][4] = {
    {11025, 12000, 8000, 0},   // MPEG 2.5
    {0, 0, 0, 0},              // reserved
    {22050, 24000, 16000, 0},  // MPEG 2
    {44100, 48000, 32000, 0},  // MPEG 1
};

}  // namespace

bool IsFrameHeader(const unsigned char* b) {
    if (b[0] != 0xFF || (b[1] & 0xE0) != 0xE0) return false;
    if (((b[1] >> 3) & 3) == kMPEGVersionReserved) return false;
    if (((b[1] >> 1) & 3) == kMPEGLayerReserved) return false;
    if ((b[2] >> 4) == 15 || (b[2] >> 4) == 0) return false;
    if (((b[2] >> 2) & 3) == 3) return false;
    return (b[3] & 3) != 2;
}

void DecodeFrameHeader(const unsigned char* b, TFrameData& frame) {
    for (int i = 0; i < 4; ++i) frame.Data[i] = b[i];
    frame.VersionID = (b[1] >> 3) & 3;
    frame.LayerID = (b[1] >> 1) & 3;
    frame.ProtectionBit = (b[1] & 1) == 0;
    frame.BitRateID = b[2] >> 4;
    frame.SampleRateID = (b[2] >> 2) & 3;
    frame.PaddingBit = (b[2] >> 1) & 1;
    frame.PrivateBit = b[2] & 1;
    frame.ModeID = b[3] >> 6;
    frame.ModeExtensionID = (b[3] >> 4) & 3;
    frame.CopyrightBit = (b[3] >> 3) & 1;
    frame.OriginalBit = (b[3] >> 2) & 1;
    frame.EmphasisID = b[3] & 3;
}

std::uint16_t MPEGBitRate(const TFrameData& frame) {
    if (frame.VersionID > 3 || frame.VersionID == kMPEGVersionReserved || frame.LayerID == 0 ||
        frame.LayerID > 3 || frame.BitRateID > 15)
        return 0;
    int row;
    if (frame.VersionID == kMPEGVersion1)
        row = 3 - frame.LayerID;  // Layer I, II, III -> rows 0, 1, 2
    else
        row = frame.LayerID == kMPEGLayerI ? 3 : 4;
    return kBitRates[row][frame.BitRateID];
}

std::uint16_t MPEGSampleRate(const TFrameData& frame) {
    if (frame.VersionID > 3 || frame.SampleRateID > 3) return 0;
    return kSampleRates[frame.VersionID][frame.SampleRateID];
}

unsigned MPEGCoefficient(const TFrameData& frame) {
    switch (frame.LayerID) {
        case kMPEGLayerI:
            return 48;  // 384 samples in every version
        case kMPEGLayerII:
            return 144;
        case kMPEGLayerIII:
            return frame.VersionID == kMPEGVersion1 ? 144 : 72;
        default:
            return 0;
    }
}

unsigned MPEGPadding(const TFrameData& frame) {
    if (!frame.PaddingBit) return 0;
    return frame.LayerID == kMPEGLayerI ? 4 : 1;
}

std::uint16_t MPEGFrameLength(const TFrameData& frame) {
    const std::uint32_t bitRate = MPEGBitRate(frame);
    const std::uint32_t sampleRate = MPEGSampleRate(frame);
    if (bitRate == 0 || sampleRate == 0) return 0;
    // A Layer I frame is a whole number of 4-byte slots.
    if (frame.LayerID == kMPEGLayerI)
        return static_cast<std::uint16_t>((12 * bitRate * 1000 / sampleRate + frame.PaddingBit) *
                                          4);
    return static_cast<std::uint16_t>(MPEGCoefficient(frame) * bitRate * 1000 / sampleRate +
                                      frame.PaddingBit);
}

}  // namespace rv
