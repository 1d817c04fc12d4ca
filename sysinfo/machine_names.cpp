#include "sysinfo/machine_names.h"

#include "platform/system/user_names.h"

namespace rv {

std::string GetMachineName() {
    return HostName();
}

std::string GetUserNameText() {
    return LoginName();
}

std::string GetProfilePath() {
    return HomeFolder();
}

}  // namespace rv
