#include "player/lorvix_mp3_player.h"

#include <algorithm>

#include "platform/dirs/file_facts.h"
#include "platform/text/format.h"

namespace rv {

namespace {

constexpr UINT_PTR kTickerId = 1;
constexpr UINT kTickInterval = 1000;
// The first tick of a ticker, posted so that it runs after the call that started it.
constexpr UINT WM_FIRSTTICK = WM_USER + 1;

// Only a regular file (or a link to one) is a file to play: a FIFO, a device or a socket is never
// opened, as opening one may wait for ever.
bool FileExists(const std::string& name) {
    FileFacts facts;
    return GetFileFacts(name, facts) && facts.Kind == FileKind::Regular;
}

}  // namespace

Lorvix_MP3Player::Lorvix_MP3Player(TComponent* owner) : TComponent(owner) {
    notifyWindow_ = AllocateHWnd([this](TMessage& message) { WndProc(message); });
}

Lorvix_MP3Player::~Lorvix_MP3Player() {
    try {
        Close();
    } catch (...) {
        // The device is forgotten all the same.
    }
    DeallocateHWnd(notifyWindow_);
}

void Lorvix_MP3Player::SetFileName(const std::string& value) {
    if (value == fileName_) return;
    fileName_ = value;
    if (FileExists(fileName_)) {
        Open();
    } else {
        // The earlier file goes too: a play that follows must not play it under the new name.
        fileName_.clear();
        Close();
    }
}

void Lorvix_MP3Player::CheckError(MCIERROR error) {
    if (error == 0) return;
    std::string text;
    if (!MciGetErrorString(error, text)) text = "Unknown error code";
    throw eMciDeviceError(Format("%s (Error code: %d)", text.c_str(), int(error)));
}

void Lorvix_MP3Player::Open() {
    Close();
    MCIDEVICEID id = 0;
    CheckError(MciOpen(fileName_, id));
    deviceId_ = id;
}

void Lorvix_MP3Player::Close() {
    StopTicker();
    if (deviceId_ == 0) return;
    const MCIDEVICEID id = deviceId_;
    deviceId_ = 0;
    CheckError(MciClose(id));
}

int Lorvix_MP3Player::GetMode() {
    if (deviceId_ == 0) return 7;
    std::uint32_t mode = 0;
    CheckError(MciStatus(deviceId_, MCI_STATUS_MODE, mode));
    return mode >= MCI_MODE_NOT_READY && mode <= MCI_MODE_OPEN ? int(mode - MCI_MODE_NOT_READY) : 7;
}

void Lorvix_MP3Player::SetTimeFormat(std::uint32_t format) {
    if (deviceId_ != 0) CheckError(MciSetTimeFormat(deviceId_, format));
}

std::uint32_t Lorvix_MP3Player::GetLength() {
    std::uint32_t length = 0;
    if (deviceId_ != 0) CheckError(MciStatus(deviceId_, MCI_STATUS_LENGTH, length));
    return length;
}

std::uint32_t Lorvix_MP3Player::GetPosition() {
    std::uint32_t position = 0;
    if (deviceId_ != 0) CheckError(MciStatus(deviceId_, MCI_STATUS_POSITION, position));
    return position;
}

int Lorvix_MP3Player::GetLengthSecs() {
    if (deviceId_ == 0) Open();
    SetTimeFormat(MCI_FORMAT_MILLISECONDS);
    return int(GetLength() / 1000);
}

std::uint32_t Lorvix_MP3Player::GetPositionMs() {
    SetTimeFormat(MCI_FORMAT_MILLISECONDS);
    return GetPosition();
}

void Lorvix_MP3Player::Play() {
    if (deviceId_ == 0) Open();
    // A device left at its end would finish again at once: play from the start instead.
    const std::uint32_t length = GetLength();
    if (length > 0 && GetPosition() >= length) Seek(0);
    CheckError(MciPlay(deviceId_, notifyWindow_, play_));
}

void Lorvix_MP3Player::Stop() {
    if (deviceId_ != 0) CheckError(MciStop(deviceId_));
}

void Lorvix_MP3Player::Pause() {
    if (deviceId_ != 0) CheckError(MciPause(deviceId_));
}

void Lorvix_MP3Player::Resume() {
    if (deviceId_ != 0) CheckError(MciResume(deviceId_));
}

void Lorvix_MP3Player::Seek(std::uint32_t ms) {
    if (deviceId_ != 0) CheckError(MciSeek(deviceId_, ms));
}

void Lorvix_MP3Player::SeekSecs(int secs) {
    SetTimeFormat(MCI_FORMAT_MILLISECONDS);
    Seek(std::uint32_t(std::max(secs, 0)) * 1000);
}

void Lorvix_MP3Player::PlayFile() {
    if (deviceId_ == 0) Open();
    if (GetMode() == 2) StopPlaying();
    Play();
    StopTicker();
    if (OnPlayProgress) StartTicker();
}

void Lorvix_MP3Player::StopPlaying() {
    if (deviceId_ != 0) Stop();
    StopTicker();
}

void Lorvix_MP3Player::PauseIfPlaying() {
    if (deviceId_ == 0 || GetMode() != 2) return;
    Pause();
    if (ticking_) {
        StopTicker();
        tickerSuspended_ = true;
    }
}

void Lorvix_MP3Player::ResumeIfPaused() {
    if (deviceId_ == 0 || GetMode() != 5) return;
    Resume();
    if (tickerSuspended_) StartTicker();
}

void Lorvix_MP3Player::DoProgress() {
    const int secs = int(GetPositionMs() / 1000);
    if (OnPlayProgress) OnPlayProgress(this, secs);
}

void Lorvix_MP3Player::DoPlayComplete() {
    if (OnPlayComplete) OnPlayComplete(this);
}

void Lorvix_MP3Player::MCINotify(WPARAM code) {
    if (code != MCI_NOTIFY_SUCCESSFUL) return;
    StopPlaying();
    DoPlayComplete();
}

void Lorvix_MP3Player::StartTicker() {
    ticking_ = true;
    tickerSuspended_ = false;
    ++tickerRun_;
    SetTimer(notifyWindow_, kTickerId, kTickInterval);
    PostMessage(notifyWindow_, WM_FIRSTTICK, tickerRun_, 0);
}

void Lorvix_MP3Player::StopTicker() {
    ticking_ = false;
    tickerSuspended_ = false;
    KillTimer(notifyWindow_, kTickerId);
}

void Lorvix_MP3Player::WndProc(TMessage& message) {
    switch (message.Msg) {
        case MM_MCINOTIFY:
            // Only the notification of the play started last counts: one of an earlier play, on
            // its way while the device was closed or played again, belongs to no play of ours.
            if (deviceId_ != 0 && MciNotifyDevice(message.LParam) == deviceId_ &&
                MciNotifyPlay(message.LParam) == play_) {
                MCINotify(message.WParam);
            }
            break;
        case WM_TIMER:
            if (message.WParam == kTickerId && ticking_) DoProgress();
            break;
        case WM_FIRSTTICK:
            if (ticking_ && message.WParam == tickerRun_) DoProgress();
            break;
        default:
            message.Result =
                DefWindowProc(notifyWindow_, message.Msg, message.WParam, message.LParam);
    }
}

}  // namespace rv
