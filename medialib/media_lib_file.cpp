#include <utility>

#include "medialib/library_reader.h"
#include "medialib/library_writer.h"
#include "medialib/media_lib.h"
#include "platform/files/atomic_file.h"

namespace rv {

namespace {

// Holds the document of an operation in `slot` and lets go of it when the operation ends,
// however it ends.
class DocumentScope {
public:
    DocumentScope(IXmlDocument& slot, IXmlDocument document) : slot_(slot) {
        slot_ = std::move(document);
    }
    ~DocumentScope() { slot_ = nullptr; }
    DocumentScope(const DocumentScope&) = delete;
    DocumentScope& operator=(const DocumentScope&) = delete;

private:
    IXmlDocument& slot_;
};

// The document's text, made while the document is held; the document goes before the file is
// written, so a large library is never in memory three times over.
std::string DocumentBytes(IXmlDocument& slot, IXmlDocument document) {
    const DocumentScope scope(slot, std::move(document));
    return slot->SaveToBytes();
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
    ReplaceFile(name, DocumentBytes(doc_, WriteLibraryDocument(*this, LibraryForm::File)));
    fileName_ = name;
    modified_ = false;
}

void TMediaLib::LoadFromFile(const std::string& name) {
    DocumentScope scope(doc_, MakeXmlDocument());
    doc_->Load(name);
    StoredLibrary stored = ReadLibrary(*doc_);
    doc_ = nullptr;  // the document's memory goes before the catalogue's old content
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
    ReplaceFile(name, DocumentBytes(doc_, WriteLibraryDocument(*this, form)));
    fileName_ = name;
}

}  // namespace rv
