#pragma once

#include <cstddef>
#include <string>

// A catalogue file as the program writes it (windows-1250, CR LF, TAB indentation) of about
// `targetBytes` bytes, with Czech titles, ampersands and quotes in the texts.
std::string MakeLibraryDocument(size_t targetBytes);
