#pragma once

namespace rv {

enum class TCPUType { ctPrimary, ctOverDrive, ctSecondary, ctUnknown };

enum class TCPUFamily { cfUnknown, cf8086, cf286, cf386, cf486, cf586, cf686, cf786, cf8086_64 };

enum class TCPUArchitecture { IA_32, IA_64 };

// "Primary", "OverDrive", "Secondary", "Unknown".
const char* CPUTypeName(TCPUType type);

}  // namespace rv
