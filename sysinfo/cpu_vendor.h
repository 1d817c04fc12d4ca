#pragma once

#include <string>
#include <string_view>

// The processor makers, by the vendor text CPUID leaf 0 reports. Index 0 is a maker not in
// the table.
namespace rv {

inline constexpr int vendorUnknown = 0;
inline constexpr int vendorIntel = 1;
inline constexpr int vendorAMD = 2;
inline constexpr int vendorCyrix = 3;
inline constexpr int vendorIDT = 4;
inline constexpr int vendorNexGen = 5;
inline constexpr int vendorUMC = 6;
inline constexpr int vendorRise = 7;
inline constexpr int vendorTransmeta = 8;
inline constexpr int vendorSiS = 9;
inline constexpr int vendorNSC = 10;

// The index of the 12-character vendor text, vendorUnknown when the table lacks it.
int VendorIndexOf(std::string_view vendorText);
// "Intel Corporation"; empty for vendorUnknown.
std::string VendorLongName(int vendorIndex);
// "Intel"; empty for vendorUnknown.
std::string VendorShortName(int vendorIndex);

}  // namespace rv
