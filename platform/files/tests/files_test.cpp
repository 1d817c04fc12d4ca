#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files/atomic_file.h"
#include "platform/files/read_only_file.h"
#include "testsupport/file_size_limit.h"
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
        test::FileSizeLimit limit(10000);  // and the system's signal not ignored by the test
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

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

std::string LinkText(const std::string& path) {
    char text[4096];
    const ssize_t n = readlink(path.c_str(), text, sizeof text);
    return n < 0 ? "(no link)" : std::string(text, static_cast<size_t>(n));
}

TEST(AtomicFile, ASaveThroughLinksReplacesTheFileTheyLeadTo) {
    test::TempDir dir;
    ASSERT_EQ(mkdir((dir / "real").c_str(), 0700), 0);
    test::WriteFileBytes(dir / "real/lib.rvl", "old");
    chmod((dir / "real/lib.rvl").c_str(), 0604);
    ASSERT_EQ(symlink("real/lib.rvl", (dir / "link.rvl").c_str()), 0);
    ASSERT_EQ(symlink((dir / "link.rvl").c_str(), (dir / "chain.rvl").c_str()), 0);
    ReplaceFileAtomically(dir / "chain.rvl", "new");
    EXPECT_EQ(LinkText(dir / "chain.rvl"), dir / "link.rvl");
    EXPECT_EQ(LinkText(dir / "link.rvl"), "real/lib.rvl");
    EXPECT_EQ(test::ReadFileBytes(dir / "real/lib.rvl"), "new");
    EXPECT_EQ(ModeOf(dir / "real/lib.rvl"), 0604u);
    EXPECT_EQ(EntriesIn(dir / "real"), 1u);

    // A link to a file not there yet makes it; a new file has the umask's permissions.
    ASSERT_EQ(symlink("made.rvl", (dir / "dangling.rvl").c_str()), 0);
    const mode_t umaskBefore = umask(027);
    ReplaceFileAtomically(dir / "dangling.rvl", "made");
    ReplaceFileAtomically(dir / "fresh.rvl", "fresh");
    umask(umaskBefore);
    EXPECT_EQ(LinkText(dir / "dangling.rvl"), "made.rvl");
    EXPECT_EQ(test::ReadFileBytes(dir / "made.rvl"), "made");
    EXPECT_EQ(ModeOf(dir / "made.rvl"), 0640u);
    EXPECT_EQ(ModeOf(dir / "fresh.rvl"), 0640u);

    // Links that lead round in a circle are an error, and stay as they were.
    ASSERT_EQ(symlink("b", (dir / "a").c_str()), 0);
    ASSERT_EQ(symlink("a", (dir / "b").c_str()), 0);
    EXPECT_THROW(ReplaceFileAtomically(dir / "a", "x"), EFileError);
    EXPECT_EQ(LinkText(dir / "a"), "b");
    EXPECT_EQ(EntriesIn(dir.Path()), 8u);
}

// Saves need no privileges (linking an unnamed file in may), and a folder the user may not write
// to refuses them. Run as root, the saves run in a child process as the user nobody.
TEST(AtomicFile, SavesWithoutPrivileges) {
    test::TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    ASSERT_EQ(mkdir((dir / "closed").c_str(), 0700), 0);
    ASSERT_EQ(chmod((dir / "closed").c_str(), 0555), 0);
    const auto save = [&dir] {
        ReplaceFileAtomically(dir / "lib.rvl", "saved");
        try {
            ReplaceFileAtomically(dir / "closed/lib.rvl", "refused");
            return false;
        } catch (const EFileError&) {
        }
        std::string content;
        return ReadWholeFile(dir / "lib.rvl", content) && content == "saved";
    };
    if (geteuid() != 0) {
        EXPECT_TRUE(save());
    } else {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            constexpr uid_t kNobody = 65534;
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
            _exit(save() ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    EXPECT_EQ(test::ReadFileBytes(dir / "lib.rvl"), "saved");
    EXPECT_EQ(EntriesIn(dir.Path()), 2u);
    EXPECT_EQ(EntriesIn(dir / "closed"), 0u);
}

// Starts a save of `path` in a child process and kills it half-way.
void KillASave(const std::string& path) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        try {
            AtomicFileWriter writer(path);
            writer.Write(std::string(1 << 20, 'n'));  // more than is buffered: on disk
            (void)!write(ready[1], "w", 1);
            pause();
        } catch (...) {
        }
        _exit(1);
    }
    close(ready[1]);
    char c = 0;
    EXPECT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
}

TEST(AtomicFile, ASaveKilledHalfWayLeavesNothingBehind) {
    test::TempDir dir;
    const std::string path = dir / "lib.rvl";
    test::WriteFileBytes(path, "old");
    const int probe = open(dir.Path().c_str(), O_TMPFILE | O_WRONLY, 0600);
    if (probe < 0) GTEST_SKIP() << "the file system of " << dir.Path() << " has no unnamed files";
    close(probe);
    KillASave(path);
    EXPECT_EQ(test::ReadFileBytes(path), "old");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

// Where temporary files have names, a save killed half-way leaves one, which the next save of
// the same file removes; the files of a save still running, and other files, stay.
TEST(AtomicFile, TemporaryFilesOfSavesCutShortGoBeforeTheNextSave) {
    test::TempDir dir;
    const std::string path = dir / "lib.rvl";
    test::WriteFileBytes(path, "old");
    AtomicFileWriter::UseUnnamedFiles(false);
    AtomicFileWriter running(dir / "lib.rvl");
    running.Write("running");
    KillASave(path);
    test::WriteFileBytes(dir / ".lib.rvl.tmp-12x", "no name of ours");
    test::WriteFileBytes(dir / ".other.rvl.tmp-12", "another file's");
    EXPECT_EQ(EntriesIn(dir.Path()), 5u);

    ReplaceFileAtomically(path, "new");
    EXPECT_EQ(test::ReadFileBytes(path), "new");
    EXPECT_EQ(EntriesIn(dir.Path()), 4u);  // the killed save's file gone
    running.Commit();
    EXPECT_EQ(test::ReadFileBytes(path), "running");
    EXPECT_EQ(EntriesIn(dir.Path()), 3u);
    AtomicFileWriter::UseUnnamedFiles(true);
}

}  // namespace
}  // namespace rv
