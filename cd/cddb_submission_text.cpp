#include "cd/cddb_submission_text.h"

#include "platform/text/codepage.h"

namespace rv {

namespace {

std::string Latin1(std::string_view text) {
    return EncodeCodePage(CodePage::Iso8859_1, text);
}

}  // namespace

std::string LineBreakIn(const TCddbSubmission& s) {
    const std::pair<const char*, const std::string*> values[] = {
        {"category", &s.Category}, {"disc id", &s.DiscID}, {"e-mail address", &s.EmailUser},
        {"mode", &s.Mode},         {"note", &s.Note},
    };
    for (const auto& [name, value] : values) {
        if (value->find_first_of("\r\n") != std::string::npos) return name;
    }
    return {};
}

std::string CddbSubmitHeader(const TCddbSubmission& s) {
    return Latin1("\r\nCategory: " + s.Category + "\r\nDiscid: " + s.DiscID + "\r\nUser-Email: " +
                  s.EmailUser + "\r\nSubmit-Mode: " + s.Mode + "\r\nX-Cddbd-Note: " + s.Note);
}

std::string CddbSubmitPath(std::string_view queryPath) {
    const std::size_t slash = queryPath.rfind('/');
    if (slash == std::string_view::npos) return "/submit.cgi";
    return std::string(queryPath.substr(0, slash + 1)) + "submit.cgi";
}

std::vector<std::string> CddbEntryLines(const std::vector<std::string>& entry) {
    std::vector<std::string> lines;
    lines.reserve(entry.size());
    for (const std::string& line : entry) lines.push_back(Latin1(line));
    return lines;
}

}  // namespace rv
