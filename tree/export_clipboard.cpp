#include "tree/export_clipboard.h"

#include <cstring>

#include "platform/text/ascii_case.h"
#include "platform/text/decimal_point.h"
#include "platform/text/format.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

constexpr std::string_view kDocumentStart =
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
constexpr std::string_view kBodyStart =
    "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head>"
    "<body><!--StartFragment-->";
constexpr std::string_view kDocumentEnd = "<!--EndFragment--></body></html>";
// "Version:1.0" and the four offset lines, each of eight digits.
constexpr std::size_t kDescriptionSize = 97;

}  // namespace

std::string HTMLClipboardDocument(std::string_view fragment) {
    const std::size_t startFragment = kDescriptionSize + kDocumentStart.size() + kBodyStart.size();
    const std::size_t endFragment = startFragment + fragment.size();
    std::string document = "Version:1.0\r\n";
    document += Format("StartHTML:%.8zu\r\n", kDescriptionSize);
    document += Format("EndHTML:%.8zu\r\n", endFragment + kDocumentEnd.size());
    document += Format("StartFragment:%.8zu\r\n", startFragment);
    document += Format("EndFragment:%.8zu\r\n", endFragment);
    document += kDocumentStart;
    document += kBodyStart;
    document += fragment;
    document += kDocumentEnd;
    return document;
}

char32_t CSVListSeparator() {
    return LocaleDecimalPoint() == "," ? U';' : U',';
}

std::string TCustomVirtualStringTree::ContentToClipboard(std::string_view format,
                                                         TVSTTextSourceType source) {
    std::string data;
    std::size_t terminator = 1;
    if (SameText(format, "Plain text")) {
        data = ContentToText(source, U'\t');
    } else if (SameText(format, "Unicode text")) {
        const std::u16string text = ContentToUnicode(source, U'\t');
        data.resize(text.size() * sizeof(char16_t));
        if (!text.empty()) std::memcpy(data.data(), text.data(), data.size());
        terminator = sizeof(char16_t);
    } else if (SameText(format, "CSV")) {
        data = ContentToText(source, CSVListSeparator());
    } else if (SameText(format, "Rich Text Format") ||
               SameText(format, "Rich Text Format Without Objects")) {
        data = ContentToRTF(source);
    } else if (SameText(format, "HTML Format")) {
        data = HTMLClipboardDocument(ContentToHTML(source));
    }
    if (!data.empty()) data.append(terminator, '\0');
    return data;
}

}  // namespace rv
