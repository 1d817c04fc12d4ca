// The socket calls over POSIX sockets: handles in place of descriptors, Winsock's error numbers
// in place of errno, and the bookkeeping that decides when the next event may be posted.

#include "platform/sockets/internal/socket_record.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "platform/sockets/internal/errno_map.h"

namespace rv {

using detail::Fail;
using detail::FindSocket;

namespace {

int FailErrno() {
    return Fail(detail::WsaErrorFromErrno(errno));
}

sockaddr_in ToSystem(const TSockAddrIn& name) {
    sockaddr_in address{};
    address.sin_family = name.sin_family == ws::kAfInet ? AF_INET : AF_UNSPEC;
    address.sin_port = name.sin_port;
    address.sin_addr.s_addr = name.sin_addr;
    return address;
}

void FromSystem(const sockaddr_in& address, TSockAddrIn* name) {
    if (!name) return;
    name->sin_family = ws::kAfInet;
    name->sin_port = address.sin_port;
    name->sin_addr = address.sin_addr.s_addr;
}

// The flags a caller may give to send and recv; the system uses the same bits for them.
int MessageFlags(int flags) {
    return flags & (::MSG_OOB | ::MSG_PEEK | ::MSG_DONTROUTE);
}

// Connect outcomes that Winsock reports through FD_CONNECT rather than from connect itself.
bool IsConnectOutcome(int error) {
    return error == ECONNREFUSED || error == ETIMEDOUT || error == ENETUNREACH ||
           error == EHOSTUNREACH || error == ECONNRESET;
}

int SendFailure(detail::SocketRecord& r, int error) {
    if (error == EAGAIN || error == EWOULDBLOCK) {
        r.writeWanted = true;
        detail::UpdateWatch(r);
        return Fail(WSAEWOULDBLOCK);
    }
    if (error == EPIPE) return Fail(r.sendShut ? WSAESHUTDOWN : WSAECONNRESET);
    return FailErrno();
}

int SendResult(detail::SocketRecord& r, ssize_t sent, int len) {
    if (sent < 0) return SendFailure(r, errno);
    if (sent < len) {
        r.writeWanted = true;
        detail::UpdateWatch(r);
    }
    return static_cast<int>(sent);
}

int SocketName(TSocket s, TSockAddrIn* name, int (*call)(int, sockaddr*, socklen_t*)) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (call(r->fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return FailErrno();
    FromSystem(address, name);
    return 0;
}

void RearmRead(detail::SocketRecord& r) {
    r.readArmed = true;
    detail::UpdateWatch(r);
}

}  // namespace

TSocket socket(int af, int type, int protocol) {
    if (af != ws::kAfInet) {
        WSASetLastError(WSAEAFNOSUPPORT);
        return INVALID_SOCKET;
    }
    if (type != ws::kSockStream && type != ws::kSockDgram) {
        WSASetLastError(WSAESOCKTNOSUPPORT);
        return INVALID_SOCKET;
    }
    const bool stream = type == ws::kSockStream;
    const int fd = ::socket(
        AF_INET, (stream ? ::SOCK_STREAM : ::SOCK_DGRAM) | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol);
    if (fd < 0) {
        FailErrno();
        return INVALID_SOCKET;
    }
    return detail::RegisterSocket(fd, stream, false);
}

int closesocket(TSocket s) {
    const auto record = detail::UnregisterSocket(s);
    if (!record) return SOCKET_ERROR;
    detail::StopWatching(*record);
    // The descriptor is released even when close reports an error, so it is never closed again.
    ::close(record->fd);
    return 0;
}

int shutdown(TSocket s, int how) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (how != SD_RECEIVE && how != SD_SEND && how != SD_BOTH) return Fail(WSAEINVAL);
    const int systemHow = how == SD_RECEIVE ? SHUT_RD : how == SD_SEND ? SHUT_WR : SHUT_RDWR;
    if (::shutdown(r->fd, systemHow) != 0) return FailErrno();
    if (how != SD_RECEIVE) r->sendShut = true;
    return 0;
}

int bind(TSocket s, const TSockAddrIn& name) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    const sockaddr_in address = ToSystem(name);
    if (::bind(r->fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return FailErrno();
    return 0;
}

int listen(TSocket s, int backlog) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (::listen(r->fd, backlog) != 0) return FailErrno();
    r->listening = true;
    RearmRead(*r);
    return 0;
}

TSocket accept(TSocket s, TSockAddrIn* addr) {
    const auto r = FindSocket(s);
    if (!r) return INVALID_SOCKET;
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const int fd = ::accept4(r->fd, reinterpret_cast<sockaddr*>(&address), &length,
                             SOCK_NONBLOCK | SOCK_CLOEXEC);
    const int error = errno;
    RearmRead(*r);
    if (fd < 0) {
        Fail(detail::WsaErrorFromErrno(error));
        return INVALID_SOCKET;
    }
    FromSystem(address, addr);
    return detail::RegisterSocket(fd, true, true);
}

int connect(TSocket s, const TSockAddrIn& name) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (r->stream && r->connecting) return Fail(WSAEALREADY);
    if (r->stream && r->connected) return Fail(WSAEISCONN);
    const sockaddr_in address = ToSystem(name);
    const int result =
        ::connect(r->fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (!r->stream) return result == 0 ? 0 : FailErrno();
    const int error = result == 0 ? 0 : errno;
    if (error == EINPROGRESS || error == EINTR) {
        r->connecting = true;
        detail::UpdateWatch(*r);
        return Fail(WSAEWOULDBLOCK);
    }
    if (error == 0 || IsConnectOutcome(error)) {
        detail::FinishConnect(*r, error);
        return Fail(WSAEWOULDBLOCK);
    }
    return Fail(detail::WsaErrorFromErrno(error));
}

int send(TSocket s, const void* buf, int len, int flags) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (len < 0 || (len > 0 && !buf)) return Fail(WSAEFAULT);
    const auto sent = ::send(r->fd, buf, static_cast<size_t>(len),
                             MessageFlags(flags) | MSG_NOSIGNAL | MSG_DONTWAIT);
    return SendResult(*r, sent, len);
}

int sendto(TSocket s, const void* buf, int len, int flags, const TSockAddrIn& to) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (len < 0 || (len > 0 && !buf)) return Fail(WSAEFAULT);
    const sockaddr_in address = ToSystem(to);
    const auto sent = ::sendto(r->fd, buf, static_cast<size_t>(len),
                               MessageFlags(flags) | MSG_NOSIGNAL | MSG_DONTWAIT,
                               reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return SendResult(*r, sent, len);
}

int recv(TSocket s, void* buf, int len, int flags) {
    return recvfrom(s, buf, len, flags, nullptr);
}

int recvfrom(TSocket s, void* buf, int len, int flags, TSockAddrIn* from) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (len < 0 || (len > 0 && !buf)) return Fail(WSAEFAULT);
    sockaddr_in address{};
    socklen_t length = sizeof address;
    const auto received =
        ::recvfrom(r->fd, buf, static_cast<size_t>(len), MessageFlags(flags) | MSG_DONTWAIT,
                   reinterpret_cast<sockaddr*>(&address), &length);
    const int error = errno;
    RearmRead(*r);
    if (received < 0) return Fail(detail::WsaErrorFromErrno(error));
    if (from && length >= sizeof address) FromSystem(address, from);
    return static_cast<int>(received);
}

int ioctlsocket(TSocket s, long cmd, std::uint32_t* argp) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    if (cmd != ws::kFionRead || !argp) return Fail(WSAEINVAL);
    int waiting = 0;
    if (::ioctl(r->fd, FIONREAD, &waiting) != 0) return FailErrno();
    *argp = static_cast<std::uint32_t>(waiting < 0 ? 0 : waiting);
    return 0;
}

int getsockname(TSocket s, TSockAddrIn* name) {
    return SocketName(s, name, ::getsockname);
}

int getpeername(TSocket s, TSockAddrIn* name) {
    return SocketName(s, name, ::getpeername);
}

int setsockopt(TSocket s, int level, int optname, int value) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    int systemLevel = -1, systemName = -1;
    if (level == ws::kSolSocket) {
        systemLevel = SOL_SOCKET;
        switch (optname) {
            case ws::kSoReuseAddr:
                systemName = SO_REUSEADDR;
                break;
            case ws::kSoKeepAlive:
                systemName = SO_KEEPALIVE;
                break;
            case ws::kSoBroadcast:
                systemName = SO_BROADCAST;
                break;
            case ws::kSoSndBuf:
                systemName = SO_SNDBUF;
                break;
            case ws::kSoRcvBuf:
                systemName = SO_RCVBUF;
                break;
        }
    } else if (level == ws::kIpProtoTcp && optname == ws::kTcpNoDelay) {
        systemLevel = ::IPPROTO_TCP;
        systemName = TCP_NODELAY;
    } else if (level == ws::kIpProtoIp && optname == ws::kIpMulticastTtl) {
        systemLevel = ::IPPROTO_IP;
        systemName = IP_MULTICAST_TTL;
    }
    if (systemName < 0) return Fail(WSAENOPROTOOPT);
    if (::setsockopt(r->fd, systemLevel, systemName, &value, sizeof value) != 0) return FailErrno();
    return 0;
}

int setsockopt(TSocket s, const TLinger& linger) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    // Only the reset asks the system to linger; a lingering close would block the calling thread,
    // while a socket in asynchronous mode is never to block.
    ::linger value{};
    value.l_onoff = linger.l_onoff != 0 && linger.l_linger == 0 ? 1 : 0;
    value.l_linger = 0;
    if (::setsockopt(r->fd, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0) return FailErrno();
    return 0;
}

int setsockopt(TSocket s, const TIpMreq& membership) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    ip_mreq value{};
    value.imr_multiaddr.s_addr = membership.imr_multiaddr;
    value.imr_interface.s_addr = membership.imr_interface;
    if (::setsockopt(r->fd, ::IPPROTO_IP, IP_ADD_MEMBERSHIP, &value, sizeof value) != 0)
        return FailErrno();
    return 0;
}

int WSAAsyncSelect(TSocket s, HWND wnd, UINT msg, long events) {
    const auto r = FindSocket(s);
    if (!r) return SOCKET_ERROR;
    return detail::SelectEvents(*r, wnd, msg, events);
}

}  // namespace rv
