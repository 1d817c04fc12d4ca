#include "platform/windows/scripted_dialogs.h"

#include "platform/dirs/file_names.h"

namespace rv {

TScriptedDialogs::TScriptedDialogs() : replaced_(SetDialogService(this)) {}

TScriptedDialogs::~TScriptedDialogs() {
    SetDialogService(replaced_);
}

void TScriptedDialogs::AnswerButton(int id) {
    answers_.push_back({AnswerKind::Button, id, {}, 0});
}

void TScriptedDialogs::AnswerFiles(std::vector<std::string> files, int filterIndex) {
    answers_.push_back({AnswerKind::Files, 0, std::move(files), filterIndex});
}

void TScriptedDialogs::AnswerFolder(std::string folder) {
    answers_.push_back({AnswerKind::Folder, 0, {std::move(folder)}, 0});
}

void TScriptedDialogs::AnswerCancel() {
    answers_.push_back({AnswerKind::Cancel, 0, {}, 0});
}

std::vector<TDialogCall> TScriptedDialogs::CallsOf(TDialogKind kind) const {
    std::vector<TDialogCall> calls;
    for (const TDialogCall& call : Calls)
        if (call.Kind == kind) calls.push_back(call);
    return calls;
}

std::vector<std::string> TScriptedDialogs::Errors() const {
    std::vector<std::string> texts;
    for (const TDialogCall& call : CallsOf(TDialogKind::Message))
        if (call.Title == "Error") texts.push_back(call.Text);
    return texts;
}

TDialogCall& TScriptedDialogs::Record(TDialogKind kind, HWND owner, const std::string& title,
                                      const std::string& text) {
    TDialogCall call;
    call.Kind = kind;
    call.Owner = owner;
    call.Title = title;
    call.Text = text;
    Calls.push_back(call);
    return Calls.back();
}

bool TScriptedDialogs::Take(AnswerKind kind, Answer& answer) {
    if (answers_.empty()) return false;
    const Answer& next = answers_.front();
    if (next.Kind != kind && next.Kind != AnswerKind::Cancel) return false;
    answer = next;
    answers_.pop_front();
    Calls.back().Answered = true;
    return answer.Kind == kind;
}

bool TScriptedDialogs::FileDialog(TDialogKind kind, const TFileDialogRequest& request,
                                  TFileDialogResult& result) {
    TDialogCall& call = Record(kind, request.Owner, request.Title, request.FileName);
    call.Type = request.Options;
    call.Filter = request.Filter;
    call.FilterIndex = request.FilterIndex;
    call.InitialDir = request.InitialDir;
    call.DefaultExt = request.DefaultExt;
    Answer answer;
    if (!Take(AnswerKind::Files, answer) || answer.Files.empty()) return false;
    if (kind == TDialogKind::Save) answer.Files.resize(1);
    if (!request.DefaultExt.empty())
        for (std::string& file : answer.Files)
            if (ExtractFileExt(file).empty()) file += "." + request.DefaultExt;
    result.Files = answer.Files;
    result.FilterIndex = answer.FilterIndex > 0 ? answer.FilterIndex : request.FilterIndex;
    return true;
}

bool TScriptedDialogs::OpenFiles(const TFileDialogRequest& request, TFileDialogResult& result) {
    return FileDialog(TDialogKind::Open, request, result);
}

bool TScriptedDialogs::SaveFile(const TFileDialogRequest& request, TFileDialogResult& result) {
    return FileDialog(TDialogKind::Save, request, result);
}

bool TScriptedDialogs::SelectFolder(HWND owner, const std::string& caption, const std::string& root,
                                    std::string& folder) {
    Record(TDialogKind::Folder, owner, caption, root);
    Answer answer;
    if (!Take(AnswerKind::Folder, answer)) return false;
    folder = answer.Files.front();
    return true;
}

int TScriptedDialogs::MessageBox(HWND owner, const std::string& text, const std::string& caption,
                                 unsigned type) {
    Record(TDialogKind::Message, owner, caption, text).Type = type;
    std::vector<int> buttons = MessageBoxButtons(type);
    if (buttons == std::vector<int>{IDOK}) return IDOK;
    int cancelled = MessageBoxEscape(type) ? MessageBoxEscape(type) : buttons.back();
    Answer answer;
    if (!Take(AnswerKind::Button, answer)) return cancelled;
    for (int id : buttons)
        if (id == answer.Button) return id;
    Calls.back().Answered = false;  // no such button on this box
    return cancelled;
}

bool TScriptedDialogs::OpenDocument(HWND owner, const std::string& document,
                                    const std::string& workingDir) {
    Record(TDialogKind::Document, owner, {}, document).WorkingDir = workingDir;
    return true;
}

}  // namespace rv
