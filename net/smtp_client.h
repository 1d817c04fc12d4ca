#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "net/reply_buffer.h"
#include "net/smtp_types.h"
#include "net/wsocket.h"

namespace rv {

// A non-blocking SMTP client. Each command is one request that returns at once; Open (connect,
// then HELO, or EHLO and AUTH) and Mail (MAIL FROM, RCPT TO, DATA) chain several. A request ends
// with exactly one OnRequestDone, posted from the message loop: Error 0 when the server accepted,
// else the server's refusing code (its reply in ErrorMessage), a socket error number (10060 when
// the server let ReplyTimeout pass), 500 for a local refusal or a broken reply (LastResponse says
// why), 426 when a chained request was aborted, or 10004 when the connection was lost. Misuse
// raises SmtpException at once, before any event. The client may be freed from OnRequestDone, not
// from its other events.
class TCustomSmtpClient : public TComponent {
public:
    explicit TCustomSmtpClient(TComponent* owner);
    ~TCustomSmtpClient() override;

    std::string ClassName() const override { return "TCustomSmtpClient"; }

    std::string Host;
    std::string LocalAddr = "0.0.0.0";
    std::string Port = "smtp";
    // The name given with HELO and EHLO; empty: this machine's name.
    std::string SignOn;
    std::string Username, Password;
    TSmtpAuthType AuthType = smtpAuthNone;
    // The sender's address for MAIL FROM, and the recipients for RCPT TO.
    std::string FromName;
    std::vector<std::string> RcptName;
    // The body's lines (TSmtpCli sends them; here OnGetData gives the body).
    std::vector<std::string> MailMessage;
    std::string HdrFrom, HdrTo, HdrReplyTo, HdrReturnPath, HdrSubject, HdrSender;
    std::string CharSet = "iso-8859-1";
    TSmtpContentType ContentType = smtpPlainText;
    // True: the body brings its own header, none is written.
    bool OwnHeaders = false;
    // Milliseconds the server may take to greet (from the start of Connect), to answer each
    // command and to take each part of the message; then the connection is dropped and the
    // request ends with 10060. 0 or less: no limit.
    int ReplyTimeout = 60000;

    TSmtpState State() const { return state_; }
    // The first error reply of the request, and the last line from the server (or the reason of
    // a local refusal).
    const std::string& ErrorMessage() const { return errorMessage_; }
    const std::string& LastResponse() const { return lastResponse_; }
    bool Connected() const { return connected_; }
    // "text/plain" or "text/html".
    std::string ContentTypeText() const;

    // Every line shown as it goes ("> " sent, "< " received).
    TSmtpDisplay OnDisplay;
    // Each command line before it is sent.
    TSmtpDisplay OnCommand;
    // Each line received.
    TSmtpDisplay OnResponse;
    TSmtpGetDataEvent OnGetData;
    TSmtpHeaderLineEvent OnHeaderLine;
    // The header lines made, before they are sent: the handler may change them.
    TSmtpProcessHeaderEvent OnProcessHeader;
    TSmtpRequestDone OnRequestDone;
    // The server's greeting came; the connection ended.
    TSmtpSessionEvent OnSessionConnected;
    TSmtpSessionEvent OnSessionClosed;
    TNotifyEvent OnStateChange;

    // Connects to Host:Port and waits for the greeting.
    virtual void Connect();
    virtual void Helo();
    // Success allows Auth on this connection.
    virtual void Ehlo();
    // Logs in as Username with Password in the way AuthType names.
    virtual void Auth();
    // Asks the server about HdrTo.
    virtual void Vrfy();
    virtual void MailFrom();
    // Names each recipient; the request succeeds when the last is accepted, ErrorMessage keeping
    // the first refusal.
    virtual void RcptTo();
    // Sends the header and the body.
    virtual void Data();
    virtual void Quit();
    virtual void Rset();
    // Stops whatever runs and drops the connection.
    virtual void Abort();
    virtual void Open();
    virtual void Mail();

protected:
    virtual void DoDisplay(const std::string& msg);
    virtual void DoCommand(const std::string& msg);
    virtual void DoResponse(const std::string& msg);
    // Ends the request (or the step of a chained one) with `error`; only the first call counts.
    virtual void FinishRequest(std::uint16_t error);
    virtual void DoStateChange();
    virtual void DoGetData(std::int32_t lineNum, std::string& msgLine, std::int32_t maxLen,
                           bool& more);
    virtual void DoHeaderLine(std::string& msg, std::int32_t size);
    virtual void DoProcessHeader(std::vector<std::string>& hdrLines);
    virtual void DoSessionConnected(std::uint16_t error);
    virtual void DoSessionClosed(std::uint16_t error);
    virtual void SendCommandLine(const std::string& line);
    // Raises SmtpException for a header value or line that cannot be sent as it is.
    virtual void CheckMessage();

    void CheckReady() const;
    void CheckConnected() const;

private:
    // A step of a chained request; the bits of the step set.
    enum TSmtpFct : int {
        smtpFctNone = 0,
        smtpFctHelo = 1,
        smtpFctConnect = 2,
        smtpFctMailFrom = 3,
        smtpFctRcptTo = 4,
        smtpFctData = 5,
        smtpFctVrfy = 6,
        smtpFctQuit = 7,
        smtpFctRset = 8,
        smtpFctEhlo = 9,
        smtpFctAuth = 10
    };
    using TStepSet = std::uint16_t;
    static constexpr TStepSet Step(TSmtpFct fct) { return TStepSet(1u << fct); }
    using TFollowUp = void (TCustomSmtpClient::*)();

    void WndProc(TMessage& msg);
    void SetState(TSmtpState state);
    // Starts a request of one command (or of several the follow-ups send).
    void StartRequest(TSmtpRequest type);
    // Sends a command; the reply is accepted when its code is one of `okCodes`, and then
    // `followUp` runs (whatever the code), or the request ends with the reply's outcome.
    void ExecAsync(TSmtpRequest type, const std::string& command, std::vector<int> okCodes,
                   TFollowUp followUp = nullptr);
    // Ends the request with a reason of our own ("500 ...").
    void LocalRefusal(const std::string& text, std::uint16_t error = 500);
    // Ends the request with `text` and drops the connection: its replies can no longer be told
    // apart, or the message can no longer be sent whole.
    void ProtocolFailure(const std::string& text, std::uint16_t error = 500);
    // The server's time to answer starts now (again); it runs until the request ends.
    void StartReplyTimer();
    void StopReplyTimer();

    void SocketDnsLookupDone(std::uint16_t error);
    void SocketSessionConnected(std::uint16_t error);
    void SocketDataAvailable(std::uint16_t error);
    void SocketSessionClosed(std::uint16_t error);
    void SocketDataSent(std::uint16_t error);
    void HandleLine(const std::string& line);
    void ReplyReceived(const std::string& line);

    void EhloDone();
    void AuthLoginUser();
    void AuthLoginPassword();
    void AuthCramMD5Answer();
    void RcptToNext();

    // A line of the header the client writes, and the property its value comes from.
    struct THeaderField {
        const char* property;
        std::string line;
    };
    std::vector<THeaderField> HeaderFields() const;
    // The header lines with the date, as OnProcessHeader leaves them, and the empty line.
    std::vector<std::string> MakeHeader();
    void DataStart();
    void SendDataChunk();

    // Chained requests.
    void HighLevelAsync(TSmtpRequest type, TStepSet steps);
    void DoHighLevelAsync();

    static constexpr UINT_PTR kReplyTimer = 1;

    HWND handle_ = 0;
    std::unique_ptr<TWSocket> socket_;
    TReplyBuffer buffer_{4096};
    TSmtpState state_ = smtpReady;
    std::string errorMessage_, lastResponse_;
    bool connected_ = false;
    bool esmtpSupported_ = false;
    bool dropping_ = false;  // our own abort of the connection: its close ends no request

    TSmtpRequest requestType_ = srConnect;
    bool requestDone_ = true;
    std::uint16_t requestResult_ = 0;
    std::vector<int> okCodes_;
    TFollowUp followUp_ = nullptr;

    TStepSet fctSet_ = 0;
    TSmtpFct fctPrv_ = smtpFctNone;
    std::uint16_t highLevelResult_ = 0;
    bool highLevelFlag_ = false;

    int itemCount_ = 0;  // the recipient, or the header line, sent next
    std::vector<std::string> headerLines_;
    std::int32_t lineNum_ = 0;
    bool moreLines_ = false;
    bool sendingData_ = false;
};

}  // namespace rv
