#pragma once

#include <cstddef>
#include <cstdint>

namespace rv {

// The machine's total usable physical memory in bytes (what /proc/meminfo calls MemTotal);
// 0 when it cannot be asked.
std::uint64_t PhysicalMemoryBytes();

// Zero-filled memory of `bytes` straight from the system, aligned to 2 MiB and offered to it for
// huge pages, so that filling it takes one page fault per 2 MiB instead of one per 4 KiB; nullptr
// when the system has none. Given back whole, at once, by FreeLargeBlock with the same size.
void* AllocateLargeBlock(std::size_t bytes);
void FreeLargeBlock(void* block, std::size_t bytes);

}  // namespace rv
