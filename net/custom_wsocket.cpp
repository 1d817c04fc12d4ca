// The socket's life: its window, properties, events, errors and closing.

#include "net/custom_wsocket.h"

#include <cstdarg>

#include "net/wsocket_errors.h"
#include "platform/messages/application.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"

namespace rv {

TCustomWSocket::TCustomWSocket(TComponent* owner) : TComponent(owner) {
    handle_ = AllocateHWnd([this](TMessage& msg) {
        try {
            WndProc(msg);
        } catch (const std::exception& e) {
            HandleMessageException(e);
        } catch (...) {
            HandleMessageException(ESocketException("Unknown exception"));
        }
    });
    ResetDefaults();
}

TCustomWSocket::~TCustomWSocket() {
    MarkDestroying();
    try {
        CancelDnsLookup();
    } catch (...) {
    }
    try {
        if (state_ != wsClosed) Close();
    } catch (...) {
    }
    if (hSocket_ != INVALID_SOCKET) closesocket(hSocket_);
    DeallocateHWnd(handle_);
}

void TCustomWSocket::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_ASYNCSELECT:
            WMASyncSelect(msg);
            break;
        case WM_ASYNCGETHOSTBYNAME:
            WMAsyncLookup(msg, true);
            break;
        case WM_ASYNCGETHOSTBYADDR:
            WMAsyncLookup(msg, false);
            break;
        case WM_CLOSE_DELAYED:
            Close();
            break;
        case WM_WSOCKET_RELEASE:
            delete this;
            break;
        case WM_TRIGGER_EXCEPTION:
            throw ESocketException("Test exception in WSocket");
        default:
            msg.Result = DefWindowProc(handle_, msg.Msg, msg.WParam, msg.LParam);
    }
}

void TCustomWSocket::HandleMessageException(const std::exception& e) {
    bool canClose = true;
    if (OnBgException) {
        try {
            OnBgException(this, e, canClose);
        } catch (...) {
        }
    }
    if (!canClose) return;
    try {
        AbortSocket();
    } catch (...) {
    }
}

bool TCustomWSocket::StillHere(const std::weak_ptr<TSocket>& cell, TSocket socket) {
    const auto current = cell.lock();
    return current && *current == socket;
}

void TCustomWSocket::SetRemote(const std::string& value, std::string& text, bool& assigned,
                               bool& resolved, const char* closedOnly) {
    if (assigned && value == text) return;
    if (state_ != wsClosed) {
        ReportError(closedOnly);
        return;
    }
    text = Trim(value);
    assigned = !text.empty();
    resolved = false;
}

void TCustomWSocket::SetAddr(const std::string& value) {
    SetRemote(value, addrStr_, addrAssigned_, addrResolved_, "Cannot change Addr if not closed");
}

void TCustomWSocket::SetPort(const std::string& value) {
    SetRemote(value, portStr_, portAssigned_, portResolved_, "Cannot change Port if not closed");
}

void TCustomWSocket::SetProto(const std::string& value) {
    SetRemote(value, protoStr_, protoAssigned_, protoResolved_,
              "Cannot change Proto if not closed");
}

void TCustomWSocket::SetLocalAddr(const std::string& value) {
    if (state_ != wsClosed) {
        ReportError("Cannot change LocalAddr if not closed");
        return;
    }
    const std::uint32_t address = inet_addr(value.empty() ? "0.0.0.0" : value);
    if (address == INADDR_NONE) {
        ReportError("SetLocalAddr(): Invalid IP address");
        return;
    }
    localAddrStr_ = inet_ntoa(address);
}

void TCustomWSocket::SetLocalPort(const std::string& value) {
    if (state_ != wsClosed) {
        ReportError("Cannot change LocalPort if not closed");
        return;
    }
    localPortStr_ = value;
    localPortResolved_ = false;
}

TSocketSendFlags TCustomWSocket::SendFlags() {
    switch (sendFlags_) {
        case 0:
            return wsSendNormal;
        case MSG_OOB:
            return wsSendUrgent;
        default:
            ReportError("Invalid internal SendFlags");
            return wsSendNormal;
    }
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags value) {
    switch (value) {
        case wsSendNormal:
            sendFlags_ = 0;
            break;
        case wsSendUrgent:
            sendFlags_ = MSG_OOB;
            break;
        default:
            ReportError("Invalid SendFlags");
    }
}

void TCustomWSocket::ChangeState(TSocketState newState) {
    const TSocketState oldState = state_;
    state_ = newState;
    DoChangeState(oldState, newState);
}

bool TCustomWSocket::DoDataAvailable(std::uint16_t error) {
    if (!OnDataAvailable) return false;
    OnDataAvailable(this, error);
    return true;
}

void TCustomWSocket::DoSessionAvailable(std::uint16_t error) {
    if (OnSessionAvailable) OnSessionAvailable(this, error);
}

void TCustomWSocket::DoSessionConnected(std::uint16_t error) {
    if (OnSessionConnected) OnSessionConnected(this, error);
}

void TCustomWSocket::DoSessionClosed(std::uint16_t error) {
    if (OnSessionClosed) OnSessionClosed(this, error);
}

void TCustomWSocket::DoDataSent(std::uint16_t error) {
    if (OnDataSent) OnDataSent(this, error);
}

void TCustomWSocket::DoChangeState(TSocketState oldState, TSocketState newState) {
    // Not while being destroyed: the handler's owner may be half gone by then.
    if (OnChangeState && !Destroying()) OnChangeState(this, oldState, newState);
}

void TCustomWSocket::DoDnsLookupDone(std::uint16_t error) {
    if (OnDnsLookupDone) OnDnsLookupDone(this, error);
}

void TCustomWSocket::DoError() {
    if (OnError) OnError(this);
}

void TCustomWSocket::DoSendData(std::int32_t bytesSent) {
    if (OnSendData) OnSendData(this, bytesSent);
}

void TCustomWSocket::ReportError(const std::string& message) {
    if (!OnError) throw ESocketException(message);
    DoError();
}

void TCustomWSocket::ReportErrorFmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string message = FormatV(format, args);
    va_end(args);
    ReportError(message);
}

void TCustomWSocket::SocketError(const std::string& function) {
    const int code = WSAGetLastError();
    const std::string line = "Error " + std::to_string(code) + " in function " + function + "\r\n" +
                             WSocketErrorDesc(code);
    if (code == WSAECONNRESET || code == WSAENOTCONN) {
        if (hSocket_ != INVALID_SOCKET) closesocket(hSocket_);
        hSocket_ = INVALID_SOCKET;
        if (state_ != wsClosed) DoSessionClosed(static_cast<std::uint16_t>(code));
        ChangeState(wsClosed);
    }
    lastError_ = code;
    ReportError(line);
}

void TCustomWSocket::ResetDefaults() {
    sin_ = TSockAddrIn{};
    addrAssigned_ = addrResolved_ = false;
    portAssigned_ = portResolved_ = false;
    protoStr_ = "tcp";
    protoAssigned_ = true;
    protoResolved_ = false;
    socketType_ = SOCK_STREAM;
    proto_ = IPPROTO_TCP;
    localPortStr_.assign(1, '0');
    localPortResolved_ = false;
    localAddrStr_ = "0.0.0.0";
    LingerOnOff = wsLingerOn;
    LingerTimeout = 0;
    hSocket_ = INVALID_SOCKET;
    selectEvent_ = 0;
    state_ = wsClosed;
    allSent_ = true;
    readCount_ = 0;
    paused_ = false;
    closeInvoked_ = false;
    FlushTimeout = 60;
}

void TCustomWSocket::Close() {
    DoClose(true, 0);
}

void TCustomWSocket::DoClose(bool shut, std::uint16_t error) {
    if (hSocket_ == INVALID_SOCKET) {
        if (state_ != wsClosed) {
            ChangeState(wsClosed);
            ResetDefaults();
        }
        return;
    }
    if (state_ == wsClosed) return;
    if (shut) shutdown(hSocket_, SD_SEND);
    // The handle is given up whatever closesocket answers: a closed socket is never closed again.
    const TSocket socket = hSocket_;
    hSocket_ = INVALID_SOCKET;
    if (closesocket(socket) == SOCKET_ERROR && WSAGetLastError() != WSANOTINITIALISED) {
        lastError_ = WSAGetLastError();
        SocketError("Disconnect (closesocket)");
    }
    ChangeState(wsClosed);
    if (!Destroying() && !closeInvoked_) {
        closeInvoked_ = true;
        const std::weak_ptr<TSocket> lifetime = socketCell_;
        DoSessionClosed(error);
        if (lifetime.expired()) return;  // the handler freed the socket
    }
    try {
        ResetDefaults();
    } catch (...) {
    }
}

void TCustomWSocket::PostClose() {
    PostMessage(handle_, WM_CLOSE_DELAYED, 0, 0);
}

void TCustomWSocket::PostRelease() {
    PostMessage(handle_, WM_WSOCKET_RELEASE, 0, 0);
}

void TCustomWSocket::AbortSocket() {
    CancelDnsLookup();
    DeleteBufferedData();
    if (state_ == wsConnected && socketType_ == SOCK_STREAM) {
        LingerOnOff = wsLingerOff;
        SetLingerOption();
    }
    DoClose(false, 0);
}

void TCustomWSocket::MessagePump() {
    if (Application) Application->ProcessMessages();
}

}  // namespace rv
