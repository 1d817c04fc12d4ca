#pragma once

#include <string>
#include <string_view>

// The URLs of the CDDB server's HTTP interface.
namespace rv {

// The text in ISO-8859-1, the CDDB protocol's character set (a character it lacks becomes
// "?"), with each blank written "+", letters and digits as they are and every other byte as
// "%" and two upper-case hexadecimal digits.
std::string CddbUrlEncode(std::string_view text);

// The user part of the hello: the e-mail address with its last "@" made a blank, so user and
// host become two words; empty for a text without "@".
std::string CddbHelloUser(std::string_view emailUser);

struct TCddbServer {
    std::string Address;  // host name
    std::string Port;     // as text
    std::string Path;     // of the CGI program, "/~cddb/cddb.cgi"
};

// "http://<address>:<port><path>?cmd=<command>&hello=<user>+<client>+<version>&proto=5", every
// part after the path encoded. The hello's user part is CddbHelloUser's.
std::string CddbRequestUrl(const TCddbServer& server, std::string_view command,
                           std::string_view emailUser, std::string_view clientName,
                           std::string_view clientVersion);

}  // namespace rv
