#pragma once

#include <cstddef>
#include <string_view>

namespace rv {

inline constexpr std::size_t kID3v1GenreCount = 148;

// The name of an ID3v1 genre byte; empty for 148 and above.
std::string_view ID3v1GenreName(unsigned genreID);

}  // namespace rv
