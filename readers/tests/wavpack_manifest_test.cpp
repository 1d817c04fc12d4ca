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
        EXPECT_EQ(valid, wv.Valid());
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

TEST(WavPackManifest, TagsAgreeWithMutagen) {
    const test::AudioManifest manifest("wavpack");
    for (const std::string& file : manifest.Files()) {
        SCOPED_TRACE(file);
        TWAVPackfile wv;
        wv.ReadFromFile(manifest.Path(file));
        auto expect = [&](const std::string& key, const std::string& ours) {
            EXPECT_EQ(ours, manifest.Get(file, key).value_or("")) << key;
        };
        expect("id3v1.exists", wv.ID3v1().Exists() ? "1" : "");
        expect("id3v1.title", wv.ID3v1().Title());
        expect("id3v1.album", wv.ID3v1().Album());
        expect("id3v2.size", wv.ID3v2().Exists() ? std::to_string(wv.ID3v2().Size()) : "");
        expect("id3v2.artist", wv.ID3v2().Artist());
        expect("id3v2.track", wv.ID3v2().TrackString());
        expect("ape.exists", wv.APEtag().Exists() ? "1" : "");
        expect("ape.title", wv.APEtag().Title());
        expect("ape.artist", wv.APEtag().Artist());
        expect("ape.album", wv.APEtag().Album());
        expect("ape.year", wv.APEtag().Year());
    }
}

}  // namespace
}  // namespace rv
