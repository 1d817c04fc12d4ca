#include <string_view>
#include <utility>

#include "medialib/library_reader.h"
#include "medialib/library_writer.h"
#include "medialib/media_lib.h"
#include "medialib/xml/xml_content_reader.h"
#include "platform/files/atomic_file.h"

namespace rv {

namespace {

// Replaces the file in one step, writing the library as it is made.
void WriteLibraryFile(const std::string& name, const TMediaLib& library, LibraryForm form) {
    AtomicFileWriter file(name);
    WriteLibrary(library, form, [&file](std::string_view piece) { file.Write(piece); });
    file.Commit();
}

}  // namespace

TMediaLib::TMediaLib() = default;
TMediaLib::~TMediaLib() = default;

void TMediaLib::SaveToFile(const std::string& name) {
    WriteLibraryFile(name, *this, LibraryForm::File);
    fileName_ = name;
    modified_ = false;
}

void TMediaLib::LoadFromFile(const std::string& name) {
    // The file's bytes go before the catalogue's old content.
    StoredLibrary stored = ReadLibrary(ReadXmlFile(name));
    ReplaceArtists(std::move(stored.Artists));
    if (stored.LibraryName) libraryName_ = std::move(*stored.LibraryName);
    fileName_ = name;
    modified_ = false;
}

void TMediaLib::SaveBriefPresentation(const std::string& name) {
    SortAll();
    SavePresentation(name, LibraryForm::BriefPresentation);
}

void TMediaLib::SaveDetailPresentation(const std::string& name) {
    // Tracks keep the order they were filed in, and album times stay as they are.
    SortArtists();
    for (int a = 0; a < GetArtistCount(); ++a) SortAlbums(a);
    SavePresentation(name, LibraryForm::DetailPresentation);
}

void TMediaLib::SavePresentation(const std::string& name, LibraryForm form) {
    WriteLibraryFile(name, *this, form);
    fileName_ = name;
}

}  // namespace rv
