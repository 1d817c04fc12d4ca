#include "platform/registry/registry_text.h"

#include "platform/registry/key_path.h"
#include "platform/registry/settings_lines.h"
#include "platform/text/ascii_case.h"
#include "platform/text/hex_digits.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

// Bytes with an escape of their own, and the letter that stands for each after the backslash.
constexpr std::string_view kEscapedBytes = "\"\\\n\r\t";
constexpr std::string_view kEscapeLetters = "\"\\nrt";

void AppendByteEscape(std::string& out, unsigned char byte) {
    out += "\\x";
    AppendHexByte(out, byte);
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

// `header` is the key's header text; it is grown for each sub-key and cut back, so that a deep
// tree costs one header's length, not one per level.
void WriteKey(std::string& out, const RegistryKey& key, std::string& header, bool isRoot) {
    // A key without values shows only when nothing below it shows it already.
    if (!key.Values().empty() || (!isRoot && key.SubKeys().empty())) {
        out += "\n[";
        out += header;
        out += "]\n";
        for (const auto& value : key.Values()) {
            AppendQuoted(out, value.name);
            out += '=';
            AppendQuoted(out, value.data);
            out += '\n';
        }
    }
    const std::size_t length = header.size();
    for (const auto& sub : key.SubKeys()) {
        header += '\\';
        header += sub->Name();
        WriteKey(out, *sub, header, false);
        header.resize(length);
    }
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
        const int hi = pos < line.size() ? HexDigitValue(line[pos]) : -1;
        const int lo = pos + 1 < line.size() ? HexDigitValue(line[pos + 1]) : -1;
        if (hi < 0 || lo < 0) return error = "\\x needs two hexadecimal digits", false;
        out += static_cast<char>(hi * 16 + lo);
        pos += 2;
    }
}

// What one file has made so far, against the limits of a file.
struct ReadState {
    RegistryKey* key = nullptr;
    std::size_t keys = 0;
    std::size_t values = 0;
};

bool ReadHeader(std::string_view line, std::string_view expected, RegistryKey& root,
                ReadState& state, std::string& error) {
    if (line.size() < 2 || line.back() != ']') return error = "a header must end with ]", false;
    std::string_view inner = line.substr(1, line.size() - 2);
    const std::string_view hive = inner.substr(0, inner.find('\\'));
    if (!SameText(hive, expected)) {
        error = "a header must start with ";
        error += expected;
        return false;
    }
    inner.remove_prefix(hive.size());
    KeyPath path;
    if (!ResolveKeyPath(inner, {}, path))
        return error = "a key path is malformed or too deep", false;
    state.key = &root.Create(path, &state.keys);
    if (state.keys > kMaxKeysPerFile) return error = "too many keys", false;
    return true;
}

bool ReadValueLine(std::string_view line, ReadState& state, std::string& error) {
    if (!state.key) return error = "a value comes before the first header", false;
    std::size_t pos = 0;
    std::string name, data;
    if (!ReadQuoted(line, pos, kMaxValueNameBytes, name, error)) return false;
    while (pos < line.size() && IsLineBlank(line[pos])) ++pos;
    if (pos >= line.size() || line[pos++] != '=') return error = "= expected after a name", false;
    while (pos < line.size() && IsLineBlank(line[pos])) ++pos;
    if (!ReadQuoted(line, pos, kMaxValueBytes, data, error)) return false;
    if (pos != line.size()) return error = "text after a value", false;
    if (state.key->SetValue(name, std::move(data)) && ++state.values > kMaxValuesPerFile)
        return error = "too many values", false;
    return true;
}

}  // namespace

std::string WriteRegistryText(const RegistryKey& root, std::string_view hive) {
    std::string out = "; Settings of Lorvix Reelvault ";
    if (hive == "HKEY_CURRENT_USER") {
        out += "for the current user";
    } else {
        out += "in ";
        out += hive;
    }
    out += ", kept by the program.\n";
    std::string header(hive);
    WriteKey(out, root, header, true);
    return out;
}

bool ReadRegistryText(std::string_view text, RegistryKey& root, std::string& error,
                      std::string_view hive) {
    ReadState state;
    return ReadSettingsLines(
        text,
        [&](std::string_view line, std::string& reason) {
            if (line.front() == ';') return true;
            return line.front() == '[' ? ReadHeader(line, hive, root, state, reason)
                                       : ReadValueLine(line, state, reason);
        },
        error);
}

}  // namespace rv
