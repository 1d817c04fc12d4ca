// Every MPEG file of the test data, read by our reader, against the values independent tools
// read from it.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "readers/mpeg_audio.h"
#include "readers/tag_text.h"
#include "readers/tests/audio_manifest.h"

namespace rv {
namespace {

class MPEGManifest : public ::testing::Test {
protected:
    test::AudioManifest manifest_{"mpeg"};
};

std::string Describe(const test::AudioManifest& m, const std::string& file,
                     const std::string& key) {
    std::string text = file + " " + key + ":";
    for (const auto& v : m.Values(file, key)) text += " " + v.value + " (" + v.tool + ")";
    return text;
}

TEST_F(MPEGManifest, StreamPropertiesAgreeWithTheTools) {
    ASSERT_GE(manifest_.Files().size(), 7u);
    for (const std::string& file : manifest_.Files()) {
        SCOPED_TRACE(file);
        TMPEGaudio mpeg;
        ASSERT_TRUE(mpeg.ReadFromFile(manifest_.Path(file)));
        EXPECT_TRUE(mpeg.Valid());
        EXPECT_EQ(mpeg.Version(), "MPEG " + *manifest_.Get(file, "version", "mutagen"));
        const std::string layers[] = {"", "Layer I", "Layer II", "Layer III"};
        EXPECT_EQ(mpeg.Layer(), layers[std::stoi(*manifest_.Get(file, "layer", "mutagen"))]);
        EXPECT_EQ(std::to_string(mpeg.SampleRate()), *manifest_.Get(file, "sample_rate"));
        EXPECT_EQ(mpeg.ChannelMode(), *manifest_.Get(file, "channel_mode"));

        const bool vbr = manifest_.Get(file, "bitrate_mode", "mediainfo") == "VBR";
        const int kbps = std::stoi(*manifest_.Get(file, "bitrate_kbps", "mediainfo"));
        const double frameSeconds = MPEGCoefficient(mpeg.Frame()) * 8.0 / mpeg.SampleRate();
        const double duration = std::stod(*manifest_.Get(file, "duration", "mutagen"));
        if (vbr) {
            // Our average spreads the Xing header's byte count over every frame; the tools
            // leave out the header frame and the encoder's delay and padding, about three
            // frames, which in a short file is a sizeable share; plus rounding.
            EXPECT_NEAR(mpeg.BitRate(), kbps, kbps * 3 * frameSeconds / duration + 1)
                << Describe(manifest_, file, "bitrate_kbps");
        } else {
            EXPECT_EQ(mpeg.BitRate(), kbps) << Describe(manifest_, file, "bitrate_kbps");
        }

        // The tools drop the encoder's delay and padding samples (up to two frames) and do not
        // count LAME's information frame; and our size-based duration of a constant-rate file
        // includes an APE tag's bytes, as it does not subtract that tag.
        double tolerance = 3 * frameSeconds;
        if (!mpeg.VBR().Found && mpeg.APEtag().Exists())
            tolerance += mpeg.APEtag().Size() * 8.0 / (mpeg.BitRate() * 1000.0);
        EXPECT_NEAR(mpeg.Duration(), duration, tolerance) << Describe(manifest_, file, "duration");
    }
}

TEST_F(MPEGManifest, TagsAgreeWithMutagen) {
    for (const std::string& file : manifest_.Files()) {
        SCOPED_TRACE(file);
        TMPEGaudio mpeg;
        ASSERT_TRUE(mpeg.ReadFromFile(manifest_.Path(file)));
        auto expect = [&](const std::string& key, const std::string& ours) {
            EXPECT_EQ(ours, manifest_.Get(file, key).value_or("")) << key;
        };

        const TID3v1& v1 = mpeg.ID3v1();
        expect("id3v1.exists", v1.Exists() ? "1" : "");
        if (v1.Exists()) {
            expect("id3v1.title", v1.Title());
            expect("id3v1.artist", v1.Artist());
            expect("id3v1.album", v1.Album());
            expect("id3v1.year", v1.Year());
            expect("id3v1.comment", v1.Comment());
            expect("id3v1.track", v1.Track() ? std::to_string(v1.Track()) : "");
            expect("id3v1.genre_id", std::to_string(v1.GenreID()));
        }

        const TID3v2& v2 = mpeg.ID3v2();
        EXPECT_EQ(v2.Exists(), manifest_.Get(file, "id3v2.version").has_value());
        if (v2.Exists()) {
            expect("id3v2.version", std::to_string(v2.VersionID()));
            expect("id3v2.size", std::to_string(v2.Size()));
            expect("id3v2.title", v2.Title());
            expect("id3v2.artist", v2.Artist());
            expect("id3v2.album", v2.Album());
            expect("id3v2.track", v2.TrackString());
            EXPECT_EQ(v2.Track(), ParseTrackNumber(v2.TrackString(), 0xFFFF));
            const auto year = manifest_.Get(file, "id3v2.year");
            EXPECT_EQ(v2.Year(),
                      year ? *year
                           : manifest_.Get(file, "id3v2.recording_time").value_or("").substr(0, 4));
            expect("id3v2.genre_name", v2.Genre());
            expect("id3v2.comment", v2.Comment());
            expect("id3v2.composer", v2.Composer());
            expect("id3v2.encoder", v2.Encoder());
            expect("id3v2.copyright", v2.Copyright());
            expect("id3v2.link", v2.Link());
        }

        const TAPEtag& ape = mpeg.APEtag();
        expect("ape.exists", ape.Exists() ? "1" : "");
        if (ape.Exists()) {
            EXPECT_EQ(ape.Version(), 2000u);
            expect("ape.title", ape.Title());
            expect("ape.artist", ape.Artist());
            expect("ape.album", ape.Album());
            expect("ape.year", ape.Year());
            expect("ape.genre", ape.Genre());
            expect("ape.comment", ape.Comment());
            expect("ape.copyright", ape.Copyright());
            EXPECT_EQ(ape.Track(),
                      ParseTrackNumber(manifest_.Get(file, "ape.track").value_or(""), 255));
        }
    }
}

}  // namespace
}  // namespace rv
