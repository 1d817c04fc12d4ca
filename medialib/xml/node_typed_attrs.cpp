// Typed attribute operations of TXmlNode.

#include <limits>

#include "medialib/xml/number_text.h"
#include "medialib/xml/value_convert.h"
#include "medialib/xml/xml_error.h"
#include "medialib/xml/xml_messages.h"
#include "medialib/xml/xml_node.h"
#include "platform/text/case_mapping.h"
#include "platform/text/format.h"
#include "platform/text/utf8.h"

namespace rv {

namespace {

// Equal ignoring letter case by the Unicode rules, whatever the process locale is, character by
// character.
bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t ca = DecodeUtf8(a, i);
        const char32_t cb = DecodeUtf8(b, j);
        if (ca != cb && SimpleLowerCase(ca) != SimpleLowerCase(cb)) return false;
    }
    return i == a.size() && j == b.size();
}

std::string JoinValues(const std::vector<std::string>& values) {
    std::string joined;
    for (const std::string& value : values) {
        if (!joined.empty()) joined += ", ";
        joined += value;
    }
    return joined;
}

// An attribute's value converted, or the default when the attribute is missing.
template <typename T>
T ConvertedAttr(const XmlValue* value, T defaultValue, T (*convert)(const XmlValue&)) {
    return value ? convert(*value) : defaultValue;
}

}  // namespace

std::string TXmlNode::NeedAttr(XmlNameID nameID) const {
    const XmlValue* value = FindAttr(nameID);
    if (!value)
        throw EXmlError(Format(xml_messages::kAttrNotSet, nameTable_->GetName(nameID).c_str()));
    return ValueToText(*value);
}

std::string TXmlNode::NeedAttr(std::string_view name) const {
    const XmlValue* value = FindAttr(nameTable_->FindID(name));
    if (!value) throw EXmlError(Format(xml_messages::kAttrNotSet, std::string(name).c_str()));
    return ValueToText(*value);
}

bool TXmlNode::GetBoolAttr(XmlNameID nameID, bool defaultValue) const {
    return ConvertedAttr(FindAttr(nameID), defaultValue, ValueToBool);
}

bool TXmlNode::GetBoolAttr(std::string_view name, bool defaultValue) const {
    return GetBoolAttr(nameTable_->FindID(name), defaultValue);
}

void TXmlNode::SetBoolAttr(XmlNameID nameID, bool value) {
    SetVarAttr(nameID, XmlValue::Boolean(value));
}

void TXmlNode::SetBoolAttr(std::string_view name, bool value) {
    SetBoolAttr(nameTable_->GetID(name), value);
}

std::int32_t TXmlNode::GetIntAttr(XmlNameID nameID, std::int32_t defaultValue) const {
    return ConvertedAttr(FindAttr(nameID), defaultValue, ValueToInt32);
}

std::int32_t TXmlNode::GetIntAttr(std::string_view name, std::int32_t defaultValue) const {
    return GetIntAttr(nameTable_->FindID(name), defaultValue);
}

void TXmlNode::SetIntAttr(XmlNameID nameID, std::int32_t value) {
    SetVarAttr(nameID, XmlValue::Int32(value));
}

void TXmlNode::SetIntAttr(std::string_view name, std::int32_t value) {
    SetIntAttr(nameTable_->GetID(name), value);
}

double TXmlNode::GetFloatAttr(XmlNameID nameID, double defaultValue) const {
    return ConvertedAttr(FindAttr(nameID), defaultValue, ValueToFloat);
}

double TXmlNode::GetFloatAttr(std::string_view name, double defaultValue) const {
    return GetFloatAttr(nameTable_->FindID(name), defaultValue);
}

void TXmlNode::SetFloatAttr(XmlNameID nameID, double value) {
    SetVarAttr(nameID, XmlValue::Float64(value));
}

void TXmlNode::SetFloatAttr(std::string_view name, double value) {
    SetFloatAttr(nameTable_->GetID(name), value);
}

double TXmlNode::GetDateTimeAttr(XmlNameID nameID, double defaultValue) const {
    return ConvertedAttr(FindAttr(nameID), defaultValue, ValueToDateTime);
}

double TXmlNode::GetDateTimeAttr(std::string_view name, double defaultValue) const {
    return GetDateTimeAttr(nameTable_->FindID(name), defaultValue);
}

void TXmlNode::SetDateTimeAttr(XmlNameID nameID, double value) {
    SetVarAttr(nameID, XmlValue::DateTime(value));
}

void TXmlNode::SetDateTimeAttr(std::string_view name, double value) {
    SetDateTimeAttr(nameTable_->GetID(name), value);
}

std::int32_t TXmlNode::GetHexAttr(XmlNameID nameID, std::int32_t defaultValue) const {
    const XmlValue* value = FindAttr(nameID);
    if (!value) return defaultValue;
    const std::string text = ValueToText(*value);
    std::int64_t number = 0;
    if (!TryTextToInteger("$" + text, number))
        throw EXmlError(Format(xml_messages::kNotAnInteger, ("$" + text).c_str()));
    // Eight digits spell any 32-bit pattern; more would be cut.
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::uint32_t>::max())
        throw EXmlError(Format(xml_messages::kIntegerRange, ("$" + text).c_str(), "Integer"));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
}

std::int32_t TXmlNode::GetHexAttr(std::string_view name, std::int32_t defaultValue) const {
    return GetHexAttr(nameTable_->FindID(name), defaultValue);
}

void TXmlNode::SetHexAttr(XmlNameID nameID, std::int32_t value, int digits) {
    const int width = digits < 0 ? 0 : digits > 32 ? 32 : digits;
    SetVarAttr(nameID, XmlValue(Format("%.*X", width, static_cast<unsigned>(value))));
}

void TXmlNode::SetHexAttr(std::string_view name, std::int32_t value, int digits) {
    SetHexAttr(nameTable_->GetID(name), value, digits);
}

int TXmlNode::GetEnumAttr(XmlNameID nameID, const std::vector<std::string>& values,
                          int defaultValue) const {
    const XmlValue* value = FindAttr(nameID);
    if (!value) return defaultValue;
    const std::string text = ValueToText(*value);
    for (size_t i = 0; i < values.size(); ++i)
        if (SameTextIgnoringCase(text, values[i])) return static_cast<int>(i);
    throw EXmlError(Format(xml_messages::kBadEnumValue, nameTable_->GetName(nameID).c_str(),
                           NodeName().c_str(), JoinValues(values).c_str()));
}

int TXmlNode::GetEnumAttr(std::string_view name, const std::vector<std::string>& values,
                          int defaultValue) const {
    return GetEnumAttr(nameTable_->FindID(name), values, defaultValue);
}

int TXmlNode::NeedEnumAttr(XmlNameID nameID, const std::vector<std::string>& values) const {
    if (!FindAttr(nameID))
        throw EXmlError(Format(xml_messages::kAttrNotFound, nameTable_->GetName(nameID).c_str()));
    return GetEnumAttr(nameID, values);
}

int TXmlNode::NeedEnumAttr(std::string_view name, const std::vector<std::string>& values) const {
    const XmlNameID nameID = nameTable_->FindID(name);
    if (!FindAttr(nameID))
        throw EXmlError(Format(xml_messages::kAttrNotFound, std::string(name).c_str()));
    return GetEnumAttr(nameID, values);
}

}  // namespace rv
