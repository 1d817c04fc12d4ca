#include "app/main_window.h"

#include <algorithm>

#include "app/app_pictures.h"
#include "app/dialog_buttons.h"
#include "cd/cddb.h"
#include "search/find_file.h"

namespace rv {

namespace {

// In a header wide enough, the album header's button stands at this left edge and the second
// column of texts (genre, media type) at this one; the button keeps this margin from the header's
// right edge when the header is narrower.
constexpr int kHeaderButtonLeft = 400;
constexpr int kHeaderSecondColumn = 200;
constexpr int kHeaderMargin = 8;

TPanel* MakePanel(TComponent* owner, TWinControl* parent, const char* name, TRect bounds,
                  TAlign align) {
    TPanel* panel = MakeControl<TPanel>(owner, parent, name, bounds, align);
    panel->SetBevelOuter(bvNone);
    return panel;
}

}  // namespace

Twnd_rv_Main::Twnd_rv_Main(TComponent* owner) : TForm(owner) {
    SetName("wnd_rv_Main");
    SetCaption(kProgramTitle);
    SetBounds(100, 80, 778, 512);
    Constraints.MinWidth = 130;
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    BuildLibraryArea();
    BuildDialogs();

    FindFile = std::make_unique<TFindFile>();
    FindFile->Threaded = true;
    FindFile->OnSearchBegin = [this](TFindFile& s) { FindFileSearchBegin(s); };
    FindFile->OnFileMatch = [this](TFindFile& s, const std::string& folder,
                                   const TSearchRec& fileInfo) {
        FindFileFileMatch(s, folder, fileInfo);
    };
    FindFile->OnSearchFinish = [this](TFindFile& s) { FindFileSearchFinish(s); };
    // The CD look-up's settings come with the CD import.
    CddbClient = new TCddb(this);
    CddbClient->SetName("CddbClient");

    MRUList = new Lorvix_MRUList(this);
    MRUList->SetName("MRUList");
    MRUList->SetApplication("Reelvault");
    MRUList->SetManufacturer("Lorvix");
    MRUList->SetVersion("1.x");
    MRUList->SetCapacity(10);
    MRUList->OnMenuItemClick = [this](TObject* s) {
        RunCommand(&Twnd_rv_Main::MRUListMenuItemClick, s);
    };

    Storage = new TFormStorage(this);
    Storage->SetName("Storage");
    Storage->SetIniFileName("SOFTWARE\\Lorvix\\Reelvault");
    Storage->SetIniSection("1.x");
    Storage->UseRegistry = true;
    Storage->SetStoredProps({{"TreePanel.Width", nullptr}});
    SetUpSettings();

    ApplicationEvents = new TApplicationEvents(this);
    ApplicationEvents->SetName("ApplicationEvents");
    ApplicationEvents->OnIdle = [this](TObject* s, bool& done) { ApplicationEventsIdle(s, done); };

    OnCloseQuery = [this](TObject* s, bool& canClose) { FormCloseQuery(s, canClose); };
    FormCreate();
    // The storage chains itself into the form's events now.
    FinishLoading();
    UpdateCommands();
}

Twnd_rv_Main::~Twnd_rv_Main() {
    // The storage writes on destruction and the views ask for texts while they go: both need
    // the window's parts.
    BeforeDestruction();
    // A scan still running ends here, before the library it files into goes.
    FindFile.reset();
    HideSplash();
    DestroyComponents();
}

void Twnd_rv_Main::FormCreate() {
    // Each node of the views carries one address.
    for (TVirtualStringTree* view : {Tree, TrackList, AlbumList})
        view->SetNodeDataSize(sizeof(TFindIndex));
    // The library and the readers exist with the window (library_, import_); every imported
    // file shows the counts. The recent files are read so that their menu entries show.
    import_.OnStatus = [this](const std::string& counts) { sb->Panels(0)->SetText(counts); };
    MRUList->SetMainMenuItem(mmFile);
    MRUList->Load();
}

void Twnd_rv_Main::BuildStatusBar() {
    sb = MakeControl<TStatusBar>(this, this, "sb", Bounds(0, 0, 0, 19), alBottom);
    TStatusPanel* counts = sb->AddPanel();
    // Six-digit counts read whole; the design's width where that is enough.
    counts->SetWidth(std::max(225, sb->PanelWidthFor(CountsText(999999, 999999, 999999))));
    counts->SetAlignment(taCenter);
    sb->AddPanel()->SetWidth(50);
}

void Twnd_rv_Main::BuildLibraryArea() {
    Panel = MakePanel(this, this, "Panel", {}, alClient);
    Panel->SetVisible(false);
    TreePanel = MakePanel(this, Panel, "TreePanel", Bounds(0, 0, 231, 0), alLeft);
    Tree = MakeControl<TVirtualStringTree>(this, TreePanel, "Tree", {}, alClient);
    Splitter = MakeControl<TSplitter>(this, Panel, "Splitter", Bounds(231, 0, 3, 0), alLeft);
    ListPanel = MakePanel(this, Panel, "ListPanel", {}, alClient);
    BuildAlbumPanel();
    TrackList = MakeControl<TVirtualStringTree>(this, ListPanel, "TrackList", {}, alClient);
    TrackList->SetVisible(false);
    AlbumList = MakeControl<TVirtualStringTree>(this, ListPanel, "AlbumList", {}, alClient);
    AlbumList->SetVisible(false);
    // However far the splitter goes, the list side keeps room for the album header's button.
    Splitter->MinSize = std::max(Splitter->MinSize, bAlbumProps->Width() + 2 * kHeaderMargin);
    SetUpViews();
}

void Twnd_rv_Main::BuildAlbumPanel() {
    AlbumPanel = MakeControl<TPanel>(this, ListPanel, "AlbumPanel", Bounds(0, 0, 0, 91), alTop);
    AlbumPanel->SetVisible(false);
    auto label = [this](const char* name, int x, int y) {
        TLabel* l = MakeControl<TLabel>(this, AlbumPanel, name, Bounds(x, y, 0, 0));
        l->SetShowAccelChar(false);
        return l;
    };
    lArtist = label("lArtist", 68, 6);
    TFont big = lArtist->Font();
    big.Height = -15;
    big.Style = fsBold;
    lArtist->SetFont(big);
    lTitle = label("lTitle", 68, 28);
    TFont title = lTitle->Font();
    title.Style = fsBold;
    lTitle->SetFont(title);
    lRelease = label("lRelease", 68, 50);
    lGenre = label("lGenre", kHeaderSecondColumn, 50);
    lTime = label("lTime", 68, 68);
    lMT = label("lMT", kHeaderSecondColumn, 68);
    AlbumImage = MakeControl<TImage>(this, AlbumPanel, "AlbumImage", Bounds(8, 8, 48, 48));
    AlbumImage->SetPictureMaker(AlbumPicture);
    bAlbumProps =
        MakeDialogButton(this, AlbumPanel, "bAlbumProps", "Properties...", kHeaderButtonLeft, 60);
    bAlbumProps->OnClick = [this](TObject* s) { RunCommand(&Twnd_rv_Main::cmAlbumProps, s); };
    AlbumPanel->OnResize = [this](TObject*) { LayOutAlbumHeader(); };
}

void Twnd_rv_Main::LayOutAlbumHeader() {
    // A narrower header (a small screen at 200 %, the splitter dragged right) moves the button
    // left from its place so that it stays whole.
    const int room = AlbumPanel->ClientWidth() - kHeaderMargin - bAlbumProps->Width();
    const int button = std::max(kHeaderMargin, std::min(kHeaderButtonLeft, room));
    bAlbumProps->SetLeft(button);
    // The texts beside it give way, as far as the texts before them let them, rather than run
    // under it.
    const int firstEnd =
        std::max(lRelease->Left() + lRelease->Width(), lTime->Left() + lTime->Width());
    const int secondWidth = std::max(lGenre->Width(), lMT->Width());
    const int second =
        std::min(kHeaderSecondColumn,
                 std::max(firstEnd + 2 * kHeaderMargin, button - kHeaderMargin - secondWidth));
    lGenre->SetLeft(second);
    lMT->SetLeft(second);
}

void Twnd_rv_Main::BuildDialogs() {
    sd = new TSaveDialog(this);
    sd->SetName("sd");
    sd->DefaultExt = "rvl";
    sd->Filter = kLibraryFilter;
    sd->Options = ofHideReadOnly | ofOverwritePrompt;
    od = new TOpenDialog(this);
    od->SetName("od");
    od->DefaultExt = "rvl";
    od->Filter = kLibraryFilter;
    od->Options = ofHideReadOnly | ofFileMustExist;
    od1 = new TOpenDialog(this);
    od1->SetName("od1");
    od1->Filter = kAudioFilter;
    od1->Options = ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist | ofFileMustExist;
    sd1 = new TSaveDialog(this);
    sd1->SetName("sd1");
    sd1->DefaultExt = "xml";
    sd1->Filter = kXmlFilter;
    sd1->Options = ofHideReadOnly | ofOverwritePrompt;
}

}  // namespace rv
