#include "readers/wavpack_file.h"

#include <gtest/gtest.h>

#include "readers/tests/read_bytes.h"
#include "readers/tests/tag_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::LE16;
using test::LE32;

std::string Chunk(std::string_view id, std::string_view body) {
    return std::string(id) + LE32(static_cast<std::uint32_t>(body.size())) + std::string(body);
}

std::string Riff(std::string_view chunks) {
    return "RIFF" + LE32(static_cast<std::uint32_t>(chunks.size() + 4)) + "WAVE" +
           std::string(chunks);
}

std::string Format(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                   std::string_view extra = {}) {
    const std::uint16_t align = static_cast<std::uint16_t>(channels * bits / 8);
    return Chunk("fmt ", LE16(1) + LE16(channels) + LE32(rate) + LE32(rate * align) + LE16(align) +
                             LE16(bits) + std::string(extra));
}

// The 36-byte "wvpk" header at the start of the "data" body.
std::string BlockHeader(std::uint32_t blockSize, std::uint16_t version, std::uint16_t flags,
                        std::uint32_t totalSamples) {
    return "wvpk" + LE32(blockSize) + LE16(version) + LE16(16) + LE16(flags) + LE16(0) +
           LE32(totalSamples) + LE32(0x12345678) + LE32(0) + LE32(0) + std::string(4, '\0');
}

TEST(WavPackFile, ReadsTheBlockHeaderInsideTheRiffWrapper) {
    const std::string id3v2 = test::ID3v2Tag(3, test::ID3v2Frame(3, "TIT2", "\0Song"s), 20);
    const std::string ape = test::APETag(2000, {{"Title", "Ape"}});
    const std::string data = BlockHeader(1000, 0x403, 1, 88200) + std::string(3000, '\x5A');
    const std::string bytes =
        id3v2 + Riff(Format(2, 44100, 16) + Chunk("data", data)) + ape + test::ID3v1Block({"v1"});
    TWAVPackfile wv = test::Read<TWAVPackfile>(bytes);
    EXPECT_TRUE(wv.Valid());
    EXPECT_EQ(wv.ID3v2().Title(), "Song");
    EXPECT_EQ(wv.APEtag().Title(), "Ape");
    EXPECT_EQ(wv.Version(), 0x403);
    EXPECT_EQ(wv.SampleRate(), 44100u);
    // Flags bit 0 marks mono, whatever the "fmt " chunk says.
    EXPECT_EQ(wv.Channels(), 1);
    EXPECT_DOUBLE_EQ(wv.Duration(), 2.0);
    // Every byte but the tags' and one block's, over the duration.
    const double audio = bytes.size() - id3v2.size() - ape.size() - 128 - 1000.0;
    EXPECT_DOUBLE_EQ(wv.BitRate(), audio * 8 / 2000);

    wv = test::Read<TWAVPackfile>(
        Riff(Format(1, 22050, 16) + Chunk("data", BlockHeader(100, 0x402, 0, 22050) + "xyz")));
    EXPECT_EQ(wv.Channels(), 2);
    EXPECT_DOUBLE_EQ(wv.Duration(), 1.0);
}

TEST(WavPackFile, WalksPastOtherChunks) {
    // A "data" chunk before "fmt " is passed over, as are unknown chunks and the bytes of a
    // "fmt " chunk beyond its first 16.
    TWAVPackfile wv = test::Read<TWAVPackfile>(
        Riff(Chunk("data", BlockHeader(1, 1, 1, 1)) + Chunk("LIST", "INFOabcd") +
             Format(2, 8000, 8, LE16(0)) + Chunk("data", std::string(8000, '\x01'))));
    EXPECT_TRUE(wv.Valid());
    EXPECT_EQ(wv.Version(), 0);
    EXPECT_EQ(wv.Channels(), 2);
    EXPECT_DOUBLE_EQ(wv.Duration(), 0.5);
    EXPECT_DOUBLE_EQ(wv.BitRate(), 16000 / 125.0);
    // The "data" chunk announces two seconds; the cut file holds one.
    const std::string header = Riff(Format(1, 8000, 16));
    wv = test::Read<TWAVPackfile>(header + "data" + LE32(32000) + std::string(16000, '\0'));
    EXPECT_DOUBLE_EQ(wv.Duration(), 1.0);
    // No "data" chunk: the format alone makes the file valid.
    EXPECT_EQ(test::Read<TWAVPackfile>(header).Duration(), 0);
}

TEST(WavPackFile, FilesWithoutARiffWaveHeaderOrFormatAreNotValid) {
    const std::string data = Chunk("data", BlockHeader(100, 0x403, 0, 44100));
    // Today's WavPack: a bare "wvpk" block; RIFF of another kind; a "fmt " chunk too short for
    // its fields; a size of 0 that stops the walk; a size that runs far past the end.
    const std::string cases[] = {BlockHeader(100, 0x410, 0, 44100) + std::string(200, '\0'),
                                 "RIFF" + LE32(100) + "AVI " + Format(2, 44100, 16) + data,
                                 Riff(Chunk("fmt ", std::string(12, '\x01')) + data),
                                 Riff("junk" + LE32(0) + Format(2, 44100, 16) + data),
                                 Riff("junk" + LE32(0xFFFFFFF0) + Format(2, 44100, 16) + data)};
    TWAVPackfile wv;
    for (const std::string& bytes : cases) EXPECT_FALSE(test::ReadBytes(wv, bytes));

    // Nothing of an earlier, valid file is left.
    ASSERT_TRUE(test::ReadBytes(wv, Riff(Format(2, 44100, 16) + data) + test::ID3v1Block({"v1"})));
    ASSERT_FALSE(test::ReadBytes(wv, std::string(200, 'z')));
    EXPECT_EQ(wv.Channels(), 0);
    EXPECT_EQ(wv.Duration(), 0);
    EXPECT_FALSE(wv.ID3v1().Exists());
}

}  // namespace
}  // namespace rv
