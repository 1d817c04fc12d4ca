// "Save to Presentation": the library as XML with a page that shows it.

#include "app/main_window.h"
#include "app/presentation.h"
#include "app/question_boxes.h"
#include "platform/dirs/file_names.h"
#include "platform/windows/dialog_service.h"

namespace rv {

void Twnd_rv_Main::cmSavePresentation(TObject* sender) {
    const TComponent* item = dynamic_cast<const TComponent*>(sender);
    const TPresentationKind& kind = PresentationKind(item ? item->Tag : 0);
    sd1->FileName = library_.LibraryName() + kind.Suffix;
    if (!sd1->Execute()) return;
    const std::string xmlFile = sd1->FileName;
    const std::string page = SavePresentation(library_, kind, xmlFile, TemplateFolder());
    if (Confirm("Show presentation?")) OpenDocument(page, ExtractFileDir(xmlFile));
}

}  // namespace rv
