// Host, service and protocol names, and the dotted form of addresses.

#include "platform/sockets/internal/host_lookup.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/sockets/internal/errno_map.h"
#include "platform/sockets/internal/socket_record.h"

namespace rv {

namespace detail {

int LookUpHostName(const std::string& name, THostEnt& entry) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = ::SOCK_STREAM;  // one answer per address
    hints.ai_flags = AI_CANONNAME;
    addrinfo* list = nullptr;
    errno = 0;
    const int result = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
    if (result != 0) return WsaErrorFromLookup(result, errno);
    const std::unique_ptr<addrinfo, void (*)(addrinfo*)> owner(list, ::freeaddrinfo);
    entry = THostEnt{};
    entry.h_name = list->ai_canonname ? list->ai_canonname : name;
    for (const addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family != AF_INET || !a->ai_addr) continue;
        const auto address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
        auto& addresses = entry.h_addr_list;
        if (std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(address);
    }
    return entry.h_addr_list.empty() ? WSANO_DATA : 0;
}

int LookUpHostAddress(std::uint32_t addr, THostEnt& entry) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = addr;
    char host[NI_MAXHOST];
    errno = 0;
    const int result = ::getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address,
                                     host, sizeof host, nullptr, 0, NI_NAMEREQD);
    if (result != 0) return WsaErrorFromLookup(result, errno);
    entry = THostEnt{};
    entry.h_name = host;
    entry.h_addr_list.push_back(addr);
    return 0;
}

}  // namespace detail

bool gethostbyname(const std::string& name, THostEnt& entry) {
    const int error = detail::LookUpHostName(name, entry);
    WSASetLastError(error);
    return error == 0;
}

bool getservbyname(const std::string& name, const std::string& proto, std::uint16_t& port) {
    servent entry{};
    servent* found = nullptr;
    char buffer[4096];
    const int result = ::getservbyname_r(name.c_str(), proto.empty() ? nullptr : proto.c_str(),
                                         &entry, buffer, sizeof buffer, &found);
    if (result != 0 || !found) {
        WSASetLastError(WSANO_DATA);
        return false;
    }
    port = static_cast<std::uint16_t>(found->s_port);
    return true;
}

bool getprotobyname(const std::string& name, int& protocol) {
    protoent entry{};
    protoent* found = nullptr;
    char buffer[4096];
    const int result = ::getprotobyname_r(name.c_str(), &entry, buffer, sizeof buffer, &found);
    if (result == 0 && found) {
        protocol = found->p_proto;
        return true;
    }
    // A system without its protocols file still knows the two that sockets here speak.
    if (name == "tcp" || name == "udp") {
        protocol = name == "tcp" ? ws::kIpProtoTcp : ws::kIpProtoUdp;
        return true;
    }
    WSASetLastError(WSANO_DATA);
    return false;
}

int gethostname(std::string& name) {
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return detail::Fail(detail::WsaErrorFromErrno(errno));
    name = buffer;
    return 0;
}

std::uint32_t inet_addr(const std::string& cp) {
    return ::inet_addr(cp.c_str());
}

std::string inet_ntoa(std::uint32_t in) {
    in_addr address{};
    address.s_addr = in;
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace rv
