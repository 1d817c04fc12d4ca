// The PulseAudio output (PipeWire serves it too): one playback stream per device, on a threaded
// main loop of its own.

#include <pulse/pulseaudio.h>

#include <algorithm>

#include "platform/audio/internal/audio_sink.h"

namespace rv::audio_internal {

namespace {

// Holds the main loop's lock for a scope.
class LoopLock {
public:
    explicit LoopLock(pa_threaded_mainloop* loop) : loop_(loop) { pa_threaded_mainloop_lock(loop); }
    ~LoopLock() { pa_threaded_mainloop_unlock(loop_); }
    LoopLock(const LoopLock&) = delete;
    LoopLock& operator=(const LoopLock&) = delete;

private:
    pa_threaded_mainloop* loop_;
};

class PulseSink : public AudioSink {
public:
    explicit PulseSink(const SinkFormat& format) : format_(format) {}

    ~PulseSink() override {
        if (!loop_) return;
        pa_threaded_mainloop_stop(loop_);
        if (drain_) pa_operation_unref(drain_);
        if (stream_) {
            pa_stream_disconnect(stream_);
            pa_stream_unref(stream_);
        }
        if (context_) {
            pa_context_disconnect(context_);
            pa_context_unref(context_);
        }
        pa_threaded_mainloop_free(loop_);
    }

    // Connects to the server (never starting one) and opens a corked stream; false when either
    // fails.
    bool Connect() {
        loop_ = pa_threaded_mainloop_new();
        if (!loop_) return false;
        context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), "Lorvix Reelvault");
        if (!context_) return false;
        pa_context_set_state_callback(context_, &PulseSink::OnContextState, this);
        if (pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        if (pa_threaded_mainloop_start(loop_) < 0) return false;
        LoopLock lock(loop_);
        for (;;) {
            const pa_context_state_t state = pa_context_get_state(context_);
            if (state == PA_CONTEXT_READY) break;
            if (!PA_CONTEXT_IS_GOOD(state)) return false;
            pa_threaded_mainloop_wait(loop_);
        }
        const pa_sample_spec spec{PA_SAMPLE_S16LE, std::uint32_t(format_.Rate),
                                  std::uint8_t(format_.Channels)};
        stream_ = pa_stream_new(context_, "Playback", &spec, nullptr);
        if (!stream_) return false;
        pa_stream_set_state_callback(stream_, &PulseSink::OnStreamState, this);
        pa_stream_set_write_callback(stream_, &PulseSink::OnWritable, this);
        pa_buffer_attr attr;
        attr.maxlength = std::uint32_t(-1);
        attr.tlength = std::uint32_t(pa_usec_to_bytes(kQueuedMs * PA_USEC_PER_MSEC, &spec));
        attr.prebuf = std::uint32_t(-1);
        attr.minreq = std::uint32_t(-1);
        attr.fragsize = std::uint32_t(-1);
        const auto flags =
            pa_stream_flags_t(PA_STREAM_INTERPOLATE_TIMING | PA_STREAM_AUTO_TIMING_UPDATE |
                              PA_STREAM_ADJUST_LATENCY | PA_STREAM_START_CORKED);
        if (pa_stream_connect_playback(stream_, nullptr, &attr, flags, nullptr, nullptr) < 0) {
            return false;
        }
        for (;;) {
            const pa_stream_state_t state = pa_stream_get_state(stream_);
            if (state == PA_STREAM_READY) return true;
            if (!PA_STREAM_IS_GOOD(state)) return false;
            pa_threaded_mainloop_wait(loop_);
        }
    }

    void Start() override {
        LoopLock lock(loop_);
        ForgetStream();
        Await(pa_stream_cork(stream_, 0, &PulseSink::OnDone, this));
    }

    std::ptrdiff_t Write(const std::int16_t* samples, std::size_t count) override {
        LoopLock lock(loop_);
        const std::size_t frameBytes = std::size_t(format_.Channels) * 2;
        for (;;) {
            if (Failed()) return -1;
            if (Interrupted()) return 0;
            const std::size_t bytes = pa_stream_writable_size(stream_);
            if (bytes == std::size_t(-1)) return -1;
            const std::size_t writable = bytes / frameBytes;
            if (writable > 0) {
                const std::size_t frames = std::min(count, writable);
                if (pa_stream_write(stream_, samples, frames * frameBytes, nullptr, 0,
                                    PA_SEEK_RELATIVE) < 0) {
                    return -1;
                }
                written_ += frames;
                return std::ptrdiff_t(frames);
            }
            pa_threaded_mainloop_wait(loop_);
        }
    }

    void Flush() override {
        LoopLock lock(loop_);
        Await(pa_stream_cork(stream_, 1, &PulseSink::OnDone, this));
        Await(pa_stream_flush(stream_, &PulseSink::OnDone, this));
        ForgetStream();
    }

    bool SetPaused(bool paused) override {
        LoopLock lock(loop_);
        Await(pa_stream_cork(stream_, paused ? 1 : 0, &PulseSink::OnDone, this));
        return true;
    }

    std::uint64_t PlayedFrames() override {
        LoopLock lock(loop_);
        if (written_ == 0) return 0;
        pa_usec_t latency = 0;
        int negative = 0;
        if (pa_stream_get_latency(stream_, &latency, &negative) == 0) {
            const std::uint64_t queued =
                negative ? 0 : latency * std::uint64_t(format_.Rate) / PA_USEC_PER_SEC;
            const std::uint64_t played = queued >= written_ ? 0 : written_ - queued;
            played_ = std::max(played_, played);  // the estimate may wobble; time does not
        }
        return played_;
    }

    DrainResult WaitDrained() override {
        LoopLock lock(loop_);
        for (;;) {
            if (drained_) {
                played_ = written_;
                return DrainResult::Drained;
            }
            if (drainFailed_ || Failed()) return DrainResult::Failed;
            if (Interrupted()) return DrainResult::Interrupted;
            if (!drain_) {
                drain_ = pa_stream_drain(stream_, &PulseSink::OnDrained, this);
                if (!drain_) return DrainResult::Failed;
            }
            pa_threaded_mainloop_wait(loop_);
        }
    }

    // The volume of the stream in the server's mixer, where the desktop's sound settings show
    // it; set again only when it changed.
    bool CarryVolume(std::uint32_t volume) override {
        LoopLock lock(loop_);
        if (volumeSet_ && volume == volume_) return true;
        pa_cvolume levels;
        pa_cvolume_init(&levels);
        levels.channels = std::uint8_t(format_.Channels);
        levels.values[0] = pa_sw_volume_from_linear(double(volume & 0xFFFF) / 0xFFFF);
        if (format_.Channels == 2)
            levels.values[1] = pa_sw_volume_from_linear(double(volume >> 16) / 0xFFFF);
        pa_operation* operation = pa_context_set_sink_input_volume(
            context_, pa_stream_get_index(stream_), &levels, nullptr, nullptr);
        if (!operation) return false;
        pa_operation_unref(operation);
        volume_ = volume;
        volumeSet_ = true;
        return true;
    }

protected:
    void Wake() override {
        LoopLock lock(loop_);
        pa_threaded_mainloop_signal(loop_, 0);
    }

private:
    // With the lock held: counts and drain begin anew.
    void ForgetStream() {
        if (drain_) {
            pa_operation_cancel(drain_);
            pa_operation_unref(drain_);
            drain_ = nullptr;
        }
        drained_ = false;
        drainFailed_ = false;
        written_ = 0;
        played_ = 0;
    }

    bool Failed() const { return !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)); }

    // Waits, with the lock held, until the operation has completed or the stream has failed.
    void Await(pa_operation* operation) {
        if (!operation) return;
        while (pa_operation_get_state(operation) == PA_OPERATION_RUNNING && !Failed()) {
            pa_threaded_mainloop_wait(loop_);
        }
        pa_operation_unref(operation);
    }

    static void OnContextState(pa_context*, void* self) { static_cast<PulseSink*>(self)->Signal(); }
    static void OnStreamState(pa_stream*, void* self) { static_cast<PulseSink*>(self)->Signal(); }
    static void OnWritable(pa_stream*, std::size_t, void* self) {
        static_cast<PulseSink*>(self)->Signal();
    }
    static void OnDone(pa_stream*, int, void* self) { static_cast<PulseSink*>(self)->Signal(); }
    static void OnDrained(pa_stream*, int success, void* self) {
        auto* sink = static_cast<PulseSink*>(self);
        sink->drained_ = success != 0;
        sink->drainFailed_ = success == 0;
        if (sink->drain_) {
            pa_operation_unref(sink->drain_);
            sink->drain_ = nullptr;
        }
        sink->Signal();
    }
    void Signal() { pa_threaded_mainloop_signal(loop_, 0); }

    const SinkFormat format_;
    pa_threaded_mainloop* loop_ = nullptr;
    pa_context* context_ = nullptr;
    pa_stream* stream_ = nullptr;
    pa_operation* drain_ = nullptr;
    bool drained_ = false;
    bool drainFailed_ = false;
    // Frames written and the highest estimate of those played, since Start; under the loop's lock.
    std::uint64_t written_ = 0;
    std::uint64_t played_ = 0;
    // The stream's volume as last set; none at first, whatever the server restored.
    std::uint32_t volume_ = 0;
    bool volumeSet_ = false;
};

}  // namespace

std::unique_ptr<AudioSink> OpenPulseSink(const SinkFormat& format, MCIERROR& error) {
    auto sink = std::make_unique<PulseSink>(format);
    if (!sink->Connect()) {
        error = MCIERR_DEVICE_NOT_INSTALLED;
        return nullptr;
    }
    error = 0;
    return sink;
}

}  // namespace rv::audio_internal
