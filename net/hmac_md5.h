#pragma once

#include <string_view>

#include "net/md5.h"

namespace rv {

// The keyed digest HMAC-MD5 of RFC 2104.
TMD5Digest HmacMD5(std::string_view key, std::string_view text);

}  // namespace rv
