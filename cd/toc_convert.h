#pragma once

#include <cstdint>

#include "cd/cd_records.h"

namespace rv {

// A track is audio when the data bit (4) of its control nibble is clear, whatever its
// pre-emphasis (1) and four-channel (8) bits say.
bool IsAudioTrack(std::uint8_t adrControl);

// Turns a READ TOC answer into `toc`, which is emptied first. The answer is a readable disc
// only when 1 <= first track <= last track <= 99 and every descriptor, the lead-out's too,
// lies inside the data the drive returned (its delivered length and its header's length);
// otherwise `toc` stays empty and the result is false.
bool ConvertTOC(const TCDRawTOC& raw, TCDTOC& toc);

}  // namespace rv
