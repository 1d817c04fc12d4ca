// Documents in the encodings beyond our own tables, which the system's converters handle: the
// default windows-1251, other single-byte pages, US-ASCII, UTF-16 in both byte orders, with and
// without a byte-order mark, and a multi-byte page; and the names and bytes nothing can read.

#include <gtest/gtest.h>

#include "medialib/xml/simple_xml.h"
#include "medialib/xml/tests/error_message.h"
#include "medialib/xml/xml_stream_writer.h"
#include "platform/text/utf16.h"

namespace rv {
namespace {

using test::ErrorInfo;
using namespace std::string_literals;

IXmlDocument FromBytes(std::string_view bytes) {
    IXmlDocument doc = MakeXmlDocument();
    doc->LoadFromBytes(bytes);
    return doc;
}

// UTF-8 text as UTF-16 bytes in either order, with or without the byte-order mark.
std::string Utf16Bytes(std::string_view utf8, bool bigEndian, bool mark) {
    std::u16string units = Utf8ToUtf16(utf8);
    if (mark) units.insert(units.begin(), u'\uFEFF');
    std::string bytes;
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST(XmlEncodings, TheDefaultDocumentIsWrittenAndReadInWindows1251) {
    IXmlDocument doc = MakeXmlDocument("R");
    doc->DocumentElement()->AppendElement("T")->SetText("Живот Łódź");
    const std::string bytes = doc->SaveToBytes();
    EXPECT_EQ(bytes,
              "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n<R>\r\n\t<T>"
              "\xC6\xE8\xE2\xEE\xF2 &#x141;&#xF3;d&#x17A;</T>\r\n</R>");
    EXPECT_EQ(FromBytes(bytes)->DocumentElement()->GetChildText("T"), "Живот Łódź");
}

TEST(XmlEncodings, EveryEncodingTheSystemKnowsRoundTrips) {
    const std::string text = "Живот Łódź Ωmega 日本 🎵 <&\"> end";
    const struct {
        const char* name;
        std::string_view inText;  // how the text starts in the file
    } cases[] = {
        {"windows-1251", "\xC6\xE8\xE2\xEE\xF2 &#x141;"},
        {"KOI8-R", "\xF6\xC9\xD7\xCF\xD4 &#x141;"},
        {"ISO-8859-2",
         "&#x416;&#x438;&#x432;&#x43E;&#x442; \xA3\xF3"
         "d\xBC"},
        {"US-ASCII", "&#x416;&#x438;&#x432;&#x43E;&#x442; &#x141;&#xF3;d&#x17A;"},
        {"Shift_JIS", "\x84\x47\x84\x79\x84\x72\x84\x80\x84\x84 &#x141;"},
        {"UTF-16", ""},
        {"UTF-16LE", ""},
        {"UTF-16BE", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        IXmlDocument doc = MakeXmlDocument("R", "1.0", c.name);
        IXmlElement root = doc->DocumentElement();
        root->SetAttr("a", text);
        root->AppendElement("T")->SetText(text);
        root->AppendElement("C")->AppendCDATA("Жž");
        root->AppendComment("Жž");
        const std::string bytes = doc->SaveToBytes();
        if (!c.inText.empty()) {
            EXPECT_NE(bytes.find(c.inText), std::string::npos) << bytes;
        }

        IXmlDocument back = FromBytes(bytes);
        EXPECT_EQ(back->DocumentElement()->GetAttr("a"), text);
        EXPECT_EQ(back->DocumentElement()->GetChildText("T"), text);
        EXPECT_EQ(back->DocumentElement()->GetChildText("C"), "Жž");
        EXPECT_EQ(back->DeclaredEncoding(), c.name);
        EXPECT_EQ(back->SaveToBytes(), bytes);
    }
    // A character the page lacks: a reference in text, a question mark in a comment, where no
    // reference can stand.
    IXmlDocument koi8 = MakeXmlDocument("R", "1.0", "KOI8-R");
    koi8->DocumentElement()->AppendComment("Жž");
    koi8->DocumentElement()->AppendElement("C")->AppendCDATA("Жž");
    EXPECT_EQ(
        koi8->SaveToBytes(),
        "<?xml version=\"1.0\" encoding=\"KOI8-R\"?>\r\n<R><!--\xF6?-->\r\n\t<C>\xF6&#x17E;</C>"
        "\r\n</R>");
}

TEST(XmlEncodings, Utf16InBothOrdersWithOrWithoutTheMark) {
    const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-16\"?><R a=\"Жž\">𝄞 x</R>";
    for (const bool bigEndian : {false, true}) {
        for (const bool mark : {true, false}) {
            SCOPED_TRACE(std::to_string(bigEndian) + std::to_string(mark));
            IXmlElement root = FromBytes(Utf16Bytes(text, bigEndian, mark))->DocumentElement();
            ASSERT_TRUE(root);
            EXPECT_EQ(root->GetAttr("a"), "Жž");
            EXPECT_EQ(root->Text(), "𝄞 x");
        }
    }
    // Without a declaration too.
    EXPECT_EQ(FromBytes(Utf16Bytes("<R>Ж</R>", true, false))->DocumentElement()->Text(), "Ж");

    // "UTF-16" is written with the mark, little-endian; a named order without it.
    const std::string body = "\r\n<R/>";
    EXPECT_EQ(MakeXmlDocument("R", "1.0", "UTF-16")->SaveToBytes(),
              Utf16Bytes("<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + body, false, true));
    EXPECT_EQ(MakeXmlDocument("R", "1.0", "UTF-16BE")->SaveToBytes(),
              Utf16Bytes("<?xml version=\"1.0\" encoding=\"UTF-16BE\"?>" + body, true, false));
}

TEST(XmlEncodings, UnknownNamesAndBytesOutsideTheEncodingAreRefused) {
    for (const char* name : {"x-no-such-charset", "KOI8-R//TRANSLIT", "UTF-8,x"}) {
        const std::string refused = "Кодировка \"" + std::string(name) + "\" не поддерживается";
        EXPECT_EQ(test::MessageOf([&] { MakeXmlDocument("R", "1.0", name)->SaveToBytes(); }),
                  refused);
        EXPECT_EQ(test::MessageOf([&] { XmlStreamWriter([](std::string_view) {}, "1.0", name); }),
                  refused);
        const ErrorInfo error = test::ErrorOf([&] {
            FromBytes("<?xml version=\"1.0\" encoding=\"" + std::string(name) + "\"?><R/>");
        });
        EXPECT_EQ(std::tuple(error.message, error.line, error.column), std::tuple(refused, 1, 1));
    }

    const struct {
        std::string bytes;
        const char* message;
        int line, column;
    } bad[] = {
        {"<?xml version='1.0' encoding='US-ASCII'?>\n<R>a\xE9</R>",
         "Некорректная последовательность байтов в кодировке \"US-ASCII\"", 2, 5},
        {Utf16Bytes("<R>x", false, true) + "\x00\xD8<\0/\0R\0>\0"s,
         "Некорректная последовательность байтов в кодировке \"UTF-16LE\"", 1, 5},
        {Utf16Bytes("<R/>", true, false) + "\0"s,
         "Некорректная последовательность байтов в кодировке \"UTF-16BE\"", 1, 5},
    };
    for (const auto& b : bad) {
        const ErrorInfo error = test::ErrorOf([&] { FromBytes(b.bytes); });
        EXPECT_EQ(std::tuple(error.message, error.line, error.column),
                  std::tuple(b.message, b.line, b.column));
    }

    // A name the encoding cannot hold is refused, as in our own pages.
    IXmlDocument doc = MakeXmlDocument("R", "1.0", "KOI8-R");
    doc->DocumentElement()->AppendElement("Łódź");
    EXPECT_EQ(test::MessageOf([&] { doc->SaveToBytes(); }),
              "Имя \"Łódź\" нельзя записать в кодировке \"KOI8-R\"");
    // A declaration of UTF-16 in single bytes cannot be true: the bytes are UTF-8.
    EXPECT_EQ(
        FromBytes("<?xml version=\"1.0\" encoding=\"UTF-16\"?><R>Ж</R>")->DocumentElement()->Text(),
        "Ж");
}

}  // namespace
}  // namespace rv
