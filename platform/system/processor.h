#pragma once

#include <cstdint>

// The processor's own answers: the CPUID instruction and the time-stamp counter, on x86
// processors. On other architectures neither exists and the calls say so.
namespace rv {

struct CpuidRegisters {
    std::uint32_t Eax = 0;
    std::uint32_t Ebx = 0;
    std::uint32_t Ecx = 0;
    std::uint32_t Edx = 0;
};

// Whether the processor has the CPUID instruction.
bool CpuidPresent();
// CPUID with EAX = leaf and ECX = subleaf; all zero when CpuidPresent() is false.
CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf = 0);

// Reads the time-stamp counter; false when the architecture has none. Whether the processor
// implements it is CPUID's to say (leaf 1, EDX bit 4).
bool ReadTimeStampCounter(std::uint64_t& value);

// The number of processors online, at least 1.
int ProcessorCount();

}  // namespace rv
