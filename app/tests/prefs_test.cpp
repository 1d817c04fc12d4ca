#include <gtest/gtest.h>

#include "app/prefs_dialog.h"
#include "app/tests/app_fixture.h"
#include "app/tests/cddb_server.h"
#include "cd/cddb.h"
#include "platform/framework/modal_script.h"
#include "platform/registry/registry.h"
#include "widgets/xor_hex_coder.h"

namespace rv {
namespace {

constexpr const char* kSection = "\\SOFTWARE\\Lorvix\\Reelvault\\1.x";
const char* const kSettingNames[] = {"Site",      "Proxy",     "ProxyAddr",
                                     "ProxyPort", "ProxyUser", "ProxyPwd"};

TEST(SiteLines, OnlyWellFormedHttpSitesAreListedAndTheListAnswerEmptiesTheList) {
    const struct {
        const char* line;
        TSiteLineUse use;
    } cases[] = {
        {"210 OK, site information follows (until terminating `.')", TSiteLineUse::Clear},
        {"210", TSiteLineUse::Clear},
        {"127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 The fake server", TSiteLineUse::Add},
        {"mirror.example HTTP 8080 /cgi S033.52 E151.12 Sydney", TSiteLineUse::Add},
        {"mirror.example hTTp 80 /cgi N0 E0", TSiteLineUse::Add},
        // Malformed lines: fields missing, a port that is no number or no port.
        {"  spaced   hTTp  80", TSiteLineUse::Ignore},
        {"short.example http 80 /cgi", TSiteLineUse::Ignore},
        {"bad.example http eighty /cgi N0 E0 x", TSiteLineUse::Ignore},
        {"huge.example http 12345678901234567890 /cgi N0 E0 x", TSiteLineUse::Ignore},
        {"big.example http 65536 /cgi N0 E0 x", TSiteLineUse::Ignore},
        {"cddbp.example cddbp 8880 - N048.12 E016.22 Vienna, Austria", TSiteLineUse::Ignore},
        {". http", TSiteLineUse::Ignore},
        {".", TSiteLineUse::Ignore},
        {"", TSiteLineUse::Ignore},
        {"http://127.0.0.1:80/~cddb/cddb.cgi?cmd=sites\r\n", TSiteLineUse::Ignore},
        {"401 No site information available.", TSiteLineUse::Ignore},
        {"2100 http", TSiteLineUse::Ignore},
    };
    for (const auto& c : cases) EXPECT_EQ(SiteLineUse(c.line), c.use) << c.line;
}

TEST(CddbAim, TheProxyIsUsedOnlyWhenSwitchedOnAndItsPortIsKept) {
    TCddb client(nullptr);
    SetUpCddbClient(client);
    TPreferences prefs;
    prefs.Site = StrToSite("cddb.example HTTP 8080 /cgi/cddb.cgi N1 E2 x");
    prefs.Proxy = true;
    prefs.ProxyAddr = "proxy.example";
    prefs.ProxyPort = "3128";
    prefs.ProxyUser = "me";
    prefs.ProxyPwd = "pw";
    AimCddbClient(client, prefs);
    EXPECT_EQ(client.ServerAddr, "cddb.example");
    EXPECT_EQ(client.ServerPort, "8080");
    EXPECT_EQ(client.ServerAdditionalAddr, "/cgi/cddb.cgi");
    EXPECT_EQ(client.ServerType, TServerType::HTTP);
    EXPECT_EQ(client.ProxyAddress(), "proxy.example");
    EXPECT_EQ(client.ProxyUsername(), "me");
    prefs.Proxy = false;
    prefs.ProxyPort = "9999";
    prefs.Site.ServerType = TServerType::CDDBP;
    AimCddbClient(client, prefs);
    EXPECT_EQ(client.ProxyAddress(), "");
    EXPECT_EQ(client.ProxyUsername(), "");
    EXPECT_EQ(client.ProxyPassword(), "");
    EXPECT_EQ(client.ProxyPort(), "3128");
    EXPECT_EQ(client.ServerType, TServerType::CDDBP);
}

class Settings : public test::AppTest {
protected:
    static std::string Stored(const std::string& name) {
        TRegistry registry;
        if (!registry.OpenKeyReadOnly(kSection)) return "<no key>";
        return registry.ValueExists(name) ? registry.ReadString(name) : "<none>";
    }
    static std::vector<std::string> StoredSettings() {
        std::vector<std::string> values;
        for (const char* name : kSettingNames) values.push_back(Stored(name));
        return values;
    }
    static void Store(const std::string& name, const std::string& value) {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(kSection, true));
        registry.WriteString(name, value);
        registry.CloseKey();
    }
    // The window closed and made anew, as after a restart of the program.
    void Restart() {
        window.reset();
        window = std::make_unique<Twnd_rv_Main>(nullptr);
        W().Show();
        Settle();
    }
    // The next preferences dialog: `step` runs on it, then OK (or Cancel) is pressed.
    void NextPrefs(std::function<void(Tdlg_rv_Prefs&)> step, bool ok = true) {
        script.Then([step, ok](TCustomForm& form) {
            auto* dialog = dynamic_cast<Tdlg_rv_Prefs*>(&form);
            ASSERT_NE(dialog, nullptr);
            step(*dialog);
            (ok ? dialog->bOK : dialog->bCancel)->Click();
        });
    }
    TModalScript script;
};

TEST_F(Settings, AFirstStartAsksTheDefaultServerOverHttpWithoutProxy) {
    W().Show();
    Settle();
    const TPreferences& p = W().Prefs;
    EXPECT_EQ(p.Site.Address, kDefaultCddbServer);
    EXPECT_EQ(p.Site.ServerType, TServerType::HTTP);
    EXPECT_EQ(p.Site.Port, 80);
    EXPECT_EQ(p.Site.CGIPath, "/~cddb/cddb.cgi");
    EXPECT_FALSE(p.Proxy);
    EXPECT_EQ(p.ProxyPort, "80");
    EXPECT_EQ(p.ProxyAddr, "");
    EXPECT_EQ(W().CddbClient->ClientName, "TestProgram");
    EXPECT_TRUE(W().CddbClient->InternalTOCRetrieve);
}

TEST_F(Settings, TheProxyFlagReadsEitherSpellingAndAnythingElseIsOff) {
    const struct {
        const char* stored;
        bool proxy;
    } cases[] = {{"True", true},   {"TRUE", true},   {"true", true},   {"1", true},
                 {" True ", true}, {"False", false}, {"FALSE", false}, {"0", false},
                 {"yes", false},   {"", false},      {"2", false}};
    W().Show();
    for (const auto& c : cases) {
        Store("Proxy", c.stored);
        W().LoadSettings();
        EXPECT_EQ(W().Prefs.Proxy, c.proxy) << '"' << c.stored << '"';
    }
}

TEST_F(Settings, OkStoresEveryFieldThePasswordCodedAndARestartShowsThem) {
    W().Show();
    Settle();
    NextPrefs([](Tdlg_rv_Prefs& d) {
        EXPECT_EQ(d.Caption(), "Preferences");
        EXPECT_FALSE(d.cbxProxy->Checked());
        EXPECT_FALSE(d.gbProxy->Enabled());
        EXPECT_EQ(d.eProxyPort->Text(), "80");
        EXPECT_EQ(d.eProxyPwd->PasswordChar(), '*');
        d.cbSites->SetText("cddb.example http 8080 /cgi/cddb.cgi N048.12 E016.22 Vienna, Austria");
        d.cbxProxy->SetChecked(true);
        EXPECT_TRUE(d.gbProxy->Enabled());
        d.eProxyServer->SetText("proxy.example");
        d.eProxyPort->SetText("8o8o");
        d.eProxyUser->SetText("me");
        d.eProxyPwd->SetText("s3cret");
    });
    W().mmPrefs->Click();
    EXPECT_EQ(script.Shown, std::vector<std::string>{"Preferences"});
    EXPECT_EQ(StoredSettings(),
              (std::vector<std::string>{
                  "cddb.example http 8080 /cgi/cddb.cgi N048.12 E016.22 Vienna", "True",
                  "proxy.example", "0", "me", XorHexEncode(kProxyPwdKey, "s3cret")}));
    EXPECT_NE(Stored("ProxyPwd"), "s3cret");

    Restart();
    const TPreferences& p = W().Prefs;
    EXPECT_EQ(p.Site.Address, "cddb.example");
    EXPECT_EQ(p.Site.Port, 8080);
    // Of a description only the first word remains.
    EXPECT_EQ(p.Site.Location.Description, "Vienna");
    EXPECT_TRUE(p.Proxy);
    EXPECT_EQ(p.ProxyPort, "0");
    EXPECT_EQ(p.ProxyPwd, "s3cret");
    NextPrefs(
        [](Tdlg_rv_Prefs& d) {
            EXPECT_EQ(d.eProxyPort->Text(), "0");
            EXPECT_EQ(d.eProxyServer->Text(), "proxy.example");
            EXPECT_EQ(d.eProxyPwd->Text(), "s3cret");
            EXPECT_TRUE(d.cbxProxy->Checked());
            EXPECT_TRUE(d.gbProxy->Enabled());
            EXPECT_EQ(d.cbSites->Text(),
                      "cddb.example http 8080 /cgi/cddb.cgi N048.12 E016.22 Vienna");
        },
        false);
    W().mmPrefs->Click();
}

TEST_F(Settings, CancelKeepsTheSettingsAndWritesNone) {
    W().Show();
    Settle();
    W().Prefs.ProxyAddr = "kept.example";
    W().SaveSettings();
    const std::vector<std::string> before = StoredSettings();
    const TPreferences prefs = W().Prefs;
    NextPrefs(
        [](Tdlg_rv_Prefs& d) {
            d.cbSites->SetText("other.example http 81 /x N0 E0 y");
            d.cbxProxy->SetChecked(true);
            d.eProxyServer->SetText("changed.example");
        },
        false);
    W().mmPrefs->Click();
    EXPECT_EQ(StoredSettings(), before);
    EXPECT_EQ(W().Prefs.ProxyAddr, prefs.ProxyAddr);
    EXPECT_EQ(W().Prefs.Site, prefs.Site);
    EXPECT_FALSE(W().Prefs.Proxy);
}

class SiteList : public Settings {
protected:
    void SetUp() override {
        RV_REQUIRE_SERVER(server_);
        test::App().OnException = [](const std::exception& e) { ADD_FAILURE() << e.what(); };
        W().Show();
        Settle();
    }
    // Presses "Get Sites" and waits for the list's end.
    static void GetSites(Tdlg_rv_Prefs& d) {
        d.bSites->Click();
        EXPECT_TRUE(test::PumpUntil([&] { return d.CddbClient->State() != cddbSitesSent; }));
        EXPECT_EQ(d.CddbClient->State(), cddbSitesReceived);
    }
    test::AppCddbServer server_;
};

TEST_F(SiteList, GetSitesListsOnlyHttpSitesAndASecondClickStartsAfresh) {
    const std::vector<std::string> httpSites = {
        "127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 The fake server",
        "mirror.example HTTP 8080 /cgi/cddb.cgi S033.52 E151.12 Sydney"};
    const std::string site = server_.SiteText("any");
    NextPrefs([&](Tdlg_rv_Prefs& d) {
        d.cbSites->SetText(site);
        GetSites(d);
        EXPECT_EQ(d.cbSites->Items(), httpSites);
        EXPECT_EQ(d.cbSites->Text(), site);  // the typed site stays until another is picked
        GetSites(d);
        EXPECT_EQ(d.cbSites->Items(), httpSites);
        d.cbSites->SetItemIndex(1);
    });
    W().mmPrefs->Click();
    EXPECT_EQ(W().Prefs.Site.Address, "mirror.example");
    EXPECT_EQ(W().Prefs.Site.Port, 8080);
    EXPECT_EQ(W().Prefs.Site.CGIPath, "/cgi/cddb.cgi");

    // The fetched list is the dialog's own and survives a restart.
    Restart();
    NextPrefs([&](Tdlg_rv_Prefs& d) { EXPECT_EQ(d.cbSites->Items(), httpSites); }, false);
    W().mmPrefs->Click();
}

TEST_F(SiteList, AFailedRequestLeavesTheListAsItWas) {
    NextPrefs(
        [&](Tdlg_rv_Prefs& d) {
            d.cbSites->SetText(server_.SiteText("any"));
            GetSites(d);
            const std::vector<std::string> listed = d.cbSites->Items();
            d.cbSites->SetText("127.0.0.1 http 1 /nothing/here N0 E0 closed");
            d.bSites->Click();
            EXPECT_TRUE(test::PumpUntil([&] { return d.CddbClient->State() != cddbSitesSent; }));
            EXPECT_EQ(d.CddbClient->State(), cddbHttpFailed);
            EXPECT_EQ(d.cbSites->Items(), listed);
        },
        false);
    W().mmPrefs->Click();
}

}  // namespace
}  // namespace rv
