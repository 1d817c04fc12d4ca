#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/preferences.h"
#include "cd/cd_info.h"
#include "cd/toc_reading.h"
#include "import/file_import.h"
#include "medialib/media_lib.h"
#include "platform/framework/application_events.h"
#include "platform/framework/common_dialogs.h"
#include "platform/framework/form.h"
#include "platform/framework/image.h"
#include "platform/framework/label.h"
#include "platform/framework/panel.h"
#include "platform/framework/splitter.h"
#include "platform/framework/status_bar.h"
#include "platform/graphics/image_list.h"
#include "player/media_library_link.h"
#include "tree/string_tree.h"
#include "widgets/form_storage.h"
#include "widgets/lb_button.h"
#include "widgets/lb_speed_button.h"
#include "widgets/mru_list.h"

namespace rv {

class TCddb;
class TFindFile;
class TSearchRec;
class Twnd_rv_Splash;

// The window's private messages: the progress window's Stop, and the steps of a CD look-up,
// each started outside the event that announced the step before.
inline constexpr UINT WM_STOPSCAN = 2024;
inline constexpr UINT WM_CDDBREAD = 3024;
inline constexpr UINT WM_CDDBADD = 3025;
inline constexpr UINT WM_CDDBEND = 3026;
// A look-up ended without a disc to file: tells the user why, after the client's event.
inline constexpr UINT WM_CDDBFAILED = 3027;

inline constexpr const char* kProgramTitle = "Lorvix Reelvault";
inline constexpr const char* kLibraryFilter = "Lorvix MediaLib files|*.rvl|All files|*.*";
inline constexpr const char* kXmlFilter = "XML files|*.xml|All files|*.*";
// What a folder scan looks for. Files named .M4A or .MP4 are not searched, although the import
// takes them when they are added one by one.
inline constexpr const char* kScanMasks =
    "*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;*.AAC;*.FLAC;*.OFR";
// The audio files' dialog: every format the import takes, then each format alone.
inline constexpr const char* kAudioFilter =
    "Supported audio files|*.MP1;*.MP2;*.MP3;*.MP+;*.MPC;*.MPP;*.OGG;*.VQF;*.MAC;*.APE;*.WMA;*.WV;"
    "*.AAC;*.FLAC;*.OFR|MP3 (*.mp1;*.mp2;*.mp3)|*.mp1;*.mp2;*.mp3|MP3 Plus (*.mpc;*.mp+;*.mpp)|"
    "*.mpc;*.mp+;*.mpp|Ogg Vorbis (*.ogg)|*.ogg|Monkey Audio (*.ape;*.mac)|*.ape;*.mac|Twin VQ "
    "(*.vqf)|*.vqf|Windows Media Audio (*.wma)|*.wma|OptimFROG (*.ofr)|*.ofr|Dolby's Compressed "
    "Audio (*.aac)|*.aac|Free Lossless Audio Codec (*.flac)|*.flac|Packed WAVE (*.wv)|*.wv";
// The colour behind the three library views.
inline constexpr TColor kViewBackground = 3684381;

// The main window: the library with its three views, the menus, the tool bar and the status
// bar, and everything the commands need (dialogs, readers, the folder search, the CDDB client,
// recent files, stored settings). It owns the library; the views hold only addresses into it.
class Twnd_rv_Main : public TForm, public TMediaLibraryLink {
public:
    // Makes the components and runs FormCreate; the window is hidden.
    explicit Twnd_rv_Main(TComponent* owner);
    ~Twnd_rv_Main() override;
    std::string ClassName() const override { return "Twnd_rv_Main"; }

    TMediaLib& Library() { return library_; }
    FileImport& Import() { return import_; }

    // ---- Components, by the names the commands use -----------------------------------------
    TMainMenu* MainMenu;
    TPopupMenu* PopupMenu;
    TMenuItem *mmFile, *mmEdit, *mmTools, *mmHelp;
    TMenuItem *mmNew, *mmOpen, *mmSave, *mmSaveAs, *mmSavePresentation, *mmSaveBrief, *mmSaveDetail,
        *mmAppend, *mmScan, *mmPrefs, *mmExit;
    TMenuItem *mmAddFileTrack, *mmAddTrack, *mmTrackProps, *mmAlbumProps, *mmArtistProps,
        *mmLibProps, *mmDeleteTrack, *mmDeleteAlbum, *mmDeleteArtist, *mmClearLibrary;
    TMenuItem *mmMP3Player, *mmAbout;
    TMenuItem *pmAddTrack, *pmAlbumProps, *pmArtistProps, *pmDeleteAlbum, *pmDeleteArtist;
    TPanel* Panel1;
    TLbSpeedButton *sbNew, *sbOpen, *sbSave, *sbScan, *sbPrefs, *sbExit, *sbMP3Player;
    TStatusBar* sb;
    TPanel* Panel;
    TPanel* TreePanel;
    TVirtualStringTree* Tree;
    TSplitter* Splitter;
    TPanel* ListPanel;
    TPanel* AlbumPanel;
    TLabel *lArtist, *lTitle, *lRelease, *lGenre, *lTime, *lMT;
    TImage* AlbumImage;
    TLbButton* bAlbumProps;
    TVirtualStringTree* TrackList;
    TVirtualStringTree* AlbumList;
    TImageList ImageList{16, 16};
    TSaveDialog* sd;
    TOpenDialog* od;
    TOpenDialog* od1;
    TSaveDialog* sd1;
    TCddb* CddbClient;
    Lorvix_MRUList* MRUList;
    TFormStorage* Storage;
    TApplicationEvents* ApplicationEvents;
    std::unique_ptr<TFindFile> FindFile;

    // ---- Keeping the commands enabled ----------------------------------------------------------
    // One idle pass: every command's enabled state from the library and the views, then the
    // file name in the status bar and the caption.
    void ApplicationEventsIdle(TObject* sender, bool& done);
    void UpdateCommands();
    bool LibraryShown() const override;
    // The focused node of a view that is shown; nullptr for a hidden view.
    PVirtualNode FocusedIn(TVirtualStringTree* view) const;

    // ---- Saving before the library is replaced -------------------------------------------------
    // When the library was modified, asks whether to save it: Yes saves (through Save As when it
    // has no file yet), No goes on, Cancel raises the silent abort. A Save As cancelled or a save
    // that failed (shown to the user) aborts too, so the changes are never lost unasked.
    void AskSave();

    // ---- The library views ---------------------------------------------------------------------
    // Rebuilds the artist tree and selects (ArtistPos, AlbumPos, -1); shows the library area.
    void RefreshTree(int artistPos, int albumPos);
    // The right-hand side for an artist (albumPos -1: its albums) or an album (its tracks).
    void ShowSelection(int artistPos, int albumPos);
    // The first node, in pre-order, whose address equals `index`; nullptr when none.
    PVirtualNode FindNode(TBaseVirtualTree* control, const TFindIndex& index);
    // Focuses and selects the node, opens its parent and shows one row of context above it.
    void SelectNode(TBaseVirtualTree* control, PVirtualNode node);
    // Hides a right-hand view and empties it, so that nothing acts on addresses it still held.
    void HideView(TVirtualStringTree* view);
    void HideRightViews();
    // The address a node carries.
    static TFindIndex& NodeIndex(TBaseVirtualTree* control, PVirtualNode node);

    // View events.
    void TreeChange(TBaseVirtualTree* sender, PVirtualNode node);
    void ListHeaderClick(TVTHeader* sender, TColumnIndex column, TMouseButton button,
                         TShiftState shift, int x, int y);
    void TreeListIncrementalSearch(TBaseVirtualTree* sender, PVirtualNode node,
                                   const std::string& text, int& result);
    void ListIncrementalSearch(TBaseVirtualTree* sender, PVirtualNode node, const std::string& text,
                               int& result);
    void AlbumListDblClick(TObject* sender);

    // ---- File import ----------------------------------------------------------------------------
    // Files one audio file into the window's library, then rebuilds the tree with the new track's
    // album selected (nothing selected when the file gave no track). "Add Track from File..."
    // and the player window's "add to library" come here.
    void AddFileTrack(const std::string& fileName) override;

    // ---- The progress window -------------------------------------------------------------------
    // Shows the progress window with `text`, and the Stop button when `showStop`, in place of
    // any open one. While one with Stop is up the program takes no command.
    void ShowSplash(const std::string& text, bool showStop);
    // Closes the progress window, if one is open.
    void HideSplash();
    Twnd_rv_Splash* Splash() const { return splash_; }

    // ---- The folder scan -----------------------------------------------------------------------
    // Imports every audio file below `folder` (see kScanMasks) in the folder search's worker;
    // the root of a CD drive holding an audio disc goes to the CD import instead. Does nothing
    // while a scan runs, and tells the user so while a CD look-up runs.
    void ScanFolder(const std::string& folder);
    bool Scanning() const;
    void FindFileSearchBegin(TFindFile& sender);
    void FindFileFileMatch(TFindFile& sender, const std::string& folder,
                           const TSearchRec& fileInfo);
    void FindFileSearchFinish(TFindFile& sender);

    // ---- Library files -------------------------------------------------------------------------
    // Asks to save the library, then loads the file in its place and lists it first among the
    // recent files. A file that is no library is reported and changes nothing.
    void OpenLibrary(const std::string& fileName);

    // ---- Commands ------------------------------------------------------------------------------
    void cmNew(TObject* sender);
    void cmOpen(TObject* sender);
    void cmSave(TObject* sender);
    void cmSaveAs(TObject* sender);
    void cmSavePresentation(TObject* sender);
    void cmAppend(TObject* sender);
    void cmScan(TObject* sender);
    void cmPrefs(TObject* sender);
    void cmExit(TObject* sender);
    void cmAddFileTrack(TObject* sender);
    void cmAddTrack(TObject* sender);
    void cmTrackProps(TObject* sender);
    void cmAlbumProps(TObject* sender);
    void cmArtistProps(TObject* sender);
    void cmLibProps(TObject* sender);
    void cmDeleteTrack(TObject* sender);
    void cmDeleteAlbum(TObject* sender);
    void cmDeleteArtist(TObject* sender);
    void cmClearLibrary(TObject* sender);
    void cmMP3Player(TObject* sender);
    void cmAbout(TObject* sender);
    void MRUListMenuItemClick(TObject* sender);
    // Runs a command of the menus or the tool bar, unless a scan runs: the scan files into the
    // library that the command would change or replace.
    void RunCommand(void (Twnd_rv_Main::*command)(TObject*), TObject* sender);

    // ---- Settings -------------------------------------------------------------------------------
    // The CDDB site and proxy, read from the storage's values when the window is first shown
    // (StorageRestorePlacement) and written back when the preferences dialog closes with OK.
    TPreferences Prefs;
    void StorageRestorePlacement(TObject* sender);
    void LoadSettings();
    void SaveSettings();

    // ---- Audio CD import ------------------------------------------------------------------------
    // Where a look-up stands: the query sent, the match being chosen, the entry being read, the
    // entry read and its disc about to be filed.
    enum class TCdLookup { Idle, Querying, Choosing, Reading, Filing };
    TCdLookup CdLookup() const { return cdLookup_; }
    // Reads the table of contents of the drive (its device or mount folder): true when the disc
    // holds an audio track.
    bool DiscHasAudio(const std::string& drive);
    // Asks the settings' CDDB site for the disc just read, with a progress window.
    void QueryCddb();
    void CddbClientMatch(TObject* sender, const TMatchArray& matches, int& rightOne);
    // Both the client's status and data events: only its state counts for the steps. A look-up
    // that ends without a disc (no match, a failed read or request) tells the user why, once,
    // with the client's last status and the server's last error answer.
    void CddbClientDataExchange(TObject* sender, const std::string& text);
    // What reading the drive has to tell (a device error, a fall-back taken): a message box,
    // each text once in a look-up.
    void CddbClientDriveNotice(TObject* sender, TCDNotice notice, const std::string& text);

    // Closing asks AskSave; Cancel (or a save that did not happen) keeps the window open.
    void FormCloseQuery(TObject* sender, bool& canClose);

    void WndProc(TMessage& message) override;
    void WMStopScan(TMessage& message);
    void WMCddbRead(TMessage& message);
    void WMCddbAdd(TMessage& message);
    void WMCddbEnd(TMessage& message);
    void WMCddbFailed(TMessage& message);

private:
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildLibraryArea();
    void BuildAlbumPanel();
    // Places the album header's button and the texts beside it for the header's width and texts.
    void LayOutAlbumHeader();
    void BuildDialogs();
    void SetUpViews();
    void FormCreate();
    // The settings' stored values and the CDDB client's design settings.
    void SetUpSettings();
    void SetUpCdImport();
    // The look-up ended without a disc: closes its progress window and tells why.
    void FailCdLookup();
    // Saves to the library's file, or to one the user picks; false when none was picked or the
    // save failed (the failure shown).
    bool SaveLibrary();
    // True when a scan of `folder` must wait: a folder scan or a CD look-up runs, and each shows
    // its progress in the one progress window. While a look-up runs the user is told why.
    bool ScanRefused(const std::string& folder);
    // True while a CD look-up runs, up to the filing of its disc: what the user asked for waits
    // for its end, and a message box says so, with `because` (when given) saying why, and
    // `tryAgain` what to do again once the look-up has ended.
    bool LookUpRefuses(const std::string& tryAgain, const std::string& because = {});
    // The CD import's road into a scan: true when it took `folder` (the root of a CD drive
    // holding an audio disc) for a CD look-up.
    bool TakeCdRoad(const std::string& folder);
    // "Select and show" the track at `index`: its album in the tree, the album's tracks on the
    // right with the track focused.
    void SelectTrack(const TFindIndex& index);

    TMediaLib library_;
    FileImport import_;
    Twnd_rv_Splash* splash_ = nullptr;
    TCdLookup cdLookup_ = TCdLookup::Idle;
    // Of the look-up's step under way: the client's last status and the server's last error
    // answer; the reason told once the step has failed; the drive's notices shown.
    std::string cddbStatus_, cddbServerAnswer_;
    std::string cddbFailure_;
    bool cddbNoMatch_ = false;
    std::vector<std::string> driveNotices_;
};

}  // namespace rv
