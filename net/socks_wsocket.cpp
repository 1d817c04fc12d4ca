// The SOCKS 4, 4A and 5 client between the TCP connect and OnSessionConnected.

#include "net/socks_wsocket.h"

#include <algorithm>
#include <cstring>

#include "net/wsocket_resolve.h"
#include "platform/text/ascii_case.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

constexpr int kMaxField = 255;  // a length the protocol sends in one byte
const std::string kDefaultLevel = "5";
constexpr char kServerClosedText[] = "socks server closed the connection";

// The text of a level 5 reply code from 1 to 8, with its error number.
struct ReplyError {
    int code;
    const char* text;
};
constexpr ReplyError kReplyErrors[] = {
    {socksGeneralFailure, "general SOCKS server failure"},
    {socksConnectionNotAllowed, "connection not allowed by ruleset"},
    {socksNetworkUnreachable, "network unreachable"},
    {socksHostUnreachable, "host unreachable"},
    {socksConnectionRefused, "connection refused"},
    {socksTtlExpired, "time to live expired"},
    {socksUnknownCommand, "command not supported"},
    {socksUnknownAddressType, "address type not supported"},
};

std::string Ipv4Text(const unsigned char* b) {
    return Format("%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
}

// The usual short form: hexadecimal groups, the longest run of two or more zero groups as "::".
std::string Ipv6Text(const unsigned char* b) {
    int groups[8];
    for (int i = 0; i < 8; ++i) groups[i] = b[2 * i] << 8 | b[2 * i + 1];
    int bestStart = -1, bestLength = 1;
    for (int i = 0; i < 8;) {
        int j = i;
        while (j < 8 && groups[j] == 0) ++j;
        if (j - i > bestLength) bestStart = i, bestLength = j - i;
        i = j == i ? i + 1 : j;
    }
    std::string text;
    for (int i = 0; i < 8; ++i) {
        if (i == bestStart) {
            text += "::";
            i += bestLength - 1;
            continue;
        }
        if (!text.empty() && text.back() != ':') text += ':';
        text += Format("%x", groups[i]);
    }
    return text;
}

}  // namespace

TCustomSocksWSocket::TCustomSocksWSocket(TComponent* owner) : TCustomWSocket(owner) {}

void TCustomSocksWSocket::ResetDefaults() {
    TCustomWSocket::ResetDefaults();
    socksState_ = kIdle;
    socksServer_.clear();
    socksPort_.clear();
    socksServerAssigned_ = socksPortAssigned_ = false;
    socksLevel_ = kDefaultLevel;
    replyCount_ = heldPos_ = heldCount_ = 0;
}

void TCustomSocksWSocket::SetSocksLevel(const std::string& value) {
    if (State() != wsClosed) {
        ReportError("Can't change socks level if not closed");
        return;
    }
    const std::string level = UpperCase(value);
    if (level != "4" && level != "4A" && level != "5") {
        ReportError("Invalid socks level. Must be 4, 4A or 5.");
        return;
    }
    socksLevel_ = level;
}

void TCustomSocksWSocket::SetSocksServer(const std::string& value) {
    if (State() != wsClosed) {
        ReportError("Can't change socks server if not closed");
        return;
    }
    socksServer_ = Trim(value);
    socksServerAssigned_ = !socksServer_.empty();
}

void TCustomSocksWSocket::SetSocksPort(const std::string& value) {
    if (State() != wsClosed) {
        ReportError("Can't change socks port if not closed");
        return;
    }
    socksPort_ = Trim(value);
    socksPortAssigned_ = !socksPort_.empty();
}

void TCustomSocksWSocket::Listen() {
    if (socksServerAssigned_) {
        ReportError("Listening is not supported thru socks server");
        return;
    }
    TCustomWSocket::Listen();
}

void TCustomSocksWSocket::Connect() {
    if (!socksServerAssigned_ || !portAssigned_ || !addrAssigned_) {
        TCustomWSocket::Connect();  // straight, or to report what is missing
        return;
    }
    if (LowerCase(Proto()) != "tcp") {
        ReportError("tcp is the only protocol supported thru socks server");
        return;
    }
    // What the protocol sends with a one-byte length cannot be longer; cut, it would be wrong.
    if (socksLevel_ != "4" && static_cast<int>(Addr().size()) > kMaxField) {
        ReportError("Host name too long for a socks server");
        return;
    }
    if (socksLevel_ == "5" && SocksAuthentication == socksAuthenticateUsercode &&
        (static_cast<int>(SocksUsercode.size()) > kMaxField ||
         static_cast<int>(SocksPassword.size()) > kMaxField)) {
        ReportError("Socks user code and password are limited to 255 bytes");
        return;
    }
    destPort_ = WSocketResolvePort(Port(), "tcp");
    if (socksLevel_ == "4") destAddr_ = WSocketResolveHost(Addr());
    if (!portResolved_) {
        sin_.sin_port = htons(WSocketResolvePort(socksPort_, "tcp"));
        portResolved_ = true;
    }
    if (!addrResolved_) {
        sin_.sin_addr = WSocketResolveHost(socksServer_);
        addrResolved_ = true;
    }
    socksState_ = kWaitMethod;
    replyCount_ = heldPos_ = heldCount_ = 0;
    try {
        TCustomWSocket::Connect();
    } catch (...) {
        socksState_ = kIdle;
        throw;
    }
    if (State() != wsConnecting) socksState_ = kIdle;
}

void TCustomSocksWSocket::DoSessionConnected(std::uint16_t error) {
    if (socksState_ != kWaitMethod) {
        TCustomWSocket::DoSessionConnected(error);
        return;
    }
    const auto lifetime = Lifetime();
    const TSocket socket = hSocket_;
    DoSocksConnected(error);
    if (!StillHere(lifetime, socket)) return;
    if (error != 0) {
        socksState_ = kIdle;
        TCustomWSocket::DoSessionConnected(error);
        return;
    }
    if (socksLevel_ != "5") {
        SendConnectRequest();
        return;
    }
    usercodeOffered_ = SocksAuthentication == socksAuthenticateUsercode;
    SendBytes({5, 1, usercodeOffered_ ? '\2' : '\0'});
}

void TCustomSocksWSocket::SendBytes(const std::string& bytes) {
    Send(bytes.data(), static_cast<int>(bytes.size()));
}

void TCustomSocksWSocket::SendAuthentication() {
    if (static_cast<int>(SocksUsercode.size()) > kMaxField ||
        static_cast<int>(SocksPassword.size()) > kMaxField) {
        SocksError(socksAuthenticationFailed, "socks authentication failed");
        return;
    }
    socksState_ = kAuthenticating;
    const auto lifetime = Lifetime();
    const TSocket socket = hSocket_;
    DoSocksAuthState(authStarted);
    if (!StillHere(lifetime, socket)) return;
    std::string request = {1, static_cast<char>(SocksUsercode.size())};
    request += SocksUsercode;
    request += static_cast<char>(SocksPassword.size());
    request += SocksPassword;
    SendBytes(request);
}

void TCustomSocksWSocket::SendConnectRequest() {
    socksState_ = kWaitConnect;
    replyCount_ = 0;
    const char portHigh = static_cast<char>(destPort_ >> 8);
    const char portLow = static_cast<char>(destPort_ & 0xFF);
    std::string request;
    if (socksLevel_ == "5") {
        // The destination always goes as a name, also a dotted one: the server resolves it.
        request = {5, 1, 0, 3, static_cast<char>(Addr().size())};
        request += Addr();
        request += portHigh;
        request += portLow;
    } else {
        request = {4, 1, portHigh, portLow};
        if (socksLevel_ == "4")
            request.append(reinterpret_cast<const char*>(&destAddr_), 4);  // network order
        else
            request += std::string{0, 0, 0, 1};  // "the server resolves the name that follows"
        request += SocksUsercode;
        request += '\0';
        if (socksLevel_ == "4A") {
            request += Addr();
            request += '\0';
        }
    }
    SendBytes(request);
}

bool TCustomSocksWSocket::DoDataAvailable(std::uint16_t error) {
    if (socksState_ == kIdle) return TCustomWSocket::DoDataAvailable(error);
    if (error != 0) {
        SocksError(error, "data receive error");
        return true;
    }
    switch (socksState_) {
        case kWaitMethod:
            MethodReply();
            break;
        case kAuthenticating:
            AuthenticationReply();
            break;
        case kWaitConnect:
            socksLevel_ == "5" ? ConnectReply5() : ConnectReply4();
            break;
        default:
            SocksError(socksInternalError, "internal error");
    }
    return true;
}

bool TCustomSocksWSocket::ReadReply() {
    const int room = static_cast<int>(reply_.size()) - replyCount_;
    const int n = TCustomWSocket::RecvRaw(reply_.data() + replyCount_, room, 0);
    if (n < 0) {
        const int error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) return true;
        SocksError(error, "data receive error");
        return false;
    }
    replyCount_ += n;
    return true;
}

void TCustomSocksWSocket::MethodReply() {
    if (!ReadReply()) return;
    if (socksLevel_ != "5") {
        SocksError(socksProtocolError, "TWSocket logic error");
        return;
    }
    if (replyCount_ < 2) return;
    replyCount_ = 0;
    if (reply_[0] != 5) {
        SocksError(socksVersionError, "socks version error");
        return;
    }
    if (reply_[1] == 0) {
        if (usercodeOffered_) {
            const auto lifetime = Lifetime();
            const TSocket socket = hSocket_;
            DoSocksAuthState(authNotRequired);
            if (!StillHere(lifetime, socket)) return;
        }
        SendConnectRequest();
    } else if (reply_[1] == 2) {
        SendAuthentication();
    } else {
        SocksError(socksAuthMethodError, "authentification method not acceptable");
    }
}

void TCustomSocksWSocket::AuthenticationReply() {
    if (!ReadReply()) return;
    if (replyCount_ >= 1 && reply_[0] != 1) {
        SocksError(socksVersionError, "socks version error");
        return;
    }
    if (replyCount_ < 2) return;
    if (replyCount_ > 2) {
        SocksError(socksProtocolError, "too much data availaible");
        return;
    }
    if (reply_[1] != 0) {
        SocksError(socksAuthenticationFailed, "socks authentication failed");
        return;
    }
    replyCount_ = 0;
    const auto lifetime = Lifetime();
    const TSocket socket = hSocket_;
    DoSocksAuthState(authSucceeded);
    if (!StillHere(lifetime, socket)) return;
    SendConnectRequest();
}

void TCustomSocksWSocket::ConnectReply4() {
    if (!ReadReply() || replyCount_ < 8) return;
    if (reply_[0] != 0) {
        SocksError(socksVersionError, "socks version error");
        return;
    }
    switch (reply_[1]) {
        case 90:
            Connected(8);
            break;
        case 91:
            SocksError(socksRejectedOrFailed, "request rejected or failed");
            break;
        case 92:
            SocksError(socksConnectionRefused, "connection refused");
            break;
        case 93:
            SocksError(socksAuthenticationFailed, "authentification failed");
            break;
        default:
            SocksError(socksUnassignedError, "unassigned error #" + std::to_string(reply_[1]));
    }
}

void TCustomSocksWSocket::ConnectReply5() {
    if (!ReadReply() || replyCount_ < 1) return;
    if (reply_[0] != 5) {
        SocksError(socksVersionError, "socks version error");
        return;
    }
    if (replyCount_ >= 2 && reply_[1] != 0) {
        const int code = reply_[1];
        if (code >= 1 && code <= 8)
            SocksError(kReplyErrors[code - 1].code, kReplyErrors[code - 1].text);
        else
            SocksError(socksUnassignedError, "unassigned error #" + std::to_string(code));
        return;
    }
    if (replyCount_ < 5) return;
    int length;
    switch (reply_[3]) {
        case 1:  // IPv4
            length = 10;
            break;
        case 3:  // a name of the length in byte 4
            length = 7 + reply_[4];
            break;
        case 4:  // IPv6
            length = 22;
            break;
        default:
            SocksError(socksUnknownAddressType, "address type not supported");
            return;
    }
    if (replyCount_ < length) return;
    const unsigned char* address = reply_.data() + 4;
    switch (reply_[3]) {
        case 1:
            boundAddr_ = Ipv4Text(address);
            break;
        case 3:
            boundAddr_.assign(reinterpret_cast<const char*>(address) + 1, reply_[4]);
            break;
        default:
            boundAddr_ = Ipv6Text(address);
    }
    boundPort_ = std::to_string(reply_[length - 2] << 8 | reply_[length - 1]);
    Connected(length);
}

void TCustomSocksWSocket::Connected(int replyLength) {
    socksState_ = kIdle;
    heldPos_ = replyLength;
    heldCount_ = replyCount_ - replyLength;
    replyCount_ = 0;
    const auto lifetime = Lifetime();
    const TSocket socket = hSocket_;
    DoSessionConnected(0);
    // Bytes that came with the reply are offered now: the socket will not announce them again.
    while (StillHere(lifetime, socket) && heldCount_ > 0) {
        const int before = heldCount_;
        DoDataAvailable(0);
        if (!StillHere(lifetime, socket) || heldCount_ == before) return;
    }
}

void TCustomSocksWSocket::SocksError(int error, const std::string& msg) {
    const auto lifetime = Lifetime();
    const TSocket socket = hSocket_;
    DoSocksError(error, msg);
    if (!StillHere(lifetime, socket)) return;
    socksState_ = kIdle;
    DoSessionConnected(static_cast<std::uint16_t>(error));
    if (!StillHere(lifetime, socket)) return;
    DoClose(true, static_cast<std::uint16_t>(error));
}

int TCustomSocksWSocket::RecvRaw(void* buffer, int size, int flags) {
    if (heldCount_ <= 0) return TCustomWSocket::RecvRaw(buffer, size, flags);
    const int n = std::clamp(size, 0, heldCount_);
    std::memcpy(buffer, reply_.data() + heldPos_, static_cast<std::size_t>(n));
    if ((flags & MSG_PEEK) == 0) {
        heldPos_ += n;
        heldCount_ -= n;
    }
    return n;
}

int TCustomSocksWSocket::GetRcvdCount() {
    return heldCount_ > 0 ? heldCount_ : TCustomWSocket::GetRcvdCount();
}

void TCustomSocksWSocket::DoSessionClosed(std::uint16_t error) {
    if (socksState_ == kIdle) {
        TCustomWSocket::DoSessionClosed(error);
        return;
    }
    // The server ended the negotiation: it hung up (the socket is still open when its close is
    // told) or a send to it failed (told with the error). Our own close is told with neither.
    const bool serverEnded = hSocket_ != INVALID_SOCKET || error != 0;
    const bool authenticating = socksState_ == kAuthenticating;
    socksState_ = kIdle;
    const auto lifetime = Lifetime();
    if (authenticating) {
        DoSocksAuthState(authFailed);
        if (lifetime.expired()) return;
    }
    if (!serverEnded) {
        TCustomWSocket::DoSessionClosed(error);
        return;
    }
    // A failed negotiation like any other: the owner hears of it as a SOCKS error and a failed
    // connect before the close.
    const std::uint16_t code = error != 0 ? error : static_cast<std::uint16_t>(WSAECONNABORTED);
    if (hSocket_ != INVALID_SOCKET) {
        closeInvoked_ = false;  // the error routine's own close tells of it, with the code
        SocksError(code, kServerClosedText);
        return;
    }
    DoSocksError(code, kServerClosedText);
    if (lifetime.expired()) return;
    TCustomWSocket::DoSessionConnected(code);
    if (lifetime.expired()) return;
    TCustomWSocket::DoSessionClosed(code);
}

void TCustomSocksWSocket::DoDataSent(std::uint16_t error) {
    // What the negotiation sent is none of the application's business.
    if (socksState_ == kIdle) TCustomWSocket::DoDataSent(error);
}

void TCustomSocksWSocket::DoSocksConnected(std::uint16_t error) {
    if (OnSocksConnected) OnSocksConnected(this, error);
}

void TCustomSocksWSocket::DoSocksError(std::int32_t error, const std::string& msg) {
    if (OnSocksError) OnSocksError(this, error, msg);
}

void TCustomSocksWSocket::DoSocksAuthState(TSocksAuthState state) {
    if (OnSocksAuthState) OnSocksAuthState(this, state);
}

}  // namespace rv
