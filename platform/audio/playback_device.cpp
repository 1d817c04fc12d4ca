// A device's commands and its decode thread.

#include "platform/audio/internal/playback_device.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "platform/audio/wave_volume.h"

namespace rv::audio_internal {

std::unique_ptr<PlaybackDevice> PlaybackDevice::Open(const std::string& path, MCIDEVICEID id,
                                                     MCIERROR& error) {
    auto decoder = AudioDecoder::Open(path, error);
    if (!decoder) return nullptr;
    auto sink = OpenSink(SinkFormat{decoder->Rate(), decoder->Channels()}, error);
    if (!sink) return nullptr;
    return std::unique_ptr<PlaybackDevice>(
        new PlaybackDevice(id, std::move(decoder), std::move(sink)));
}

PlaybackDevice::PlaybackDevice(MCIDEVICEID id, std::unique_ptr<AudioDecoder> decoder,
                               std::unique_ptr<AudioSink> sink)
    : id_(id),
      decoder_(std::move(decoder)),
      sink_(std::move(sink)),
      length_(decoder_->LengthFrames()),
      rate_(decoder_->Rate()),
      channels_(decoder_->Channels()) {
    thread_ = std::thread([this] { Run(); });
}

PlaybackDevice::~PlaybackDevice() {
    Command close{Verb::Close};
    Submit(close);
    thread_.join();
}

std::uint32_t PlaybackDevice::LengthMs() const {
    return std::uint32_t(length_ * 1000 / std::uint64_t(rate_));
}

std::uint32_t PlaybackDevice::PositionMs() {
    std::lock_guard lock(stateMutex_);
    return std::uint32_t(PositionLocked() * 1000 / std::uint64_t(rate_));
}

std::uint64_t PlaybackDevice::PositionLocked() {
    std::uint64_t at = stoppedAt_;
    if (phase_ == Phase::Playing || phase_ == Phase::Paused) {
        at = runStart_ + sink_->PlayedFrames();
    }
    return length_ > 0 ? std::min(at, length_) : at;
}

std::uint32_t PlaybackDevice::Mode() {
    std::lock_guard lock(stateMutex_);
    switch (phase_) {
        case Phase::Playing:
            return MCI_MODE_PLAY;
        case Phase::Paused:
        case Phase::PausedFlushed:
            return MCI_MODE_PAUSE;
        case Phase::Stopped:
            break;
    }
    return MCI_MODE_STOP;
}

MCIERROR PlaybackDevice::Play(HWND callback, std::uint32_t& play) {
    static std::atomic<std::uint32_t> lastPlay{0};
    do {
        play = lastPlay.fetch_add(1) + 1;
    } while (play == 0);
    return Carry(Command{Verb::Play, callback, play});
}

MCIERROR PlaybackDevice::Stop() {
    return Carry(Command{Verb::Stop});
}

MCIERROR PlaybackDevice::Pause() {
    return Carry(Command{Verb::Pause});
}

MCIERROR PlaybackDevice::Resume() {
    return Carry(Command{Verb::Resume});
}

MCIERROR PlaybackDevice::Seek(std::uint32_t ms) {
    if (ms > LengthMs()) return MCIERR_OUTOFRANGE;
    // Rounded up, so that the position read back is the one asked for.
    const std::uint64_t frame = (std::uint64_t(ms) * std::uint64_t(rate_) + 999) / 1000;
    return Carry(Command{Verb::Seek, 0, 0, std::min(frame, length_)});
}

MCIERROR PlaybackDevice::Carry(Command command) {
    Submit(command);
    return 0;
}

void PlaybackDevice::Submit(Command& command) {
    std::lock_guard submitting(submitMutex_);
    {
        std::lock_guard lock(queueMutex_);
        queue_.push_back(&command);
    }
    queued_.notify_all();
    sink_->Interrupt();
    std::unique_lock lock(queueMutex_);
    carriedOut_.wait(lock, [&] { return command.done; });
}

void PlaybackDevice::Run() {
    for (;;) {
        // Cleared before the queue is read: an interruption for a command queued after that
        // read stays set and ends the next wait at the output.
        sink_->ClearInterrupt();
        if (!TakeCommands()) return;
        if (phase_ == Phase::Playing) {
            PlayStep();
        } else {
            std::unique_lock lock(queueMutex_);
            queued_.wait(lock, [this] { return !queue_.empty(); });
        }
    }
}

bool PlaybackDevice::TakeCommands() {
    std::unique_lock lock(queueMutex_);
    while (!queue_.empty()) {
        Command* command = queue_.front();
        queue_.pop_front();
        lock.unlock();
        Apply(*command);
        const bool closing = command->verb == Verb::Close;
        lock.lock();
        command->done = true;
        carriedOut_.notify_all();
        if (closing) return false;
    }
    return true;
}

void PlaybackDevice::Apply(const Command& command) {
    std::lock_guard lock(stateMutex_);
    switch (command.verb) {
        case Verb::Play:
            Notify(MCI_NOTIFY_SUPERSEDED);
            callback_ = command.callback;
            callbackPlay_ = command.play;
            if (phase_ == Phase::Paused) {
                sink_->SetPaused(false);
                phase_ = Phase::Playing;
            } else if (phase_ != Phase::Playing) {
                BeginRun(stoppedAt_);
            }
            break;
        case Verb::Stop:
            Notify(MCI_NOTIFY_ABORTED);
            HaltLocked();
            break;
        case Verb::Pause:
            if (phase_ != Phase::Playing) break;
            if (sink_->SetPaused(true)) {
                phase_ = Phase::Paused;
            } else {
                HaltLocked();
                phase_ = Phase::PausedFlushed;
            }
            break;
        case Verb::Resume:
            if (phase_ == Phase::Paused) {
                sink_->SetPaused(false);
                phase_ = Phase::Playing;
            } else if (phase_ == Phase::PausedFlushed) {
                BeginRun(stoppedAt_);
            }
            break;
        case Verb::Seek:
            Notify(MCI_NOTIFY_ABORTED);
            HaltLocked();
            stoppedAt_ = command.frame;
            break;
        case Verb::Close:
            Notify(MCI_NOTIFY_ABORTED);
            HaltLocked();
            break;
    }
}

void PlaybackDevice::BeginRun(std::uint64_t from) {
    if (decoderAt_ != from) {
        decoder_->Seek(from);
        decoderAt_ = from;
    }
    ended_ = false;
    pending_.clear();
    pendingOffset_ = 0;
    runStart_ = from;
    sink_->Start();
    phase_ = Phase::Playing;
}

void PlaybackDevice::HaltLocked() {
    if (phase_ == Phase::Playing || phase_ == Phase::Paused) {
        stoppedAt_ = PositionLocked();
        sink_->Flush();
        // The decoder has run ahead of what was played.
        decoderAt_ = kUnknown;
    }
    phase_ = Phase::Stopped;
}

void PlaybackDevice::PlayStep() {
    if (pendingOffset_ < pending_.size()) {
        const std::size_t frames = (pending_.size() - pendingOffset_) / std::size_t(channels_);
        const std::ptrdiff_t taken = sink_->Write(pending_.data() + pendingOffset_, frames);
        if (taken < 0) return Finish(MCI_NOTIFY_FAILURE);
        pendingOffset_ += std::size_t(taken) * std::size_t(channels_);
        return;
    }
    if (!ended_) {
        decoderAt_ = kUnknown;
        decoded_.clear();
        if (decoder_->Decode(decoded_)) {
            QueueDecoded();
        } else {
            ended_ = true;
        }
        return;
    }
    switch (sink_->WaitDrained()) {
        case DrainResult::Drained:
            return Finish(MCI_NOTIFY_SUCCESSFUL);
        case DrainResult::Failed:
            return Finish(MCI_NOTIFY_FAILURE);
        case DrainResult::Interrupted:
            return;
    }
}

// The end of a play that was not commanded: played out, or the output failed. The notification
// is posted before the stop can be seen, so whoever sees the device stopped finds it queued.
void PlaybackDevice::Finish(WPARAM how) {
    std::lock_guard lock(stateMutex_);
    const bool playedOut = how == MCI_NOTIFY_SUCCESSFUL;
    HaltLocked();
    // Played to its end the device stands at its length, however many frames the header's
    // length and the decoder's count differ by.
    if (playedOut && length_ > 0) stoppedAt_ = length_;
    Notify(how);
}

void PlaybackDevice::Notify(WPARAM how) {
    if (callback_ != 0) {
        const auto device = LPARAM(id_) | LPARAM(std::uint64_t(callbackPlay_) << 16);
        PostMessage(callback_, MM_MCINOTIFY, how, device);
    }
    callback_ = 0;
}

// Applies the wave volume, unless the output carries it, and makes 16-bit samples of the decoded
// floats.
void PlaybackDevice::QueueDecoded() {
    std::uint32_t volume = WaveOutGetVolume();
    if (sink_->CarryVolume(volume)) volume = 0xFFFFFFFF;
    const float gains[2] = {float(volume & 0xFFFF) / 65535.0f, float(volume >> 16) / 65535.0f};
    pending_.resize(decoded_.size());
    for (std::size_t i = 0; i < decoded_.size(); ++i) {
        const float gain = gains[channels_ == 2 ? i % 2 : 0];
        const float value = std::round(decoded_[i] * gain * 32768.0f);
        pending_[i] = std::isnan(value) ? 0 : std::int16_t(std::clamp(value, -32768.0f, 32767.0f));
    }
    pendingOffset_ = 0;
}

}  // namespace rv::audio_internal
