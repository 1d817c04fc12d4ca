#include <utility>

#include "medialib/library_reader.h"
#include "medialib/library_writer.h"
#include "medialib/media_lib.h"
#include "medialib/xml/xml_content_reader.h"
#include "platform/files/atomic_file.h"

namespace rv {

namespace {

// The document's text; the document goes before the file is written, so a large library is
// never in memory three times over.
std::string DocumentBytes(IXmlDocument document) {
    return document->SaveToBytes();
}

// Replaces the file in one step, handing the text over in pieces the writer need not copy.
void ReplaceFile(const std::string& name, std::string_view bytes) {
    constexpr size_t kPiece = 1 << 15;
    AtomicFileWriter file(name);
    for (size_t pos = 0; pos < bytes.size(); pos += kPiece) file.Write(bytes.substr(pos, kPiece));
    file.Commit();
}

}  // namespace

TMediaLib::TMediaLib() = default;
TMediaLib::~TMediaLib() = default;

void TMediaLib::SaveToFile(const std::string& name) {
    ReplaceFile(name, DocumentBytes(WriteLibraryDocument(*this, LibraryForm::File)));
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
    ReplaceFile(name, DocumentBytes(WriteLibraryDocument(*this, form)));
    fileName_ = name;
}

}  // namespace rv
