#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/reply_buffer.h"

namespace rv {

// The header of an HTTP reply, cut into lines.
class THttpReplyBuffer : public TReplyBuffer {
public:
    // The longest line, with its end, that the buffer holds.
    static constexpr std::size_t kCapacity = 8192;

    THttpReplyBuffer() : TReplyBuffer(kCapacity) {}
};

// A status line "HTTP/<digit>.<digit> <three digits>[ <reason>]": its code and reason.
bool ParseStatusLine(std::string_view line, int& code, std::string& reason);

// A field line "Name: value": the name lower-cased and the value without its leading blanks.
bool SplitHeaderField(std::string_view line, std::string& name, std::string& value);

// A Content-Length value: decimal digits with blanks around them, below 2^63.
bool ParseContentLength(std::string_view value, std::int64_t& length);

// The first and last byte numbers of a Content-Range value: "bytes 0-99/1000" gives 0 and 99.
void ParseContentRange(std::string_view value, std::string& first, std::string& last);

}  // namespace rv
