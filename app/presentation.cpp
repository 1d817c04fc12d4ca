#include "app/presentation.h"

#include "medialib/media_lib.h"
#include "platform/dirs/file_names.h"
#include "platform/dirs/full_path.h"
#include "platform/files/atomic_file.h"
#include "platform/files/read_only_file.h"
#include "platform/text/ascii_case.h"

namespace rv {

namespace {

constexpr TPresentationKind kBrief{"_Brief", "Reelvault.bpt", false};
constexpr TPresentationKind kDetail{"_Detail", "Reelvault.dpt", true};
constexpr std::string_view kPlaceholder = "%file";

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

}  // namespace

const TPresentationKind& PresentationKind(int tag) {
    return tag == 1 ? kDetail : kBrief;
}

std::string PresentationPageName(const std::string& xmlFile) {
    std::string page = ChangeFileExt(xmlFile, ".htm");
    // Written over the XML, the page would take the place of what it shows.
    if (page == xmlFile) page = xmlFile + ".htm";
    return page;
}

std::string PageReference(std::string_view fileName) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : fileName) {
        const auto c = static_cast<unsigned char>(ch);
        if (Unreserved(c)) {
            out += ch;
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string FillPageTemplate(std::string_view pageTemplate, std::string_view xmlName) {
    const std::string folded = LowerCase(pageTemplate);
    const std::size_t at = folded.find(kPlaceholder);
    if (at == std::string::npos) return std::string(pageTemplate);
    std::string page(pageTemplate.substr(0, at));
    page += PageReference(xmlName);
    page += pageTemplate.substr(at + kPlaceholder.size());
    return page;
}

std::string TemplateFolder() {
    return ExtractFilePath(ExecutableFileName());
}

std::string SavePresentation(const TMediaLib& library, const TPresentationKind& kind,
                             const std::string& xmlFile, const std::string& templateFolder) {
    {
        TMediaLib copy;
        copy.SetLibraryName(library.LibraryName());
        copy.Merge(library);
        if (kind.Detail)
            copy.SaveDetailPresentation(xmlFile);
        else
            copy.SaveBriefPresentation(xmlFile);
    }
    const std::string templateFile = IncludeTrailingSlash(templateFolder) + kind.TemplateName;
    std::string pageTemplate;
    if (!ReadWholeFile(templateFile, pageTemplate))
        throw EFileError("Cannot read the presentation template " + templateFile);
    const std::string page = PresentationPageName(xmlFile);
    ReplaceFileAtomically(page, FillPageTemplate(pageTemplate, ExtractFileName(xmlFile)));
    return page;
}

}  // namespace rv
