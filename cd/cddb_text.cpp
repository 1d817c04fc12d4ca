#include "cd/cddb_text.h"

#include "platform/text/codepage.h"

namespace rv {

std::vector<std::string> CddbAnswerLines(std::string_view received) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < received.size()) {
        std::size_t end = received.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = received.size();
        lines.push_back(DecodeCodePage(CodePage::Iso8859_1, received.substr(start, end - start)));
        if (end + 1 < received.size() && received[end] == '\r' && received[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return lines;
}

}  // namespace rv
