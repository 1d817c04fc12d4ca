// Arbitrary bytes as an HTTP reply, through the header reader the HTTP client uses: the reply
// buffer cutting lines, the status line, the fields, Content-Length and Content-Range, and the
// Location read against a request URL. Nothing may crash, and the reply must read the same
// whether it comes whole or in pieces of any size (the first byte picks the sizes).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/http_reply.h"
#include "net/http_url.h"

namespace {

// What the reader made of the reply, as text.
std::string Read(std::string_view reply, std::size_t piece) {
    rv::THttpReplyBuffer buffer;
    std::string seen;
    bool header = true;
    int lines = 0;
    std::string line;
    std::string_view lineEnd;
    while (header && (!reply.empty() || !buffer.Empty())) {
        const std::size_t n = std::min({piece, reply.size(), buffer.Room()});
        buffer.Append(reply.substr(0, n));
        reply.remove_prefix(n);
        const bool atEnd = reply.empty();
        while (header && buffer.NextLine(line, lineEnd, atEnd)) {
            seen += "[" + line + "|" + std::string(lineEnd) + "]";
            if (lines++ == 0) {
                int code = 0;
                std::string reason;
                if (!rv::ParseStatusLine(line, code, reason)) return seen + " no status";
                seen += std::to_string(code) + reason;
            } else if (line.empty()) {
                header = false;
            } else {
                std::string name, value;
                if (!rv::SplitHeaderField(line, name, value)) continue;
                seen += name + "=" + value;
                std::int64_t length = 0;
                if (name == "content-length" && rv::ParseContentLength(value, length)) {
                    if (length < 0) std::abort();
                    seen += "#" + std::to_string(length);
                } else if (name == "content-range") {
                    std::string first, last;
                    rv::ParseContentRange(value, first, last);
                    seen += first + "-" + last;
                } else if (name == "location") {
                    const std::string url = rv::ResolveURL("http://h:8/a/b/c?q", value);
                    const rv::TUrlParts parts = rv::ParseURL(url);
                    seen += url + parts.proto + parts.host + parts.port + parts.path;
                }
            }
        }
        if (header && n == 0 && buffer.Room() == 0) return seen + " line too long";
        if (n == 0 && reply.empty() && !buffer.Empty() && header) break;
    }
    return seen + " body " + buffer.TakeAll() + std::string(reply);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t piece = 1 + data[0] % 17;
    if (Read(reply, reply.size() + 1) != Read(reply, piece)) std::abort();
    return 0;
}
