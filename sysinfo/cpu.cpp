#include "sysinfo/cpu.h"

#include <utility>

#include "platform/text/codepage.h"
#include "platform/text/format.h"
#include "platform/text/round.h"
#include "platform/text/trim.h"
#include "sysinfo/cpu_frequency.h"
#include "sysinfo/cpu_names.h"
#include "sysinfo/cpu_vendor.h"

namespace rv {
namespace {

constexpr std::uint32_t kExtendedBase = 0x80000000;
constexpr std::uint32_t kTscBit = 1u << 4;
constexpr std::uint32_t kPsnBit = 1u << 18;

int Bits(std::uint32_t value, int low, int count) {
    return static_cast<int>(value >> low & ((1u << count) - 1));
}

void AppendRegister(std::string& text, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) text += static_cast<char>(value >> (8 * i) & 0xFF);
}

TCPUFamily FamilyTypeOf(int family, int extendedFamily) {
    switch (family) {
        case 0:
            return TCPUFamily::cf8086;
        case 2:
            return TCPUFamily::cf286;
        case 3:
            return TCPUFamily::cf386;
        case 4:
            return TCPUFamily::cf486;
        case 5:
            return TCPUFamily::cf586;
        case 6:
            return TCPUFamily::cf686;
        case 7:
            return TCPUFamily::cf8086_64;
        case 15:
            if (extendedFamily == 0) return TCPUFamily::cf786;
            if (extendedFamily == 1) return TCPUFamily::cf8086_64;
            return TCPUFamily::cfUnknown;
        default:
            return TCPUFamily::cfUnknown;
    }
}

}  // namespace

bool HasFDIVBug() {
    // The operands that showed the flaw; volatile so that the divider, not the compiler,
    // computes it.
    volatile long double dividend = 4195835.0L;
    volatile long double divisor = 3145727.0L;
    const long double x = dividend;
    const long double y = divisor;
    return (x / y) * y - x != 0.0L;
}

TCPU::TCPU() : TCPU(MachineProcessor(), MachineTiming()) {}

TCPU::TCPU(const TProcessorAccess& access, TTimingSource& timing)
    : access_(access), timing_(timing) {}

void TCPU::GetInfo(bool includeCache, bool includeFeatures) {
    f_ = TFacts{};
    f_.includeCache = includeCache;
    f_.includeFeatures = includeFeatures;
    PassOnExceptionModes();
    f_.count = access_.ProcessorCount();
    f_.registryKey = access_.ProcessorKey();
    f_.fdivBug = HasFDIVBug();
    if (!access_.HasCpuid()) return;

    ReadCpuid();
    ReadBrandText();
    if (includeCache) {
        f_.cache = DecodeCache({access_, f_.vendorIndex, f_.maxStandard, f_.maxExtended, f_.family,
                                f_.model, f_.nameString});
        f_.cache.ExceptionModes = exceptionModes_;
    }
    if (includeFeatures) f_.features.Read(f_.leaf1.Edx, f_.leafExt1.Edx);
    Classify();
    if ((f_.leaf1.Edx & kTscBit) != 0) {
        f_.frequency = SnapFrequency(static_cast<int>(Round(MeasureFrequency(timing_))));
    }
    TCPUNameKey key;
    key.VendorIndex = f_.vendorIndex;
    key.Family = f_.family;
    key.ExtendedFamily = f_.extendedFamily;
    key.Model = f_.model;
    key.Stepping = f_.stepping;
    key.Brand = f_.brand;
    key.Level2 = f_.cache.Level2;
    key.Level3 = f_.cache.Level3;
    key.Frequency = f_.frequency;
    // Leaf 1's own extended model, or an extended family beyond Itanium 2's, marks a
    // processor newer than the name tables.
    key.Newer = Bits(f_.leaf1.Eax, 16, 4) != 0 || Bits(f_.leaf1.Eax, 20, 8) > 1;
    TCPUNames names = NameProcessor(key);
    f_.friendlyName = std::move(names.FriendlyName);
    f_.codeName = std::move(names.CodeName);
    ReadSerialNumber();
}

void TCPU::SetExceptionModes(TExceptionModes modes) {
    exceptionModes_ = modes;
    PassOnExceptionModes();
}

// GetInfo makes its parts anew; they keep the modes set before.
void TCPU::PassOnExceptionModes() {
    f_.features.SetExceptionModes(exceptionModes_);
    f_.cache.ExceptionModes = exceptionModes_;
}

void TCPU::ReadCpuid() {
    const CpuidRegisters leaf0 = access_.Cpuid(0);
    f_.maxStandard = leaf0.Eax;
    std::string text;
    AppendRegister(text, leaf0.Ebx);
    AppendRegister(text, leaf0.Edx);
    AppendRegister(text, leaf0.Ecx);
    f_.vendorText = DecodeCodePage(CodePage::Iso8859_1, text);
    f_.vendorIndex = VendorIndexOf(f_.vendorText);
    f_.vendor = VendorLongName(f_.vendorIndex);

    if (f_.maxStandard >= 1) f_.leaf1 = access_.Cpuid(1);
    f_.stepping = Bits(f_.leaf1.Eax, 0, 4);
    f_.model = Bits(f_.leaf1.Eax, 4, 4);
    f_.family = Bits(f_.leaf1.Eax, 8, 4);
    f_.brand = Bits(f_.leaf1.Ebx, 0, 8);

    // A processor without extended leaves answers this one with something else, often the
    // highest standard leaf.
    const std::uint32_t maxExtended = access_.Cpuid(kExtendedBase).Eax;
    f_.maxExtended = (maxExtended & 0xFFFF0000) == kExtendedBase ? maxExtended : 0;
    if (f_.maxExtended >= kExtendedBase + 1) f_.leafExt1 = access_.Cpuid(kExtendedBase + 1);
    f_.extendedStepping = Bits(f_.leafExt1.Eax, 0, 4);
    f_.extendedModel = Bits(f_.leafExt1.Eax, 4, 4);
    f_.extendedFamily = Bits(f_.leafExt1.Eax, 8, 4);
}

// Leaves 0x80000002 to 0x80000004 hold 48 bytes of text, zero-terminated when shorter; Intel
// pads it with leading blanks.
void TCPU::ReadBrandText() {
    if (f_.maxExtended < kExtendedBase + 4) return;
    std::string text;
    for (std::uint32_t leaf = kExtendedBase + 2; leaf <= kExtendedBase + 4; ++leaf) {
        const CpuidRegisters r = access_.Cpuid(leaf);
        for (const std::uint32_t value : {r.Eax, r.Ebx, r.Ecx, r.Edx}) AppendRegister(text, value);
    }
    text.resize(text.find('\0') != std::string::npos ? text.find('\0') : text.size());
    f_.nameString = Trim(DecodeCodePage(CodePage::Iso8859_1, text));
}

void TCPU::Classify() {
    static constexpr TCPUType kTypes[] = {TCPUType::ctPrimary, TCPUType::ctOverDrive,
                                          TCPUType::ctSecondary, TCPUType::ctUnknown};
    f_.cpuType = kTypes[Bits(f_.leaf1.Eax, 12, 2)];
    f_.familyType = FamilyTypeOf(f_.family, f_.extendedFamily);
    f_.architecture =
        f_.familyType == TCPUFamily::cf8086_64 ? TCPUArchitecture::IA_64 : TCPUArchitecture::IA_32;
}

// The 96-bit processor serial number: the signature of leaf 1, then EDX and ECX of leaf 3,
// in groups of four hexadecimal digits. Only where the processor offers it.
void TCPU::ReadSerialNumber() {
    if ((f_.leaf1.Edx & kPsnBit) == 0 || f_.maxStandard < 3) return;
    const CpuidRegisters leaf3 = access_.Cpuid(3);
    f_.serialNumber =
        Format("%04X-%04X-%04X-%04X-%04X-%04X", f_.leaf1.Eax >> 16, f_.leaf1.Eax & 0xFFFF,
               leaf3.Edx >> 16, leaf3.Edx & 0xFFFF, leaf3.Ecx >> 16, leaf3.Ecx & 0xFFFF);
}

}  // namespace rv
