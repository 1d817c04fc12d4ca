#include "sysinfo/cpu_cache.h"

#include "sysinfo/cpu_vendor.h"

namespace rv {
namespace {

// Cyrix reports descriptor bytes in leaf 0x80000005, the first byte being a count as in
// Intel's leaf 2; 0x80 is its 16 KB unified first-level cache.
void DecodeCyrixCache(const TCacheQuery& query, TCPUCache& cache) {
    if (query.MaxExtendedLeaf < 0x80000005) return;
    const CpuidRegisters r = query.Access.Cpuid(0x80000005);
    const std::uint32_t registers[] = {r.Eax, r.Ebx, r.Ecx, r.Edx};
    for (int i = 1; i < 16; ++i) {
        if ((registers[i / 4] >> (8 * (i % 4)) & 0xFF) == 0x80) cache.Level1 = 16;
    }
}

}  // namespace

TCPUCache DecodeCache(const TCacheQuery& query) {
    TCPUCache cache;
    switch (query.VendorIndex) {
        case vendorIntel:
            DecodeIntelCache(query, cache);
            break;
        case vendorAMD:
            DecodeAmdCache(query, cache);
            break;
        case vendorCyrix:
            DecodeCyrixCache(query, cache);
            return cache;
        default:
            return cache;
    }
    cache.Level1 = cache.Level1Data + cache.Level1Code;
    return cache;
}

}  // namespace rv
