#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "platform/registry/registry_ini_file.h"
#include "platform/registry/tests/settings_sandbox.h"
#include "testsupport/test_files.h"

namespace rv {
namespace {

using Names = std::vector<std::string>;
using Registry = test::SettingsSandbox;
using RegistryIniFile = test::SettingsSandbox;

TEST_F(Registry, KeysAndValuesKeepTheRegistrysRules) {
    TRegistry reg;
    // Reading never creates, and a missing key does not open.
    EXPECT_FALSE(reg.OpenKeyReadOnly("SOFTWARE\\Lorvix"));
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Lorvix\\Reelvault\\1.x", false));
    EXPECT_FALSE(test::FileExists(File()));

    ASSERT_TRUE(reg.OpenKey("Software\\Lorvix\\Reelvault\\1.x", true));
    reg.WriteString("NormPos(1024x768)", "10,20,600,400");
    reg.WriteInteger("FormVersion", -7);
    reg.WriteBool("Visible", true);
    reg.WriteString("TreePanel_Width", "231");
    reg.CloseKey();
    EXPECT_THROW(reg.WriteString("Visible", "0"), ERegistryException);  // no key open

    // Names compare without case and keep their first spelling; values come in creation order.
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\LORVIX\\reelvault\\1.X\\"));
    EXPECT_EQ(reg.ReadString("normpos(1024X768)"), "10,20,600,400");
    EXPECT_EQ(reg.GetValueNames(),
              (Names{"NormPos(1024x768)", "FormVersion", "Visible", "TreePanel_Width"}));
    EXPECT_EQ(reg.ReadInteger("formversion"), -7);
    EXPECT_TRUE(reg.ReadBool("Visible"));
    EXPECT_EQ(reg.ReadString("Missing"), "");
    EXPECT_FALSE(reg.ValueExists("Missing"));
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("NormPos(1024x768)"), ERegistryException);
    EXPECT_THROW(reg.WriteString("Visible", "0"), ERegistryException);  // opened read-only

    // Relative paths start at the open key.
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Lorvix", false));
    EXPECT_EQ(reg.GetKeyNames(), Names{"Reelvault"});
    ASSERT_TRUE(reg.OpenKey("Reelvault\\1.x\\MP3 Player", true));
    reg.WriteString("od_InitialDir", "/music");
    ASSERT_TRUE(reg.OpenKey("\\software\\lorvix\\reelvault\\1.x", false));
    EXPECT_EQ(reg.GetKeyNames(), Names{"MP3 Player"});
    reg.WriteString("FORMVERSION", "1");  // replaced in place, first spelling kept
    EXPECT_TRUE(reg.DeleteValue("visible"));
    EXPECT_FALSE(reg.DeleteValue("visible"));
    EXPECT_EQ(reg.GetValueNames(), (Names{"NormPos(1024x768)", "FormVersion", "TreePanel_Width"}));
    EXPECT_EQ(reg.ReadString("FormVersion"), "1");

    // A key goes with its whole tree.
    reg.CloseKey();
    EXPECT_TRUE(reg.DeleteKey("SOFTWARE\\Lorvix\\Reelvault\\1.x"));
    EXPECT_FALSE(reg.DeleteKey("SOFTWARE\\Lorvix\\Reelvault\\1.x"));
    EXPECT_FALSE(reg.OpenKeyReadOnly("SOFTWARE\\Lorvix\\Reelvault\\1.x\\MP3 Player"));
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\Lorvix\\Reelvault"));
    EXPECT_TRUE(reg.GetKeyNames().empty());

    // What the registry refuses: empty or overlong names, control characters, other roots, keys
    // opened without write access.
    EXPECT_FALSE(reg.OpenKey("a\\\\b", true));
    EXPECT_FALSE(reg.OpenKey(std::string(256, 'k'), true));
    EXPECT_FALSE(reg.OpenKey("tab\there", true));
    EXPECT_FALSE(reg.DeleteKey(""));
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey("HARDWARE", true));
    TRegistry reader(KEY_READ);
    EXPECT_FALSE(reader.OpenKey("New", true));
    EXPECT_FALSE(reader.DeleteKey("SOFTWARE"));
    ASSERT_TRUE(reader.OpenKey("SOFTWARE", true));
    EXPECT_THROW(reader.WriteString("x", "y"), ERegistryException);
}

TEST_F(Registry, ChangesAreWrittenTogetherWhenTheKeyClosesAndKeepOtherWritersValues) {
    // Absolute, since a relative path starts at the key a registry object has open.
    const std::string key = "\\SOFTWARE\\Lorvix\\Reelvault\\1.x\\Recent Files";
    TRegistry first, second, reader;
    ASSERT_TRUE(first.OpenKey(key, true));
    first.WriteString("File 0", "/a.rvl");
    first.WriteString("Shared", "first");
    EXPECT_EQ(first.ReadString("File 0"), "/a.rvl");  // its own changes show at once
    EXPECT_FALSE(reader.OpenKeyReadOnly(key));        // and nowhere else before the close

    ASSERT_TRUE(second.OpenKey(key, true));
    second.WriteString("File 1", "/b.rvl");
    second.WriteString("Shared", "second");
    first.CloseKey();
    ASSERT_TRUE(reader.OpenKeyReadOnly(key));
    EXPECT_EQ(reader.GetValueNames(), (Names{"File 0", "Shared"}));
    second.CloseKey();

    // The later writer wins per value; neither loses the other's.
    ASSERT_TRUE(reader.OpenKeyReadOnly(key));
    EXPECT_EQ(reader.GetValueNames(), (Names{"File 0", "Shared", "File 1"}));
    EXPECT_EQ(reader.ReadString("Shared"), "second");
    EXPECT_EQ(reader.ReadString("File 0"), "/a.rvl");

    // A key deleted while none is open is gone at once.
    EXPECT_TRUE(first.DeleteKey(key));
    EXPECT_FALSE(reader.OpenKeyReadOnly(key));
    EXPECT_TRUE(reader.OpenKeyReadOnly("\\SOFTWARE\\Lorvix\\Reelvault\\1.x"));

    // Destroying the object writes what is waiting.
    {
        TRegistry last;
        ASSERT_TRUE(last.OpenKey(key, true));
        last.WriteString("File 0", "/c.rvl");
    }
    ASSERT_TRUE(reader.OpenKeyReadOnly(key));
    EXPECT_EQ(reader.ReadString("File 0"), "/c.rvl");
}

TEST_F(RegistryIniFile, SectionsAreSubKeysWithTypedValues) {
    const std::string base = "SOFTWARE\\Lorvix\\Reelvault";
    {
        // Read-only: defaults, no writes, nothing created.
        TRegistryIniFile ini(base, KEY_READ);
        EXPECT_EQ(ini.ReadString("1.x", "Site", "default"), "default");
        EXPECT_EQ(ini.ReadInteger("1.x", "FormVersion", 3), 3);
        EXPECT_TRUE(ini.ReadBool("1.x", "Proxy", true));
        EXPECT_TRUE(ini.ReadSection("1.x").empty());
        EXPECT_THROW(ini.WriteString("1.x", "Site", "x"), ERegistryException);
        ini.EraseSection("1.x");
    }
    EXPECT_FALSE(test::FileExists(File()));
    {
        TRegistryIniFile ini(base);
        ini.WriteInteger("1.x", "FormVersion", 0);
        ini.WriteBool("1.x", "Visible", false);
        ini.WriteString("1.x", "Site", "host http 80 /~cddb/cddb.cgi N000.00 W000.00 ");
        ini.WriteString("1.x", "Proxy", "True");
        ini.WriteInteger("1.x.cbSites_Items", "Count", 2);
        ini.WriteString("1.x.cbSites_Items", "Item0", "a");
        ini.WriteString("1.x.cbSites_Items", "Item1", "b");
        ini.WriteString("1.x\\MP3 Player", "od_InitialDir", "/music");
        EXPECT_EQ(ini.ReadString("1.X", "visible", ""), "0");  // its own changes show at once
        EXPECT_EQ(TRegistryIniFile(base, KEY_READ).ReadString("1.x", "Visible", "none"), "none");
        ini.UpdateFile();
        EXPECT_THROW(ini.WriteString("1.x\\\\bad", "x", "y"), ERegistryException);
    }
    TRegistryIniFile ini(base);
    EXPECT_EQ(ini.ReadSection("1.x"), (Names{"FormVersion", "Visible", "Site", "Proxy"}));
    EXPECT_EQ(ini.ReadInteger("1.x", "FormVersion", 5), 0);
    EXPECT_FALSE(ini.ReadBool("1.x", "Visible", true));
    EXPECT_EQ(ini.ReadInteger("1.x", "Site", 5), 5);    // not a number
    EXPECT_FALSE(ini.ReadBool("1.x", "Proxy", false));  // "True" is no integer either
    EXPECT_EQ(ini.ReadString("1.x.cbSites_Items", "Item1", ""), "b");

    // Erasing a section takes its sub-keys along; an empty or missing one erases nothing.
    ini.EraseSection("1.x.cbSites_Items");
    ini.EraseSection("Missing");
    ini.EraseSection("");
    ini.EraseSection("1.x");
    ini.UpdateFile();
    EXPECT_TRUE(ini.ReadSection("1.x.cbSites_Items").empty());
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly(base + "\\1.x\\MP3 Player"));
    ASSERT_TRUE(reg.OpenKeyReadOnly(base));
    EXPECT_TRUE(reg.GetKeyNames().empty());
}

TEST_F(Registry, NamesMatchInEveryLetterCaseOfEveryScript) {
    const struct {
        const char* written;
        const char* asked;
    } same[] = {
        {"\xC3\x84rger", "\xC3\xA4RGER"},                                          // Ärger, äRGER
        {"\xD0\x9A\xD0\xBB\xD1\x8E\xD1\x87", "\xD0\x9A\xD0\x9B\xD0\xAE\xD0\xA7"},  // Ключ, КЛЮЧ
        {"\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1",
         "\xCF\x89\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1"},  // Ωμέγα, ωμέγα
        {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},      // Deseret, beyond 16 bits
        {"Stra\xC3\x9F"
         "e",
         "STRASSE"},  // ß folds to ss
    };
    const std::string key = "\\SOFTWARE\\Names";
    TRegistry reg;
    for (const auto& c : same) {
        ASSERT_TRUE(reg.OpenKey(key + "\\" + c.written, true)) << c.written;
        reg.WriteString(c.written, "first");
        reg.WriteString(c.asked, "second");  // the same value, in its first spelling
        ASSERT_TRUE(reg.OpenKeyReadOnly(key + "\\" + c.asked)) << c.asked;
        EXPECT_EQ(reg.GetValueNames(), Names{c.written});
        EXPECT_EQ(reg.ReadString(c.written), "second");
    }
    ASSERT_TRUE(reg.OpenKeyReadOnly(key));
    EXPECT_EQ(reg.GetKeyNames().size(), std::size(same));

    // Different letters stay apart, and so do different bytes that are not UTF-8.
    ASSERT_TRUE(reg.OpenKey(key, true));
    const Names distinct = {"a",
                            "\xC3\xA1",
                            "\xFF",
                            "\xFE",
                            "\xEF\xBF\xBD",
                            "\xFF"
                            "a"};
    for (const auto& name : distinct) reg.WriteString(name, name);
    ASSERT_TRUE(reg.OpenKeyReadOnly(key));
    EXPECT_EQ(reg.GetValueNames(), distinct);
    for (const auto& name : distinct) EXPECT_EQ(reg.ReadString(name), name);
}

TEST_F(Registry, ErrorMessagesQuoteOnlyTheStartOfAName) {
    const std::string huge = "Start of a long name " + std::string(kMaxValueNameBytes + 10, 'n');
    const std::string shown = "'Start of a long name nnnnnnnnnnnnnnnnnnn...'";
    auto message = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const ERegistryException& e) {
            return std::string(e.what());
        }
        return std::string("nothing raised");
    };
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("SOFTWARE", true));
    TRegistryIniFile reader("SOFTWARE", KEY_READ);
    const std::string messages[] = {
        message([&] { reg.WriteString(huge, "x"); }),
        message([&] { reg.ReadInteger(huge); }),
        message([&] { reader.WriteString("", huge, "x"); }),
    };
    for (const auto& text : messages) {
        EXPECT_NE(text.find(shown), std::string::npos) << text;
        EXPECT_LT(text.size(), 100u);
    }
    // Control characters and bytes that are not UTF-8 do not reach the message as they are.
    EXPECT_EQ(message([&] { reg.ReadInteger("tab\there\xFF"); }),
              "Failed to get data for 'tab?here\xEF\xBF\xBD'");
}

}  // namespace
}  // namespace rv
