#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "sysinfo/processor_access.h"

namespace rv::test {

// One recorded CPUID answer. Only leaf 4 has sub-leaves; the others answer any.
struct RecordedLeaf {
    std::uint32_t Leaf;
    std::uint32_t Subleaf;
    CpuidRegisters Registers;
};

// A processor that answers CPUID from a recording. Like Intel's processors, it answers a leaf
// it does not have with the data of its highest standard leaf; every leaf asked is noted.
class RecordedProcessor final : public TProcessorAccess {
public:
    explicit RecordedProcessor(std::vector<RecordedLeaf> leaves, bool hasCpuid = true)
        : leaves_(std::move(leaves)), hasCpuid_(hasCpuid) {}

    bool HasCpuid() const override { return hasCpuid_; }
    int ProcessorCount() const override { return 2; }
    TProcessorKey ProcessorKey() const override { return Key; }
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) const override {
        asked_.push_back(leaf);
        if (leaves_.empty()) return {};
        const RecordedLeaf* highest = nullptr;
        for (const RecordedLeaf& r : leaves_) {
            if (r.Leaf == leaf && (leaf != 4 || r.Subleaf == subleaf)) return r.Registers;
            if (r.Leaf <= leaves_[0].Registers.Eax && (!highest || r.Leaf > highest->Leaf)) {
                highest = &r;
            }
        }
        return leaf == 4 || !highest ? CpuidRegisters{} : highest->Registers;
    }

    // The highest leaf asked in the standard or in the extended range.
    std::uint32_t HighestAsked(bool extended) const {
        std::uint32_t most = 0;
        for (const std::uint32_t leaf : asked_) {
            if ((leaf >= 0x80000000) == extended) most = std::max(most, leaf);
        }
        return most;
    }
    bool AskedNothing() const { return asked_.empty(); }

    // The system's entry for the processor; none unless a test sets one.
    TProcessorKey Key;

private:
    std::vector<RecordedLeaf> leaves_;  // leaf 0 first
    bool hasCpuid_;
    mutable std::vector<std::uint32_t> asked_;
};

// Leaves 0x80000002 to 0x80000004 holding a brand text of at most 47 characters.
inline std::vector<RecordedLeaf> BrandLeaves(std::string_view text) {
    char bytes[48] = {};
    std::memcpy(bytes, text.data(), std::min<std::size_t>(text.size(), 47));
    std::vector<RecordedLeaf> leaves;
    for (std::uint32_t i = 0; i < 3; ++i) {
        std::uint32_t words[4];
        std::memcpy(words, bytes + 16 * i, 16);
        leaves.push_back({0x80000002 + i, 0, {words[0], words[1], words[2], words[3]}});
    }
    return leaves;
}

// A clock and a counter running at `mhz`; every sleep lasts `lateMilliseconds` longer than
// asked, as on a busy machine, and each clock reading takes a microsecond.
class SteadyCounter final : public TTimingSource {
public:
    SteadyCounter(double mhz, int lateMilliseconds) : mhz_(mhz), late_(lateMilliseconds) {}

    bool ReadCounter(std::uint64_t& value) override {
        now_ += std::exchange(interrupt_, 0);
        value = static_cast<std::uint64_t>(static_cast<double>(now_) * mhz_ / 1000.0);
        return true;
    }
    std::int64_t NowNanoseconds() override { return now_ += 1000; }
    void Sleep(int milliseconds) override { now_ += (milliseconds + late_) * 1'000'000LL; }

    // Time jumps this far before the next counter reading, as when the thread is interrupted
    // between reading the clock and the counter.
    void InterruptOnce(std::int64_t nanoseconds) { interrupt_ = nanoseconds; }

private:
    double mhz_;
    int late_;
    std::int64_t now_ = 1'000'000'000;
    std::int64_t interrupt_ = 0;
};

}  // namespace rv::test
