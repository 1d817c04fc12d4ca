// The player window's parts and where they go.

#include "player/player_window.h"

#include "player/media_library_link.h"
#include "player/player_glyphs.h"
#include "widgets/hand_cursors.h"

namespace rv {

namespace {

// The display's colours: green on black.
constexpr TColor kDisplayText = clLime;
constexpr TColor kDisplay = clBlack;

Twnd_mp3_Player* g_playerWindow = nullptr;

}  // namespace

Twnd_mp3_Player::Twnd_mp3_Player(TForm* mainWindow)
    : TForm(mainWindow),
      mainWindow_(mainWindow),
      library_(dynamic_cast<TMediaLibraryLink*>(mainWindow)) {
    SetName("wnd_mp3_Player");
    SetCaption(kPlayerCaption);
    SetBounds(120, 120, 600, 360);
    Constraints.MinWidth = 380;
    Constraints.MinHeight = 200;
    sb = MakeControl<TStatusBar>(this, this, "sb", Bounds(0, 0, 0, 19), alBottom);
    sb->AddPanel()->SetWidth(150);
    BuildTopPanel();
    BuildButtons();
    BuildList();
    BuildComponents();
    OnClose = [this](TObject* s, TCloseAction& action) { FormClose(s, action); };
    FormCreate();
    // The storage chains itself into the window's events now.
    FinishLoading();
}

Twnd_mp3_Player::~Twnd_mp3_Player() {
    if (g_playerWindow == this) g_playerWindow = nullptr;
    // The storage saves on destruction and needs the dialog it keeps the folder of.
    BeforeDestruction();
    DestroyComponents();
}

void Twnd_mp3_Player::BuildTopPanel() {
    TopPanel = MakeControl<TPanel>(this, this, "TopPanel", Bounds(0, 0, 0, 58), alTop);
    TopPanel->SetBevelOuter(bvNone);
    lFormat = MakeControl<TLabel>(this, TopPanel, "lFormat", Bounds(8, 6, 0, 0));
    lFormat->SetShowAccelChar(false);
    lCM = MakeControl<TLabel>(this, TopPanel, "lCM", Bounds(200, 6, 0, 0));
    lCM->SetShowAccelChar(false);

    // The bar's width first: the arrows and the scroller must fit in it.
    Trackbar = MakeControl<TFatScrollBar>(this, TopPanel, "Trackbar", Bounds(8, 30, 300, 15));
    Trackbar->SetKind(sbHorizontal);
    Trackbar->SetArrowWidth(15);
    Trackbar->SetArrowStretch(35);
    Trackbar->SetScrollerWidth(10);
    Trackbar->SetSmallChange(1);
    Trackbar->SetLargeChange(5);
    Trackbar->SetMax(100);
    Trackbar->SetScrollInterval(50);
    Trackbar->SetCursor(crHand);
    Trackbar->StyleTrack().Fill().SetColorCold(clGreen);
    Trackbar->StyleScroller().Fill().SetColorCold(clBlack);
    Trackbar->StyleScroller().Border().SetColorCold(clWhite);
    Trackbar->ShowHint = true;
    Trackbar->OnChange = [this](TObject* s) {
        if (!barQuiet_) TrackBarChange(s);
    };

    TimePanel = MakeControl<TPanel>(this, TopPanel, "TimePanel", Bounds(316, 18, 64, 30));
    TimePanel->SetBevelOuter(bvLowered);
    TimePanel->SetColor(kDisplay);
    TFont time = TimePanel->Font();
    time.Color = kDisplayText;
    time.Height = -17;
    time.Style = fsBold;
    TimePanel->SetFont(time);
    TimePanel->SetCaption(kTimePanelIdle);
    TimePanel->Hint = "Track Elapsed";
    TimePanel->ShowHint = true;

    Knob = MakeControl<TKnob>(this, TopPanel, "Knob", Bounds(388, 9, 40, 40));
    Knob->SetMax(255);
    Knob->Hint = "Volume";
    Knob->ShowHint = true;
    Knob->SetCursor(crHand);
    Knob->OnChange = [this](TObject* s) { KnobChange(s); };

    // The bar takes what the time panel and the knob leave at the right.
    TopPanel->OnResize = [this](TObject*) {
        const int right = TopPanel->ClientWidth();
        Knob->SetBounds(right - 48, Knob->Top(), Knob->Width(), Knob->Height());
        TimePanel->SetLeft(Knob->Left() - 8 - TimePanel->Width());
        Trackbar->SetWidth(std::max(TimePanel->Left() - 8 - Trackbar->Left(), 40));
    };
}

void Twnd_mp3_Player::BuildButtons() {
    ButtonPanel = MakeControl<TPanel>(this, this, "ButtonPanel", Bounds(0, 58, 0, 32), alTop);
    ButtonPanel->SetBevelOuter(bvNone);
    using Handler = void (Twnd_mp3_Player::*)(TObject*);
    int x = 6;
    auto button = [&](const char* name, const char* hint, TPlayerGlyph glyph, Handler handler,
                      int gapAfter = 0) {
        auto* b = MakeControl<TLbSpeedButton>(this, ButtonPanel, name, Bounds(x, 3, 26, 26));
        x += 26 + 2 + gapAfter;
        b->SetFlat(true);
        b->SetGlyph(PlayerGlyph(glyph));
        b->Hint = hint;
        b->ShowHint = true;
        b->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        return b;
    };
    sbPlay = button("sbPlay", "Play", TPlayerGlyph::Play, &Twnd_mp3_Player::cmPlay);
    sbPause = button("sbPause", "Pause", TPlayerGlyph::Pause, &Twnd_mp3_Player::cmPause);
    sbStop = button("sbStop", "Stop", TPlayerGlyph::Stop, &Twnd_mp3_Player::cmStop);
    sbPrior = button("sbPrior", "Previous", TPlayerGlyph::Previous, &Twnd_mp3_Player::cmPrior);
    sbNext = button("sbNext", "Next", TPlayerGlyph::Next, &Twnd_mp3_Player::cmNext, 8);
    sbExit = button("sbExit", "Exit", TPlayerGlyph::Exit, &Twnd_mp3_Player::cmExit, 8);
    sbOpen = button("sbOpen", "Add file(s)", TPlayerGlyph::AddFiles, &Twnd_mp3_Player::cmOpen);
    sbDel = button("sbDel", "Remove file", TPlayerGlyph::RemoveFile, &Twnd_mp3_Player::cmDel);
    sbClear =
        button("sbClear", "Clear files", TPlayerGlyph::ClearFiles, &Twnd_mp3_Player::cmClear, 8);
    sbShowRV = button("sbShowRV", "Show/Hide Reelvault", TPlayerGlyph::ShowHide,
                      &Twnd_mp3_Player::cmShowRV);
    sbAddToML = button("sbAddToML", "Add to Media Library", TPlayerGlyph::AddToLibrary,
                       &Twnd_mp3_Player::cmAddToML);
}

void Twnd_mp3_Player::BuildList() {
    List = MakeControl<TListView>(this, this, "List", {}, alClient);
    List->SetColor(kDisplay);
    List->SetFontColor(kDisplayText);
    List->SetColumnClick(false);
    List->SetHideSelection(false);
    List->AddColumn("#", 20);
    List->AddColumn("Artist", 150);
    List->AddColumn("Album", 150);
    List->AddColumn("Track", 150);
    List->AddColumn("Time", 50, taRightJustify);
    List->AddColumn("Bitrate", 45, taRightJustify);
    List->OnDblClick = [this](TObject*) { PlaySelectedRow(); };
    List->OnKeyUp = [this](TObject* s, int& key, TShiftState shift) { ListKeyUp(s, key, shift); };
    playList_ = std::make_unique<TPlayList>(*List);

    PopupMenu = new TPopupMenu(this);
    PopupMenu->SetName("PopupMenu");
    using Handler = void (Twnd_mp3_Player::*)(TObject*);
    auto item = [this](const char* name, const char* caption, Handler handler = nullptr) {
        auto* i = new TMenuItem(this);
        if (*name) i->SetName(name);
        i->SetCaption(caption);
        if (handler) i->OnClick = [this, handler](TObject* s) { (this->*handler)(s); };
        PopupMenu->Items()->Add(i);
        return i;
    };
    pmOpen = item("pmOpen", "Add file(s)...", &Twnd_mp3_Player::cmOpen);
    pmDel = item("pmDel", "Remove file", &Twnd_mp3_Player::cmDel);
    item("", "-");
    pmClear = item("pmClear", "Remove all files", &Twnd_mp3_Player::cmClear);
    item("", "-");
    pmAddToML = item("pmAddToML", "Add to Media Library", &Twnd_mp3_Player::cmAddToML);
    List->SetPopupMenu(PopupMenu);
}

void Twnd_mp3_Player::BuildComponents() {
    Player = new Lorvix_MP3Player(this);
    Player->SetName("Player");
    Player->OnPlayComplete = [this](TObject* s) { PlayerPlayComplete(s); };
    Player->OnPlayProgress = [this](TObject* s, int secs) { PlayerPlayProgress(s, secs); };
    VolumeControl = new TVolumeControl(this);
    VolumeControl->SetName("VolumeControl");

    od = new TOpenDialog(this);
    od->SetName("od");
    od->Filter = kAudioFilesFilter;
    od->Options = ofHideReadOnly | ofAllowMultiSelect | ofPathMustExist | ofFileMustExist;

    Storage = new TFormStorage(this);
    Storage->SetName("Storage");
    Storage->SetIniFileName("SOFTWARE\\Lorvix\\Reelvault\\1.x");
    Storage->SetIniSection("MP3 Player");
    Storage->UseRegistry = true;
    Storage->SetStoredProps({{"od.InitialDir", nullptr}});
}

void Twnd_mp3_Player::FormCreate() {
    Knob->SetPosition(VolumeControl->GetVolume(voWaveOut));
}

void ShowPlayerWindow(TForm* mainWindow) {
    if (!g_playerWindow) g_playerWindow = new Twnd_mp3_Player(mainWindow);
    g_playerWindow->Show();
}

Twnd_mp3_Player* PlayerWindow() {
    return g_playerWindow;
}

}  // namespace rv
