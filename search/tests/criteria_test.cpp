#include <gtest/gtest.h>

#include <filesystem>

#include "platform/dirs/full_path.h"
#include "search/search_criteria.h"
#include "search/target_search.h"
#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::MakeFiles;
using test::Relative;
using test::Search;
using test::SetModified;
using test::TempDir;
namespace fs = std::filesystem;

std::vector<std::string> MaskTexts(const TTargetFolder& folder) {
    std::vector<std::string> texts;
    for (const auto& mask : folder.Masks) texts.push_back(mask.Text());
    return texts;
}

TEST(SearchCriteria, AttributeSetAndBitsAgree) {
    TAttributeCriteria a;
    EXPECT_EQ(a.Bits(), 0x27u);
    EXPECT_EQ(a.Attributes(), (TFileAttributes{ffArchive, ffReadonly, ffHidden, ffSystem}));
    a.SetAttributes({ffDirectory, ffReadonly});
    EXPECT_EQ(a.Bits(), 0x11u);
    a.SetBits(0x06);
    EXPECT_EQ(a.Attributes(), (TFileAttributes{ffHidden, ffSystem}));
}

TEST(SearchCriteria, SearchTextFollowsPhraseAndCase) {
    TContentCriteria c;
    c.SetPhrase("Live AT \xC3\x89T\xC3\x89");
    EXPECT_EQ(c.SearchText(), "live at \xC3\x89t\xC3\x89");  // A-Z only
    c.SetIgnoreCase(false);
    EXPECT_EQ(c.SearchText(), "Live AT \xC3\x89T\xC3\x89");
    TSearchCriteria copy;
    copy.Assign(TSearchCriteria{});
    copy.Content = c;
    EXPECT_EQ(copy.Content.SearchText(), c.SearchText());
}

TEST(TargetSearch, CompilesLocationsWithPrefixesAndMergesEqualFolders) {
    TSearchCriteria criteria;
    criteria.Files.FileName = "*.mp3;*.ogg";
    criteria.Files.Location = "/a;>/b;<c;;/A;/a/;>";
    criteria.Files.Subfolders = false;
    criteria.Files.MinLevel = 2;
    criteria.Files.MaxLevel = 3;
    criteria.Files.Included = {">/b/*.flac", "*.wv", "<"};
    const TTargetSearch plan(criteria);
    const TTargetFolderList& list = plan.Folders();

    // Newest first: the included /b, then /a, c (made full), /A; the empty pieces made nothing.
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list[3].Folder, "/b/");
    EXPECT_EQ(list[2].Folder, "/a/");
    EXPECT_EQ(list[1].Folder, ExpandFileName("c") + "/");
    EXPECT_EQ(list[0].Folder, "/A/");  // Linux folders differ by case
    EXPECT_EQ(MaskTexts(list[3]), (std::vector<std::string>{"*.flac", "*.mp3", "*.ogg"}));
    EXPECT_EQ(MaskTexts(list[2]), (std::vector<std::string>{"*.mp3", "*.ogg", "*.mp3", "*.ogg"}));
    EXPECT_TRUE(list[3].Recursive);
    EXPECT_FALSE(list[2].Recursive);
    EXPECT_FALSE(list[1].Recursive);
    EXPECT_EQ(list[2].MinLevel, 2);
    EXPECT_EQ(list[2].MaxLevel, 3);
    EXPECT_EQ(list.IndexOfFolder("/a/"), 2);
    EXPECT_EQ(list.IndexOfFolder("/x/"), -1);
}

TEST(TargetSearch, AttributeTestRejectsFoldersByDefaultAndHonoursExactMatch) {
    TempDir dir;
    MakeFiles(dir.Path(), {"plain.mp3", ".hidden.mp3", "locked.mp3", "folder.mp3/"});
    fs::permissions(dir / "locked.mp3", fs::perms::owner_write, fs::perm_options::remove);
    TSearchCriteria criteria;
    criteria.Files.FileName = "*.mp3";
    criteria.Files.Location = dir.Path();
    criteria.Files.Subfolders = false;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)),
              (std::vector<std::string>{".hidden.mp3", "locked.mp3", "plain.mp3"}));

    criteria.Attribute.SetAttributes({ffDirectory});
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)),
              (std::vector<std::string>{"folder.mp3", "plain.mp3"}));
    criteria.Attribute.SetAttributes({ffArchive, ffHidden});  // read-only files not allowed
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)),
              (std::vector<std::string>{".hidden.mp3", "plain.mp3"}));
    criteria.Attribute.ExactMatch = true;
    criteria.Attribute.SetAttributes({ffReadonly});
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (std::vector<std::string>{"locked.mp3"}));
    criteria.Attribute.SetAttributes({});
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (std::vector<std::string>{"plain.mp3"}));

    // With a phrase, folders are never reported.
    criteria.Attribute.ExactMatch = false;
    criteria.Attribute.SetAttributes({ffDirectory, ffArchive});
    criteria.Content.SetPhrase("mp3");
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (std::vector<std::string>{"plain.mp3"}));
}

TEST(TargetSearch, SizeBoundsAreInclusiveAndSixtyFourBit) {
    TempDir dir;
    for (auto [name, size] : {std::pair{"1000.mp3", 1000ull},
                              {"1001.mp3", 1001ull},
                              {"huge.mp3", (4ull << 30) + 10},
                              {"empty.mp3", 0ull}}) {
        MakeFiles(dir.Path(), {name});
        fs::resize_file(dir / name, size);  // sparse: no disk space is used
    }
    TSearchCriteria criteria;
    criteria.Files.FileName = "*.mp3";
    criteria.Files.Location = dir.Path();
    EXPECT_EQ(Search(criteria).size(), 4u);
    criteria.Size.Max = 1000;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)),
              (std::vector<std::string>{"1000.mp3", "empty.mp3"}));
    // Cut to 32 bits, the 4 GiB file would pass as 10 bytes.
    criteria.Size.Min = 1;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (std::vector<std::string>{"1000.mp3"}));
    criteria.Size.Max = 0;
    criteria.Size.Min = 4ull << 30;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (std::vector<std::string>{"huge.mp3"}));
}

TEST(TargetSearch, DateBoundsByDayByTimeOfDayAndInFull) {
    TempDir dir;
    MakeFiles(dir.Path(), {"eve.mp3", "midnight.mp3", "afternoon.mp3", "morning.mp3"});
    SetModified(dir / "eve.mp3", "2020-05-01 23:59:00");
    SetModified(dir / "midnight.mp3", "2020-05-02 00:00:00");
    SetModified(dir / "morning.mp3", "2020-05-03 09:00:00");
    SetModified(dir / "afternoon.mp3", "2020-05-03 15:00:00");
    TSearchCriteria criteria;
    criteria.Files.FileName = "*.mp3";
    criteria.Files.Location = dir.Path();
    auto found = [&] { return Relative(dir.Path(), Search(criteria)); };
    using V = std::vector<std::string>;

    criteria.TimeStamp.ModifiedAfter = EncodeDate(2020, 5, 2);
    EXPECT_EQ(found(), (V{"afternoon.mp3", "midnight.mp3", "morning.mp3"}));
    criteria.TimeStamp.ModifiedBefore = EncodeDate(2020, 5, 2);  // the whole day counts
    EXPECT_EQ(found(), (V{"midnight.mp3"}));
    criteria.TimeStamp = {};
    criteria.TimeStamp.ModifiedBefore = 0.5;  // noon of any day
    EXPECT_EQ(found(), (V{"midnight.mp3", "morning.mp3"}));
    criteria.TimeStamp = {};
    criteria.TimeStamp.ModifiedAfter = JoinDateTime(EncodeDate(2020, 5, 3), EncodeTime(12, 0, 0));
    EXPECT_EQ(found(), (V{"afternoon.mp3"}));
    // Creation and access bounds far away pass everything.
    criteria.TimeStamp.CreatedAfter = EncodeDate(1980, 1, 1);
    criteria.TimeStamp.AccessedBefore = EncodeDate(2999, 1, 1);
    EXPECT_EQ(found(), (V{"afternoon.mp3"}));
}

TEST(TargetSearch, ExclusionPathsCountCaseAndNamesDoNot) {
    TempDir dir;
    MakeFiles(dir.Path(),
              {"temp/x.tmp", "temp/x.mp3", "Temp/y.tmp", "a/temp/z.tmp", "keep.tmp", "old.BAK"});
    TSearchCriteria criteria;
    criteria.Files.FileName = "*.*";
    criteria.Files.Location = dir.Path();
    criteria.Files.Excluded = {"/temp/*.TMP", "*.bak"};
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)),
              (std::vector<std::string>{"keep.tmp", "Temp/y.tmp", "temp/x.mp3"}));

    EXPECT_TRUE(MatchesExclusion("/m/temp/", "x.tmp", "/temp/"));  // a path alone
    EXPECT_TRUE(MatchesExclusion("/m/", "x.tmp", "x.*"));
    EXPECT_FALSE(MatchesExclusion("/m/", "x.tmp", "/n/"));
}

}  // namespace
}  // namespace rv
