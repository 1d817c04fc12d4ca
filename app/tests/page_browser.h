#pragma once
// Headless Chromium (Debian's package chromium) looking at pages, and a web server for them.

#include <string>
#include <vector>

#include "net/tests/test_servers.h"

namespace rv::test {

class PageBrowser {
public:
    // The Debian package of the browser or of pdftotext that is not installed; empty when both
    // are.
    static std::string Missing();
    // Why the installed browser does not start here; empty when it starts.
    static std::string StartFailure();
    // The page's document after it has loaded and its scripts have run.
    static std::string Dom(const std::string& url);
    // The text of the page as it prints, frames included; with `layout`, each line keeps the
    // blanks that place its text across the page.
    static std::string PrintedText(const std::string& url, bool layout = false);
};

// The rows of the first table body in a document, each a list of its cells' texts.
std::vector<std::vector<std::string>> TableRows(const std::string& dom);

// python3 -m http.server serving `folder` on 127.0.0.1.
class StaticHttpServer : public TestServer {
public:
    explicit StaticHttpServer(const std::string& folder);
};

}  // namespace rv::test
