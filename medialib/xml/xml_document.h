#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "medialib/xml/xml_nodes.h"

namespace rv {

// A document: its children (the declaration, the root element, comments ...), a name table and
// whether text runs of blanks between tags are kept when reading.
//
// Text held in the model is UTF-8. Files and streams are bytes in the encoding the document
// declares: reading decodes them (any encoding the system's converters know, UTF-16 and UTF-32
// told by their byte-order mark or first bytes; UTF-8 when nothing is declared), writing encodes
// into the declared encoding, characters it lacks becoming character references. A name no
// converter knows is refused.
//
// A document and its nodes belong to the thread that made them, as their name table does
// (TXmlNameTable): counts and names take no lock. Threads may each work on documents of their own.
class TXmlDocument : public TXmlNode {
public:
    explicit TXmlDocument(TXmlNameTable* nameTable = nullptr);

    XmlNodeType NodeType() const override { return kXmlDocumentNode; }
    TXmlDocument* AsDocument() override { return this; }

    // The first child that is an element.
    IXmlElement DocumentElement() const;

    bool PreserveWhiteSpace() const { return preserveWhiteSpace_; }
    void SetPreserveWhiteSpace(bool preserve) { preserveWhiteSpace_ = preserve; }

    // Replaces the children with the declaration version="..." encoding="..." (an empty
    // encoding meaning windows-1251) and a root element, which is returned.
    IXmlElement NewDocument(std::string_view version, std::string_view encoding,
                            XmlNameID rootNameID);
    IXmlElement NewDocument(std::string_view version, std::string_view encoding,
                            std::string_view rootName);

    // Nodes made in the document's name table, not attached.
    IXmlElement CreateElement(XmlNameID nameID);
    IXmlElement CreateElement(std::string_view name);
    IXmlText CreateText(std::string_view text);
    IXmlCDATASection CreateCDATASection(std::string_view text);
    IXmlComment CreateComment(std::string_view text);
    IXmlProcessingInstruction CreateProcessingInstruction(XmlNameID targetID,
                                                          std::string_view text);
    IXmlProcessingInstruction CreateProcessingInstruction(std::string_view target,
                                                          std::string_view text);

    // Replaces the content with the document read from XML text that is already UTF-8 (as Xml()
    // gives it; a declared encoding is not applied again). Text starting with the binary
    // signature is read as the binary form.
    void LoadXML(std::string_view text);
    // Replaces the content with the document read from the binary form, taking its name
    // table. A damaged form raises EXmlError and leaves the document as it was.
    void LoadBinaryXML(std::string_view bytes);
    // Replaces the content with the document read from bytes of a file or stream.
    void LoadFromBytes(std::string_view bytes);
    void LoadFromStream(std::istream& stream);
    void Load(const std::string& fileName);
    // Replaces the content with the document compiled into the program as the resource `name`
    // of `type` (platform/system/program_resources.h), read as the bytes of a file are. Nothing
    // happens when the program has no such resource or it is empty.
    void LoadResource(std::string_view type, std::string_view name);

    // The document as bytes in its declared encoding, as Save writes them.
    std::string SaveToBytes() const;
    void SaveToStream(std::ostream& stream) const;
    // Replaces the file in one step: a failed save leaves the old file as it was.
    void Save(const std::string& fileName) const;

    // The binary form; `options` bit 0 writes strings as UTF-16, else as UTF-8 bytes.
    std::string BinaryXml(std::uint32_t options = 0) const;
    void SaveBinary(std::ostream& stream, std::uint32_t options = 0) const;
    void SaveBinary(const std::string& fileName, std::uint32_t options = 0) const;

    // The encoding the declaration names ("UTF-8" when there is none).
    std::string DeclaredEncoding() const;

protected:
    IXmlNode CloneSelf() const override;

private:
    void ClearContent();

    bool preserveWhiteSpace_;
};

// The signature that starts the binary form.
inline constexpr std::string_view kBinaryXmlSignature = "< binary-xml >";

// Whether white space is kept by documents made from now on (false at start).
bool DefaultPreserveWhiteSpace();
void SetDefaultPreserveWhiteSpace(bool preserve);

// A new document in `nameTable` (the calling thread's table when null); with a root name it gets
// the declaration and the root element (NewDocument).
IXmlDocument MakeXmlDocument(std::string_view rootName = {}, std::string_view version = "1.0",
                             std::string_view encoding = {}, TXmlNameTable* nameTable = nullptr);

}  // namespace rv
