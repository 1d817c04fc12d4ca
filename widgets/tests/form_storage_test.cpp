#include "widgets/form_storage.h"

#include <gtest/gtest.h>

#include "platform/messages/application.h"
#include "platform/registry/settings_location.h"
#include "platform/windows/screens.h"
#include "platform/windows/top_level_window.h"
#include "platform/windows/window_host.h"
#include "testsupport/test_files.h"
#include "widgets/placement_defaults.h"
#include "widgets/tests/storage_fixture.h"

namespace rv {
namespace {

using test::kMainKey;
using test::kSuffix;
using test::MainWindow;
using test::Names;
using FormStorage = test::StorageTest;

TEST_F(FormStorage, TheMainWindowWritesItsSettingsNamesAndANewOneRestoresThem) {
    {
        MainWindow w;
        w.form->Show();
        Settle();
        EXPECT_EQ(w.restoredSite.substr(0, 8), "freedb.f");  // nothing stored: the design values
        w.form->SetBounds(60, 45, 320, 240);
        w.treePanel->SetWidth(260);
        w.storage->StoredValues().ValueByName("ProxyPwd")->Value = "geheim";
        w.storage->StoredValues().ValueByName("ProxyPort")->Value = 3128;
        w.form->Close();
        EXPECT_FALSE(w.form->Visible());
    }
    EXPECT_EQ(ValueNames(kMainKey),
              (Names{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" + kSuffix,
                     "MinMaxPos", "NormPos" + kSuffix, "NormPos", "Visible", "TreePanel_Width",
                     "Site", "Proxy", "ProxyAddr", "ProxyPort", "ProxyUser", "ProxyPwd"}));
    EXPECT_EQ(Value(kMainKey, "FormVersion"), "0");
    EXPECT_EQ(Value(kMainKey, "ShowCmd"), "1");
    EXPECT_EQ(Value(kMainKey, "PixelsPerInch"), "96");
    EXPECT_EQ(Value(kMainKey, "NormPos"), "60,45,380,285");
    EXPECT_EQ(Value(kMainKey, "NormPos" + kSuffix), "60,45,380,285");
    EXPECT_EQ(Value(kMainKey, "MinMaxPos"), "-1,-1,-4,-4");  // maximised, the frame goes off-screen
    EXPECT_EQ(Value(kMainKey, "Visible"), "0");  // the close saved; the destruction did not
    EXPECT_EQ(Value(kMainKey, "TreePanel_Width"), "260");
    EXPECT_EQ(Value(kMainKey, "Proxy"), "False");
    EXPECT_EQ(Value(kMainKey, "ProxyPort"), "3128");
    EXPECT_EQ(Value(kMainKey, "ProxyPwd"), "23100c0c0d0c");  // "geheim" coded with "Dudida"

    MainWindow again;
    EXPECT_EQ(again.treePanel->Width(), 231);
    again.form->Show();
    Settle();
    EXPECT_EQ(again.form->BoundsRect(), Bounds(60, 45, 320, 240));
    EXPECT_EQ(again.form->WindowState(), wsNormal);
    EXPECT_EQ(again.treePanel->Width(), 260);
    TStoredValues& values = again.storage->StoredValues();
    EXPECT_EQ(values.ValueByName("ProxyPwd")->Value, TVariant("geheim"));
    EXPECT_EQ(values.ValueByName("ProxyPort")->Value, TVariant("3128"));  // text after a restore
    EXPECT_EQ(again.restoredSite, values.ValueByName("Site")->Value.AsString());
}

TEST_F(FormStorage, AMaximisedWindowFreedUnclosedComesBackMaximisedOverItsNormalBounds) {
    {
        MainWindow w;
        w.form->SetBounds(50, 60, 300, 200);
        w.form->Show();
        w.form->SetWindowState(wsMaximized);
        Settle();
        ASSERT_TRUE(IsZoomed(w.form->Handle()));
    }
    EXPECT_EQ(Value(kMainKey, "ShowCmd"), "3");
    EXPECT_EQ(Value(kMainKey, "Visible"), "1");
    EXPECT_EQ(Value(kMainKey, "NormPos"), "50,60,350,260");

    MainWindow again;
    again.form->Show();
    Settle();
    EXPECT_TRUE(IsZoomed(again.form->Handle()));
    EXPECT_EQ(again.form->WindowState(), wsMaximized);
    again.form->SetWindowState(wsNormal);
    Settle();
    EXPECT_EQ(again.form->BoundsRect(), Bounds(50, 60, 300, 200));
}

TEST_F(FormStorage, AnOlderFormVersionSkipsTheRestoreAndTheNextSaveWritesTheNewOne) {
    {
        MainWindow w;
        w.form->Show();
        w.form->SetBounds(10, 20, 300, 200);
        w.treePanel->SetWidth(100);
        w.storage->StoredValues().ValueByName("ProxyAddr")->Value = "proxy.example";
    }
    MainWindow newer;
    newer.storage->Version = 2;
    newer.form->SetBounds(30, 40, 400, 300);
    newer.form->Show();
    Settle();
    EXPECT_EQ(newer.form->BoundsRect(), Bounds(30, 40, 400, 300));
    EXPECT_EQ(newer.treePanel->Width(), 231);
    EXPECT_EQ(newer.storage->StoredValues().ValueByName("ProxyAddr")->Value, TVariant(""));
    EXPECT_EQ(newer.restoredSite, "");  // OnRestorePlacement not raised
    newer.form->Close();
    EXPECT_EQ(Value(kMainKey, "FormVersion"), "2");
    EXPECT_EQ(Value(kMainKey, "TreePanel_Width"), "231");
}

TEST_F(FormStorage, ARestoredWindowLandsOnAScreenThatExistsNow) {
    // Saved on a larger desktop, far to the right and down.
    Write(kMainKey, "NormPos", "5000,4000,5320,4240");
    Write(kMainKey, "PixelsPerInch", "96");
    {
        MainWindow w;
        w.form->Show();
        Settle();
        // Its size, in the bottom right corner of the screen's work area, frame and all.
        EXPECT_EQ(w.form->Width(), 320);
        EXPECT_EQ(w.form->Height(), 240);
        TRect frame = GetWindowFrameRect(w.form->Handle());
        TRect work = ScreenWorkAreas().front();
        EXPECT_EQ(frame.Right, work.Right);
        EXPECT_EQ(frame.Bottom, work.Bottom);
    }

    // Another pixel density: the bounds are not taken, the state is.
    Write(kMainKey, "NormPos" + kSuffix, "10,10,300,300");
    Write(kMainKey, "PixelsPerInch", "120");
    Write(kMainKey, "ShowCmd", "3");
    {
        MainWindow w;
        w.form->SetBounds(30, 40, 400, 300);
        w.form->Show();
        Settle();
        EXPECT_TRUE(IsZoomed(w.form->Handle()));
        TWindowPlacement p;
        GetWindowPlacement(w.form->Handle(), p);
        EXPECT_EQ(p.rcNormalPosition, Bounds(30, 40, 400, 300));
        w.form->Hide();
    }

    // A form of fixed size takes the stored position only.
    Write(kMainKey, "NormPos" + kSuffix, "10,10,300,300");
    Write(kMainKey, "ShowCmd", "1");
    MainWindow dialog;
    dialog.form->SetBorderStyle(bsDialog);
    dialog.form->Show();
    Settle();
    EXPECT_EQ(dialog.form->BoundsRect(), Bounds(10, 10, 400, 300));
}

TEST_F(FormStorage, ThePreferencesAndPlayerWindowsKeepTheirOwnShares) {
    // The preferences dialog: no placement, only its version and the fetched site list.
    {
        TForm prefs(nullptr);
        auto* sites = new test::ComboBox(&prefs);
        sites->SetName("cbSites");
        auto* storage = new TFormStorage(&prefs);
        storage->SetIniFileName("SOFTWARE\\Lorvix\\Reelvault");
        storage->SetIniSection("1.x");
        storage->UseRegistry = true;
        storage->Options = 0;
        storage->SetStoredProps({{"cbSites.Items", nullptr}});
        prefs.FinishLoading();
        prefs.Show();
        sites->items = {"freedb.org http 80 /~cddb/cddb.cgi N000.00 W000.00 Random server"};
        prefs.Close();
    }
    EXPECT_EQ(ValueNames(kMainKey), Names{"FormVersion"});
    const std::string list = "SOFTWARE\\Lorvix\\Reelvault\\1.x.cbSites_Items";
    EXPECT_EQ(ValueNames(list), (Names{"Count", "Item0"}));

    // The player: its placement and the open dialog's folder in a sub-key of its own.
    {
        TForm player(nullptr);
        auto* od = new test::OpenDialog(&player);
        od->SetName("od");
        auto* storage = new TFormStorage(&player);
        storage->SetIniFileName(kMainKey);
        storage->SetIniSection("MP3 Player");
        storage->UseRegistry = true;
        storage->SetStoredProps({{"od.InitialDir", nullptr}});
        player.FinishLoading();
        player.Show();
        od->initialDir = "/music/mp3";
    }
    const std::string playerKey = kMainKey + "\\MP3 Player";
    EXPECT_EQ(ValueNames(playerKey).back(), "od_InitialDir");
    EXPECT_EQ(ValueNames(playerKey).size(), 10u);
    EXPECT_EQ(Value(playerKey, "od_InitialDir"), "/music/mp3");
    EXPECT_EQ(ValueNames(kMainKey), Names{"FormVersion"});
}

TEST_F(FormStorage, ASaveThatCannotBeWrittenIsReportedAndTheFormStillCloses) {
    CatchErrors();
    MainWindow w;
    w.form->Show();
    // The settings folder cannot be made: a file stands where it would go.
    test::WriteFileBytes(dir_ / "blocked", "");
    setenv("XDG_CONFIG_HOME", (dir_ / "blocked").c_str(), 1);
    w.form->Close();
    EXPECT_FALSE(w.form->Visible());
    ASSERT_EQ(errors.size(), 1u);
}

TEST_F(FormStorage, AMainFormSavedMinimisedComesBackWhenShownAndThenMinimises) {
    Write(kMainKey, "ShowCmd", "2");
    MainWindow w;
    test::App().SetMainWindow(w.form->Handle());
    w.form->Show();
    EXPECT_EQ(w.form->WindowState(), wsNormal);
    Settle();
    EXPECT_EQ(w.form->WindowState(), wsMinimized);
    EXPECT_TRUE(IsIconic(w.form->Handle()));
    test::App().SetMainWindow(0);
    w.form->Hide();
}

TEST_F(FormStorage, AFixedSizeAndTrackingLimitsAnswerTheWindowsQuestion) {
    MainWindow w;
    w.form->SetBounds(0, 0, 500, 350);
    w.form->Show();
    auto ask = [&] {
        TMinMaxInfo info;
        info.ptMaxTrackSize = {9999, 9999};
        SendMessage(w.form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    };
    w.storage->SetPreventResize(true);
    EXPECT_FALSE(w.form->BorderIcons() & biMaximize);
    TMinMaxInfo info = ask();
    EXPECT_EQ(info.ptMinTrackSize, (TPoint{500, 350}));
    EXPECT_EQ(info.ptMaxTrackSize, (TPoint{500, 350}));
    w.storage->SetPreventResize(false);
    EXPECT_TRUE(w.form->BorderIcons() & biMaximize);
    EXPECT_EQ(ask().ptMaxTrackSize, (TPoint{9999, 9999}));  // no hook any more

    w.storage->MinMaxInfo().SetMinTrackWidth(300);
    info = ask();
    EXPECT_EQ(info.ptMinTrackSize, (TPoint{300, 0}));
    EXPECT_EQ(info.ptMaxTrackSize, (TPoint{9999, 9999}));
    w.storage->SetMinMaxInfo(TWinMinMaxInfo());
    EXPECT_EQ(ask().ptMinTrackSize, (TPoint{0, 0}));
}

TEST_F(FormStorage, WithoutKeyAndSectionTheProgramAndTheFormNameThem) {
    EXPECT_EQ(DefaultSectionOf(nullptr), "");
    EXPECT_EQ(DefaultRegistryKey(), "Software\\widgets_tests");
    DefCompanyName = "Lorvix";
    RegUseAppTitle = true;
    test::App().Title = "Reelvault";
    EXPECT_EQ(DefaultRegistryKey(), "Software\\Lorvix\\Reelvault");
    DefCompanyName.clear();
    RegUseAppTitle = false;
    test::App().Title.clear();

    // The program may name the INI file itself; a placement that names none is kept there.
    OnGetDefaultIniName = [] { return std::string("named.ini"); };
    {
        TForm form(nullptr);
        new TFormPlacement(&form);
        form.FinishLoading();
        form.Show();
        form.Close();
    }
    OnGetDefaultIniName = nullptr;
    EXPECT_TRUE(test::FileExists(IniFilePath("named.ini")));

    // A focusable control that had the focus gets it back.
    for (int run = 0; run < 2; ++run) {
        TForm form(nullptr);
        auto* edit = new TCustomControl(&form);
        edit->SetName("Edit");
        edit->SetParent(&form);
        edit->SetTabStop(true);
        auto* storage = new TFormPlacement(&form);
        storage->UseRegistry = true;
        storage->Options |= fpActiveControl;
        EXPECT_EQ(DefaultSectionOf(edit), "TFormEdit");
        EXPECT_EQ(storage->IniSection(), "TForm");
        form.FinishLoading();
        form.Show();
        if (run == 0) {
            EXPECT_EQ(form.ActiveControl(), nullptr);
            edit->SetFocus();
            form.Close();
        } else {
            EXPECT_EQ(form.ActiveControl(), edit);
            form.Hide();
        }
    }
    EXPECT_EQ(Value("Software\\widgets_tests\\TForm", "ActiveControl"), "Edit");
    TComponent loose(nullptr);
    loose.SetName("Loose");
    TFormPlacement unowned(&loose);
    EXPECT_EQ(unowned.Options, 0u);
    EXPECT_EQ(unowned.IniSection(), "Loose");
}

}  // namespace
}  // namespace rv
