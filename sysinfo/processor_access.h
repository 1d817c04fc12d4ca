#pragma once

#include <cstdint>

#include "platform/system/processor.h"

// Where the processor's facts come from: the machine itself, or recorded answers in tests.
namespace rv {

class TProcessorAccess {
public:
    virtual ~TProcessorAccess() = default;
    virtual bool HasCpuid() const = 0;
    virtual CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) const = 0;
    virtual int ProcessorCount() const = 0;
};

// The time-stamp counter and a clock to measure its rate against.
class TTimingSource {
public:
    virtual ~TTimingSource() = default;
    // False when there is no counter to read.
    virtual bool ReadCounter(std::uint64_t& value) = 0;
    // A steady clock, in nanoseconds from any fixed start.
    virtual std::int64_t NowNanoseconds() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

TProcessorAccess& MachineProcessor();
TTimingSource& MachineTiming();

}  // namespace rv
