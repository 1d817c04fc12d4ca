// The reply the HTTP client receives: its header lines, fields and body.

#include "net/http_cli.h"
#include "net/http_url.h"
#include "platform/text/ascii_case.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

// The most a reply's header may hold, line ends included; real ones hold a few kilobytes.
constexpr std::int64_t kMaxHeaderSize = 256 * 1024;

// A bit of a line from outside for a message: printable ASCII only.
std::string Excerpt(std::string_view text) {
    std::string shown;
    for (const char c : text.substr(0, 60)) shown += c >= ' ' && c < 127 ? c : '?';
    return text.size() > 60 ? shown + "..." : shown;
}

}  // namespace

void THttpCli::SocketDataAvailable(std::uint16_t) {
    if (ending_) return;
    char data[THttpReplyBuffer::kCapacity];
    const bool body = state_ == httpWaitingBody;
    const std::size_t room = body ? sizeof data : buffer_.Room();
    const int n = socket_->Receive(data, static_cast<int>(room));
    if (requestType_ == httpNone || n <= 0) return;
    StartTimer(kIdleTimer, IdleTimeout);
    if (body) {
        BodyBytes(data, static_cast<std::size_t>(n));
        return;
    }
    buffer_.Append(std::string_view(data, static_cast<std::size_t>(n)));
    std::string line;
    std::string_view lineEnd;
    while (!ending_ && state_ == httpWaitingHeader && buffer_.NextLine(line, lineEnd))
        HeaderLine(line, lineEnd);
    if (!ending_ && state_ == httpWaitingHeader && buffer_.Room() == 0)
        Fail(httperrTooLarge, "HTTP line too long");
}

void THttpCli::HeaderLine(const std::string& line, std::string_view lineEnd) {
    if (headerLines_++ == 0) DoHeaderBegin();
    // Lines kept in ResponseHeader cost memory: a server is not let fill it without end.
    headerSize_ += static_cast<std::int64_t>(line.size() + lineEnd.size());
    if (headerSize_ > kMaxHeaderSize) {
        Fail(httperrTooLarge,
             "The reply's header is longer than " + std::to_string(kMaxHeaderSize) + " bytes");
        return;
    }
    if (UpperCase(line.substr(0, 6)) == "<HTML>") {
        // No header: the document starts here.
        if (contentType_.empty()) contentType_ = "text/html";
        SetState(httpWaitingBody);
        DoHeaderEnd();
        const std::string body = line + std::string(lineEnd) + buffer_.TakeAll();
        if (!ending_) BodyData(body.data(), body.size());
        return;
    }
    const bool statusLine =
        headerLines_ == 1 || line.starts_with("HTTP/1.0") || line.starts_with("HTTP/1.1");
    if (statusLine && !ParseStatusLine(line, statusCode_, reasonPhrase_)) {
        Fail(httperrBadReply, "Not an HTTP status line: \"" + Excerpt(line) + "\"");
        return;
    }
    if (line.empty()) {
        HeaderEnd();
        return;
    }
    responseHeader_.push_back(line);
    std::string name, value;
    if (!statusLine && SplitHeaderField(line, name, value)) HeaderField(name, value);
    if (ending_) return;
    if (OnHeaderData) OnHeaderData(this);
    // An error reply's document is not wanted.
    if (!ending_ && statusCode_ >= 400) EndRequest(false);
}

void THttpCli::HeaderField(const std::string& name, const std::string& value) {
    if (name == "location") {
        locationFlag_ = true;
        location_ = ResolveURL(url_, Trim(value));
    } else if (name == "content-length") {
        if (!ParseContentLength(value, contentLength_))
            Fail(httperrBadReply, "Bad Content-Length: \"" + Excerpt(value) + "\"");
    } else if (name == "content-range") {
        ParseContentRange(value, ContentRangeBegin, ContentRangeEnd);
    } else if (name == "accept-ranges") {
        acceptRanges_ = value;
    } else if (name == "content-type") {
        contentType_ = LowerCase(value);
    } else if (name == "www-authenticate") {
        authChallenges_.push_back(value);
    } else if (name == "set-cookie") {
        bool accept = true;
        DoCookie(value, accept);
    } else if (name == "transfer-encoding") {
        transferCoding_ += (transferCoding_.empty() ? "" : ", ") + value;
    }
}

bool THttpCli::ReadTransferCoding() {
    if (!BodyExpected()) return true;  // no body: nothing to decode
    const std::string coding = LowerCase(Trim(transferCoding_));
    if (coding.empty() || coding == "identity") return true;
    if (coding != "chunked") {
        Fail(httperrBadReply,
             "The transfer coding \"" + Excerpt(transferCoding_) + "\" is not supported");
        return false;
    }
    // The chunks tell the body's end; a Content-Length beside them means nothing.
    chunked_ = true;
    contentLength_ = -1;
    return true;
}

void THttpCli::HeaderEnd() {
    if (!locationFlag_ && !ReadTransferCoding()) return;  // a relocation's body is not read
    // A relocation's reply often has no body; the Location is followed all the same.
    const bool relocation = locationFlag_ && statusCode_ >= 300 && statusCode_ < 400;
    if (contentLength_ == 0 && !relocation) {
        DoHeaderEnd();
        EndRequest(false);
        return;
    }
    if (locationFlag_) {
        DoHeaderEnd();
        if (!ending_) Relocate();
        return;
    }
    if (MaxDocumentSize > 0 && contentLength_ > MaxDocumentSize) {
        Fail(httperrTooLarge,
             "The document is larger than " + std::to_string(MaxDocumentSize) + " bytes");
        return;
    }
    if (contentType_ == "text/html" && LowerCase(documentName_).ends_with(".exe"))
        documentName_.replace(documentName_.size() - 3, 3, "htm");
    SetState(httpWaitingBody);
    DoHeaderEnd();
    const std::string rest = buffer_.TakeAll();
    if (!ending_ && !rest.empty()) BodyBytes(rest.data(), rest.size());
}

void THttpCli::BodyBytes(const char* data, std::size_t len) {
    if (!chunked_) {
        BodyData(data, len);
        return;
    }
    std::string decoded;
    const TChunkedBody::Result result = chunks_.Feed(std::string_view(data, len), decoded);
    if (!decoded.empty()) BodyData(decoded.data(), decoded.size());
    if (ending_) return;
    if (result == TChunkedBody::Result::Bad)
        Fail(httperrBadReply, "A broken chunked body: " + chunks_.Fault());
    else if (result == TChunkedBody::Result::End)
        EndRequest(false);
}

void THttpCli::BodyData(const char* data, std::size_t len) {
    if (bodyChunks_++ == 0) DoDocBegin();
    if (ending_) return;
    auto length = static_cast<std::int64_t>(len);
    const bool tooLarge = MaxDocumentSize > 0 && receivedCount_ + length > MaxDocumentSize;
    // What fits is taken first: the body kept does not depend on the pieces it came in.
    if (tooLarge) length = MaxDocumentSize - receivedCount_;
    if (length > 0) {
        receivedCount_ += length;
        if (ReceiveStream && !ReceiveStream->write(data, length)) {
            Fail(httperrStreamFailed, "The document could not be stored");
            return;
        }
        DoDocData(data, static_cast<std::int32_t>(length));
        if (ending_) return;
    }
    if (tooLarge)
        Fail(httperrTooLarge,
             "The document is larger than " + std::to_string(MaxDocumentSize) + " bytes");
}

void THttpCli::DoCookie(const std::string& data, bool& accept) {
    if (OnCookie) OnCookie(this, data, accept);
}

void THttpCli::DoSessionConnected() {
    if (OnSessionConnected) OnSessionConnected(this);
}

void THttpCli::DoRequestHeaderBegin() {
    if (OnRequestHeaderBegin) OnRequestHeaderBegin(this);
}

void THttpCli::DoRequestHeaderEnd() {
    if (OnRequestHeaderEnd) OnRequestHeaderEnd(this);
}

void THttpCli::DoHeaderBegin() {
    headerInProgress_ = true;
    if (OnHeaderBegin) OnHeaderBegin(this);
}

void THttpCli::DoHeaderEnd() {
    headerInProgress_ = false;
    if (OnHeaderEnd) OnHeaderEnd(this);
}

void THttpCli::DoDocBegin() {
    if (OnDocBegin) OnDocBegin(this);
}

void THttpCli::DoDocData(const void* buffer, std::int32_t len) {
    if (OnDocData) OnDocData(this, buffer, len);
}

void THttpCli::DoDocEnd() {
    if (OnDocEnd) OnDocEnd(this);
}

void THttpCli::DoSendBegin() {
    if (OnSendBegin) OnSendBegin(this);
}

void THttpCli::DoSendData(const void* buffer, std::int32_t len) {
    if (OnSendData) OnSendData(this, buffer, len);
}

void THttpCli::DoSendEnd() {
    if (OnSendEnd) OnSendEnd(this);
}

}  // namespace rv
