#include <utility>

#include "medialib/library_reader.h"
#include "medialib/library_writer.h"
#include "medialib/media_lib.h"

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

}  // namespace

TMediaLib::TMediaLib() = default;
TMediaLib::~TMediaLib() = default;

void TMediaLib::SaveToFile(const std::string& name) {
    DocumentScope scope(doc_, WriteLibraryDocument(*this, LibraryForm::File));
    doc_->Save(name);
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
    DocumentScope scope(doc_, WriteLibraryDocument(*this, form));
    doc_->Save(name);
    fileName_ = name;
}

}  // namespace rv
