// Arbitrary bytes through the INI file reader. Nothing may crash or grow past the limits; what
// the reader accepts, the writer writes as text the reader takes back equal - the same sections,
// values and kept lines - and writes unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/ini_text.h"

namespace {

// The same text is written for a value and for a kept line of the same text, so the tree is
// compared as well: kept lines by their text, since their numbers follow the lines of the file.
std::string Content(const rv::RegistryKey& root) {
    std::string out;
    auto values = [&out](const rv::RegistryKey& key) {
        for (const auto& value : key.Values())
            out +=
                (rv::IsKeptIniLine(value.name) ? "-" : "+" + value.name + "=") + value.data + "\n";
    };
    values(root);
    for (const auto& section : root.SubKeys()) {
        out += "[" + section->Name() + "]\n";
        values(*section);
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    rv::RegistryKey root;
    std::string error;
    if (!rv::ReadIniText(bytes, root, error)) return 0;
    const std::string text = rv::WriteIniText(root);
    rv::RegistryKey again;
    if (!rv::ReadIniText(text, again, error)) std::abort();
    if (Content(again) != Content(root)) std::abort();
    if (rv::WriteIniText(again) != text) std::abort();
    return 0;
}
