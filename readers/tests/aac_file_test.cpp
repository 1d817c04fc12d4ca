#include "readers/aac_file.h"

#include <gtest/gtest.h>

#include "readers/tests/read_bytes.h"
#include "readers/tests/tag_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

// AAC headers built bit by bit from the format's definition: ADTS frames with any field
// values, and ADIF headers, which no Debian encoder writes.

// Writes fields most significant bit first; the last byte is padded with zeros.
class BitWriter {
public:
    void Put(std::uint32_t value, unsigned count) {
        while (count > 0) {
            if (used_ == 8) {
                bytes_.push_back('\0');
                used_ = 0;
            }
            --count;
            const unsigned bit = (value >> count) & 1;
            bytes_.back() = static_cast<char>(bytes_.back() | (bit << (7 - used_)));
            ++used_;
        }
    }
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
std::string ADTSFrame(const ADTSFields& f) {
    BitWriter w;
    w.Put(0xFFF, 12);
    w.Put(f.mpeg2 ? 1 : 0, 1);
    w.Put(0, 2);  // layer
    w.Put(1, 1);  // no CRC
    w.Put(f.profile, 2);
    w.Put(f.rateIndex, 4);
    w.Put(0, 1);  // private
    w.Put(f.channels, 3);
    w.Put(0, 4);  // original, home, copyright id bit and start
    w.Put(f.length, 13);
    w.Put(f.fullness, 11);
    w.Put(0, 2);  // one raw data block
    std::string frame = w.Bytes();
    if (f.length > frame.size()) frame.resize(f.length, '\0');
    return frame;
}

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
void PutElements(BitWriter& w, const std::vector<bool>& elements) {
    unsigned tag = 0;
    for (const bool pair : elements) {
        w.Put(pair ? 1 : 0, 1);
        w.Put(tag++, 4);
    }
}

// "ADIF", the header and one program config element, then some zero bytes of stream.
std::string ADIFHeader(const ADIFFields& f) {
    BitWriter w;
    for (const char c : std::string("ADIF")) w.Put(static_cast<unsigned char>(c), 8);
    w.Put(f.copyrightId ? 1 : 0, 1);
    if (f.copyrightId) {
        // 72 bits of copyright id, with all ones so a reader that does not skip it fails.
        w.Put(0xFFFFFF, 24);
        w.Put(0xFFFFFF, 24);
        w.Put(0xFFFFFF, 24);
    }
    w.Put(0, 1);  // original_copy
    w.Put(0, 1);  // home
    w.Put(f.vbr ? 1 : 0, 1);
    w.Put(f.bitRate, 23);
    w.Put(0, 4);                     // one program config element
    if (!f.vbr) w.Put(0xFFFFF, 20);  // buffer fullness

    w.Put(0, 4);  // element instance tag
    w.Put(f.profile, 2);
    w.Put(f.rateIndex, 4);
    w.Put(static_cast<std::uint32_t>(f.front.size()), 4);
    w.Put(static_cast<std::uint32_t>(f.side.size()), 4);
    w.Put(static_cast<std::uint32_t>(f.back.size()), 4);
    w.Put(f.lfe, 2);
    w.Put(0, 3);  // associated data elements
    w.Put(0, 4);  // coupling channel elements
    w.Put(f.monoMixdown ? 1 : 0, 1);
    if (f.monoMixdown) w.Put(0xF, 4);
    w.Put(f.stereoMixdown ? 1 : 0, 1);
    if (f.stereoMixdown) w.Put(0xF, 4);
    w.Put(f.matrixMixdown ? 1 : 0, 1);
    if (f.matrixMixdown) w.Put(0x7, 3);
    PutElements(w, f.front);
    PutElements(w, f.side);
    PutElements(w, f.back);
    for (unsigned i = 0; i < f.lfe; ++i) w.Put(i, 4);
    w.Put(0, 8);  // no comment
    // Some stream, so that the file is long enough to hold an ID3v1 block.
    return w.Bytes() + std::string(200, '\0');
}

std::string Frames(ADTSFields fields, const std::vector<unsigned>& lengths) {
    std::string bytes;
    for (const unsigned length : lengths) {
        fields.length = length;
        bytes += ADTSFrame(fields);
    }
    return bytes;
}

TAACfile Read(const std::string& bytes) {
    return test::Read<TAACfile>(bytes);
}

// At 48 kHz each byte of a 1024-sample frame is 375 bit/s.
TEST(AACFile, ADTSRateIsTheFirstFrameOrTheAverageOfAll) {
    // A buffer fullness other than all ones marks a constant rate: the second, longer frame
    // is never looked at.
    TAACfile aac = Read(Frames({.fullness = 0x123}, {384, 900}));
    EXPECT_EQ(aac.BitRateType(), "CBR");
    EXPECT_EQ(aac.BitRate(), 384u * 375);
    EXPECT_DOUBLE_EQ(aac.Duration(), (384.0 + 900) * 8 / aac.BitRate());

    // The frame length sits at bit 30 in MPEG-4 headers too; read two bits later it would be
    // four times too large and end the walk after one frame.
    const std::string id3v2 = test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0Song"s), 50);
    aac = Read(id3v2 + Frames({.channels = 1}, {100, 300, 200, 400}));
    EXPECT_TRUE(aac.Valid());
    EXPECT_EQ(aac.MPEGVersion(), "MPEG-4");
    EXPECT_EQ(aac.Profile(), "AAC LC");
    EXPECT_EQ(aac.BitRateType(), "VBR");
    EXPECT_EQ(aac.SampleRate(), 48000u);
    EXPECT_EQ(aac.Channels(), 1);
    EXPECT_EQ(aac.BitRate(), 1000u * 375 / 4);
    EXPECT_DOUBLE_EQ(aac.Duration(), 4 * 1024 / 48000.0);

    aac = Read(Frames({.mpeg2 = true, .profile = 3}, {100, 300}));
    EXPECT_EQ(aac.MPEGVersion(), "MPEG-2");
    EXPECT_EQ(aac.Profile(), "AAC LTP");
    EXPECT_EQ(aac.BitRate(), 400u * 375 / 2);
    // A broken sync word ends the walk; that step still counts as a frame in the average.
    EXPECT_EQ(Read(Frames({}, {200, 200, 200}) + std::string(600, '\x55')).BitRate(),
              600u * 375 / 4);
}

TEST(AACFile, ADIFCountsChannelsNotElements) {
    // Front: a channel pair and a single channel; back: a pair; one LFE. Six channels from
    // four elements.
    const std::string header = ADIFHeader(
        {.bitRate = 192000, .rateIndex = 3, .front = {true, false}, .back = {true}, .lfe = 1});
    TAACfile aac = Read(header + std::string(24000 - header.size(), '\0'));
    EXPECT_TRUE(aac.Valid());
    EXPECT_EQ(aac.HeaderType(), "ADIF");
    EXPECT_EQ(aac.BitRateType(), "CBR");
    EXPECT_EQ(aac.BitRate(), 192000u);
    EXPECT_EQ(aac.SampleRate(), 48000u);
    EXPECT_EQ(aac.Channels(), 6);
    EXPECT_DOUBLE_EQ(aac.Duration(), 1.0);

    // A copyright id, a variable rate (no buffer fullness) and the optional mixdown fields all
    // move the fields behind them.
    aac = Read(ADIFHeader({.copyrightId = true,
                           .vbr = true,
                           .bitRate = 96000,
                           .profile = 0,
                           .rateIndex = 7,
                           .side = {true},
                           .monoMixdown = true,
                           .stereoMixdown = true,
                           .matrixMixdown = true}));
    EXPECT_EQ(aac.BitRateType(), "VBR");
    EXPECT_EQ(aac.BitRate(), 96000u);
    EXPECT_EQ(aac.Profile(), "AAC Main");
    EXPECT_EQ(aac.SampleRate(), 22050u);
    EXPECT_EQ(aac.Channels(), 2);
}

TEST(AACFile, BrokenStreamsAreNotValidAndLeaveNothingBehind) {
    TAACfile aac;
    ASSERT_TRUE(test::ReadBytes(aac, Frames({}, {200, 200}) + test::ID3v1Block({"v1"})));
    EXPECT_TRUE(aac.ID3v1().Exists());
    // Sample-rate index 12 to 15 has no rate.
    ASSERT_TRUE(test::ReadBytes(aac, Frames({.rateIndex = 13}, {200, 200})));
    EXPECT_FALSE(aac.Valid());
    EXPECT_FALSE(aac.ID3v1().Exists());
    // A zero length cannot move the walk on and gives no rate.
    aac = Read(Frames({}, {0, 200}));
    EXPECT_FALSE(aac.Valid());
    EXPECT_EQ(aac.Duration(), 0);
    // 0xFF not followed by the rest of the 12-bit sync word.
    EXPECT_EQ(Read("\xFF\xE1"s + std::string(300, '\0')).HeaderType(), "Unknown");
}

}  // namespace
}  // namespace rv
