// Arbitrary bytes as what an SMTP server says, through the reading the SMTP client does: lines
// cut in a buffer of 4096 bytes, each line's status, and the answer to a CRAM-MD5 challenge made
// of it. Nothing may crash, a status is 0 or 100 to 999, and the replies must read the same
// whether they come whole or in pieces of any size (the first byte picks the sizes).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "net/reply_buffer.h"
#include "net/smtp_auth.h"
#include "net/smtp_reply.h"
#include "platform/text/base64.h"

namespace {

std::string Read(std::string_view replies, std::size_t piece) {
    rv::TReplyBuffer buffer(4096);
    std::string seen, line, challenge;
    std::string_view lineEnd;
    while (!replies.empty()) {
        const std::size_t n = std::min({piece, replies.size(), buffer.Room()});
        if (n == 0) return seen + " line too long";
        buffer.Append(replies.substr(0, n));
        replies.remove_prefix(n);
        while (buffer.NextLine(line, lineEnd)) {
            const rv::TSmtpStatus status = rv::ParseSmtpStatus(line);
            if (status.code != 0 && (status.code < 100 || status.code > 999)) std::abort();
            if (status.continued && status.code == 0) std::abort();
            seen += std::to_string(status.code) + (status.continued ? "-" : " ");
            if (line.size() >= 5 && rv::Base64DecodeTo(std::string_view(line).substr(4),
                                                       challenge) == rv::Base64Fault::None) {
                const std::string answer = rv::CramMD5Answer(challenge, "u", "p");
                if (answer.size() != 34) std::abort();
                seen += answer;
            }
        }
    }
    return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::string_view replies(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t piece = 1 + data[0] % 17;
    if (Read(replies, replies.size() + 1) != Read(replies, piece)) std::abort();
    return 0;
}
