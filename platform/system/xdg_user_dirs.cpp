#include "platform/system/xdg_user_dirs.h"

#include "platform/files/read_only_file.h"
#include "platform/system/xdg_folders.h"

namespace rv {

namespace {

struct DirNames {
    std::string_view key;          // between "XDG_" and "_DIR"
    std::string_view defaultName;  // below the home folder
};

constexpr DirNames kDirs[] = {
    {"DESKTOP", "Desktop"},    {"DOWNLOAD", "Downloads"},  {"TEMPLATES", "Templates"},
    {"PUBLICSHARE", "Public"}, {"DOCUMENTS", "Documents"}, {"MUSIC", "Music"},
    {"PICTURES", "Pictures"},  {"VIDEOS", "Videos"},
};

// The file is a handful of lines; anything larger is not it.
constexpr std::uint64_t kMaxFileBytes = 64 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

void SkipBlanks(std::string_view& text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
}

bool Take(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) return false;
    text.remove_prefix(prefix.size());
    return true;
}

// One line's folder when it names `key`: false for any other line.
bool ReadLine(std::string_view line, std::string_view key, const std::string& home,
              std::string& folder) {
    SkipBlanks(line);
    if (!Take(line, "XDG_") || !Take(line, key) || !Take(line, "_DIR")) return false;
    SkipBlanks(line);
    if (!Take(line, "=")) return false;
    SkipBlanks(line);
    if (!Take(line, "\"")) return false;
    std::string path;
    if (Take(line, "$HOME")) {
        if (home.empty() || (!Take(line, "/") && !line.starts_with('"'))) return false;
        path = home;
    } else if (!line.starts_with('/')) {
        return false;
    }
    std::string rest;
    for (;;) {
        if (line.empty()) return false;  // no closing quote
        char c = line.front();
        line.remove_prefix(1);
        if (c == '"') break;
        if (c == '\\') {
            if (line.empty()) return false;
            c = line.front();
            line.remove_prefix(1);
        }
        rest += c;
    }
    if (!path.empty() && !rest.empty()) path += '/';
    folder = path + rest;
    return !folder.empty();
}

}  // namespace

std::string UserDirFromText(std::string_view text, TUserDir dir, const std::string& home) {
    const std::string_view key = kDirs[static_cast<int>(dir)].key;
    std::string folder;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        std::string found;
        if (ReadLine(line, key, home, found)) folder = found;
    }
    return folder;
}

std::string UserDirectory(TUserDir dir) {
    const std::string home = UserHomeFolder();
    const std::string config = UserConfigFolder();
    std::string text;
    ReadOnlyFile file;
    if (!config.empty() && file.Open(config + "/user-dirs.dirs") && file.Size() <= kMaxFileBytes) {
        text.resize(file.Size());
        if (!file.ReadExactAt(0, text.data(), text.size())) text.clear();
    }
    std::string folder = UserDirFromText(text, dir, home);
    if (!folder.empty() || home.empty()) return folder;
    return home + "/" + std::string(kDirs[static_cast<int>(dir)].defaultName);
}

}  // namespace rv
