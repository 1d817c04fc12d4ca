#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "net/custom_wsocket.h"

namespace rv {

enum TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };

enum TSocksAuthState { authStarted, authSucceeded, authFailed, authNotRequired };

using TSocksErrorEvent =
    std::function<void(TObject* sender, std::int32_t error, const std::string& msg)>;
using TSocksAuthStateEvent = std::function<void(TObject* sender, TSocksAuthState authState)>;

// SOCKS error numbers; each is also the Error of the OnSessionConnected that follows.
inline constexpr int socksProtocolError = 20001;
inline constexpr int socksVersionError = 20002;
inline constexpr int socksAuthMethodError = 20003;
inline constexpr int socksGeneralFailure = 20004;
inline constexpr int socksConnectionNotAllowed = 20005;
inline constexpr int socksNetworkUnreachable = 20006;
inline constexpr int socksHostUnreachable = 20007;
inline constexpr int socksConnectionRefused = 20008;
inline constexpr int socksTtlExpired = 20009;
inline constexpr int socksUnknownCommand = 20010;
inline constexpr int socksUnknownAddressType = 20011;
inline constexpr int socksUnassignedError = 20012;
inline constexpr int socksInternalError = 20013;
inline constexpr int socksAuthenticationFailed = 20015;
inline constexpr int socksRejectedOrFailed = 20016;

// A socket that reaches Addr:Port through a SOCKS 4, 4A or 5 server (user and password by RFC
// 1929) when SocksServer is set. The negotiation runs between the TCP connect and
// OnSessionConnected, which comes only once the server has connected us (Error 0) or refused
// (the SOCKS error number, after OnSocksError; then the socket closes). A server that hangs up
// during the negotiation has refused too, with the error of the close, or 10053 for a plain one.
class TCustomSocksWSocket : public TCustomWSocket {
public:
    explicit TCustomSocksWSocket(TComponent* owner);

    std::string ClassName() const override { return "TCustomSocksWSocket"; }

    // "4", "4A" or "5" (the default). Level, server and port may change only while closed; the
    // server and port are emptied and the level set back to "5" by each close, so they are set
    // again before each connection.
    const std::string& SocksLevel() const { return socksLevel_; }
    void SetSocksLevel(const std::string& value);
    const std::string& SocksServer() const { return socksServer_; }
    virtual void SetSocksServer(const std::string& value);
    const std::string& SocksPort() const { return socksPort_; }
    virtual void SetSocksPort(const std::string& value);
    // Level 5: sent when the server asks for them; at most 255 bytes each. Level 4: the
    // user code is sent as the request's user id.
    std::string SocksUsercode;
    std::string SocksPassword;
    TSocksAuthentication SocksAuthentication = socksNoAuthentication;

    // What the server says it bound for us (level 5).
    const std::string& SocksBoundAddr() const { return boundAddr_; }
    const std::string& SocksBoundPort() const { return boundPort_; }

    // The TCP connection to the SOCKS server is made (or failed).
    TSessionConnected OnSocksConnected;
    TSocksErrorEvent OnSocksError;
    TSocksAuthStateEvent OnSocksAuthState;

    void Connect() override;
    void Listen() override;

protected:
    void ResetDefaults() override;
    int GetRcvdCount() override;
    int RecvRaw(void* buffer, int size, int flags) override;
    bool DoDataAvailable(std::uint16_t error) override;
    void DoSessionConnected(std::uint16_t error) override;
    void DoSessionClosed(std::uint16_t error) override;
    void DoDataSent(std::uint16_t error) override;

    virtual void DoSocksConnected(std::uint16_t error);
    virtual void DoSocksError(std::int32_t error, const std::string& msg);
    void DoSocksAuthState(TSocksAuthState state);

    // True while talking to the SOCKS server.
    bool SocksNegotiating() const { return socksState_ != kIdle; }

private:
    enum NegotiationState { kIdle, kWaitMethod, kAuthenticating, kWaitConnect };

    // Fires OnSocksError, then OnSessionConnected with the error, then closes.
    void SocksError(int error, const std::string& msg);
    void SendBytes(const std::string& bytes);
    void SendAuthentication();
    void SendConnectRequest();
    // Each reads what came into the reply buffer and acts once it is complete.
    void MethodReply();
    void AuthenticationReply();
    void ConnectReply4();
    void ConnectReply5();
    // The negotiation succeeded: the application sees its connection and the bytes behind the
    // server's reply.
    void Connected(int replyLength);
    // Reads what the socket holds after the bytes kept; false when the read failed.
    bool ReadReply();

    std::string socksLevel_ = "5";
    std::string socksServer_, socksPort_;
    bool socksServerAssigned_ = false, socksPortAssigned_ = false;
    NegotiationState socksState_ = kIdle;
    bool usercodeOffered_ = false;
    std::uint16_t destPort_ = 0;
    std::uint32_t destAddr_ = 0;  // level 4: resolved here, network byte order
    std::string boundAddr_, boundPort_;
    // Room for the longest reply: a level 5 reply naming a host of 255 bytes is 262 long.
    std::array<unsigned char, 512> reply_{};
    int replyCount_ = 0;
    // Bytes that came behind the server's reply, served before the socket's.
    int heldPos_ = 0, heldCount_ = 0;
};

}  // namespace rv
