// Opening sockets: connecting, listening, taking over accepted connections, and the questions
// about both ends.

#include <algorithm>

#include "net/custom_wsocket.h"
#include "net/wsocket_resolve.h"

namespace rv {

namespace {

constexpr long kConnectEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
constexpr long kListenEvents = FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE;
constexpr long kDupEvents = FD_READ | FD_WRITE | FD_CONNECT | FD_CLOSE;

}  // namespace

void TCustomWSocket::ResolveRemote() {
    if (!protoResolved_) {
        proto_ = WSocketResolveProto(protoStr_);
        socketType_ = proto_ == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
        protoResolved_ = true;
    }
    if (!portResolved_) {
        sin_.sin_port = htons(WSocketResolvePort(portStr_, protoStr_));
        portResolved_ = true;
    }
    if (!localPortResolved_) {
        localPortNum_ = WSocketResolvePort(localPortStr_, protoStr_);
        localPortResolved_ = true;
    }
    if (!addrResolved_) {
        sin_.sin_addr = WSocketResolveHost(addrStr_);
        addrResolved_ = true;
    }
}

bool TCustomWSocket::OpenSocket(const char* function) {
    hSocket_ = socket(AF_INET, socketType_, proto_);
    if (hSocket_ == INVALID_SOCKET) {
        SocketError(function);
        return false;
    }
    ChangeState(wsOpened);
    return true;
}

void TCustomWSocket::Connect() {
    if (hSocket_ != INVALID_SOCKET && state_ != wsClosed) {
        ReportError("Connect: Socket already in use");
        return;
    }
    const char* missing = !portAssigned_    ? "Connect: No Port Specified"
                          : !addrAssigned_  ? "Connect: No IP Address Specified"
                          : !protoAssigned_ ? "Connect: No Protocol Specified"
                                            : nullptr;
    if (missing) {
        ReportError(missing);
        return;
    }
    ResolveRemote();
    DeleteBufferedData();
    if (!OpenSocket("Connect (socket)")) return;

    if (socketType_ == SOCK_STREAM) {
        if (setsockopt(hSocket_, SOL_SOCKET, SO_REUSEADDR, 1) == SOCKET_ERROR) {
            SocketError("setsockopt(SO_REUSEADDR)");
            return;
        }
        if (ComponentOptions.Contains(wsoTcpNoDelay) &&
            setsockopt(hSocket_, IPPROTO_TCP, TCP_NODELAY, 1) == SOCKET_ERROR) {
            SocketError("setsockopt(IPPROTO_TCP, TCP_NODELAY)");
            return;
        }
        SetLingerOption();
        if (setsockopt(hSocket_, SOL_SOCKET, SO_KEEPALIVE, 1) == SOCKET_ERROR) {
            SocketError("setsockopt(SO_KEEPALIVE)");
            return;
        }
        if (localPortNum_ != 0 || localAddrStr_ != "0.0.0.0") BindLocal();
    } else {
        BindLocal();
        if (MultiCast && MultiCastIpTTL != 1 &&
            setsockopt(hSocket_, IPPROTO_IP, IP_MULTICAST_TTL, MultiCastIpTTL) == SOCKET_ERROR) {
            SocketError("setsockopt(IP_MULTICAST_TTL)");
            return;
        }
        if (sin_.sin_addr == INADDR_NONE &&
            setsockopt(hSocket_, SOL_SOCKET, SO_BROADCAST, 1) == SOCKET_ERROR) {
            SocketError("setsockopt(SO_BROADCAST)");
            return;
        }
    }

    selectEvent_ = kConnectEvents;
    if (WSAAsyncSelect(hSocket_, Handle(), WM_ASYNCSELECT, selectEvent_) == SOCKET_ERROR) {
        SocketError("WSAAsyncSelect");
        return;
    }

    if (socketType_ == SOCK_STREAM) {
        if (connect(hSocket_, sin_) == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
            lastError_ = WSAGetLastError();
            SocketError("Connect");
            return;
        }
        ChangeState(wsConnecting);
    } else {
        ChangeState(wsConnected);
        DoSessionConnected(0);
    }
}

void TCustomWSocket::SetLingerOption() {
    if (LingerOnOff == wsLingerNoSet) return;
    if (hSocket_ == INVALID_SOCKET) {
        ReportError("Cannot set linger option at this time");
        return;
    }
    TLinger linger;
    linger.l_onoff = LingerOnOff == wsLingerOn ? 1 : 0;
    linger.l_linger = static_cast<std::uint16_t>(std::clamp(LingerTimeout, 0, 0xFFFF));
    if (setsockopt(hSocket_, linger) == SOCKET_ERROR) SocketError("setsockopt(SO_LINGER)");
}

void TCustomWSocket::BindLocal() {
    TSockAddrIn local;
    local.sin_port = htons(localPortNum_);
    local.sin_addr = WSocketResolveHost(localAddrStr_);
    if (bind(hSocket_, local) == SOCKET_ERROR) {
        ReportErrorFmt("winsock.bind failed, error #%d", WSAGetLastError());
        return;
    }
    if (getsockname(hSocket_, &local) == SOCKET_ERROR) {
        ReportErrorFmt("winsock.getsockname failed, error #%d", WSAGetLastError());
        return;
    }
    localPortNum_ = ntohs(local.sin_port);
    localPortStr_ = std::to_string(localPortNum_);
}

void TCustomWSocket::Listen() {
    const char* missing = !portAssigned_    ? "listen: port not assigned"
                          : !protoAssigned_ ? "listen: protocol not assigned"
                          : !addrAssigned_  ? "listen: address not assigned"
                                            : nullptr;
    if (missing) {
        WSASetLastError(WSAEINVAL);
        SocketError(missing);
        return;
    }
    ResolveRemote();
    if (!OpenSocket("socket")) return;
    if (socketType_ == SOCK_DGRAM && ReuseAddr &&
        setsockopt(hSocket_, SOL_SOCKET, SO_REUSEADDR, 1) == SOCKET_ERROR) {
        SocketError("setsockopt(SO_REUSEADDR)");
        return;
    }
    if (bind(hSocket_, sin_) == SOCKET_ERROR) {
        SocketError("Bind");
        return;
    }
    ChangeState(wsBound);

    if (socketType_ == SOCK_DGRAM) {
        if (MultiCast) {
            TIpMreq membership;
            membership.imr_multiaddr = inet_addr(MultiCastAddrStr);
            membership.imr_interface = htonl(INADDR_ANY);
            if (setsockopt(hSocket_, membership) == SOCKET_ERROR) {
                SocketError("setsockopt(IP MULTICAST)");
                return;
            }
        }
        ChangeState(wsListening);
        ChangeState(wsConnected);
    } else {
        if (listen(hSocket_, 5) == SOCKET_ERROR) {
            SocketError("Listen");
            return;
        }
        ChangeState(wsListening);
    }

    selectEvent_ = kListenEvents;
    if (WSAAsyncSelect(hSocket_, Handle(), WM_ASYNCSELECT, selectEvent_) == SOCKET_ERROR)
        SocketError("WSAASyncSelect");
}

TSocket TCustomWSocket::Accept() {
    if (state_ != wsListening) {
        WSASetLastError(WSAEINVAL);
        SocketError("not a listening socket");
        return INVALID_SOCKET;
    }
    TSockAddrIn peer;
    const TSocket accepted = accept(hSocket_, &peer);
    if (accepted == INVALID_SOCKET) {
        SocketError("Accept");
        return INVALID_SOCKET;
    }
    return accepted;
}

void TCustomWSocket::Dup(TSocket newHSocket) {
    if (newHSocket == 0 || newHSocket == INVALID_SOCKET) {
        WSASetLastError(WSAEINVAL);
        SocketError("Dup");
        return;
    }
    if (hSocket_ != INVALID_SOCKET) {
        const TSocket old = hSocket_;
        hSocket_ = INVALID_SOCKET;
        if (closesocket(old) == SOCKET_ERROR) {
            SocketError("Dup (closesocket)");
            return;
        }
    }
    hSocket_ = newHSocket;
    SetLingerOption();
    selectEvent_ = kDupEvents;
    if (WSAAsyncSelect(hSocket_, Handle(), WM_ASYNCSELECT, selectEvent_) == SOCKET_ERROR) {
        SocketError("WSAAsyncSelect");
        return;
    }
    ChangeState(wsConnected);
}

std::string TCustomWSocket::GetPeerAddr() {
    if (state_ != wsConnected) return "error";
    TSockAddrIn peer;
    if (getpeername(hSocket_, &peer) == SOCKET_ERROR) {
        SocketError("GetPeerName");
        return "error";
    }
    return inet_ntoa(peer.sin_addr);
}

std::string TCustomWSocket::GetPeerPort() {
    if (state_ != wsConnected) return "error";
    TSockAddrIn peer;
    if (getpeername(hSocket_, &peer) == SOCKET_ERROR) {
        SocketError("GetPeerPort");
        return "error";
    }
    return std::to_string(ntohs(peer.sin_port));
}

int TCustomWSocket::GetPeerName(TSockAddrIn& name) {
    if (state_ != wsConnected) return -1;
    return getpeername(hSocket_, &name);
}

std::string TCustomWSocket::GetBoundPort() {
    TSockAddrIn local;
    if ((state_ != wsBound && state_ != wsConnected && state_ != wsListening) ||
        getsockname(hSocket_, &local) == SOCKET_ERROR)
        return "error";
    return std::to_string(ntohs(local.sin_port));
}

std::string TCustomWSocket::GetBoundAddr() {
    TSockAddrIn local;
    if ((state_ != wsBound && state_ != wsConnected && state_ != wsListening) ||
        getsockname(hSocket_, &local) == SOCKET_ERROR)
        return "error";
    return inet_ntoa(local.sin_addr);
}

int TCustomWSocket::GetSockName(TSockAddrIn& name) {
    return getsockname(hSocket_, &name);
}

void TCustomWSocket::ShutDown(int how) {
    if (hSocket_ != INVALID_SOCKET) shutdown(hSocket_, how);
}

void TCustomWSocket::PauseEvents() {
    paused_ = true;
    if (hSocket_ != INVALID_SOCKET) WSAAsyncSelect(hSocket_, Handle(), WM_ASYNCSELECT, 0);
}

void TCustomWSocket::ResumeEvents() {
    paused_ = false;
    if (hSocket_ != INVALID_SOCKET)
        WSAAsyncSelect(hSocket_, Handle(), WM_ASYNCSELECT, selectEvent_);
}

}  // namespace rv
