#include "cd/cd_interface.h"

#include <atomic>

#include "platform/cdrom/aspi_binding.h"

namespace rv {
namespace {

std::atomic<bool> sptiSelected{false};

}  // namespace

int GetAspiAdapterCount() {
    if (!AspiLoaded()) return -1;
    const std::uint32_t info = GetASPI32SupportInfo();
    if (((info >> 8) & 0xFF) != SS_COMP) return -1;
    return static_cast<int>(info & 0xFF);
}

bool DetectCDInterface() {
    sptiSelected = true;
    return true;
}

bool SptiSelected() {
    return sptiSelected;
}

void RequirePassThrough(TCDInterface wish, const char* text) {
    // With ASPI adapters present an automatic wish would take ASPI before the pass-through was
    // selected; there are none here, so only the wish itself can rule the pass-through out.
    const bool wanted = wish == TCDInterface::cdiAutoDetect || wish == TCDInterface::cdiNTSCSI;
    if (!wanted || !DetectCDInterface()) throw ECDError(text);
}

}  // namespace rv
