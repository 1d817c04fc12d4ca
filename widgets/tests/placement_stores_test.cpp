// A form storage in each of its stores: an INI file, and each root of the registry.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/registry/ini_file.h"
#include "platform/registry/registry_ini_file.h"
#include "platform/registry/settings_location.h"
#include "platform/text/format.h"
#include "testsupport/test_files.h"
#include "widgets/form_storage.h"
#include "widgets/tests/storage_fixture.h"

namespace rv {
namespace {

using test::kSuffix;
using test::MainWindow;
using test::Names;
using PlacementStores = test::StorageTest;

// Runs a main window in the store `setUp` chooses: restored, moved, the tree panel widened, a
// stored value set, closed; then a second one restores what the first saved.
void RoundTrip(const std::function<void(TFormStorage&)>& setUp) {
    {
        MainWindow w;
        setUp(*w.storage);
        w.form->Show();
        test::App().ProcessMessages();
        w.form->SetBounds(70, 55, 330, 250);
        w.treePanel->SetWidth(270);
        w.storage->StoredValues().ValueByName("ProxyAddr")->Value = "proxy.example";
        w.form->Close();
    }
    MainWindow again;
    setUp(*again.storage);
    again.form->Show();
    test::App().ProcessMessages();
    EXPECT_EQ(again.form->BoundsRect(), Bounds(70, 55, 330, 250));
    EXPECT_EQ(again.treePanel->Width(), 270);
    EXPECT_EQ(again.storage->StoredValues().ValueByName("ProxyAddr")->Value,
              TVariant("proxy.example"));
    again.form->Hide();
}

TEST_F(PlacementStores, AnIniFileKeepsThePlacementPropertiesAndValues) {
    RoundTrip([](TFormStorage& s) {
        s.UseRegistry = false;
        s.SetIniFileName("reelvault.ini");
    });
    EXPECT_FALSE(test::FileExists(File()));
    TIniFile ini("reelvault.ini");
    EXPECT_EQ(ini.ReadSection("1.x"),
              (Names{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" + kSuffix,
                     "MinMaxPos", "NormPos" + kSuffix, "NormPos", "Visible", "TreePanel_Width",
                     "Site", "Proxy", "ProxyAddr", "ProxyPort", "ProxyUser", "ProxyPwd"}));
    const std::string text = test::ReadFileBytes(ini.FileName());
    EXPECT_NE(text.find("[1.x]\nFormVersion=0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nNormPos=70,55,400,305\n"), std::string::npos) << text;

    // Without a name, the program's own INI file.
    RoundTrip([](TFormStorage& s) {
        s.UseRegistry = false;
        s.SetIniFileName("");
    });
    EXPECT_TRUE(test::FileExists(SettingsFolder() + "/widgets_tests.INI"));
}

TEST_F(PlacementStores, TextsInQuotesComeBackFromAnIniFileWithTheirQuotes) {
    TForm form(nullptr);
    auto* storage = new TFormStorage(&form);
    storage->SetIniFileName("quotes.ini");
    storage->SetIniSection("S");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"\"double\"", "\"\"double\"\""},
        {"'single'", "\"'single'\""},
        {"\"", "\"\"\""},
        {"'", "\"'\""},
        {"\"\"", "\"\"\"\""},
        {"\"mixed'", "\"mixed'"},
        {"x\"", "x\""},
        {"  \"blanks\"  ", "\"  \"blanks\"  \""},
        {"plain", "plain"},
        {"", ""}};
    for (size_t i = 0; i < cases.size(); ++i) storage->WriteItem(Format("V%zu", i), cases[i].first);
    const std::string text = test::ReadFileBytes(IniFilePath("quotes.ini"));
    for (size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(storage->ReadItem(Format("V%zu", i), "missing"), cases[i].first);
        const std::string line = Format("\nV%zu=%s\n", i, cases[i].second.c_str());
        EXPECT_NE(text.find(line), std::string::npos) << line;
    }
    // The registry keeps texts as they are.
    storage->UseRegistry = true;
    storage->WriteItem("V0", "\"double\"");
    EXPECT_EQ(TRegistryIniFile(storage->IniFileName(), KEY_READ).ReadString("S", "V0", ""),
              "\"double\"");
}

TEST_F(PlacementStores, EveryRootOfTheRegistryKeepsItsOwnShare) {
    const std::vector<std::pair<TPlacementRegRoot, std::string>> roots = {
        {prLocalMachine, "hklm.reg"},
        {prCurrentConfig, "hkcc.reg"},
        {prClassesRoot, "hkcr.reg"},
        {prUsers, "hku.reg"},
        {prDynData, "hkdd.reg"}};
    for (const auto& [root, file] : roots) {
        RoundTrip([root = root](TFormStorage& s) { s.RegistryRoot = root; });
        EXPECT_EQ(TRegistryIniFile(test::kMainKey, KEY_READ, RootKeyOf(root))
                      .ReadString("", "TreePanel_Width", ""),
                  "270")
            << file;
        EXPECT_TRUE(test::FileExists(SettingsFolder() + "/" + file)) << file;
    }
    // None of it in the current user's.
    EXPECT_FALSE(test::FileExists(File()));

    // A first restore, read-only, creates nothing.
    std::filesystem::remove(SettingsFolder() + "/hku.reg");
    MainWindow w;
    w.storage->RegistryRoot = prUsers;
    w.form->Show();
    test::App().ProcessMessages();
    EXPECT_FALSE(test::FileExists(SettingsFolder() + "/hku.reg"));
    w.form->Hide();
}

}  // namespace
}  // namespace rv
