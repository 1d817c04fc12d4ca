#pragma once

#include <cstdint>

#include "sysinfo/exception_modes.h"
#include "sysinfo/xml_report.h"

namespace rv {

// The processor's feature flags: each the CPUID bit of the same meaning, from leaf 1's EDX
// and, where the processor reports it, leaf 0x80000001's EDX.
class TCPUFeatures {
public:
    void Read(std::uint32_t standardEdx, std::uint32_t extendedEdx) {
        standard_ = standardEdx;
        extended_ = extendedEdx;
    }

    // Appends the report of every flag.
    void Report(TReportLines& lines, const TReportFrame& frame = MachineReportFrame()) const;

    TExceptionModes ExceptionModes() const { return exceptionModes_; }
    void SetExceptionModes(TExceptionModes modes) { exceptionModes_ = modes; }

    bool FPU() const { return Standard(0); }
    bool VME() const { return Standard(1); }
    bool DE() const { return Standard(2); }
    bool PSE() const { return Standard(3); }
    bool TSC() const { return Standard(4); }
    bool MSR() const { return Standard(5); }
    bool PAE() const { return Standard(6); }
    bool MCE() const { return Standard(7); }
    bool CX8() const { return Standard(8); }
    bool APIC() const { return Standard(9); }
    bool SEP() const { return Standard(11); }
    bool MTRR() const { return Standard(12); }
    bool PGE() const { return Standard(13); }
    bool MCA() const { return Standard(14); }
    bool CMOV() const { return Standard(15); }
    bool PAT() const { return Standard(16); }
    bool PSE36() const { return Standard(17); }
    bool PSN() const { return Standard(18); }
    bool CLFSH() const { return Standard(19); }
    bool DS() const { return Standard(21); }
    bool ACPI() const { return Standard(22); }
    bool MMX() const { return Standard(23); }
    bool FXSR() const { return Standard(24); }
    bool SSE() const { return Standard(25); }
    bool SSE2() const { return Standard(26); }
    bool SS() const { return Standard(27); }
    bool HTT() const { return Standard(28); }
    bool TM() const { return Standard(29); }
    // AMD's MMX extensions (bit 22) or Cyrix's (bit 24).
    bool EX_MMX() const { return Extended(22) || Extended(24); }
    bool EX_3DNOW() const { return Extended(30); }
    bool _3DNOW() const { return Extended(31); }

private:
    bool Standard(int bit) const { return (standard_ >> bit & 1) != 0; }
    bool Extended(int bit) const { return (extended_ >> bit & 1) != 0; }

    std::uint32_t standard_ = 0;
    std::uint32_t extended_ = 0;
    TExceptionModes exceptionModes_ = kDefaultExceptionModes;
};

}  // namespace rv
