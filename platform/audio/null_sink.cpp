// The null output: takes audio as fast as its clock lets it be played and plays it into nothing.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/audio/internal/audio_sink.h"
#include "platform/audio/null_output.h"

namespace rv::audio_internal {

namespace {

class NullSink;

// The clock, the open null outputs and the meter, shared by all of them.
struct NullOutputs {
    std::atomic<bool> virtualClock{false};
    std::atomic<std::int64_t> virtualMicros{0};
    std::mutex listMutex;
    std::vector<NullSink*> sinks;
    std::mutex meterMutex;
    NullOutputMeter meter;

    std::int64_t NowMicros() const {
        if (virtualClock.load()) return virtualMicros.load();
        return std::chrono::duration_cast<std::chrono::microseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

NullOutputs& Outputs() {
    static NullOutputs outputs;
    return outputs;
}

class NullSink : public AudioSink {
public:
    explicit NullSink(const SinkFormat& format)
        : rate_(format.Rate),
          channels_(format.Channels),
          capacity_(std::uint64_t(format.Rate) * kQueuedMs / 1000),
          period_(std::uint64_t(format.Rate) * kPeriodMs / 1000) {
        std::lock_guard lock(Outputs().listMutex);
        Outputs().sinks.push_back(this);
    }

    ~NullSink() override {
        std::lock_guard lock(Outputs().listMutex);
        auto& sinks = Outputs().sinks;
        sinks.erase(std::find(sinks.begin(), sinks.end(), this));
    }

    void Start() override {
        std::lock_guard lock(mutex_);
        started_ = true;
        paused_ = false;
        draining_ = false;
        written_ = 0;
        playedAtMark_ = 0;
        markMicros_ = Outputs().NowMicros();
        ChangedLocked();
    }

    // Like a real output, a full one takes more only once a period's worth has played: the
    // writer wakes once a period, not each time room for a few frames has opened.
    std::ptrdiff_t Write(const std::int16_t* samples, std::size_t count) override {
        std::unique_lock lock(mutex_);
        if (!started_) return -1;
        for (;;) {
            if (Interrupted()) return 0;
            const std::uint64_t queued = written_ - PlayedLocked();
            if (queued < capacity_) {
                const std::size_t taken = std::min<std::uint64_t>(count, capacity_ - queued);
                Measure(samples, taken);
                written_ += taken;
                changed_.notify_all();
                return std::ptrdiff_t(taken);
            }
            WaitUntilPlayed(lock, written_ - capacity_ + period_);
        }
    }

    void Flush() override {
        std::lock_guard lock(mutex_);
        started_ = false;
        draining_ = false;
        written_ = 0;
        ChangedLocked();
    }

    bool SetPaused(bool paused) override {
        std::lock_guard lock(mutex_);
        if (paused && !paused_) {
            playedAtMark_ = PlayedLocked();
            paused_ = true;
        } else if (!paused && paused_) {
            markMicros_ = Outputs().NowMicros();
            paused_ = false;
        }
        ChangedLocked();
        return true;
    }

    std::uint64_t PlayedFrames() override {
        std::lock_guard lock(mutex_);
        return PlayedLocked();
    }

    DrainResult WaitDrained() override {
        std::unique_lock lock(mutex_);
        draining_ = true;
        changed_.notify_all();
        for (;;) {
            if (Interrupted()) return DrainResult::Interrupted;
            if (PlayedLocked() >= written_) return DrainResult::Drained;
            WaitUntilPlayed(lock, written_);
        }
    }

    // Waits until this output has been given the audio up to the clock's time and its writer
    // waits for a time still to come, unless it has no use for audio; false when `deadline`
    // passes first.
    bool WaitFed(std::chrono::steady_clock::time_point deadline) {
        std::unique_lock lock(mutex_);
        changed_.notify_all();
        return changed_.wait_until(lock, deadline, [this] {
            const std::uint64_t clock = ClockFramesLocked();
            return !started_ || paused_ || draining_ ||
                   (written_ >= clock && waiting_ && clock < waitingFor_);
        });
    }

    void NotifyClockMoved() {
        std::lock_guard lock(mutex_);
        changed_.notify_all();
    }

    // The clock was switched between the real and the virtual one: a wait reckoned on the one
    // is reckoned again on the other.
    void NotifyClockSwitched() {
        std::lock_guard lock(mutex_);
        ChangedLocked();
    }

protected:
    void Wake() override { NotifyClockMoved(); }

private:
    // The frames the clock has let play since Start. Audio that arrives late is played at once,
    // so a slow writer shifts nothing and the virtual clock stays exact.
    std::uint64_t ClockFramesLocked() const {
        if (!started_) return 0;
        if (paused_) return playedAtMark_;
        const std::int64_t elapsed = std::max<std::int64_t>(0, Outputs().NowMicros() - markMicros_);
        return playedAtMark_ + std::uint64_t(elapsed) * rate_ / 1000000;
    }

    std::uint64_t PlayedLocked() const { return std::min(ClockFramesLocked(), written_); }

    // Something a wait of the writer waits for besides the clock: a start, a flush, a pause or
    // its end, a switch of clock.
    void ChangedLocked() {
        ++changes_;
        changed_.notify_all();
    }

    // One wait of the writer: until the clock has played `frames` since Start, it is
    // interrupted, or anything else changes. On the real clock it sleeps until the time that
    // many frames are played; on the virtual one it wakes only when a move of the clock got
    // there, however often the clock is moved meanwhile.
    void WaitUntilPlayed(std::unique_lock<std::mutex>& lock, std::uint64_t frames) {
        {
            std::lock_guard meter(Outputs().meterMutex);
            ++Outputs().meter.Waits;
        }
        const std::uint64_t changes = changes_;
        const auto over = [&] {
            return Interrupted() || changes_ != changes || ClockFramesLocked() >= frames;
        };
        // Seen waiting for a time still to come, the writer has taken all it can (WaitFed).
        waitingFor_ = frames;
        waiting_ = true;
        changed_.notify_all();
        if (!started_ || paused_ || Outputs().virtualClock.load()) {
            changed_.wait(lock, over);
        } else {
            // Rounded up: at that time the clock has played them all.
            const std::uint64_t ahead = frames > playedAtMark_ ? frames - playedAtMark_ : 0;
            const std::int64_t at =
                markMicros_ + std::int64_t((ahead * 1000000 + rate_ - 1) / rate_);
            changed_.wait_until(
                lock, std::chrono::steady_clock::time_point(std::chrono::microseconds(at)), over);
        }
        waiting_ = false;
    }

    void Measure(const std::int16_t* samples, std::size_t frames) {
        double sum = 0;
        const std::size_t count = frames * channels_;
        for (std::size_t i = 0; i < count; ++i) {
            const double value = samples[i] / 32768.0;
            sum += value * value;
        }
        std::lock_guard lock(Outputs().meterMutex);
        Outputs().meter.Frames += frames;
        Outputs().meter.Samples += count;
        Outputs().meter.SumOfSquares += sum;
    }

    const std::uint64_t rate_;
    const std::uint64_t channels_;
    const std::uint64_t capacity_;
    const std::uint64_t period_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t changes_ = 0;     // counts what ChangedLocked tells
    bool waiting_ = false;          // the writer waits in WaitUntilPlayed ...
    std::uint64_t waitingFor_ = 0;  // ... for the clock to have played this many frames
    bool started_ = false;
    bool paused_ = false;
    bool draining_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t playedAtMark_ = 0;  // frames played when the clock was last marked
    std::int64_t markMicros_ = 0;
};

}  // namespace

std::unique_ptr<AudioSink> OpenNullSink(const SinkFormat& format) {
    return std::make_unique<NullSink>(format);
}

}  // namespace rv::audio_internal

namespace rv {

using audio_internal::Outputs;

void SetNullOutputVirtualClock(bool virtualClock) {
    auto& outputs = Outputs();
    std::lock_guard lock(outputs.listMutex);
    outputs.virtualClock.store(virtualClock);
    for (auto* sink : outputs.sinks) sink->NotifyClockSwitched();
}

bool AdvanceNullOutputClock(unsigned ms) {
    auto& outputs = Outputs();
    std::lock_guard lock(outputs.listMutex);
    outputs.virtualMicros.fetch_add(std::int64_t(ms) * 1000);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool fed = true;
    for (auto* sink : outputs.sinks) fed = sink->WaitFed(deadline) && fed;
    return fed;
}

NullOutputMeter ReadNullOutputMeter() {
    std::lock_guard lock(Outputs().meterMutex);
    return Outputs().meter;
}

void ResetNullOutputMeter() {
    std::lock_guard lock(Outputs().meterMutex);
    Outputs().meter = {};
}

}  // namespace rv
