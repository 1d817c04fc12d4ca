#include "platform/dirs/file_facts.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using test::TempDir;
using test::WriteFileBytes;

TEST(FileFacts, MapsKindAndAttributes) {
    TempDir dir;
    WriteFileBytes(dir / "plain", "12345");
    WriteFileBytes(dir / ".dot", "");
    WriteFileBytes(dir / "locked", "");
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0444), 0);
    ASSERT_EQ(mkdir((dir / "sub").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((dir / "song.mp3").c_str(), 0644), 0);
    ASSERT_EQ(symlink("plain", (dir / ".link").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (dir / "dangling").c_str()), 0);

    FileFacts f;
    ASSERT_TRUE(GetFileFacts(dir / "plain", f));
    EXPECT_EQ(f.Kind, FileKind::Regular);
    EXPECT_EQ(f.Attr, 0u);
    EXPECT_EQ(f.Size, 5u);
    ASSERT_TRUE(GetFileFacts(dir / ".dot", f));
    EXPECT_EQ(f.Attr, faHidden);
    ASSERT_TRUE(GetFileFacts(dir / "locked", f));
    EXPECT_EQ(f.Attr, faReadOnly);
    ASSERT_TRUE(GetFileFacts(dir / "sub/", f));
    EXPECT_EQ(f.Kind, FileKind::Directory);
    EXPECT_EQ(f.Attr, faDirectory);
    EXPECT_EQ(f.Size, 0u);
    ASSERT_TRUE(GetFileFacts(dir / "song.mp3", f));
    EXPECT_EQ(f.Kind, FileKind::Other);
    // A link is followed, but hidden goes by the link's own name.
    ASSERT_TRUE(GetFileFacts(dir / ".link", f));
    EXPECT_EQ(f.Kind, FileKind::Regular);
    EXPECT_EQ(f.Attr, faHidden);
    EXPECT_EQ(f.Size, 5u);
    EXPECT_FALSE(GetFileFacts(dir / "dangling", f));
    EXPECT_FALSE(GetFileFacts(dir / "missing", f));
}

TEST(FileFacts, SizesAndTimesAreFullWidth) {
    TempDir dir;
    const std::string path = dir / "big";
    WriteFileBytes(path, "");
    const std::uint64_t fiveGiB = 5ull << 30;  // sparse: no disk space is used
    ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(fiveGiB)), 0);
    const timespec times[2] = {{4102444800, 0}, {946684800, 500000000}};  // 2100, 2000
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    FileFacts f;
    ASSERT_TRUE(GetFileFacts(path, f));
    EXPECT_EQ(f.Size, fiveGiB);
    EXPECT_EQ(f.Accessed.Seconds, 4102444800);
    EXPECT_EQ(f.Modified.Seconds, 946684800);
    EXPECT_EQ(f.Modified.Nanoseconds, 500000000u);
    EXPECT_NE(f.Created.Seconds, 0);
}

}  // namespace
}  // namespace rv
