#include "platform/registry/registry_text.h"

#include "platform/registry/key_path.h"
#include "platform/text/ascii_case.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

constexpr std::string_view kHive = "HKEY_CURRENT_USER";
constexpr std::string_view kHexDigits = "0123456789abcdef";
// Bytes with an escape of their own, and the letter that stands for each after the backslash.
constexpr std::string_view kEscapedBytes = "\"\\\n\r\t";
constexpr std::string_view kEscapeLetters = "\"\\nrt";

void AppendByteEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte >= 0x80) {
            const std::size_t start = pos;
            const std::string_view sequence = text.substr(start);
            if (DecodeUtf8(text, pos) != kReplacementChar || sequence.starts_with("\xEF\xBF\xBD")) {
                out.append(text.substr(start, pos - start));
            } else {
                for (std::size_t i = start; i < pos; ++i)
                    AppendByteEscape(out, static_cast<unsigned char>(text[i]));
            }
            continue;
        }
        ++pos;
        const auto shortEscape = kEscapedBytes.find(static_cast<char>(byte));
        if (shortEscape != std::string_view::npos) {
            out += '\\';
            out += kEscapeLetters[shortEscape];
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendByteEscape(out, byte);
        } else {
            out += static_cast<char>(byte);
        }
    }
    out += '"';
}

void WriteKey(std::string& out, const RegistryKey& key, const std::string& header, bool isRoot) {
    // A key without values shows only when nothing below it shows it already.
    if (!key.Values().empty() || (!isRoot && key.SubKeys().empty())) {
        out += "\n[" + header + "]\n";
        for (const auto& value : key.Values()) {
            AppendQuoted(out, value.name);
            out += '=';
            AppendQuoted(out, value.data);
            out += '\n';
        }
    }
    for (const auto& sub : key.SubKeys()) WriteKey(out, *sub, header + '\\' + sub->Name(), false);
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one quoted text at `pos` of `line` into `out`, at most `limit` bytes once unescaped.
bool ReadQuoted(std::string_view line, std::size_t& pos, std::size_t limit, std::string& out,
                std::string& error) {
    if (pos >= line.size() || line[pos] != '"') return error = "a quoted text expected", false;
    ++pos;
    out.clear();
    while (true) {
        if (pos >= line.size()) return error = "a closing quote is missing", false;
        const char c = line[pos++];
        if (c == '"') return true;
        if (out.size() >= limit) return error = "a name or value is too long", false;
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return error = "a control character is not escaped", false;
        if (c != '\\') {
            out += c;
            continue;
        }
        const char e = pos < line.size() ? line[pos++] : '\0';
        const auto shortEscape = e ? kEscapeLetters.find(e) : std::string_view::npos;
        if (shortEscape != std::string_view::npos) {
            out += kEscapedBytes[shortEscape];
            continue;
        }
        if (e != 'x') return error = "an unknown escape", false;
        const int hi = pos < line.size() ? HexValue(line[pos]) : -1;
        const int lo = pos + 1 < line.size() ? HexValue(line[pos + 1]) : -1;
        if (hi < 0 || lo < 0) return error = "\\x needs two hexadecimal digits", false;
        out += static_cast<char>(hi * 16 + lo);
        pos += 2;
    }
}

bool ReadHeader(std::string_view line, RegistryKey& root, RegistryKey*& key, std::string& error) {
    if (line.size() < 2 || line.back() != ']') return error = "a header must end with ]", false;
    std::string_view inner = line.substr(1, line.size() - 2);
    const std::string_view hive = inner.substr(0, inner.find('\\'));
    if (!SameText(hive, kHive)) return error = "a header must start with HKEY_CURRENT_USER", false;
    inner.remove_prefix(hive.size());
    KeyPath path;
    if (!ResolveKeyPath(inner, {}, path))
        return error = "a key path is malformed or too deep", false;
    key = &root.Create(path);
    return true;
}

bool ReadValueLine(std::string_view line, RegistryKey* key, std::string& error) {
    if (!key) return error = "a value comes before the first header", false;
    std::size_t pos = 0;
    std::string name, data;
    if (!ReadQuoted(line, pos, kMaxValueNameBytes, name, error)) return false;
    if (pos >= line.size() || line[pos++] != '=') return error = "= expected after a name", false;
    if (!ReadQuoted(line, pos, kMaxValueBytes, data, error)) return false;
    if (pos != line.size()) return error = "text after a value", false;
    key->SetValue(name, std::move(data));
    return true;
}

}  // namespace

std::string WriteRegistryText(const RegistryKey& root) {
    std::string out = "; Settings of Lorvix Reelvault for the current user, kept by the program.\n";
    WriteKey(out, root, std::string(kHive), true);
    return out;
}

bool ReadRegistryText(std::string_view text, RegistryKey& root, std::string& error) {
    if (text.size() > kMaxSettingsFileBytes) return error = "the file is too large", false;
    // Bytes that are not UTF-8 are written escaped, never as they are.
    if (!IsValidUtf8(text)) return error = "the file is not UTF-8 text", false;
    RegistryKey* key = nullptr;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';') continue;
        std::string reason;
        const bool ok = line.front() == '[' ? ReadHeader(line, root, key, reason)
                                            : ReadValueLine(line, key, reason);
        if (!ok) {
            error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
    }
    return true;
}

}  // namespace rv
