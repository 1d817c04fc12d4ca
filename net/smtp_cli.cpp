#include "net/smtp_cli.h"

#include "net/smtp_message.h"
#include "platform/dirs/file_facts.h"
#include "platform/text/ascii_case.h"
#include "platform/text/base64.h"
#include "platform/text/format.h"
#include "platform/text/trim.h"

namespace rv {

namespace {

// The bytes of a file that make one Base64 line of 60 characters.
constexpr std::size_t kAttachmentLineBytes = 45;

std::string NameWithoutPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void TSmtpCli::SetEmailFiles(const std::vector<std::string>& names) {
    std::vector<std::string> files;
    for (const std::string& name : names) {
        const std::string path = Trim(name);
        if (path.empty()) continue;
        FileFacts facts;
        if (!GetFileFacts(path, facts) || facts.Kind != FileKind::Regular)
            throw SmtpException("File not found '" + path + "'");
        CheckNoLineBreak("An attachment's name", NameWithoutPath(path));
        files.push_back(path);
    }
    emailFiles_ = std::move(files);
}

void TSmtpCli::CheckMessage() {
    TCustomSmtpClient::CheckMessage();
    for (std::size_t i = 0; i < MailMessage.size(); ++i)
        if (LongestLine(MailMessage[i]) > kSmtpMaxLineLength)
            throw SmtpException(Format("Line %zu of MailMessage is longer than %zu characters",
                                       i + 1, kSmtpMaxLineLength));
}

void TSmtpCli::Data() {
    // Nothing of a mail being sent may change before these hold.
    CheckReady();
    CheckConnected();
    CheckMessage();
    CloseAttachment();
    bodyPhase_ = true;
    bodyLine_ = 0;
    attachIndex_ = 0;
    pending_.clear();
    pendingPos_ = 0;
    boundary_.clear();
    if (!emailFiles_.empty()) {
        const LocalClock now = LocalClockNow();
        boundary_ = "= Multipart Boundary " + Format("%02d%02d%02d%02d%02d", now.Month, now.Day,
                                                     now.Year % 100, now.Hour, now.Minute);
        pending_ = {"This is a multipart MIME message.",
                    "",
                    "--" + boundary_,
                    "Content-Type: " + ContentTypeText() + "; charset=\"" + CharSet + "\"",
                    "Content-Transfer-Encoding: 7bit",
                    ""};
    }
    pending_.insert(pending_.end(), MailMessage.begin(), MailMessage.end());
    TCustomSmtpClient::Data();
}

void TSmtpCli::DoHeaderLine(std::string& msg, std::int32_t size) {
    if (!boundary_.empty() && SameText(std::string_view(msg).substr(0, 13), "CONTENT-TYPE:"))
        msg = "Content-Type: multipart/mixed;\r\n\tboundary=" + QuotedString(boundary_);
    TCustomSmtpClient::DoHeaderLine(msg, size);
}

void TSmtpCli::DoGetData(std::int32_t /*lineNum: the body keeps its own count*/,
                         std::string& msgLine, std::int32_t maxLen, bool& more) {
    more = true;
    if (pendingPos_ < pending_.size()) {
        msgLine = std::move(pending_[pendingPos_++]);
        if (pendingPos_ == pending_.size()) {
            pending_.clear();
            pendingPos_ = 0;
        }
        return;
    }
    if (bodyPhase_) {
        TCustomSmtpClient::DoGetData(++bodyLine_, msgLine, maxLen, more);
        if (more) return;
        bodyPhase_ = false;
        more = true;
    }
    msgLine.clear();
    if (fileOpen_) {
        if (ReadBase64Line(msgLine)) return;
        CloseAttachment();
        if (++attachIndex_ >= emailFiles_.size()) pending_ = {"", "--" + boundary_ + "--"};
        return;
    }
    if (attachIndex_ < emailFiles_.size()) {
        StartAttachment();
        return;
    }
    more = false;
}

void TSmtpCli::StartAttachment() {
    const std::string& path = emailFiles_[attachIndex_];
    if (!file_.Open(path)) throw SmtpException("File not found '" + path + "'");
    fileOpen_ = true;
    fileOffset_ = 0;
    const auto number = static_cast<std::int32_t>(attachIndex_);
    std::string fileName = NameWithoutPath(path);
    std::string contentType = "application/octet-stream";
    DoAttachContentType(number, fileName, contentType);
    CheckNoLineBreak("An attachment's name", fileName);
    CheckNoLineBreak("An attachment's content type", contentType);
    pending_ = {"--" + boundary_,
                "Content-Type: " + contentType + ";",
                "\tname=" + QuotedString(fileName),
                "Content-Transfer-Encoding: base64",
                "Content-Disposition: attachment;",
                "\tfilename=" + QuotedString(NameWithoutPath(path))};
    pendingPos_ = 0;
    DoAttachHeader(number, fileName, pending_);
    pending_.push_back("");
}

bool TSmtpCli::ReadBase64Line(std::string& line) {
    char bytes[kAttachmentLineBytes];
    const std::size_t n = file_.ReadAt(fileOffset_, bytes, sizeof bytes);
    // A short read before the end the file had when opened is a failure, not its end.
    if (n < sizeof bytes && fileOffset_ + n < file_.Size())
        throw SmtpException("Cannot read the attachment '" + emailFiles_[attachIndex_] + "'");
    if (n == 0) return false;
    fileOffset_ += n;
    line = Base64Encode(std::string_view(bytes, n));
    return true;
}

void TSmtpCli::CloseAttachment() {
    file_.Close();
    fileOpen_ = false;
}

void TSmtpCli::FinishRequest(std::uint16_t error) {
    CloseAttachment();
    TCustomSmtpClient::FinishRequest(error);
}

void TSmtpCli::DoAttachContentType(std::int32_t fileNumber, std::string& fileName,
                                   std::string& contentType) {
    if (OnAttachContentType) OnAttachContentType(this, fileNumber, fileName, contentType);
}

void TSmtpCli::DoAttachHeader(std::int32_t fileNumber, const std::string& fileName,
                              std::vector<std::string>& hdrLines) {
    if (OnAttachHeader) OnAttachHeader(this, fileNumber, fileName, hdrLines);
}

}  // namespace rv
