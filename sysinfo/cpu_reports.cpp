#include "sysinfo/cpu.h"

// The XML reports of the processor classes. On Linux the "Registry" values are those of the
// kernel's processor list (TProcessorKey).
namespace rv {
namespace {

constexpr const char* kApi = "API";
constexpr const char* kRegistry = "Registry";
constexpr const char* kCpuid = "CPUID";

struct FeatureRow {
    const char* Name;
    bool (TCPUFeatures::*Flag)() const;
};

constexpr FeatureRow kFeatures[] = {
    {"BuiltInFPU", &TCPUFeatures::FPU},
    {"VirtualModeExtension", &TCPUFeatures::VME},
    {"DebuggingExtension", &TCPUFeatures::DE},
    {"PageSizeExtension", &TCPUFeatures::PSE},
    {"TimeStampCounter", &TCPUFeatures::TSC},
    {"ModelSpecificRegisters", &TCPUFeatures::MSR},
    {"PhysicalAddressExtension", &TCPUFeatures::PAE},
    {"MachineCheckException", &TCPUFeatures::MCE},
    {"CMPXCHG8BInstruction", &TCPUFeatures::CX8},
    {"OnChipAPICHardware", &TCPUFeatures::APIC},
    {"FastSystemCall", &TCPUFeatures::SEP},
    {"MemoryTypeRangeRegisters", &TCPUFeatures::MTRR},
    {"PageGlobalExtension", &TCPUFeatures::PGE},
    {"MachineCheckArchitecture", &TCPUFeatures::MCA},
    {"ConditionalMoveInstruction", &TCPUFeatures::CMOV},
    {"PageAttributeTable", &TCPUFeatures::PAT},
    {"PageSizeExtension36bit", &TCPUFeatures::PSE36},
    {"SerialNumber", &TCPUFeatures::PSN},
    {"CLFLUSHInstruction", &TCPUFeatures::CLFSH},
    {"DebugStore", &TCPUFeatures::DS},
    {"ACPI", &TCPUFeatures::ACPI},
    {"MMX", &TCPUFeatures::MMX},
    {"FastFloatingPointSaveRestore", &TCPUFeatures::FXSR},
    {"StreamingSIMDExtensions", &TCPUFeatures::SSE},
    {"StreamingSIMDExtensions2", &TCPUFeatures::SSE2},
    {"SelfSnoop", &TCPUFeatures::SS},
    {"HyperThreadingTechnology", &TCPUFeatures::HTT},
    {"ThermalMonitor", &TCPUFeatures::TM},
    {"3DNow", &TCPUFeatures::_3DNOW},
    {"Enhanced3DNow", &TCPUFeatures::EX_3DNOW},
    {"EnhancedMMX", &TCPUFeatures::EX_MMX},
};

}  // namespace

void TCPU::Report(TReportLines& lines, const TReportFrame& frame) const {
    TReportElement e(lines, frame, "CPU", "TCPU");
    e.Integer("Count", kApi, Count());
    e.Text("REG_Vendor", kRegistry, f_.registryKey.VendorIdentifier);
    e.Text("REG_VendorID", kRegistry, f_.registryKey.Identifier);
    e.Text("REG_NameString", kRegistry, f_.registryKey.ProcessorNameString);
    e.Integer("REG_Frequency", kRegistry, f_.registryKey.MHz, "MHz");
    e.Text("Vendor", kCpuid, Vendor());
    e.Text("NameString", kCpuid, NameString());
    e.Text("FriendlyName", kCpuid, FriendlyName());
    e.Text("CodeName", kCpuid, CodeName());
    e.Integer("Family", kCpuid, Family());
    e.Integer("ExtendedFamily", kCpuid, ExtendedFamily());
    e.Integer("Model", kCpuid, Model());
    e.Integer("ExtendedModel", kCpuid, ExtendedModel());
    e.Integer("Stepping", kCpuid, Stepping());
    e.Integer("ExtendedStepping", kCpuid, ExtendedStepping());
    e.Text("Type", kCpuid, CPUTypeName(CPUType()));
    e.Integer("Brand", kCpuid, Brand());
    e.Integer("MaximumFunctionLevel", kCpuid, MaximumFunctionLevel());
    e.Integer("MaximumExtendedFunctionLevel", kCpuid, MaximumExtendedFunctionLevel());
    e.Integer("Frequency", kCpuid, Frequency(), "MHz");
    e.Text("SerialNumber", kCpuid, SerialNumber());
    e.Boolean("FDIVBug", kApi, FDIVBug());
    e.Close();
}

void TCPUFeatures::Report(TReportLines& lines, const TReportFrame& frame) const {
    TReportElement e(lines, frame, "CPUFeatures", "TCPUFeatures");
    for (const FeatureRow& row : kFeatures) e.Boolean(row.Name, kCpuid, (this->*row.Flag)());
    e.Close();
}

void TCPUCache::Report(TReportLines& lines, const TReportFrame& frame) const {
    TReportElement e(lines, frame, "CPUCache", "TCPUCache");
    e.Integer("Level1Data", kCpuid, Level1Data, "KB");
    e.Integer("Level1Code", kCpuid, Level1Code, "KB");
    e.Integer("Level2", kCpuid, Level2, "KB");
    e.Integer("Level3", kCpuid, Level3, "KB");
    e.Lines("CacheDescriptions", kCpuid, CacheDescriptions);
    e.Close();
}

}  // namespace rv
