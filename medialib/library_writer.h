#pragma once

#include <string>

#include "medialib/xml/xml_document.h"

namespace rv {

class TMediaLib;

enum class LibraryForm {
    File,                // everything, numbers as they are held
    BriefPresentation,   // artists and albums, dated, times as minutes and seconds
    DetailPresentation,  // the same with the tracks
};

// The library as a document: the declaration naming windows-1250, the root element with its
// version, then the header values and the artists in stored order, one element per value.
IXmlDocument WriteLibraryDocument(const TMediaLib& library, LibraryForm form);

// Seconds as minutes and seconds, "04:05": rounded to the second (halves to even), minutes not
// limited to two digits.
std::string MinutesSeconds(double seconds);

}  // namespace rv
