// Arbitrary bytes as a library file. Nothing may crash; what is accepted as a library is written,
// and reading and writing that again gives the same bytes.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "medialib/library_reader.h"
#include "medialib/library_writer.h"
#include "medialib/media_lib.h"
#include "medialib/media_lib_error.h"
#include "medialib/xml/simple_xml.h"

namespace {

class Library : public rv::TMediaLib {
public:
    explicit Library(rv::StoredLibrary stored) {
        ReplaceArtists(std::move(stored.Artists));
        if (stored.LibraryName) SetLibraryName(*stored.LibraryName);
    }
};

// The library in `bytes`, written again; throws what reading throws.
std::string Rewrite(const std::string& bytes) {
    const Library library(rv::ReadLibrary(bytes));
    return rv::LibraryToText(library, rv::LibraryForm::File);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string once;
    try {
        once = Rewrite(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const rv::EXmlError&) {
        return 0;
    } catch (const rv::EMediaLibError&) {
        return 0;
    }
    if (Rewrite(once) != once) std::abort();
    return 0;
}
