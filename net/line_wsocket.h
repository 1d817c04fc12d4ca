#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/socks_wsocket.h"

namespace rv {

using TLineLimitEvent =
    std::function<void(TObject* sender, std::int32_t rcvdLength, bool& clearData)>;

// Offers held bytes again after LineMode changed.
inline constexpr UINT WM_TRIGGER_DATA_AVAILABLE = WM_USER + 20;

// A socket that, in line mode, hands what arrives to OnDataAvailable one line at a time: the
// handler's Receive gets the line up to and including LineEnd (RcvdCount is its length). The
// rest of a connection that ends without LineEnd comes as a last line before OnSessionClosed.
class TCustomLineWSocket : public TCustomSocksWSocket {
public:
    explicit TCustomLineWSocket(TComponent* owner);

    std::string ClassName() const override { return "TCustomLineWSocket"; }

    bool LineMode() const { return lineMode_; }
    // Bytes already held are offered again, from the message loop, under the new mode.
    virtual void SetLineMode(bool value);
    // A line longer than this, its LineEnd included, fires OnLineLimitExceeded, whether it is
    // still coming or came whole; 0 or less: no limit.
    std::int32_t LineLimit = 65536;
    std::string LineEnd = "\r\n";
    // Send what arrives back to the peer.
    bool LineEcho = false;
    // Backspace removes the character before, a tab becomes blanks up to the next multiple of 8.
    bool LineEdit = false;
    // A line grew past LineLimit (RcvdLength: the bytes held of it). ClearData, true when called,
    // drops the line: what is held of it, and the rest as it comes, up to and including its
    // LineEnd. Set to false, the handler keeps it, and it is offered when whole.
    TLineLimitEvent OnLineLimitExceeded;

protected:
    void WndProc(TMessage& msg) override;
    void ResetDefaults() override;
    int GetRcvdCount() override;
    int RecvRaw(void* buffer, int size, int flags) override;
    bool DoDataAvailable(std::uint16_t error) override;
    void DoSessionClosed(std::uint16_t error) override;
    virtual void DoLineLimitExceeded(std::int32_t rcvdLength, bool& clearData);

private:
    // Edits the bytes held from `from` on, echoing when asked; returns the first position that
    // changed (the end when none did).
    std::size_t EditLine(std::size_t from);
    // Finds the lines held, searching from `searchFrom` for the first, and offers each; false
    // when a handler freed the socket.
    bool OfferLines(std::size_t searchFrom);
    // Offers the pending line until it is read; false when a handler freed the socket.
    bool OfferPendingLine();
    // Offers whatever is held, as lines or as plain data by the mode.
    void OfferHeld();
    bool OverLimit(std::size_t length) const;
    // Drops held bytes of a line over the limit up to and including its LineEnd; false while
    // that has not come.
    bool SkipRestOfLine();

    bool lineMode_ = false;
    std::string held_;            // bytes received and not yet taken by the application
    std::size_t lineLength_ = 0;  // the length of the line at the front of held_, 0 when none
    bool lineClearData_ = false;
    bool skipping_ = false;  // the rest of a line over the limit is being dropped
};

}  // namespace rv
