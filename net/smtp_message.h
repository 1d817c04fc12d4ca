#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/dirs/date_time.h"

namespace rv {

// The longest line of a message, without its CR LF, that SMTP carries (RFC 5321, 4.5.3.1.6).
inline constexpr std::size_t kSmtpMaxLineLength = 998;

// A mail address for MAIL FROM and RCPT TO: trimmed, and put between "<" and ">" unless it
// holds both already.
std::string SmtpPath(std::string_view address);

// The local time for a "Date" field: "Tue, 1 Jul 2025 16:00:00 +0300"; the zone "-0000" when
// it is not known.
std::string Rfc822Date(const LocalClock& clock);

// Adds a line of the message to `out` as it goes over the wire: a line break inside it (CR LF,
// or CR or LF alone) starts another line, each line starting with "." gets a second "." in
// front, and each ends with CR LF. Raises SmtpException for a line longer than
// kSmtpMaxLineLength, so that no line is cut or broken by a server.
void AppendDataLine(std::string& out, std::string_view text);

// The longest line of the text when cut at its line breaks.
std::size_t LongestLine(std::string_view text);

// Raises SmtpException when the value holds CR or LF, which would end the line it goes into
// and start another one of the sender's making; `what` names the value in the message.
void CheckNoLineBreak(std::string_view what, std::string_view value);

// The text as a MIME quoted string: between double quotes, with "\" before a quote or "\".
std::string QuotedString(std::string_view text);

}  // namespace rv
