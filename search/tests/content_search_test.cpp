#include "search/content_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/process.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::TempDir;
using test::WriteFileBytes;

TEST(FileContainsPhrase, FindsPhrasesAnywhereAlsoAcrossChunks) {
    TempDir dir;
    const std::string path = dir / "f";
    for (std::size_t at : {std::size_t{0}, kContentChunk - 3, kContentChunk - 1, kContentChunk,
                           2 * kContentChunk - 2, 3 * kContentChunk - 6}) {
        std::string content(3 * kContentChunk, 'x');
        content.replace(at, 6, "needle");
        WriteFileBytes(path, content);
        EXPECT_TRUE(FileContainsPhrase(path, "needle", false)) << at;
        EXPECT_FALSE(FileContainsPhrase(path, "needles", false)) << at;
    }
    // A partial match right before the real one must not hide it.
    WriteFileBytes(path, std::string(kContentChunk - 2, 'a') + "nenenedle");
    EXPECT_TRUE(FileContainsPhrase(path, "nenedle", false));
    // A phrase longer than a chunk.
    std::string longPhrase(kContentChunk + 100, 'q');
    longPhrase.back() = 'z';
    WriteFileBytes(path, std::string(kContentChunk, 'q') + longPhrase + "tail");
    EXPECT_TRUE(FileContainsPhrase(path, longPhrase, false));
}

TEST(FileContainsPhrase, IgnoreCaseFoldsFileAndPhraseAlike) {
    TempDir dir;
    const std::string path = dir / "f";
    WriteFileBytes(path, "Recorded LIVE at \xC3\x89T\xC3\x89 hall");
    EXPECT_TRUE(FileContainsPhrase(path, "live at", true));
    EXPECT_FALSE(FileContainsPhrase(path, "live at", false));
    // Upper-case letters beyond ASCII are compared as they are, and can be found.
    EXPECT_TRUE(FileContainsPhrase(path, "at \xC3\x89t\xC3\x89", true));
    EXPECT_FALSE(FileContainsPhrase(path, "at \xC3\xA9t\xC3\xA9", true));
}

TEST(FileContainsPhrase, FalseForShortMissingAndIrregularFiles) {
    TempDir dir;
    WriteFileBytes(dir / "short", "abc");
    EXPECT_FALSE(FileContainsPhrase(dir / "short", "abcd", false));
    EXPECT_TRUE(FileContainsPhrase(dir / "short", "", false));
    EXPECT_FALSE(FileContainsPhrase(dir / "missing", "a", false));
    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(FileContainsPhrase(dir / "folder", "a", false));
    RV_REQUIRE_TOOL("mkfifo");
    ASSERT_EQ(test::RunProcess({"mkfifo", dir / "pipe"}).exitCode, 0);
    EXPECT_FALSE(FileContainsPhrase(dir / "pipe", "a", false));  // and does not block
}

}  // namespace
}  // namespace rv
