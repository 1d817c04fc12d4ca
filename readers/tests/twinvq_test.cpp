#include "readers/twinvq.h"

#include <gtest/gtest.h>

#include "readers/tests/read_bytes.h"
#include "readers/tests/stream_bytes.h"

using namespace std::string_literals;

namespace rv {
namespace {

using test::ReadBytes;
using test::TwinVQFields;
using test::TwinVQFile;

// Common modes are checked against independent tools in the test data; here, the rest.
TEST(TwinVQ, HeaderValues) {
    TTwinVQ vqf;
    const std::string bytes = TwinVQFile({.channelMode = 0, .bitRate = 20, .sampleRate = 22});
    ASSERT_TRUE(ReadBytes(vqf, bytes));
    EXPECT_EQ(vqf.ChannelMode(), "Mono");
    EXPECT_EQ(vqf.FileLength(), bytes.size());
    // The bytes after "DATA", whose offset the header size gives.
    EXPECT_DOUBLE_EQ(vqf.Duration(), 12000 / 125.0 / 20);

    // Sample rates other than 11, 22 and 44 are whole kilohertz.
    ASSERT_TRUE(ReadBytes(vqf, TwinVQFile({.sampleRate = 16})));
    EXPECT_EQ(vqf.SampleRate(), 16000u);
    // Only the low 16 bits of each header number count.
    ASSERT_TRUE(ReadBytes(vqf, TwinVQFile({.channelMode = 0x10001, .bitRate = 0x70030})));
    EXPECT_EQ(vqf.ChannelMode(), "Stereo");
    EXPECT_EQ(vqf.BitRate(), 48);
}

TEST(TwinVQ, TextChunksUpToTheDataOrAControlCharacter) {
    TTwinVQ vqf;
    TwinVQFields fields{.chunks = {{"NAME", "  Blue Train \t"},
                                   {"AUTH", "John Coltrane"},
                                   {"ALBM", "Blue Note"},
                                   {"(c) ", "1957"},
                                   {"COMT", "Caf\xE9"},
                                   {"FILE", "train.wav"},
                                   {"DSIZ", "\0\0\x01\x00"s},
                                   {"NAME", std::string(300, 'n') + "tail"}}};
    ASSERT_TRUE(ReadBytes(vqf, TwinVQFile(fields)));
    EXPECT_EQ(vqf.Title(), std::string(250, 'n'));  // the last chunk of an id wins, cut
    EXPECT_EQ(vqf.Author(), "John Coltrane");
    EXPECT_EQ(vqf.Album(), "Blue Note");
    EXPECT_EQ(vqf.Copyright(), "1957");
    EXPECT_EQ(vqf.Comment(), "Café");
    EXPECT_EQ(vqf.OriginalFile(), "train.wav");

    // A chunk id with a control character ends the walk; so does "DATA".
    fields.chunks = {{"NAME", "First"}, {"AU\x01H", "x"}, {"AUTH", "Never"}};
    ASSERT_TRUE(ReadBytes(vqf, TwinVQFile(fields)));
    EXPECT_EQ(vqf.Title(), "First");
    EXPECT_EQ(vqf.Author(), "");
    std::string bytes = TwinVQFile({.chunks = {{"NAME", "Song"}}, .dataSize = 0});
    ASSERT_TRUE(ReadBytes(vqf, bytes + test::TwinVQChunk("AUTH", "After data")));
    EXPECT_EQ(vqf.Title(), "Song");
    EXPECT_EQ(vqf.Author(), "");

    // A chunk cut by the end of the file keeps what is there.
    bytes = TwinVQFile({.dataSize = 0});
    bytes.resize(bytes.size() - 4);
    ASSERT_TRUE(ReadBytes(vqf, bytes + "ALBM" + test::BE32(1000000) + "Short"));
    EXPECT_EQ(vqf.Album(), "Short");
}

TEST(TwinVQ, CorruptedOutsideTheEncodersRanges) {
    TTwinVQ vqf;
    auto corrupted = [&](const TwinVQFields& fields) {
        EXPECT_TRUE(ReadBytes(vqf, TwinVQFile(fields)));
        return vqf.Corrupted();
    };
    EXPECT_FALSE(corrupted({.bitRate = 8}));
    EXPECT_FALSE(corrupted({.bitRate = 192}));
    EXPECT_TRUE(corrupted({.bitRate = 7}));
    EXPECT_TRUE(corrupted({.bitRate = 193}));
    // 264 kbit/s would read as 8 if cut to a byte.
    EXPECT_TRUE(corrupted({.bitRate = 264}));
    EXPECT_EQ(vqf.BitRate(), 264);
    EXPECT_TRUE(corrupted({.bitRate = 0}));
    EXPECT_EQ(vqf.Duration(), 0);

    EXPECT_FALSE(corrupted({.sampleRate = 8}));
    EXPECT_FALSE(corrupted({.sampleRate = 44}));
    EXPECT_TRUE(corrupted({.sampleRate = 7}));
    EXPECT_TRUE(corrupted({.sampleRate = 45}));
    // 105 kHz would read as 39464 Hz if cut to 16 bits.
    EXPECT_TRUE(corrupted({.sampleRate = 105}));
    EXPECT_EQ(vqf.SampleRate(), 105000u);
    EXPECT_TRUE(corrupted({.channelMode = 2}));
    EXPECT_EQ(vqf.ChannelMode(), "Unknown");

    // Duration 0.1 s and 10000 s at 8 kbit/s: 100 and 10,000,000 bytes of data.
    EXPECT_FALSE(corrupted({.bitRate = 8, .dataSize = 100}));
    EXPECT_DOUBLE_EQ(vqf.Duration(), 0.1);
    EXPECT_TRUE(corrupted({.bitRate = 8, .dataSize = 99}));
    EXPECT_FALSE(corrupted({.bitRate = 8, .dataSize = 10000000}));
    EXPECT_TRUE(corrupted({.bitRate = 8, .dataSize = 10000001}));
}

TEST(TwinVQ, OtherFilesAndShortOnes) {
    TTwinVQ vqf;
    std::string bytes = TwinVQFile({.chunks = {{"NAME", "x"}}});
    bytes[0] = 'X';
    ASSERT_TRUE(ReadBytes(vqf, bytes));
    EXPECT_FALSE(vqf.Valid());
    EXPECT_FALSE(vqf.Corrupted());
    EXPECT_EQ(vqf.Title(), "");
    EXPECT_FALSE(ReadBytes(vqf, TwinVQFile({}).substr(0, 39)));
    EXPECT_FALSE(vqf.Valid());
    // A header size beyond the file: the distance is taken either way.
    bytes = TwinVQFile({.bitRate = 8, .dataSize = 0});
    bytes.replace(12, 4, test::BE32(0xFFFF));
    ASSERT_TRUE(ReadBytes(vqf, bytes));
    EXPECT_DOUBLE_EQ(vqf.Duration(), (0xFFFF + 20 - bytes.size()) / 125.0 / 8);
}

}  // namespace
}  // namespace rv
