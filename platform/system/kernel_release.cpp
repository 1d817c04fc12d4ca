#include "platform/system/kernel_release.h"

#include <sys/utsname.h>

namespace rv {

KernelRelease ReadKernelRelease() {
    struct utsname names;
    if (uname(&names) != 0) return {};
    return {names.sysname, names.release, names.machine};
}

}  // namespace rv
