// The SMTP client's commands: one request each.

#include "net/smtp_auth.h"
#include "net/smtp_client.h"
#include "net/smtp_message.h"
#include "net/wsocket_resolve.h"
#include "platform/text/base64.h"

namespace rv {

namespace {

std::string SignOnName(const std::string& signOn) {
    return signOn.empty() ? LocalHostName() : signOn;
}

}  // namespace

void TCustomSmtpClient::Helo() {
    CheckReady();
    CheckConnected();
    CheckNoLineBreak("SignOn", SignOn);
    StartRequest(srHelo);
    ExecAsync(srHelo, "HELO " + SignOnName(SignOn), {250});
}

void TCustomSmtpClient::Ehlo() {
    CheckReady();
    CheckConnected();
    CheckNoLineBreak("SignOn", SignOn);
    StartRequest(srEhlo);
    ExecAsync(srEhlo, "EHLO " + SignOnName(SignOn), {250}, &TCustomSmtpClient::EhloDone);
}

void TCustomSmtpClient::EhloDone() {
    if (requestResult_ == 0) esmtpSupported_ = true;
    FinishRequest(requestResult_);
}

void TCustomSmtpClient::Auth() {
    CheckReady();
    CheckConnected();
    StartRequest(srAuth);
    requestDone_ = false;
    if (!esmtpSupported_) {
        LocalRefusal("500 ESMTP not supported.");
        return;
    }
    switch (AuthType) {
        case smtpAuthPlain:
            ExecAsync(srAuth, "AUTH PLAIN " + Base64Encode(PlainAuthMessage(Username, Password)),
                      {235});
            break;
        case smtpAuthLogin:
            ExecAsync(srAuth, "AUTH LOGIN", {334}, &TCustomSmtpClient::AuthLoginUser);
            break;
        case smtpAuthCramMD5:
            ExecAsync(srAuth, "AUTH CRAM-MD5", {334}, &TCustomSmtpClient::AuthCramMD5Answer);
            break;
        default:
            LocalRefusal("500 No Authorization Type Selected.");
    }
}

void TCustomSmtpClient::AuthLoginUser() {
    if (requestResult_ != 0) {
        FinishRequest(requestResult_);
        return;
    }
    ExecAsync(srAuth, Base64Encode(Username), {334}, &TCustomSmtpClient::AuthLoginPassword);
}

void TCustomSmtpClient::AuthLoginPassword() {
    if (requestResult_ != 0) {
        FinishRequest(requestResult_);
        return;
    }
    ExecAsync(srAuth, Base64Encode(Password), {235});
}

void TCustomSmtpClient::AuthCramMD5Answer() {
    if (requestResult_ != 0) {
        FinishRequest(requestResult_);
        return;
    }
    std::string challenge;
    if (lastResponse_.size() < 5 ||
        Base64DecodeTo(std::string_view(lastResponse_).substr(4), challenge) != Base64Fault::None) {
        // The server waits for an answer still and would take our next command for it: the
        // exchange ends with the connection.
        ProtocolFailure("500 Malformed MD5 Challege: " + lastResponse_);
        return;
    }
    ExecAsync(srAuth, Base64Encode(CramMD5Answer(challenge, Username, Password)), {235});
}

void TCustomSmtpClient::Vrfy() {
    CheckReady();
    CheckConnected();
    CheckNoLineBreak("HdrTo", HdrTo);
    StartRequest(srVrfy);
    ExecAsync(srVrfy, "VRFY " + HdrTo, {250});
}

void TCustomSmtpClient::MailFrom() {
    CheckReady();
    CheckConnected();
    CheckNoLineBreak("FromName", FromName);
    StartRequest(srMailFrom);
    ExecAsync(srMailFrom, "MAIL FROM:" + SmtpPath(FromName), {250});
}

void TCustomSmtpClient::RcptTo() {
    CheckReady();
    CheckConnected();
    if (RcptName.empty()) throw SmtpException("RcptName list is empty");
    for (const std::string& name : RcptName) CheckNoLineBreak("RcptName", name);
    StartRequest(srRcptTo);
    itemCount_ = -1;
    RcptToNext();
}

void TCustomSmtpClient::RcptToNext() {
    // Every recipient is named whatever the server said of the one before.
    if (itemCount_ >= 0) SetState(smtpInternalReady);
    if (++itemCount_ >= static_cast<int>(RcptName.size())) {  // the list shrank meanwhile
        FinishRequest(requestResult_);
        return;
    }
    const bool last = itemCount_ + 1 >= static_cast<int>(RcptName.size());
    ExecAsync(srRcptTo, "RCPT TO:" + SmtpPath(RcptName[static_cast<std::size_t>(itemCount_)]),
              {250, 251}, last ? nullptr : &TCustomSmtpClient::RcptToNext);
}

void TCustomSmtpClient::Quit() {
    CheckReady();
    StartRequest(srQuit);
    if (!connected_) {
        requestDone_ = false;
        FinishRequest(0);
        return;
    }
    ExecAsync(srQuit, "QUIT", {221});
}

void TCustomSmtpClient::Rset() {
    CheckReady();
    CheckConnected();
    StartRequest(srRset);
    ExecAsync(srRset, "RSET", {250});
}

}  // namespace rv
