#pragma once

#include <string>
#include <string_view>

namespace rv {

class TMediaLib;

// A presentation: the library as XML for a browser, and beside it a page, made from a template
// lying next to the program, that shows the XML.
struct TPresentationKind {
    const char* Suffix;        // added to the library's name to propose the file name
    const char* TemplateName;  // the page's template, in the program's folder
    bool Detail;               // with tracks
};
// Tag 1 is the detail presentation; any other tag the brief one.
const TPresentationKind& PresentationKind(int tag);

// The page of the XML file `xmlFile`: the same name with the extension ".htm", or the whole
// name followed by ".htm" when that would be the XML file itself.
std::string PresentationPageName(const std::string& xmlFile);

// A file name as a reference from the page to a file beside it: every byte but ASCII letters,
// digits and "-._~" percent-encoded, so that the name is one relative address wherever the
// template puts it (an attribute, a script, text) and no character of it is read as markup.
std::string PageReference(std::string_view fileName);

// The template with its first "%file" (in any letter case) replaced by PageReference(xmlName);
// every other byte stays as it is.
std::string FillPageTemplate(std::string_view pageTemplate, std::string_view xmlName);

// The folder the templates lie in: the program's own.
std::string TemplateFolder();

// Writes `library` (through a copy, so that the writer's sorting leaves it as it is) as the
// kind's XML to `xmlFile`, then the page from the kind's template in `templateFolder` beside
// it; returns the page's name. A template that cannot be read raises EFileError after the XML
// was written, and no page is written.
std::string SavePresentation(const TMediaLib& library, const TPresentationKind& kind,
                             const std::string& xmlFile, const std::string& templateFolder);

}  // namespace rv
