// The byte-built Musepack, TwinVQ, Monkey's Audio and OptimFROG files of the test data, read by
// our readers, against the values independent tools read from them.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/text/format.h"
#include "readers/monkey.h"
#include "readers/musepack.h"
#include "readers/optimfrog.h"
#include "readers/tag_text.h"
#include "readers/tests/audio_manifest.h"
#include "readers/twinvq.h"

namespace rv {
namespace {

using test::AudioManifest;

// Every value any tool gave for the key equals `ours`.
void ExpectAll(const AudioManifest& m, const std::string& file, const std::string& key,
               const std::string& ours) {
    for (const auto& v : m.Values(file, key)) EXPECT_EQ(ours, v.value) << key << " " << v.tool;
}

// A tool's number, when that tool gave one, is within `tolerance` of ours.
void ExpectNear(const AudioManifest& m, const std::string& file, const std::string& key,
                const std::string& tool, double ours, double tolerance) {
    if (const auto value = m.Get(file, key, tool)) {
        EXPECT_NEAR(ours, std::stod(*value), tolerance) << key << " " << tool;
    }
}

// The stream reader found the tags around the stream (their fields are tested with the tag
// readers).
void ExpectTags(const AudioManifest& m, const std::string& file, const TID3v1& v1, const TID3v2& v2,
                const TAPEtag& ape) {
    EXPECT_EQ(v1.Title(), m.Get(file, "id3v1.title").value_or(""));
    EXPECT_EQ(std::to_string(v2.Size()), m.Get(file, "id3v2.size").value_or("0"));
    EXPECT_EQ(v2.Artist(), m.Get(file, "id3v2.artist").value_or(""));
    EXPECT_EQ(ape.Exists(), m.Get(file, "ape.exists").has_value());
    EXPECT_EQ(ape.Artist(), m.Get(file, "ape.artist").value_or(""));
    EXPECT_EQ(ape.Track(), ParseTrackNumber(m.Get(file, "ape.track").value_or(""), 255));
}

TEST(ByteBuiltManifest, Musepack) {
    const AudioManifest m("musepack");
    ASSERT_EQ(m.Files().size(), 6u);
    for (const std::string& file : m.Files()) {
        SCOPED_TRACE(file);
        TMPEGplus mpc;
        ASSERT_TRUE(mpc.ReadFromFile(m.Path(file)));
        EXPECT_TRUE(mpc.Valid());
        EXPECT_FALSE(mpc.Corrupted());
        ExpectAll(m, file, "version",
                  std::to_string(mpc.StreamVersion() == 71 ? 7 : mpc.StreamVersion()));
        ExpectAll(m, file, "sample_rate", std::to_string(mpc.SampleRate()));

        const double frame = 1152.0 / mpc.SampleRate();
        ExpectNear(m, file, "duration", "ffprobe", mpc.Duration(), 1e-5);
        ExpectNear(m, file, "duration", "mediainfo", mpc.Duration(), 0.0011);
        // mutagen leaves out the decoder's delay and the unused end of the last frame.
        ExpectNear(m, file, "duration", "mutagen", mpc.Duration(), 2 * frame);

        if (mpc.StoredBitRate() != 0) {
            ExpectAll(m, file, "bitrate_kbps", std::to_string(mpc.BitRate()));
        } else {
            // The tools spread the whole file over the duration, tags included.
            std::uint64_t tags = mpc.ID3v2().Size() + mpc.APEtag().Size();
            if (mpc.ID3v1().Exists()) tags += 128;
            const double tagKbps = tags * 8 / mpc.Duration() / 1000;
            if (const auto bps = m.Get(file, "file_bitrate_bps", "ffprobe")) {
                EXPECT_NEAR(mpc.BitRate(), std::stod(*bps) / 1000, tagKbps + 1);
            }
        }
        ExpectTags(m, file, mpc.ID3v1(), mpc.ID3v2(), mpc.APEtag());
    }
}

TEST(ByteBuiltManifest, TwinVQ) {
    const AudioManifest m("twinvq");
    ASSERT_EQ(m.Files().size(), 4u);
    for (const std::string& file : m.Files()) {
        SCOPED_TRACE(file);
        TTwinVQ vqf;
        ASSERT_TRUE(vqf.ReadFromFile(m.Path(file)));
        EXPECT_TRUE(vqf.Valid());
        EXPECT_FALSE(vqf.Corrupted());
        ExpectAll(m, file, "sample_rate", std::to_string(vqf.SampleRate()));
        ExpectAll(m, file, "channels", std::to_string(vqf.ChannelModeID()));
        ExpectAll(m, file, "bitrate_kbps", std::to_string(vqf.BitRate()));

        // ffprobe counts whole frames of 1024 samples; mediainfo spreads the whole file, header
        // included, over the bit rate.
        ExpectNear(m, file, "duration", "ffprobe", vqf.Duration(), 1024.0 / vqf.SampleRate());
        const double headerSeconds = vqf.FileLength() * 8.0 / vqf.BitRate() / 1000 - vqf.Duration();
        ExpectNear(m, file, "duration", "mediainfo", vqf.Duration() + headerSeconds, 0.0011);

        auto text = [&](const std::string& key, const std::string& ours) {
            for (const auto& v : m.Values(file, "tag." + key))
                EXPECT_EQ(ours, CleanTagText(v.value)) << key << " " << v.tool;
        };
        text("title", vqf.Title());
        text("author", vqf.Author());
        text("performer", vqf.Author());
        text("albm", vqf.Album());
        text("copyright", vqf.Copyright());
        text("comment", vqf.Comment());
        text("filename", vqf.OriginalFile());
    }
}

TEST(ByteBuiltManifest, Monkey) {
    const AudioManifest m("monkey");
    ASSERT_EQ(m.Files().size(), 7u);
    for (const std::string& file : m.Files()) {
        SCOPED_TRACE(file);
        TMonkey ape;
        ASSERT_TRUE(ape.ReadFromFile(m.Path(file)));
        for (const auto& v : m.Values(file, "version"))
            EXPECT_EQ(
                v.tool == "mediainfo" ? Format("%.3f", ape.Version() / 1000.0) : ape.VersionStr(),
                v.value);
        ExpectAll(m, file, "sample_rate", std::to_string(ape.SampleRate()));
        ExpectAll(m, file, "channels", std::to_string(ape.Channels()));
        ExpectAll(m, file, "bits", std::to_string(ape.Bits()));
        // mutagen takes 9216 blocks a frame for every version before 3900, where the two
        // others (and we) take 73728 for version 3800 and up at extra high compression; so
        // its durations are left aside.
        ExpectNear(m, file, "duration", "ffprobe", ape.Duration(), 1e-5);
        ExpectNear(m, file, "duration", "mediainfo", ape.Duration(), 0.0011);
        ExpectTags(m, file, ape.ID3v1(), ape.ID3v2(), ape.APEtag());
    }
}

TEST(ByteBuiltManifest, OptimFrog) {
    const AudioManifest m("optimfrog");
    ASSERT_EQ(m.Files().size(), 4u);
    for (const std::string& file : m.Files()) {
        SCOPED_TRACE(file);
        TOptimFrog ofr;
        ASSERT_TRUE(ofr.ReadFromFile(m.Path(file)));
        EXPECT_TRUE(ofr.Valid());
        ExpectAll(m, file, "sample_rate", std::to_string(ofr.Header().SampleRate));
        ExpectAll(m, file, "channels", ofr.ChannelMode() == "Stereo" ? "2" : "1");
        ExpectAll(m, file, "bits", std::to_string(std::abs(ofr.Bits())));
        ExpectNear(m, file, "duration", "mutagen", ofr.Duration(), 1e-6);
        ExpectTags(m, file, ofr.ID3v1(), ofr.ID3v2(), ofr.APEtag());
    }
}

}  // namespace
}  // namespace rv
