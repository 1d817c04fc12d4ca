#include "app/album_dialog.h"

#include <cstdint>

#include "medialib/safe_convert.h"

namespace rv {

Tdlg_rv_Album::Tdlg_rv_Album() : TEntryDialog("Album Properties", 340, 181) {
    SetName("dlg_rv_Album");
    constexpr int kField = 100;
    StartRows(8);
    eArtist = AddEdit("eArtist", kField, AddRow("Artist:"), 232);
    eAlbum = AddEdit("eAlbum", kField, AddRow("Title:"), 232);
    eRelease = AddEdit("eRelease", kField, AddRow("Release:"), 50);
    eGenre = AddEdit("eGenre", kField, AddRow("Genre:"), 150);
    eMT = AddList("eMT", kField, AddRow("Media Type:"), 150, csDropDownList,
                  {"AudioCD", "AudioFile"});
    Require(eArtist, "Enter the name of the album's artist.");
    Require(eAlbum, "Enter the album's title.");
    SetActiveControl(eArtist);
}

void Tdlg_rv_Album::Fill(const TAlbum& album) {
    eArtist->SetText(album.Artist);
    eAlbum->SetText(album.Title);
    eRelease->SetText(std::to_string(album.Release));
    eGenre->SetText(album.Genre);
    eMT->SetItemIndex(album.MediaType < eMT->Items().size() ? album.MediaType : -1);
}

void Tdlg_rv_Album::CopyTo(TAlbum& album) const {
    album.Artist = EntryText(eArtist->Text());
    album.Title = EntryText(eAlbum->Text());
    album.Genre = EntryText(eGenre->Text());
    album.Release = static_cast<std::uint16_t>(SafeStrToInt(eRelease->Text()));
    if (eMT->ItemIndex() >= 0) album.MediaType = static_cast<std::uint8_t>(eMT->ItemIndex());
}

bool ExecuteAlbumDlg(TAlbum& album) {
    Tdlg_rv_Album dialog;
    dialog.Fill(album);
    if (!dialog.Execute()) return false;
    dialog.CopyTo(album);
    return true;
}

}  // namespace rv
