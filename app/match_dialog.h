#pragma once

#include <string>

#include "app/entry_dialog.h"
#include "cd/cd_info.h"
#include "platform/framework/list_view.h"

namespace rv {

// One line of a CDDB server's match list, "category discid title words...".
struct TMatchLine {
    std::string Category;
    std::string DiscId;
    std::string Title;
};
// Cut at the first two blanks: category, disc id, and the rest as it stands (commas, quotes and
// runs of blanks in a title survive); parts a short line lacks stay empty. Each at most 255
// characters.
TMatchLine ParseMatchLine(const std::string& line);

// The chooser among the matches: disc id, title and genre of each.
class Tdlg_rv_Match : public TEntryDialog {
public:
    Tdlg_rv_Match();
    std::string ClassName() const override { return "Tdlg_rv_Match"; }
    TListView* List;
};

// The lines up to the first empty one (at most 100) as rows, the first selected; the index of
// the row chosen with OK, -1 when cancelled or none is selected.
int ExecuteMatchDlg(const TMatchArray& matches);

}  // namespace rv
