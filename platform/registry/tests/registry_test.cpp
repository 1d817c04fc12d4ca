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

    // What the registry refuses: empty or overlong names, control characters, a root that names
    // none, keys opened without write access.
    EXPECT_FALSE(reg.OpenKey("a\\\\b", true));
    EXPECT_FALSE(reg.OpenKey(std::string(256, 'k'), true));
    EXPECT_FALSE(reg.OpenKey("tab\there", true));
    EXPECT_FALSE(reg.DeleteKey(""));
    reg.SetRootKey(0x80000004);  // the performance data, which no file keeps
    EXPECT_FALSE(reg.OpenKey("HARDWARE", true));
    EXPECT_FALSE(reg.DeleteKey("SOFTWARE"));
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
    const std::pair<const char*, const char*> same[] = {
        {"\u00C4rger", "\u00E4RGER"},
        {"\u041A\u043B\u044E\u0447", "\u041A\u041B\u042E\u0427"},
        {"\U00010400", "\U00010428"},  // Deseret, beyond 16 bits
        {"Stra\u00DFe", "STRASSE"},
    };
    TRegistry reg;
    for (const auto& [written, asked] : same) {
        ASSERT_TRUE(reg.OpenKey(std::string("\\Names\\") + written, true)) << written;
        reg.WriteString(written, "first");
        reg.WriteString(asked, "second");  // the same value, which keeps its first spelling
        ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\Names\\") + asked)) << asked;
        EXPECT_EQ(reg.GetValueNames(), Names{written});
        EXPECT_EQ(reg.ReadString(written), "second");
    }
    // Other letters stay apart, and so do other bytes that are not UTF-8.
    ASSERT_TRUE(reg.OpenKey("\\Names", true));
    EXPECT_EQ(reg.GetKeyNames().size(), std::size(same));
    const Names distinct = {"a", "\xC3\xA1", "\xFF", "\xFE", "\xEF\xBF\xBD"};
    for (const auto& name : distinct) reg.WriteString(name, name);
    EXPECT_EQ(reg.GetValueNames(), distinct);
}

TEST_F(Registry, ErrorMessagesQuoteOnlyTheStartOfAName) {
    const std::string huge = "Start of a long name " + std::string(kMaxValueNameBytes + 10, 'n');
    auto message = [](const std::function<void()>& action) {
        try {
            action();
        } catch (const ERegistryException& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("SOFTWARE", true));
    TRegistryIniFile reader("SOFTWARE", KEY_READ);
    EXPECT_EQ(message([&] { reg.WriteString(huge, "x"); }),
              "Failed to set data for 'Start of a long name nnnnnnnnnnnnnnnnnnn...'");
    EXPECT_EQ(message([&] { reader.WriteString("", huge, "x"); }),
              message([&] { reg.WriteString(huge, "x"); }));
    // Control characters and bytes that are not UTF-8 do not reach the message as they are.
    EXPECT_EQ(message([&] { reg.ReadInteger("tab\there\xFF"); }),
              "Failed to get data for 'tab?here\xEF\xBF\xBD'");
}

}  // namespace
}  // namespace rv
