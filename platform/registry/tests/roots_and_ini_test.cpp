// The registry's other roots, each a settings file of its own, and INI files: real INI text,
// read and written as the system's profile functions do.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/registry/ini_file.h"
#include "platform/registry/ini_text.h"
#include "platform/registry/registry.h"
#include "platform/registry/registry_file.h"
#include "platform/registry/registry_ini_file.h"
#include "platform/registry/settings_location.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using Names = std::vector<std::string>;
using Roots = test::SettingsSandbox;
using IniFile = test::SettingsSandbox;

std::string Beside(const std::string& name) {
    return SettingsFolder() + "/" + name;
}

mode_t ModeOf(const std::string& path) {
    struct stat facts {};
    EXPECT_EQ(stat(path.c_str(), &facts), 0) << path;
    return facts.st_mode & 07777;
}

TEST_F(Roots, EachRootIsAFileBesideTheCurrentUsersAndKeepsItsOwnKeys) {
    const std::string key = "SOFTWARE\\Lorvix\\Reelvault";
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        EXPECT_FALSE(reg.OpenKeyReadOnly(key));
        ASSERT_TRUE(reg.OpenKey(key, true));
        reg.WriteString("Where", "machine");
    }
    EXPECT_FALSE(test::FileExists(File()));
    EXPECT_EQ(test::ReadFileBytes(Beside("hklm.reg")),
              "; Settings of Lorvix Reelvault in HKEY_LOCAL_MACHINE, kept by the program.\n"
              "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lorvix\\Reelvault]\n\"Where\"=\"machine\"\n");

    // The same key under two roots: two keys.
    TRegistryIniFile user(key);
    user.WriteString("1.x", "Where", "user");
    user.UpdateFile();
    const std::vector<std::pair<HKEY, const char*>> roots = {{HKEY_CLASSES_ROOT, "hkcr.reg"},
                                                             {HKEY_USERS, "hku.reg"},
                                                             {HKEY_CURRENT_CONFIG, "hkcc.reg"},
                                                             {HKEY_DYN_DATA, "hkdd.reg"}};
    for (const auto& [root, file] : roots) {
        // Read-only, nothing is created.
        TRegistryIniFile reader(key, KEY_READ, root);
        EXPECT_EQ(reader.ReadString("1.x", "Where", "none"), "none");
        EXPECT_THROW(reader.WriteString("1.x", "Where", "x"), ERegistryException);
        TRegistryIniFile writer(key, KEY_ALL_ACCESS, root);
        writer.WriteString("1.x", "Where", file);
        writer.UpdateFile();
        EXPECT_TRUE(test::FileExists(Beside(file))) << file;
        EXPECT_EQ(ModeOf(Beside(file)), 0600u) << file;
    }
    TRegistry reg(KEY_READ);
    for (const auto& [root, file] : roots) {
        reg.SetRootKey(root);
        ASSERT_TRUE(reg.OpenKeyReadOnly(key + "\\1.x"));
        EXPECT_EQ(reg.ReadString("Where"), file);
    }
    EXPECT_EQ(TRegistryIniFile(key, KEY_READ).ReadString("1.x", "Where", ""), "user");
    EXPECT_EQ(TRegistryIniFile(key, KEY_READ, HKEY_LOCAL_MACHINE).ReadSection(""), Names{"Where"});

    // A file holding another root's keys is damaged: set aside, read as empty.
    test::WriteFileBytes(Beside("hku.reg"), "[HKEY_CURRENT_USER\\SOFTWARE]\n\"a\"=\"b\"\n");
    EXPECT_EQ(TRegistryIniFile("SOFTWARE", KEY_READ, HKEY_USERS).ReadString("", "a", "none"),
              "none");
    EXPECT_FALSE(test::FileExists(Beside("hku.reg")));
    const Names aside = TakeSetAsideSettingsFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_TRUE(aside[0].starts_with(Beside("hku.reg.damaged-")));

    // A value that names no root keeps nothing.
    TRegistryIniFile none(key, KEY_ALL_ACCESS, 0x80000004);
    EXPECT_THROW(none.WriteString("1.x", "Where", "x"), ERegistryException);
}

TEST_F(IniFile, IsRealIniTextWithQuotesReadAsTheSystemDoes) {
    TIniFile ini("reelvault.INI");
    EXPECT_EQ(ini.FileName(), Beside("reelvault.INI"));
    EXPECT_EQ(ini.ReadString("1.x", "Site", "default"), "default");
    ini.WriteString("1.x", "FormVersion", "0");
    ini.WriteInteger("1.x", "TreePanel_Width", 231);
    ini.WriteBool("1.x", "Visible", true);
    ini.WriteString("1.x.cbSites_Items", "Count", "1");
    ini.WriteString("1.x", "Padded", "  two blanks  ");
    ini.WriteString("1.x", "Quoted", "\"in quotes\"");
    ini.WriteString("1.x", "Single", "'x'");
    ini.WriteString("1.x", "Mixed", "'x\"");
    ini.WriteString("1.x", "Empty", "");
    EXPECT_EQ(ini.ReadString("1.X", "treepanel_width", ""), "231");  // its own changes at once
    EXPECT_FALSE(test::FileExists(ini.FileName()));
    ini.UpdateFile();
    EXPECT_EQ(test::ReadFileBytes(ini.FileName()),
              "[1.x]\nFormVersion=0\nTreePanel_Width=231\nVisible=1\nPadded=\"  two blanks  \"\n"
              "Quoted=\"in quotes\"\nSingle='x'\nMixed='x\"\nEmpty=\n"
              "\n[1.x.cbSites_Items]\nCount=1\n");

    TIniFile again("reelvault.INI");
    EXPECT_EQ(again.ReadInteger("1.x", "TreePanel_Width", 0), 231);
    EXPECT_TRUE(again.ReadBool("1.x", "Visible", false));
    EXPECT_EQ(again.ReadString("1.x", "Padded", ""), "  two blanks  ");
    // One pair of enclosing quotes goes, as the system's functions take it away.
    EXPECT_EQ(again.ReadString("1.x", "Quoted", ""), "in quotes");
    EXPECT_EQ(again.ReadString("1.x", "Single", ""), "x");
    EXPECT_EQ(again.ReadString("1.x", "Mixed", ""), "'x\"");
    EXPECT_EQ(again.ReadString("1.x", "Empty", "default"), "");
    EXPECT_EQ(again.ReadSection("1.X"), (Names{"FormVersion", "TreePanel_Width", "Visible",
                                               "Padded", "Quoted", "Single", "Mixed", "Empty"}));

    // What a line of an INI file cannot hold is refused, and nothing of it is written.
    for (const auto& [section, ident, value] :
         std::vector<std::array<std::string, 3>>{{"", "a", "b"},
                                                 {"a]b", "a", "b"},
                                                 {" s", "a", "b"},
                                                 {"s", "", "b"},
                                                 {"s", "a=b", "c"},
                                                 {"s", "[a", "c"},
                                                 {"s", ";a", "c"},
                                                 {"s", "a ", "c"},
                                                 {"s", "tab\there", "c"},
                                                 {"s", "a", "two\nlines"},
                                                 {"s", "a", "cr\r"},
                                                 {"caf\xe9", "a", "b"},
                                                 {"s", "caf\xe9", "b"},
                                                 {"s", "a", "caf\xe9"}})
        EXPECT_THROW(again.WriteString(section, ident, value), ERegistryException) << ident;
    again.EraseSection("1.x.cbSites_Items");
    again.EraseSection("missing");
    again.UpdateFile();
    EXPECT_EQ(test::ReadFileBytes(again.FileName()).find("cbSites"), std::string::npos);
}

TEST_F(IniFile, AHandWrittenFileKeepsEveryLineItDoesNotChange) {
    const std::string path = dir_ / "shared.ini";
    test::WriteFileBytes(path,
                         "\xEF\xBB\xBF; kept by hand\r\n"
                         "stray=before any section\n"
                         "[Other]\n"
                         "  Name = Value with blanks  \n"
                         "#hash=not a comment\n"
                         "name=the second one\n"
                         "no equals sign\n"
                         "\n"
                         "[1.x] trailing words\n"
                         "[ ]\n"
                         "Width=100\n"
                         "[other]\n"
                         "Late=in the first of its name\n");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(dir_.Path().c_str(), 0755), 0);
    {
        TIniFile ini(path);
        EXPECT_EQ(ini.FileName(), path);
        EXPECT_EQ(ini.ReadString("OTHER", "name", ""), "Value with blanks");  // the first
        EXPECT_EQ(ini.ReadString("Other", "#HASH", ""), "not a comment");
        EXPECT_EQ(ini.ReadString("Other", "Late", ""), "in the first of its name");
        EXPECT_EQ(ini.ReadSection("Other"), (Names{"Name", "#hash", "Late"}));
        EXPECT_EQ(ini.ReadString("", "stray", "none"), "none");
        EXPECT_EQ(ini.ReadInteger("1.x", "Width", 0), 100);
        ini.WriteInteger("1.x", "Width", 231);
        ini.WriteString("1.x", "Height", "88");
    }
    EXPECT_EQ(test::ReadFileBytes(path),
              "; kept by hand\n"
              "stray=before any section\n"
              "\n[Other]\n"
              "Name=Value with blanks\n"
              "#hash=not a comment\n"
              "name=the second one\n"
              "no equals sign\n"
              "Late=in the first of its name\n"
              "\n[1.x]\n"
              "[ ]\n"
              "Width=231\n"
              "Height=88\n");
    // Someone else's file and folder keep their modes.
    EXPECT_EQ(ModeOf(path), 0644u);
    EXPECT_EQ(ModeOf(dir_.Path()), 0755u);

    // A file that is not UTF-8 is set aside, never overwritten.
    const std::string latin = dir_ / "latin.ini";
    test::WriteFileBytes(latin, "[s]\nname=caf\xe9\n");
    TIniFile old(latin);
    EXPECT_EQ(old.ReadString("s", "name", "none"), "none");
    EXPECT_FALSE(test::FileExists(latin));
    const Names aside = TakeSetAsideSettingsFiles();
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(test::ReadFileBytes(aside[0]), "[s]\nname=caf\xe9\n");
}

// The sections, values and kept lines of a tree read from INI text, in order; kept lines by their
// text alone, since their numbers follow the lines of the file they came from.
std::string Content(const RegistryKey& root) {
    std::string out;
    auto values = [&out](const RegistryKey& key) {
        for (const auto& value : key.Values())
            out += (IsKeptIniLine(value.name) ? "-" : "+" + value.name + "=") + value.data + "\n";
    };
    values(root);
    for (const auto& section : root.SubKeys()) {
        out += "[" + section->Name() + "]\n";
        values(*section);
    }
    return out;
}

// Reads `text`, writes it and reads that again: the same sections, values and kept lines, which
// are written the same again.
void ExpectReadBackTheSame(const std::string& text) {
    RegistryKey root;
    std::string error;
    ASSERT_TRUE(ReadIniText(text, root, error)) << error;
    const std::string written = WriteIniText(root);
    RegistryKey again;
    ASSERT_TRUE(ReadIniText(written, again, error)) << error;
    EXPECT_EQ(Content(again), Content(root)) << text;
    EXPECT_EQ(WriteIniText(again), written) << text;
}

TEST(IniText, OddBytesTheReaderTakesAreWrittenSoThatTheyReadBackTheSame) {
    using namespace std::string_literals;
    const std::string bom = "\xEF\xBB\xBF";
    const std::string texts[] = {
        // A mark that is not the file's first bytes is a line's own text.
        "\n" + bom,
        "    " + bom,
        bom + bom,
        "\r\n" + bom + "[s]\r\nname=value\n",
        bom + bom + "; the first line\n[s]\nname=value\n",
        // Marks, carriage returns and NULs inside sections, names and values.
        "[" + bom + "]\n" + bom + "name=" + bom + "\n" + bom + "\n",
        "[s\rt]\na\rb = c\rd\r\n\r\r\n"s + "n\0ul=\0\n\0\n"s,
    };
    for (const std::string& text : texts) ExpectReadBackTheSame(text);
}

TEST(IniText, RandomLinesReadBackAsTheyWereWrittenAndStay) {
    std::mt19937 random(20261207);
    const std::string pieces[] = {"a",  "B",  "=", "[", "]",      ";",  " ",
                                  "\t", "\"", "'", "#", "\u00e9", "x y"};
    auto line = [&] {
        std::string text;
        for (int n = int(random() % 6); n > 0; --n) text += pieces[random() % std::size(pieces)];
        return text;
    };
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int n = int(random() % 12); n > 0; --n)
            text += line() + (random() % 3 ? "\n" : "\r\n");
        ExpectReadBackTheSame(text);
    }
    RegistryKey root;
    std::string error;
    EXPECT_FALSE(ReadIniText("[s]\nv=" + std::string(kMaxValueBytes + 1, 'v'), root, error));
    EXPECT_EQ(error, "line 2: a line is too long");
}

}  // namespace
}  // namespace rv
