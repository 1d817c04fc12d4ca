#pragma once

#include <string>
#include <string_view>

namespace rv {

// UTF-8 bytes of tag text as UTF-16; unlike Utf8ToUtf16, a sequence that the end of the input
// cuts short ends the text. Characters past U+FFFF become surrogate pairs. A malformed sequence
// (a missing continuation byte, an overlong form, a surrogate or a value past U+10FFFF) becomes
// U+FFFD and decoding goes on with the byte that broke it, so one stray byte costs no
// neighbouring character.
std::u16string UTF8ToWideString(std::string_view utf8);

}  // namespace rv
