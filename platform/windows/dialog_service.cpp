#include "platform/windows/dialog_service.h"

#include "platform/windows/internal/toolkit_dialogs.h"

namespace rv {

namespace {

TDialogService* g_service = nullptr;  // nullptr: the toolkit's

}  // namespace

TDialogService& Dialogs() {
    return g_service ? *g_service : ToolkitDialogs();
}

TDialogService* SetDialogService(TDialogService* service) {
    TDialogService* previous = g_service;
    g_service = service;
    return previous;
}

int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type) {
    return Dialogs().MessageBox(owner, text, caption, type);
}

bool SelectDirectory(const std::string& caption, const std::string& root, std::string& folder) {
    return Dialogs().SelectFolder(0, caption, root, folder);
}

bool OpenDocument(const std::string& document, const std::string& workingDir) {
    return Dialogs().OpenDocument(0, document, workingDir);
}

std::vector<int> MessageBoxButtons(unsigned type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

int MessageBoxEscape(unsigned type) {
    std::vector<int> buttons = MessageBoxButtons(type);
    for (int id : buttons)
        if (id == IDCANCEL) return IDCANCEL;
    return buttons == std::vector<int>{IDOK} ? IDOK : 0;
}

std::vector<TFilterEntry> SplitFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= filter.size()) {
        std::size_t bar = filter.find('|', start);
        if (bar == std::string::npos) bar = filter.size();
        parts.push_back(filter.substr(start, bar - start));
        start = bar + 1;
    }
    std::vector<TFilterEntry> entries;
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        if (i + 1 == parts.size() && parts[i].empty()) break;  // a trailing bar
        TFilterEntry entry{parts[i], {}};
        if (i + 1 < parts.size()) {
            const std::string& patterns = parts[i + 1];
            std::size_t from = 0;
            while (from <= patterns.size()) {
                std::size_t semicolon = patterns.find(';', from);
                if (semicolon == std::string::npos) semicolon = patterns.size();
                std::string pattern = patterns.substr(from, semicolon - from);
                while (!pattern.empty() && pattern.front() == ' ') pattern.erase(0, 1);
                while (!pattern.empty() && pattern.back() == ' ') pattern.pop_back();
                if (!pattern.empty()) entry.Patterns.push_back(pattern);
                from = semicolon + 1;
            }
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace rv
