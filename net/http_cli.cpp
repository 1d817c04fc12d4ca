// The HTTP client's life: starting a request, the look-up and connection, and its end.

#include "net/http_cli.h"

#include <algorithm>
#include <cstdint>

#include "net/http_url.h"
#include "net/wsocket_errors.h"
#include "platform/messages/application.h"
#include "platform/text/ascii_case.h"

namespace rv {

namespace {

constexpr int kMaxRelocations = 5;
constexpr std::int64_t kIdlesPerRequest = 4;

// What follows the last "/" of the path, without its query; "document.htm" for the root.
std::string DocumentNameOf(const std::string& path) {
    std::string name = path.substr(0, path.find('?'));
    if (name.empty() || name == "/") return "document.htm";
    if (name.back() == '/') name.pop_back();
    const std::size_t slash = name.rfind('/');
    if (slash != std::string::npos) name.erase(0, slash + 1);
    return name.substr(0, 255);
}

std::string Origin(const TUrlParts& parts) {
    return LowerCase(parts.host) + ":" + (parts.port.empty() ? "80" : parts.port);
}

}  // namespace

THttpCli::THttpCli(TComponent* owner) : TComponent(owner) {
    socket_ = std::make_unique<TWSocket>(nullptr);
    socket_->OnDnsLookupDone = [this](TObject*, std::uint16_t e) { SocketDnsLookupDone(e); };
    socket_->OnSessionConnected = [this](TObject*, std::uint16_t e) { SocketSessionConnected(e); };
    socket_->OnDataAvailable = [this](TObject*, std::uint16_t e) { SocketDataAvailable(e); };
    socket_->OnDataSent = [this](TObject*, std::uint16_t e) { SocketDataSent(e); };
    socket_->OnSessionClosed = [this](TObject*, std::uint16_t e) { SocketSessionClosed(e); };
    // An exception inside the reply's handling (an event handler's, say) ends the request with
    // its message; the socket is aborted as usual.
    socket_->OnBgException = [this](TObject*, const std::exception& e, bool&) {
        Fail(httperrBadReply, e.what());
    };
    handle_ = AllocateHWnd([this](TMessage& msg) {
        try {
            WndProc(msg);
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(e);
        }
    });
}

THttpCli::~THttpCli() {
    MarkDestroying();
    DeallocateHWnd(handle_);
    socket_.reset();
}

void THttpCli::WndProc(TMessage& msg) {
    switch (msg.Msg) {
        case WM_HTTP_REQUEST_DONE:
            if (OnRequestDone)
                OnRequestDone(this, static_cast<THttpRequest>(msg.WParam),
                              static_cast<std::uint16_t>(msg.LParam));
            break;
        case WM_HTTP_SET_READY: {
            const THttpRequest type = requestType_;
            const std::uint16_t error = errorCode_;
            SetState(httpReady);
            PostMessage(handle_, WM_HTTP_REQUEST_DONE, type, error);
            break;
        }
        case WM_HTTP_RELOCATE:
            if (!ending_ && state_ == httpNotConnected) StartRequest();
            break;
        case WM_TIMER:
            KillTimer(handle_, msg.WParam);
            if (!ending_ && state_ != httpReady) TimedOut(msg.WParam);
            break;
        default:
            msg.Result = DefWindowProc(handle_, msg.Msg, msg.WParam, msg.LParam);
    }
}

void THttpCli::SetState(THttpState state) {
    state_ = state;
    if (OnStateChange) OnStateChange(this);
}

void THttpCli::GetAsync() {
    DoRequestAsync(httpGET);
}

void THttpCli::PostAsync() {
    DoRequestAsync(httpPOST);
}

void THttpCli::HeadAsync() {
    DoRequestAsync(httpHEAD);
}

void THttpCli::DoRequestAsync(THttpRequest type) {
    if (state_ != httpReady) throw EHttpException("HTTP component is busy", httperrBusy);
    if (type == httpPOST && !PostStream)
        throw EHttpException("HTTP component has nothing to post", httperrNoData);
    ending_ = false;
    relocating_ = false;
    relocations_ = 0;
    // However the server paces its bytes, the request ends in time.
    const std::int64_t deadline =
        std::max(ConnectTimeout, 0) + kIdlesPerRequest * std::max(IdleTimeout, 0);
    StartTimer(kRequestTimer, static_cast<int>(std::min<std::int64_t>(deadline, INT32_MAX)));
    SetState(httpNotConnected);
    requestType_ = type;
    ResetReply();
    location_ = URL;
    const TUrlParts parts = ParseURL(URL);
    // URL user info counts for this request only.
    const bool urlCredentials = !parts.user.empty() || !parts.password.empty();
    requestUser_ = urlCredentials ? parts.user : Username;
    requestPassword_ = urlCredentials ? parts.password : Password;
    authOrigin_ = Origin(parts);
    documentName_ = DocumentNameOf(parts.path);
    if (SetTarget(URL)) StartRequest();
}

bool THttpCli::SetTarget(const std::string& url) {
    const TUrlParts parts = ParseURL(url);
    const std::string proto = parts.proto.empty() ? "http" : LowerCase(parts.proto);
    if (proto != "http") {
        Fail(httperrNotHttp, proto + " URLs are not supported, only http");
        return false;
    }
    if (parts.host.empty()) {
        Fail(httperrBadRequest, "No host name in the URL");
        return false;
    }
    const std::string path = parts.path.empty() ? "/" : parts.path;
    const std::string hostAndPort = parts.host + (parts.port.empty() ? "" : ":" + parts.port);
    url_ = "http://" + hostAndPort + path;
    targetHost_ = parts.host;
    if (Proxy.empty()) {
        hostName_ = parts.host;
        port_ = parts.port.empty() ? "80" : parts.port;
        path_ = path;
    } else {
        const TUrlParts proxy = ParseURL(Proxy);
        hostName_ = proxy.host;
        port_ = proxy.port.empty() ? ProxyPort : proxy.port;
        path_ = url_;
    }
    return true;
}

void THttpCli::ResetReply() {
    responseHeader_.clear();
    authChallenges_.clear();
    errorCode_ = 0;
    documentName_.clear();
    receivedCount_ = postedCount_ = 0;
    postInProgress_ = false;
    ResetReplyFields();
}

void THttpCli::ResetReplyFields() {
    statusCode_ = 0;
    reasonPhrase_.clear();
    contentLength_ = -1;
    contentType_.clear();
    headerLines_ = bodyChunks_ = 0;
    headerSize_ = 0;
    headerInProgress_ = false;
    locationFlag_ = false;
    transferCoding_.clear();
    chunked_ = false;
    chunks_ = TChunkedBody();
    buffer_.Clear();
}

void THttpCli::StartRequest() {
    SetState(httpDnsLookup);
    StartTimer(kConnectTimer, ConnectTimeout);
    try {
        socket_->MultiThreaded = MultiThreaded;
        socket_->SetLocalAddr(LocalAddr);
        socket_->DnsLookup(hostName_);  // a dotted address is answered before this returns
    } catch (const std::exception& e) {
        Fail(httperrBadRequest, e.what());
    }
}

void THttpCli::SocketDnsLookupDone(std::uint16_t error) {
    if (ending_ || state_ != httpDnsLookup) return;
    if (error != 0) {
        Fail(error, "can't resolve hostname to IP address");
        return;
    }
    SetState(httpConnecting);
    try {
        socket_->SetAddr(socket_->DnsResult());
        socket_->SetLocalAddr(LocalAddr);
        socket_->SetPort(port_);
        socket_->SetProto("tcp");
        socket_->Connect();
    } catch (const std::exception& e) {
        Fail(httperrBadRequest, e.what());
    }
}

void THttpCli::SocketSessionConnected(std::uint16_t error) {
    if (ending_) return;
    KillTimer(handle_, kConnectTimer);
    if (error != 0) {
        FailConnection(error);
        return;
    }
    connected_ = true;
    SetState(httpConnected);
    DoSessionConnected();
    if (ending_) return;
    SetState(httpWaitingHeader);
    StartTimer(kIdleTimer, IdleTimeout);
    SendRequest();
}

void THttpCli::SocketSessionClosed(std::uint16_t error) {
    if (ending_) return;
    connected_ = false;
    if (relocating_) {
        RelocationClosed();
        return;
    }
    if (error != 0) {
        FailConnection(error);
        return;
    }
    if (state_ == httpWaitingHeader) {
        // The server closed in the header (or before it): what it sent is all there is.
        std::string line;
        std::string_view lineEnd;
        while (!ending_ && state_ == httpWaitingHeader && buffer_.NextLine(line, lineEnd, true))
            HeaderLine(line, lineEnd);
        if (ending_ || state_ == httpNotConnected) return;  // ended, or relocating
        if (state_ == httpWaitingHeader) {
            if (statusCode_ == 0) {
                Fail(httperrBadReply, "The server closed the connection without a reply");
                return;
            }
            if (locationFlag_ && statusCode_ < 400) {
                DoHeaderEnd();
                Relocate();
                return;
            }
        }
    }
    if (BodyExpected() && contentLength_ > receivedCount_) {
        Fail(httperrBadReply, "The connection closed after " + std::to_string(receivedCount_) +
                                  " of " + std::to_string(contentLength_) + " bytes");
        return;
    }
    if (chunked_ && !chunks_.Ended()) {
        Fail(httperrBadReply, "The connection closed before the last chunk of the body");
        return;
    }
    EndRequest(false);
}

bool THttpCli::BodyExpected() const {
    return requestType_ != httpHEAD && statusCode_ >= 200 && statusCode_ != 204 &&
           statusCode_ != 304 && statusCode_ < 400;
}

void THttpCli::RelocationClosed() {
    KillTimer(handle_, kIdleTimer);  // the next connection has its own time-outs
    connected_ = false;
    locationFlag_ = false;
    relocating_ = false;
    if (requestType_ == httpPOST) requestType_ = httpGET;
    SetState(httpNotConnected);
    if (OnLocationChange) OnLocationChange(this);
    responseHeader_.clear();
    ResetReplyFields();
    PostMessage(handle_, WM_HTTP_RELOCATE, 0, 0);
}

void THttpCli::Relocate() {
    if (relocations_ >= kMaxRelocations) {
        Fail(httperrTooManyRelocations,
             "Too many relocations (more than " + std::to_string(kMaxRelocations) + ")");
        return;
    }
    ++relocations_;
    const TUrlParts parts = ParseURL(location_);
    if (!parts.user.empty() || !parts.password.empty()) {
        requestUser_ = parts.user;
        requestPassword_ = parts.password;
        authOrigin_ = Origin(parts);
    } else if (Origin(parts) != authOrigin_) {
        // Credentials are for the server they were given for.
        requestUser_.clear();
        requestPassword_.clear();
    }
    if (!SetTarget(location_)) return;
    relocating_ = true;
    if (socket_->State() != wsClosed) socket_->Close();  // its close event relocates
    if (relocating_ && !ending_) RelocationClosed();     // there was none: closed already
}

void THttpCli::FailConnection(std::uint16_t error) {
    Fail(error, WSocketErrorDesc(error) + " (Error #" + std::to_string(error) + ")");
}

void THttpCli::Fail(std::uint16_t error, const std::string& reason) {
    if (ending_) return;
    errorCode_ = error;
    reasonPhrase_ = reason;
    if (statusCode_ == 0) statusCode_ = 404;
    EndRequest(true);
}

void THttpCli::EndRequest(bool abort) {
    if (ending_) return;
    ending_ = true;
    relocating_ = false;
    postInProgress_ = false;
    KillTimer(handle_, kConnectTimer);
    KillTimer(handle_, kIdleTimer);
    KillTimer(handle_, kRequestTimer);
    // Posted first: whatever the events below do, the request ends.
    PostMessage(handle_, WM_HTTP_SET_READY, 0, 0);
    const bool headerOpen = headerInProgress_;
    const bool document = bodyChunks_ > 0;
    connected_ = false;
    buffer_.Clear();
    if (socket_->State() != wsClosed || socket_->HSocket() != INVALID_SOCKET) {
        if (abort)
            socket_->AbortSocket();
        else
            socket_->Close();
    } else if (abort) {
        socket_->CancelDnsLookup();
    }
    if (headerOpen) DoHeaderEnd();
    if (document) DoDocEnd();
}

void THttpCli::StartTimer(UINT_PTR id, int ms) {
    if (ms > 0) SetTimer(handle_, id, static_cast<UINT>(ms));
}

void THttpCli::TimedOut(UINT_PTR id) {
    // A silent server that has sent its whole announced document is done, not late.
    if (id != kConnectTimer && state_ == httpWaitingBody && contentLength_ >= 0 &&
        receivedCount_ >= contentLength_) {
        EndRequest(false);
        return;
    }
    FailConnection(httperrTimedOut);
}

}  // namespace rv
