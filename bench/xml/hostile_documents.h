#pragma once

#include <string>

// The worst shapes of input known for the XML readers, each written to a temporary file that
// goes when the program ends; the file's path is returned.

// One element with `count` attributes of distinct names.
std::string ManyAttributesFile(int count);

// A library file whose root holds `count` empty elements of distinct names before one artist.
std::string ManyNamesLibraryFile(int count);

// The same with 2^`bits` names that all have one value of the binary form's name hash.
std::string CollidingNamesLibraryFile(int bits);
