#pragma once

#include <string>

#include "cd/site.h"

namespace rv {

class TCddb;
class TStoredValues;

// The program's own settings: the CDDB site to ask, and the HTTP proxy to ask it through.
struct TPreferences {
    TServer Site;
    bool Proxy = false;
    std::string ProxyAddr;
    std::string ProxyPort;  // as typed
    std::string ProxyUser;
    std::string ProxyPwd;
};

// The key the proxy password is stored coded with.
inline constexpr char kProxyPwdKey[] = "Dudida";

// The site asked when none was chosen: the default server over HTTP on port 80.
std::string DefaultSiteText();

// The settings' stored values with their defaults, added to a form storage's values: "Site",
// "Proxy", "ProxyAddr", "ProxyPort", "ProxyUser" and "ProxyPwd" (coded with kProxyPwdKey).
void AddSettingValues(TStoredValues& values);

// The settings from the stored values as they were read (texts, whatever was stored): the site
// through StrToSite, the proxy flag from "True"/"False" in any letter case or "1"/"0"
// (anything else is off).
TPreferences SettingsFromValues(const TStoredValues& values);
// The settings into the stored values: the proxy port as an integer, 0 when it is no number.
void SettingsToValues(const TPreferences& prefs, TStoredValues& values);

// Points a CDDB client at the settings' site, and at their proxy when it is on; with the proxy
// off the client goes direct (its address and credentials emptied, its port kept).
void AimCddbClient(TCddb& client, const TPreferences& prefs);

// The design settings of the program's CDDB clients: HTTP to the default server, test
// submissions, the program's hello.
void SetUpCddbClient(TCddb& client);

}  // namespace rv
