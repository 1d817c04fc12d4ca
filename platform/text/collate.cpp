#include "platform/text/collate.h"

#include <cstring>
#include <string>

namespace rv {

namespace {

// strxfrm of the text followed by a separator and the raw bytes as the tie-breaker.
std::string Transform(std::string_view text) {
    const std::string src(text.substr(0, text.find('\0')));
    std::string key;
    key.resize(src.size() * 4 + 16);
    size_t need = strxfrm(key.data(), src.c_str(), key.size());
    if (need >= key.size()) {
        key.resize(need + 1);
        need = strxfrm(key.data(), src.c_str(), key.size());
    }
    key.resize(need);
    key.push_back('\0');
    key.append(text);
    return key;
}

}  // namespace

int CompareLocale(std::string_view a, std::string_view b) {
    const std::string x(a.substr(0, a.find('\0'))), y(b.substr(0, b.find('\0')));
    const int c = strcoll(x.c_str(), y.c_str());
    if (c != 0) return c < 0 ? -1 : 1;
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string LocaleSortKey(std::string_view text) {
    return Transform(text);
}

}  // namespace rv
