#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/windows/dialog_service.h"

namespace rv {

enum class TDialogKind { Open, Save, Folder, Message, Document };

// One dialog the program asked for, as the scripted service saw it.
struct TDialogCall {
    TDialogKind Kind = TDialogKind::Message;
    HWND Owner = 0;
    std::string Title;  // caption of the box or dialog
    // Message: its text; Open and Save: the proposed file name; Folder: the root; Document: the
    // document.
    std::string Text;
    unsigned Type = 0;  // Message: the box type; Open and Save: the options
    std::string Filter;
    int FilterIndex = 0;
    std::string InitialDir;
    std::string DefaultExt;
    std::string WorkingDir;  // Document
    bool Answered = false;   // an answer of the queue was used
};

// The dialog service of tests: it shows nothing, answers from a queue filled beforehand and
// records every call. It is in use while it lives and puts back the service it replaced.
//
// Each message box with more than an OK button, and each file or folder dialog, takes the next
// answer. When the next answer does not fit the dialog (files for a message box) or the queue is
// empty, the dialog is cancelled (IDCANCEL, or for a box without Cancel its last button), the
// call is left unanswered and the answer stays for the next dialog; so is a button the box does
// not have, which is used up. Boxes with OK alone (the error box among them) take no answer and
// return IDOK; documents are "opened" without an answer.
class TScriptedDialogs : public TDialogService {
public:
    TScriptedDialogs();
    ~TScriptedDialogs() override;
    TScriptedDialogs(const TScriptedDialogs&) = delete;
    TScriptedDialogs& operator=(const TScriptedDialogs&) = delete;

    // The next answers, in order.
    void AnswerButton(int id);
    // Open: the chosen files; Save: the first is the chosen name. The extension rule of the
    // real dialog applies: DefaultExt is added to a name without extension.
    void AnswerFiles(std::vector<std::string> files, int filterIndex = 0);
    void AnswerFolder(std::string folder);
    void AnswerCancel();
    // Answers not used yet.
    std::size_t Pending() const { return answers_.size(); }

    std::vector<TDialogCall> Calls;
    // The calls of one kind, and the message boxes titled "Error".
    std::vector<TDialogCall> CallsOf(TDialogKind kind) const;
    std::vector<std::string> Errors() const;

    bool OpenFiles(const TFileDialogRequest& request, TFileDialogResult& result) override;
    bool SaveFile(const TFileDialogRequest& request, TFileDialogResult& result) override;
    bool SelectFolder(HWND owner, const std::string& caption, const std::string& root,
                      std::string& folder) override;
    int MessageBox(HWND owner, const std::string& text, const std::string& caption,
                   unsigned type) override;
    bool OpenDocument(HWND owner, const std::string& document,
                      const std::string& workingDir) override;

private:
    enum class AnswerKind { Button, Files, Folder, Cancel };
    struct Answer {
        AnswerKind Kind;
        int Button = 0;
        std::vector<std::string> Files;
        int FilterIndex = 0;
    };
    TDialogCall& Record(TDialogKind kind, HWND owner, const std::string& title,
                        const std::string& text);
    // The next answer when it is of `kind` (or Cancel), recording whether it was used.
    bool Take(AnswerKind kind, Answer& answer);
    bool FileDialog(TDialogKind kind, const TFileDialogRequest& request, TFileDialogResult& result);

    std::deque<Answer> answers_;
    TDialogService* replaced_;
};

}  // namespace rv
