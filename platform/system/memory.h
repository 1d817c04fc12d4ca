#pragma once

#include <cstdint>

namespace rv {

// The machine's total usable physical memory in bytes (what /proc/meminfo calls MemTotal);
// 0 when it cannot be asked.
std::uint64_t PhysicalMemoryBytes();

}  // namespace rv
