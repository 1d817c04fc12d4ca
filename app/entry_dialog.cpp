#include "app/entry_dialog.h"

#include "app/dialog_buttons.h"
#include "app/question_boxes.h"
#include "platform/text/trim.h"
#include "platform/text/utf8.h"
#include "platform/windows/dialog_service.h"

namespace rv {

namespace {

constexpr int kMargin = 8;

}  // namespace

TEntryDialog::TEntryDialog(const std::string& caption, int clientWidth, int clientHeight)
    : TForm(nullptr) {
    SetCaption(caption);
    SetBorderStyle(bsDialog);
    Position = poMainFormCenter;
    SetClientSize(clientWidth, clientHeight);
    const int top = clientHeight - kDialogButtonHeight - kMargin;
    auto button = [&](const char* name, const char* text, int left, TModalResult result) {
        TLbButton* b = MakeDialogButton(this, this, name, text, left, top);
        b->SetModalResult(result);
        return b;
    };
    bCancel = button("bCancel", "Cancel", clientWidth - kMargin - kDialogButtonWidth, mrCancel);
    bOK = button("bOK", "OK", clientWidth - 2 * (kMargin + kDialogButtonWidth) + kMargin / 2, mrOk);
    bOK->Default = true;
    bCancel->Cancel = true;
}

bool TEntryDialog::Execute() {
    return ShowModal() == mrOk;
}

void TEntryDialog::Require(TEdit* field, std::string message) {
    required_.push_back({field, std::move(message)});
}

bool TEntryDialog::CloseQuery() {
    if (ModalResult == mrOk) {
        for (const TRequiredField& required : required_) {
            if (!EntryText(required.Field->Text()).empty()) continue;
            MessageBox(Handle(), required.Message, kWarningCaption, MB_OK | MB_ICONWARNING);
            if (required.Field->CanFocus()) required.Field->SetFocus();
            return false;
        }
    }
    return TForm::CloseQuery();
}

int TEntryDialog::AddRow(const std::string& caption) {
    AddLabel(8, rowTop_ + 3, caption);
    const int top = rowTop_;
    rowTop_ += 27;
    return top;
}

TLabel* TEntryDialog::AddLabel(int x, int y, const std::string& caption) {
    auto* label = new TLabel(this);
    label->SetParent(this);
    label->SetBounds(x, y, 0, 0);
    label->SetCaption(caption);
    return label;
}

TEdit* TEntryDialog::AddEdit(const char* name, int x, int y, int width) {
    auto* edit = new TEdit(this);
    edit->SetName(name);
    edit->SetParent(this);
    edit->SetBounds(x, y, width, 21);
    edit->SetTabStop(true);
    return edit;
}

TComboBox* TEntryDialog::AddList(const char* name, int x, int y, int width, TComboBoxStyle style,
                                 const std::vector<std::string>& items) {
    auto* list = new TComboBox(this);
    list->SetName(name);
    list->SetParent(this);
    list->SetBounds(x, y, width, 21);
    list->SetStyle(style);
    list->SetItems(items);
    list->SetTabStop(true);
    return list;
}

std::string EntryText(const std::string& typed) {
    return Text255(Trim(typed));
}

}  // namespace rv
