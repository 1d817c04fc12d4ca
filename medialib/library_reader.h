#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "medialib/records.h"

namespace rv {

// The content of a library file.
struct StoredLibrary {
    std::optional<std::string> LibraryName;  // nothing when the file names none
    std::vector<TArtist> Artists;            // album times as the file gives them
};

// Reads the bytes of a library file, XML text or the binary form, without building a document.
// Element names are compared without regard to ASCII letter case and other elements are passed
// over, wherever they stand. The text of a value element is all its text and CDATA, nested
// elements' included, joined by one blank. Raises EXmlError for a file that is not well formed
// and EMediaLibError when it is no library of version 1.0 (found as soon as the root's start tag
// is read), or when an artist, album or track lacks a value element every written file has;
// numbers that do not convert, or are not finite, read as 0 and texts are cut to 255 characters.
StoredLibrary ReadLibrary(std::string_view bytes);

}  // namespace rv
