#pragma once

#include <map>
#include <string>
#include <string_view>

// What the kernel lists of the first processor in /proc/cpuinfo, "name : value" per line
// ("vendor_id", "model name", "cpu MHz" on x86); the names and values without the blanks
// around them.
namespace rv {

using CpuInfoFields = std::map<std::string, std::string>;

// Empty when the list cannot be read.
CpuInfoFields ReadCpuInfo();

// The lines up to the first blank line that follows a field.
CpuInfoFields ParseCpuInfo(std::string_view text);

}  // namespace rv
