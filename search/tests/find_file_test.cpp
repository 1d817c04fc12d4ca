#include "search/find_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "search/folder_chain.h"
#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::Lines;
namespace fs = std::filesystem;

TEST(FindFile, ReportsMaskByMaskFromTheLastThenDescendsInNameOrder) {
    test::TempDir dir;
    test::MakeFiles(dir.Path(), {"b.a", "a.b", "A.a", "x.c", "sub/x.a", "sub/y.b", "Sub/z.a",
                                 "skip/w.a", "skip/deeper/v.a"});
    TFindFile find;
    test::EventLog log(find, dir.Path(), "skip/");
    find.SetCriteria(test::Criteria("*.a;*.b", dir.Path()));
    find.Execute();
    EXPECT_FALSE(find.Busy());
    EXPECT_EQ(log.lines, (Lines{"begin", "folder ", "match a.b", "match A.a", "match b.a",
                                "folder Sub/", "match Sub/z.a", "folder skip/", "folder sub/",
                                "match sub/y.b", "match sub/x.a", "finish"}));

    // A file two masks name is reported once, where the first of them (from the last) puts it.
    log.matches.clear();
    find.SetCriteria(test::Criteria("*.b;a*;*.A", dir.Path()));
    find.Criteria().Files.MaxLevel = 1;
    find.Execute();
    EXPECT_EQ(log.matches, (Lines{"A.a", "b.a", "a.b"}));
}

TEST(FindFile, LevelsBoundTheWalkAndTheReports) {
    test::TempDir dir;
    test::MakeFiles(dir.Path(), {"1.mp3", "a/2.mp3", "a/b/3.mp3", "a/b/c/4.mp3"});
    TSearchCriteria criteria = test::Criteria("*.mp3", dir.Path());
    criteria.Files.MaxLevel = 1;
    EXPECT_EQ(test::Search(criteria, dir.Path()), (Lines{"1.mp3"}));
    criteria.Files.MinLevel = 2;
    criteria.Files.MaxLevel = 3;
    EXPECT_EQ(test::Search(criteria, dir.Path()), (Lines{"a/2.mp3", "a/b/3.mp3"}));
    criteria.Files = {};
    criteria.Files.Included = {"<" + dir.Path() + "/a/*.MP3"};
    EXPECT_EQ(test::Search(criteria, dir.Path()), (Lines{"a/2.mp3"}));
}

TEST(FindFile, AbortOrAnErrorFromAHandlerStopsTheSearchAtOnce) {
    test::TempDir dir;
    test::MakeFiles(dir.Path(), {"1.mp3", "2.mp3", "a/3.mp3"});
    TFindFile find;
    test::EventLog log(find, dir.Path());
    find.SetCriteria(test::Criteria("*.mp3", dir.Path()));
    const auto record = find.OnFileMatch;
    find.OnFileMatch = [&](TFindFile& sender, const std::string& folder, const TSearchRec& rec) {
        record(sender, folder, rec);
        sender.Execute();  // busy: nothing happens
        sender.Abort();
    };
    find.Execute();
    EXPECT_EQ(log.lines, (Lines{"begin", "folder ", "match 1.mp3", "abort", "finish"}));
    EXPECT_TRUE(find.Aborted());
    find.Abort();  // idle: nothing happens
    EXPECT_EQ(log.lines.size(), 5u);
    // A handler's error ends the search and reaches the caller.
    find.OnFileMatch = [](TFindFile&, const std::string&, const TSearchRec&) {
        throw std::runtime_error("cannot import");
    };
    EXPECT_THROW(find.Execute(), std::runtime_error);
    EXPECT_FALSE(find.Busy());
}

TEST(FindFile, TheFinishEventCanStartTheNextSearch) {
    test::TempDir dir;
    test::MakeFiles(dir.Path(), {"1.mp3", "2.ogg"});
    TFindFile find;
    test::EventLog log(find, dir.Path());
    find.SetCriteria(test::Criteria("*.mp3", dir.Path()));
    const auto record = find.OnSearchFinish;
    find.OnSearchFinish = [&](TFindFile& sender) {
        record(sender);
        EXPECT_FALSE(sender.Busy());
        if (log.matches.size() > 1) return;
        sender.Criteria().Files.FileName = "*.ogg";
        sender.Execute();
    };
    find.Execute();
    EXPECT_EQ(log.lines, (Lines{"begin", "folder ", "match 1.mp3", "finish", "begin", "folder ",
                                "match 2.ogg", "finish"}));
}

TEST(FindFile, LinkLoopsFifosAndDeepTreesDoNotHangTheWalk) {
    RV_REQUIRE_TOOL("mkfifo");
    test::TempDir dir;
    const std::string root = dir / "music";
    test::MakeFiles(dir.Path(), {"music/a.mp3", "music/sub/b.mp3", "elsewhere/c.mp3"});
    fs::create_directory_symlink("..", root + "/sub/up");
    fs::create_directory_symlink("../../elsewhere", root + "/sub/away");
    fs::create_symlink("a.mp3", root + "/link.mp3");
    fs::create_symlink("gone.mp3", root + "/dangling.mp3");
    ASSERT_EQ(test::RunProcess({"mkfifo", root + "/pipe.mp3"}).exitCode, 0);
    // Deeper than a path may be long: a chain of folders moved to the bottom of another.
    auto chain = [](std::string top, int depth) {
        fs::create_directory(top);
        for (int i = 0; i < depth; ++i) fs::create_directory(top += "/d");
        return top;
    };
    test::MakeFiles(chain(dir / "lower", 1500), {"bottom.mp3"});
    const std::string deep = chain(root + "/deep", 1500);
    fs::rename(dir / "lower", deep + "/e");
    // On the way, a link to another deep chain: coming back from it, the way up is not its "..".
    std::string twenty;
    for (int i = 0; i < 20; ++i) twenty += "/d";
    test::MakeFiles(chain(dir / "far", 20), {"far.mp3"});
    fs::create_directory_symlink(dir / "far", root + "/deep" + twenty + "/a");

    // Only a few folders are open at a time, however deep the walk.
    auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto openBefore = openFiles();
    auto openMost = openBefore;
    TFindFile find;
    test::EventLog log(find, root);
    find.SetCriteria(test::Criteria(test::kAudioMasks, root));
    find.OnFolderChange = [&](TFindFile&, const std::string&, bool&) {
        openMost = std::max(openMost, openFiles());
    };
    find.Execute();
    EXPECT_LE(openMost, openBefore + static_cast<long>(FolderChain::kOpenFolders));
    ASSERT_EQ(log.matches.size(), 6u);
    EXPECT_EQ(log.matches[1], "link.mp3");
    EXPECT_EQ(log.matches[2], "deep" + twenty + "/a" + twenty + "/far.mp3");
    EXPECT_TRUE(log.matches[3].starts_with("deep/d/d/"));
    EXPECT_TRUE(log.matches[3].ends_with("/d/d/bottom.mp3"));
    EXPECT_EQ(log.matches[3].size(), std::string("deep/e/bottom.mp3").size() + 2 * 3000);
    EXPECT_EQ(log.matches[5], "sub/away/c.mp3");

    // The content test reaches the bottom too, and never opens the FIFO.
    find.Criteria().Content.SetPhrase("mp3");
    find.Execute();
    EXPECT_EQ(log.matches.size(), 12u);
}

}  // namespace
}  // namespace rv
