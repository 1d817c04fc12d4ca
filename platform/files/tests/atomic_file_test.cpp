#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/files/atomic_file.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

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

TEST(AtomicFile, CreatesAndReplacesAndLeavesNoTemporaryFile) {
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

TEST(AtomicFile, AbandonedWritersAndMissingFoldersLeaveNothingBehind) {
    test::TempDir dir;
    test::WriteFileBytes(dir / "f", "old");
    AtomicFileWriter(dir / "f").Write("new");  // never committed
    EXPECT_EQ(test::ReadFileBytes(dir / "f"), "old");
    try {
        ReplaceFileAtomically(dir / "no/such/lib.rvl", "x");
        FAIL() << "no error";
    } catch (const EFileError& e) {
        EXPECT_NE(e.Message().find("lib.rvl"), std::string::npos);
    }
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

}  // namespace
}  // namespace rv
