#pragma once

#include <memory>
#include <string>

#include "platform/framework/common_dialogs.h"
#include "platform/framework/form.h"
#include "platform/framework/label.h"
#include "platform/framework/list_view.h"
#include "platform/framework/panel.h"
#include "platform/framework/status_bar.h"
#include "player/fat_scroll_bar.h"
#include "player/knob.h"
#include "player/lorvix_mp3_player.h"
#include "player/play_list.h"
#include "player/volume_control.h"
#include "widgets/form_storage.h"
#include "widgets/lb_speed_button.h"

namespace rv {

class TMediaLibraryLink;

inline constexpr const char* kPlayerCaption = "Lorvix MP3 Player";
// The time panel while nothing has played.
inline constexpr const char* kTimePanelIdle = "0:00";
inline constexpr const char* kAudioFilesFilter =
    "Audio files|*.mp1;*.mp2;*.mp3;*.wma|MP3 files|*.mp1;*.mp2;*.mp3|WMA files|*.wma|All files|*.*";

// The player window: a play list of MPEG audio and Windows Media Audio files, played one after
// the other, with the elapsed time on a position bar and a time panel, and a volume knob. It can
// hide and show the main window, and add a file to the main window's library.
//
// It belongs to the main window. Closing it hides it; closing it while the main window is hidden
// closes the main window too, which then shows itself first, so that a close the main window
// refuses leaves a window on the screen. Its place, and the folder the open dialog was last in,
// are kept in the registry under "SOFTWARE\Lorvix\Reelvault\1.x\MP3 Player".
class Twnd_mp3_Player : public TForm {
public:
    // Made hidden. `mainWindow` owns it; when it also implements TMediaLibraryLink, "Add to
    // Media Library" files tracks there.
    explicit Twnd_mp3_Player(TForm* mainWindow);
    ~Twnd_mp3_Player() override;
    std::string ClassName() const override { return "Twnd_mp3_Player"; }

    // ---- Components, by the names the commands use -------------------------------------------
    TStatusBar* sb;
    TPanel* TopPanel;
    TLabel* lFormat;
    TFatScrollBar* Trackbar;
    TLabel* lCM;
    TPanel* TimePanel;
    TKnob* Knob;
    TPanel* ButtonPanel;
    TLbSpeedButton *sbPlay, *sbPause, *sbStop, *sbPrior, *sbNext, *sbExit, *sbOpen, *sbDel,
        *sbClear, *sbShowRV, *sbAddToML;
    TListView* List;
    TPopupMenu* PopupMenu;
    TMenuItem *pmOpen, *pmDel, *pmClear, *pmAddToML;
    Lorvix_MP3Player* Player;
    TVolumeControl* VolumeControl;
    TOpenDialog* od;
    TFormStorage* Storage;

    TPlayList& PlayList() { return *playList_; }

    // ---- Commands ----------------------------------------------------------------------------
    // Resumes a paused file; otherwise plays the selected row, or the first when none is.
    void cmPlay(TObject* sender);
    void cmPause(TObject* sender);
    // Stops and goes back to the start of the file.
    void cmStop(TObject* sender);
    // Play the row above or below the selected one; past either end, or with none selected,
    // the first row.
    void cmPrior(TObject* sender);
    void cmNext(TObject* sender);
    void cmExit(TObject* sender);
    // Adds the files chosen in the open dialog, then shows the totals.
    void cmOpen(TObject* sender);
    // Removes the selected row and selects the one below it (above, for the last).
    void cmDel(TObject* sender);
    void cmClear(TObject* sender);
    void cmShowRV(TObject* sender);
    void cmAddToML(TObject* sender);

    // ---- Events ------------------------------------------------------------------------------
    void PlayerPlayProgress(TObject* sender, int aSecs);
    void PlayerPlayComplete(TObject* sender);
    // The user moved the position bar: playing goes on from there.
    void TrackBarChange(TObject* sender);
    void KnobChange(TObject* sender);
    void ListKeyUp(TObject* sender, int& key, TShiftState shift);
    void FormClose(TObject* sender, TCloseAction& action);

    void WndProc(TMessage& message) override;

private:
    void BuildTopPanel();
    void BuildButtons();
    void BuildList();
    void BuildComponents();
    void FormCreate();
    // Starts the selected row (the first when none is), whatever the player is doing. When it
    // cannot be played, the error goes on to the caller and the displays show no file.
    void PlaySelectedRow();
    void StartSelectedRow();
    // The format and channel labels, the position bar and the time panel as before any play.
    void ClearPlayingDisplays();
    // Selects the row at `index`, none when there is no such row.
    void SelectRow(int index);
    // The row's sub-item; empty without a selected row.
    std::string SelectedText(TPlayListItem item) const;
    void ShowTotals();
    void SetApplicationTitle(const std::string& title);
    // The main window, and this one, minimised.
    void MinimizeApplication();

    TForm* mainWindow_;
    TMediaLibraryLink* library_;
    std::unique_ptr<TPlayList> playList_;
    // Of the row started last, for the application's title.
    std::string artist_, title_;
    // Set while the program moves the position bar: its change is then no seek.
    bool barQuiet_ = false;
    bool minimized_ = false;
};

// Shows the player window, making it first (owned by `mainWindow`) when there is none yet; the
// window is kept when closed and shown again by the next call.
void ShowPlayerWindow(TForm* mainWindow);
// The window ShowPlayerWindow made; nullptr before it, and after the window was freed.
Twnd_mp3_Player* PlayerWindow();

}  // namespace rv
