// Arbitrary bytes through the text conversions: nothing may crash, and the invariants hold.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/codepage.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string clean = rv::SanitizeUtf8(bytes);
    if (!rv::IsValidUtf8(clean)) std::abort();
    if (rv::Utf16ToUtf8(rv::Utf8ToUtf16(clean)) != clean) std::abort();
    if (rv::Utf8Length(rv::Text255(clean)) > rv::kText255) std::abort();
    for (auto page : {rv::CodePage::Windows1250, rv::CodePage::Windows1252}) {
        const std::string utf8 = rv::DecodeCodePage(page, bytes);
        if (rv::EncodeCodePage(page, utf8) != bytes) std::abort();
    }
    return 0;
}
