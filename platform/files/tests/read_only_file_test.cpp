#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/files/read_only_file.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(ReadOnlyFile, ReadsByPositionAndReportsShortReads) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "f", "0123456789");
    ReadOnlyFile file(dir / "f");
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Size(), 10u);
    char buf[8] = {};
    EXPECT_EQ(file.ReadAt(6, buf, 8), 4u);
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_EQ(file.ReadAt(10, buf, 1), 0u);
    EXPECT_EQ(file.ReadAt(~0ull, buf, 1), 0u);
    EXPECT_TRUE(file.ReadExactAt(0, buf, 3));
    EXPECT_FALSE(file.ReadExactAt(8, buf, 3));

    // A moved file is the new owner's; the old one is closed.
    ReadOnlyFile moved(std::move(file));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(moved.ReadAt(0, buf, 1), 1u);
    std::string content;
    EXPECT_TRUE(ReadWholeFile(dir / "f", content));
    EXPECT_EQ(content, "0123456789");
}

TEST(ReadOnlyFile, RefusesWhatIsNotARegularFile) {
    test::TempDir dir;
    ReadOnlyFile file;
    EXPECT_FALSE(file.Open(dir / "missing"));
    EXPECT_FALSE(file.Open(dir.Path()));
    ASSERT_EQ(mkfifo((dir / "fifo.mp3").c_str(), 0600), 0);
    EXPECT_FALSE(file.Open(dir / "fifo.mp3"));  // and does not block
    char c;
    EXPECT_EQ(file.ReadAt(0, &c, 1), 0u);
    std::string content = "kept";
    EXPECT_FALSE(ReadWholeFile(dir / "missing", content));
    EXPECT_EQ(content, "kept");
}

}  // namespace
}  // namespace rv
