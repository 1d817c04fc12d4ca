#include "app/match_dialog.h"

#include "platform/text/utf8.h"

namespace rv {

TMatchLine ParseMatchLine(const std::string& line) {
    TMatchLine parts;
    const std::size_t first = line.find(' ');
    parts.Category = Text255(line.substr(0, first));
    if (first == std::string::npos) return parts;
    const std::size_t second = line.find(' ', first + 1);
    parts.DiscId = Text255(line.substr(first + 1, second - first - 1));
    if (second != std::string::npos) parts.Title = Text255(line.substr(second + 1));
    return parts;
}

Tdlg_rv_Match::Tdlg_rv_Match() : TEntryDialog("Dudida Client", 460, 270) {
    SetName("dlg_rv_Match");
    bCancel->SetCaption("Zrušit");
    AddLabel(8, 8, "Found matches:");
    List = new TListView(this);
    List->SetName("List");
    List->SetParent(this);
    List->SetBounds(8, 26, 444, 203);
    List->SetColumnClick(false);
    List->SetHideSelection(false);
    List->SetHotTrack(true);
    List->AddColumn("   ID", 75);
    List->AddColumn("Title", 175);
    List->AddColumn("Genre", 170);
    SetActiveControl(List);
}

int ExecuteMatchDlg(const TMatchArray& matches) {
    const TMatchArray lines = matches;
    Tdlg_rv_Match dialog;
    for (const std::string& line : lines) {
        if (line.empty()) break;
        const TMatchLine parts = ParseMatchLine(line);
        TListItem* row = dialog.List->AddItem();
        row->SetCaption(parts.DiscId);
        row->SetSubItems({parts.Title, parts.Category});
        row->SetImageIndex(0);
    }
    if (dialog.List->ItemCount() > 0) dialog.List->SetItemIndex(0);
    if (!dialog.Execute()) return -1;
    return dialog.List->ItemIndex();
}

}  // namespace rv
