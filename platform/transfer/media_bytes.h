#pragma once
// A format's bytes as the platform's clipboard keeps them and as the toolkit carries them under
// the format's media type: text without its terminating NUL, UTF-16 text as UTF-8, the HTML
// clipboard description around an HTML document taken off and put on; other formats unchanged.

#include <string>
#include <string_view>

#include "platform/transfer/ole_types.h"

namespace rv {

std::string ToMediaBytes(TClipFormat format, std::string_view bytes);
std::string FromMediaBytes(TClipFormat format, std::string_view bytes);

}  // namespace rv
