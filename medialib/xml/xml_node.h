#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "medialib/xml/name_table.h"
#include "medialib/xml/node_pool.h"
#include "medialib/xml/ref_ptr.h"
#include "medialib/xml/xml_value.h"

namespace rv {

class TXmlNode;
class TXmlElement;
class TXmlCharacterData;
class TXmlText;
class TXmlCDATASection;
class TXmlComment;
class TXmlProcessingInstruction;
class TXmlDocument;
class TXmlNodeList;

// Counted references, named after the interfaces through which the library is used.
using IXmlNode = RefPtr<TXmlNode>;
using IXmlElement = RefPtr<TXmlElement>;
using IXmlCharacterData = RefPtr<TXmlCharacterData>;
using IXmlText = RefPtr<TXmlText>;
using IXmlCDATASection = RefPtr<TXmlCDATASection>;
using IXmlComment = RefPtr<TXmlComment>;
using IXmlProcessingInstruction = RefPtr<TXmlProcessingInstruction>;
using IXmlDocument = RefPtr<TXmlDocument>;
using IXmlNodeList = RefPtr<TXmlNodeList>;

struct XmlAttribute {
    XmlNameID nameID;
    XmlValue value;
};

using XmlNodeVector = std::vector<IXmlNode, NodePoolAllocator<IXmlNode>>;
using XmlAttributeVector = std::vector<XmlAttribute, NodePoolAllocator<XmlAttribute>>;

enum XmlNodeType : int {
    kXmlElementNode = 1,
    kXmlTextNode = 3,
    kXmlCDATASectionNode = 4,
    kXmlProcessingInstructionNode = 7,
    kXmlCommentNode = 8,
    kXmlDocumentNode = 9,
};

// A list of nodes: either the children of one node (the owner), or a free-standing result
// list. Putting a node into an owned list makes the owner its parent, takes it out of the list
// it was in before, and moves its names into the owner's name table when the tables differ.
class TXmlNodeList : public TXmlBase {
public:
    TXmlNodeList() = default;
    ~TXmlNodeList() override;

    static void* operator new(std::size_t size) { return AllocateNodeMemory(size); }
    static void operator delete(void* block, std::size_t size) { FreeNodeMemory(block, size); }

    // The children list of a node lives inside the node and keeps it alive.
    void AddRef();
    void Release();

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises the list-index error for an index outside 0..Count-1.
    IXmlNode Item(int index) const;
    // The text forms of the nodes, one after the other.
    std::string Xml() const;

    // `index` -1 (or Count) appends.
    void Insert(const IXmlNode& node, int index = -1);
    int IndexOf(const TXmlNode* node) const;
    // The node's former index, or -1 when it was not in the list.
    int Remove(const TXmlNode* node);
    void Delete(int index);
    void Replace(int index, const IXmlNode& node);
    void Clear();

    // Unchecked access for code that walks a tree.
    TXmlNode* At(size_t index) const { return items_[index].Get(); }
    size_t Size() const { return items_.size(); }
    const XmlNodeVector& Items() const { return items_; }

private:
    friend class TXmlNode;
    friend class XmlDomBuilder;
    explicit TXmlNodeList(TXmlNode* owner) : owner_(owner) {}

    void Reserve();
    // Appends a node that is known to be free and in the owner's name table.
    void AppendNew(IXmlNode node);
    void Adopt(TXmlNode* node);
    void Disown(TXmlNode* node);

    TXmlNode* owner_ = nullptr;
    XmlNodeVector items_;
};

// What every node kind has: a name (an identifier in its name table), a parent, children and
// attributes.
class TXmlNode : public TXmlBase {
public:
    ~TXmlNode() override;

    static void* operator new(std::size_t size) { return AllocateNodeMemory(size); }
    static void operator delete(void* block, std::size_t size) { FreeNodeMemory(block, size); }

    TXmlNameTable* NameTable() const { return nameTable_.Get(); }
    const std::string& NodeName() const { return nameTable_->GetName(nameID_); }
    XmlNameID NodeNameID() const { return nameID_; }
    virtual XmlNodeType NodeType() const = 0;

    // Elements and documents: the texts of the element, text and CDATA children joined by one
    // blank (empty ones left out); other kinds: their own text.
    virtual std::string Text() const;
    virtual void SetText(std::string_view text);
    // The type of the value (Text when there is no value of another type) and the value.
    virtual XmlVarType DataType() const { return XmlVarType::Text; }
    virtual XmlValue NodeValue() const { return XmlValue(Text()); }
    virtual void SetNodeValue(const XmlValue& value);

    // The node's XML text (UTF-8), laid out as the writer lays out files.
    std::string Xml() const;

    // A new, unattached node of the same kind, name, value and attributes in the same name
    // table; `deep` also copies the children.
    IXmlNode CloneNode(bool deep) const;

    IXmlNode ParentNode() const { return parent_; }
    TXmlNode* Parent() const { return parent_; }
    // The nearest ancestor (or the node itself) that is a document.
    TXmlDocument* OwnerDocument() const;

    IXmlNodeList ChildNodes() { return &MutableChildren(); }
    // The children without any side effect (an element holding a value has none here).
    const TXmlNodeList& Children() const { return children_ ? *children_ : EmptyList(); }

    IXmlNode AppendChild(const IXmlNode& node);
    // Appends when `ref` is null or not a child.
    IXmlNode InsertBefore(const IXmlNode& node, const IXmlNode& ref);
    // Returns `oldChild`, or null (doing nothing) when it is not a child.
    IXmlNode ReplaceChild(const IXmlNode& newChild, const IXmlNode& oldChild);
    // The former index of the child, or -1.
    int RemoveChild(const IXmlNode& node);
    void RemoveAllChilds() { MutableChildren().Clear(); }

    IXmlElement AppendElement(XmlNameID nameID);
    IXmlElement AppendElement(std::string_view name);
    IXmlText AppendText(std::string_view text);
    IXmlCDATASection AppendCDATA(std::string_view text);
    IXmlComment AppendComment(std::string_view text);
    IXmlProcessingInstruction AppendProcessingInstruction(XmlNameID targetID,
                                                          std::string_view text);
    IXmlProcessingInstruction AppendProcessingInstruction(std::string_view target,
                                                          std::string_view text);

    // The first child element with the name, or null.
    TXmlElement* FindChildElement(XmlNameID nameID) const;

    std::string GetChildText(XmlNameID nameID, std::string_view defaultText = {}) const;
    std::string GetChildText(std::string_view name, std::string_view defaultText = {}) const;
    void SetChildText(XmlNameID nameID, std::string_view text);
    void SetChildText(std::string_view name, std::string_view text);
    IXmlElement NeedChild(XmlNameID nameID) const;
    IXmlElement NeedChild(std::string_view name) const;
    IXmlElement EnsureChild(XmlNameID nameID);
    IXmlElement EnsureChild(std::string_view name);

    // `expr` must be a plain name: the child elements of that name.
    IXmlNodeList SelectNodes(std::string_view expr) const;
    IXmlNode SelectSingleNode(std::string_view expr) const;
    IXmlElement FindElement(XmlNameID nameID, XmlNameID attrNameID, const XmlValue& value) const;
    IXmlElement FindElement(std::string_view name, std::string_view attrName,
                            const XmlValue& value) const;

    int AttrCount() const { return static_cast<int>(Attributes().size()); }
    XmlNameID AttrNameID(int index) const;
    const std::string& AttrName(int index) const;
    const XmlAttributeVector& Attributes() const { return attrs_ ? *attrs_ : EmptyAttributes(); }
    void RemoveAttr(XmlNameID nameID);
    void RemoveAttr(std::string_view name);
    void RemoveAllAttrs();
    bool AttrExists(XmlNameID nameID) const { return FindAttr(nameID) != nullptr; }
    bool AttrExists(std::string_view name) const;
    XmlVarType GetAttrType(XmlNameID nameID) const;
    XmlVarType GetAttrType(std::string_view name) const;
    XmlValue GetVarAttr(XmlNameID nameID, const XmlValue& defaultValue = {}) const;
    XmlValue GetVarAttr(std::string_view name, const XmlValue& defaultValue = {}) const;
    void SetVarAttr(XmlNameID nameID, XmlValue value);
    void SetVarAttr(std::string_view name, XmlValue value);
    std::string GetAttr(XmlNameID nameID, std::string_view defaultText = {}) const;
    std::string GetAttr(std::string_view name, std::string_view defaultText = {}) const;
    void SetAttr(XmlNameID nameID, std::string_view text) { SetVarAttr(nameID, XmlValue(text)); }
    void SetAttr(std::string_view name, std::string_view text);

    const XmlValue* FindAttr(XmlNameID nameID) const;
    // Appends without looking for the name first: for readers that know it is not there yet.
    // A name the node's table does not have is not added.
    void AppendNewAttr(XmlNameID nameID, XmlValue value);

    // Typed attribute access. Getters give the default when the attribute is missing and raise
    // EXmlError when its value does not convert; setters store a value of the type.
    std::string NeedAttr(XmlNameID nameID) const;
    std::string NeedAttr(std::string_view name) const;
    bool GetBoolAttr(XmlNameID nameID, bool defaultValue = false) const;
    bool GetBoolAttr(std::string_view name, bool defaultValue = false) const;
    void SetBoolAttr(XmlNameID nameID, bool value);
    void SetBoolAttr(std::string_view name, bool value);
    std::int32_t GetIntAttr(XmlNameID nameID, std::int32_t defaultValue = 0) const;
    std::int32_t GetIntAttr(std::string_view name, std::int32_t defaultValue = 0) const;
    void SetIntAttr(XmlNameID nameID, std::int32_t value);
    void SetIntAttr(std::string_view name, std::int32_t value);
    double GetFloatAttr(XmlNameID nameID, double defaultValue = 0) const;
    double GetFloatAttr(std::string_view name, double defaultValue = 0) const;
    void SetFloatAttr(XmlNameID nameID, double value);
    void SetFloatAttr(std::string_view name, double value);
    // Date-times as day counts (see xml_date_time.h).
    double GetDateTimeAttr(XmlNameID nameID, double defaultValue = 0) const;
    double GetDateTimeAttr(std::string_view name, double defaultValue = 0) const;
    void SetDateTimeAttr(XmlNameID nameID, double value);
    void SetDateTimeAttr(std::string_view name, double value);
    // The text read as hexadecimal digits; up to 8 digits, FFFFFFFF being -1.
    std::int32_t GetHexAttr(XmlNameID nameID, std::int32_t defaultValue = 0) const;
    std::int32_t GetHexAttr(std::string_view name, std::int32_t defaultValue = 0) const;
    // Upper-case hexadecimal of the 32-bit pattern, at least `digits` digits.
    void SetHexAttr(XmlNameID nameID, std::int32_t value, int digits = 0);
    void SetHexAttr(std::string_view name, std::int32_t value, int digits = 0);
    // The position in `values` of the attribute's text, compared ignoring letter case.
    int GetEnumAttr(XmlNameID nameID, const std::vector<std::string>& values,
                    int defaultValue = 0) const;
    int GetEnumAttr(std::string_view name, const std::vector<std::string>& values,
                    int defaultValue = 0) const;
    int NeedEnumAttr(XmlNameID nameID, const std::vector<std::string>& values) const;
    int NeedEnumAttr(std::string_view name, const std::vector<std::string>& values) const;

    // Path access: "" is the node's own value, "@name" an attribute (empty text when missing),
    // any other path the first child element of that name (empty text when missing; set
    // appends it first).
    XmlValue GetValue(std::string_view path) const;
    void SetValue(std::string_view path, const XmlValue& value);

    virtual TXmlElement* AsElement() { return nullptr; }
    virtual TXmlText* AsText() { return nullptr; }
    virtual TXmlCDATASection* AsCDATASection() { return nullptr; }
    virtual TXmlComment* AsComment() { return nullptr; }
    virtual TXmlProcessingInstruction* AsProcessingInstruction() { return nullptr; }
    virtual TXmlDocument* AsDocument() { return nullptr; }

protected:
    TXmlNode(TXmlNameTable* nameTable, XmlNameID nameID);

    // The children, made ready for a change (an element moves its value into a text child).
    virtual TXmlNodeList& MutableChildren() { return OwnChildren(); }
    // The child list, made when first needed: most elements never have one.
    TXmlNodeList& OwnChildren() {
        if (!children_) children_ = new TXmlNodeList(this);
        return *children_;
    }
    // Empties the child list, if there is one, without making one.
    void DropChildren() {
        if (children_) children_->Clear();
    }
    // The joined text of the children.
    std::string ChildrenText() const;
    // A copy of this node alone (no attributes, no children).
    virtual IXmlNode CloneSelf() const = 0;
    // Moves the node's names (and its subtree's) into `table`.
    void MoveToNameTable(TXmlNameTable* table);

private:
    friend class TXmlNodeList;
    friend class XmlDomBuilder;
    friend class XmlAttributeCollector;

    XmlValue* FindAttrMutable(XmlNameID nameID);

    static const TXmlNodeList& EmptyList();
    static const XmlAttributeVector& EmptyAttributes();

    XmlNameID nameID_;  // first, to share the base's last word
    IXmlNameTable nameTable_;
    TXmlNode* parent_ = nullptr;  // not counted: the parent's list counts this node
    TXmlNodeList* children_ = nullptr;
    XmlAttributeVector* attrs_ = nullptr;
};

}  // namespace rv
