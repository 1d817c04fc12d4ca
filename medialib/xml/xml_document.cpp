#include "medialib/xml/xml_document.h"

#include <istream>
#include <ostream>

#include "medialib/xml/binary_xml.h"
#include "medialib/xml/text_parser.h"
#include "medialib/xml/text_writer.h"
#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_content_reader.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "platform/files/atomic_file.h"
#include "platform/system/program_resources.h"
#include "platform/text/format.h"

namespace rv {

namespace {

bool defaultPreserveWhiteSpace = false;

bool HasBinarySignature(std::string_view bytes) {
    return bytes.starts_with(kBinaryXmlSignature);
}

}  // namespace

bool DefaultPreserveWhiteSpace() {
    return defaultPreserveWhiteSpace;
}

void SetDefaultPreserveWhiteSpace(bool preserve) {
    defaultPreserveWhiteSpace = preserve;
}

TXmlDocument::TXmlDocument(TXmlNameTable* nameTable)
    : TXmlNode(nameTable, kXmlDocumentNameID), preserveWhiteSpace_(DefaultPreserveWhiteSpace()) {}

IXmlElement TXmlDocument::DocumentElement() const {
    for (const IXmlNode& child : Children().Items())
        if (TXmlElement* element = child->AsElement()) return element;
    return nullptr;
}

IXmlElement TXmlDocument::NewDocument(std::string_view version, std::string_view encoding,
                                      XmlNameID rootNameID) {
    RemoveAllChilds();
    const std::string declaration = "version=\"" + std::string(version) + "\" encoding=\"" +
                                    std::string(encoding.empty() ? "windows-1251" : encoding) +
                                    "\"";
    AppendProcessingInstruction(kXmlDeclNameID, declaration);
    return AppendElement(rootNameID);
}

IXmlElement TXmlDocument::NewDocument(std::string_view version, std::string_view encoding,
                                      std::string_view rootName) {
    return NewDocument(version, encoding, NameTable()->GetID(rootName));
}

IXmlElement TXmlDocument::CreateElement(XmlNameID nameID) {
    return new TXmlElement(NameTable(), nameID);
}

IXmlElement TXmlDocument::CreateElement(std::string_view name) {
    return CreateElement(NameTable()->GetID(name));
}

IXmlText TXmlDocument::CreateText(std::string_view text) {
    return new TXmlText(NameTable(), XmlValue(text));
}

IXmlCDATASection TXmlDocument::CreateCDATASection(std::string_view text) {
    return new TXmlCDATASection(NameTable(), text);
}

IXmlComment TXmlDocument::CreateComment(std::string_view text) {
    return new TXmlComment(NameTable(), text);
}

IXmlProcessingInstruction TXmlDocument::CreateProcessingInstruction(XmlNameID targetID,
                                                                    std::string_view text) {
    return new TXmlProcessingInstruction(NameTable(), targetID, text);
}

IXmlProcessingInstruction TXmlDocument::CreateProcessingInstruction(std::string_view target,
                                                                    std::string_view text) {
    return CreateProcessingInstruction(NameTable()->GetID(target), text);
}

void TXmlDocument::ClearContent() {
    RemoveAllChilds();
    RemoveAllAttrs();
}

void TXmlDocument::LoadXML(std::string_view text) {
    if (HasBinarySignature(text)) {
        LoadBinaryXML(text);
        return;
    }
    ClearContent();
    CheckUtf8(text);
    ParseXmlText(*this, text, XmlEncoding{});
}

void TXmlDocument::LoadBinaryXML(std::string_view bytes) {
    const IXmlDocument loaded = ReadBinaryXml(bytes, preserveWhiteSpace_);
    ClearContent();
    MoveToNameTable(loaded->NameTable());
    for (const XmlAttribute& attr : loaded->Attributes()) AppendNewAttr(attr.nameID, attr.value);
    const XmlNodeVector children = loaded->Children().Items();
    for (const IXmlNode& child : children) AppendChild(child);
}

void TXmlDocument::LoadFromBytes(std::string_view bytes) {
    if (IsBinaryXmlFile(bytes)) {
        LoadBinaryXML(bytes);
        return;
    }
    ClearContent();
    std::string converted;
    const XmlInput input = DetectXmlInput(bytes, converted);
    ParseXmlText(*this, input.bytes, input.encoding);
}

void TXmlDocument::LoadFromStream(std::istream& stream) {
    std::string bytes;
    char block[1 << 16];
    while (stream.read(block, sizeof block) || stream.gcount() > 0)
        bytes.append(block, static_cast<size_t>(stream.gcount()));
    if (stream.bad()) throw EXmlError(xml_messages::kStreamReadFailed);
    LoadFromBytes(bytes);
}

void TXmlDocument::Load(const std::string& fileName) {
    LoadFromBytes(ReadXmlFile(fileName));
}

void TXmlDocument::LoadResource(std::string_view type, std::string_view name) {
    const auto bytes = FindProgramResource(type, name);
    if (bytes && !bytes->empty()) LoadFromBytes(*bytes);
}

std::string TXmlDocument::DeclaredEncoding() const {
    // Only a declaration that opens the document declares anything: readers look there alone.
    const auto& children = Children().Items();
    if (children.empty()) return "UTF-8";
    const TXmlNode& first = *children.front();
    if (first.NodeType() != kXmlProcessingInstructionNode || first.NodeNameID() != kXmlDeclNameID)
        return "UTF-8";
    if (const XmlValue* value = first.FindAttr(NameTable()->FindID("encoding")))
        return ValueToText(*value);
    const std::string text = first.Text();
    if (const auto encoding = PseudoAttribute(text, "encoding")) return std::string(*encoding);
    return "UTF-8";
}

std::string TXmlDocument::SaveToBytes() const {
    // What no reader would take is not written: one root, and outside it only blanks, comments
    // and instructions.
    int roots = 0;
    for (const IXmlNode& child : Children().Items()) {
        const XmlNodeType type = child->NodeType();
        if (type == kXmlElementNode) ++roots;
        const bool text = type == kXmlTextNode && xml_chars::HasSolidChar(child->Text());
        if (text || type == kXmlCDATASectionNode) roots = 2;
    }
    if (roots != 1) throw EXmlError(xml_messages::kNotOneRoot);
    const std::string name = DeclaredEncoding();
    const auto encoding = XmlEncodingFromName(name);
    if (!encoding) throw EXmlError(Format(xml_messages::kUnsupportedEncoding, name.c_str()));
    return WriteXmlText(*this, *encoding);
}

void TXmlDocument::SaveToStream(std::ostream& stream) const {
    const std::string bytes = SaveToBytes();
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream) throw EXmlError(xml_messages::kStreamWriteFailed);
}

void TXmlDocument::Save(const std::string& fileName) const {
    const std::string bytes = SaveToBytes();
    AtomicFileWriter file(fileName);
    file.Write(bytes);
    file.Commit();
}

std::string TXmlDocument::BinaryXml(std::uint32_t options) const {
    return WriteBinaryXml(*this, options);
}

void TXmlDocument::SaveBinary(std::ostream& stream, std::uint32_t options) const {
    const std::string bytes = BinaryXml(options);
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!stream) throw EXmlError(xml_messages::kStreamWriteFailed);
}

void TXmlDocument::SaveBinary(const std::string& fileName, std::uint32_t options) const {
    const std::string bytes = BinaryXml(options);
    AtomicFileWriter file(fileName);
    file.Write(bytes);
    file.Commit();
}

IXmlNode TXmlDocument::CloneSelf() const {
    auto* copy = new TXmlDocument(NameTable());
    copy->preserveWhiteSpace_ = preserveWhiteSpace_;
    return copy;
}

IXmlDocument MakeXmlDocument(std::string_view rootName, std::string_view version,
                             std::string_view encoding, TXmlNameTable* nameTable) {
    IXmlDocument document(new TXmlDocument(nameTable));
    if (!rootName.empty()) document->NewDocument(version, encoding, rootName);
    return document;
}

}  // namespace rv
