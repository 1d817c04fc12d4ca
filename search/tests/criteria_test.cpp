#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/dirs/full_path.h"
#include "search/target_search.h"
#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::Lines;
namespace fs = std::filesystem;

TEST(TargetSearch, CompilesLocationsWithPrefixesAndMergesEqualFolders) {
    TSearchCriteria criteria = test::Criteria("*.mp3;*.ogg", "/a;>/b;<c;;/A;/a/;>");
    criteria.Files.Subfolders = false;
    criteria.Files.MaxLevel = 3;
    criteria.Files.Included = {">/b/*.flac", "*.wv"};
    const TTargetSearch plan(criteria);
    const TTargetFolderList& list = plan.Folders();

    // Newest first, Linux folders differing by case; the empty pieces and the entry without
    // folder made nothing.
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ((Lines{list[0].Folder, list[1].Folder, list[2].Folder, list[3].Folder}),
              (Lines{"/A/", ExpandFileName("c") + "/", "/a/", "/b/"}));
    EXPECT_EQ(list[2].Masks.size(), 4u);
    EXPECT_EQ(std::tuple(list[3].Masks.front().Text(), list[3].Masks.back().Text()),
              std::tuple("*.flac", "*.ogg"));
    EXPECT_EQ(std::tuple(list[1].Recursive, list[2].Recursive, list[3].Recursive),
              std::tuple(false, false, true));
    EXPECT_EQ(list[2].MaxLevel, 3);
}

TEST(TargetSearch, AttributesRejectFoldersByDefaultAndCanBeExact) {
    test::TempDir dir;
    test::MakeFiles(dir.Path(), {"plain.mp3", ".hidden.mp3", "locked.mp3", "folder.mp3/"});
    fs::permissions(dir / "locked.mp3", fs::perms::owner_write, fs::perm_options::remove);
    TSearchCriteria criteria = test::Criteria("*.mp3", dir.Path());
    auto found = [&] { return test::Search(criteria, dir.Path()); };
    EXPECT_EQ(found(), (Lines{".hidden.mp3", "locked.mp3", "plain.mp3"}));
    criteria.Attribute.SetAttributes({ffDirectory});
    EXPECT_EQ(found(), (Lines{"folder.mp3", "plain.mp3"}));
    criteria.Attribute.ExactMatch = true;
    criteria.Attribute.SetAttributes({ffReadonly});
    EXPECT_EQ(found(), (Lines{"locked.mp3"}));
    // With a phrase, folders are never reported.
    criteria.Attribute.SetAttributes({ffDirectory});
    criteria.Content.SetPhrase("MP3");
    EXPECT_EQ(found(), Lines{"plain.mp3"});
}

TEST(TargetSearch, SizeBoundsAreInclusiveAndSixtyFourBit) {
    test::TempDir dir;
    for (auto [name, size] : {std::pair{"1000", 1000ull}, {"1001", 1001ull}, {"4G", 4ull << 30}}) {
        test::MakeFiles(dir.Path(), {name});
        fs::resize_file(dir / name, size + (size >> 30));  // sparse
    }
    TSearchCriteria criteria = test::Criteria("*", dir.Path());
    criteria.Size.Max = 1000;
    EXPECT_EQ(test::Search(criteria, dir.Path()), Lines{"1000"});  // 32 bits would let 4G in
    criteria.Size = {4ull << 30, 0};
    EXPECT_EQ(test::Search(criteria, dir.Path()), Lines{"4G"});
}

TEST(TargetSearch, DateBoundsByDayByTimeOfDayAndInFull) {
    RV_REQUIRE_TOOL("touch");
    test::TempDir dir;
    for (const char* stamp : {"2020-05-01 23:59", "2020-05-02 00:00", "2020-05-03 15:00"}) {
        test::MakeFiles(dir.Path(), {stamp});
        ASSERT_EQ(test::RunProcess({"touch", "-m", "-d", stamp, dir / stamp}).exitCode, 0);
    }
    TSearchCriteria criteria = test::Criteria("*", dir.Path());
    auto found = [&] { return test::Search(criteria, dir.Path()); };
    criteria.TimeStamp.ModifiedAfter = EncodeDate(2020, 5, 2);
    EXPECT_EQ(found(), (Lines{"2020-05-02 00:00", "2020-05-03 15:00"}));
    criteria.TimeStamp.ModifiedBefore = EncodeDate(2020, 5, 2);  // the whole day counts
    EXPECT_EQ(found(), (Lines{"2020-05-02 00:00"}));
    criteria.TimeStamp = {};
    criteria.TimeStamp.ModifiedBefore = 0.5;  // noon of any day
    EXPECT_EQ(found(), (Lines{"2020-05-02 00:00"}));
    criteria.TimeStamp.ModifiedBefore = JoinDateTime(EncodeDate(2020, 5, 3), 0.5);
    criteria.TimeStamp.CreatedAfter = EncodeDate(1980, 1, 1);
    EXPECT_EQ(found(), (Lines{"2020-05-01 23:59", "2020-05-02 00:00"}));
}

TEST(TargetSearch, ExclusionPathsCountCaseAndNamesDoNot) {
    test::TempDir dir;
    test::MakeFiles(dir.Path(), {"temp/x.tmp", "temp/x.mp3", "Temp/y.tmp", "a/temp/z.tmp",
                                 "keep.tmp", "old.BAK"});
    TSearchCriteria criteria = test::Criteria("*.*", dir.Path());
    criteria.Files.Excluded = {"/temp/*.TMP", "*.bak"};
    EXPECT_EQ(test::Search(criteria, dir.Path()), (Lines{"keep.tmp", "Temp/y.tmp", "temp/x.mp3"}));
}

}  // namespace
}  // namespace rv
