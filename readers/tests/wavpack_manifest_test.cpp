// Every .wv file of the test data, read by our reader, against the values independent tools
// read from it.

#include <gtest/gtest.h>

#include <string>

#include "readers/tests/audio_manifest.h"
#include "readers/wavpack_file.h"

namespace rv {
namespace {

TEST(WavPackManifest, PlainWaveIsReadAndBareWavPackIsNot) {
    const test::AudioManifest manifest("wavpack");
    ASSERT_GE(manifest.Files().size(), 4u);
    for (const std::string& file : manifest.Files()) {
        SCOPED_TRACE(file);
        TWAVPackfile wv;
        const bool valid = wv.ReadFromFile(manifest.Path(file));
        // Tags are read whatever the stream.
        EXPECT_EQ(wv.ID3v1().Title(), manifest.Get(file, "id3v1.title").value_or(""));
        EXPECT_EQ(wv.ID3v2().Artist(), manifest.Get(file, "id3v2.artist").value_or(""));
        EXPECT_EQ(wv.APEtag().Exists(), manifest.Get(file, "ape.exists").has_value());
        EXPECT_EQ(wv.APEtag().Artist(), manifest.Get(file, "ape.artist").value_or(""));
        if (manifest.Get(file, "codec") == "wavpack") {
            // Streams of today's encoder carry no RIFF wrapper.
            EXPECT_FALSE(valid);
            continue;
        }
        ASSERT_TRUE(valid);
        EXPECT_EQ(wv.Version(), 0);
        EXPECT_EQ(std::to_string(wv.FileLength()), manifest.Get(file, "file_size"));
        EXPECT_EQ(std::to_string(wv.SampleRate()), manifest.Get(file, "sample_rate"));
        EXPECT_EQ(std::to_string(wv.Channels()), manifest.Get(file, "channels"));
        EXPECT_EQ(std::to_string(wv.Bits()), manifest.Get(file, "bits"));
        EXPECT_NEAR(wv.Duration(), std::stod(*manifest.Get(file, "duration")), 1e-4);
        EXPECT_NEAR(wv.BitRate(), std::stod(*manifest.Get(file, "bitrate_kbps")), 1e-3);
    }
}

}  // namespace
}  // namespace rv
