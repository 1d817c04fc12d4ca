// Our matches of generated trees against GNU find's on the same trees.

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

// The files GNU find (C locale) lists under `root` with `options` first and one -iname per mask,
// relative to `root`. Exit status 1 (a loop it refused to follow) still lists everything else.
test::Lines Find(const std::string& root, const test::Lines& options, const std::string& masks) {
    test::Lines argv = {"env", "LC_ALL=C", "find"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(), {root, "-type", "f", "("});
    for (const auto& mask : SplitList(masks)) {
        if (argv.back() != "(") argv.push_back("-o");
        argv.insert(argv.end(), {"-iname", mask});
    }
    argv.push_back(")");
    const auto result = test::RunProcess(argv);
    EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1) << result.err;
    test::Lines lines;
    std::istringstream out(result.out);
    for (std::string line; std::getline(out, line);) lines.push_back(line.substr(root.size() + 1));
    std::sort(lines.begin(), lines.end());
    return lines;
}

test::Lines SortedSearch(const std::string& masks, const std::string& root) {
    test::Lines ours = test::Search(test::Criteria(masks, root), root);
    std::sort(ours.begin(), ours.end());
    return ours;
}

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
    const test::Lines ours = SortedSearch(test::kAudioMasks, dir.Path());
    EXPECT_GT(ours.size(), 500u);
    EXPECT_EQ(ours, Find(dir.Path(), {}, test::kAudioMasks));
}

TEST(GnuFind, FollowsLinksAsFindDashLDoes) {
    RV_REQUIRE_TOOL("find");
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string root = dir.Path();
    test::MakeFiles(root, {"sub/x.mp3", "sub/deeper/y.mp3", "other/z.mp3"});
    fs::create_directory_symlink("sub", root + "/Alias");  // sorts before what it names
    fs::create_directory_symlink("../sub", root + "/other/again");
    fs::create_directory_symlink("..", root + "/sub/up");
    fs::create_directory_symlink("../..", root + "/sub/deeper/top");
    fs::create_directory_symlink(".", root + "/self");

    // A folder reached by three ways is walked three times; links up the tree are not followed.
    const test::Lines ours = SortedSearch("*.mp3", root);
    EXPECT_EQ(ours,
              (test::Lines{"Alias/deeper/y.mp3", "Alias/x.mp3", "other/again/deeper/y.mp3",
                           "other/again/x.mp3", "other/z.mp3", "sub/deeper/y.mp3", "sub/x.mp3"}));
    EXPECT_EQ(ours, Find(root, {"-L"}, "*.mp3"));
}

}  // namespace
}  // namespace rv
