#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/exception.h"
#include "platform/components/component.h"
#include "platform/messages/messages.h"

namespace rv {

// Misuse of the SMTP client: a request while another runs or without a connection, nothing to
// send, a value that would break a command or header line apart.
class SmtpException : public Exception {
public:
    using Exception::Exception;
};

enum TSmtpState {
    smtpReady,
    smtpDnsLookup,
    smtpConnecting,
    smtpConnected,
    smtpInternalReady,
    smtpWaitingBanner,
    smtpWaitingResponse,
    smtpAbort
};

enum TSmtpContentType { smtpHTML, smtpPlainText };

enum TSmtpAuthType { smtpAuthNone, smtpAuthPlain, smtpAuthLogin, smtpAuthCramMD5 };

// The request that OnRequestDone reports.
enum TSmtpRequest {
    srConnect,
    srHelo,
    srMailFrom,
    srVrfy,
    srRcptTo,
    srData,
    srQuit,
    srRset,
    srOpen,
    srMail,
    srEhlo,
    srAuth
};

using TSmtpDisplay = std::function<void(TObject* sender, const std::string& msg)>;
// Asks for body line `lineNum` (from 1) into `msgLine`; `more` false (as it comes in) ends the
// body. A line longer than `maxLen` characters, which SMTP cannot carry, ends the request with
// error 500 and drops the connection, so that the server keeps nothing of the message.
using TSmtpGetDataEvent = std::function<void(
    TObject* sender, std::int32_t lineNum, std::string& msgLine, std::int32_t maxLen, bool& more)>;
// A header line about to be sent, which the handler may rewrite, each line at most `size`
// characters as above; lines joined by CR LF in it go out as several lines.
using TSmtpHeaderLineEvent =
    std::function<void(TObject* sender, std::string& msg, std::int32_t size)>;
using TSmtpProcessHeaderEvent =
    std::function<void(TObject* sender, std::vector<std::string>& hdrLines)>;
using TSmtpRequestDone =
    std::function<void(TObject* sender, TSmtpRequest rqType, std::uint16_t error)>;
using TSmtpSessionEvent = std::function<void(TObject* sender, std::uint16_t error)>;
using TSmtpAttachmentContentType = std::function<void(
    TObject* sender, std::int32_t fileNumber, std::string& fileName, std::string& contentType)>;
using TSmtpAttachHeader =
    std::function<void(TObject* sender, std::int32_t fileNumber, const std::string& fileName,
                       std::vector<std::string>& hdrLines)>;

// The private message of the client's hidden window: a request is done (WParam its type,
// LParam its error).
inline constexpr UINT WM_SMTP_REQUEST_DONE = WM_USER + 1;

}  // namespace rv
