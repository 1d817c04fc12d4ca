#include "sysinfo/processor_access.h"

#include <chrono>
#include <thread>

namespace rv {
namespace {

class TMachineProcessor final : public TProcessorAccess {
public:
    bool HasCpuid() const override { return CpuidPresent(); }
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) const override {
        return rv::Cpuid(leaf, subleaf);
    }
    int ProcessorCount() const override { return rv::ProcessorCount(); }
};

class TMachineTiming final : public TTimingSource {
public:
    bool ReadCounter(std::uint64_t& value) override { return ReadTimeStampCounter(value); }
    std::int64_t NowNanoseconds() override {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
    }
    void Sleep(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

TProcessorAccess& MachineProcessor() {
    static TMachineProcessor machine;
    return machine;
}

TTimingSource& MachineTiming() {
    static TMachineTiming machine;
    return machine;
}

}  // namespace rv
