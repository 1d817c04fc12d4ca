#pragma once

#include "app/entry_dialog.h"
#include "medialib/records.h"

namespace rv {

// The editor of an album: artist, title, release year, genre and media type. OK takes no album
// without an artist or a title.
class Tdlg_rv_Album : public TEntryDialog {
public:
    Tdlg_rv_Album();
    std::string ClassName() const override { return "Tdlg_rv_Album"; }

    TEdit *eArtist, *eAlbum, *eRelease, *eGenre;
    TComboBox* eMT;

    void Fill(const TAlbum& album);
    // A media type the list does not name stays as it was.
    void CopyTo(TAlbum& album) const;
};

// Edits `album`; it changes only when OK closes the dialog.
bool ExecuteAlbumDlg(TAlbum& album);

}  // namespace rv
