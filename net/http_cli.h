#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "net/chunked_body.h"
#include "net/http_reply.h"
#include "net/wsocket.h"
#include "platform/dirs/date_time.h"

namespace rv {

// Misuse of the HTTP client, with its number in ErrorCode.
class EHttpException : public Exception {
public:
    EHttpException(const std::string& message, std::uint16_t errorCode)
        : Exception(message), ErrorCode(errorCode) {}
    std::uint16_t ErrorCode;
};

inline constexpr std::uint16_t httperrBusy = 1;
inline constexpr std::uint16_t httperrNoData = 2;

// Errors of OnRequestDone besides the socket's own, each a socket error number whose text fits;
// ReasonPhrase says more.
inline constexpr std::uint16_t httperrBadRequest = WSAEINVAL;  // no host, a look-up not started
inline constexpr std::uint16_t httperrNotHttp = WSAEPROTONOSUPPORT;  // https and other protocols
inline constexpr std::uint16_t httperrTimedOut = WSAETIMEDOUT;  // connect, idle or whole request
inline constexpr std::uint16_t httperrTooManyRelocations = WSAELOOP;
// Past MaxDocumentSize, a header line longer than 8 KB or a header longer than 256 KB.
inline constexpr std::uint16_t httperrTooLarge = WSAEMSGSIZE;
// No status, a body cut short or in broken chunks, a transfer coding other than chunked.
inline constexpr std::uint16_t httperrBadReply = WSAECONNABORTED;
inline constexpr std::uint16_t httperrStreamFailed = WSAENOBUFS;  // ReceiveStream took no more

enum THttpRequest { httpNone, httpGET, httpPOST, httpHEAD };

enum THttpState : std::uint8_t {
    httpReady,
    httpNotConnected,
    httpConnected,
    httpDnsLookup,
    httpConnecting,
    httpWaitingHeader,
    httpWaitingBody
};

using TOnCommand = std::function<void(TObject* sender, std::string& s)>;
using TDocDataEvent = std::function<void(TObject* sender, const void* buffer, std::int32_t len)>;
using THttpRequestDone =
    std::function<void(TObject* sender, THttpRequest rqType, std::uint16_t error)>;
using TCookieRcvdEvent =
    std::function<void(TObject* sender, const std::string& data, bool& accept)>;

// The private messages of the client's hidden window.
inline constexpr UINT WM_HTTP_REQUEST_DONE = WM_USER + 1;
inline constexpr UINT WM_HTTP_SET_READY = WM_USER + 2;
inline constexpr UINT WM_HTTP_RELOCATE = WM_USER + 3;

// An HTTP/1.0 client: one request at a time, started by GetAsync (or PostAsync, HeadAsync), which
// returns at once; the request always ends with exactly one OnRequestDone, posted from the
// message loop. Error 0 there means a reply came (StatusCode and ReasonPhrase tell which, the
// body is in ReceiveStream); otherwise it is a socket error number (or one of the httperr
// numbers above) and ReasonPhrase tells why, with StatusCode 404 when no reply came. Relocations
// are followed, at most five per request. A body sent in chunks reaches ReceiveStream decoded.
// The client may be freed from OnRequestDone, not from its other events.
class THttpCli : public TComponent {
public:
    explicit THttpCli(TComponent* owner);
    ~THttpCli() override;

    std::string ClassName() const override { return "THttpCli"; }

    std::string URL;
    std::string LocalAddr = "0.0.0.0";
    // A proxy ("host" or "host:port"); empty: none.
    std::string Proxy;
    std::string ProxyPort = "80";
    std::string Sender;  // "From"
    std::string Agent = "Mozilla/3.0 (compatible)";
    std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
    std::string Reference;  // "Referer"
    // Basic authorization with the server the URL names (user info in the URL takes their place
    // for that request); not sent to another host after a relocation.
    std::string Username, Password;
    std::string ProxyUsername, ProxyPassword;
    bool NoCache = false;
    TDateTime ModifiedSince = 0;  // taken as GMT; 0: none
    std::string Cookie;
    std::string ContentTypePost = "application/x-www-form-urlencoded";
    // A "Range" line when either is set (cleared once sent); set again from a "content-range".
    std::string ContentRangeBegin, ContentRangeEnd;
    bool MultiThreaded = false;
    // Milliseconds the look-up and connect may take, and a connected server may stay silent. A
    // request as a whole, relocations included, may take ConnectTimeout + 4 x IdleTimeout (two
    // and a half minutes with these defaults), however often the server sends a byte; then it
    // ends with httperrTimedOut. A time-out of 0 or less does not count.
    int ConnectTimeout = 30000;
    int IdleTimeout = 30000;
    // The largest body taken, in bytes; 0: no limit. A body announced larger fails at once;
    // one found larger while read fails once the first MaxDocumentSize bytes are taken.
    std::int64_t MaxDocumentSize = 0;
    // Where the body goes (not owned; nothing is kept when none), and a POST's body.
    std::ostream* ReceiveStream = nullptr;
    std::istream* PostStream = nullptr;

    TNotifyEvent OnTrace;  // never fired
    TNotifyEvent OnSessionConnected;
    TNotifyEvent OnHeaderData;
    TOnCommand OnCommand;  // each request line before it is sent
    TNotifyEvent OnHeaderBegin, OnHeaderEnd;
    TNotifyEvent OnRequestHeaderBegin, OnRequestHeaderEnd;
    TNotifyEvent OnDocBegin, OnDocEnd;
    TDocDataEvent OnDocData;
    TNotifyEvent OnSendBegin, OnSendEnd;
    TDocDataEvent OnSendData;
    TNotifyEvent OnStateChange;
    THttpRequestDone OnRequestDone;
    TNotifyEvent OnLocationChange;
    TCookieRcvdEvent OnCookie;

    // Raise EHttpException while a request runs, and PostAsync without a PostStream.
    void GetAsync();
    void PostAsync();
    void HeadAsync();

    THttpState State() const { return state_; }
    THttpRequest RequestType() const { return requestType_; }
    int StatusCode() const { return statusCode_; }
    const std::string& ReasonPhrase() const { return reasonPhrase_; }
    // -1 when the reply has none.
    std::int64_t ContentLength() const { return contentLength_; }
    const std::string& ContentType() const { return contentType_; }
    const std::string& AcceptRanges() const { return acceptRanges_; }
    const std::string& DocumentName() const { return documentName_; }
    // The URL being fetched, the target of the last relocation.
    const std::string& Location() const { return location_; }
    const std::vector<std::string>& ResponseHeader() const { return responseHeader_; }
    const std::vector<std::string>& AuthChallenges() const { return authChallenges_; }
    std::int64_t ReceivedCount() const { return receivedCount_; }
    std::int64_t PostedCount() const { return postedCount_; }
    bool Connected() const { return connected_; }

protected:
    virtual void SendRequestLine(std::string line);
    virtual void StartRequest();
    virtual void ResetReply();
    virtual void RelocationClosed();
    virtual void DoCookie(const std::string& data, bool& accept);
    virtual void DoSessionConnected();
    virtual void DoRequestHeaderBegin();
    virtual void DoRequestHeaderEnd();
    virtual void DoHeaderBegin();
    virtual void DoHeaderEnd();
    virtual void DoDocBegin();
    virtual void DoDocData(const void* buffer, std::int32_t len);
    virtual void DoDocEnd();
    virtual void DoSendBegin();
    virtual void DoSendData(const void* buffer, std::int32_t len);
    virtual void DoSendEnd();

private:
    void WndProc(TMessage& msg);
    void DoRequestAsync(THttpRequest type);
    // Aims the request at `url`; false (and the request ended) when it cannot be fetched.
    bool SetTarget(const std::string& url);
    void SetState(THttpState state);
    void ResetReplyFields();

    void SocketDnsLookupDone(std::uint16_t error);
    void SocketSessionConnected(std::uint16_t error);
    void SocketDataAvailable(std::uint16_t error);
    void SocketDataSent(std::uint16_t error);
    void SocketSessionClosed(std::uint16_t error);

    void SendRequest();
    void SendPostChunk();
    void HeaderLine(const std::string& line, std::string_view lineEnd);
    void HeaderField(const std::string& name, const std::string& value);
    void HeaderEnd();
    // Whether a reply of this status to this request has a body.
    bool BodyExpected() const;
    // Takes up the reply's transfer coding; false (and the request ended) when it is not read.
    bool ReadTransferCoding();
    // Bytes of the body as they came: decoded first when they come in chunks.
    void BodyBytes(const char* data, std::size_t len);
    void BodyData(const char* data, std::size_t len);
    // Follows the Location of the reply unless the cap or its protocol forbid.
    void Relocate();

    // Ends the request with an error; StatusCode becomes 404 when no reply came.
    void Fail(std::uint16_t error, const std::string& reason);
    void FailConnection(std::uint16_t error);
    // Ends the request: the socket closes (aborted when `abort`), the client becomes ready and
    // OnRequestDone follows. Only the first call of a request counts.
    void EndRequest(bool abort);
    void StartTimer(UINT_PTR id, int ms);
    void TimedOut(UINT_PTR id);

    static constexpr UINT_PTR kConnectTimer = 1;
    static constexpr UINT_PTR kIdleTimer = 2;
    static constexpr UINT_PTR kRequestTimer = 3;

    HWND handle_ = 0;
    std::unique_ptr<TWSocket> socket_;
    std::string requestText_;  // written line by line, sent at once
    THttpState state_ = httpReady;
    THttpRequest requestType_ = httpNone;

    // Where the request goes.
    std::string url_;         // the absolute URL fetched now, the base of a relative Location
    std::string targetHost_;  // "Host"
    std::string hostName_;    // looked up: the server's, or the proxy's
    std::string port_;        // connected to
    std::string path_;        // in the request line
    std::string requestUser_, requestPassword_;
    std::string authOrigin_;  // "host:port" the credentials belong to
    int relocations_ = 0;

    // The reply.
    int statusCode_ = 0;
    std::string reasonPhrase_;
    std::int64_t contentLength_ = -1;
    std::string contentType_, acceptRanges_, documentName_, location_;
    std::string transferCoding_;  // the Transfer-Encoding fields, joined
    bool chunked_ = false;        // the body comes in chunks
    TChunkedBody chunks_;
    std::vector<std::string> responseHeader_, authChallenges_;
    std::int64_t receivedCount_ = 0, postedCount_ = 0;
    bool connected_ = false;

    THttpReplyBuffer buffer_;
    int headerLines_ = 0;
    std::int64_t headerSize_ = 0;
    int bodyChunks_ = 0;
    bool headerInProgress_ = false;
    bool locationFlag_ = false;
    bool relocating_ = false;  // our own close before following a Location
    bool ending_ = false;      // the request's end is posted
    std::uint16_t errorCode_ = 0;
    bool postInProgress_ = false;
};

}  // namespace rv
