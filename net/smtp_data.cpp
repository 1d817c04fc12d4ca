// The SMTP client's DATA: the header it writes and the message it sends, a chunk at a time.

#include "net/smtp_client.h"
#include "net/smtp_message.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

// Lines are gathered up to this many bytes before they go to the socket.
constexpr std::size_t kDataChunk = 8192;

}  // namespace

std::vector<TCustomSmtpClient::THeaderField> TCustomSmtpClient::HeaderFields() const {
    std::vector<THeaderField> fields;
    if (!Trim(HdrReplyTo).empty()) fields.push_back({"HdrReplyTo", "Reply-To: " + HdrReplyTo});
    if (!Trim(HdrReturnPath).empty())
        fields.push_back({"HdrReturnPath", "Return-Path: " + HdrReturnPath});
    fields.push_back({"HdrFrom", "From: " + HdrFrom});
    fields.push_back({"HdrTo", "To: " + HdrTo});
    fields.push_back({"HdrSubject", "Subject: " + HdrSubject});
    if (!Trim(HdrSender).empty())
        fields.push_back({"HdrSender", "Sender: " + HdrSender});
    else if (!Trim(HdrFrom).empty())
        fields.push_back({"HdrFrom", "Sender: " + HdrFrom});
    fields.push_back({"", "Mime-Version: 1.0"});
    fields.push_back(
        {"CharSet", "Content-Type: " + ContentTypeText() + "; charset=\"" + CharSet + "\""});
    return fields;
}

void TCustomSmtpClient::CheckMessage() {
    if (OwnHeaders) return;
    for (const THeaderField& field : HeaderFields()) {
        CheckNoLineBreak(field.property, field.line);
        if (field.line.size() > kSmtpMaxLineLength)
            throw SmtpException(std::string(field.property) + " is too long for a header line");
    }
}

std::vector<std::string> TCustomSmtpClient::MakeHeader() {
    std::vector<std::string> lines;
    for (THeaderField& field : HeaderFields()) lines.push_back(std::move(field.line));
    lines.push_back("Date: " + Rfc822Date(LocalClockNow()));
    DoProcessHeader(lines);
    lines.push_back("");
    return lines;
}

void TCustomSmtpClient::Data() {
    CheckReady();
    CheckConnected();
    CheckMessage();
    StartRequest(srData);
    lineNum_ = 0;
    moreLines_ = true;
    itemCount_ = 0;
    headerLines_.clear();
    if (!OwnHeaders) headerLines_ = MakeHeader();
    ExecAsync(srData, "DATA", {354}, &TCustomSmtpClient::DataStart);
}

void TCustomSmtpClient::DataStart() {
    if (requestResult_ != 0) {
        FinishRequest(requestResult_);
        return;
    }
    // Until the message has gone, what the server says is only shown.
    SetState(smtpInternalReady);
    sendingData_ = true;
    SendDataChunk();
}

void TCustomSmtpClient::SocketDataSent(std::uint16_t) {
    if (sendingData_) SendDataChunk();
}

void TCustomSmtpClient::SendDataChunk() {
    StartReplyTimer();  // for the server to take this chunk
    std::string chunk, line;
    while (sendingData_ && chunk.size() < kDataChunk) {
        if (itemCount_ < static_cast<int>(headerLines_.size())) {
            line = headerLines_[static_cast<std::size_t>(itemCount_++)];
            DoHeaderLine(line, static_cast<std::int32_t>(kSmtpMaxLineLength));
        } else if (moreLines_) {
            line.clear();
            DoGetData(++lineNum_, line, static_cast<std::int32_t>(kSmtpMaxLineLength), moreLines_);
            if (!moreLines_) break;
        } else {
            break;
        }
        DoDisplay("> " + line);
        AppendDataLine(chunk, line);
    }
    if (!sendingData_) return;  // the connection went meanwhile
    if (!chunk.empty()) socket_->SendStr(chunk);
    if (itemCount_ < static_cast<int>(headerLines_.size()) || moreLines_)
        return;  // the rest follows once this has been sent
    sendingData_ = false;
    ExecAsync(srData, ".", {250});
}

void TCustomSmtpClient::DoGetData(std::int32_t lineNum, std::string& msgLine, std::int32_t maxLen,
                                  bool& more) {
    if (OnGetData)
        OnGetData(this, lineNum, msgLine, maxLen, more);
    else
        more = false;
}

void TCustomSmtpClient::DoHeaderLine(std::string& msg, std::int32_t size) {
    if (OnHeaderLine) OnHeaderLine(this, msg, size);
}

void TCustomSmtpClient::DoProcessHeader(std::vector<std::string>& hdrLines) {
    if (OnProcessHeader) OnProcessHeader(this, hdrLines);
}

}  // namespace rv
