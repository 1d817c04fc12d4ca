// The ALSA output: the "default" PCM, opened without blocking so that a busy device answers at
// once and a waiting write can be interrupted.

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "platform/audio/internal/audio_sink.h"

namespace rv::audio_internal {

namespace {

// How often a waiting write or drain looks at the device again.
constexpr auto kPollInterval = std::chrono::milliseconds(10);

class AlsaSink : public AudioSink {
public:
    AlsaSink(snd_pcm_t* pcm, bool canPause) : pcm_(pcm), canPause_(canPause) {}
    ~AlsaSink() override { snd_pcm_close(pcm_); }

    void Start() override {
        std::lock_guard lock(mutex_);
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_PAUSED) snd_pcm_pause(pcm_, 0);
        written_ = 0;
        played_ = 0;
    }

    std::ptrdiff_t Write(const std::int16_t* samples, std::size_t count) override {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (Interrupted()) return 0;
            const snd_pcm_sframes_t result = snd_pcm_writei(pcm_, samples, count);
            if (result > 0) {
                written_ += std::uint64_t(result);
                return std::ptrdiff_t(result);
            }
            if (result == -EPIPE || result == -ESTRPIPE || result == -EINTR) {
                // An underrun: what was written has all been played.
                if (result == -EPIPE) played_ = written_;
                if (snd_pcm_recover(pcm_, int(result), 1) < 0) return -1;
                continue;
            }
            if (result != 0 && result != -EAGAIN) return -1;
            wake_.wait_for(lock, kPollInterval);
        }
    }

    void Flush() override {
        std::lock_guard lock(mutex_);
        snd_pcm_drop(pcm_);
        snd_pcm_prepare(pcm_);
        written_ = 0;
        played_ = 0;
    }

    bool SetPaused(bool paused) override {
        std::lock_guard lock(mutex_);
        if (!canPause_) return false;
        const snd_pcm_state_t state = snd_pcm_state(pcm_);
        if (paused && state == SND_PCM_STATE_RUNNING) return snd_pcm_pause(pcm_, 1) == 0;
        if (!paused && state == SND_PCM_STATE_PAUSED) return snd_pcm_pause(pcm_, 0) == 0;
        return true;
    }

    std::uint64_t PlayedFrames() override {
        std::lock_guard lock(mutex_);
        return PlayedLocked();
    }

    DrainResult WaitDrained() override {
        std::unique_lock lock(mutex_);
        for (;;) {
            if (Interrupted()) return DrainResult::Interrupted;
            const snd_pcm_state_t state = snd_pcm_state(pcm_);
            // Less than the start threshold was written: start it by hand.
            if (state == SND_PCM_STATE_PREPARED && written_ > 0 && snd_pcm_start(pcm_) < 0) {
                return DrainResult::Failed;
            }
            if (state == SND_PCM_STATE_DISCONNECTED) return DrainResult::Failed;
            if (PlayedLocked() >= written_) return DrainResult::Drained;
            wake_.wait_for(lock, kPollInterval);
        }
    }

protected:
    void Wake() override {
        std::lock_guard lock(mutex_);
        wake_.notify_all();
    }

private:
    std::uint64_t PlayedLocked() {
        switch (snd_pcm_state(pcm_)) {
            case SND_PCM_STATE_XRUN:
            case SND_PCM_STATE_SETUP:
                played_ = written_;
                break;
            case SND_PCM_STATE_RUNNING:
            case SND_PCM_STATE_PAUSED:
            case SND_PCM_STATE_DRAINING: {
                snd_pcm_sframes_t delay = 0;
                if (snd_pcm_delay(pcm_, &delay) == 0) {
                    const std::uint64_t queued = delay > 0 ? std::uint64_t(delay) : 0;
                    if (queued < written_) played_ = std::max(played_, written_ - queued);
                }
                break;
            }
            default:
                break;
        }
        return played_;
    }

    snd_pcm_t* const pcm_;
    const bool canPause_;
    std::mutex mutex_;  // every call on the PCM, and the counts
    std::condition_variable wake_;
    std::uint64_t written_ = 0;
    std::uint64_t played_ = 0;
};

// ALSA would write its complaints (no sound card, say) to standard error; the error number says
// what callers need.
void Quiet(const char*, int, const char*, int, const char*, ...) {}

bool CanPause(snd_pcm_t* pcm) {
    snd_pcm_hw_params_t* params = nullptr;
    if (snd_pcm_hw_params_malloc(&params) < 0) return false;
    const bool can =
        snd_pcm_hw_params_current(pcm, params) == 0 && snd_pcm_hw_params_can_pause(params) == 1;
    snd_pcm_hw_params_free(params);
    return can;
}

}  // namespace

std::unique_ptr<AudioSink> OpenAlsaSink(const SinkFormat& format, MCIERROR& error) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(&Quiet); });
    snd_pcm_t* pcm = nullptr;
    const int opened = snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (opened < 0) {
        error = opened == -EBUSY ? MCIERR_WAVE_OUTPUTSINUSE : MCIERR_DEVICE_NOT_INSTALLED;
        return nullptr;
    }
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                           unsigned(format.Channels), unsigned(format.Rate), 1,
                           kQueuedMs * 1000) < 0) {
        snd_pcm_close(pcm);
        error = MCIERR_DEVICE_NOT_INSTALLED;
        return nullptr;
    }
    error = 0;
    return std::make_unique<AlsaSink>(pcm, CanPause(pcm));
}

}  // namespace rv::audio_internal
