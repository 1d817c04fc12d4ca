// The socket's events and its data: receiving, the send buffer and the waits.

#include <chrono>

#include "net/custom_wsocket.h"

namespace rv {

void TCustomWSocket::WMASyncSelect(const TMessage& msg) {
    const TSocket socket = msg.WParam;
    if (socket == INVALID_SOCKET || socket != hSocket_ || paused_) return;
    const long events = WSAGETSELECTEVENT(msg.LParam);
    const auto error = static_cast<std::uint16_t>(WSAGETSELECTERROR(msg.LParam));
    const std::weak_ptr<TSocket> lifetime = socketCell_;

    if ((events & FD_CONNECT) != 0 && state_ != wsConnected) {
        ChangeState(wsConnected);
        DoSessionConnected(error);
        if (!StillHere(lifetime, socket)) return;
        if (error != 0 && state_ != wsClosed) Close();
        if (!StillHere(lifetime, socket)) return;
    }
    if ((events & FD_READ) != 0) {
        if (state_ != wsConnected) {
            ChangeState(wsConnected);
            DoSessionConnected(error);
            if (!StillHere(lifetime, socket)) return;
        }
        ReceiveLoop(ComponentOptions, error);
        if (!StillHere(lifetime, socket)) return;
    }
    if ((events & FD_WRITE) != 0) {
        TryToSend();
        if (!StillHere(lifetime, socket)) return;
        if (AllSent()) DoDataSent(error);
        if (!StillHere(lifetime, socket)) return;
    }
    if ((events & FD_ACCEPT) != 0) {
        DoSessionAvailable(error);
        if (!StillHere(lifetime, socket)) return;
    }
    if ((events & FD_CLOSE) != 0 && state_ != wsConnecting) {
        ReceiveLoop(ComponentOptions.Without(wsoNoReceiveLoop), error);
        if (!StillHere(lifetime, socket)) return;
        if (!closeInvoked_) {
            closeInvoked_ = true;
            DoSessionClosed(error);
            if (!StillHere(lifetime, socket)) return;
        }
        if (state_ != wsClosed) Close();
    }
}

void TCustomWSocket::ReceiveLoop(TWSocketOptions options, std::uint16_t error) {
    const TSocket socket = hSocket_;
    const std::weak_ptr<TSocket> lifetime = socketCell_;
    for (;;) {
        lastError_ = 0;
        const std::int64_t takenBefore = bytesTaken_;
        if (!DoDataAvailable(error)) {
            char scratch[1024];
            if (TakeFromSocket(scratch, sizeof scratch, 0, nullptr) == SOCKET_ERROR) {
                lastError_ = WSAGetLastError();
                if (lastError_ == WSAEWOULDBLOCK) {
                    lastError_ = 0;
                    return;
                }
            }
        }
        if (!StillHere(lifetime, socket) || options.Contains(wsoNoReceiveLoop)) return;
        // A handler that took nothing is not called again now: it would be called for ever. The
        // next read event comes once it reads.
        if (bytesTaken_ == takenBefore) return;
        if (lastError_ == 0) {
            std::uint32_t waiting = 0;
            if (ioctlsocket(hSocket_, FIONREAD, &waiting) == SOCKET_ERROR) {
                lastError_ = WSAGetLastError();
                return;
            }
            if (waiting == 0) return;
        }
        if (lastError_ != 0) return;
    }
}

int TCustomWSocket::TakeFromSocket(void* buffer, int size, int flags, TSockAddrIn* from) {
    const int n = recvfrom(hSocket_, buffer, size, flags, from);
    if (n > 0 && (flags & MSG_PEEK) == 0) bytesTaken_ += n;
    return n;
}

int TCustomWSocket::RecvRaw(void* buffer, int size, int flags) {
    return TakeFromSocket(buffer, size, flags, nullptr);
}

int TCustomWSocket::RecvFromRaw(void* buffer, int size, TSockAddrIn& from, int flags) {
    return TakeFromSocket(buffer, size, flags, &from);
}

int TCustomWSocket::Receive(void* buffer, int size) {
    const int n = RecvRaw(buffer, size, 0);
    if (n < 0)
        lastError_ = WSAGetLastError();
    else
        readCount_ += n;
    return n;
}

int TCustomWSocket::ReceiveFrom(void* buffer, int size, TSockAddrIn& from) {
    const int n = RecvFromRaw(buffer, size, from, 0);
    if (n < 0)
        lastError_ = WSAGetLastError();
    else
        readCount_ += n;
    return n;
}

std::string TCustomWSocket::ReceiveStr() {
    int count = GetRcvdCount();
    if (count < 0) return {};
    if (count == 0) count = 255;
    std::string text(static_cast<std::size_t>(count), '\0');
    const int n = Receive(text.data(), count);
    if (n <= 0) return {};
    text.resize(static_cast<std::size_t>(n));
    return text;
}

int TCustomWSocket::GetRcvdCount() {
    if ((ComponentState() & csDesigning) != 0) return -1;
    std::uint32_t waiting = 0;
    if (ioctlsocket(hSocket_, FIONREAD, &waiting) == SOCKET_ERROR) {
        SocketError("ioctlSocket");
        return -1;
    }
    return static_cast<int>(waiting);
}

int TCustomWSocket::Send(const void* data, int len) {
    if (state_ != wsConnected) {
        WSASetLastError(WSAENOTCONN);
        SocketError("Send");
        return -1;
    }
    if (len <= 0) return 0;
    allSent_ = false;
    PutDataInSendBuffer(data, len);
    const TSocket socket = hSocket_;
    const std::weak_ptr<TSocket> lifetime = socketCell_;
    TryToSend();
    // OnDataSent comes from the message loop, never from inside Send: its handler may send again.
    if (StillHere(lifetime, socket) && allSent_)
        PostMessage(Handle(), WM_ASYNCSELECT, socket, WSAMAKESELECTREPLY(FD_WRITE, 0));
    return len;
}

int TCustomWSocket::SendStr(const std::string& text) {
    if (text.empty()) return 0;
    return Send(text.data(), static_cast<int>(text.size()));
}

int TCustomWSocket::SendTo(const TSockAddrIn& dest, const void* data, int len) {
    const int n = sendto(hSocket_, data, len, sendFlags_, dest);
    if (n > 0)
        DoSendData(n);
    else if (n < 0)
        lastError_ = WSAGetLastError();
    return n;
}

int TCustomWSocket::SendChunk(const void* data, int len) {
    if (socketType_ == SOCK_DGRAM) return sendto(hSocket_, data, len, sendFlags_, sin_);
    return send(hSocket_, data, len, sendFlags_);
}

void TCustomWSocket::PutDataInSendBuffer(const void* data, int len) {
    const char* bytes = static_cast<const char*>(data);
    if (bufList_.empty()) bufList_.push_back(std::make_unique<TBuffer>(bufSize_));
    for (;;) {
        const int written = bufList_.back()->Write(bytes, len);
        bytes += written;
        len -= written;
        if (len <= 0) return;
        bufList_.push_back(std::make_unique<TBuffer>(bufSize_));
    }
}

void TCustomWSocket::DeleteBufferedData() {
    bufList_.clear();
}

bool TCustomWSocket::CloseOnSendError(int error) {
    if (error != WSAECONNRESET && error != WSAENOTSOCK && error != WSAENOTCONN &&
        error != WSAEINVAL && error != WSAECONNABORTED)
        return false;
    closeInvoked_ = true;
    const std::weak_ptr<TSocket> lifetime = socketCell_;
    Close();
    if (!lifetime.expired()) DoSessionClosed(static_cast<std::uint16_t>(error));
    return true;
}

void TCustomWSocket::TryToSend() {
    if (hSocket_ == INVALID_SOCKET || bufList_.empty()) return;
    const TSocket socket = hSocket_;
    const std::weak_ptr<TSocket> lifetime = socketCell_;
    for (;;) {
        TBuffer& first = *bufList_.front();
        int count = 0;
        const char* data = first.Peek(count);
        if (count > 0) {
            const int sent = SendChunk(data, count);
            if (sent == SOCKET_ERROR) {
                const int error = WSAGetLastError();
                if (CloseOnSendError(error) || error == WSAEWOULDBLOCK) return;
                SocketError("TryToSend failed");
                return;
            }
            if (sent == 0) return;
            // Taken out before the handler runs: a Send from it must not send these bytes again.
            first.Remove(sent);
            DoSendData(sent);
            if (!StillHere(lifetime, socket) || bufList_.empty()) return;
            if (sent < count) return;
            continue;
        }
        if (bufList_.size() == 1) {
            allSent_ = true;
            return;
        }
        bufList_.pop_front();
    }
}

void TCustomWSocket::FlushSendBuffer() {
    // Bounded by FlushTimeout: a peer that stops reading must not hold the caller for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(FlushTimeout);
    for (;;) {
        TryToSend();
        if (hSocket_ == INVALID_SOCKET || allSent_) return;
        if (std::chrono::steady_clock::now() >= deadline) return;
        MessagePump();
    }
}

void TCustomWSocket::WaitUntilClosed() {
    while (hSocket_ != INVALID_SOCKET && state_ != wsClosed) {
        MessagePump();
        if (hSocket_ == INVALID_SOCKET) return;
        std::uint32_t waiting = 0;
        if (ioctlsocket(hSocket_, FIONREAD, &waiting) == SOCKET_ERROR) return;
        if (waiting > 0) DoDataAvailable(0);
        if (hSocket_ == INVALID_SOCKET) return;
        if (recv(hSocket_, nullptr, 0, 0) == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK)
            return;
        MessagePump();
    }
}

}  // namespace rv
