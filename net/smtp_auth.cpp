#include "net/smtp_auth.h"

#include "net/hmac_md5.h"

namespace rv {

std::string PlainAuthMessage(std::string_view user, std::string_view password) {
    std::string message(1, '\0');
    message += user;
    message += '\0';
    message += password;
    return message;
}

std::string CramMD5Answer(std::string_view challenge, std::string_view user,
                          std::string_view password) {
    return std::string(user) + " " + DigestToHex(HmacMD5(password, challenge));
}

}  // namespace rv
