#include "widgets/stored_values.h"

#include "platform/components/component.h"
#include "platform/text/case_mapping.h"
#include "platform/text/utf8.h"
#include "widgets/form_placement.h"
#include "widgets/xor_hex_coder.h"

namespace rv {

namespace {

// Names are equal when their characters are, lower case taken for upper.
bool SameName(std::string_view a, std::string_view b) {
    size_t i = 0, j = 0;
    while (i < a.size() && j < b.size())
        if (SimpleLowerCase(DecodeUtf8(a, i)) != SimpleLowerCase(DecodeUtf8(b, j))) return false;
    return i == a.size() && j == b.size();
}

}  // namespace

TStoredValue::TStoredValue(TStoredValues* collection) : collection_(collection) {}

void TStoredValue::SetName(const std::string& name) {
    if (!name.empty() && !SameName(name, name_) && collection_ && collection_->IndexOf(name) >= 0)
        throw EComponentError("String list does not allow duplicates");
    name_ = name;
}

std::string TStoredValue::DisplayName() const {
    return name_.empty() ? "TStoredValue" : name_;
}

int TStoredValue::Index() const {
    if (collection_)
        for (int i = 0; i < collection_->Count(); ++i)
            if (collection_->Items(i) == this) return i;
    return -1;
}

void TStoredValue::Assign(const TStoredValue& source) {
    Value = source.Value;
    SetName(source.name_);
    KeyString = source.KeyString;
}

TFormPlacement& TStoredValue::Storage() const {
    TFormPlacement* storage = collection_ ? collection_->Storage() : nullptr;
    if (!storage) throw EComponentError("The stored value " + DisplayName() + " has no storage");
    return *storage;
}

void TStoredValue::WriteValue() {
    TFormPlacement& storage = Storage();
    TVariant value = Value;
    DoSave(value);
    std::string text = value.AsString();
    if (!KeyString.empty()) text = XorHexEncode(KeyString, text);
    storage.WriteItem(name_, text);
}

void TStoredValue::ReadValue() {
    TFormPlacement& storage = Storage();
    // The current value is the default, offered in its stored form.
    std::string text = Value.AsString();
    if (!KeyString.empty()) text = XorHexEncode(KeyString, text);
    text = storage.ReadItem(name_, text);
    if (!KeyString.empty()) text = XorHexDecode(KeyString, text);
    TVariant value = text;
    DoRestore(value);
    Value = value;
}

void TStoredValue::DoSave(TVariant& value) {
    if (OnSave) OnSave(this, value);
}

void TStoredValue::DoRestore(TVariant& value) {
    if (OnRestore) OnRestore(this, value);
}

TStoredValues& TStoredValues::operator=(const TStoredValues& other) {
    if (this == &other) return *this;
    Clear();
    for (int i = 0; i < other.Count(); ++i) Add()->Assign(*other.Items(i));
    return *this;
}

TStoredValue* TStoredValues::Add() {
    items_.push_back(std::make_unique<TStoredValue>(this));
    return items_.back().get();
}

void TStoredValues::Delete(int index) {
    items_.at(size_t(index));  // std::out_of_range for an index that names no value
    items_.erase(items_.begin() + index);
}

int TStoredValues::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameName(items_[size_t(i)]->Name(), name)) return i;
    return -1;
}

TStoredValue* TStoredValues::ValueByName(const std::string& name) const {
    int index = IndexOf(name);
    return index < 0 ? nullptr : Items(index);
}

void TStoredValues::WriteAll() {
    for (int i = 0; i < Count(); ++i) Items(i)->WriteValue();
}

void TStoredValues::ReadAll() {
    for (int i = 0; i < Count(); ++i) Items(i)->ReadValue();
}

}  // namespace rv
