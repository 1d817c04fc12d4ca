#include "platform/registry/ini_text.h"

#include "platform/registry/settings_lines.h"

namespace rv {

namespace {

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
    // The reader passes over a mark at the very start, as an editor's; a first line that begins
    // with one of its own keeps it behind a further mark.
    if (out.starts_with(kByteOrderMark)) out.insert(0, kByteOrderMark);
    return out;
}

bool ReadIniText(std::string_view text, RegistryKey& root, std::string& error) {
    ReadState state;
    return ReadSettingsLines(
        text,
        [&](std::string_view line, std::string& reason) {
            bool header = false;
            if (!ReadHeader(line, root, state, reason, header)) return false;
            if (header) return true;
            const std::size_t equals = line.find('=');
            const std::string_view name = equals == std::string_view::npos
                                              ? std::string_view()
                                              : TrimBlanks(line.substr(0, equals));
            // Comments, and a name given again (the first counts), are kept as lines.
            const bool value = state.section && !name.empty() && !line.starts_with(';') &&
                               !state.section->FindValue(name);
            return value ? Add(*state.section, name, TrimBlanks(line.substr(equals + 1)), state,
                               reason)
                         : Keep(root, line, state, reason);
        },
        error);
}

}  // namespace rv
