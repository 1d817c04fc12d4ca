// Our matches of a generated tree against GNU find's on the same tree.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

#include "search/target_search.h"
#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

TEST(GnuFind, SameMatchesAsFindWithInamePerMask) {
    RV_REQUIRE_TOOL("find");
    const char* stems[] = {"track", "Live Set", ".hidden", "\xC3\xA9t\xC3\xA9", "x.y", "mp3"};
    const char* extensions[] = {".mp3", ".MP3", ".Mp3", ".flac", ".FLAC", ".OgG", ".mp+", ".MPC",
                                ".m4a", ".txt", "",     ".mp3x", ".wv",   ".WMA", ".ape", ".mac",
                                ".ofr", ".vqf", ".aac", ".mp1",  ".MP2",  ".mpp", ".",    ".mp3."};
    std::mt19937 random(12);
    test::Lines folders = {""}, files;
    for (int i = 0; i < 3000; ++i) {
        const std::string name = stems[random() % std::size(stems)] + std::to_string(i) +
                                 extensions[random() % std::size(extensions)];
        const std::string& parent = folders[random() % folders.size()];
        files.push_back(parent + name + (random() % 8 == 0 ? "/" : ""));
        if (files.back().ends_with('/')) folders.push_back(files.back());
    }
    test::TempDir dir;
    test::MakeFiles(dir.Path(), files);
    test::Lines ours = test::Search(test::Criteria(test::kAudioMasks, dir.Path()), dir.Path());

    test::Lines argv = {"env", "LC_ALL=C", "find", dir.Path(), "-type", "f", "("};
    for (const auto& mask : SplitList(test::kAudioMasks)) {
        if (argv.back() != "(") argv.push_back("-o");
        argv.insert(argv.end(), {"-iname", mask});
    }
    argv.push_back(")");
    const auto result = test::RunProcess(argv);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    test::Lines theirs;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);)
        theirs.push_back(line.substr(dir.Path().size() + 1));

    EXPECT_GT(ours.size(), 500u);
    std::sort(ours.begin(), ours.end());
    std::sort(theirs.begin(), theirs.end());
    EXPECT_EQ(ours, theirs);
}

}  // namespace
}  // namespace rv
