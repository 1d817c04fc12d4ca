#include "app/name_dialogs.h"

#include "platform/text/utf8.h"

namespace rv {

TNameDialog::TNameDialog(const char* name, const std::string& caption)
    : TEntryDialog(caption, 340, 73) {
    SetName(name);
    AddLabel(8, 11, "Name:");
    eName = AddEdit("eName", 60, 8, 272);
    SetActiveControl(eName);
}

namespace {

bool EditName(const char* name, const std::string& caption, std::string& text,
              const char* required = nullptr) {
    TNameDialog dialog(name, caption);
    if (required) dialog.RequireName(required);
    dialog.eName->SetText(text);
    if (!dialog.Execute()) return false;
    text = EntryText(dialog.eName->Text());
    return true;
}

}  // namespace

bool ExecuteArtistDlg(TArtist& artist) {
    return EditName("dlg_rv_Artist", "Artist Properties", artist.Name, "Enter the artist's name.");
}

bool ExecutePropsDlg(std::string& name, std::size_t maxLength) {
    if (!EditName("dlg_rv_Props", "Library Properties", name)) return false;
    name = CutToChars(name, maxLength);
    return true;
}

}  // namespace rv
