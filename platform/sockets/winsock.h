#pragma once

// IPv4 sockets in the form the network clients were written against: Winsock calls, constants and
// error numbers, with select-style notifications delivered as window messages (WSAAsyncSelect)
// and host look-ups answered by a message. Every socket is non-blocking. A socket belongs to the
// thread that selects its events; that thread's message loop delivers them.

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/messages/messages.h"
#include "platform/sockets/internal/ws_values.h"
#include "platform/sockets/wsa_errors.h"

namespace rv {

// A socket handle. A handle is never handed out twice in one run, so a stale one — closed twice,
// or carried by an event still queued — can never reach a newer socket.
using TSocket = std::uintptr_t;
inline constexpr TSocket INVALID_SOCKET = ~TSocket(0);
inline constexpr int SOCKET_ERROR = -1;

inline constexpr int AF_INET = ws::kAfInet;
inline constexpr int SOCK_STREAM = ws::kSockStream;
inline constexpr int SOCK_DGRAM = ws::kSockDgram;
inline constexpr int IPPROTO_IP = ws::kIpProtoIp;
inline constexpr int IPPROTO_TCP = ws::kIpProtoTcp;
inline constexpr int IPPROTO_UDP = ws::kIpProtoUdp;

inline constexpr int SOL_SOCKET = ws::kSolSocket;
inline constexpr int SO_REUSEADDR = ws::kSoReuseAddr;
inline constexpr int SO_KEEPALIVE = ws::kSoKeepAlive;
inline constexpr int SO_BROADCAST = ws::kSoBroadcast;
inline constexpr int SO_LINGER = ws::kSoLinger;
inline constexpr int SO_SNDBUF = ws::kSoSndBuf;
inline constexpr int SO_RCVBUF = ws::kSoRcvBuf;
inline constexpr int TCP_NODELAY = ws::kTcpNoDelay;
inline constexpr int IP_MULTICAST_TTL = ws::kIpMulticastTtl;
inline constexpr int IP_ADD_MEMBERSHIP = ws::kIpAddMembership;

inline constexpr int MSG_OOB = 1;
inline constexpr int MSG_PEEK = 2;

inline constexpr int SD_RECEIVE = 0;
inline constexpr int SD_SEND = 1;
inline constexpr int SD_BOTH = 2;

inline constexpr long FIONREAD = ws::kFionRead;

inline constexpr std::uint32_t INADDR_ANY = 0;
inline constexpr std::uint32_t INADDR_NONE = 0xFFFFFFFF;

// Network events of WSAAsyncSelect.
inline constexpr long FD_READ = 0x01;
inline constexpr long FD_WRITE = 0x02;
inline constexpr long FD_OOB = 0x04;
inline constexpr long FD_ACCEPT = 0x08;
inline constexpr long FD_CONNECT = 0x10;
inline constexpr long FD_CLOSE = 0x20;

// An IPv4 socket address; port and address in network byte order.
struct TSockAddrIn {
    std::uint16_t sin_family = AF_INET;
    std::uint16_t sin_port = 0;
    std::uint32_t sin_addr = 0;
};

struct TLinger {
    std::uint16_t l_onoff = 0;
    std::uint16_t l_linger = 0;  // seconds
};

// A multicast group to join (IP_ADD_MEMBERSHIP), addresses in network byte order.
struct TIpMreq {
    std::uint32_t imr_multiaddr = 0;
    std::uint32_t imr_interface = INADDR_ANY;
};

// A host entry: official name, aliases and IPv4 addresses (network byte order).
struct THostEnt {
    std::string h_name;
    std::vector<std::string> h_aliases;
    std::vector<std::uint32_t> h_addr_list;
};

// Byte order of the network (big-endian).
constexpr std::uint16_t htons(std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::big) return v;
    return static_cast<std::uint16_t>((v >> 8) | (v << 8));
}
constexpr std::uint16_t ntohs(std::uint16_t v) {
    return htons(v);
}
constexpr std::uint32_t htonl(std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) return v;
    return (v >> 24) | ((v >> 8) & 0xFF00) | ((v << 8) & 0xFF0000) | (v << 24);
}
constexpr std::uint32_t ntohl(std::uint32_t v) {
    return htonl(v);
}

// Socket event messages: the low word of LParam holds the event, the high word its error.
constexpr LPARAM WSAMAKESELECTREPLY(long event, int error) {
    return static_cast<LPARAM>((static_cast<std::uint32_t>(error) & 0xFFFF) << 16 |
                               (static_cast<std::uint32_t>(event) & 0xFFFF));
}
constexpr long WSAGETSELECTEVENT(LPARAM lParam) {
    return static_cast<long>(lParam & 0xFFFF);
}
constexpr int WSAGETSELECTERROR(LPARAM lParam) {
    return static_cast<int>((lParam >> 16) & 0xFFFF);
}
// Look-up answers: WParam is the request's handle, the high word of LParam its error.
constexpr int WSAGETASYNCERROR(LPARAM lParam) {
    return static_cast<int>((lParam >> 16) & 0xFFFF);
}

// The error of the calling thread's last failed call.
int WSAGetLastError();
void WSASetLastError(int error);

// A new socket: af AF_INET; type SOCK_STREAM or SOCK_DGRAM; protocol 0 or a protocol number.
TSocket socket(int af, int type, int protocol);

// Closes the socket and forgets its handle: later calls with it fail with WSAENOTSOCK and it
// posts no more events (one already queued may still arrive). Never blocks.
int closesocket(TSocket s);

int shutdown(TSocket s, int how);
int bind(TSocket s, const TSockAddrIn& name);
int listen(TSocket s, int backlog);

// The new connection, with no events selected yet, and the peer's address when `addr` is given.
// Re-arms FD_ACCEPT.
TSocket accept(TSocket s, TSockAddrIn* addr);

// Starts a TCP connection: as on a socket in asynchronous mode it fails with WSAEWOULDBLOCK and
// the outcome arrives as FD_CONNECT — also when it is known at once, as for a refused port on this
// machine. For a datagram socket it sets the default peer at once.
int connect(TSocket s, const TSockAddrIn& name);

// Flags: 0, MSG_OOB. Never raises SIGPIPE: a send on a connection the peer has closed or reset
// fails with WSAECONNRESET (WSAESHUTDOWN after shutting down our own sending side). A send that
// takes less than offered, or would block, arms FD_WRITE for when there is room again.
int send(TSocket s, const void* buf, int len, int flags);
int sendto(TSocket s, const void* buf, int len, int flags, const TSockAddrIn& to);

// Flags: 0, MSG_OOB, MSG_PEEK. Returns 0 at the end of the stream. Re-arms FD_READ, which is
// posted again when data is still waiting.
int recv(TSocket s, void* buf, int len, int flags);
int recvfrom(TSocket s, void* buf, int len, int flags, TSockAddrIn* from);

// FIONREAD: the bytes waiting (for a datagram socket, the size of the next datagram).
int ioctlsocket(TSocket s, long cmd, std::uint32_t* argp);

int getsockname(TSocket s, TSockAddrIn* name);
int getpeername(TSocket s, TSockAddrIn* name);

// Integer and Boolean options: SOL_SOCKET with SO_REUSEADDR, SO_KEEPALIVE, SO_BROADCAST,
// SO_SNDBUF, SO_RCVBUF; IPPROTO_TCP with TCP_NODELAY; IPPROTO_IP with IP_MULTICAST_TTL.
int setsockopt(TSocket s, int level, int optname, int value);
// SO_LINGER. On with 0 seconds, closing resets the connection and drops unsent data; otherwise
// closing hands the unsent data to the system, which sends it after closesocket has returned.
int setsockopt(TSocket s, const TLinger& linger);
// IP_ADD_MEMBERSHIP.
int setsockopt(TSocket s, const TIpMreq& membership);

// Asks for `events` (FD_*) of the socket as `msg` to `wnd` (events 0: none any more), with
// WParam the socket and LParam WSAMAKESELECTREPLY(event, error). FD_READ and FD_ACCEPT are
// posted once and again only after recv or accept; FD_WRITE once connected and then only after a
// send that could not take everything; FD_CONNECT once, with the connection's outcome; FD_CLOSE
// once, when the peer has closed (error 0, after everything it sent has been read) or reset the
// connection. A socket that can be written at once gets FD_WRITE at once. Fails with
// WSASYSNOTREADY in a thread whose loop cannot watch sockets.
int WSAAsyncSelect(TSocket s, HWND wnd, UINT msg, long events);

// Blocking look-ups. False on failure (WSAGetLastError tells why).
bool gethostbyname(const std::string& name, THostEnt& entry);
// The service's port in network byte order; proto may be empty.
bool getservbyname(const std::string& name, const std::string& proto, std::uint16_t& port);
bool getprotobyname(const std::string& name, int& protocol);
int gethostname(std::string& name);

// The address of a dotted text in network byte order, INADDR_NONE when it is none (the classic
// forms: "a.b.c.d", also "a.b.c", "a.b" and "a", each part decimal, octal or hex).
std::uint32_t inet_addr(const std::string& cp);
std::string inet_ntoa(std::uint32_t in);

// A host look-up on a resolver thread. Returns its handle (never 0 for a started one; 0 on
// failure); the answer comes as `msg` to `wnd` with WParam the handle and WSAGETASYNCERROR of
// LParam its error, `result` having been filled when the error is 0.
using TAsyncHandle = std::uintptr_t;
TAsyncHandle WSAAsyncGetHostByName(HWND wnd, UINT msg, const std::string& name,
                                   std::shared_ptr<THostEnt> result);
// The name of an address (network byte order).
TAsyncHandle WSAAsyncGetHostByAddr(HWND wnd, UINT msg, std::uint32_t addr,
                                   std::shared_ptr<THostEnt> result);
// Drops a look-up: its answer is not posted. WSAEALREADY when it has been answered (the answer
// may still be queued) or cancelled already, WSAEINVAL for a handle never given out.
int WSACancelAsyncRequest(TAsyncHandle handle);

}  // namespace rv
