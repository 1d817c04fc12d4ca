#pragma once

#include <optional>
#include <string>
#include <vector>

#include "medialib/records.h"

namespace rv {

class TXmlDocument;

// The content of a library file, read from its document.
struct StoredLibrary {
    std::optional<std::string> LibraryName;  // nothing when the file names none
    std::vector<TArtist> Artists;            // album times as the file gives them
};

// Reads a library document. Element names are compared without regard to ASCII letter case and
// other elements are passed over, wherever they stand. Raises EMediaLibError when the document
// is no library of version 1.0, or when an artist, album or track lacks a value element every
// written file has; numbers that do not convert read as 0 and texts are cut to 255 characters.
// Texts are taken out of the document, which is left for dropping.
StoredLibrary ReadLibrary(TXmlDocument& document);

}  // namespace rv
