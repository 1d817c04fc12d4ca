#include "search/find_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "search/tests/search_test_util.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"

namespace rv {
namespace {

using test::MakeFiles;
using test::Relative;
using test::Search;
using test::TempDir;
using V = std::vector<std::string>;
namespace fs = std::filesystem;

// Records every event of a search as a line, with paths relative to the root.
class EventLog {
public:
    EventLog(TFindFile& find, const std::string& root) : root_(root + "/") {
        find.OnSearchBegin = [this](TFindFile&) { lines.push_back("begin"); };
        find.OnSearchFinish = [this](TFindFile&) { lines.push_back("finish"); };
        find.OnSearchAbort = [this](TFindFile&) { lines.push_back("abort"); };
        find.OnFolderChange = [this](TFindFile&, const std::string& folder, bool&) {
            lines.push_back("folder " + Rel(folder));
        };
        find.OnFileMatch = [this](TFindFile&, const std::string& folder, const TSearchRec& rec) {
            lines.push_back("match " + Rel(folder + rec.Name()));
        };
    }
    std::string Rel(const std::string& path) const {
        return path.starts_with(root_) ? path.substr(root_.size()) : path;
    }
    V lines;

private:
    std::string root_;
};

TSearchCriteria Criteria(const std::string& masks, const std::string& location) {
    TSearchCriteria criteria;
    criteria.Files.FileName = masks;
    criteria.Files.Location = location;
    return criteria;
}

TEST(FindFile, ReportsMaskByMaskFromTheLastThenDescendsInNameOrder) {
    TempDir dir;
    MakeFiles(dir.Path(), {"b.a", "a.b", "c.b", "A.a", "skip.c", "sub/x.a", "sub/y.b", "Sub/z.a",
                           "sub/deeper/"});
    TFindFile find;
    EventLog log(find, dir.Path());
    find.SetCriteria(Criteria("*.a;*.b", dir.Path()));
    find.Execute();
    EXPECT_FALSE(find.Busy());
    EXPECT_EQ(log.lines, (V{"begin", "folder ", "match a.b", "match c.b", "match A.a", "match b.a",
                            "folder Sub/", "match Sub/z.a", "folder sub/", "match sub/y.b",
                            "match sub/x.a", "folder sub/deeper/", "finish"}));
}

TEST(FindFile, LevelsBoundTheWalkAndReports) {
    TempDir dir;
    MakeFiles(dir.Path(), {"1.mp3", "a/2.mp3", "a/b/3.mp3", "a/b/c/4.mp3"});
    TSearchCriteria criteria = Criteria("*.mp3", dir.Path());
    criteria.Files.MaxLevel = 1;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (V{"1.mp3"}));
    criteria.Files.MaxLevel = 0;
    criteria.Files.MinLevel = 2;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (V{"a/2.mp3", "a/b/3.mp3", "a/b/c/4.mp3"}));
    criteria.Files.MaxLevel = 3;
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (V{"a/2.mp3", "a/b/3.mp3"}));
    criteria.Files = {};
    criteria.Files.Included = {"<" + dir.Path() + "/a/*.MP3"};
    EXPECT_EQ(Relative(dir.Path(), Search(criteria)), (V{"a/2.mp3"}));
}

TEST(FindFile, IgnoredFolderSkipsItsWholeSubtree) {
    TempDir dir;
    MakeFiles(dir.Path(), {"1.mp3", "a/2.mp3", "a/b/3.mp3", "c/4.mp3"});
    TFindFile find;
    V found;
    find.SetCriteria(Criteria("*.mp3", dir.Path()));
    find.OnFolderChange = [&](TFindFile&, const std::string& folder, bool& ignore) {
        ignore = folder.ends_with("/a/");
    };
    find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& rec) {
        found.push_back(folder + rec.Name());
    };
    find.Execute();
    EXPECT_EQ(Relative(dir.Path(), found), (V{"1.mp3", "c/4.mp3"}));
}

TEST(FindFile, AbortFromAHandlerStopsAtOnce) {
    TempDir dir;
    MakeFiles(dir.Path(), {"1.mp3", "2.mp3", "a/3.mp3"});
    TFindFile find;
    EventLog log(find, dir.Path());
    find.SetCriteria(Criteria("*.mp3", dir.Path()));
    auto record = find.OnFileMatch;
    find.OnFileMatch = [&](TFindFile& sender, const std::string& folder, const TSearchRec& rec) {
        record(sender, folder, rec);
        sender.Execute();  // busy: nothing happens
        sender.Abort();
        EXPECT_TRUE(sender.Aborted());
    };
    find.Execute();
    EXPECT_EQ(log.lines, (V{"begin", "folder ", "match 1.mp3", "abort", "finish"}));
    EXPECT_FALSE(find.Busy());
    EXPECT_TRUE(find.Aborted());
    find.Abort();  // idle: nothing happens
    EXPECT_EQ(log.lines.size(), 5u);
    // The next search starts afresh.
    find.OnFileMatch = record;
    log.lines.clear();
    find.Execute();
    EXPECT_FALSE(find.Aborted());
    EXPECT_EQ(log.lines, (V{"begin", "folder ", "match 1.mp3", "match 2.mp3", "folder a/",
                            "match a/3.mp3", "finish"}));
}

TEST(FindFile, LoopsFifosAndDeepTreesDoNotHangTheWalk) {
    RV_REQUIRE_TOOL("mkfifo");
    TempDir dir;
    MakeFiles(dir.Path(), {"music/a.mp3", "music/sub/b.mp3", "elsewhere/c.mp3"});
    fs::create_directory_symlink("..", dir / "music/sub/up");
    fs::create_directory_symlink("../../elsewhere", dir / "music/sub/away");
    fs::create_symlink("a.mp3", dir / "music/link.mp3");
    fs::create_symlink("gone.mp3", dir / "music/dangling.mp3");
    ASSERT_EQ(test::RunProcess({"mkfifo", dir / "music/pipe.mp3"}).exitCode, 0);

    // Deeper than a process may hold open folders by default.
    std::string deep = dir / "music/deep";
    fs::create_directory(deep);
    for (int i = 0; i < 1500; ++i) fs::create_directory(deep += "/d");
    MakeFiles(deep, {"bottom.mp3"});

    // No folder stays open while its subfolders are walked.
    auto openFiles = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto openBefore = openFiles();
    auto openMost = openBefore;
    const std::string root = dir / "music";
    TFindFile find;
    find.SetCriteria(Criteria(test::kAudioMasks, root));
    V found;
    find.OnFolderChange = [&](TFindFile&, const std::string&, bool&) {
        openMost = std::max(openMost, openFiles());
    };
    find.OnFileMatch = [&](TFindFile&, const std::string& folder, const TSearchRec& rec) {
        found.push_back(folder + rec.Name());
    };
    find.Execute();
    EXPECT_LE(openMost, openBefore + 2);
    found = Relative(root, found);
    ASSERT_EQ(found.size(), 5u);
    EXPECT_EQ(found[0], "a.mp3");
    EXPECT_EQ(found[1], "link.mp3");
    EXPECT_TRUE(found[2].ends_with("/d/bottom.mp3"));
    EXPECT_EQ(found[3], "sub/b.mp3");
    EXPECT_EQ(found[4], "sub/away/c.mp3");

    // The content test never opens the FIFO either.
    find.Criteria().Content.SetPhrase("mp3");
    find.OnFolderChange = nullptr;
    found.clear();
    find.Execute();
    EXPECT_EQ(found.size(), 5u);
}

TEST(FindFile, AHandlersErrorEndsTheSearchAndReachesTheCaller) {
    TempDir dir;
    MakeFiles(dir.Path(), {"1.mp3"});
    TFindFile find;
    find.SetCriteria(Criteria("*.mp3", dir.Path()));
    find.OnFileMatch = [](TFindFile&, const std::string&, const TSearchRec&) {
        throw std::runtime_error("cannot import");
    };
    EXPECT_THROW(find.Execute(), std::runtime_error);
    EXPECT_FALSE(find.Busy());
}

TEST(FindFile, UnreadableAndMissingFoldersYieldNothing) {
    TempDir dir;
    TFindFile find;
    EventLog log(find, dir.Path());
    find.SetCriteria(Criteria("*.mp3", dir / "missing"));
    find.Execute();
    EXPECT_EQ(log.lines, (V{"begin", "folder missing/", "finish"}));
}

}  // namespace
}  // namespace rv
