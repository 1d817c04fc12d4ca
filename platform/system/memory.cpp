#include "platform/system/memory.h"

#include <sys/sysinfo.h>

namespace rv {

std::uint64_t PhysicalMemoryBytes() {
    struct sysinfo facts;
    if (sysinfo(&facts) != 0) return 0;
    return static_cast<std::uint64_t>(facts.totalram) * facts.mem_unit;
}

}  // namespace rv
