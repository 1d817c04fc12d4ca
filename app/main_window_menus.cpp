// The menus and the tool bar of the main window.

#include "app/main_window.h"
#include "app/tool_bar_glyphs.h"
#include "platform/windows/window_constants.h"

namespace rv {

namespace {

using Handler = void (Twnd_rv_Main::*)(TObject*);

}  // namespace

void Twnd_rv_Main::BuildMenus() {
    MainMenu = new TMainMenu(this);
    MainMenu->SetName("MainMenu");
    PopupMenu = new TPopupMenu(this);
    PopupMenu->SetName("PopupMenu");

    auto item = [this](TMenuItem* parent, const char* name, const char* caption,
                       Handler handler = nullptr, TShortCut keys = scNone) {
        auto* i = new TMenuItem(this);
        if (*name) i->SetName(name);
        i->SetCaption(caption);
        i->SetShortCut(keys);
        if (handler) i->OnClick = [this, handler](TObject* s) { RunCommand(handler, s); };
        parent->Add(i);
        return i;
    };
    auto line = [&](TMenuItem* parent) { item(parent, "", "-"); };

    TMenuItem* top = MainMenu->Items();
    mmFile = item(top, "mmFileMenu", "&File");
    mmEdit = item(top, "mmEditMenu", "&Edit");
    mmTools = item(top, "mmToolsMenu", "&Tools");
    mmHelp = item(top, "mmHelpMenu", "&Help");

    mmNew = item(mmFile, "mmNew", "New", &Twnd_rv_Main::cmNew, ShortCut('N', ssCtrl));
    mmOpen = item(mmFile, "mmOpen", "Open...", &Twnd_rv_Main::cmOpen, ShortCut('O', ssCtrl));
    mmSave = item(mmFile, "mmSave", "Save", &Twnd_rv_Main::cmSave, ShortCut('S', ssCtrl));
    mmSaveAs = item(mmFile, "mmSaveAs", "Save As...", &Twnd_rv_Main::cmSaveAs);
    line(mmFile);
    mmSavePresentation = item(mmFile, "mmSavePresentation", "Save to Presentation");
    mmSaveBrief =
        item(mmSavePresentation, "mmSaveBrief", "Brief...", &Twnd_rv_Main::cmSavePresentation);
    mmSaveBrief->Tag = 0;
    mmSaveDetail =
        item(mmSavePresentation, "mmSaveDetail", "Detail...", &Twnd_rv_Main::cmSavePresentation);
    mmSaveDetail->Tag = 1;
    line(mmFile);
    mmAppend = item(mmFile, "mmAppend", "Append from File...", &Twnd_rv_Main::cmAppend);
    mmScan = item(mmFile, "mmScan", "Scan...", &Twnd_rv_Main::cmScan);
    line(mmFile);
    mmPrefs = item(mmFile, "mmPrefs", "Preferences...", &Twnd_rv_Main::cmPrefs);
    line(mmFile);
    mmExit = item(mmFile, "mmExit", "Exit", &Twnd_rv_Main::cmExit);

    mmAddFileTrack =
        item(mmEdit, "mmAddFileTrack", "Add Track from File...", &Twnd_rv_Main::cmAddFileTrack);
    line(mmEdit);
    mmAddTrack = item(mmEdit, "mmAddTrack", "Add Track...", &Twnd_rv_Main::cmAddTrack,
                      ShortCut('A', ssCtrl));
    line(mmEdit);
    mmTrackProps = item(mmEdit, "mmTrackProps", "Track Properties...", &Twnd_rv_Main::cmTrackProps,
                        ShortCut(VK_RETURN, ssCtrl));
    mmAlbumProps = item(mmEdit, "mmAlbumProps", "Album Properties...", &Twnd_rv_Main::cmAlbumProps);
    mmArtistProps =
        item(mmEdit, "mmArtistProps", "Artist Properties...", &Twnd_rv_Main::cmArtistProps);
    mmLibProps = item(mmEdit, "mmLibProps", "Library Properties...", &Twnd_rv_Main::cmLibProps);
    line(mmEdit);
    mmDeleteTrack = item(mmEdit, "mmDeleteTrack", "Delete Track", &Twnd_rv_Main::cmDeleteTrack,
                         ShortCut(VK_DELETE, ssCtrl));
    mmDeleteAlbum = item(mmEdit, "mmDeleteAlbum", "Delete Album", &Twnd_rv_Main::cmDeleteAlbum);
    mmDeleteArtist = item(mmEdit, "mmDeleteArtist", "Delete Artist", &Twnd_rv_Main::cmDeleteArtist);
    line(mmEdit);
    mmClearLibrary = item(mmEdit, "mmClearLibrary", "Clear Library", &Twnd_rv_Main::cmClearLibrary);

    mmMP3Player = item(mmTools, "mmMP3Player", "MP3 Player", &Twnd_rv_Main::cmMP3Player);
    mmAbout = item(mmHelp, "mmAbout", "About...", &Twnd_rv_Main::cmAbout);

    TMenuItem* pop = PopupMenu->Items();
    pmAddTrack = item(pop, "pmAddTrack", "Add Track...", &Twnd_rv_Main::cmAddTrack);
    line(pop);
    pmAlbumProps = item(pop, "pmAlbumProps", "Album Properties...", &Twnd_rv_Main::cmAlbumProps);
    pmArtistProps =
        item(pop, "pmArtistProps", "Artist Properties...", &Twnd_rv_Main::cmArtistProps);
    line(pop);
    pmDeleteAlbum = item(pop, "pmDeleteAlbum", "Delete Album", &Twnd_rv_Main::cmDeleteAlbum);
    pmDeleteArtist = item(pop, "pmDeleteArtist", "Delete Artist", &Twnd_rv_Main::cmDeleteArtist);

    SetMenu(MainMenu);
}

void Twnd_rv_Main::BuildToolBar() {
    Panel1 = new TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(0, 0, 0, 28);
    Panel1->SetAlign(alTop);
    int x = 2;
    auto button = [&](const char* name, const char* text, TToolBarGlyph glyph, Handler handler,
                      int width = 60) {
        auto* b = new TLbSpeedButton(this);
        b->SetName(name);
        b->SetParent(Panel1);
        b->SetBounds(x, 2, width, 24);
        x += width + 2;
        b->SetCaption(text);
        b->SetFlat(true);
        b->SetAlignment(taCenter);
        b->SetGlyph(ToolBarGlyph(glyph));
        b->SetHotTrackColor(0xD2BDB6);
        b->SetColorWhenDown(0xB59285);
        b->Hint = text;
        b->ShowHint = true;
        b->OnClick = [this, handler](TObject* s) { RunCommand(handler, s); };
        return b;
    };
    // Wide enough for the glyph and the caption beside it.
    using enum TToolBarGlyph;
    sbNew = button("sbNew", "New", New, &Twnd_rv_Main::cmNew);
    sbOpen = button("sbOpen", "Open", Open, &Twnd_rv_Main::cmOpen);
    sbSave = button("sbSave", "Save", Save, &Twnd_rv_Main::cmSave);
    sbScan = button("sbScan", "Scan", Scan, &Twnd_rv_Main::cmScan);
    sbPrefs = button("sbPrefs", "Preferences", Preferences, &Twnd_rv_Main::cmPrefs, 100);
    sbExit = button("sbExit", "Exit", Exit, &Twnd_rv_Main::cmExit);
    sbMP3Player = button("sbMP3Player", "MP3 Player", Player, &Twnd_rv_Main::cmMP3Player, 96);
}

}  // namespace rv
