#include "net/chunked_body.h"

#include <algorithm>

#include "platform/text/hex_digits.h"

namespace rv {

namespace {

// A size line: hexadecimal digits, then blanks and extensions after ";" if any.
bool ParseChunkSize(std::string_view line, std::uint64_t& size) {
    size = 0;
    std::size_t i = 0;
    for (; i < line.size() && HexDigitValue(line[i]) >= 0; ++i) {
        if ((size >> 60) != 0) return false;  // one more digit would not fit
        size = size << 4 | static_cast<std::uint64_t>(HexDigitValue(line[i]));
    }
    if (i == 0) return false;
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    return i == line.size() || line[i] == ';';
}

}  // namespace

TChunkedBody::Result TChunkedBody::Feed(std::string_view bytes, std::string& data) {
    while (!bytes.empty() && (step_ != Step::End && step_ != Step::Broken)) {
        if (step_ == Step::Data) {
            const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left_, bytes.size()));
            data.append(bytes.substr(0, n));
            bytes.remove_prefix(n);
            left_ -= n;
            if (left_ == 0) step_ = Step::DataEnd;
            continue;
        }
        const std::size_t lf = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, lf);
        if (line_.size() + piece.size() + (lf == std::string_view::npos ? 0 : 1) > kMaxLine) {
            Break("a line is longer than " + std::to_string(kMaxLine) + " bytes");
            break;
        }
        line_ += piece;
        if (lf == std::string_view::npos) break;
        bytes.remove_prefix(lf + 1);
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        LineEnded();
        line_.clear();
    }
    switch (step_) {
        case Step::End:
            return Result::End;
        case Step::Broken:
            return Result::Bad;
        default:
            return Result::More;
    }
}

void TChunkedBody::LineEnded() {
    switch (step_) {
        case Step::Size:
            if (!ParseChunkSize(line_, left_)) {
                Break("a chunk's size is no hexadecimal number");
            } else {
                step_ = left_ == 0 ? Step::Trailer : Step::Data;
            }
            break;
        case Step::DataEnd:
            if (line_.empty())
                step_ = Step::Size;
            else
                Break("a chunk is longer than its size");
            break;
        case Step::Trailer:
            if (line_.empty()) step_ = Step::End;  // trailer fields are not wanted
            break;
        default:
            break;
    }
}

void TChunkedBody::Break(const std::string& fault) {
    step_ = Step::Broken;
    fault_ = fault;
}

}  // namespace rv
