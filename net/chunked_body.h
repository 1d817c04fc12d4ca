#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rv {

// The body of a reply sent with "Transfer-Encoding: chunked" (RFC 9112, 7.1), decoded as its
// bytes arrive, in pieces of any size: the data of each chunk is taken, the sizes, extensions
// and trailer are not.
class TChunkedBody {
public:
    enum class Result {
        More,  // the body goes on
        End,   // the last chunk and the trailer have come; bytes after them are not read
        Bad    // the bytes break the format; Fault() says how
    };

    // The longest size or trailer line, its end included.
    static constexpr std::size_t kMaxLine = 4096;

    // Reads `bytes`, appending the data they carry to `data`.
    Result Feed(std::string_view bytes, std::string& data);
    bool Ended() const { return step_ == Step::End; }
    const std::string& Fault() const { return fault_; }

private:
    enum class Step { Size, Data, DataEnd, Trailer, End, Broken };

    // A size, data-end or trailer line has come whole (without its end).
    void LineEnded();
    void Break(const std::string& fault);

    Step step_ = Step::Size;
    std::uint64_t left_ = 0;  // data of the current chunk not come yet
    std::string line_;        // the line coming now
    std::string fault_;
};

}  // namespace rv
