#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/files/atomic_file.h"
#include "platform/files/read_only_file.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

TEST(ReadOnlyFile, ReadsByPositionReportsShortReadsAndRefusesWhatIsNotARegularFile) {
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

    // What is not a regular file is refused.
    ReadOnlyFile other;
    EXPECT_FALSE(other.Open(dir / "missing"));
    EXPECT_FALSE(other.Open(dir.Path()));
    ASSERT_EQ(mkfifo((dir / "fifo.mp3").c_str(), 0600), 0);
    EXPECT_FALSE(other.Open(dir / "fifo.mp3"));  // and does not block
    EXPECT_EQ(other.ReadAt(0, buf, 1), 0u);
    content = "kept";
    EXPECT_FALSE(ReadWholeFile(dir / "missing", content));
    EXPECT_EQ(content, "kept");
}

size_t EntriesIn(const std::string& folder) {
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

// Caps the size of any file this process writes, for the life of the object.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = signal(SIGXFSZ, SIG_IGN);  // report EFBIG instead of killing us
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    sighandler_t oldHandler_{};
};

TEST(AtomicFile, CreatesReplacesAndLeavesNothingBehindWhenAbandonedOrMisdirected) {
    test::TempDir dir;
    ReplaceFileAtomically(dir / "lib.rvl", "first");
    EXPECT_EQ(test::ReadFileBytes(dir / "lib.rvl"), "first");
    chmod((dir / "lib.rvl").c_str(), 0640);
    ReplaceFileAtomically(dir / "lib.rvl", std::string(200000, 'x'));
    EXPECT_EQ(test::ReadFileBytes(dir / "lib.rvl"), std::string(200000, 'x'));
    struct stat st;
    ASSERT_EQ(stat((dir / "lib.rvl").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    // Abandoned writers and missing folders leave nothing behind.
    test::WriteFileBytes(dir / "f", "old");
    AtomicFileWriter(dir / "f").Write("new");  // never committed
    EXPECT_EQ(test::ReadFileBytes(dir / "f"), "old");
    try {
        ReplaceFileAtomically(dir / "no/such/lib.rvl", "x");
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(e.Message().find("lib.rvl"), std::string::npos);
    }
    EXPECT_EQ(EntriesIn(dir.Path()), 2u);
}

TEST(AtomicFile, AFailedWriteLeavesTheOldFileByteForByte) {
    test::TempDir dir;
    std::string old;
    for (int i = 0; i < 4096; ++i) old.push_back(static_cast<char>(i * 7));
    test::WriteFileBytes(dir / "lib.rvl", old);
    {
        FileSizeLimit limit(10000);
        AtomicFileWriter writer(dir / "lib.rvl");
        EXPECT_THROW(
            {
                for (int i = 0; i < 100; ++i) writer.Write(std::string(1000, 'n'));
                writer.Commit();
            },
            EFileError);
    }
    EXPECT_EQ(test::ReadFileBytes(dir / "lib.rvl"), old);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace rv
