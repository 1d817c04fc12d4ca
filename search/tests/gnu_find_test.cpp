// Our matches of a generated tree against GNU find's on the same tree.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>

#include "search/target_search.h"
#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

std::vector<std::string> GenerateNames(std::mt19937& random, int count) {
    const char* stems[] = {"track", "Live Set", "a",          ".hidden", "\xC3\xA9t\xC3\xA9",
                           "x.y",   "mp3",      "01 - Intro", "song.mp3"};
    const char* extensions[] = {".mp3", ".MP3", ".Mp3", ".flac", ".FLAC", ".ogg",  ".OgG",
                                ".mp+", ".MPC", ".m4a", ".txt",  "",      ".mp3x", ".bak",
                                ".wv",  ".WMA", ".ape", ".mac",  ".ofr",  ".vqf",  ".aac",
                                ".mp1", ".MP2", ".mpp", ".",     ".mp3.", ".jpg"};
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(std::string(stems[random() % std::size(stems)]) + std::to_string(i) +
                        extensions[random() % std::size(extensions)]);
    return names;
}

TEST(GnuFind, SameMatchesAsFindWithIname) {
    RV_REQUIRE_TOOL("find");
    test::TempDir dir;
    std::mt19937 random(12);
    std::vector<std::string> folders = {""};
    std::vector<std::string> files;
    for (const auto& name : GenerateNames(random, 3000)) {
        const std::string& parent = folders[random() % folders.size()];
        if (random() % 8 == 0 && parent.size() < 60) {
            folders.push_back(parent + name + "/");
            files.push_back(folders.back());
        } else {
            files.push_back(parent + name);
        }
    }
    test::MakeFiles(dir.Path(), files);

    TSearchCriteria criteria;
    criteria.Files.FileName = test::kAudioMasks;
    criteria.Files.Location = dir.Path();
    std::vector<std::string> ours = test::Search(criteria);

    std::vector<std::string> argv = {"env", "LC_ALL=C", "find", dir.Path(), "-type", "f", "("};
    for (const auto& mask : SplitList(test::kAudioMasks)) {
        if (argv.back() != "(") argv.push_back("-o");
        argv.insert(argv.end(), {"-iname", mask});
    }
    argv.push_back(")");
    const auto result = test::RunProcess(argv);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::vector<std::string> theirs;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) theirs.push_back(line);

    EXPECT_GT(ours.size(), 500u);
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    EXPECT_EQ(ours, theirs);
}

}  // namespace
}  // namespace rv
