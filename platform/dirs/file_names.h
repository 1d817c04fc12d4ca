#pragma once

#include <string>
#include <string_view>

namespace rv {

// The parts of a file name, taken from its text alone: folders are separated by "/", and the
// extension is the text from the last "." that follows the last "/" (the dot included), empty
// when there is none. Names are compared exactly elsewhere; nothing here changes letter case.

// The name without its folder: what follows the last "/".
std::string ExtractFileName(std::string_view fileName);
// The folder with its trailing "/": everything up to and including the last "/"; empty when
// there is none.
std::string ExtractFilePath(std::string_view fileName);
// The folder without the trailing "/", except for the root, which stays "/".
std::string ExtractFileDir(std::string_view fileName);
// The extension with its dot, or empty.
std::string ExtractFileExt(std::string_view fileName);
// The name with its extension replaced by `extension` (which brings its own dot, or is empty to
// remove the extension); a name without one gets it added.
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);

}  // namespace rv
