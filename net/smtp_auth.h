#pragma once

#include <string>
#include <string_view>

namespace rv {

// The message of AUTH PLAIN (RFC 4616): no authorization identity, so the server derives it
// from the user; then the user and the password, each after a NUL.
std::string PlainAuthMessage(std::string_view user, std::string_view password);

// The answer to a CRAM-MD5 challenge (RFC 2195): the user, a blank and the HMAC-MD5 of the
// challenge keyed with the password, in lower-case hexadecimal.
std::string CramMD5Answer(std::string_view challenge, std::string_view user,
                          std::string_view password);

}  // namespace rv
