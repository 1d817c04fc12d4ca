#pragma once

#include <cstdint>

// The null sound output (REELVAULT_AUDIO=null) plays into nothing at the pace of a clock: the
// real one, or for tests a virtual one that stands still until it is moved on. Like a real
// output it keeps a fifth of a second of audio queued ahead of what has been played.
namespace rv {

// Switches between the real and the virtual clock; switch while no null output is open.
void SetNullOutputVirtualClock(bool virtualClock);

// Moves the virtual clock on by `ms` and waits until every null output that is playing has been
// given the audio up to the new time, or has run out of it, been paused or been stopped. False
// when one was not given it within ten seconds.
bool AdvanceNullOutputClock(unsigned ms);

// What the null outputs have been given since the last reset, all devices together; samples count
// each channel, and their squares are taken of values scaled to -1 ... 1. Waits counts the times
// a decoder waited on an output, for room or for its audio to play out: like a real output, a
// null output that is full takes more only once a period's worth (a quarter of what it keeps
// queued) has played.
struct NullOutputMeter {
    std::uint64_t Frames = 0;
    std::uint64_t Samples = 0;
    double SumOfSquares = 0;
    std::uint64_t Waits = 0;
};
NullOutputMeter ReadNullOutputMeter();
void ResetNullOutputMeter();

}  // namespace rv
