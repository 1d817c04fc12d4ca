#include "app/preferences.h"

#include "cd/cddb.h"
#include "medialib/safe_convert.h"
#include "platform/system/user_names.h"
#include "platform/text/ascii_case.h"
#include "platform/text/trim.h"
#include "widgets/stored_values.h"

namespace rv {

namespace {

void AddValue(TStoredValues& values, const char* name, TVariant value, const char* key = "") {
    TStoredValue* item = values.Add();
    item->SetName(name);
    item->Value = std::move(value);
    item->KeyString = key;
}

std::string Text(const TStoredValues& values, const char* name) {
    const TStoredValue* item = values.ValueByName(name);
    return item ? item->Value.AsString() : std::string();
}

void Set(TStoredValues& values, const char* name, TVariant value) {
    if (TStoredValue* item = values.ValueByName(name)) item->Value = std::move(value);
}

bool StoredFlag(const std::string& stored) {
    const std::string text = Trim(stored);
    return SameText(text, "True") || text == "1";
}

}  // namespace

std::string DefaultSiteText() {
    return std::string(kDefaultCddbServer) + " http 80 " + kDefaultCddbPath + " N000.00 W000.00 ";
}

void AddSettingValues(TStoredValues& values) {
    AddValue(values, "Site", DefaultSiteText());
    AddValue(values, "Proxy", false);
    AddValue(values, "ProxyAddr", "");
    AddValue(values, "ProxyPort", 80);
    AddValue(values, "ProxyUser", "");
    AddValue(values, "ProxyPwd", "", kProxyPwdKey);
}

TPreferences SettingsFromValues(const TStoredValues& values) {
    TPreferences prefs;
    prefs.Site = StrToSite(Text(values, "Site"));
    prefs.Proxy = StoredFlag(Text(values, "Proxy"));
    prefs.ProxyAddr = Text(values, "ProxyAddr");
    prefs.ProxyPort = Text(values, "ProxyPort");
    prefs.ProxyUser = Text(values, "ProxyUser");
    prefs.ProxyPwd = Text(values, "ProxyPwd");
    return prefs;
}

void SettingsToValues(const TPreferences& prefs, TStoredValues& values) {
    Set(values, "Site", SiteToStr(prefs.Site));
    Set(values, "Proxy", prefs.Proxy);
    Set(values, "ProxyAddr", prefs.ProxyAddr);
    Set(values, "ProxyPort", static_cast<int>(SafeStrToInt(prefs.ProxyPort)));
    Set(values, "ProxyUser", prefs.ProxyUser);
    Set(values, "ProxyPwd", prefs.ProxyPwd);
}

void AimCddbClient(TCddb& client, const TPreferences& prefs) {
    client.ServerAddr = prefs.Site.Address;
    client.ServerAdditionalAddr = prefs.Site.CGIPath;
    client.ServerType = prefs.Site.ServerType;
    client.ServerPort = std::to_string(prefs.Site.Port);
    if (prefs.Proxy) {
        client.SetProxyAddress(prefs.ProxyAddr);
        client.SetProxyPort(prefs.ProxyPort);
        client.SetProxyUsername(prefs.ProxyUser);
        client.SetProxyPassword(prefs.ProxyPwd);
    } else {
        client.SetProxyAddress("");
        client.SetProxyUsername("");
        client.SetProxyPassword("");
    }
}

void SetUpCddbClient(TCddb& client) {
    client.InternalTOCRetrieve = true;
    client.ServerAddr = kDefaultCddbServer;
    client.ServerAdditionalAddr = kDefaultCddbPath;
    client.ServerPort = "80";
    client.ServerType = TServerType::HTTP;
    client.SetProxyPort("80");
    client.SubmissionType = TSubmissionType::TEST;
    client.MailServerPort = "smtp";
    client.ClientName = "TestProgram";
    client.ClientVersion = "0.001";
    // The hello names a user and a host; servers refuse one without them.
    const std::string login = LoginName(), host = HostName();
    client.EmailUser = (login.empty() ? "user" : login) + "@" + (host.empty() ? "localhost" : host);
}

}  // namespace rv
