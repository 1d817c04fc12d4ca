#include "medialib/xml/xml_node.h"

#include "medialib/xml/text_writer.h"
#include "medialib/xml/xml_chars.h"
#include "medialib/xml/xml_document.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "medialib/xml/xml_nodes.h"
#include "platform/text/format.h"

namespace rv {

namespace {

[[noreturn]] void ThrowListIndex() {
    throw EXmlError(xml_messages::kListIndex);
}

}  // namespace

// ---- TXmlNodeList ----

TXmlNodeList::~TXmlNodeList() {
    Clear();
}

void TXmlNodeList::AddRef() {
    if (owner_)
        owner_->AddRef();
    else
        TXmlBase::AddRef();
}

void TXmlNodeList::Release() {
    if (owner_)
        owner_->Release();
    else
        TXmlBase::Release();
}

IXmlNode TXmlNodeList::Item(int index) const {
    if (index < 0 || index >= Count()) ThrowListIndex();
    return items_[static_cast<size_t>(index)];
}

std::string TXmlNodeList::Xml() const {
    std::string text;
    for (const IXmlNode& node : items_) text += node->Xml();
    return text;
}

void TXmlNodeList::Reserve() {
    const size_t capacity = items_.capacity();
    if (items_.size() < capacity) return;
    // Small lists grow in small steps: most elements have a handful of children.
    const size_t grown = capacity < 9    ? capacity + 4
                         : capacity < 64 ? capacity + 16
                                         : capacity + capacity / 4;
    items_.reserve(grown);
}

void TXmlNodeList::AppendNew(IXmlNode node) {
    Reserve();
    node->parent_ = owner_;
    items_.push_back(std::move(node));
}

void TXmlNodeList::Adopt(TXmlNode* node) {
    if (!owner_) return;
    if (node->AsDocument()) throw EXmlError(xml_messages::kInsertDocument);
    for (const TXmlNode* up = owner_; up; up = up->parent_)
        if (up == node) throw EXmlError(xml_messages::kInsertIntoOwnSubtree);
    if (TXmlNode* oldParent = node->parent_) {
        oldParent->children_->Remove(node);
    }
    if (node->nameTable_.Get() != owner_->nameTable_.Get())
        node->MoveToNameTable(owner_->nameTable_.Get());
    node->parent_ = owner_;
}

void TXmlNodeList::Disown(TXmlNode* node) {
    if (owner_ && node->parent_ == owner_) node->parent_ = nullptr;
}

void TXmlNodeList::Insert(const IXmlNode& node, int index) {
    if (!node) return;
    const IXmlNode keep = node;  // the node may lose its last other reference while it moves
    Adopt(node.Get());
    if (index < 0 || index > Count()) index = Count();
    Reserve();
    items_.insert(items_.begin() + index, node);
}

int TXmlNodeList::IndexOf(const TXmlNode* node) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Get() == node) return static_cast<int>(i);
    return -1;
}

int TXmlNodeList::Remove(const TXmlNode* node) {
    const int index = IndexOf(node);
    if (index >= 0) Delete(index);
    return index;
}

void TXmlNodeList::Delete(int index) {
    if (index < 0 || index >= Count()) ThrowListIndex();
    const IXmlNode node = std::move(items_[static_cast<size_t>(index)]);
    items_.erase(items_.begin() + index);
    Disown(node.Get());
}

void TXmlNodeList::Replace(int index, const IXmlNode& node) {
    if (index < 0 || index >= Count()) ThrowListIndex();
    if (!node || items_[static_cast<size_t>(index)] == node) return;
    const IXmlNode keep = node;
    IXmlNode old = items_[static_cast<size_t>(index)];
    Adopt(node.Get());  // may take the node out of this very list, moving `old`
    index = IndexOf(old.Get());
    items_[static_cast<size_t>(index)] = node;
    Disown(old.Get());
}

void TXmlNodeList::Clear() {
    XmlNodeVector items = std::move(items_);
    items_.clear();
    // Large trees are freed from here: fetching nodes a few ahead hides their memory's latency.
    constexpr size_t kAhead = 4;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i + kAhead < items.size()) __builtin_prefetch(items[i + kAhead].Get(), 1);
        Disown(items[i].Get());
        items[i] = nullptr;  // while the node is at hand
    }
}

// ---- TXmlNode ----

TXmlNode::TXmlNode(TXmlNameTable* nameTable, XmlNameID nameID)
    : nameTable_(nameTable ? nameTable : ThreadNameTable()) {
    nameID_ = nameTable_->Known(nameID);
}

TXmlNode::~TXmlNode() {
    delete children_;
    delete attrs_;
}

const TXmlNodeList& TXmlNode::EmptyList() {
    static const TXmlNodeList* const empty = new TXmlNodeList;
    return *empty;
}

const XmlAttributeVector& TXmlNode::EmptyAttributes() {
    static const XmlAttributeVector* const empty = new XmlAttributeVector;
    return *empty;
}

void TXmlNode::RemoveAllAttrs() {
    delete attrs_;
    attrs_ = nullptr;
}

std::string TXmlNode::ChildrenText() const {
    std::string text;
    for (const IXmlNode& child : Children().Items()) {
        const XmlNodeType type = child->NodeType();
        if (type != kXmlElementNode && type != kXmlTextNode && type != kXmlCDATASectionNode)
            continue;
        const std::string part = child->Text();
        if (part.empty()) continue;
        if (!text.empty()) text += ' ';
        text += part;
    }
    return text;
}

std::string TXmlNode::Text() const {
    return ChildrenText();
}

void TXmlNode::SetText(std::string_view text) {
    RemoveAllChilds();
    if (!text.empty()) AppendText(text);
}

void TXmlNode::SetNodeValue(const XmlValue& value) {
    SetText(ValueToText(value));
}

std::string TXmlNode::Xml() const {
    return WriteXmlText(*this);
}

IXmlNode TXmlNode::CloneNode(bool deep) const {
    IXmlNode copy = CloneSelf();
    if (attrs_) copy->attrs_ = new XmlAttributeVector(*attrs_);
    if (deep && !Children().Items().empty()) {
        TXmlNodeList& list = copy->MutableChildren();
        for (const IXmlNode& child : Children().Items()) list.AppendNew(child->CloneNode(true));
    }
    return copy;
}

TXmlDocument* TXmlNode::OwnerDocument() const {
    for (TXmlNode* node = const_cast<TXmlNode*>(this); node; node = node->parent_)
        if (TXmlDocument* document = node->AsDocument()) return document;
    return nullptr;
}

IXmlNode TXmlNode::AppendChild(const IXmlNode& node) {
    MutableChildren().Insert(node);
    return node;
}

IXmlNode TXmlNode::InsertBefore(const IXmlNode& node, const IXmlNode& ref) {
    if (!node || node == ref) return node;
    TXmlNodeList& list = MutableChildren();
    const IXmlNode keep = node;
    // A child that moves within the list leaves its old place first, which may shift the
    // reference's index.
    if (node->parent_ == this) list.Remove(node.Get());
    list.Insert(node, ref ? list.IndexOf(ref.Get()) : -1);
    return node;
}

IXmlNode TXmlNode::ReplaceChild(const IXmlNode& newChild, const IXmlNode& oldChild) {
    TXmlNodeList& list = MutableChildren();
    const int index = oldChild ? list.IndexOf(oldChild.Get()) : -1;
    if (index < 0 || !newChild) return nullptr;
    list.Replace(index, newChild);
    return oldChild;
}

int TXmlNode::RemoveChild(const IXmlNode& node) {
    return node ? MutableChildren().Remove(node.Get()) : -1;
}

IXmlElement TXmlNode::AppendElement(XmlNameID nameID) {
    IXmlElement element(new TXmlElement(nameTable_.Get(), nameID));
    MutableChildren().AppendNew(element);
    return element;
}

IXmlElement TXmlNode::AppendElement(std::string_view name) {
    return AppendElement(nameTable_->GetID(name));
}

IXmlText TXmlNode::AppendText(std::string_view text) {
    IXmlText node(new TXmlText(nameTable_.Get(), XmlValue(text)));
    MutableChildren().AppendNew(node);
    return node;
}

IXmlCDATASection TXmlNode::AppendCDATA(std::string_view text) {
    IXmlCDATASection node(new TXmlCDATASection(nameTable_.Get(), text));
    MutableChildren().AppendNew(node);
    return node;
}

IXmlComment TXmlNode::AppendComment(std::string_view text) {
    IXmlComment node(new TXmlComment(nameTable_.Get(), text));
    MutableChildren().AppendNew(node);
    return node;
}

IXmlProcessingInstruction TXmlNode::AppendProcessingInstruction(XmlNameID targetID,
                                                                std::string_view text) {
    IXmlProcessingInstruction node(new TXmlProcessingInstruction(nameTable_.Get(), targetID, text));
    MutableChildren().AppendNew(node);
    return node;
}

IXmlProcessingInstruction TXmlNode::AppendProcessingInstruction(std::string_view target,
                                                                std::string_view text) {
    return AppendProcessingInstruction(nameTable_->GetID(target), text);
}

TXmlElement* TXmlNode::FindChildElement(XmlNameID nameID) const {
    if (nameID < 0) return nullptr;
    for (const IXmlNode& child : Children().Items())
        if (child->nameID_ == nameID)
            if (TXmlElement* element = child->AsElement()) return element;
    return nullptr;
}

std::string TXmlNode::GetChildText(XmlNameID nameID, std::string_view defaultText) const {
    if (const TXmlElement* child = FindChildElement(nameID)) return child->Text();
    return std::string(defaultText);
}

std::string TXmlNode::GetChildText(std::string_view name, std::string_view defaultText) const {
    return GetChildText(nameTable_->FindID(name), defaultText);
}

void TXmlNode::SetChildText(XmlNameID nameID, std::string_view text) {
    EnsureChild(nameID)->SetText(text);
}

void TXmlNode::SetChildText(std::string_view name, std::string_view text) {
    SetChildText(nameTable_->GetID(name), text);
}

IXmlElement TXmlNode::NeedChild(XmlNameID nameID) const {
    if (TXmlElement* child = FindChildElement(nameID)) return child;
    throw EXmlError(Format(xml_messages::kChildNotFound, nameTable_->GetName(nameID).c_str()));
}

IXmlElement TXmlNode::NeedChild(std::string_view name) const {
    if (TXmlElement* child = FindChildElement(nameTable_->FindID(name))) return child;
    throw EXmlError(Format(xml_messages::kChildNotFound, std::string(name).c_str()));
}

IXmlElement TXmlNode::EnsureChild(XmlNameID nameID) {
    if (TXmlElement* child = FindChildElement(nameID)) return child;
    return AppendElement(nameID);
}

IXmlElement TXmlNode::EnsureChild(std::string_view name) {
    return EnsureChild(nameTable_->GetID(name));
}

IXmlNodeList TXmlNode::SelectNodes(std::string_view expr) const {
    if (!xml_chars::IsName(expr)) throw EXmlError(xml_messages::kNotSupported);
    IXmlNodeList result(new TXmlNodeList);
    const XmlNameID nameID = nameTable_->FindID(expr);
    if (nameID < 0) return result;
    for (const IXmlNode& child : Children().Items())
        if (child->nameID_ == nameID && child->NodeType() == kXmlElementNode)
            result->items_.push_back(child);
    return result;
}

IXmlNode TXmlNode::SelectSingleNode(std::string_view expr) const {
    if (!xml_chars::IsName(expr)) throw EXmlError(xml_messages::kNotSupported);
    return FindChildElement(nameTable_->FindID(expr));
}

IXmlElement TXmlNode::FindElement(XmlNameID nameID, XmlNameID attrNameID,
                                  const XmlValue& value) const {
    if (nameID < 0) return nullptr;
    for (const IXmlNode& child : Children().Items()) {
        if (child->nameID_ != nameID || child->NodeType() != kXmlElementNode) continue;
        if (const XmlValue* attr = child->FindAttr(attrNameID); attr && *attr == value)
            return child->AsElement();
    }
    return nullptr;
}

IXmlElement TXmlNode::FindElement(std::string_view name, std::string_view attrName,
                                  const XmlValue& value) const {
    return FindElement(nameTable_->FindID(name), nameTable_->FindID(attrName), value);
}

XmlNameID TXmlNode::AttrNameID(int index) const {
    if (index < 0 || index >= AttrCount()) ThrowListIndex();
    return (*attrs_)[static_cast<size_t>(index)].nameID;
}

const std::string& TXmlNode::AttrName(int index) const {
    return nameTable_->GetName(AttrNameID(index));
}

const XmlValue* TXmlNode::FindAttr(XmlNameID nameID) const {
    if (nameID < 0) return nullptr;
    for (const XmlAttribute& attr : Attributes())
        if (attr.nameID == nameID) return &attr.value;
    return nullptr;
}

XmlValue* TXmlNode::FindAttrMutable(XmlNameID nameID) {
    return const_cast<XmlValue*>(FindAttr(nameID));
}

void TXmlNode::RemoveAttr(XmlNameID nameID) {
    if (!attrs_) return;
    for (auto it = attrs_->begin(); it != attrs_->end(); ++it) {
        if (it->nameID == nameID) {
            attrs_->erase(it);
            return;
        }
    }
}

void TXmlNode::RemoveAttr(std::string_view name) {
    RemoveAttr(nameTable_->FindID(name));
}

bool TXmlNode::AttrExists(std::string_view name) const {
    return AttrExists(nameTable_->FindID(name));
}

XmlVarType TXmlNode::GetAttrType(XmlNameID nameID) const {
    const XmlValue* value = FindAttr(nameID);
    return value ? value->Type() : XmlVarType::Text;
}

XmlVarType TXmlNode::GetAttrType(std::string_view name) const {
    return GetAttrType(nameTable_->FindID(name));
}

XmlValue TXmlNode::GetVarAttr(XmlNameID nameID, const XmlValue& defaultValue) const {
    const XmlValue* value = FindAttr(nameID);
    return value ? *value : defaultValue;
}

XmlValue TXmlNode::GetVarAttr(std::string_view name, const XmlValue& defaultValue) const {
    return GetVarAttr(nameTable_->FindID(name), defaultValue);
}

void TXmlNode::SetVarAttr(XmlNameID nameID, XmlValue value) {
    if (nameID < 0) return;
    if (XmlValue* existing = FindAttrMutable(nameID)) {
        *existing = std::move(value);
    } else {
        AppendNewAttr(nameID, std::move(value));
    }
}

void TXmlNode::AppendNewAttr(XmlNameID nameID, XmlValue value) {
    if (nameTable_->Known(nameID) < 0) return;
    if (!attrs_) attrs_ = new XmlAttributeVector;
    attrs_->push_back({nameID, std::move(value)});
}

void TXmlNode::SetVarAttr(std::string_view name, XmlValue value) {
    SetVarAttr(nameTable_->GetID(name), std::move(value));
}

std::string TXmlNode::GetAttr(XmlNameID nameID, std::string_view defaultText) const {
    const XmlValue* value = FindAttr(nameID);
    return value ? ValueToText(*value) : std::string(defaultText);
}

std::string TXmlNode::GetAttr(std::string_view name, std::string_view defaultText) const {
    return GetAttr(nameTable_->FindID(name), defaultText);
}

void TXmlNode::SetAttr(std::string_view name, std::string_view text) {
    SetVarAttr(nameTable_->GetID(name), XmlValue(text));
}

void TXmlNode::MoveToNameTable(TXmlNameTable* table) {
    const IXmlNameTable old = nameTable_;
    const auto move = [&](XmlNameID& id) { id = table->GetID(old->GetName(id)); };
    move(nameID_);
    if (attrs_)
        for (XmlAttribute& attr : *attrs_) move(attr.nameID);
    nameTable_ = table;
    for (const IXmlNode& child : Children().Items()) child->MoveToNameTable(table);
}

}  // namespace rv
