#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/smtp_client.h"
#include "platform/files/read_only_file.h"

namespace rv {

// The SMTP client that sends MailMessage as the body and, when EmailFiles names any, the files
// as Base64 attachments of a multipart message.
class TSmtpCli : public TCustomSmtpClient {
public:
    using TCustomSmtpClient::TCustomSmtpClient;

    std::string ClassName() const override { return "TSmtpCli"; }

    // The files to attach. Setting trims the names and drops empty ones; a name of no file
    // raises SmtpException "File not found '<name>'" and leaves the list as it was.
    const std::vector<std::string>& EmailFiles() const { return emailFiles_; }
    void SetEmailFiles(const std::vector<std::string>& names);

    // Before each attachment: its number (from 0), its name and content type, which the handler
    // may change; then its header lines, which the handler may change too.
    TSmtpAttachmentContentType OnAttachContentType;
    TSmtpAttachHeader OnAttachHeader;

    void Data() override;

protected:
    void FinishRequest(std::uint16_t error) override;
    void DoGetData(std::int32_t lineNum, std::string& msgLine, std::int32_t maxLen,
                   bool& more) override;
    void DoHeaderLine(std::string& msg, std::int32_t size) override;
    void CheckMessage() override;
    virtual void DoAttachContentType(std::int32_t fileNumber, std::string& fileName,
                                     std::string& contentType);
    virtual void DoAttachHeader(std::int32_t fileNumber, const std::string& fileName,
                                std::vector<std::string>& hdrLines);

private:
    // The next 45 bytes of the open attachment as one 60-character Base64 line; false at its
    // end.
    bool ReadBase64Line(std::string& line);
    // Opens the next attachment and puts its header lines in the pending list.
    void StartAttachment();
    void CloseAttachment();

    std::vector<std::string> emailFiles_;
    std::vector<std::string> pending_;  // lines that go before anything else
    std::size_t pendingPos_ = 0;
    std::size_t attachIndex_ = 0;
    std::string boundary_;
    ReadOnlyFile file_;
    std::uint64_t fileOffset_ = 0;
    bool fileOpen_ = false;
    bool bodyPhase_ = false;
    std::int32_t bodyLine_ = 0;
};

}  // namespace rv
