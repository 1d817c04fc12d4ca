// The SMTP client's life: its requests, the connection, the replies and the chained requests.

#include "net/smtp_client.h"

#include <algorithm>

#include "net/smtp_message.h"
#include "net/smtp_reply.h"
#include "net/wsocket_errors.h"
#include "platform/messages/application.h"

namespace rv {

namespace {

// The replies of a connection whose socket failed: "500 <text> (Winsock error #<code>)".
std::string SocketFailureText(std::uint16_t error) {
    return "500 " + WSocketErrorDesc(error) + " (Winsock error #" + std::to_string(error) + ")";
}

}  // namespace

TCustomSmtpClient::TCustomSmtpClient(TComponent* owner) : TComponent(owner) {
    handle_ = AllocateHWnd([this](TMessage& msg) {
        try {
            WndProc(msg);
        } catch (const std::exception& e) {
            if (Application) Application->HandleException(e);
        }
    });
    socket_ = std::make_unique<TWSocket>(nullptr);
    socket_->OnDnsLookupDone = [this](TObject*, std::uint16_t e) { SocketDnsLookupDone(e); };
    socket_->OnSessionConnected = [this](TObject*, std::uint16_t e) { SocketSessionConnected(e); };
    socket_->OnDataAvailable = [this](TObject*, std::uint16_t e) { SocketDataAvailable(e); };
    socket_->OnSessionClosed = [this](TObject*, std::uint16_t e) { SocketSessionClosed(e); };
    socket_->OnDataSent = [this](TObject*, std::uint16_t e) { SocketDataSent(e); };
    // Whatever raises while a reply or the message is handled (a line too long to send, a
    // handler's exception) ends the request with its message.
    socket_->OnBgException = [this](TObject*, const std::exception& e, bool& canClose) {
        canClose = false;
        ProtocolFailure("500 " + std::string(e.what()));
    };
}

TCustomSmtpClient::~TCustomSmtpClient() {
    MarkDestroying();
    DeallocateHWnd(handle_);
    socket_.reset();
}

void TCustomSmtpClient::WndProc(TMessage& msg) {
    if (msg.Msg == WM_SMTP_REQUEST_DONE) {
        if (OnRequestDone)
            OnRequestDone(this, static_cast<TSmtpRequest>(msg.WParam),
                          static_cast<std::uint16_t>(msg.LParam));
        return;
    }
    if (msg.Msg == WM_TIMER && msg.WParam == kReplyTimer) {
        KillTimer(handle_, kReplyTimer);
        if (state_ != smtpReady) ProtocolFailure(SocketFailureText(WSAETIMEDOUT), WSAETIMEDOUT);
        return;
    }
    msg.Result = DefWindowProc(handle_, msg.Msg, msg.WParam, msg.LParam);
}

void TCustomSmtpClient::StartReplyTimer() {
    if (ReplyTimeout > 0) SetTimer(handle_, kReplyTimer, static_cast<UINT>(ReplyTimeout));
}

void TCustomSmtpClient::StopReplyTimer() {
    KillTimer(handle_, kReplyTimer);
}

std::string TCustomSmtpClient::ContentTypeText() const {
    return ContentType == smtpHTML ? "text/html" : "text/plain";
}

void TCustomSmtpClient::SetState(TSmtpState state) {
    if (state_ == state) return;
    state_ = state;
    DoStateChange();
}

void TCustomSmtpClient::CheckReady() const {
    if (state_ != smtpReady && state_ != smtpInternalReady)
        throw SmtpException("SMTP component not ready");
}

void TCustomSmtpClient::CheckConnected() const {
    if (!connected_) throw SmtpException("SMTP component not connected");
}

void TCustomSmtpClient::StartRequest(TSmtpRequest type) {
    if (highLevelFlag_) return;
    requestType_ = type;
    errorMessage_.clear();
}

void TCustomSmtpClient::ExecAsync(TSmtpRequest type, const std::string& command,
                                  std::vector<int> okCodes, TFollowUp followUp) {
    if (!highLevelFlag_) requestType_ = type;
    okCodes_ = std::move(okCodes);
    followUp_ = followUp;
    requestDone_ = false;
    SetState(smtpWaitingResponse);
    StartReplyTimer();
    SendCommandLine(command);
}

void TCustomSmtpClient::SendCommandLine(const std::string& line) {
    CheckNoLineBreak("A command", line);
    DoCommand(line);
    DoDisplay("> " + line);
    if (socket_->State() == wsConnected) socket_->SendStr(line + "\r\n");
}

void TCustomSmtpClient::FinishRequest(std::uint16_t error) {
    StopReplyTimer();
    if (requestDone_) return;
    requestDone_ = true;
    requestResult_ = error;
    if (highLevelFlag_ && fctPrv_ != smtpFctNone) {
        if (state_ != smtpAbort) SetState(smtpInternalReady);
        DoHighLevelAsync();
        return;
    }
    SetState(smtpReady);
    highLevelFlag_ = false;
    PostMessage(handle_, WM_SMTP_REQUEST_DONE, requestType_, error);
}

void TCustomSmtpClient::LocalRefusal(const std::string& text, std::uint16_t error) {
    lastResponse_ = text;
    if (errorMessage_.empty()) errorMessage_ = text;
    FinishRequest(error);
}

void TCustomSmtpClient::ProtocolFailure(const std::string& text, std::uint16_t error) {
    const bool running = state_ != smtpReady;
    StopReplyTimer();
    sendingData_ = false;
    buffer_.Clear();
    dropping_ = true;
    socket_->CancelDnsLookup();
    if (socket_->State() != wsClosed) socket_->AbortSocket();
    dropping_ = false;
    connected_ = false;
    if (!running) return;
    requestDone_ = false;  // also between two steps of a chained request
    LocalRefusal(text, error);
}

void TCustomSmtpClient::Connect() {
    CheckReady();
    if (connected_) throw SmtpException("SMTP component already connected");
    StartRequest(srConnect);
    requestDone_ = false;
    requestResult_ = 0;
    buffer_.Clear();
    esmtpSupported_ = false;
    SetState(smtpDnsLookup);
    StartReplyTimer();  // the look-up, the connection and the greeting
    try {
        socket_->DnsLookup(Host);  // a dotted address is answered before this returns
    } catch (const ESocketException& e) {
        StopReplyTimer();
        requestDone_ = true;
        SetState(smtpReady);
        throw SmtpException(e.what());
    }
}

void TCustomSmtpClient::SocketDnsLookupDone(std::uint16_t error) {
    if (dropping_ || (state_ != smtpDnsLookup && state_ != smtpAbort)) return;
    if (error != 0) {
        LocalRefusal(SocketFailureText(error), error);
        return;
    }
    SetState(smtpConnecting);
    try {
        socket_->SetAddr(socket_->DnsResult());
        socket_->SetLocalAddr(LocalAddr);
        socket_->SetProto("tcp");
        socket_->SetPort(Port);
        socket_->Connect();
    } catch (const std::exception& e) {
        ProtocolFailure("500 " + std::string(e.what()));
    }
}

void TCustomSmtpClient::SocketSessionConnected(std::uint16_t error) {
    if (error != 0) {
        connected_ = false;
        LocalRefusal(SocketFailureText(error), error);  // the socket closes by itself
        return;
    }
    connected_ = true;
    SetState(smtpWaitingBanner);
}

void TCustomSmtpClient::SocketSessionClosed(std::uint16_t error) {
    connected_ = false;
    sendingData_ = false;
    buffer_.Clear();
    DoSessionClosed(error);
    if (!dropping_) FinishRequest(WSAEINTR);
}

void TCustomSmtpClient::SocketDataAvailable(std::uint16_t) {
    char data[4096];
    const std::size_t room = std::min(sizeof data, buffer_.Room());
    const int n = socket_->Receive(data, static_cast<int>(room));
    if (n <= 0) return;
    buffer_.Append(std::string_view(data, static_cast<std::size_t>(n)));
    std::string line;
    std::string_view lineEnd;
    while (connected_ && buffer_.NextLine(line, lineEnd)) HandleLine(line);
    if (connected_ && buffer_.Room() == 0)
        ProtocolFailure("500 A reply line is longer than " + std::to_string(buffer_.Capacity()) +
                        " bytes");
}

void TCustomSmtpClient::HandleLine(const std::string& line) {
    lastResponse_ = line;
    DoResponse(line);
    if (state_ == smtpWaitingResponse) {
        ReplyReceived(line);
        return;
    }
    DoDisplay("< " + line);
    if (state_ != smtpWaitingBanner) return;
    const TSmtpStatus status = ParseSmtpStatus(line);
    if (status.continued) return;
    if (status.code != 220) {
        // Refused: the request ends as the connection closes.
        if (errorMessage_.empty()) errorMessage_ = line;
        socket_->Close();
        return;
    }
    SetState(smtpConnected);
    DoSessionConnected(0);
    FinishRequest(0);
}

void TCustomSmtpClient::ReplyReceived(const std::string& line) {
    DoDisplay("< " + line);
    const TSmtpStatus status = ParseSmtpStatus(line);
    if (status.continued) return;
    std::uint16_t result = 0;
    if (status.code == 0)
        result = 500;  // no status at all: never taken for an acceptance
    else if (std::find(okCodes_.begin(), okCodes_.end(), status.code) == okCodes_.end())
        result = static_cast<std::uint16_t>(status.code);
    if (result != 0 && errorMessage_.empty()) errorMessage_ = line;
    requestResult_ = result;
    if (followUp_) {
        const TFollowUp followUp = followUp_;
        followUp_ = nullptr;
        (this->*followUp)();
    } else {
        FinishRequest(result);
    }
}

void TCustomSmtpClient::Abort() {
    StopReplyTimer();
    SetState(smtpAbort);
    sendingData_ = false;
    socket_->CancelDnsLookup();
    socket_->AbortSocket();
    SetState(smtpReady);
}

void TCustomSmtpClient::Open() {
    CheckNoLineBreak("SignOn", SignOn);
    HighLevelAsync(srOpen, AuthType == smtpAuthNone
                               ? Step(smtpFctConnect) | Step(smtpFctHelo)
                               : Step(smtpFctConnect) | Step(smtpFctEhlo) | Step(smtpFctAuth));
}

void TCustomSmtpClient::Mail() {
    CheckReady();
    CheckNoLineBreak("FromName", FromName);
    if (RcptName.empty()) throw SmtpException("RcptName list is empty");
    for (const std::string& name : RcptName) CheckNoLineBreak("RcptName", name);
    CheckMessage();
    HighLevelAsync(srMail, Step(smtpFctMailFrom) | Step(smtpFctRcptTo) | Step(smtpFctData));
}

void TCustomSmtpClient::HighLevelAsync(TSmtpRequest type, TStepSet steps) {
    CheckReady();
    if (connected_ && (steps & Step(smtpFctConnect)))
        throw SmtpException("SMTP component already connected");
    requestType_ = type;
    requestResult_ = 0;
    requestDone_ = false;
    fctSet_ = steps;
    fctPrv_ = smtpFctNone;
    highLevelResult_ = 0;
    highLevelFlag_ = true;
    lastResponse_.clear();
    errorMessage_.clear();
    try {
        DoHighLevelAsync();
    } catch (...) {
        // The first step refused to start: nothing runs.
        fctSet_ = 0;
        fctPrv_ = smtpFctNone;
        highLevelFlag_ = false;
        requestDone_ = true;
        SetState(smtpReady);
        throw;
    }
}

void TCustomSmtpClient::DoHighLevelAsync() {
    if (state_ == smtpAbort) {
        fctSet_ = 0;
        highLevelResult_ = 426;
        errorMessage_ = "426 Operation aborted.";
    } else if (fctPrv_ != smtpFctNone && requestResult_ != 0) {
        if (fctPrv_ == smtpFctEhlo) {
            fctSet_ = Step(smtpFctHelo);  // an older server: greet it the old way, without AUTH
        } else {
            highLevelResult_ = requestResult_;
            const bool quit = (fctSet_ & Step(smtpFctQuit)) && fctPrv_ != smtpFctQuit;
            fctSet_ = quit ? Step(smtpFctQuit) : 0;
        }
    }
    static constexpr TSmtpFct kOrder[] = {smtpFctConnect, smtpFctHelo, smtpFctEhlo,
                                          smtpFctAuth,    smtpFctVrfy, smtpFctMailFrom,
                                          smtpFctRcptTo,  smtpFctData, smtpFctQuit};
    for (const TSmtpFct fct : kOrder) {
        if (!(fctSet_ & Step(fct))) continue;
        fctSet_ = static_cast<TStepSet>(fctSet_ & ~Step(fct));
        fctPrv_ = fct;
        switch (fct) {
            case smtpFctConnect:
                Connect();
                break;
            case smtpFctHelo:
                Helo();
                break;
            case smtpFctEhlo:
                Ehlo();
                break;
            case smtpFctAuth:
                Auth();
                break;
            case smtpFctVrfy:
                Vrfy();
                break;
            case smtpFctMailFrom:
                MailFrom();
                break;
            case smtpFctRcptTo:
                RcptTo();
                break;
            case smtpFctData:
                Data();
                break;
            default:
                Quit();
        }
        return;
    }
    fctSet_ = 0;
    fctPrv_ = smtpFctNone;
    requestDone_ = false;
    FinishRequest(highLevelResult_);
}

void TCustomSmtpClient::DoDisplay(const std::string& msg) {
    if (OnDisplay) OnDisplay(this, msg);
}

void TCustomSmtpClient::DoCommand(const std::string& msg) {
    if (OnCommand) OnCommand(this, msg);
}

void TCustomSmtpClient::DoResponse(const std::string& msg) {
    if (OnResponse) OnResponse(this, msg);
}

void TCustomSmtpClient::DoStateChange() {
    if (OnStateChange) OnStateChange(this);
}

void TCustomSmtpClient::DoSessionConnected(std::uint16_t error) {
    if (OnSessionConnected) OnSessionConnected(this, error);
}

void TCustomSmtpClient::DoSessionClosed(std::uint16_t error) {
    if (OnSessionClosed) OnSessionClosed(this, error);
}

}  // namespace rv
