#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/mci.h"

// Where a device's decoded audio goes: interleaved signed 16-bit frames at the file's rate.
// The device's decode thread writes, flushes, pauses and drains; any thread may ask what has been
// played and interrupt a wait of the decode thread.
namespace rv::audio_internal {

struct SinkFormat {
    int Rate = 44100;
    int Channels = 2;  // 1 or 2
};

enum class DrainResult { Drained, Interrupted, Failed };

class AudioSink {
public:
    virtual ~AudioSink() = default;

    // Playback begins: what is written from now on is played, and PlayedFrames counts from 0.
    virtual void Start() = 0;
    // Queues frames, waiting while the output is full. Answers how many frames were taken: fewer
    // than `count` (maybe 0) when interrupted, -1 when the output failed.
    virtual std::ptrdiff_t Write(const std::int16_t* samples, std::size_t count) = 0;
    // Drops what is queued and stops; Start begins anew.
    virtual void Flush() = 0;
    // Holds playback, keeping what is queued, or lets it go on. False when this output cannot
    // hold: the caller then flushes and starts again where it was.
    virtual bool SetPaused(bool paused) = 0;
    // Frames played since Start; never more than were written.
    virtual std::uint64_t PlayedFrames() = 0;
    // No more audio comes: waits until all that was written has been played.
    virtual DrainResult WaitDrained() = 0;
    // The wave volume (wave_volume.h) for what is written from now on. An output that sets it
    // itself, as the volume of its stream in the sound server's mixer, answers true and is then
    // given the audio at full scale; otherwise the volume is applied as a gain while decoding.
    virtual bool CarryVolume(std::uint32_t) { return false; }

    // Makes the decode thread's current or next wait in Write or WaitDrained return early, until
    // ClearInterrupt; the device calls it when a command is queued.
    void Interrupt() {
        interrupted_.store(true);
        Wake();
    }
    void ClearInterrupt() { interrupted_.store(false); }

protected:
    bool Interrupted() const { return interrupted_.load(); }
    // Wakes a wait of the decode thread, so that it sees the interruption.
    virtual void Wake() = 0;

private:
    std::atomic<bool> interrupted_{false};
};

// Opens the output that REELVAULT_AUDIO names for audio of that format; on failure null with the
// error (MCIERR_DEVICE_NOT_INSTALLED, MCIERR_WAVE_OUTPUTSINUSE, MCIERR_INVALID_DEVICE_NAME).
std::unique_ptr<AudioSink> OpenSink(const SinkFormat& format, MCIERROR& error);

// The outputs themselves; null with the error when they cannot be opened.
std::unique_ptr<AudioSink> OpenPulseSink(const SinkFormat& format, MCIERROR& error);
std::unique_ptr<AudioSink> OpenAlsaSink(const SinkFormat& format, MCIERROR& error);
std::unique_ptr<AudioSink> OpenNullSink(const SinkFormat& format);

// How much audio the real outputs keep queued ahead of what plays.
inline constexpr unsigned kQueuedMs = 200;
// How much plays between two times a full output takes more: ALSA's period, and what PulseAudio
// asks of a stream at a time, for a queue of that length.
inline constexpr unsigned kPeriodMs = kQueuedMs / 4;

}  // namespace rv::audio_internal
