#include "net/wsocket_resolve.h"

#include <algorithm>

#include "net/wsocket_types.h"
#include "platform/sockets/winsock.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The decimal number at the start of the text (after blanks), read up to its first non-digit;
// saturates rather than overflows.
long ReadDecimal(const std::string& text) {
    constexpr long kCeiling = 1000000;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = std::min(kCeiling, value * 10 + (text[i] - '0'));
    return value;
}

}  // namespace

bool WSocketIsDottedIP(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ') ++i;
    if (i == n || !IsDigit(text[i])) return false;
    int dots = 0, part = 0;
    for (; i < n && text[i] != ' '; ++i) {
        if (text[i] == '.') {
            if (++dots > 3 || i + 1 == n || !IsDigit(text[i + 1])) return false;
            part = 0;
        } else if (IsDigit(text[i])) {
            part = part * 10 + (text[i] - '0');
            if (part > 255) return false;
        } else {
            return false;
        }
    }
    for (; i < n; ++i)
        if (text[i] != ' ') return false;
    return dots == 3;
}

std::uint32_t WSocketResolveHost(const std::string& host) {
    if (host.empty() || host.size() >= 257)
        throw ESocketException("WSocketResolveHost: '" + host + "' Invalid Hostname.");
    if (WSocketIsDottedIP(host)) {
        const std::uint32_t address = inet_addr(Trim(host));
        if (address == INADDR_NONE && host != "255.255.255.255")
            throw ESocketException("WSocketResolveHost: '" + host + "' Invalid IP address.");
        return address;
    }
    THostEnt entry;
    if (!gethostbyname(host, entry) || entry.h_addr_list.empty())
        throw ESocketException(
            Format("WSocketResolveHost: Cannot convert host address '%s', Error #%d", host.c_str(),
                   WSAGetLastError()));
    return entry.h_addr_list.front();
}

std::uint16_t WSocketResolvePort(const std::string& port, const std::string& proto) {
    if (port.empty() || port.size() >= 32)
        throw ESocketException("WSocketResolvePort: Invalid Port.");
    if (proto.empty() || proto.size() >= 32)
        throw ESocketException("WSocketResolvePort: Invalid Proto.");
    if (IsDigit(port[0])) {
        // A number the 16 bits of a port cannot hold would otherwise wrap to another port.
        const long number = ReadDecimal(port);
        if (number > 65535) throw ESocketException("WSocketResolvePort: Invalid Port.");
        return static_cast<std::uint16_t>(number);
    }
    std::uint16_t networkPort = 0;
    if (!getservbyname(Trim(port), Trim(proto), networkPort))
        throw ESocketException(Format("WSocketResolvePort: Cannot convert port '%s', Error #%d",
                                      port.c_str(), WSAGetLastError()));
    return ntohs(networkPort);
}

int WSocketResolveProto(const std::string& proto) {
    if (proto.empty() || proto.size() >= 32)
        throw ESocketException("WSocketResolveProto: Invalid Protocol.");
    if (IsDigit(proto[0])) return static_cast<int>(ReadDecimal(proto));
    int number = 0;
    if (!getprotobyname(Trim(proto), number))
        throw ESocketException(
            Format("WSocketResolveProto: Cannot convert protocol '%s', Error #%d", proto.c_str(),
                   WSAGetLastError()));
    return number;
}

std::string LocalHostName() {
    std::string name;
    if (gethostname(name) != 0) throw ESocketException("Winsock.GetHostName failed");
    return name;
}

}  // namespace rv
