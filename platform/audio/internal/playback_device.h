#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/internal/audio_decoder.h"
#include "platform/audio/internal/audio_sink.h"
#include "platform/audio/mci.h"

// One opened file: its decoder, its sound output and the thread that decodes into the output.
// The calling threads command the decode thread through a queue and wait until it has carried
// the command out, so every call returns with the device in its new state; the decode thread
// never waits for them, so a command is carried out even while the caller's loop is blocked.
namespace rv::audio_internal {

class PlaybackDevice {
public:
    // Reads the file's header and opens the sound output; on failure null with the error.
    static std::unique_ptr<PlaybackDevice> Open(const std::string& path, MCIDEVICEID id,
                                                MCIERROR& error);
    // Stops and ends the decode thread; a pending notification is aborted.
    ~PlaybackDevice();
    PlaybackDevice(const PlaybackDevice&) = delete;
    PlaybackDevice& operator=(const PlaybackDevice&) = delete;

    std::uint32_t LengthMs() const;
    std::uint32_t PositionMs();
    std::uint32_t Mode();

    // `play` is the number of this play, which its notification carries.
    MCIERROR Play(HWND callback, std::uint32_t& play);
    MCIERROR Stop();
    MCIERROR Pause();
    MCIERROR Resume();
    MCIERROR Seek(std::uint32_t ms);

private:
    enum class Verb { Play, Stop, Pause, Resume, Seek, Close };
    struct Command {
        Verb verb;
        HWND callback = 0;
        std::uint32_t play = 0;
        std::uint64_t frame = 0;
        bool done = false;
    };
    // Stopped: nothing queued at the output, at stoppedAt_. Playing and Paused: at runStart_ plus
    // what the output has played. PausedFlushed: paused on an output that cannot hold its queue,
    // so it was dropped and play goes on from stoppedAt_.
    enum class Phase { Stopped, Playing, Paused, PausedFlushed };

    PlaybackDevice(MCIDEVICEID id, std::unique_ptr<AudioDecoder> decoder,
                   std::unique_ptr<AudioSink> sink);
    // Queues the command and waits until the decode thread has carried it out.
    void Submit(Command& command);
    MCIERROR Carry(Command command);

    // The decode thread.
    void Run();
    bool TakeCommands();
    void Apply(const Command& command);
    void PlayStep();
    void BeginRun(std::uint64_t from);
    // Drops what the output holds and stops at the position reached (with stateMutex_ held).
    void HaltLocked();
    void Finish(WPARAM how);
    void Notify(WPARAM how);
    void QueueDecoded();

    std::uint64_t PositionLocked();

    const MCIDEVICEID id_;
    const std::unique_ptr<AudioDecoder> decoder_;
    const std::unique_ptr<AudioSink> sink_;
    const std::uint64_t length_;  // frames
    const int rate_;
    const int channels_;

    std::mutex stateMutex_;  // what the callers read
    Phase phase_ = Phase::Stopped;
    std::uint64_t runStart_ = 0;
    std::uint64_t stoppedAt_ = 0;

    std::mutex submitMutex_;  // one command at a time
    std::mutex queueMutex_;
    std::condition_variable queued_;
    std::condition_variable carriedOut_;
    std::deque<Command*> queue_;

    // The decode thread's own.
    static constexpr std::uint64_t kUnknown = ~std::uint64_t(0);
    std::uint64_t decoderAt_ = 0;     // where the decoder's next audio starts, when known
    bool ended_ = false;              // the decoder has given all it has for this run
    HWND callback_ = 0;               // the window to tell how the pending play ended
    std::uint32_t callbackPlay_ = 0;  // and the number of that play
    std::vector<float> decoded_;
    std::vector<std::int16_t> pending_;  // decoded, scaled, not yet taken by the output
    std::size_t pendingOffset_ = 0;

    std::thread thread_;
};

}  // namespace rv::audio_internal
