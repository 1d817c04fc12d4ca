// The play list on the committed test files: which files it reads and what it reads of them; the
// texts of its rows and totals.

#include "player/play_list.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {
namespace {

const std::string kMp3 = TestDataPath("audio/mpeg/cbr128_id3v23_id3v11.mp3");
const std::string kWma = TestDataPath("audio/wma/wmav2_stereo_tags.wma");
// ID3v1 and ID3v2 tags with a title and an artist, neither with a year.
const std::string kNoYear = TestDataPath("audio/mpeg/lame_cbr96_latin_title.mp3");

TEST(PlayList, OnlyMpegAudioAndWindowsMediaFilesAreRead) {
    TempDir dir;
    TPlayerReaders readers;
    const auto copy = [&](const std::string& from, const std::string& name) {
        WriteFileBytes(dir / name, ReadFileBytes(from));
        return dir / name;
    };
    const struct {
        std::string file;
        bool read;
    } cases[] = {
        {copy(kMp3, "LOUD.MP3"), true},     {copy(kMp3, "layer.mp2"), true},
        {copy(kWma, "Nocturne.WmA"), true}, {copy(kMp3, "kept.mp3.bak"), false},
        {copy(kWma, "wma"), false},         {copy(kMp3, "tone.ogg"), false},
        {copy(kMp3, "renamed.wma"), false}, {dir / "missing.mp3", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadAudioTrack(c.file, readers).has_value(), c.read) << c.file;

    const std::optional<TAudioTrack> mp3 = ReadAudioTrack(kMp3, readers);
    ASSERT_TRUE(mp3);
    EXPECT_EQ(mp3->FileName, kMp3);
    EXPECT_EQ(mp3->FileSize, 34944u);
    EXPECT_EQ(mp3->Title, "Café Blues");
    EXPECT_EQ(mp3->Release, 1957);
    const std::optional<TAudioTrack> wma = ReadAudioTrack(kWma, readers);
    ASSERT_TRUE(wma);
    EXPECT_EQ(wma->FileSize, 20220u);
    EXPECT_EQ(wma->Artist, "Léa Dvořák");
    EXPECT_EQ(wma->ID, 4);
    // A blank year is no year.
    const std::optional<TAudioTrack> noYear = ReadAudioTrack(kNoYear, readers);
    ASSERT_TRUE(noYear);
    EXPECT_EQ(noYear->Release, 0);
    EXPECT_EQ(noYear->Artist, "Quatuor Müller");
    EXPECT_EQ(noYear->Album, "");  // no album: nothing made up in its place
}

TEST(PlayList, AnUntaggedFileKeepsItsRecordZeroedButForTheStreamAndTheTitle) {
    TPlayerReaders readers;
    for (const auto& [file, title, format] :
         {std::tuple{"audio/mpeg/mpeg25_mono_vbr.mp3", "mpeg25_mono_vbr", "MPEG 2.5 Layer III"},
          std::tuple{"audio/wma/wmav1_mono.wma", "wmav1_mono", "Windows Media Audio"}}) {
        const std::optional<TAudioTrack> track = ReadAudioTrack(TestDataPath(file), readers);
        ASSERT_TRUE(track) << file;
        EXPECT_EQ(track->Title, title);
        EXPECT_EQ(track->Artist, "") << file;
        EXPECT_EQ(track->Album, "") << file;
        EXPECT_EQ(track->Genre, "") << file;
        EXPECT_EQ(track->ID, 0) << file;
        EXPECT_EQ(track->Release, 0) << file;
        EXPECT_EQ(track->MediaType, 0) << file;
        EXPECT_EQ(track->Format, format);
        EXPECT_GT(track->Duration, 1.9) << file;
    }
}

TEST(PlayList, TimesAreRoundedToWholeSecondsHalvesToEven) {
    const struct {
        int files;
        std::uint64_t bytes;
        double seconds;
        const char* totals;
    } totals[] = {
        {0, 0, 0, "0 files (0 MB): 0h 00m 00s"},
        {12, 3 * 1048576 - 1, 3600 + 59.5, "12 files (2 MB): 1h 01m 00s"},
        {1, 1048576, 45296.4, "1 files (1 MB): 12h 34m 56s"},
        {2, 0, 0.5, "2 files (0 MB): 0h 00m 00s"},
    };
    for (const auto& t : totals)
        EXPECT_EQ(PlayListTotalsText(t.files, t.bytes, t.seconds), t.totals);
    EXPECT_EQ(MinutesSecondsText(2.5), "00:02");
    EXPECT_EQ(MinutesSecondsText(3.5), "00:04");
    EXPECT_EQ(MinutesSecondsText(6015), "100:15");
}

}  // namespace
}  // namespace rv::test
