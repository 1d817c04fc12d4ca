#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/components/variant.h"

namespace rv {

class TFormPlacement;
class TStoredValue;
class TStoredValues;

using TStoredValueEvent = std::function<void(TStoredValue* sender, TVariant& value)>;

// A named value of the program's own that a form storage keeps under its section. With a key
// string the value is written coded (XorHexEncode), not as plain text. Written from its text
// form and read back as text: after a restore every value is a text ("80", "False").
class TStoredValue {
public:
    explicit TStoredValue(TStoredValues* collection);
    virtual ~TStoredValue() = default;
    TStoredValue(const TStoredValue&) = delete;
    TStoredValue& operator=(const TStoredValue&) = delete;

    const std::string& Name() const { return name_; }
    // EComponentError ("String list does not allow duplicates") when another value of the
    // collection has the name (case ignored).
    void SetName(const std::string& name);
    TVariant Value;
    std::string KeyString;
    // May change the value about to be written, or the one just read.
    TStoredValueEvent OnSave;
    TStoredValueEvent OnRestore;

    // The name, or "TStoredValue" for a value without one.
    std::string DisplayName() const;
    TStoredValues* Collection() const { return collection_; }
    int Index() const;

    // Copies value, name (checked as SetName does) and key string.
    void Assign(const TStoredValue& source);

    // Through the storage's WriteItem / ReadItem; EComponentError without a storage. A value
    // missing from the settings reads as the current value.
    virtual void WriteValue();
    virtual void ReadValue();

protected:
    virtual void DoSave(TVariant& value);
    virtual void DoRestore(TVariant& value);

private:
    TFormPlacement& Storage() const;

    TStoredValues* collection_;
    std::string name_;
};

// The named values of a form storage, in the order they were added.
class TStoredValues {
public:
    explicit TStoredValues(TFormPlacement* storage = nullptr) : storage_(storage) {}
    virtual ~TStoredValues() = default;
    TStoredValues(const TStoredValues&) = delete;
    // Copies the values (not the storage).
    TStoredValues& operator=(const TStoredValues& other);

    TFormPlacement* Storage() const { return storage_; }

    TStoredValue* Add();
    int Count() const { return int(items_.size()); }
    TStoredValue* Items(int index) const { return items_.at(size_t(index)).get(); }
    void Delete(int index);
    void Clear() { items_.clear(); }

    // The first value of that name (case ignored): its index, or -1; the value, or nullptr.
    int IndexOf(const std::string& name) const;
    TStoredValue* ValueByName(const std::string& name) const;

    // Every value, in order.
    virtual void WriteAll();
    virtual void ReadAll();

private:
    TFormPlacement* storage_;
    std::vector<std::unique_ptr<TStoredValue>> items_;
};

}  // namespace rv
