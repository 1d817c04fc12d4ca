#include "app/tests/page_browser.h"

#include "platform/sockets/tests/socket_peer.h"
#include "testsupport/process.h"
#include "testsupport/temp_dir.h"
#include "testsupport/test_files.h"

namespace rv::test {

namespace {

ProcessResult Chromium(const std::vector<std::string>& options, const std::string& url) {
    TempDir profile;
    std::vector<std::string> argv = {"timeout",
                                     "90",
                                     "chromium",
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--no-first-run",
                                     "--user-data-dir=" + profile.Path(),
                                     "--virtual-time-budget=5000"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(url);
    return RunProcess(argv);
}

std::string Unescaped(std::string text) {
    const std::pair<const char*, const char*> entities[] = {{"&lt;", "<"},    {"&gt;", ">"},
                                                            {"&quot;", "\""}, {"&#39;", "'"},
                                                            {"&nbsp;", " "},  {"&amp;", "&"}};
    for (const auto& [entity, character] : entities) {
        for (std::size_t at = 0; (at = text.find(entity, at)) != std::string::npos; ++at)
            text.replace(at, std::string(entity).size(), character);
    }
    return text;
}

}  // namespace

std::string PageBrowser::Missing() {
    for (const char* package : {"chromium", "poppler-utils"})
        if (!PackageInstalled(package)) return package;
    return {};
}

std::string PageBrowser::StartFailure() {
    static const std::string why = []() -> std::string {
        const ProcessResult blank = Chromium({"--dump-dom"}, "about:blank");
        if (blank.exitCode != 0 || blank.out.find("<html") == std::string::npos)
            return "chromium --headless does not start here: " +
                   blank.err.substr(0, std::min<std::size_t>(blank.err.size(), 400));
        return {};
    }();
    return why;
}

std::string PageBrowser::Dom(const std::string& url) {
    return Chromium({"--dump-dom"}, url).out;
}

std::string PageBrowser::PrintedText(const std::string& url, bool layout) {
    TempDir dir;
    const std::string pdf = dir / "page.pdf";
    Chromium({"--no-pdf-header-footer", "--print-to-pdf=" + pdf}, url);
    if (!FileExists(pdf)) return {};
    std::vector<std::string> argv = {"pdftotext", "-enc", "UTF-8", pdf, "-"};
    if (layout) argv.insert(argv.begin() + 1, "-layout");
    return RunProcess(argv).out;
}

std::vector<std::vector<std::string>> TableRows(const std::string& dom) {
    std::vector<std::vector<std::string>> rows;
    const std::size_t bodyStart = dom.find("<tbody>");
    const std::size_t bodyEnd = dom.find("</tbody>", bodyStart);
    if (bodyStart == std::string::npos || bodyEnd == std::string::npos) return rows;
    const std::string body = dom.substr(bodyStart, bodyEnd - bodyStart);
    for (std::size_t row = body.find("<tr"); row != std::string::npos;
         row = body.find("<tr", row + 1)) {
        const std::size_t rowEnd = body.find("</tr>", row);
        std::vector<std::string> cells;
        for (std::size_t cell = body.find("<td", row); cell < rowEnd;
             cell = body.find("<td", cell + 1)) {
            const std::size_t textStart = body.find('>', cell) + 1;
            cells.push_back(
                Unescaped(body.substr(textStart, body.find("</td>", cell) - textStart)));
        }
        rows.push_back(cells);
    }
    return rows;
}

StaticHttpServer::StaticHttpServer(const std::string& folder) {
    const int port = UnusedPort();
    Start("python3",
          {"/usr/bin/python3", "-m", "http.server", std::to_string(port), "--bind", "127.0.0.1",
           "--directory", folder},
          port);
}

}  // namespace rv::test
