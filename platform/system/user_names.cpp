#include "platform/system/user_names.h"

#include <limits.h>
#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace rv {
namespace {

// The user database entry of the effective user, through getpwuid_r with a buffer that
// grows until the entry fits.
template <typename Field>
std::string UserField(Field field) {
    long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : 1024);
    for (;;) {
        struct passwd entry;
        struct passwd* found = nullptr;
        const int error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (1u << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr) return {};
        const char* text = field(entry);
        return text != nullptr ? text : "";
    }
}

}  // namespace

std::string HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return name;
}

std::string LoginName() {
    return UserField([](const passwd& entry) { return entry.pw_name; });
}

std::string HomeFolder() {
    return UserField([](const passwd& entry) { return entry.pw_dir; });
}

}  // namespace rv
