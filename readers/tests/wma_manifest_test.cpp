// Every WMA file of the test data, read by our reader, against the values independent tools
// read from it.

#include <gtest/gtest.h>

#include <string>

#include "readers/tests/audio_manifest.h"
#include "readers/wma_file.h"

namespace rv {
namespace {

TEST(WMAManifest, PropertiesAndTextsAgreeWithTheTools) {
    const test::AudioManifest manifest("wma");
    ASSERT_GE(manifest.Files().size(), 2u);
    for (const std::string& file : manifest.Files()) {
        SCOPED_TRACE(file);
        TWMAfile wma;
        ASSERT_TRUE(wma.ReadFromFile(manifest.Path(file)));
        EXPECT_TRUE(wma.Valid());
        EXPECT_EQ(std::to_string(wma.FileLength()), manifest.Get(file, "file_size"));
        EXPECT_EQ(std::to_string(wma.SampleRate()), manifest.Get(file, "sample_rate", "mutagen"));
        EXPECT_EQ(std::to_string(wma.ChannelModeID()), manifest.Get(file, "channels", "mutagen"));
        EXPECT_EQ(wma.BitRate(), std::stoul(*manifest.Get(file, "bitrate", "mutagen")) / 1000);

        // The duration is an estimate: the whole file at the maximum bit rate, which for these
        // constant-rate streams is their rate. The header, the padding of the last 3200-byte
        // data packet and the index make it up to 0.5 s longer than the audio.
        const double size = std::stod(*manifest.Get(file, "file_size"));
        EXPECT_DOUBLE_EQ(wma.Duration(), size * 8 / std::stod(*manifest.Get(file, "bitrate")));
        const double duration = std::stod(*manifest.Get(file, "duration", "ffprobe"));
        EXPECT_GE(wma.Duration(), duration);
        EXPECT_LE(wma.Duration(), duration + 0.5);

        auto expect = [&](const std::string& key, const std::string& ours) {
            EXPECT_EQ(ours, manifest.Get(file, key).value_or("")) << key;
        };
        expect("title", wma.Title());
        expect("artist", wma.Artist());
        expect("album", wma.Album());
        expect("year", wma.Year());
        expect("genre", wma.Genre());
        // ffmpeg stores the comment as "Description", a name this reader does not take.
        EXPECT_EQ(wma.Comment(), "");
        expect("track", wma.Track() ? std::to_string(wma.Track()) : "");
    }
}

}  // namespace
}  // namespace rv
