#include <gtest/gtest.h>

#include <string>

#include "platform/transfer/clipboard_format_names.h"
#include "platform/transfer/media_bytes.h"

namespace rv {
namespace {

TEST(ClipboardFormatNames, OneNumberPerNameAndAMediaTypeForEach) {
    const TClipFormat html = RegisterClipboardFormat("HTML Format");
    EXPECT_GE(html, 0xC000);
    EXPECT_EQ(RegisterClipboardFormat("html format"), html);
    EXPECT_EQ(GetClipboardFormatName(html), "HTML Format");
    EXPECT_EQ(RegisterClipboardFormat(""), 0);
    EXPECT_EQ(GetClipboardFormatName(CF_TEXT), "");
    const struct {
        TClipFormat format;
        const char* type;
    } table[] = {
        {CF_TEXT, "text/plain"},
        {CF_UNICODETEXT, "text/plain;charset=utf-8"},
        {html, "text/html"},
        {RegisterClipboardFormat("Rich Text Format"), "text/rtf"},
        {RegisterClipboardFormat("Rich Text Format Without Objects"), "text/rtf"},
        {RegisterClipboardFormat("CSV"), "text/csv"},
        {RegisterClipboardFormat("Virtual Tree Data"),
         "application/x-lorvix-reelvault-virtual-tree-data"},
        {CF_BITMAP, ""},
    };
    for (const auto& row : table) EXPECT_EQ(FormatMediaType(row.format), row.type) << row.format;
    // Both rich text formats come back from the one type, the preferred first.
    const auto rtf = FormatsOfMediaType("text/rtf");
    ASSERT_EQ(rtf.size(), 2u);
    EXPECT_EQ(GetClipboardFormatName(rtf[0]), "Rich Text Format");
}

TEST(MediaBytes, TextLosesItsNulUtf16BecomesUtf8HtmlLosesItsDescription) {
    const TClipFormat html = RegisterClipboardFormat("HTML Format");
    const std::string utf16("A\0\xe9\0\0\0junk", 10);
    const struct {
        TClipFormat format;
        std::string clipboard, media;
    } table[] = {
        {CF_TEXT, std::string("ab\tc\0", 5), "ab\tc"},
        {CF_UNICODETEXT, utf16, "A\xc3\xa9"},
        {RegisterClipboardFormat("Virtual Tree Data"), std::string("\0\1\2", 3),
         std::string("\0\1\2", 3)},
    };
    for (const auto& row : table)
        EXPECT_EQ(ToMediaBytes(row.format, row.clipboard), row.media) << row.format;
    EXPECT_EQ(FromMediaBytes(CF_TEXT, "ab"), std::string("ab\0", 3));
    EXPECT_EQ(FromMediaBytes(CF_UNICODETEXT, "A\xc3\xa9"), std::string("A\0\xe9\0\0\0", 6));
    // An HTML document goes onto the clipboard inside its description and comes back whole.
    const std::string doc = "<html><body>x</body></html>";
    const std::string described = FromMediaBytes(html, doc);
    EXPECT_TRUE(described.starts_with("Version:"));
    EXPECT_EQ(ToMediaBytes(html, described), doc);
    // A description whose numbers lie outside the document gives the bytes as they are.
    EXPECT_EQ(ToMediaBytes(html, "StartHTML:999\r\n<b>"), "StartHTML:999\r\n<b>");
}

}  // namespace
}  // namespace rv
