#include "platform/cdrom/aspi_binding.h"

namespace rv {

bool AspiLoaded() {
    return false;
}

std::uint32_t GetASPI32SupportInfo() {
    return std::uint32_t{SS_NO_ASPI} << 8;
}

}  // namespace rv
