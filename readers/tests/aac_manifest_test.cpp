// Every AAC file of the test data, read by our reader, against the values independent tools
// read from it.

#include <gtest/gtest.h>

#include <string>

#include "readers/aac_file.h"
#include "readers/tests/audio_manifest.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(AACManifest, PropertiesAgreeWithTheTools) {
    const test::AudioManifest manifest("aac");
    ASSERT_GE(manifest.Files().size(), 5u);
    for (const std::string& file : manifest.Files()) {
        SCOPED_TRACE(file);
        TAACfile aac;
        ASSERT_TRUE(aac.ReadFromFile(manifest.Path(file)));
        EXPECT_TRUE(aac.Valid());
        EXPECT_EQ(aac.HeaderType(), manifest.Get(file, "header_type", "faad"));
        // ADIF names no version; it is taken as MPEG-4.
        EXPECT_EQ(aac.MPEGVersion(),
                  "MPEG-" + manifest.Get(file, "mpeg_version", "mediainfo").value_or("4"));
        EXPECT_EQ(aac.Profile(), "AAC " + manifest.Get(file, "profile").value_or("?"));
        EXPECT_EQ(std::to_string(aac.SampleRate()), manifest.Get(file, "sample_rate"));
        EXPECT_EQ(std::to_string(aac.Channels()), manifest.Get(file, "channels"));
        EXPECT_EQ(aac.BitRateType(), manifest.Get(file, "bitrate_mode", "mediainfo"));
        EXPECT_EQ(std::to_string(aac.FileLength()), manifest.Get(file, "file_size"));
        EXPECT_EQ(aac.ID3v1().Title(), manifest.Get(file, "id3v1.title").value_or(""));
        EXPECT_EQ(aac.ID3v2().Title(), manifest.Get(file, "id3v2.title").value_or(""));
        EXPECT_EQ(aac.APEtag().Exists(), manifest.Get(file, "ape.exists").has_value());

        // For ADTS, faad counts the frames. Our duration spreads every byte after the ID3v2
        // tag at the average rate, so tags behind the frames stretch it by their share, and a
        // walk that stops at such a tag counts that step as one frame more. For ADIF, mediainfo
        // takes the file at the header's rate, as we do. Both print milliseconds.
        const double duration = std::stod(manifest.Get(file, "duration").value_or("0"));
        std::uint64_t trailing = aac.ID3v1().Exists() ? 128 : 0;
        if (aac.APEtag().Exists()) {
            trailing += aac.APEtag().Size();
            // The tag's size leaves out its optional header.
            const std::string bytes = test::ReadFileBytes(manifest.Path(file));
            if (bytes.compare(bytes.size() - trailing - 32, 8, "APETAGEX") == 0) trailing += 32;
        }
        double expected = duration;
        if (trailing > 0) {
            const double bytes = static_cast<double>(aac.FileLength() - aac.ID3v2().Size());
            const double frames = duration * aac.SampleRate() / 1024;
            expected *= bytes / (bytes - trailing) * (frames + 1) / frames;
        }
        EXPECT_NEAR(aac.Duration(), expected, 0.001);
        // faad's rate is the whole file's size over its duration, in whole kbit/s.
        EXPECT_NEAR(aac.BitRate() / 1000.0,
                    std::stod(manifest.Get(file, "bitrate_kbps", "faad").value_or("0")), 1.5);
    }
}

}  // namespace
}  // namespace rv
