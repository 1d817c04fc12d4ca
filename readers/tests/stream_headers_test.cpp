// Musepack, TwinVQ, Monkey's Audio, OptimFROG and WavPack headers in the variants the test data
// lack; the usual ones are checked against independent tools in manifest_test.cpp.

#include <gtest/gtest.h>

#include <tuple>

#include "platform/text/round.h"
#include "readers/monkey.h"
#include "readers/musepack.h"
#include "readers/optimfrog.h"
#include "readers/tests/stream_header_bytes.h"
#include "readers/tests/test_bytes.h"
#include "readers/twinvq.h"
#include "readers/wavpack_file.h"

using namespace std::string_literals;

namespace rv {
namespace {

using namespace test;

const std::string kAudio(4000, '\x21');

TEST(Monkey, HeaderLayoutsSizesFlagsAndInvalidHeaders) {
    TMonkey ape;
    // A longer descriptor is skipped; a header longer than 24 bytes is read for 24.
    ASSERT_TRUE(ReadBytes(ape, MonkeyDescriptorHeader({.descriptorBytes = 60}) + kAudio));
    EXPECT_EQ(ape.Samples(), 73728u * 2 + 1000);
    ASSERT_TRUE(ReadBytes(ape, MonkeyDescriptorHeader({.headerBytes = 30}) + kAudio));
    EXPECT_EQ(ape.SampleRate(), 44100u);
    // A header of 20 bytes lacks the sample rate.
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({.headerBytes = 20}) + kAudio));
    // A descriptor shorter than its own fields would put the header inside itself.
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({.descriptorBytes = 40}) + kAudio));
    // Frame counts whose product overflows 32 bits.
    ASSERT_TRUE(ReadBytes(
        ape, MonkeyDescriptorHeader({.totalFrames = 0xFFFFFFFF, .blocksPerFrame = 0xFFFFFFFF})));
    EXPECT_EQ(ape.Samples(), 0xFFFFFFFFull * 0xFFFFFFFEull + 1000);
    for (const MonkeyFields& fields : {MonkeyFields{.version = 3950, .totalFrames = 0},
                                       MonkeyFields{.version = 3950, .channels = 0},
                                       MonkeyFields{.version = 3950, .sampleRate = 0}})
        EXPECT_FALSE(ReadBytes(ape, MonkeyOldHeader(fields) + kAudio));
    EXPECT_EQ(ape.Duration(), 0);
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({.bits = 0}) + kAudio));
    // A header cut short, and a file of another kind.
    EXPECT_FALSE(ReadBytes(ape, MonkeyOldHeader({.version = 3950}).substr(0, 35)));
    EXPECT_FALSE(ReadBytes(ape, MonkeyDescriptorHeader({}).substr(0, 57)));
    EXPECT_FALSE(ReadBytes(ape, "fLaC" + kAudio));
    EXPECT_FALSE(ape.ReadFromFile("/nonexistent/file.ape"));
    const std::uint32_t cases[][3] = {
        {3970, 1000, 294912}, {3950, 2000, 294912}, {3949, 2000, 73728}, {3900, 1000, 73728},
        {3899, 4000, 73728},  {3899, 3000, 9216},   {3800, 4000, 73728}, {3799, 4000, 9216}};
    for (const auto& [version, compression, blocks] : cases)
        EXPECT_EQ(MonkeyOldBlocksPerFrame(version, compression), blocks) << version;
    auto read = [&](std::uint16_t flags, std::uint32_t peak = 0) {
        EXPECT_TRUE(ReadBytes(
            ape, MonkeyOldHeader(
                     {.version = 3800, .compression = 4000, .flags = flags, .peakLevel = peak}) +
                     kAudio));
    };
    read(0);
    EXPECT_EQ(ape.Bits(), 16u);
    EXPECT_DOUBLE_EQ(ape.Duration(), (73728 * 2 + 1000) / 44100.0);
    read(0x09);  // the 24-bit flag wins over the 8-bit one
    EXPECT_EQ(ape.Bits(), 24u);
    read(0x04 | 0x10, 5000);
    EXPECT_EQ(ape.PeakLevel(), 0u);  // the word is something else without the flag
    read(0x20, 16384);
    EXPECT_EQ(ape.PeakLevel(), 16384u);
}

TEST(Musepack, StreamVersionsHeaderFieldsAndTheBitRateBetweenTheTags) {
    TMPEGplus mpc = Read<TMPEGplus>(MusepackSV7Header(1000, 2, true) + kAudio);
    EXPECT_EQ(std::tuple(mpc.SampleRate(), mpc.ChannelMode()), std::tuple(37800u, "Joint Stereo"));
    EXPECT_DOUBLE_EQ(mpc.Duration(), 1000 * 1152 / 37800.0);
    EXPECT_EQ(Read<TMPEGplus>(MusepackSV7Header(10, 3, false, 1) + kAudio).StreamVersion(), 71);
    for (unsigned version : {4u, 5u, 6u}) {
        SCOPED_TRACE(version);
        mpc = Read<TMPEGplus>(MusepackOldHeader(version, 300, 160, version != 5));
        EXPECT_EQ(std::tuple(unsigned{mpc.StreamVersion()}, mpc.Frames(), int{mpc.ChannelModeID()},
                             int{mpc.StoredBitRate()}),
                  std::tuple(version, 300u, version != 5 ? 2 : 1, version == 6 ? 0 : 160));
    }
    // Version bits giving 2, and a stream-version-8 file: read, but not valid, and tags are
    // read only for a known header.
    std::string header = MusepackOldHeader(5, 100, 128, false);
    header[1] = static_cast<char>(2 << 1);
    for (const std::string& bytes : {header, "MPCKSH"s + std::string(60, '\0')}) {
        mpc = Read<TMPEGplus>(bytes + APETag(2000, {{"Title", "x"}}));
        EXPECT_EQ(std::tuple(mpc.Valid(), int{mpc.StreamVersion()}, mpc.APEtag().Exists()),
                  std::tuple(false, 0, false));
    }
    // Fewer than 32 bytes after the ID3v2 tag.
    const std::string id3v2 = ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0Song"s));
    EXPECT_FALSE(ReadBytes(mpc, id3v2 + MusepackSV7Header(10, 0, false).substr(0, 31)));
    // The bit rate comes from the stream between the tags and is clamped.
    const std::string tagged = ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0Song"s), 50);
    const std::string sv7 = MusepackSV7Header(100, 1, false);
    const std::string audio(20000, '\x33');
    mpc = Read<TMPEGplus>(tagged + sv7 + audio + APETag(2000, {{"Artist", "Band"}}, true) +
                          ID3v1Block({.title = "One"}));
    EXPECT_EQ(mpc.APEtag().Artist(), "Band");
    // The APE tag's header is not part of the size its footer gives, so it counts as stream.
    const double streamBytes = sv7.size() + audio.size() + 32;
    EXPECT_EQ(mpc.BitRate(), Round(streamBytes * 8 * 48 / 100 / 1152));
    EXPECT_FALSE(mpc.Corrupted());

    for (unsigned rate : {2u, 3u, 480u, 481u}) {  // a stored rate wins over the stream's size
        mpc = Read<TMPEGplus>(MusepackOldHeader(5, 100, rate, false) + audio);
        EXPECT_EQ(std::tuple(unsigned{mpc.BitRate()}, mpc.Corrupted()),
                  std::tuple(rate, rate == 2 || rate == 481));
    }
    // No frames: no rate to work out.
    mpc = Read<TMPEGplus>(MusepackSV7Header(0, 0, false) + kAudio);
    EXPECT_EQ(std::tuple(int{mpc.BitRate()}, mpc.Corrupted()), std::tuple(0, true));
    // One frame in a large file: far beyond any rate, and kept so rather than wrapped round.
    mpc = Read<TMPEGplus>(MusepackSV7Header(1, 0, false) + std::string(300000, '\x33'));
    EXPECT_EQ(mpc.BitRate(), 0xFFFF);
    // An APE tag claiming more bytes than the file holds leaves no stream.
    std::string ape = APETag(2000, {{"Title", "x"}});
    ape.replace(ape.size() - 20, 4, LE32(0x7FFFFFFF));
    mpc = Read<TMPEGplus>(MusepackSV7Header(100, 0, false) + kAudio + ape);
    EXPECT_EQ(std::tuple(int{mpc.BitRate()}, mpc.Corrupted()), std::tuple(0, true));
}

TEST(OptimFrog, HeaderValuesAndWhichAreValid) {
    // 48 bits of length, counting the samples of all channels.
    const std::uint64_t length = (std::uint64_t{0x1234} << 32) | 0x56789ABC;
    TOptimFrog ofr = Read<TOptimFrog>(OptimFrogHeader({.length = length}) + kAudio);
    EXPECT_EQ(std::tuple(ofr.Bits(), ofr.Samples()), std::tuple(16, length / 2));
    EXPECT_DOUBLE_EQ(ofr.Duration(), length / 2 / 44100.0);
    // Sample types 8 to 10 hold floating-point samples.
    for (std::uint8_t type : {7, 8, 10})
        EXPECT_EQ(Read<TOptimFrog>(OptimFrogHeader({.sampleType = type})).Bits(),
                  type == 7 ? 32 : -32);
    const std::pair<OptimFrogFields, bool> cases[] = {
        {{.sampleType = 10}, true},       {{.sampleType = 11}, false},
        {{.channelMode = 2}, false},      {{.channelMode = 200}, false},
        {{.sampleRate = 0}, false},       {{.compression = 9 << 3 | 7}, true},
        {{.compression = 10 << 3}, false}};
    for (const auto& [fields, valid] : cases)
        EXPECT_EQ(Read<TOptimFrog>(OptimFrogHeader(fields)).Valid(), valid);
    // A header cut by the end of the file reads as zeros: no sample rate.
    EXPECT_FALSE(Read<TOptimFrog>(OptimFrogHeader({}).substr(0, 16)).Valid());
    EXPECT_FALSE(ReadBytes(ofr, "OFR"s));
    EXPECT_FALSE(ReadBytes(ofr, "MAC " + OptimFrogHeader({})));
}

TEST(TwinVQ, TextChunksUpToTheDataOrAControlCharacterAndHeaderNumbers) {
    // Which chunk gives which field is checked against the tools in manifest_test.cpp.
    TwinVQFields fields{.chunks = {{"NAME", "  Blue Train \t"},
                                   {"COMT", "Caf\xE9"},
                                   {"DSIZ", "\0\0\x01\x00"s},
                                   {"NAME", std::string(300, 'n') + "tail"}}};
    TTwinVQ vqf = Read<TTwinVQ>(TwinVQFile(fields));
    // The last chunk of an id wins, cut to 255 characters.
    EXPECT_EQ(std::tuple(vqf.Title(), vqf.Comment()), std::tuple(std::string(255, 'n'), "Café"));

    // A chunk id with a control character ends the walk; so does "DATA".
    fields.chunks = {{"NAME", "First"}, {"AU\x01H", "x"}, {"AUTH", "Never"}};
    vqf = Read<TTwinVQ>(TwinVQFile(fields));
    EXPECT_EQ(vqf.Title() + vqf.Author(), "First");
    const std::string song = TwinVQFile({.chunks = {{"NAME", "Song"}}, .dataSize = 0});
    vqf = Read<TTwinVQ>(song + TwinVQChunk("AUTH", "After data"));
    EXPECT_EQ(vqf.Title() + vqf.Author(), "Song");
    // A chunk cut by the end of the file keeps what is there.
    std::string cut = TwinVQFile({.dataSize = 0});
    cut.resize(cut.size() - 4);
    EXPECT_EQ(Read<TTwinVQ>(cut + "ALBM" + BE32(1000000) + "Short").Album(), "Short");
    // Not a TwinVQ file, and one too short for a header.
    std::string other = TwinVQFile({.chunks = {{"NAME", "x"}}});
    other[0] = 'X';
    vqf = Read<TTwinVQ>(other);
    EXPECT_EQ(std::tuple(vqf.Valid(), vqf.Title()), std::tuple(false, ""));
    EXPECT_FALSE(ReadBytes(vqf, TwinVQFile({}).substr(0, 39)));
    // Header numbers outside the encoder's ranges mark the file corrupted.
    // 264 kbit/s would read as 8 if cut to a byte; 105 kHz as 39464 Hz if cut to 16 bits.
    // 100 and 10,000,000 bytes at 8 kbit/s are 0.1 s and 10000 s, the plausible ends.
    // Bit rate, sample rate, data bytes, channel mode, and whether that is corrupted.
    const std::uint32_t cases[][5] = {
        {8, 44, 12000, 1, 0},   {192, 44, 12000, 1, 0}, {7, 44, 12000, 1, 1},
        {193, 44, 12000, 1, 1}, {264, 44, 12000, 1, 1}, {0, 44, 12000, 1, 1},
        {48, 44, 12000, 1, 0},  {48, 8, 12000, 1, 0},   {48, 7, 12000, 1, 1},
        {48, 45, 12000, 1, 1},  {48, 105, 12000, 1, 1}, {48, 44, 12000, 2, 1},
        {8, 44, 100, 1, 0},     {8, 44, 99, 1, 1},      {8, 44, 10000000, 1, 0},
        {8, 44, 10000001, 1, 1}};
    for (const auto& [bitRate, sampleRate, dataSize, channelMode, corrupted] : cases) {
        const TTwinVQ vqf = Read<TTwinVQ>(TwinVQFile({.channelMode = channelMode,
                                                      .bitRate = bitRate,
                                                      .sampleRate = sampleRate,
                                                      .dataSize = dataSize}));
        EXPECT_EQ(vqf.Corrupted(), corrupted == 1) << bitRate << " " << sampleRate;
        EXPECT_EQ(vqf.BitRate(), bitRate);
        if (sampleRate != 44) {
            EXPECT_EQ(vqf.SampleRate(), sampleRate * 1000);
        }
    }
    // The usual header values are checked against the tools in manifest_test.cpp.
    const TTwinVQ low = Read<TTwinVQ>(TwinVQFile({.channelMode = 0x10001, .bitRate = 0x70030}));
    EXPECT_EQ(std::tuple(low.ChannelMode(), int{low.BitRate()}), std::tuple("Stereo", 48));
    // A header size beyond the file: the distance is taken either way.
    std::string wrapped = TwinVQFile({.bitRate = 8, .dataSize = 0});
    wrapped.replace(12, 4, BE32(0xFFFF));
    EXPECT_DOUBLE_EQ(Read<TTwinVQ>(wrapped).Duration(), (0xFFFF + 20 - wrapped.size()) / 125.0 / 8);
}

TEST(WavPackFile, ReadsTheBlockHeaderInsideTheRiffWrapper) {
    const std::string id3v2 = ID3v2Tag(3, ID3v2Frame(3, "TIT2", "\0Song"s), 20);
    const std::string ape = APETag(2000, {{"Title", "Ape"}});
    const std::string data = WavPackBlockHeader(1000, 0x403, 1, 88200) + std::string(3000, '\x5A');
    const std::string bytes = id3v2 + RiffWave(WaveFormat(2, 44100, 16) + RiffChunk("data", data)) +
                              ape + ID3v1Block({"v1"});
    TWAVPackfile wv = Read<TWAVPackfile>(bytes);
    EXPECT_EQ(std::tuple(wv.Valid(), wv.ID3v2().Title(), wv.APEtag().Title()),
              std::tuple(true, "Song", "Ape"));
    // Flags bit 0 marks mono, whatever the "fmt " chunk says.
    EXPECT_EQ(std::tuple(int{wv.Version()}, wv.SampleRate(), int{wv.Channels()}),
              std::tuple(0x403, 44100u, 1));
    EXPECT_DOUBLE_EQ(wv.Duration(), 2.0);
    // Every byte but the tags' and one block's, over the duration.
    const double audio = bytes.size() - id3v2.size() - ape.size() - 128 - 1000.0;
    EXPECT_DOUBLE_EQ(wv.BitRate(), audio * 8 / 2000);

    wv = Read<TWAVPackfile>(
        RiffWave(WaveFormat(1, 22050, 16) +
                 RiffChunk("data", WavPackBlockHeader(100, 0x402, 0, 22050) + "xyz")));
    EXPECT_EQ(wv.Channels(), 2);
    EXPECT_DOUBLE_EQ(wv.Duration(), 1.0);
}

TEST(WavPackFile, WalksPastOtherChunksAndNeedsARiffWaveHeaderAndFormat) {
    // A "data" chunk before "fmt " is passed over, as are unknown chunks and the bytes of a
    // "fmt " chunk beyond its first 16.
    TWAVPackfile wv = Read<TWAVPackfile>(
        RiffWave(RiffChunk("data", WavPackBlockHeader(1, 1, 1, 1)) + RiffChunk("LIST", "INFOabcd") +
                 WaveFormat(2, 8000, 8, LE16(0)) + RiffChunk("data", std::string(8000, '\x01'))));
    EXPECT_EQ(std::tuple(wv.Valid(), int{wv.Version()}, int{wv.Channels()}),
              std::tuple(true, 0, 2));
    EXPECT_DOUBLE_EQ(wv.Duration(), 0.5);
    EXPECT_DOUBLE_EQ(wv.BitRate(), 16000 / 125.0);
    // The "data" chunk announces two seconds; the cut file holds one.
    const std::string header = RiffWave(WaveFormat(1, 8000, 16));
    wv = Read<TWAVPackfile>(header + "data" + LE32(32000) + std::string(16000, '\0'));
    EXPECT_DOUBLE_EQ(wv.Duration(), 1.0);
    // No "data" chunk: the format alone makes the file valid.
    EXPECT_EQ(Read<TWAVPackfile>(header).Duration(), 0);
    const std::string data = RiffChunk("data", WavPackBlockHeader(100, 0x403, 0, 44100));
    // Today's WavPack: a bare "wvpk" block; RIFF of another kind; a "fmt " chunk too short for
    // its fields; a size of 0 that stops the walk; a size that runs far past the end.
    const std::string cases[] = {
        WavPackBlockHeader(100, 0x410, 0, 44100) + std::string(200, '\0'),
        "RIFF" + LE32(100) + "AVI " + WaveFormat(2, 44100, 16) + data,
        RiffWave(RiffChunk("fmt ", std::string(12, '\x01')) + data),
        RiffWave("junk" + LE32(0) + WaveFormat(2, 44100, 16) + data),
        RiffWave("junk" + LE32(0xFFFFFFF0) + WaveFormat(2, 44100, 16) + data)};
    for (const std::string& bytes : cases) EXPECT_FALSE(ReadBytes(wv, bytes));

    // Nothing of an earlier, valid file is left.
    ASSERT_TRUE(ReadBytes(wv, RiffWave(WaveFormat(2, 44100, 16) + data) + ID3v1Block({"v1"})));
    ASSERT_FALSE(ReadBytes(wv, std::string(200, 'z')));
    EXPECT_EQ(std::tuple(int{wv.Channels()}, wv.Duration(), wv.ID3v1().Exists()),
              std::tuple(0, 0.0, false));
}

}  // namespace
}  // namespace rv
