#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_ini_file.h"
#include "platform/registry/registry_text.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "platform/text/format.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using SettingsFile = test::SettingsSandbox;

const std::string kBase = "SOFTWARE\\Lorvix\\Reelvault";

std::string FolderOf(const std::string& path) {
    return std::filesystem::path(path).parent_path().string();
}

std::vector<std::string> DamagedFiles() {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(FolderOf(SettingsFilePath())))
        if (entry.path().filename().string().starts_with("hkcu.reg.damaged-"))
            found.push_back(entry.path().string());
    return found;
}

mode_t ModeOf(const std::string& path) {
    struct stat facts {};
    EXPECT_EQ(stat(path.c_str(), &facts), 0) << path;
    return facts.st_mode & 07777;
}

// Runs `body` in a child process; its exit code is 0 when the body returned.
pid_t StartChild(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            _exit(1);
        }
        _exit(0);
    }
    return pid;
}

int ExitCodeOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(SettingsFile, IsReadableTextWithEveryAwkwardByteEscaped) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kBase + "\\1.x", true));
        reg.WriteString("FormVersion", "0");
        reg.WriteString("Odd \"name\" (x)", "back\\slash\nline2\ttab\x01\x7f");
        reg.WriteString("Bytes", "caf\xc3\xa9 \xff\xfe bad \xef\xbf\xbd ok \xc3");
        ASSERT_TRUE(reg.OpenKey("MP3 Player", true));
        reg.WriteString("", "default value");
        ASSERT_TRUE(reg.OpenKey("\\" + kBase + "\\1.x\\Recent Files", true));
    }
    const std::string expected =
        "; Settings of Lorvix Reelvault for the current user, kept by the program.\n"
        "\n[HKEY_CURRENT_USER\\SOFTWARE\\Lorvix\\Reelvault\\1.x]\n"
        "\"FormVersion\"=\"0\"\n"
        "\"Odd \\\"name\\\" (x)\"=\"back\\\\slash\\nline2\\ttab\\x01\\x7f\"\n"
        "\"Bytes\"=\"caf\xc3\xa9 \\xff\\xfe bad \xef\xbf\xbd ok \\xc3\"\n"
        "\n[HKEY_CURRENT_USER\\SOFTWARE\\Lorvix\\Reelvault\\1.x\\MP3 Player]\n"
        "\"\"=\"default value\"\n"
        "\n[HKEY_CURRENT_USER\\SOFTWARE\\Lorvix\\Reelvault\\1.x\\Recent Files]\n";
    EXPECT_EQ(test::ReadFileBytes(File()), expected);

    // Edited by hand: CRLF line ends, comments, repeated headers, upper-case escapes.
    test::WriteFileBytes(File(),
                         "; mine\r\n[hkey_current_user\\SOFTWARE\\Lorvix\\Reelvault\\1.x]\r\n"
                         "\"A\"=\"\\x41\\x4A\"\r\n\r\n[HKEY_CURRENT_USER\\software\\lorvix\\"
                         "reelvault\\1.X]\r\n\"b\"=\"2\"\r\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(kBase + "\\1.x"));
    EXPECT_EQ(reg.GetValueNames(), (std::vector<std::string>{"A", "b"}));
    EXPECT_EQ(reg.ReadString("a"), "AJ");
}

TEST(RegistryText, RandomNamesAndBytesComeBackExactly) {
    std::mt19937 random(20240607);
    auto bytes = [&](std::size_t most) {
        std::string text(random() % (most + 1), '\0');
        for (char& c : text) c = static_cast<char>(random() % 256);
        return text;
    };
    RegistryKey root;
    std::vector<std::pair<KeyPath, RegistryValue>> written;
    for (int i = 0; i < 300; ++i) {
        const KeyPath path{Format("K%d", static_cast<int>(random() % 4)), Format("Sub (%d", i % 3)};
        RegistryValue value{std::to_string(i) + bytes(12), bytes(40)};
        root.Create(path).SetValue(value.name, value.data);
        written.emplace_back(path, std::move(value));
    }
    RegistryKey back;
    std::string error;
    ASSERT_TRUE(ReadRegistryText(WriteRegistryText(root), back, error)) << error;
    for (const auto& [path, value] : written) {
        const RegistryKey* key = back.Find(path);
        ASSERT_NE(key, nullptr);
        const RegistryValue* found = key->FindValue(value.name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->data, value.data);
    }
}

TEST(RegistryText, RefusesWhatItDidNotWriteAndWhatIsTooLarge) {
    const std::string key = "[HKEY_CURRENT_USER\\K]\n";
    std::string deep = "[HKEY_CURRENT_USER";
    for (int i = 0; i < 600; ++i) deep += "\\k";
    const std::vector<std::string> bad = {
        "[HKEY_LOCAL_MACHINE\\K]\n",
        "[HKEY_CURRENT_USERS\\K]\n",
        "[HKEY_CURRENT_USER\\a\\\\b]\n",
        "[HKEY_CURRENT_USER\\K\n",
        "\"a\"=\"b\"\n",
        key + "\"a\"=\"b",
        key + "\"a\"=\"b\" x",
        key + "\"a\"\"b\"",
        key + "\"a\"=\"\\q\"",
        key + "\"a\"=\"\\x4\"",
        key + "\"a\"=\"tab\there\"",
        key + "a=b",
        key + "\"a\"=\"caf\xe9\"\n",
        deep + "]\n",
        "[HKEY_CURRENT_USER\\" + std::string(256, 'k') + "]\n",
        key + "\"a\"=\"" + std::string(kMaxValueBytes + 1, 'v') + "\"\n",
        key + "\"" + std::string(kMaxValueNameBytes + 1, 'n') + "\"=\"\"\n",
        std::string(kMaxSettingsFileBytes + 1, ';'),
    };
    for (const auto& text : bad) {
        RegistryKey root;
        std::string error;
        EXPECT_FALSE(ReadRegistryText(text, root, error)) << text.substr(0, 60);
        EXPECT_FALSE(error.empty());
    }
}

TEST_F(SettingsFile, DamagedFileIsSetAsideAndDefaultsAreRead) {
    const std::string garbage = "[HKEY_CURRENT_USER\\SOFTWARE]\n\"unterminated\n";
    std::filesystem::create_directories(FolderOf(File()));
    test::WriteFileBytes(File(), garbage);
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", "default"), "default");
    EXPECT_FALSE(test::FileExists(File()));
    auto aside = DamagedFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(test::ReadFileBytes(aside[0]), garbage);
    // The program learns the kept copy's name once, to tell the user.
    EXPECT_EQ(TakeSetAsideSettingsFiles(), aside);
    EXPECT_TRUE(TakeSetAsideSettingsFiles().empty());

    // Writing starts afresh; a second damaged file, even a huge one, gets a name of its own.
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "mine");
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", ""), "mine");
    test::WriteFileBytes(File(), std::string(3 * kMaxSettingsFileBytes, '['));
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "again");
    EXPECT_EQ(DamagedFiles().size(), 2u);
    EXPECT_EQ(TakeSetAsideSettingsFiles().size(), 1u);
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", ""), "again");
}

TEST_F(SettingsFile, HarmlessFormsOfAHandEditAreRead) {
    const std::string header = "[HKEY_CURRENT_USER\\SOFTWARE\\Lorvix\\Reelvault\\1.x]";
    const std::string value = "\"Site\"=\"mine\"";
    const std::string edits[] = {
        "\xEF\xBB\xBF" + header + "\n" + value + "\n",            // a byte-order mark
        "\xEF\xBB\xBF; mine\n" + header + "\n" + value,           // one before a comment
        header + " \t\r\n" + value + "  \r\n",                    // blanks after ] and a value
        "  " + header + "\n\t" + value + "\n   \n  ; comment\n",  // indented lines
        header + "\n\"Site\" = \"mine\"\n",                       // blanks around =
    };
    std::filesystem::create_directories(FolderOf(File()));
    for (const auto& edit : edits) {
        test::WriteFileBytes(File(), edit);
        EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", "lost"), "mine")
            << edit;
    }
    EXPECT_TRUE(DamagedFiles().empty());
    // Blanks inside the brackets and the quotes belong to the names.
    test::WriteFileBytes(File(), header.substr(0, header.size() - 1) + " ]\n\" Site\"=\"x\"\n");
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x ", " Site", ""), "x");
}

TEST_F(SettingsFile, ReadsNeverWaitForAWriterHoldingTheLock) {
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "mine");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t holder = StartChild([&] {
        const int fd = open((File() + ".lock").c_str(), O_RDWR);
        if (flock(fd, LOCK_EX) == 0 && write(ready[1], "x", 1) == 1) pause();
    });
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    // A damaged file too reads as the defaults at once; it is left for whoever finds the lock
    // free.
    for (const char* expected : {"mine", "default", "default"}) {
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", "default"), expected);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        test::WriteFileBytes(File(), "[HKEY_CURRENT_USER\\SOFTWARE\n");
    }
    EXPECT_TRUE(DamagedFiles().empty());
    kill(holder, SIGKILL);
    ExitCodeOf(holder);
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", "default"), "default");
    EXPECT_EQ(TakeSetAsideSettingsFiles(), DamagedFiles());
    EXPECT_EQ(DamagedFiles().size(), 1u);
}

TEST_F(SettingsFile, ParsedFileIsKeptUntilTheFileChanges) {
    // Moves the file's modification time into the past, as if written long ago.
    auto age = [](int seconds) {
        const timespec times[2] = {{0, UTIME_OMIT}, {time(nullptr) - seconds, 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, File().c_str(), times, 0), 0);
    };
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "mine");
    const RegistryFile file(File());
    // Written within the file system clock's tick, it might change unseen: read every time.
    EXPECT_NE(file.Load(), file.Load());
    age(60);
    const auto kept = file.Load();
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", ""), "mine");
    EXPECT_EQ(file.Load(), kept);
    age(30);  // another time, or another file: read again
    EXPECT_NE(file.Load(), kept);
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "new");
    age(60);
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("1.x", "Site", ""), "new");
}

TEST_F(SettingsFile, ChangesPastTheLimitsOfAFileAreNotWritten) {
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "mine");
    const std::string before = test::ReadFileBytes(File());
    for (const bool keys : {true, false}) {
        TRegistryIniFile ini(kBase);
        for (std::size_t i = 0; i <= (keys ? kMaxKeysPerFile : kMaxValuesPerFile); ++i)
            ini.WriteString(keys ? "Many\\" + std::to_string(i) : "Many", std::to_string(i), "");
        EXPECT_THROW(ini.UpdateFile(), ERegistryException);
    }
    EXPECT_EQ(test::ReadFileBytes(File()), before);
}

TEST_F(SettingsFile, FolderAndFileAreForTheOwnerOnly) {
    const mode_t savedMask = umask(022);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(kBase, true));
        reg.WriteString("ProxyPwd", "2f0b");
    }
    EXPECT_EQ(ModeOf(dir_ / "config"), 0700u);  // created as the XDG rules ask
    EXPECT_EQ(ModeOf(FolderOf(File())), 0700u);
    EXPECT_EQ(ModeOf(File()), 0600u);
    chmod(FolderOf(File()).c_str(), 0755);
    chmod(File().c_str(), 0644);
    TRegistryIniFile(kBase).WriteString("", "ProxyPwd", "2f0c");
    EXPECT_EQ(ModeOf(FolderOf(File())), 0700u);
    EXPECT_EQ(ModeOf(File()), 0600u);
    umask(savedMask);
}

TEST_F(SettingsFile, LocationFollowsTheXdgRules) {
    const std::string fallback = dir_ / "home/.config/lorvix-reelvault/hkcu.reg";
    EXPECT_EQ(File(), dir_ / "config/lorvix-reelvault/hkcu.reg");
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(File(), fallback);
    setenv("XDG_CONFIG_HOME", "", 1);
    EXPECT_EQ(File(), fallback);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(File(), fallback);

    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    TRegistryIniFile(kBase).WriteString("1.x", "Site", "x");
    EXPECT_TRUE(test::FileExists(fallback));
    EXPECT_FALSE(std::filesystem::exists("relative"));
}

TEST_F(SettingsFile, TwoProcessesWritingAtOnceKeepBothValues) {
    constexpr int kWrites = 60;
    auto writer = [](int process) {
        return [process] {
            for (int n = 0; n < kWrites; ++n) {
                TRegistryIniFile ini(kBase);
                ini.WriteInteger("Shared", Format("P%d-%d", process, n), n);
                ini.WriteInteger("Shared", "Last", process);
                ini.UpdateFile();
            }
        };
    };
    const pid_t first = StartChild(writer(1));
    const pid_t second = StartChild(writer(2));
    EXPECT_EQ(ExitCodeOf(first), 0);
    EXPECT_EQ(ExitCodeOf(second), 0);
    TRegistryIniFile ini(kBase, KEY_READ);
    EXPECT_EQ(ini.ReadSection("Shared").size(), 2u * kWrites + 1);
    EXPECT_EQ(ini.ReadInteger("Shared", "P2-" + std::to_string(kWrites - 1), -1), kWrites - 1);
}

TEST_F(SettingsFile, AWriterKilledMidWriteLeavesTheOldOrTheNewValues) {
    constexpr int kValues = 40;
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const pid_t pid = StartChild([] {
            for (int generation = 1;; ++generation) {
                TRegistryIniFile ini(kBase);
                for (int v = 0; v < kValues; ++v)
                    ini.WriteString("Gen", Format("V%d", v),
                                    std::to_string(generation) + std::string(1000, '.'));
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + random() % 40));
        kill(pid, SIGKILL);
        ExitCodeOf(pid);
        if (!test::FileExists(File())) continue;
        RegistryKey root;
        std::string error;
        ASSERT_TRUE(ReadRegistryText(test::ReadFileBytes(File()), root, error)) << error;
        const RegistryKey* key = root.Find({"SOFTWARE", "Lorvix", "Reelvault", "Gen"});
        if (!key) {  // killed before its first write was complete
            EXPECT_TRUE(root.SubKeys().empty());
            continue;
        }
        ASSERT_EQ(key->Values().size(), static_cast<std::size_t>(kValues));
        for (const auto& value : key->Values()) EXPECT_EQ(value.data, key->Values()[0].data);
    }
    // The lock died with its holder.
    TRegistryIniFile(kBase).WriteString("Gen", "V0", "parent");
    EXPECT_EQ(TRegistryIniFile(kBase, KEY_READ).ReadString("Gen", "V0", ""), "parent");
    EXPECT_TRUE(DamagedFiles().empty());
}

}  // namespace
}  // namespace rv
