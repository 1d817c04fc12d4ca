#include "platform/text/system_charset.h"

#include <iconv.h>
#include <cerrno>

#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

iconv_t Converter(void* cd) {
    return static_cast<iconv_t>(cd);
}

// A name as files write them: a letter, then letters, digits, ".", "_" and "-". Anything else
// would reach the converters' own syntax ("//TRANSLIT", ",").
bool IsEncodingName(std::string_view name) {
    return IsAsciiName(name, "._-");
}

// Runs `cd` over `in`, appending to `out`. Gives how many bytes of `in` were converted: all of
// them, or up to the first sequence the converter refused.
std::size_t Convert(iconv_t cd, std::string_view in, std::string& out) {
    char* from = const_cast<char*>(in.data());
    std::size_t fromLeft = in.size();
    std::size_t written = out.size();
    out.resize(written + in.size() * 2 + 16);
    for (;;) {
        char* to = out.data() + written;
        std::size_t toLeft = out.size() - written;
        const std::size_t result = iconv(cd, fromLeft ? &from : nullptr, &fromLeft, &to, &toLeft);
        written = static_cast<std::size_t>(to - out.data());
        if (result != static_cast<std::size_t>(-1) && fromLeft == 0) break;
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) break;
        out.resize(out.size() * 2 + 16);
    }
    out.resize(written);
    return in.size() - fromLeft;
}

}  // namespace

std::unique_ptr<SystemCharset> SystemCharset::Find(std::string_view name) {
    if (!IsEncodingName(name)) return nullptr;
    const std::string n(name);
    const iconv_t toUtf8 = iconv_open("UTF-8", n.c_str());
    if (toUtf8 == kNoConverter) return nullptr;
    const iconv_t fromUtf8 = iconv_open(n.c_str(), "UTF-8");
    if (fromUtf8 == kNoConverter) {
        iconv_close(toUtf8);
        return nullptr;
    }
    return std::unique_ptr<SystemCharset>(new SystemCharset(n, toUtf8, fromUtf8));
}

SystemCharset::SystemCharset(std::string name, void* toUtf8, void* fromUtf8)
    : name_(std::move(name)), toUtf8_(toUtf8), fromUtf8_(fromUtf8) {}

SystemCharset::~SystemCharset() {
    iconv_close(Converter(toUtf8_));
    iconv_close(Converter(fromUtf8_));
}

bool SystemCharset::Has(char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    std::uint8_t* known = nullptr;
    if (c <= 0xFFFF) {
        if (basic_.empty()) basic_.resize(0x10000);
        known = &basic_[c];
        if (*known) return *known == 1;
    } else if (const auto found = beyond_.find(c); found != beyond_.end()) {
        return found->second;
    }
    std::string utf8, bytes;
    AppendUtf8(utf8, c);
    const iconv_t cd = Converter(fromUtf8_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const bool has = Convert(cd, utf8, bytes) == utf8.size();
    if (known)
        *known = has ? 1 : 2;
    else
        beyond_[c] = has;
    return has;
}

SystemCharset::Decoded SystemCharset::ToUtf8(std::string_view bytes) {
    const iconv_t cd = Converter(toUtf8_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    Decoded decoded;
    const std::size_t converted = Convert(cd, bytes, decoded.text);
    if (converted < bytes.size()) decoded.badOffset = converted;
    return decoded;
}

SystemCharset::Encoder::Encoder(const SystemCharset& charset)
    : cd_(iconv_open(charset.Name().c_str(), "UTF-8")) {}

SystemCharset::Encoder::~Encoder() {
    if (Converter(cd_) != kNoConverter) iconv_close(Converter(cd_));
}

bool SystemCharset::Encoder::Append(std::string& out, std::string_view utf8) {
    if (Converter(cd_) == kNoConverter) return false;
    return Convert(Converter(cd_), utf8, out) == utf8.size();
}

void SystemCharset::Encoder::Finish(std::string& out) {
    if (Converter(cd_) != kNoConverter) Convert(Converter(cd_), {}, out);
}

}  // namespace rv
