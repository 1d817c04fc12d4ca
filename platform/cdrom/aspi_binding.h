#pragma once

#include <cstdint>

// The binding of ASPI, the SCSI manager of the Windows 95 family (wnaspi32.dll). Linux has no
// such library, so the binding is never loaded: the CD code answers as on a Windows machine
// without it and reaches the drives through the SCSI pass-through instead.
namespace rv {

inline constexpr std::uint8_t SS_COMP = 0x01;
inline constexpr std::uint8_t SS_NO_ASPI = 0xE3;

bool AspiLoaded();

// Bits 8-15 the status (SS_COMP when the manager answered), bits 0-7 the number of host
// adapters. Without the library: SS_NO_ASPI and no adapters.
std::uint32_t GetASPI32SupportInfo();

}  // namespace rv
