#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>

#include "platform/base/exception.h"
#include "platform/components/component.h"
#include "platform/messages/messages.h"

namespace rv {

// Misuse of a socket (busy, not connected, a property changed while open) and failures of the
// socket library.
class ESocketException : public Exception {
public:
    using Exception::Exception;
};

enum TSocketState {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed
};

enum TSocketSendFlags { wsSendNormal, wsSendUrgent };

enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };

enum TWSocketOption { wsoNoReceiveLoop, wsoTcpNoDelay };

// A set of TWSocketOption.
class TWSocketOptions {
public:
    constexpr TWSocketOptions() = default;
    constexpr TWSocketOptions(std::initializer_list<TWSocketOption> options) {
        for (auto option : options) bits_ |= Bit(option);
    }
    constexpr bool Contains(TWSocketOption option) const { return (bits_ & Bit(option)) != 0; }
    constexpr TWSocketOptions Without(TWSocketOption option) const {
        TWSocketOptions result = *this;
        result.bits_ &= ~Bit(option);
        return result;
    }
    constexpr bool operator==(const TWSocketOptions&) const = default;

private:
    static constexpr unsigned Bit(TWSocketOption option) { return 1u << option; }
    unsigned bits_ = 0;
};

// Socket events: the Error is a socket error number, 0 for success.
using TDataAvailable = std::function<void(TObject* sender, std::uint16_t error)>;
using TDataSent = std::function<void(TObject* sender, std::uint16_t error)>;
using TSessionClosed = std::function<void(TObject* sender, std::uint16_t error)>;
using TSessionAvailable = std::function<void(TObject* sender, std::uint16_t error)>;
using TSessionConnected = std::function<void(TObject* sender, std::uint16_t error)>;
using TDnsLookupDone = std::function<void(TObject* sender, std::uint16_t error)>;
using TSendData = std::function<void(TObject* sender, std::int32_t bytesSent)>;
using TChangeState =
    std::function<void(TObject* sender, TSocketState oldState, TSocketState newState)>;
using TBgExceptionEvent =
    std::function<void(TObject* sender, const std::exception& e, bool& canClose)>;

// The private messages of a socket's hidden window.
inline constexpr UINT WM_ASYNCSELECT = WM_USER + 1;
inline constexpr UINT WM_ASYNCGETHOSTBYNAME = WM_USER + 2;
inline constexpr UINT WM_ASYNCGETHOSTBYADDR = WM_USER + 3;
inline constexpr UINT WM_CLOSE_DELAYED = WM_USER + 4;
inline constexpr UINT WM_WSOCKET_RELEASE = WM_USER + 5;
inline constexpr UINT WM_TRIGGER_EXCEPTION = WM_USER + 6;

}  // namespace rv
