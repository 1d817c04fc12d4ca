#pragma once

#include <string>
#include <string_view>

#include "app/entry_dialog.h"
#include "app/preferences.h"
#include "platform/framework/check_box.h"
#include "platform/framework/group_box.h"

namespace rv {

class TCddb;
class TFormStorage;

// What the site list does with a line the CDDB client received while sites were asked for: the
// server's "210" (a list follows) empties it, a well-formed site line (cd/site.h) of the HTTP
// protocol is added whole, anything else (other protocols, malformed lines, the closing ".",
// other answers) is left out.
enum class TSiteLineUse { Ignore, Clear, Add };
TSiteLineUse SiteLineUse(std::string_view line);

// The preferences: the CDDB site, which "Get Sites" can fill from the server's own list (kept
// across runs), and the HTTP proxy.
class Tdlg_rv_Prefs : public TEntryDialog {
public:
    Tdlg_rv_Prefs();
    ~Tdlg_rv_Prefs() override;
    std::string ClassName() const override { return "Tdlg_rv_Prefs"; }

    TComboBox* cbSites;
    TLbButton* bSites;
    TCheckBox* cbxProxy;
    TGroupBox* gbProxy;
    TEdit *eProxyServer, *eProxyPort, *eProxyUser, *eProxyPwd;
    TCddb* CddbClient;
    TFormStorage* Storage;

    void Fill(const TPreferences& prefs);
    void CopyTo(TPreferences& prefs) const;

    // The proxy's fields are open exactly while the box is ticked.
    void cbxProxyClick(TObject* sender);
    // Asks the site typed in the box for its list of sites, through the proxy when ticked.
    void bSitesClick(TObject* sender);
    void CddbClientDataExchange(TObject* sender, const std::string& line);

private:
    // The settings as the dialog's fields have them.
    TPreferences Typed() const;
};

// Shows the preferences filled from `prefs`; OK copies the fields back. True on OK.
bool ExecutePrefs(TPreferences& prefs);

}  // namespace rv
