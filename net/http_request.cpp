// The request the HTTP client sends: its header lines and a POST's body.

#include <cmath>

#include "net/http_cli.h"
#include "platform/text/base64.h"
#include "platform/text/format.h"

namespace rv {

namespace {

constexpr std::size_t kPostChunk = 8193;

// A date-time value (days since 30 December 1899, GMT) as "Sun, 06 Nov 1994 08:49:37 GMT".
std::string HttpDate(TDateTime value) {
    const auto days = static_cast<std::int64_t>(std::floor(value));
    auto seconds = static_cast<std::int64_t>(std::floor((value - days) * 86400.0 + 0.5));
    std::int64_t wholeDays = days;
    if (seconds >= 86400) seconds -= 86400, ++wholeDays;
    // Days since 1 March of year 0 of the proleptic Gregorian calendar, split into eras of
    // 400 years.
    const std::int64_t z = wholeDays + 693899;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // March is 0
    const int day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    const int month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    static constexpr char kDays[] = "MonTueWedThuFriSatSun";
    static constexpr char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const int weekday = static_cast<int>(((wholeDays - 2) % 7 + 7) % 7);
    return std::string(kDays + 3 * weekday, 3) + ", " +
           Format("%2.2d %s %4.4d %2.2d:%2.2d:%2.2d", day,
                  std::string(kMonths + 3 * (month - 1), 3).c_str(), year,
                  static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60)) +
           " GMT";
}

// The bytes of the stream from where it stands to its end; -1 when it cannot tell.
std::int64_t RemainingSize(std::istream& stream) {
    const auto here = stream.tellg();
    if (here < 0) return -1;
    stream.seekg(0, std::ios::end);
    const auto end = stream.tellg();
    stream.seekg(here);
    return end < 0 ? -1 : static_cast<std::int64_t>(end - here);
}

}  // namespace

void THttpCli::SendRequestLine(std::string line) {
    if (OnCommand) OnCommand(this, line);
    requestText_ += line;
    requestText_ += "\r\n";
}

void THttpCli::SendRequest() {
    static constexpr const char* kMethods[] = {"GET", "GET", "POST", "HEAD"};
    const bool post = requestType_ == httpPOST;
    requestText_.clear();
    DoRequestHeaderBegin();
    SendRequestLine(std::string(kMethods[requestType_]) + " " + path_ + " HTTP/1.0");
    if (!Sender.empty()) SendRequestLine("From: " + Sender);
    if (!Accept.empty()) SendRequestLine("Accept: " + Accept);
    if (!Reference.empty()) SendRequestLine("Referer: " + Reference);
    if (post && !ContentTypePost.empty()) SendRequestLine("Content-Type: " + ContentTypePost);
    if (!Agent.empty()) SendRequestLine("User-Agent: " + Agent);
    SendRequestLine("Host: " + targetHost_);
    if (NoCache) SendRequestLine("Pragma: no-cache");
    if (post) SendRequestLine("Content-Length: " + std::to_string(RemainingSize(*PostStream)));
    if (ModifiedSince != 0) SendRequestLine("If-Modified-Since: " + HttpDate(ModifiedSince));
    if (!requestUser_.empty())
        SendRequestLine("Authorization: Basic " +
                        Base64Encode(requestUser_ + ":" + requestPassword_));
    if (!Proxy.empty() && !ProxyUsername.empty())
        SendRequestLine("Proxy-Authorization: Basic " +
                        Base64Encode(ProxyUsername + ":" + ProxyPassword));
    if (!Cookie.empty()) SendRequestLine("Cookie: " + Cookie);
    if (!ContentRangeBegin.empty() || !ContentRangeEnd.empty()) {
        SendRequestLine("Range: bytes=" + ContentRangeBegin + "-" + ContentRangeEnd);
        ContentRangeBegin.clear();
        ContentRangeEnd.clear();
    }
    acceptRanges_.clear();
    DoRequestHeaderEnd();
    SendRequestLine("");
    const std::string text = std::move(requestText_);
    requestText_.clear();
    socket_->SendStr(text);
    if (post && !ending_) {
        DoSendBegin();
        postInProgress_ = true;
        SendPostChunk();
    }
}

void THttpCli::SendPostChunk() {
    char chunk[kPostChunk];
    PostStream->read(chunk, sizeof chunk);
    const auto n = static_cast<std::int32_t>(PostStream->gcount());
    if (n <= 0) {
        postInProgress_ = false;
        DoSendEnd();
        return;
    }
    postedCount_ += n;
    DoSendData(chunk, n);
    if (!ending_) socket_->Send(chunk, n);
}

void THttpCli::SocketDataSent(std::uint16_t) {
    if (ending_) return;
    StartTimer(kIdleTimer, IdleTimeout);  // sending is no silence
    if (postInProgress_) SendPostChunk();
}

}  // namespace rv
