// The idle pass of the main window: which commands can run now, the file name and the caption.

#include "app/main_window.h"

namespace rv {

void Twnd_rv_Main::ApplicationEventsIdle(TObject*, bool&) {
    UpdateCommands();
}

bool Twnd_rv_Main::LibraryShown() const {
    return Panel->Visible();
}

PVirtualNode Twnd_rv_Main::FocusedIn(TVirtualStringTree* view) const {
    if (!LibraryShown() || !view->Visible()) return nullptr;
    return view->FocusedNode();
}

void Twnd_rv_Main::UpdateCommands() {
    const bool shown = LibraryShown();
    PVirtualNode treeNode = FocusedIn(Tree);
    const bool artistOrAlbum = treeNode != nullptr;
    const bool album = treeNode && Tree->GetNodeLevel(treeNode) == 1;
    const bool track = FocusedIn(TrackList) != nullptr;

    mmSave->SetEnabled(library_.Modified());
    sbSave->SetEnabled(library_.Modified());
    for (TMenuItem* item : {mmSaveAs, mmSavePresentation, mmScan, mmAppend, mmAddFileTrack,
                            mmAddTrack, pmAddTrack, mmLibProps})
        item->SetEnabled(shown);
    sbScan->SetEnabled(shown);
    for (TMenuItem* item : {mmTrackProps, mmDeleteTrack}) item->SetEnabled(track);
    for (TMenuItem* item : {mmAlbumProps, pmAlbumProps, mmDeleteAlbum, pmDeleteAlbum})
        item->SetEnabled(album);
    for (TMenuItem* item : {mmArtistProps, pmArtistProps, mmDeleteArtist, pmDeleteArtist})
        item->SetEnabled(artistOrAlbum);
    mmClearLibrary->SetEnabled(library_.GetArtistCount() > 0);

    sb->Panels(1)->SetText(library_.FileName());
    SetCaption(std::string(kProgramTitle) + " - [" + library_.LibraryName() + "]");
}

}  // namespace rv
