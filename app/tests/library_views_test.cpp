#include <gtest/gtest.h>

#include "app/tests/app_fixture.h"
#include "app/tests/view_input.h"
#include "platform/text/format.h"

namespace rv {
namespace {

using Views = test::AppTest;
using Names = std::vector<std::string>;

TEST_F(Views, RefreshTreeShowsArtistsWithTheirAlbumsSortedAndSelectsTheAddress) {
    ShowLibrary();
    EXPECT_TRUE(W().Panel->Visible());
    EXPECT_EQ(test::ColumnTexts(W().Tree, 0),
              (Names{"Abba", "Arrival", "Coltrane, John", "Giant Steps", "Davis, Miles",
                     "Bitches Brew", "Kind of Blue"}));
    EXPECT_EQ(test::Addresses(W().Tree), (std::vector<TFindIndex>{{2, -1, -1},
                                                                  {2, 0, -1},
                                                                  {1, -1, -1},
                                                                  {1, 0, -1},
                                                                  {0, -1, -1},
                                                                  {0, 1, -1},
                                                                  {0, 0, -1}}));
    EXPECT_EQ(W().sb->Panels(0)->Text(), "Artists: 3   Albums: 4   Tracks: 7");
    EXPECT_EQ(W().Tree->FocusedNode(), nullptr);  // (-1, -1) selects nothing
    EXPECT_EQ(W().Tree->SelectionCount(), 0u);

    W().RefreshTree(0, 0);
    PVirtualNode album = W().Tree->FocusedNode();
    ASSERT_NE(album, nullptr);
    EXPECT_EQ(W().Tree->GetText(album, 0), "Kind of Blue");
    EXPECT_TRUE(W().Tree->Selected(album));
    EXPECT_TRUE(W().Tree->Expanded(album->Parent));
    // The change event showed the album: its header and its tracks.
    EXPECT_TRUE(W().TrackList->Visible());
    EXPECT_TRUE(W().AlbumPanel->Visible());
    EXPECT_FALSE(W().AlbumList->Visible());
    EXPECT_EQ(test::ColumnTexts(W().TrackList, 1),
              (Names{"So What", "Freddie Freeloader", "Blue in Green"}));  // by number
    EXPECT_EQ(W().lArtist->Caption(), "Davis, Miles");
    EXPECT_EQ(W().lTitle->Caption(), "Kind of Blue");
    EXPECT_EQ(W().lRelease->Caption(), "Release: 1959");
    EXPECT_EQ(W().lGenre->Caption(), "Genre: Jazz");
    EXPECT_EQ(W().lMT->Caption(), "Media Type: Audio Files");
    EXPECT_EQ(W().lTime->Caption(), "Time: 24:46");

    // An artist: its albums by release; the artist shown above it stays closed.
    W().RefreshTree(0, -1);
    PVirtualNode artist = W().Tree->FocusedNode();
    EXPECT_EQ(W().Tree->GetText(artist, 0), "Davis, Miles");
    PVirtualNode coltrane = W().Tree->GetPreviousSibling(artist);
    EXPECT_FALSE(W().Tree->Expanded(coltrane));
    EXPECT_TRUE(W().AlbumList->Visible());
    EXPECT_FALSE(W().TrackList->Visible());
    EXPECT_FALSE(W().AlbumPanel->Visible());
    EXPECT_EQ(test::ColumnTexts(W().AlbumList, 0), (Names{"Kind of Blue", "Bitches Brew"}));
    EXPECT_EQ(test::ColumnTexts(W().AlbumList, 4), (Names{"24:46", "20:00"}));

    // An album of release 0.
    W().RefreshTree(2, 0);
    EXPECT_EQ(W().lRelease->Caption(), "Release: ?");
}

TEST_F(Views, TheTopRowIsTheOneAboveTheSelection) {
    for (int i = 0; i < 100; ++i) {
        const std::string name = (i < 10 ? "Artist 0" : "Artist ") + std::to_string(i);
        W().Library().AddTrack(test::MakeTrack(name.c_str(), "Album", 1, "Track", 60));
    }
    W().Show();
    W().RefreshTree(40, 0);
    Settle();
    PVirtualNode node = W().Tree->FocusedNode();
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(W().Tree->GetText(node, 0), "Album");
    EXPECT_EQ(W().Tree->GetText(W().Tree->TopNode(), 0), "Artist 40");
    W().RefreshTree(45, -1);
    EXPECT_EQ(W().Tree->GetText(W().Tree->TopNode(), 0), "Artist 44");
    EXPECT_FALSE(W().Tree->Expanded(W().Tree->TopNode()));
}

// Three tracks whose order differs in every column, and three albums likewise.
void FillSortable(TMediaLib& lib) {
    auto track = [&](const char* album, int id, const char* title, double seconds, int rate,
                     const char* mode, const char* format) {
        TTrack t = test::MakeTrack("X", album, id, title, seconds, rate);
        t.ChannelMode = mode;
        t.Format = format;
        return t;
    };
    lib.AddTrack(track("Tracks", 2, "Bravo", 300, 128, "Stereo", "FLAC"));
    lib.AddTrack(track("Tracks", 1, "Charlie", 100, 320, "Mono", "Ogg Vorbis"));
    lib.AddTrack(track("Tracks", 3, "Alpha", 200, 256, "Joint Stereo", "MPEG"));
    auto album = [&](const char* title, int release, const char* genre, std::vector<double> times) {
        int id = 0;
        for (double t : times) {
            ++id;
            TTrack x = test::MakeTrack("Y", title, id, Format("t%d", id).c_str(), t);
            x.Release = static_cast<std::uint16_t>(release);
            x.Genre = genre;
            lib.AddTrack(x);
        }
    };
    album("Beta", 1990, "Rock", {250, 250});
    album("Alpha", 2000, "Jazz", {900});
    album("Gamma", 1980, "Pop", {30, 30, 40});
}

Names Reversed(Names names) {
    return Names(names.rbegin(), names.rend());
}

// Clicks on the header cells, as the user makes them (the button and the keys held do not
// count).
TEST_F(Views, AHeaderClickSortsByItsColumnAndASecondOneTurnsTheOrder) {
    FillSortable(W().Library());
    W().Show();
    W().RefreshTree(0, 0);  // X / Tracks
    Settle();
    TVirtualStringTree* tracks = W().TrackList;
    ASSERT_TRUE(tracks->Visible());
    const std::vector<Names> byTrackColumn = {
        {"Charlie", "Bravo", "Alpha"}, {"Alpha", "Bravo", "Charlie"},
        {"Charlie", "Alpha", "Bravo"}, {"Bravo", "Alpha", "Charlie"},
        {"Alpha", "Charlie", "Bravo"}, {"Bravo", "Alpha", "Charlie"}};
    EXPECT_EQ(test::ColumnTexts(tracks, 1), byTrackColumn[0]);  // as designed: by number
    for (int column : {0, 1, 2, 3, 4, 5}) {
        test::ClickHeader(tracks, column);
        // Column 0 is the sort column already: its first click turns the order.
        const bool ascending = column != 0;
        EXPECT_EQ(test::ColumnTexts(tracks, 1),
                  ascending ? byTrackColumn[column] : Reversed(byTrackColumn[column]))
            << column;
        test::ClickHeader(tracks, column, test::ToolkitButton::Right, test::kToolkitShift);
        EXPECT_EQ(test::ColumnTexts(tracks, 1),
                  ascending ? Reversed(byTrackColumn[column]) : byTrackColumn[column])
            << column;
        EXPECT_EQ(tracks->Header().SortColumn(), column);
    }

    W().RefreshTree(1, -1);  // Y: its albums
    TVirtualStringTree* albums = W().AlbumList;
    ASSERT_TRUE(albums->Visible());
    const std::vector<Names> byAlbumColumn = {{"Alpha", "Beta", "Gamma"},
                                              {"Gamma", "Beta", "Alpha"},
                                              {"Alpha", "Gamma", "Beta"},
                                              {"Alpha", "Beta", "Gamma"},
                                              {"Gamma", "Beta", "Alpha"}};
    EXPECT_EQ(test::ColumnTexts(albums, 0), byAlbumColumn[1]);  // as designed: by release
    for (int column : {0, 2, 3, 4, 1}) {
        test::ClickHeader(albums, column);
        EXPECT_EQ(test::ColumnTexts(albums, 0), byAlbumColumn[column]) << column;
        test::ClickHeader(albums, column);
        EXPECT_EQ(test::ColumnTexts(albums, 0), Reversed(byAlbumColumn[column])) << column;
        EXPECT_EQ(albums->Header().SortDirection(), sdDescending);
    }
}

// The first node from the top that the typed text finds, as the tree's search walks with
// "all nodes, always from the first".
std::string Search(TVirtualStringTree* view, const std::string& typed) {
    for (PVirtualNode n = view->GetFirst(); n; n = view->GetNext(n))
        if (view->DoIncrementalSearch(n, typed) == 0) return view->GetText(n, 1);
    return "<none>";
}

TEST_F(Views, IncrementalSearchFindsTheFirstNodeStartingWithTheTypedLetters) {
    ShowLibrary();
    TVirtualStringTree* tree = W().Tree;
    auto find = [&](const std::string& typed) {
        for (PVirtualNode n = tree->GetFirst(); n; n = tree->GetNext(n))
            if (tree->DoIncrementalSearch(n, typed) == 0) return tree->GetText(n, 0);
        return std::string("<none>");
    };
    EXPECT_EQ(find("ab"), "Abba");
    EXPECT_EQ(find("AR"), "Arrival");
    EXPECT_EQ(find("gi"), "Giant Steps");
    EXPECT_EQ(find("davis, miles and more"), "Davis, Miles");
    EXPECT_EQ(find("z"), "<none>");
    EXPECT_EQ(tree->IncrementalSearchTimeout(), 500u);
    EXPECT_EQ(tree->IncrementalSearch(), isAll);
    EXPECT_EQ(tree->IncrementalSearchStart(), ssAlwaysStartOver);

    W().RefreshTree(2, 0);  // Abba / Arrival: Dancing Queen, abacus
    EXPECT_EQ(Search(W().TrackList, "AB"), "abacus");
    EXPECT_EQ(Search(W().TrackList, "danc"), "Dancing Queen");
    W().RefreshTree(0, -1);
    int result = 1;
    W().AlbumList->OnIncrementalSearch(W().AlbumList, W().AlbumList->GetFirst(), "kind", result);
    EXPECT_EQ(result, 0);
}

TEST_F(Views, ADoubleClickedAlbumIsSelectedInTheTreeWithItsTracks) {
    ShowLibrary();
    W().RefreshTree(0, -1);  // Davis: Kind of Blue, Bitches Brew
    PVirtualNode kind = W().AlbumList->GetFirst();
    ASSERT_EQ(W().AlbumList->GetText(kind, 0), "Kind of Blue");
    W().AlbumList->SetFocusedNode(kind);
    W().AlbumList->OnDblClick(W().AlbumList);
    PVirtualNode node = W().Tree->FocusedNode();
    EXPECT_EQ(W().Tree->GetText(node, 0), "Kind of Blue");
    EXPECT_TRUE(W().Tree->Selected(node));
    EXPECT_TRUE(W().TrackList->Visible());
    EXPECT_EQ(W().TrackList->TotalCount(), 3u);
    // Nothing focused: nothing happens.
    W().RefreshTree(1, -1);
    W().AlbumList->OnDblClick(W().AlbumList);
    EXPECT_EQ(W().Tree->GetText(W().Tree->FocusedNode(), 0), "Coltrane, John");
}

TEST_F(Views, ImagesShowTheAlbumsMediaType) {
    // In the tree for album nodes, in the album list in column 0 only.
    ShowLibrary();
    bool ghosted = false;
    int index = -1;
    PVirtualNode arrival = W().Tree->GetFirstChild(W().Tree->GetFirst());
    W().Tree->OnGetImageIndex(W().Tree, arrival, ikNormal, 0, ghosted, index);
    EXPECT_EQ(index, 1);
    index = -1;
    W().Tree->OnGetImageIndex(W().Tree, W().Tree->GetFirst(), ikNormal, 0, ghosted, index);
    EXPECT_EQ(index, -1);
    W().RefreshTree(0, -1);
    PVirtualNode brew = W().AlbumList->GetLast();
    W().AlbumList->OnGetImageIndex(W().AlbumList, brew, ikNormal, 0, ghosted, index);
    EXPECT_EQ(index, 0);  // a CD
    index = -1;
    W().AlbumList->OnGetImageIndex(W().AlbumList, brew, ikNormal, 1, ghosted, index);
    EXPECT_EQ(index, -1);
}

}  // namespace
}  // namespace rv

namespace rv {
namespace {

// Without a handler the string tree compares the node's text itself: a case-sensitive start.
TEST(StringTreeSearch, WithoutAHandlerTheTextMustStartWithTheTypedOne) {
    test::App();
    TVirtualStringTree tree(nullptr);
    tree.SetNodeDataSize(sizeof(int));
    const char* texts[] = {"abc", "xabc", "ABC"};
    tree.OnGetText = [&](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex, TVSTTextType,
                         std::string& text) { text = texts[n->Index]; };
    for (int i = 0; i < 3; ++i) tree.AddChild(nullptr);
    std::vector<int> answers;
    for (PVirtualNode n = tree.GetFirst(); n; n = tree.GetNext(n))
        answers.push_back(tree.DoIncrementalSearch(n, "ab"));
    EXPECT_EQ(answers, (std::vector<int>{0, 1, 1}));
}

}  // namespace
}  // namespace rv
