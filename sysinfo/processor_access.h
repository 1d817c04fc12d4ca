#pragma once

#include <cstdint>
#include <string>

#include "platform/system/processor.h"

// Where the processor's facts come from: the machine itself, or recorded answers in tests.
namespace rv {

// The processor's entry in the system's description of its hardware. On Linux that is the
// kernel's processor list: it gives the vendor text, the brand text and the clock in MHz, and
// has no identifier text ("x86 Family 6 Model 8 Stepping 3"), which therefore stays empty.
struct TProcessorKey {
    std::string VendorIdentifier;
    std::string Identifier;
    std::string ProcessorNameString;
    int MHz = 0;
};

class TProcessorAccess {
public:
    virtual ~TProcessorAccess() = default;
    virtual bool HasCpuid() const = 0;
    virtual CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0) const = 0;
    virtual int ProcessorCount() const = 0;
    virtual TProcessorKey ProcessorKey() const = 0;
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
