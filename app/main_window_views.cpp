// The three library views: the artist tree, and on the right the albums of an artist or the
// header and tracks of an album. Every node carries only the address of its entry.

#include <algorithm>

#include "app/app_pictures.h"
#include "app/main_window.h"
#include "app/time_text.h"
#include "app/view_texts.h"
#include "platform/graphics/bitmap.h"
#include "platform/text/format.h"

namespace rv {

namespace {

void AddColumn(TVirtualStringTree* view, const char* text, int width,
               TAlignment alignment = taLeftJustify) {
    TVirtualTreeColumn& column = view->Header().Columns().Add();
    column.SetText(text);
    column.SetWidth(width);
    column.SetAlignment(alignment);
}

// The width a column needs to show numbers of up to three digits whole (track numbers run to
// 255).
int ThreeDigitWidth(TVirtualStringTree* view) {
    TBitmap scratch(1, 1);
    TCanvas& canvas = scratch.Canvas();
    canvas.Font = view->Font();
    int widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, canvas.TextWidth(std::string(3, digit)));
    return view->Margin() + 2 * view->TextMargin() + widest;
}

void SetUpView(TVirtualStringTree* view, TColor textColor) {
    view->SetColor(kViewBackground);
    view->SetFontColor(textColor);
    view->SetIncrementalSearch(isAll);
    view->SetIncrementalSearchStart(ssAlwaysStartOver);
    view->SetIncrementalSearchTimeout(500);
    view->ShowHint = true;
    view->SetHintMode(hmTooltip);
    TStringTreeOptions& options = view->TreeOptions();
    options.SetSelectionOptions(options.SelectionOptions() + TVTSelectionOptions{toFullRowSelect});
}

// A list: a sortable header over rows without tree lines; sorted by `sortColumn` once its
// columns are there.
void SetUpList(TVirtualStringTree* view) {
    SetUpView(view, clAqua);
    TStringTreeOptions& options = view->TreeOptions();
    options.SetPaintOptions(options.PaintOptions() -
                            TVTPaintOptions{toShowRoot, toShowTreeLines, toShowButtons});
    options.SetAutoOptions(options.AutoOptions() + TVTAutoOptions{toAutoSort});
    TVTHeader& header = view->Header();
    header.SetOptions(header.Options() + TVTHeaderOptions{hoVisible, hoShowSortGlyphs});
}

}  // namespace

void Twnd_rv_Main::SetUpViews() {
    AddMediaTypeImages(ImageList);
    SetUpView(Tree, clLime);
    Tree->TreeOptions().SetSelectionOptions(Tree->TreeOptions().SelectionOptions() +
                                            TVTSelectionOptions{toRightClickSelect});
    Tree->SetPopupMenu(PopupMenu);
    Tree->SetImages(&ImageList);
    Tree->OnChange = [this](TBaseVirtualTree* s, PVirtualNode n) { TreeChange(s, n); };
    Tree->OnGetText = [this](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex,
                             TVSTTextType,
                             std::string& text) { text = TreeNodeText(library_, NodeIndex(s, n)); };
    Tree->OnGetImageIndex = [this](TBaseVirtualTree* s, PVirtualNode n, TVTImageKind, TColumnIndex,
                                   bool&, int& index) {
        if (s->GetNodeLevel(n) == 1)
            index = library_.AlbumRef(NodeIndex(s, n).Artist, NodeIndex(s, n).Album).MediaType;
    };
    Tree->OnCompareNodes = [this](TBaseVirtualTree* s, PVirtualNode a, PVirtualNode b, TColumnIndex,
                                  int& result) {
        result = CompareTreeNodes(library_, NodeIndex(s, a), NodeIndex(s, b));
    };
    Tree->OnIncrementalSearch = [this](TBaseVirtualTree* s, PVirtualNode n, const std::string& text,
                                       int& result) {
        TreeListIncrementalSearch(s, n, text, result);
    };
    Tree->OnDblClick = [this](TObject* s) { RunCommand(&Twnd_rv_Main::cmAlbumProps, s); };

    SetUpList(AlbumList);
    AddColumn(AlbumList, "    Title", 200);
    AddColumn(AlbumList, "Release", 60, taRightJustify);
    AddColumn(AlbumList, "Genre", 100);
    AddColumn(AlbumList, "Tracks", 50);
    AlbumList->Header().Columns()[3].SetBiDiMode(bdRightToLeftReadingOnly);
    AddColumn(AlbumList, "Time", 50);
    AlbumList->Header().SetSortColumn(1);
    AlbumList->SetImages(&ImageList);
    AlbumList->OnGetText = [this](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex column,
                                  TVSTTextType, std::string& text) {
        text = AlbumListText(library_, NodeIndex(s, n), column);
    };
    AlbumList->OnGetImageIndex = [this](TBaseVirtualTree* s, PVirtualNode n, TVTImageKind,
                                        TColumnIndex column, bool&, int& index) {
        if (column == 0)
            index = library_.AlbumRef(NodeIndex(s, n).Artist, NodeIndex(s, n).Album).MediaType;
    };
    AlbumList->OnCompareNodes = [this](TBaseVirtualTree* s, PVirtualNode a, PVirtualNode b,
                                       TColumnIndex column, int& result) {
        result = CompareAlbumListNodes(library_, NodeIndex(s, a), NodeIndex(s, b), column);
    };
    AlbumList->OnDblClick = [this](TObject* s) { AlbumListDblClick(s); };

    SetUpList(TrackList);
    AddColumn(TrackList, "#", 25);
    AddColumn(TrackList, "Track", 150);
    AddColumn(TrackList, "Time", 50, taRightJustify);
    AddColumn(TrackList, "Bitrate", 50, taRightJustify);
    AddColumn(TrackList, "Channel Mode", 90);
    AddColumn(TrackList, "Format", 150);
    TrackList->Header().SetSortColumn(0);
    // The track numbers and the caption beside the sort glyph read whole; the design's width
    // where that is enough.
    TVirtualTreeColumn& number = TrackList->Header().Columns()[0];
    number.SetWidth(std::max(
        {number.Width(), ThreeDigitWidth(TrackList), TrackList->Header().CaptionWidth(0)}));
    TrackList->OnGetText = [this](TCustomVirtualStringTree* s, PVirtualNode n, TColumnIndex column,
                                  TVSTTextType, std::string& text) {
        text = TrackListText(library_, NodeIndex(s, n), column);
    };
    TrackList->OnCompareNodes = [this](TBaseVirtualTree* s, PVirtualNode a, PVirtualNode b,
                                       TColumnIndex column, int& result) {
        result = CompareTrackListNodes(library_, NodeIndex(s, a), NodeIndex(s, b), column);
    };
    TrackList->OnDblClick = [this](TObject* s) { RunCommand(&Twnd_rv_Main::cmTrackProps, s); };

    for (TVirtualStringTree* list : {AlbumList, TrackList}) {
        list->OnHeaderClick = [this](TVTHeader* h, TColumnIndex column, TMouseButton button,
                                     TShiftState shift, int x,
                                     int y) { ListHeaderClick(h, column, button, shift, x, y); };
        list->OnIncrementalSearch = [this](TBaseVirtualTree* s, PVirtualNode n,
                                           const std::string& text, int& result) {
            ListIncrementalSearch(s, n, text, result);
        };
    }
}

TFindIndex& Twnd_rv_Main::NodeIndex(TBaseVirtualTree* control, PVirtualNode node) {
    return *static_cast<TFindIndex*>(control->GetNodeData(node));
}

PVirtualNode Twnd_rv_Main::FindNode(TBaseVirtualTree* control, const TFindIndex& index) {
    for (PVirtualNode node = control->GetFirst(); node; node = control->GetNext(node))
        if (NodeIndex(control, node) == index) return node;
    return nullptr;
}

void Twnd_rv_Main::SelectNode(TBaseVirtualTree* control, PVirtualNode node) {
    control->SetFocusedNode(node);
    control->SetSelected(node, true);
    control->SetVisiblePath(node, true);
    // One row of context above it: the row shown before it, so that no other artist opens.
    PVirtualNode above = control->GetPreviousVisible(node);
    control->SetTopNode(above ? above : node);
}

void Twnd_rv_Main::RefreshTree(int artistPos, int albumPos) {
    Tree->BeginUpdate();
    try {
        Tree->Clear();
        const int artists = library_.GetArtistCount();
        for (int a = 0; a < artists; ++a) {
            PVirtualNode artist = Tree->AddChild(nullptr);
            NodeIndex(Tree, artist) = {a, -1, -1};
            const int albums = static_cast<int>(library_.ArtistRef(a).Albums.size());
            for (int b = 0; b < albums; ++b) NodeIndex(Tree, Tree->AddChild(artist)) = {a, b, -1};
        }
        Tree->SortTree(0, sdAscending);
        if (PVirtualNode node = FindNode(Tree, {artistPos, albumPos, -1})) SelectNode(Tree, node);
    } catch (...) {
        Tree->EndUpdate();
        throw;
    }
    Tree->EndUpdate();
    sb->Panels(0)->SetText(LibraryCountsText(library_));
    Panel->Show();
}

void Twnd_rv_Main::TreeChange(TBaseVirtualTree* sender, PVirtualNode node) {
    if (!node) return;
    const TFindIndex index = NodeIndex(sender, node);
    ShowSelection(index.Artist, index.Album);
}

void Twnd_rv_Main::HideView(TVirtualStringTree* view) {
    view->Hide();
    view->Clear();
}

void Twnd_rv_Main::HideRightViews() {
    HideView(AlbumList);
    HideView(TrackList);
    AlbumPanel->Hide();
}

namespace {

// Fills a flat view with one node per address, inside an update bracket.
template <class Each>
void FillView(TVirtualStringTree* view, int count, Each address) {
    view->BeginUpdate();
    view->Clear();
    for (int i = 0; i < count; ++i)
        *static_cast<TFindIndex*>(view->GetNodeData(view->AddChild(nullptr))) = address(i);
    view->EndUpdate();
}

}  // namespace

void Twnd_rv_Main::ShowSelection(int artistPos, int albumPos) {
    if (artistPos < 0 || artistPos >= library_.GetArtistCount()) return HideRightViews();
    const TArtist& artist = library_.ArtistRef(artistPos);
    if (albumPos == -1) {
        FillView(AlbumList, static_cast<int>(artist.Albums.size()), [&](int b) {
            return TFindIndex{artistPos, b, -1};
        });
        HideView(TrackList);
        AlbumPanel->Hide();
        AlbumList->Show();
        return;
    }
    if (albumPos < 0 || albumPos >= static_cast<int>(artist.Albums.size())) return HideRightViews();
    FillView(TrackList, static_cast<int>(artist.Albums[albumPos].Tracks.size()), [&](int t) {
        return TFindIndex{artistPos, albumPos, t};
    });
    const TAlbum album = library_.GetAlbumAt(artistPos, albumPos);
    lArtist->SetCaption(album.Artist);
    lTitle->SetCaption(album.Title);
    lRelease->SetCaption(album.Release == 0 ? std::string("Release: ?")
                                            : Format("Release: %d", album.Release));
    lGenre->SetCaption("Genre: " + album.Genre);
    lMT->SetCaption("Media Type: " + std::string(MediaTypeName(album.MediaType)));
    lTime->SetCaption("Time: " + MinSecText(album.Time));
    LayOutAlbumHeader();
    HideView(AlbumList);
    AlbumPanel->Show();
    TrackList->Show();
}

void Twnd_rv_Main::ListHeaderClick(TVTHeader* sender, TColumnIndex column, TMouseButton,
                                   TShiftState, int, int) {
    if (column != sender->SortColumn()) {
        sender->SetSortDirection(sdAscending);
        sender->SetSortColumn(column);
    } else {
        sender->SetSortDirection(sender->SortDirection() == sdAscending ? sdDescending
                                                                        : sdAscending);
    }
    sender->Tree().SortTree(sender->SortColumn(), sender->SortDirection());
}

void Twnd_rv_Main::TreeListIncrementalSearch(TBaseVirtualTree* sender, PVirtualNode node,
                                             const std::string& text, int& result) {
    result = CompareTypedText(text, TreeNodeText(library_, NodeIndex(sender, node)));
}

void Twnd_rv_Main::ListIncrementalSearch(TBaseVirtualTree* sender, PVirtualNode node,
                                         const std::string& text, int& result) {
    result = CompareTypedText(text, ListSearchText(library_, NodeIndex(sender, node)));
}

void Twnd_rv_Main::AlbumListDblClick(TObject*) {
    PVirtualNode focused = FocusedIn(AlbumList);
    if (!focused) return;
    const TFindIndex& album = NodeIndex(AlbumList, focused);
    PVirtualNode node = FindNode(Tree, {album.Artist, album.Album, -1});
    if (!node) return;
    Tree->SetFocusedNode(node);
    Tree->SetSelected(node, true);
    Tree->SetVisiblePath(node, true);
}

}  // namespace rv
