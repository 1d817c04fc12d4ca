#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace rv {

class TMediaLib;

enum class LibraryForm {
    File,                // everything, numbers as they are held
    BriefPresentation,   // artists and albums, dated, times as minutes and seconds
    DetailPresentation,  // the same with the tracks
};

// The library as XML, handed to `sink` piece by piece as it is made: the declaration naming
// windows-1250, the root element with its version, then the header values and the artists in
// stored order, one element per value.
void WriteLibrary(const TMediaLib& library, LibraryForm form,
                  const std::function<void(std::string_view)>& sink);
// The same as one text.
std::string LibraryToText(const TMediaLib& library, LibraryForm form);

// Seconds as minutes and seconds, "04:05": rounded to the second (halves to even), minutes not
// limited to two digits.
std::string MinutesSeconds(double seconds);

}  // namespace rv
