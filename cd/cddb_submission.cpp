// The CDDB client's submissions of database entries, by HTTP and by mail.

#include "cd/cddb.h"
#include "net/http_cli.h"
#include "net/smtp_cli.h"
#include "net/wsocket_errors.h"
#include "platform/text/codepage.h"

namespace rv {

namespace {

constexpr char kSent[] = "OK, submission has been sent.";

}  // namespace

std::optional<TCddbSubmission> TCddb::PrepareSubmission(const std::string& category) {
    TCddbSubmission submission{category, info_.DiscID, EmailUser,
                               SubmissionType == TSubmissionType::TEST ? "test" : "submit",
                               noteToUser_};
    const std::string broken = LineBreakIn(submission);
    if (broken.empty()) return submission;
    reader_.State = cddbSubmissionFailed;
    Status("The submission's " + broken + " holds a line break");
    return std::nullopt;
}

void TCddb::HTTPSubmit(const std::string& category, const std::vector<std::string>& entry) {
    const std::uint64_t serial = ++serial_;
    if (ServerType != TServerType::HTTP) {
        Fail("Selected server not an HTTP server");
        return;
    }
    const auto submission = PrepareSubmission(category);
    if (!submission) return;
    reader_.State = cddbSubmissionSent;
    // A request still running reads the body and header of its own; it makes this one fail.
    if (http_->State() == httpReady) {
        std::string body;
        for (const std::string& line : CddbEntryLines(entry)) body += line + "\r\n";
        sent_.str(body);
        sent_.clear();
        postHeader_ = CddbSubmitHeader(*submission);
    }
    SendRequest(serial, Request::Submission,
                "http://" + ServerAddr + ":" + ServerPort + CddbSubmitPath(ServerAdditionalAddr));
}

void TCddb::AddSubmissionHeader(std::string& line) {
    // Only a submission posts.
    if (http_->RequestType() == httpPOST && line.starts_with("Content-Length:")) {
        line += postHeader_;
    }
}

void TCddb::SMTPSubmit(const std::string& category, const std::vector<std::string>& entry) {
    const std::uint64_t serial = ++serial_;
    const auto submission = PrepareSubmission(category);
    if (!submission) return;
    reader_.State = cddbSubmissionSent;
    // A submission still being mailed keeps its message; the mail client refuses this one.
    if (smtp_->State() == smtpReady && !smtp_->Connected()) {
        const std::string to =
            SubmissionType == TSubmissionType::TEST ? EmailTestSubmit : EmailSubmit;
        smtp_->Host = MailServerAddress;
        smtp_->Port = MailServerPort;
        smtp_->FromName = EmailUser;
        smtp_->RcptName = {to};
        smtp_->HdrTo = to;
        smtp_->HdrFrom.clear();  // its line is written whole by MailHeaderLine
        smtp_->HdrSubject = EncodeCodePage(
            CodePage::Iso8859_1, "cddb " + submission->Category + " " + submission->DiscID);
        smtp_->MailMessage = CddbEntryLines(entry);
        mailHeader_ =
            EncodeCodePage(CodePage::Iso8859_1, "From: " + submission->EmailUser +
                                                    "\r\nX-Cddbd-Note: " + submission->Note);
    }
    const std::uint64_t earlier = mailSerial_;
    mailSerial_ = serial;
    if (!StartMailStep(MailStep::Connect)) mailSerial_ = earlier;  // may still be running
}

bool TCddb::StartMailStep(MailStep step) {
    try {
        switch (step) {
            case MailStep::Connect:
                smtp_->Connect();
                break;
            case MailStep::Helo:
                smtp_->Helo();
                break;
            case MailStep::Mail:
                smtp_->Mail();
                break;
            case MailStep::Quit:
                smtp_->Quit();
                break;
        }
    } catch (const std::exception& e) {
        // A refused Connect leaves whatever connection there is to the request it belongs to.
        if (step != MailStep::Connect) smtp_->Abort();
        if (mailSerial_ == serial_) MailFailed(step, e.what());
        return false;
    }
    mailStep_ = step;
    return true;
}

void TCddb::MailStepDone(std::uint16_t error) {
    const bool followed = mailSerial_ == serial_;
    if (mailStep_ == MailStep::Quit) {
        // The mail server took the message with its answer to the mail; a goodbye that fails
        // cannot take it back. The connection is dropped rather than left for the server to
        // close, so that the mail client is free for the next submission at once.
        smtp_->Abort();
        if (!followed) return;
        reader_.State = cddbSubmissionAccepted;
        Status(kSent);
        return;
    }
    if (error != 0) {
        std::string reason = smtp_->ErrorMessage();
        if (reason.empty())
            reason = error == WSAEINTR ? "Connection lost" : WSocketErrorDesc(error);
        smtp_->Abort();  // a message not wholly taken is dropped by the server
        if (followed) MailFailed(mailStep_, reason);
        return;
    }
    StartMailStep(static_cast<MailStep>(static_cast<int>(mailStep_) + 1));
}

void TCddb::MailFailed(MailStep step, const std::string& reason) {
    static constexpr const char* kStepName[] = {"Connect", "Helo", "Mail", "Quit"};
    reader_.State = cddbSubmissionFailed;
    Status(std::string(kCddbInternalError) + "TSmtpCli." +
           kStepName[static_cast<std::size_t>(step)] + " failed because of error \"" + reason +
           "\"");
}

void TCddb::MailHeaderLine(std::string& line) {
    if (line.starts_with("From:")) line = mailHeader_;
}

}  // namespace rv
