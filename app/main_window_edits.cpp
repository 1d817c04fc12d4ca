// The commands that add, edit and delete tracks, albums and artists, and the file import's
// command.

#include "app/album_dialog.h"
#include "app/filed_track.h"
#include "app/main_window.h"
#include "app/name_dialogs.h"
#include "app/question_boxes.h"
#include "app/track_dialog.h"
#include "platform/text/format.h"

namespace rv {

void Twnd_rv_Main::SelectTrack(const TFindIndex& index) {
    RefreshTree(index.Artist, index.Album);
    ShowSelection(index.Artist, index.Album);
    if (PVirtualNode node = FindNode(TrackList, index)) SelectNode(TrackList, node);
}

void Twnd_rv_Main::AddFileTrack(const std::string& fileName) {
    const TFindIndex index = import_.AddFile(fileName, library_);
    RefreshTree(index.Artist, index.Album);
}

void Twnd_rv_Main::cmAddFileTrack(TObject*) {
    // With several files chosen, the first.
    if (od1->Execute()) AddFileTrack(od1->FileName);
}

void Twnd_rv_Main::cmAddTrack(TObject*) {
    TTrack track;
    // An album focused gives the new track its artist, album and media type, and its genre and
    // release, which the dialog does not show and filing the track would otherwise clear. An
    // artist gives nothing (its address names no album).
    if (PVirtualNode node = FocusedIn(Tree)) {
        const TAlbum album = library_.GetAlbum(NodeIndex(Tree, node));
        track.Artist = album.Artist;
        track.Album = album.Title;
        track.MediaType = album.MediaType;
        track.Genre = album.Genre;
        track.Release = album.Release;
    }
    if (ExecuteTrackDlg("New Track", track)) SelectTrack(library_.AddTrack(track));
}

void Twnd_rv_Main::cmTrackProps(TObject*) {
    PVirtualNode node = FocusedIn(TrackList);
    if (!node) return;
    const TFindIndex old = NodeIndex(TrackList, node);
    TTrack track = library_.GetTrack(old);
    if (!ExecuteTrackDlg("Track Properties", track)) return;
    // Filing the edited track over another of the same title in its album loses that one.
    const TFindIndex other = TrackFiledOver(library_, track);
    if (other.Track >= 0 && other != old &&
        !Confirm(Format("The album already has a track titled \"%s\". Replace it?",
                        library_.TrackRef(other.Artist, other.Album, other.Track).Title.c_str())))
        return;
    library_.DeleteTrack(old);
    SelectTrack(library_.AddTrack(track));
}

void Twnd_rv_Main::cmAlbumProps(TObject*) {
    PVirtualNode node = FocusedIn(Tree);
    if (!node || Tree->GetNodeLevel(node) != 1) return;
    TFindIndex index = NodeIndex(Tree, node);
    TAlbum album = library_.GetAlbum(index);
    if (!ExecuteAlbumDlg(album)) return;
    library_.SetAlbum(index, album);
    RefreshTree(index.Artist, index.Album);
    ShowSelection(index.Artist, index.Album);
}

void Twnd_rv_Main::cmArtistProps(TObject*) {
    PVirtualNode node = FocusedIn(Tree);
    if (!node) return;
    TFindIndex index = NodeIndex(Tree, node);
    TArtist artist = library_.GetArtist(index);
    if (!ExecuteArtistDlg(artist)) return;
    library_.SetArtist(index, artist);
    RefreshTree(index.Artist, index.Album);
    ShowSelection(index.Artist, index.Album);
}

// Deletions. The right-hand side goes with what it showed; the tree then selects what is left
// at the address, whose change event shows it again.

void Twnd_rv_Main::cmDeleteTrack(TObject*) {
    PVirtualNode node = FocusedIn(TrackList);
    if (!node) return;
    const TFindIndex index = NodeIndex(TrackList, node);
    if (!Confirm("Delete selected track?")) return;
    library_.DeleteTrack(index);
    HideRightViews();
    RefreshTree(index.Artist, index.Album);
}

void Twnd_rv_Main::cmDeleteAlbum(TObject*) {
    PVirtualNode node = FocusedIn(Tree);
    if (!node || Tree->GetNodeLevel(node) != 1) return;
    const TFindIndex index = NodeIndex(Tree, node);
    if (!Confirm("Delete selected album?")) return;
    library_.DeleteAlbum(index);
    HideRightViews();
    RefreshTree(index.Artist, -1);
}

void Twnd_rv_Main::cmDeleteArtist(TObject*) {
    PVirtualNode node = FocusedIn(Tree);
    if (!node) return;
    const TFindIndex index = NodeIndex(Tree, node);
    if (!Confirm("Delete selected artist?")) return;
    library_.DeleteArtist(index);
    HideRightViews();
    RefreshTree(-1, -1);
}

void Twnd_rv_Main::cmClearLibrary(TObject*) {
    if (!Confirm("Clear library?")) return;
    library_.Clear();
    HideRightViews();
    RefreshTree(-1, -1);
}

}  // namespace rv
