#include "search/content_search.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(FileContainsPhrase, FindsThePhraseAcrossChunks) {
    test::TempDir dir;
    const std::string path = dir / "f";
    for (std::size_t at :
         {std::size_t{0}, kContentChunk - 3, kContentChunk, 2 * kContentChunk - 6}) {
        std::string content(2 * kContentChunk, 'x');
        test::WriteFileBytes(path, content.replace(at, 6, "needle"));
        EXPECT_TRUE(FileContainsPhrase(path, "needle", false)) << at;
        EXPECT_FALSE(FileContainsPhrase(path, "needles", false)) << at;
    }
    // A partial match right before the real one must not hide it.
    test::WriteFileBytes(path, std::string(kContentChunk - 2, 'a') + "nenenedle");
    EXPECT_TRUE(FileContainsPhrase(path, "nenedle", false));
    const std::string longPhrase = std::string(kContentChunk + 9, 'q') + "z";
    test::WriteFileBytes(path, std::string(kContentChunk, 'q') + longPhrase);
    EXPECT_TRUE(FileContainsPhrase(path, longPhrase, false));
}

TEST(FileContainsPhrase, IgnoreCaseFoldsFileAndPhraseAlike) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "f", "LIVE at \xC3\x89T\xC3\x89");
    EXPECT_TRUE(FileContainsPhrase(dir / "f", "live at", true));
    EXPECT_FALSE(FileContainsPhrase(dir / "f", "live at", false));
    // Letters beyond ASCII compare as they are, upper case too.
    EXPECT_TRUE(FileContainsPhrase(dir / "f", "at \xC3\x89t\xC3\x89", true));
    EXPECT_FALSE(FileContainsPhrase(dir / "f", "at \xC3\xA9t\xC3\xA9", true));
}

TEST(FileContainsPhrase, SkipsTheHolesOfSparseFilesAndStopsBetweenChunks) {
    test::TempDir dir;
    const std::string path = dir / "sparse";
    constexpr std::uint64_t kSize = 16ull << 30;
    // Data in three blocks: "ab" right before a hole, "cd" right after it, a phrase at the end.
    test::MakeSparseFile(path, kSize, {{4094, "ab"}, {1 << 20, "cd"}, {kSize - 6, "needle"}});
    const auto before = test::BytesRead();
    EXPECT_TRUE(FileContainsPhrase(path, "needle", false));
    EXPECT_FALSE(FileContainsPhrase(path, "abcd", false));  // a hole is no empty string
    EXPECT_LT(test::BytesRead() - before, 1u << 20);
    // Holes read as zeros: a phrase with a zero byte is found in one.
    EXPECT_TRUE(FileContainsPhrase(path, std::string("b\0\0", 3), false));

    // The stop is asked before each chunk; once it says so, the phrase counts as not found.
    test::WriteFileBytes(dir / "f", std::string(4 * kContentChunk, 'x') + "needle");
    FolderHandle folder;
    ASSERT_TRUE(folder.Open(dir.Path()));
    int asked = 0;
    EXPECT_FALSE(FileContainsPhrase(folder, "f", "needle", false, [&] { return ++asked == 2; }));
    EXPECT_EQ(asked, 2);
    asked = 0;
    EXPECT_TRUE(FileContainsPhrase(folder, "f", "needle", false, [&] { return ++asked < 0; }));
    EXPECT_EQ(asked, 5);
}

TEST(FileContainsPhrase, FalseForShortMissingAndIrregularFiles) {
    RV_REQUIRE_TOOL("mkfifo");
    test::TempDir dir;
    test::WriteFileBytes(dir / "short", "abc");
    EXPECT_FALSE(FileContainsPhrase(dir / "short", "abcd", false));
    EXPECT_FALSE(FileContainsPhrase(dir / "missing", "a", false));
    std::filesystem::create_directory(dir / "folder");
    EXPECT_FALSE(FileContainsPhrase(dir / "folder", "a", false));
    ASSERT_EQ(test::RunProcess({"mkfifo", dir / "pipe"}).exitCode, 0);
    EXPECT_FALSE(FileContainsPhrase(dir / "pipe", "a", false));  // and does not block
}

}  // namespace
}  // namespace rv
