#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "medialib/xml/xml_node.h"

namespace rv {

// An element: a name, attributes and either children or one scalar value. Asking for its child
// list turns a value into a text child, so it never has both.
class TXmlElement : public TXmlNode {
public:
    TXmlElement(TXmlNameTable* nameTable, XmlNameID nameID) : TXmlNode(nameTable, nameID) {}

    XmlNodeType NodeType() const override { return kXmlElementNode; }
    std::string Text() const override;
    // Removes the children and keeps the text as the value.
    void SetText(std::string_view text) override;
    XmlVarType DataType() const override;
    XmlValue NodeValue() const override;
    void SetNodeValue(const XmlValue& value) override;

    // The scalar value (empty while the element has children or no value).
    const XmlValue& Value() const { return value_; }
    // Hands the value over, leaving the element empty: for readers done with the document.
    XmlValue TakeValue() { return std::exchange(value_, XmlValue()); }

    // Replace every text and CDATA child (other children stay) by CDATA sections holding
    // `text`, split after the first "]" of each "]]>" as the writer splits them.
    void ReplaceTextByCDATASection(std::string_view text);
    // Replace every text and CDATA child by one text child holding the bytes in Base64, with
    // line breaks as Base64Encode makes them for `maxLineLength`.
    void ReplaceTextByBinaryData(const void* data, size_t size, int maxLineLength = 0);
    void ReplaceTextByBinaryData(std::string_view bytes, int maxLineLength = 0) {
        ReplaceTextByBinaryData(bytes.data(), bytes.size(), maxLineLength);
    }
    // The bytes of the Base64 form in Text(); raises EXmlError when it is no Base64.
    std::string GetTextAsBinaryData() const;

    TXmlElement* AsElement() override { return this; }

protected:
    TXmlNodeList& MutableChildren() override;
    IXmlNode CloneSelf() const override;

private:
    friend class XmlDomBuilder;

    XmlValue value_;
};

// A text node: a scalar value, text as parsed.
class TXmlText : public TXmlNode {
public:
    explicit TXmlText(TXmlNameTable* nameTable, XmlValue value = {})
        : TXmlNode(nameTable, kXmlTextNameID), value_(std::move(value)) {}

    XmlNodeType NodeType() const override { return kXmlTextNode; }
    std::string Text() const override { return ValueToText(value_); }
    void SetText(std::string_view text) override { value_ = XmlValue(text); }
    XmlVarType DataType() const override;
    XmlValue NodeValue() const override { return value_; }
    void SetNodeValue(const XmlValue& value) override { value_ = value; }

    const XmlValue& Value() const { return value_; }

    TXmlText* AsText() override { return this; }

protected:
    IXmlNode CloneSelf() const override;

private:
    XmlValue value_;
};

// Common part of CDATA sections and comments: a plain text. Read through Text() it comes
// without surrounding blanks unless the document keeps white space.
class TXmlCharacterData : public TXmlNode {
public:
    std::string Text() const override;
    void SetText(std::string_view text) override { data_ = text; }

    // The text exactly as stored.
    const std::string& Data() const { return data_; }

protected:
    TXmlCharacterData(TXmlNameTable* nameTable, XmlNameID nameID, std::string_view data)
        : TXmlNode(nameTable, nameID), data_(data) {}

private:
    std::string data_;
};

class TXmlCDATASection : public TXmlCharacterData {
public:
    TXmlCDATASection(TXmlNameTable* nameTable, std::string_view data)
        : TXmlCharacterData(nameTable, kXmlCDATANameID, data) {}

    XmlNodeType NodeType() const override { return kXmlCDATASectionNode; }
    TXmlCDATASection* AsCDATASection() override { return this; }

protected:
    IXmlNode CloneSelf() const override;
};

class TXmlComment : public TXmlCharacterData {
public:
    TXmlComment(TXmlNameTable* nameTable, std::string_view data)
        : TXmlCharacterData(nameTable, kXmlCommentNameID, data) {}

    XmlNodeType NodeType() const override { return kXmlCommentNode; }
    TXmlComment* AsComment() override { return this; }

protected:
    IXmlNode CloneSelf() const override;
};

// A processing instruction: a target name and a text; the "xml" declaration read from a file
// keeps its pseudo-attributes (version, encoding ...) as attributes instead.
class TXmlProcessingInstruction : public TXmlNode {
public:
    TXmlProcessingInstruction(TXmlNameTable* nameTable, XmlNameID targetID, std::string_view text)
        : TXmlNode(nameTable, targetID), text_(text) {}

    XmlNodeType NodeType() const override { return kXmlProcessingInstructionNode; }
    std::string Text() const override { return text_; }
    void SetText(std::string_view text) override { text_ = text; }

    TXmlProcessingInstruction* AsProcessingInstruction() override { return this; }

protected:
    IXmlNode CloneSelf() const override;

private:
    std::string text_;
};

}  // namespace rv
