// Line mode: incoming bytes held and handed out one line at a time.

#include "net/line_wsocket.h"

#include <algorithm>
#include <cstring>

namespace rv {

TCustomLineWSocket::TCustomLineWSocket(TComponent* owner) : TCustomSocksWSocket(owner) {}

void TCustomLineWSocket::ResetDefaults() {
    TCustomSocksWSocket::ResetDefaults();
    held_.clear();
    lineLength_ = 0;
    skipping_ = false;
}

void TCustomLineWSocket::SetLineMode(bool value) {
    if (value == lineMode_) return;
    lineMode_ = value;
    skipping_ = false;
    if (!value) lineLength_ = 0;  // an unread rest stays in front of the bytes that follow
    if (!held_.empty()) PostMessage(Handle(), WM_TRIGGER_DATA_AVAILABLE, 0, 0);
}

void TCustomLineWSocket::WndProc(TMessage& msg) {
    if (msg.Msg == WM_TRIGGER_DATA_AVAILABLE)
        OfferHeld();
    else
        TCustomSocksWSocket::WndProc(msg);
}

int TCustomLineWSocket::GetRcvdCount() {
    if (lineMode_) return static_cast<int>(lineLength_);
    if (!held_.empty()) return static_cast<int>(held_.size());
    return TCustomSocksWSocket::GetRcvdCount();
}

int TCustomLineWSocket::RecvRaw(void* buffer, int size, int flags) {
    const std::size_t available = lineMode_ ? lineLength_ : held_.size();
    if (available == 0) return TCustomSocksWSocket::RecvRaw(buffer, size, flags);
    const std::size_t n = std::min(available, static_cast<std::size_t>(std::max(size, 0)));
    std::memcpy(buffer, held_.data(), n);
    if ((flags & MSG_PEEK) == 0) {
        held_.erase(0, n);
        if (lineMode_) lineLength_ -= n;
    }
    return static_cast<int>(n);
}

bool TCustomLineWSocket::DoDataAvailable(std::uint16_t error) {
    if (!lineMode_ || LineEnd.empty() || SocksNegotiating())
        return TCustomSocksWSocket::DoDataAvailable(error);
    int n = TCustomSocksWSocket::GetRcvdCount();
    if (n < 0) return true;
    if (n == 0) n = 255;
    const std::size_t oldEnd = held_.size();
    held_.resize(oldEnd + static_cast<std::size_t>(n));
    const int got = TCustomSocksWSocket::RecvRaw(held_.data() + oldEnd, n, 0);
    held_.resize(oldEnd + static_cast<std::size_t>(std::max(got, 0)));
    if (got <= 0) return true;

    std::size_t searchFrom = oldEnd - std::min(oldEnd, LineEnd.size());
    if (LineEdit) {
        searchFrom = std::min(searchFrom, EditLine(oldEnd));
    } else if (LineEcho) {
        SendStr(held_.substr(oldEnd));
    }
    OfferLines(searchFrom);
    return true;
}

std::size_t TCustomLineWSocket::EditLine(std::size_t from) {
    std::string kept = held_.substr(0, from);
    std::string echo;
    std::size_t firstChange = std::string::npos;
    for (std::size_t i = from; i < held_.size(); ++i) {
        const char c = held_[i];
        if (c == '\b') {
            if (!kept.empty()) {
                kept.pop_back();
                if (LineEcho) echo += "\b \b";
            }
            firstChange = std::min(firstChange, kept.size());
        } else if (c == '\t') {
            firstChange = std::min(firstChange, kept.size());
            const std::string blanks(8 - kept.size() % 8, ' ');
            kept += blanks;
            if (LineEcho) echo += blanks;
        } else {
            kept += c;
            if (LineEcho) echo += c;
        }
    }
    held_ = std::move(kept);
    if (!echo.empty()) SendStr(echo);
    return std::min(firstChange, held_.size());
}

bool TCustomLineWSocket::OfferPendingLine() {
    const std::weak_ptr<TSocket> lifetime = Lifetime();
    while (lineMode_ && lineLength_ > 0) {
        const std::size_t before = lineLength_;
        const bool taken = TCustomSocksWSocket::DoDataAvailable(0);
        if (lifetime.expired()) return false;
        if (!taken) {  // nobody listens: the line is dropped
            held_.erase(0, lineLength_);
            lineLength_ = 0;
        } else if (lineLength_ == before) {
            break;  // the handler took nothing: offered again with the next data
        }
    }
    return true;
}

bool TCustomLineWSocket::OverLimit(std::size_t length) const {
    return LineLimit >= 1 && length > static_cast<std::size_t>(LineLimit);
}

bool TCustomLineWSocket::SkipRestOfLine() {
    const std::size_t end = held_.find(LineEnd);
    if (end == std::string::npos) {
        // The last bytes may be the start of the line end.
        held_.erase(0, held_.size() - std::min(held_.size(), LineEnd.size() - 1));
        return false;
    }
    held_.erase(0, end + LineEnd.size());
    skipping_ = false;
    return true;
}

bool TCustomLineWSocket::OfferLines(std::size_t searchFrom) {
    const std::weak_ptr<TSocket> lifetime = Lifetime();
    if (skipping_ && lineMode_ && !LineEnd.empty()) {
        if (!SkipRestOfLine()) return true;
        searchFrom = 0;
    }
    for (;;) {
        if (!lineMode_ || LineEnd.empty()) return true;
        if (lineLength_ == 0) {
            const std::size_t end = held_.find(LineEnd, searchFrom);
            if (end == std::string::npos) break;
            lineLength_ = end + LineEnd.size();
            searchFrom = 0;
            // Measured before it is offered: a line that came in one read is held to the same
            // limit as one that came in many.
            if (OverLimit(lineLength_)) {
                bool clearData = true;
                DoLineLimitExceeded(static_cast<std::int32_t>(lineLength_), clearData);
                if (lifetime.expired()) return false;
                if (clearData) {
                    held_.erase(0, lineLength_);
                    lineLength_ = 0;
                    continue;
                }
            }
        }
        const std::size_t before = lineLength_;
        if (!OfferPendingLine()) return false;
        if (lineLength_ == before) break;
    }
    if (OverLimit(held_.size())) {
        bool clearData = true;
        DoLineLimitExceeded(static_cast<std::int32_t>(held_.size()), clearData);
        if (lifetime.expired()) return false;
        lineClearData_ = clearData;
        if (clearData) {
            held_.clear();
            lineLength_ = 0;
            skipping_ = true;  // nothing of this line is offered, not even its end
        }
    }
    return true;
}

void TCustomLineWSocket::OfferHeld() {
    const std::weak_ptr<TSocket> lifetime = Lifetime();
    while (!held_.empty()) {
        const std::size_t before = held_.size();
        if (lineMode_ && !LineEnd.empty()) {
            if (!OfferLines(0)) return;
        } else if (!TCustomSocksWSocket::DoDataAvailable(0)) {
            held_.clear();  // nobody listens
        }
        if (lifetime.expired() || held_.size() == before) return;
    }
}

void TCustomLineWSocket::DoSessionClosed(std::uint16_t error) {
    if (lineMode_ && !held_.empty() && !lineClearData_) {
        // What came after the last line end is the last line.
        lineLength_ = held_.size();
        if (!OfferPendingLine()) return;
    }
    held_.clear();
    held_.shrink_to_fit();
    lineLength_ = 0;
    lineClearData_ = false;
    skipping_ = false;
    TCustomSocksWSocket::DoSessionClosed(error);
}

void TCustomLineWSocket::DoLineLimitExceeded(std::int32_t rcvdLength, bool& clearData) {
    if (OnLineLimitExceeded) OnLineLimitExceeded(this, rcvdLength, clearData);
}

}  // namespace rv
