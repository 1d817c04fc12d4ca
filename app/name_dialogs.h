#pragma once

#include <cstddef>
#include <string>

#include "app/entry_dialog.h"
#include "medialib/records.h"

namespace rv {

// An editor of one name, "Name:": the artist's (Tdlg_rv_Artist), which may not be empty, or the
// library's (Tdlg_rv_Props).
class TNameDialog : public TEntryDialog {
public:
    TNameDialog(const char* name, const std::string& caption);
    std::string ClassName() const override { return "TNameDialog"; }
    TEdit* eName;
    // OK refuses an empty name with `message`.
    void RequireName(const std::string& message) { Require(eName, message); }
};

// Edits the artist's name; the artist changes only when OK closes the dialog.
bool ExecuteArtistDlg(TArtist& artist);
// Edits the library's name, cut to `maxLength` characters.
bool ExecutePropsDlg(std::string& name, std::size_t maxLength);

}  // namespace rv
