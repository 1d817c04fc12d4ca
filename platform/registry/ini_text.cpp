#include "platform/registry/ini_text.h"

#include "platform/registry/registry_text.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

std::string_view TrimBlanks(std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    return line;
}

// What one file has made so far, against the limits of a file.
struct ReadState {
    RegistryKey* section = nullptr;
    std::size_t keys = 0;
    std::size_t values = 0;
    std::size_t keptLines = 0;
};

bool Add(RegistryKey& key, std::string_view name, std::string_view data, ReadState& state,
         std::string& error) {
    if (name.size() > kMaxValueNameBytes || data.size() > kMaxValueBytes)
        return error = "a line is too long", false;
    if (key.SetValue(name, std::string(data)) && ++state.values > kMaxValuesPerFile)
        return error = "too many values", false;
    return true;
}

bool Keep(RegistryKey& root, std::string_view line, ReadState& state, std::string& error) {
    RegistryKey& key = state.section ? *state.section : root;
    std::string name = "=";
    name += std::to_string(++state.keptLines);
    return Add(key, name, line, state, error);
}

// "[name]" with a name: the section it starts; false for any other line.
bool ReadHeader(std::string_view line, RegistryKey& root, ReadState& state, std::string& error,
                bool& header) {
    header = false;
    if (!line.starts_with('[')) return true;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return true;
    const std::string_view name = TrimBlanks(line.substr(1, close - 1));
    if (name.empty()) return true;
    if (name.size() > kMaxValueNameBytes) return error = "a section name is too long", false;
    header = true;
    state.section = &root.Create({std::string(name)}, &state.keys);
    if (state.keys > kMaxKeysPerFile) return error = "too many sections", false;
    return true;
}

}  // namespace

std::string WriteIniText(const RegistryKey& root) {
    std::string out;
    auto write = [&out](const RegistryValue& value) {
        if (IsKeptIniLine(value.name)) {
            out += value.data;
        } else {
            out += value.name;
            out += '=';
            out += value.data;
        }
        out += '\n';
    };
    for (const auto& value : root.Values()) write(value);
    for (const auto& section : root.SubKeys()) {
        if (!out.empty()) out += '\n';
        out += '[';
        out += section->Name();
        out += "]\n";
        for (const auto& value : section->Values()) write(value);
    }
    return out;
}

bool ReadIniText(std::string_view text, RegistryKey& root, std::string& error) {
    if (text.size() > kMaxSettingsFileBytes) return error = "the file is too large", false;
    if (!IsValidUtf8(text)) return error = "the file is not UTF-8 text", false;
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    ReadState state;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        const std::string_view line = TrimBlanks(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        std::string reason;
        bool header = false;
        bool ok = ReadHeader(line, root, state, reason, header);
        if (ok && !header) {
            const std::size_t equals = line.find('=');
            const std::string_view name = equals == std::string_view::npos
                                              ? std::string_view()
                                              : TrimBlanks(line.substr(0, equals));
            // Comments, and a name given again (the first counts), are kept as lines.
            const bool value = state.section && !name.empty() && !line.starts_with(';') &&
                               !state.section->FindValue(name);
            ok = value
                     ? Add(*state.section, name, TrimBlanks(line.substr(equals + 1)), state, reason)
                     : Keep(root, line, state, reason);
        }
        if (!ok) {
            error = "line " + std::to_string(lineNumber) + ": " + reason;
            return false;
        }
    }
    return true;
}

}  // namespace rv
