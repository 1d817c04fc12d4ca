#pragma once

#include <string>

#include "app/preferences.h"
#include "net/tests/test_servers.h"
#include "testsupport/test_files.h"

namespace rv::test {

// app/tests/cddb_server.py: a CDDB server whose answers the first part of the path chooses.
class AppCddbServer : public TestServer {
public:
    AppCddbServer() {
        Start("python3", {"/usr/bin/python3", SourcePath("app/tests/cddb_server.py")}, 0);
    }
    // Settings that ask this server, its answers chosen by `mode` ("two", "nomatch", ...).
    TPreferences Prefs(const std::string& mode) const {
        TPreferences prefs;
        prefs.Site = StrToSite(SiteText(mode));
        prefs.ProxyPort = "80";
        return prefs;
    }
    std::string SiteText(const std::string& mode) const {
        return "127.0.0.1 http " + PortText() + " /" + mode + "/cddb.cgi N000.00 W000.00 fake";
    }
};

}  // namespace rv::test
