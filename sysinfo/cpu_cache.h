#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sysinfo/exception_modes.h"
#include "sysinfo/processor_access.h"
#include "sysinfo/xml_report.h"

namespace rv {

// The processor's caches in KB, and one line of text per cache or TLB it reports.
struct TCPUCache {
    int Level1 = 0;  // Level1Data + Level1Code
    int Level1Data = 0;
    int Level1Code = 0;
    int Level2 = 0;
    int Level3 = 0;
    std::vector<std::uint8_t> Descriptors;  // Intel's leaf 2 descriptor bytes, as reported
    std::vector<std::string> CacheDescriptions;
    TExceptionModes ExceptionModes = kDefaultExceptionModes;

    // Appends the report of the sizes and descriptions.
    void Report(TReportLines& lines, const TReportFrame& frame = MachineReportFrame()) const;
};

// What the cache decoding needs to know of the processor.
struct TCacheQuery {
    const TProcessorAccess& Access;
    int VendorIndex = 0;
    std::uint32_t MaxStandardLeaf = 0;
    std::uint32_t MaxExtendedLeaf = 0;  // 0 when the processor reports no extended leaves
    int Family = 0;
    int Model = 0;
    std::string_view NameString;
};

// The caches as the maker's own CPUID leaves describe them. Leaves the processor does not
// report are not asked.
TCPUCache DecodeCache(const TCacheQuery& query);

// The two ways of each maker.
void DecodeIntelCache(const TCacheQuery& query, TCPUCache& cache);
void DecodeAmdCache(const TCacheQuery& query, TCPUCache& cache);

}  // namespace rv
