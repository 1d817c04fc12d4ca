#include "import/file_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "import/tests/test_media.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

namespace fs = std::filesystem;

TEST(FileImport, FilesWhatItCanReadAndReportsTheCountsAfterEveryFile) {
    RV_REQUIRE_MEDIA("mpeg");
    test::TempDir dir;
    const std::string plain = test::MediaPath("mpeg/plain.mp3");
    fs::create_directory(dir / "live.v2");
    for (const char* name : {"Song.MP3", "song.mp3.bak", "live.v2/untitled"})
        fs::copy_file(plain, dir / name);
    test::WriteFileBytes(dir / "noise.mp3", std::string(5000, '\x5A'));

    TMediaLib library;
    FileImport importer;
    std::vector<std::string> status;
    importer.OnStatus = [&](const std::string& text) { status.push_back(text); };
    const auto add = [&](const std::string& file) { return importer.AddFile(file, library); };

    const TFindIndex song = add(dir / "Song.MP3");
    EXPECT_EQ(song, (TFindIndex{0, 0, 0}));
    const TTrack track = library.GetTrack(song);
    EXPECT_EQ(std::tuple(track.Title, track.Artist, track.Album, track.MediaType),
              std::tuple("Song", "<unknown>", "<unknown>", 1));
    // Another extension, no extension, a file no frame of which is found, no file at all.
    for (const char* skipped : {"song.mp3.bak", "live.v2/untitled", "noise.mp3", "gone.mp3"})
        EXPECT_EQ(add(dir / skipped), TFindIndex{}) << skipped;
    EXPECT_EQ(add(test::MediaPath("mpeg/v1_over_v2.mp3")), (TFindIndex{1, 0, 0}));

    const std::string one = "Artists: 1   Albums: 1   Tracks: 1";
    EXPECT_EQ(status, (std::vector<std::string>{one, one, one, one, one,
                                                "Artists: 2   Albums: 2   Tracks: 2"}));
    EXPECT_EQ(LibraryCountsText(library), status.back());
}

}  // namespace
}  // namespace rv
