#include "readers/aac_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "readers/tests/test_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

using namespace test;

// AAC headers built bit by bit from the format's definition: ADTS frames with any field
// values, and ADIF headers, which no Debian encoder writes.

// Writes fields most significant bit first; the last byte is padded with zeros.
class BitWriter {
public:
    // Pairs of value and width in bits.
    void Put(std::initializer_list<std::uint32_t> fields) {
        for (auto it = fields.begin(); it != fields.end(); it += 2)
            for (unsigned n = it[1]; n-- > 0;) bits_.push_back((it[0] >> n) & 1);
    }
    std::string Bytes() const {
        std::string bytes((bits_.size() + 7) / 8, '\0');
        for (std::size_t i = 0; i < bits_.size(); ++i)
            if (bits_[i]) bytes[i / 8] = static_cast<char>(bytes[i / 8] | 0x80 >> i % 8);
        return bytes;
    }

private:
    std::vector<bool> bits_;
};

struct ADTSFields {
    bool mpeg2 = false;
    unsigned profile = 1;    // object type - 1: 0 Main, 1 LC, 2 SSR, 3 LTP
    unsigned rateIndex = 3;  // 48000 Hz: 375 bit/s for each byte a frame
    unsigned channels = 2;
    unsigned fullness = 0x7FF;  // all ones: variable rate
};
// Frames of the given lengths, header included: a 7-byte header without CRC, then zeros.
std::string Frames(const ADTSFields& f, const std::vector<unsigned>& lengths) {
    std::string bytes;
    for (const unsigned length : lengths) {
        // Sync word, MPEG-2 flag, layer, no CRC, profile, rate, private bit, channels, original,
        // home, copyright id bit and start, length, fullness, one raw data block.
        BitWriter w;
        w.Put({0xFFF, 12, f.mpeg2,    1, 0, 2, 1,      1,  f.profile,  2,  f.rateIndex, 4,
               0,     1,  f.channels, 3, 0, 4, length, 13, f.fullness, 11, 0,           2});
        std::string frame = w.Bytes();
        frame.resize(std::max<std::size_t>(length, frame.size()), '\0');
        bytes += frame;
    }
    return bytes;
}

struct ADIFFields {
    bool copyrightId = false, vbr = false;
    std::uint32_t bitRate = 128000;
    unsigned profile = 1, rateIndex = 4;
    // One entry per element: true for a channel pair element, false for a single channel.
    std::vector<bool> front{}, side{}, back{};
    unsigned lfe = 0;
    bool monoMixdown = false, stereoMixdown = false, matrixMixdown = false;
};

// "ADIF", the header and one program config element, then some zero bytes of stream.
std::string ADIFHeader(const ADIFFields& f) {
    BitWriter w;
    w.Put({0x41444946, 32, f.copyrightId, 1});  // "ADIF"
    // 72 bits of copyright id, with all ones so a reader that does not skip it fails.
    if (f.copyrightId) w.Put({0xFFFFFF, 24, 0xFFFFFF, 24, 0xFFFFFF, 24});
    // original_copy, home, the rate, one program config element, buffer fullness.
    w.Put({0, 1, 0, 1, f.vbr, 1, f.bitRate, 23, 0, 4});
    if (!f.vbr) w.Put({0xFFFFF, 20});
    // Element instance tag, profile, rate, the element counts, no associated data or coupling
    // channel elements, the optional mixdowns: ones ending in a zero, so that a reader that
    // takes one bit too few reads that zero as the next flag.
    auto count = [](const std::vector<bool>& v) { return static_cast<std::uint32_t>(v.size()); };
    w.Put({0, 4, f.profile, 2, f.rateIndex, 4, count(f.front), 4, count(f.side), 4, count(f.back),
           4, f.lfe, 2, 0, 3, 0, 4});
    for (const auto& [present, bits] :
         {std::pair{f.monoMixdown, 4u}, {f.stereoMixdown, 4u}, {f.matrixMixdown, 3u}})
        w.Put({present, 1, (1u << bits) - 2, present ? bits : 0});
    for (const std::vector<bool>* elements : {&f.front, &f.side, &f.back}) {
        unsigned tag = 0;
        for (const bool pair : *elements) w.Put({pair, 1, tag++, 4});
    }
    for (unsigned i = 0; i < f.lfe; ++i) w.Put({i, 4});
    w.Put({0, 8});  // no comment
    // Some stream, so that the file is long enough to hold an ID3v1 block.
    return w.Bytes() + std::string(200, '\0');
}

// Variable-rate ADTS streams of MPEG-2 and MPEG-4 are checked against the tools in
// manifest_test.cpp. At 48 kHz each byte of a 1024-sample frame is 375 bit/s.
TEST(AACFile, ADTSRateIsTheFirstFrameOrTheAverageAndBrokenStreamsLeaveNothing) {
    // A buffer fullness other than all ones marks a constant rate: the second, longer frame
    // is never looked at.
    // The whole file is taken at that rate: 1284 bytes at 18 000 bytes a second.
    TAACfile aac = Read<TAACfile>(Frames({.fullness = 0x123}, {384, 900}));
    EXPECT_EQ(std::tuple(aac.BitRateType(), aac.BitRate()), std::tuple("CBR", 144000u));
    EXPECT_NEAR(aac.Duration(), 0.071333, 1e-6);

    // A broken sync word ends the walk; that step still counts as a frame in the average.
    EXPECT_EQ(Read<TAACfile>(Frames({}, {200, 200, 200}) + std::string(600, '\x55')).BitRate(),
              600u * 375 / 4);
    TAACfile broken;
    ASSERT_TRUE(ReadBytes(broken, Frames({}, {200, 200}) + ID3v1Block({"v1"})));
    EXPECT_TRUE(broken.ID3v1().Exists());
    // Sample-rate index 12 to 15 has no rate.
    ASSERT_TRUE(ReadBytes(broken, Frames({.rateIndex = 13}, {200, 200})));
    EXPECT_EQ(std::tuple(broken.Valid(), broken.ID3v1().Exists()), std::tuple(false, false));
    // A zero length cannot move the walk on and gives no rate.
    aac = Read<TAACfile>(Frames({}, {0, 200}));
    EXPECT_EQ(std::tuple(aac.Valid(), aac.Duration()), std::tuple(false, 0.0));
    // 0xFF not followed by the rest of the 12-bit sync word.
    EXPECT_EQ(Read<TAACfile>("\xFF\xE1"s + std::string(300, '\0')).HeaderType(), "Unknown");
}

// The plain layout, six channels from four elements, is checked against the tools in
// manifest_test.cpp.
TEST(AACFile, ADIFOptionalFieldsMoveTheFieldsBehindThem) {
    // A copyright id, a variable rate (no buffer fullness), the mixdowns and side elements.
    ADIFFields f{.copyrightId = true, .vbr = true, .bitRate = 96000, .profile = 0, .rateIndex = 7};
    f.side = {true};
    f.monoMixdown = f.stereoMixdown = f.matrixMixdown = true;
    const TAACfile aac = Read<TAACfile>(ADIFHeader(f));
    EXPECT_EQ(std::tuple(aac.BitRateType(), aac.BitRate(), aac.Profile(), aac.SampleRate(),
                         int{aac.Channels()}),
              std::tuple("VBR", 96000u, "AAC Main", 22050u, 2));
}

}  // namespace
}  // namespace rv
