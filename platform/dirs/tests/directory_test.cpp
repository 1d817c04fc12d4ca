#include "platform/dirs/directory.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/dirs/full_path.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::TempDir;
using test::WriteFileBytes;

TEST(ReadDirectory, ListsEveryEntryInByteOrderWithItsKind) {
    TempDir dir;
    for (const char* name : {"b.mp3", "B.mp3", "a", "\xC3\xA9t\xC3\xA9.ogg", ".hidden", "~x"})
        WriteFileBytes(dir / name, "x");
    ASSERT_EQ(mkdir((dir / "sub").c_str(), 0755), 0);
    ASSERT_EQ(symlink("sub", (dir / "link").c_str()), 0);
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0644), 0);

    DirectoryListing listing;
    ASSERT_TRUE(ReadDirectory(dir.Path(), listing));
    std::vector<std::string> names;
    for (const auto& e : listing.Entries) names.push_back(e.Name);
    EXPECT_EQ(names, (std::vector<std::string>{".hidden", "B.mp3", "a", "b.mp3", "link", "pipe",
                                               "sub", "~x", "\xC3\xA9t\xC3\xA9.ogg"}));
    auto kind = [&](const std::string& name) {
        for (const auto& e : listing.Entries)
            if (e.Name == name) return e.Kind;
        return EntryKind::Unknown;
    };
    // Some file systems leave the type to a later stat; then every kind is Unknown.
    if (kind("a") != EntryKind::Unknown) {
        EXPECT_EQ(kind("a"), EntryKind::Regular);
        EXPECT_EQ(kind("sub"), EntryKind::Directory);
        EXPECT_EQ(kind("link"), EntryKind::Symlink);
        EXPECT_EQ(kind("pipe"), EntryKind::Other);
    }
}

TEST(ReadDirectory, IdentifiesAFolderHoweverItIsReached) {
    TempDir dir;
    ASSERT_EQ(mkdir((dir / "real").c_str(), 0755), 0);
    ASSERT_EQ(mkdir((dir / "other").c_str(), 0755), 0);
    ASSERT_EQ(symlink("../real", (dir / "other/up").c_str()), 0);
    DirectoryListing a, b, c;
    ASSERT_TRUE(ReadDirectory(dir / "real", a));
    ASSERT_TRUE(ReadDirectory(dir / "other/up/", b));
    ASSERT_TRUE(ReadDirectory(dir / "other", c));
    EXPECT_EQ(a.Id, b.Id);
    EXPECT_NE(a.Id, c.Id);
}

TEST(ReadDirectory, FailsEmptyOnWhatIsNoFolder) {
    TempDir dir;
    WriteFileBytes(dir / "file", "x");
    DirectoryListing listing;
    listing.Entries.push_back({"stale", EntryKind::Regular});
    EXPECT_FALSE(ReadDirectory(dir / "file", listing));
    EXPECT_TRUE(listing.Entries.empty());
    EXPECT_FALSE(ReadDirectory(dir / "missing", listing));
    EXPECT_FALSE(ReadDirectory("", listing));
}

TEST(FullPath, ExpandsAgainstTheCurrentFolderByText) {
    EXPECT_EQ(ExpandFileName("/a/b/../c/./d"), "/a/c/d");
    EXPECT_EQ(ExpandFileName("/a//b/"), "/a/b/");
    EXPECT_EQ(ExpandFileName("/a/b/.."), "/a/");
    EXPECT_EQ(ExpandFileName("/../.."), "/");
    EXPECT_EQ(ExpandFileName(""), "");
    char cwd[4096];
    ASSERT_TRUE(getcwd(cwd, sizeof cwd));
    EXPECT_EQ(ExpandFileName("x/y"), ExpandFileName(std::string(cwd) + "/x/y"));
    EXPECT_EQ(ExpandFileName("."), IncludeTrailingSlash(ExpandFileName(cwd)));
    EXPECT_EQ(IncludeTrailingSlash("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingSlash("/a/"), "/a/");
    EXPECT_EQ(IncludeTrailingSlash(""), "");
}

}  // namespace
}  // namespace rv
