#include "app/prefs_dialog.h"

#include <optional>
#include <sstream>

#include "cd/cddb.h"
#include "platform/text/ascii_case.h"
#include "widgets/form_storage.h"

namespace rv {

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 222;

// The first two blank-separated words of a line.
void FirstWords(std::string_view line, std::string& first, std::string& second) {
    std::istringstream words{std::string(line)};
    words >> first >> second;
}

}  // namespace

TSiteLineUse SiteLineUse(std::string_view line) {
    std::string first, second;
    FirstWords(line, first, second);
    if (SameText(first, "210")) return TSiteLineUse::Clear;
    // Only a line that makes a whole site is offered: one the user picks becomes the site asked.
    const std::optional<TServer> site = SiteFromServerLine(line);
    if (site && site->ServerType == TServerType::HTTP) return TSiteLineUse::Add;
    return TSiteLineUse::Ignore;
}

Tdlg_rv_Prefs::Tdlg_rv_Prefs() : TEntryDialog("Preferences", kWidth, kHeight) {
    SetName("dlg_rv_Prefs");
    TFont bold = Font();
    bold.Style = fsBold;
    AddLabel(8, 8, "Dudida Site:")->SetFont(bold);
    AddLabel(8, 33, "Site:");
    cbSites = AddList("cbSites", 44, 30, 272, csDropDown, {});
    cbSites->SetText(DefaultSiteText());
    bSites = new TLbButton(this);
    bSites->SetName("bSites");
    bSites->SetParent(this);
    bSites->SetBounds(324, 28, 88, 25);
    bSites->SetCaption("Get Sites");
    bSites->OnClick = [this](TObject* s) { bSitesClick(s); };

    gbProxy = new TGroupBox(this);
    gbProxy->SetName("gbProxy");
    gbProxy->SetParent(this);
    gbProxy->SetBounds(8, 72, kWidth - 16, 98);
    cbxProxy = new TCheckBox(this);
    cbxProxy->SetName("cbxProxy");
    cbxProxy->SetParent(this);
    cbxProxy->SetBounds(18, 64, 110, 17);
    cbxProxy->SetCaption("Proxy Server:");
    cbxProxy->OnClick = [this](TObject* s) { cbxProxyClick(s); };
    auto edit = [this](const char* name, int x, int y, int width) {
        auto* e = new TEdit(this);
        e->SetName(name);
        e->SetParent(gbProxy);
        e->SetBounds(x, y, width, 21);
        e->SetTabStop(true);
        return e;
    };
    auto label = [this](int x, int y, const char* caption) {
        auto* l = new TLabel(this);
        l->SetParent(gbProxy);
        l->SetBounds(x, y, 0, 0);
        l->SetCaption(caption);
    };
    eProxyServer = edit("eProxyServer", 12, 24, 280);
    label(298, 27, ":");
    eProxyPort = edit("eProxyPort", 308, 24, 76);
    eProxyPort->SetText("80");
    label(12, 63, "Username:");
    eProxyUser = edit("eProxyUser", 80, 60, 110);
    label(206, 63, "Password:");
    eProxyPwd = edit("eProxyPwd", 274, 60, 110);
    eProxyPwd->SetPasswordChar('*');

    CddbClient = new TCddb(this);
    CddbClient->SetName("CddbClient");
    SetUpCddbClient(*CddbClient);
    CddbClient->OnDataExchange = [this](TObject* s, const std::string& line) {
        CddbClientDataExchange(s, line);
    };

    // The fetched site list is kept across runs; no placement.
    Storage = new TFormStorage(this);
    Storage->SetName("Storage");
    Storage->SetIniFileName("SOFTWARE\\Lorvix\\Reelvault");
    Storage->SetIniSection("1.x");
    Storage->UseRegistry = true;
    Storage->Options = 0;
    Storage->SetStoredProps({{"cbSites.Items", nullptr}});
    SetActiveControl(cbSites);
    FinishLoading();
}

Tdlg_rv_Prefs::~Tdlg_rv_Prefs() {
    // The storage writes the site list while the dialog's parts are all there.
    BeforeDestruction();
}

void Tdlg_rv_Prefs::Fill(const TPreferences& prefs) {
    eProxyServer->SetText(prefs.ProxyAddr);
    eProxyPort->SetText(prefs.ProxyPort);
    eProxyUser->SetText(prefs.ProxyUser);
    eProxyPwd->SetText(prefs.ProxyPwd);
    cbxProxy->SetChecked(prefs.Proxy);
    gbProxy->SetEnabled(prefs.Proxy);
    cbSites->SetText(SiteToStr(prefs.Site));
}

TPreferences Tdlg_rv_Prefs::Typed() const {
    TPreferences prefs;
    prefs.Site = StrToSite(cbSites->Text());
    prefs.Proxy = cbxProxy->Checked();
    prefs.ProxyAddr = eProxyServer->Text();
    prefs.ProxyPort = eProxyPort->Text();
    prefs.ProxyUser = eProxyUser->Text();
    prefs.ProxyPwd = eProxyPwd->Text();
    return prefs;
}

void Tdlg_rv_Prefs::CopyTo(TPreferences& prefs) const {
    prefs = Typed();
}

void Tdlg_rv_Prefs::cbxProxyClick(TObject*) {
    gbProxy->SetEnabled(cbxProxy->Checked());
}

void Tdlg_rv_Prefs::bSitesClick(TObject*) {
    AimCddbClient(*CddbClient, Typed());
    CddbClient->HTTPSites();
}

void Tdlg_rv_Prefs::CddbClientDataExchange(TObject*, const std::string& line) {
    if (CddbClient->State() != cddbSitesSent) return;
    switch (SiteLineUse(line)) {
        case TSiteLineUse::Clear:
            cbSites->ClearItems();
            break;
        case TSiteLineUse::Add:
            cbSites->AddItem(line);
            break;
        case TSiteLineUse::Ignore:
            break;
    }
}

bool ExecutePrefs(TPreferences& prefs) {
    Tdlg_rv_Prefs dialog;
    dialog.Fill(prefs);
    if (!dialog.Execute()) return false;
    dialog.CopyTo(prefs);
    return true;
}

}  // namespace rv
