#include "sysinfo/cpu_vendor.h"

#include <array>

#include "sysinfo/cpu_types.h"

namespace rv {
namespace {

struct TVendor {
    std::string_view Text;
    const char* LongName;
    const char* ShortName;
};

constexpr std::array<TVendor, 10> kVendors = {{
    {"GenuineIntel", "Intel Corporation", "Intel"},
    {"AuthenticAMD", "Advanced Micro Devices", "AMD"},
    {"CyrixInstead", "Cyrix Corporation", "Cyrix"},
    {"CentaurHauls", "IDT/Centaur/VIA", "IDT"},
    {"NexGenDriven", "NexGen Inc.", "NexGen"},
    {"UMC UMC UMC ", "United Microelectronics Corp", "UMC"},
    {"RiseRiseRise", "Rise Technology", "Rise"},
    {"GenuineTMx86", "Transmeta", "Transmeta"},
    {"SiS SiS SiS ", "SiS", "SiS"},
    {"Geode by NSC", "National Semiconductor", "NSC"},
}};

const TVendor* Row(int vendorIndex) {
    if (vendorIndex < 1 || vendorIndex > static_cast<int>(kVendors.size())) return nullptr;
    return &kVendors[static_cast<std::size_t>(vendorIndex - 1)];
}

}  // namespace

int VendorIndexOf(std::string_view vendorText) {
    for (std::size_t i = 0; i < kVendors.size(); ++i) {
        if (kVendors[i].Text == vendorText) return static_cast<int>(i + 1);
    }
    return vendorUnknown;
}

std::string VendorLongName(int vendorIndex) {
    const TVendor* row = Row(vendorIndex);
    return row != nullptr ? row->LongName : "";
}

std::string VendorShortName(int vendorIndex) {
    const TVendor* row = Row(vendorIndex);
    return row != nullptr ? row->ShortName : "";
}

const char* CPUTypeName(TCPUType type) {
    switch (type) {
        case TCPUType::ctPrimary:
            return "Primary";
        case TCPUType::ctOverDrive:
            return "OverDrive";
        case TCPUType::ctSecondary:
            return "Secondary";
        case TCPUType::ctUnknown:
            break;
    }
    return "Unknown";
}

}  // namespace rv
