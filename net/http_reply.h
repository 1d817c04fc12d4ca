#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rv {

// The bytes of a reply's header not handled yet, cut into lines. A line ends at CR LF, at LF or
// at a CR alone; a CR that ends the bytes held waits for the next byte, which may be its LF.
class THttpReplyBuffer {
public:
    // The longest line, with its end, that the buffer holds.
    static constexpr std::size_t kCapacity = 8192;

    std::size_t Room() const { return kCapacity - (data_.size() - start_); }
    // Adds at most Room() bytes.
    void Append(std::string_view bytes);
    // The next line without its end, and the end (empty for a last line without one). False
    // when no whole line is held; with `atEnd` (no more bytes will come) whatever is held is.
    bool NextLine(std::string& line, std::string_view& lineEnd, bool atEnd = false);
    // Everything held, emptying the buffer.
    std::string TakeAll();
    bool Empty() const { return start_ == data_.size(); }
    void Clear();

private:
    std::string data_;
    std::size_t start_ = 0;  // bytes of data_ already taken
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
