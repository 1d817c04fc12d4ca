#pragma once

#include <string>
#include <vector>

#include "platform/framework/combo_box.h"
#include "platform/framework/edit.h"
#include "platform/framework/form.h"
#include "platform/framework/label.h"
#include "widgets/lb_button.h"

namespace rv {

// The frame the entry dialogs share: a fixed dialog border, centred on the main window, with the
// owner-drawn buttons "OK" (default, result OK) and "Cancel" (cancel, result Cancel) at the
// bottom right of a client area of the given size.
class TEntryDialog : public TForm {
public:
    TEntryDialog(const std::string& caption, int clientWidth, int clientHeight);
    std::string ClassName() const override { return "TEntryDialog"; }

    TLbButton* bOK;
    TLbButton* bCancel;

    // Shows the dialog modally: true when it closed with OK.
    bool Execute();

    // OK with a required field empty (blanks alone count as empty) is refused: a warning says
    // what is missing and the keys go into that field.
    bool CloseQuery() override;

protected:
    // A field that OK does not take empty, and what the warning then says.
    void Require(TEdit* field, std::string message);
    // The fields of the dialog in rows: each row is a label at the left and the top of its
    // field, returned; the first row starts at `top`.
    void StartRows(int top) { rowTop_ = top; }
    int AddRow(const std::string& caption);
    TLabel* AddLabel(int x, int y, const std::string& caption);
    TEdit* AddEdit(const char* name, int x, int y, int width);
    TComboBox* AddList(const char* name, int x, int y, int width, TComboBoxStyle style,
                       const std::vector<std::string>& items);

private:
    struct TRequiredField {
        TEdit* Field;
        std::string Message;
    };
    int rowTop_ = 8;
    std::vector<TRequiredField> required_;
};

// A text as the dialogs store it: blanks and control characters gone from both ends, at most
// 255 characters.
std::string EntryText(const std::string& typed);

}  // namespace rv
