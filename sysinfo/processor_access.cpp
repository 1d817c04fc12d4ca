#include "sysinfo/processor_access.h"

#include <charconv>
#include <chrono>
#include <thread>

#include "platform/system/cpu_info.h"
#include "platform/text/round.h"

namespace rv {
namespace {

std::string Field(const CpuInfoFields& fields, const char* name) {
    const auto found = fields.find(name);
    return found != fields.end() ? found->second : std::string();
}

// "2400.000", written with a point whatever the locale; 0 when it is no number.
int Megahertz(const std::string& text) {
    double mhz = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), mhz);
    if (error != std::errc() || end != text.data() + text.size()) return 0;
    return mhz > 0 && mhz < 1e9 ? static_cast<int>(Round(mhz)) : 0;
}

class TMachineProcessor final : public TProcessorAccess {
public:
    bool HasCpuid() const override { return CpuidPresent(); }
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) const override {
        return rv::Cpuid(leaf, subleaf);
    }
    int ProcessorCount() const override { return rv::ProcessorCount(); }
    TProcessorKey ProcessorKey() const override {
        const CpuInfoFields fields = ReadCpuInfo();
        TProcessorKey key;
        key.VendorIdentifier = Field(fields, "vendor_id");
        key.ProcessorNameString = Field(fields, "model name");
        key.MHz = Megahertz(Field(fields, "cpu MHz"));
        return key;
    }
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
