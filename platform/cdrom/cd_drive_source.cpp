#include "platform/cdrom/cd_drive_source.h"

#include <cstdlib>
#include <mutex>
#include <optional>

#include "platform/cdrom/internal/fake_drives.h"

namespace rv {
namespace {

std::mutex sourceMutex;
std::optional<std::string> chosenFile;  // empty value: the machine's drives

}  // namespace

void UseFakeCdDrives(const std::string& descriptionFile) {
    std::lock_guard lock(sourceMutex);
    chosenFile = descriptionFile;
}

void UseMachineCdDrives() {
    std::lock_guard lock(sourceMutex);
    chosenFile = std::string();
}

std::string cdrom_internal::FakeDrivesFile() {
    std::lock_guard lock(sourceMutex);
    if (!chosenFile) {
        const char* fromEnvironment = std::getenv(kFakeCdDrivesVariable);
        chosenFile = fromEnvironment != nullptr ? fromEnvironment : "";
    }
    return *chosenFile;
}

}  // namespace rv
