#include "cd/cddb_url.h"

#include "platform/text/codepage.h"

namespace rv {

std::string CddbUrlEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : EncodeCodePage(CodePage::Iso8859_1, text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            out += '+';
        } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            out += c;
        } else {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        }
    }
    return out;
}

std::string CddbHelloUser(std::string_view emailUser) {
    const std::size_t at = emailUser.rfind('@');
    if (at == std::string_view::npos) return {};
    std::string user(emailUser);
    user[at] = ' ';
    return user;
}

std::string CddbRequestUrl(const TCddbServer& server, std::string_view command,
                           std::string_view emailUser, std::string_view clientName,
                           std::string_view clientVersion) {
    return "http://" + server.Address + ":" + server.Port + server.Path +
           "?cmd=" + CddbUrlEncode(command) + "&hello=" + CddbUrlEncode(CddbHelloUser(emailUser)) +
           "+" + CddbUrlEncode(clientName) + "+" + CddbUrlEncode(clientVersion) + "&proto=5";
}

}  // namespace rv
