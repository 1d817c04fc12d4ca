// Arbitrary bytes through the INI file reader. Nothing may crash or grow past the limits; what
// the reader accepts, the writer writes as text the reader accepts again and writes unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    rv::RegistryKey root;
    std::string error;
    if (!rv::ReadIniText(bytes, root, error)) return 0;
    const std::string text = rv::WriteIniText(root);
    rv::RegistryKey again;
    if (!rv::ReadIniText(text, again, error)) std::abort();
    if (rv::WriteIniText(again) != text) std::abort();
    return 0;
}
