#include "platform/system/processor.h"

#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define RV_HAVE_CPUID 1
#endif

namespace rv {

#ifdef RV_HAVE_CPUID

bool CpuidPresent() {
#ifdef __x86_64__
    return true;
#else
    // On 32-bit processors CPUID exists when the ID flag of EFLAGS can be toggled, which is what
    // the compiler's helper tests before it asks leaf 0.
    return __get_cpuid_max(0, nullptr) != 0;
#endif
}

CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) {
    if (!CpuidPresent()) return {};
    CpuidRegisters r;
    __cpuid_count(leaf, subleaf, r.Eax, r.Ebx, r.Ecx, r.Edx);
    return r;
}

bool ReadTimeStampCounter(std::uint64_t& value) {
    value = __rdtsc();
    return true;
}

#else

bool CpuidPresent() {
    return false;
}

CpuidRegisters Cpuid(std::uint32_t, std::uint32_t) {
    return {};
}

bool ReadTimeStampCounter(std::uint64_t& value) {
    value = 0;
    return false;
}

#endif

int ProcessorCount() {
    const long count = sysconf(_SC_NPROCESSORS_ONLN);
    return count > 0 ? static_cast<int>(count) : 1;
}

}  // namespace rv
