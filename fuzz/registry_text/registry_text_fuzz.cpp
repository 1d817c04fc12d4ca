// Arbitrary bytes through the settings file reader. Nothing may crash or grow past the limits;
// every name read is found again by its own spelling; what the reader accepts, the writer writes
// as text the reader takes back as the same tree - the same keys, value names and values, spelt
// and ordered alike - and writes unchanged.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/registry/registry_text.h"

namespace {

void CheckLookups(const rv::RegistryKey& key) {
    for (const auto& value : key.Values())
        if (key.FindValue(value.name) != &value) std::abort();
    for (const auto& sub : key.SubKeys()) {
        if (key.Find(rv::KeyPath{sub->Name()}) != sub.get()) std::abort();
        CheckLookups(*sub);
    }
}

// Texts are compared whole, not folded: a name must come back with the spelling it was read with.
bool SameTree(const rv::RegistryKey& a, const rv::RegistryKey& b) {
    if (a.Name() != b.Name() || a.Values().size() != b.Values().size() ||
        a.SubKeys().size() != b.SubKeys().size())
        return false;
    for (std::size_t i = 0; i < a.Values().size(); ++i)
        if (a.Values()[i].name != b.Values()[i].name || a.Values()[i].data != b.Values()[i].data)
            return false;
    for (std::size_t i = 0; i < a.SubKeys().size(); ++i)
        if (!SameTree(*a.SubKeys()[i], *b.SubKeys()[i])) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    rv::RegistryKey root;
    std::string error;
    if (!rv::ReadRegistryText(bytes, root, error)) return 0;
    CheckLookups(root);
    const std::string text = rv::WriteRegistryText(root);
    // Names first spelt longer than later headers spell them come out longer; a text past the
    // size of a file is not written (RegistryFile::Update refuses it), so it need not read back.
    if (text.size() > rv::kMaxSettingsFileBytes) return 0;
    rv::RegistryKey again;
    if (!rv::ReadRegistryText(text, again, error)) std::abort();
    if (!SameTree(root, again)) std::abort();
    if (rv::WriteRegistryText(again) != text) std::abort();
    return 0;
}
