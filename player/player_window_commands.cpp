// The player window's commands and the events of its player, bar and knob.

#include "platform/dirs/file_names.h"
#include "platform/messages/application.h"
#include "platform/text/format.h"
#include "platform/windows/top_level_window.h"
#include "player/media_library_link.h"
#include "player/player_window.h"

namespace rv {

namespace {

constexpr int kPaused = 5;

// While it lives, moves of the position bar are the program's own, not the user's.
class TQuietBar {
public:
    explicit TQuietBar(bool& quiet) : quiet_(quiet), was_(quiet) { quiet = true; }
    ~TQuietBar() { quiet_ = was_; }
    TQuietBar(const TQuietBar&) = delete;
    TQuietBar& operator=(const TQuietBar&) = delete;

private:
    bool& quiet_;
    bool was_;
};

}  // namespace

std::string Twnd_mp3_Player::SelectedText(TPlayListItem item) const {
    const TListItem* row = List->Selected();
    return row ? row->SubItem(item) : std::string();
}

void Twnd_mp3_Player::SelectRow(int index) {
    List->SetItemIndex(index);
    if (TListItem* row = List->Selected()) row->MakeVisible();
}

void Twnd_mp3_Player::SetApplicationTitle(const std::string& title) {
    if (Application) Application->Title = title;
}

void Twnd_mp3_Player::ShowTotals() {
    sb->Panels(0)->SetText(playList_->TotalsText());
}

// ---- Playing ---------------------------------------------------------------------------------

void Twnd_mp3_Player::cmPlay(TObject*) {
    if (Player->GetMode() == kPaused) {
        Player->ResumeIfPaused();
        return;
    }
    PlaySelectedRow();
}

void Twnd_mp3_Player::PlaySelectedRow() {
    if (List->ItemCount() == 0) return;
    if (!List->Selected()) SelectRow(0);
    try {
        StartSelectedRow();
    } catch (...) {
        // Nothing plays now: what the displays showed of the file before is no longer true.
        ClearPlayingDisplays();
        throw;
    }
}

void Twnd_mp3_Player::ClearPlayingDisplays() {
    lFormat->SetCaption("");
    lCM->SetCaption("");
    {
        TQuietBar quiet(barQuiet_);
        Trackbar->SetPosition(0);
    }
    Trackbar->Hint.clear();
    TimePanel->SetCaption(kTimePanelIdle);
}

void Twnd_mp3_Player::StartSelectedRow() {
    Player->SetFileName(SelectedText(piFileName));
    artist_ = SelectedText(piArtist);
    title_ = SelectedText(piTitle);
    lFormat->SetCaption(SelectedText(piFormat));
    lCM->SetCaption(SelectedText(piChannelMode));
    if (!mainWindow_->Visible())
        SetApplicationTitle(Format("%s - %s", artist_.c_str(), title_.c_str()));
    {
        // A shorter file takes the bar's position along: that is no move of the user's.
        TQuietBar quiet(barQuiet_);
        Trackbar->SetMax(Player->GetLengthSecs());
    }
    Player->PlayFile();
}

void Twnd_mp3_Player::cmPause(TObject*) {
    Player->PauseIfPlaying();
}

void Twnd_mp3_Player::cmStop(TObject*) {
    Player->StopPlaying();
    Player->SeekSecs(0);
}

void Twnd_mp3_Player::cmPrior(TObject*) {
    if (const TListItem* row = List->Selected()) SelectRow(row->Index() - 1);
    PlaySelectedRow();
}

void Twnd_mp3_Player::cmNext(TObject*) {
    if (const TListItem* row = List->Selected()) SelectRow(row->Index() + 1);
    PlaySelectedRow();
}

void Twnd_mp3_Player::PlayerPlayProgress(TObject*, int aSecs) {
    {
        TQuietBar quiet(barQuiet_);
        Trackbar->SetPosition(aSecs);
    }
    const std::string text = Format("%2.2d:%2.2d", aSecs / 60, aSecs % 60);
    TimePanel->SetCaption(text);
    Trackbar->Hint = text;
}

void Twnd_mp3_Player::TrackBarChange(TObject*) {
    // Nothing to seek in before a file was played.
    if (Player->DeviceId() == 0) return;
    TQuietBar quiet(barQuiet_);
    const int secs = Trackbar->Position();
    Player->SeekSecs(secs);
    Trackbar->Hint = Format("%2.2d:%2.2d", secs / 60, secs % 60);
    Player->PlayFile();
}

void Twnd_mp3_Player::PlayerPlayComplete(TObject*) {
    const TListItem* row = List->Selected();
    if (!row) return;
    const int next = row->Index() + 1;
    if (row->SubItem(piFileName) == Player->FileName()) SelectRow(next);
    if (next < List->ItemCount()) PlaySelectedRow();
}

void Twnd_mp3_Player::KnobChange(TObject*) {
    VolumeControl->SetVolume(voWaveOut, Knob->Position());
    Knob->Hint = Format("Volume: %d", VolumeControl->GetVolume(voWaveOut));
}

// ---- The play list ---------------------------------------------------------------------------

void Twnd_mp3_Player::cmOpen(TObject*) {
    if (!od->Execute()) return;
    if (!od->Files().empty()) od->InitialDir = ExtractFileDir(od->Files().front());
    for (const std::string& file : od->Files()) playList_->AddFile(file);
    ShowTotals();
}

void Twnd_mp3_Player::cmDel(TObject*) {
    const TListItem* row = List->Selected();
    if (!row) return;
    const int index = row->Index();
    playList_->Delete(index);
    SelectRow(index < List->ItemCount() ? index : index - 1);
    ShowTotals();
}

void Twnd_mp3_Player::cmClear(TObject*) {
    playList_->Clear();
    ShowTotals();
}

void Twnd_mp3_Player::ListKeyUp(TObject*, int& key, TShiftState) {
    if (key == VK_DELETE) cmDel(List);
}

// ---- The window and the main window ----------------------------------------------------------

void Twnd_mp3_Player::cmExit(TObject*) {
    Close();
}

void Twnd_mp3_Player::cmShowRV(TObject*) {
    mainWindow_->SetVisible(!mainWindow_->Visible());
    if (mainWindow_->Visible())
        SetApplicationTitle(mainWindow_->Caption());
    else if (List->Selected())
        SetApplicationTitle(Format("%s - %s", artist_.c_str(), title_.c_str()));
    else
        SetApplicationTitle(Caption());
}

void Twnd_mp3_Player::cmAddToML(TObject* sender) {
    if (!List->Selected() || !library_ || !library_->LibraryShown()) return;
    library_->AddFileTrack(SelectedText(piFileName));
    if (!mainWindow_->Visible()) cmShowRV(sender);
}

void Twnd_mp3_Player::FormClose(TObject* sender, TCloseAction&) {
    if (mainWindow_->Visible()) return;
    // Shown first: should the main window refuse to close, it stays on the screen.
    cmShowRV(sender);
    mainWindow_->Close();
}

void Twnd_mp3_Player::MinimizeApplication() {
    if (mainWindow_->Visible()) mainWindow_->SetWindowState(wsMinimized);
    SetWindowState(wsMinimized);
}

void Twnd_mp3_Player::WndProc(TMessage& message) {
    if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_MINIMIZE) {
        MinimizeApplication();
        return;
    }
    TForm::WndProc(message);
    // Minimised by the desktop's own button, which sends no system command here.
    if (message.Msg == WM_WINDOWPOSCHANGED) {
        const bool minimized = WindowState() == wsMinimized;
        if (minimized && !minimized_ && mainWindow_->Visible())
            mainWindow_->SetWindowState(wsMinimized);
        minimized_ = minimized;
    }
}

}  // namespace rv
