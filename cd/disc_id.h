#pragma once

#include <cstdint>
#include <string>

#include "cd/cd_records.h"

// The disc's CDDB identity, worked out from whole seconds of its table of contents.
namespace rv {

// Bits 24-31: the sum of the digits of every track's start in seconds, modulo 255; bits 8-23:
// the playing time from the first track to the lead-out in seconds; bits 0-7: the track count.
std::uint32_t CddbDiscId(const TCDTOC& toc);

// Eight lower-case hexadecimal digits.
std::string DiscIdText(std::uint32_t id);

// "cddb query <id> <count> <start frame of each track> <lead-out in seconds>".
std::string CddbQueryCommand(const TCDTOC& toc);

}  // namespace rv
