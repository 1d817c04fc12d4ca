#pragma once

#include <cstdint>
#include <string>

#include "sysinfo/cpu_cache.h"
#include "sysinfo/cpu_features.h"
#include "sysinfo/cpu_types.h"
#include "sysinfo/exception_modes.h"
#include "sysinfo/processor_access.h"
#include "sysinfo/xml_report.h"

namespace rv {

// The processor: its maker, names, family, model and stepping, clock, features and caches,
// from CPUID and a measurement of the time-stamp counter. Where the processor has no CPUID
// (any processor but x86) the CPUID facts stay empty, zero or unknown.
//
// The About box shows NameString and Frequency, or, without a brand text,
// VendorShortName(VendorIndex()), FriendlyName and Frequency.
class TCPU {
public:
    // The machine's own processor.
    TCPU();
    // Recorded answers, for tests.
    TCPU(const TProcessorAccess& access, TTimingSource& timing);

    // Fills everything; the cache and feature decoding only when asked. Takes about 110 ms,
    // the time the frequency is measured over.
    void GetInfo(bool includeCache, bool includeFeatures);

    // Appends the report of the processor's own facts; Features and Cache write their own.
    void Report(TReportLines& lines, const TReportFrame& frame = MachineReportFrame()) const;

    TExceptionModes ExceptionModes() const { return exceptionModes_; }
    // Features and Cache take the same modes.
    void SetExceptionModes(TExceptionModes modes);

    int Count() const { return f_.count; }
    const std::string& Vendor() const { return f_.vendor; }  // the long name of the maker
    const std::string& FriendlyName() const { return f_.friendlyName; }
    const std::string& CodeName() const { return f_.codeName; }
    int Frequency() const { return f_.frequency; }  // MHz
    int Family() const { return f_.family; }
    int Model() const { return f_.model; }
    int Stepping() const { return f_.stepping; }
    const TCPUFeatures& Features() const { return f_.features; }
    const TCPUCache& Cache() const { return f_.cache; }
    const std::string& SerialNumber() const { return f_.serialNumber; }
    bool FDIVBug() const { return f_.fdivBug; }
    TCPUType CPUType() const { return f_.cpuType; }
    TCPUFamily FamilyType() const { return f_.familyType; }
    TCPUArchitecture Architecture() const { return f_.architecture; }

    const std::string& VendorText() const { return f_.vendorText; }  // 12 characters from CPUID
    int VendorIndex() const { return f_.vendorIndex; }
    // The brand text, without the blanks that pad it.
    const std::string& NameString() const { return f_.nameString; }
    int Brand() const { return f_.brand; }
    std::uint32_t MaximumFunctionLevel() const { return f_.maxStandard; }
    // 0 when the processor reports no extended leaves.
    std::uint32_t MaximumExtendedFunctionLevel() const { return f_.maxExtended; }
    const CpuidRegisters& StandardSignature() const { return f_.leaf1; }     // leaf 1
    const CpuidRegisters& ExtendedSignature() const { return f_.leafExt1; }  // leaf 0x80000001
    int ExtendedFamily() const { return f_.extendedFamily; }
    int ExtendedModel() const { return f_.extendedModel; }
    int ExtendedStepping() const { return f_.extendedStepping; }
    // The processor's entry in the system's hardware description, as far as the system gives
    // one: vendor text, identifier, brand text and clock (MHz).
    const TProcessorKey& RegistryKey() const { return f_.registryKey; }
    bool IncludeCache() const { return f_.includeCache; }
    bool IncludeFeatures() const { return f_.includeFeatures; }

private:
    // Everything GetInfo fills, emptied before it starts.
    struct TFacts {
        int count = 0;
        std::string vendor;
        std::string friendlyName;
        std::string codeName;
        int frequency = 0;
        int family = 0;
        int model = 0;
        int stepping = 0;
        TCPUFeatures features;
        TCPUCache cache;
        std::string serialNumber;
        bool fdivBug = false;
        TCPUType cpuType = TCPUType::ctUnknown;
        TCPUFamily familyType = TCPUFamily::cfUnknown;
        TCPUArchitecture architecture = TCPUArchitecture::IA_32;

        std::string vendorText;
        int vendorIndex = 0;
        std::string nameString;
        int brand = 0;
        std::uint32_t maxStandard = 0;
        std::uint32_t maxExtended = 0;
        CpuidRegisters leaf1;
        CpuidRegisters leafExt1;
        int extendedFamily = 0;
        int extendedModel = 0;
        int extendedStepping = 0;
        TProcessorKey registryKey;
        bool includeCache = false;
        bool includeFeatures = false;
    };

    void ReadCpuid();
    void ReadBrandText();
    void Classify();
    void ReadSerialNumber();
    void PassOnExceptionModes();

    const TProcessorAccess& access_;
    TTimingSource& timing_;
    TExceptionModes exceptionModes_ = kDefaultExceptionModes;
    TFacts f_;
};

// Whether the floating-point divider has the flaw of the first Pentiums.
bool HasFDIVBug();

}  // namespace rv
