#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/audio/mci.h"
#include "platform/base/exception.h"
#include "platform/components/component.h"
#include "platform/messages/messages.h"

namespace rv {

// Raised for every failure of the media control interface, as "<text> (Error code: <number>)".
class eMciDeviceError : public Exception {
public:
    using Exception::Exception;
};

// The playing position in whole seconds.
using TPlayProgress = std::function<void(TObject* sender, int aSecs)>;

// Plays one audio file at a time through the media control interface: opens it as a device,
// plays, pauses, resumes, stops and seeks; while playing it reports the position once a second
// through OnPlayProgress, and the end of the file through OnPlayComplete. Both events come in
// the GUI thread: the end as a notification to a hidden window of the component, the progress
// from a timer of that window, of which there is never more than one.
class Lorvix_MP3Player : public TComponent {
public:
    explicit Lorvix_MP3Player(TComponent* owner);
    ~Lorvix_MP3Player() override;

    std::string ClassName() const override { return "Lorvix_MP3Player"; }

    // Setting a new name opens the file at once when it exists, and clears the name (closing the
    // earlier file) when it does not (a FIFO, a device or a socket counts as not existing). Names
    // are compared exactly: on Linux "a.mp3" and "A.mp3" are two files.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& value);

    TPlayProgress OnPlayProgress;
    TNotifyEvent OnPlayComplete;

    // The device of the open file; 0 when none is open.
    MCIDEVICEID DeviceId() const { return deviceId_; }

    void Open();
    void Close();
    // 0 not ready, 1 stopped, 2 playing, 3 recording, 4 seeking, 5 paused, 6 open; 7 for any
    // other answer and when no device is open.
    int GetMode();
    void SetTimeFormat(std::uint32_t format);
    // In the time format set; 0 without a device.
    std::uint32_t GetLength();
    std::uint32_t GetPosition();
    // Opens the file when needed.
    int GetLengthSecs();
    std::uint32_t GetPositionMs();

    // Opens the file when needed and plays from the position reached, or from the start when
    // that is the end; the end is then reported through OnPlayComplete.
    void Play();
    void Stop();
    void Pause();
    void Resume();
    void Seek(std::uint32_t ms);
    void SeekSecs(int secs);

    // Plays (stopping a play that runs) and, with OnPlayProgress assigned, reports the position
    // now and then once a second until StopPlaying, the end of the file, Open or Close.
    void PlayFile();
    void StopPlaying();
    void PauseIfPlaying();
    void ResumeIfPaused();

protected:
    // Raises eMciDeviceError for a non-zero error number.
    void CheckError(MCIERROR error);
    // Reports the position through OnPlayProgress.
    virtual void DoProgress();
    virtual void DoPlayComplete();
    // A notification of the open device: only a play that ended successfully counts.
    virtual void MCINotify(WPARAM code);

private:
    void WndProc(TMessage& message);
    void StartTicker();
    void StopTicker();

    std::string fileName_;
    MCIDEVICEID deviceId_ = 0;
    // The number of the play started last, which its notification carries.
    std::uint32_t play_ = 0;
    HWND notifyWindow_ = 0;
    bool ticking_ = false;
    bool tickerSuspended_ = false;
    // Tells the first tick that PlayFile posts from one of an earlier ticker.
    WPARAM tickerRun_ = 0;
};

}  // namespace rv
