#pragma once

#include <string>

namespace rv {

// What the running kernel says of itself (uname): "Linux", "6.1.0-18-amd64", "x86_64".
struct KernelRelease {
    std::string SystemName;
    std::string Release;
    std::string Machine;
};

// Empty texts when the kernel cannot be asked.
KernelRelease ReadKernelRelease();

}  // namespace rv
