#include "tree/export_clipboard.h"

#include <cstring>

#include "platform/text/ascii_case.h"
#include "platform/text/decimal_point.h"
#include "platform/text/format.h"
#include "platform/transfer/clipboard_format_names.h"
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

HGLOBAL TCustomVirtualStringTree::ContentToClipboard(TClipFormat format,
                                                     TVSTTextSourceType source) {
    // Registered formats by their names; other standard formats are no text.
    const std::string name = format < CF_MAX ? std::string() : GetClipboardFormatName(format);
    std::string data;
    std::size_t terminator = 1;
    if (format == CF_TEXT) {
        data = ContentToText(source, U'\t');
    } else if (format == CF_UNICODETEXT) {
        const std::u16string text = ContentToUnicode(source, U'\t');
        data.resize(text.size() * sizeof(char16_t));
        if (!text.empty()) std::memcpy(data.data(), text.data(), data.size());
        terminator = sizeof(char16_t);
    } else if (SameText(name, "CSV")) {
        data = ContentToText(source, CSVListSeparator());
    } else if (SameText(name, "Rich Text Format") ||
               SameText(name, "Rich Text Format Without Objects")) {
        data = ContentToRTF(source);
    } else if (SameText(name, "HTML Format")) {
        data = HTMLClipboardDocument(ContentToHTML(source));
    }
    if (data.empty()) return nullptr;
    data.append(terminator, '\0');
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_SHARE, data.size());
    if (block) std::memcpy(GlobalLock(block), data.data(), data.size());
    return block;
}

HRESULT TCustomVirtualStringTree::RenderOLEData(const TFormatEtc& format, TStgMedium& medium,
                                                bool forClipboard) {
    const HRESULT result = TBaseVirtualTree::RenderOLEData(format, medium, forClipboard);
    if (SUCCEEDED(result)) return result;
    HGLOBAL block = ContentToClipboard(format.cfFormat, forClipboard ? tstCutCopySet : tstSelected);
    if (!block) return result;
    medium = TStgMedium{};
    medium.tymed = TYMED_HGLOBAL;
    medium.hGlobal = std::move(block);
    return S_OK;
}

}  // namespace rv
