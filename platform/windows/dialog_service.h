#pragma once

#include <string>
#include <vector>

#include "platform/messages/messages.h"

namespace rv {

// The standard dialogs of the desktop: choosing files and folders, message boxes, and opening a
// document in the desktop's viewer. They are reached through one service, the toolkit's unless a
// program (or a test, with TScriptedDialogs) puts another in its place. GUI thread only.

// Message box types (buttons | icon | default button) and answers, with the platform's values.
inline constexpr unsigned MB_OK = 0x0;
inline constexpr unsigned MB_OKCANCEL = 0x1;
inline constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
inline constexpr unsigned MB_YESNOCANCEL = 0x3;
inline constexpr unsigned MB_YESNO = 0x4;
inline constexpr unsigned MB_RETRYCANCEL = 0x5;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONWARNING = 0x30;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned MB_ICONINFORMATION = 0x40;
inline constexpr unsigned MB_DEFBUTTON1 = 0x0;
inline constexpr unsigned MB_DEFBUTTON2 = 0x100;
inline constexpr unsigned MB_DEFBUTTON3 = 0x200;
inline constexpr unsigned MB_TYPEMASK = 0xF;
inline constexpr unsigned MB_ICONMASK = 0xF0;
inline constexpr unsigned MB_DEFMASK = 0xF00;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// The buttons of a message box type, in the order they are shown.
std::vector<int> MessageBoxButtons(unsigned type);
// The answer when the user closes the box without choosing: Cancel when there is a Cancel
// button, OK for a box with OK alone, otherwise 0 (the box cannot be closed that way).
int MessageBoxEscape(unsigned type);

// Options of the file dialogs, one bit each.
enum TOpenOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,  // saving over an existing file asks first
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofAllowMultiSelect = 1u << 6,
    ofPathMustExist = 1u << 8,
    ofFileMustExist = 1u << 9,
};
using TOpenOptions = unsigned;

// What a file dialog is asked. Filter is the text "description|patterns|description|patterns"
// with patterns separated by ";"; FilterIndex counts from 1. DefaultExt (no dot) is added to a
// chosen name that has no extension of its own.
struct TFileDialogRequest {
    HWND Owner = 0;
    std::string Title;
    std::string Filter;
    int FilterIndex = 1;
    std::string InitialDir;
    std::string FileName;  // proposed
    std::string DefaultExt;
    TOpenOptions Options = 0;
};

// What the user chose: the files (one unless multiple selection was allowed) and the filter.
struct TFileDialogResult {
    std::vector<std::string> Files;
    int FilterIndex = 1;
};

class TDialogService {
public:
    virtual ~TDialogService() = default;
    // False when the user cancelled.
    virtual bool OpenFiles(const TFileDialogRequest& request, TFileDialogResult& result) = 0;
    virtual bool SaveFile(const TFileDialogRequest& request, TFileDialogResult& result) = 0;
    // `root`: where browsing starts (empty: anywhere); the chosen folder has no trailing "/"
    // unless it is the root.
    virtual bool SelectFolder(HWND owner, const std::string& caption, const std::string& root,
                              std::string& folder) = 0;
    // The pressed button (IDOK ... IDNO). The text is shown as it is, never as markup.
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption,
                           unsigned type) = 0;
    // Opens a file (a relative name counts from `workingDir`) or a link such as "mailto:" or
    // "https:" in the program the desktop chose for it; false when that failed.
    virtual bool OpenDocument(HWND owner, const std::string& document,
                              const std::string& workingDir) = 0;
};

// The service in use.
TDialogService& Dialogs();
// Puts `service` in place (nullptr: the toolkit's own) and returns the one it replaced
// (nullptr for the toolkit's).
TDialogService* SetDialogService(TDialogService* service);

// Shortcuts to the service in use.
int MessageBox(HWND owner, const std::string& text, const std::string& caption, unsigned type);
bool SelectDirectory(const std::string& caption, const std::string& root, std::string& folder);
bool OpenDocument(const std::string& document, const std::string& workingDir = {});

// A dialog filter in parts: description and patterns ("*.mp3") per entry. A description
// without patterns gets none.
struct TFilterEntry {
    std::string Description;
    std::vector<std::string> Patterns;
};
std::vector<TFilterEntry> SplitFilter(const std::string& filter);

}  // namespace rv
