#pragma once

#include <cstdint>

#include "platform/files/read_only_file.h"

// The length of the audio of an ASF (Windows Media Audio) file as its header states it: the play
// duration of the file properties object less the preroll, the time a player waits before the
// first sample. It stays right when tags added to the header make the file larger than the
// header says, where an estimate from the file's size and bit rate would not.
namespace rv::audio_internal {

// The length in units of 100 ns; false for a file that is no ASF file, a broadcast (it states no
// play duration), a preroll at or past the play duration, or a header that is not whole.
bool AsfPlayLength(const ReadOnlyFile& file, std::uint64_t& length100ns);

}  // namespace rv::audio_internal
