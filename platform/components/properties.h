#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rv {

class TComponent;

// Published properties, as far as the program stores them by name: integers, texts, string
// lists and collections. A class lists its own in PublishProperties; the names are the
// framework's capitalised ones ("Width", "Items", "InitialDir").
enum class TTypeKind { tkInteger, tkString, tkStringList, tkCollection };
using enum TTypeKind;

struct TPropInfo;
using TPropList = std::vector<TPropInfo>;

// One published property: its name and kind, and how to read and write it (the members that fit
// the kind are set). A setter may raise what the property's own setter raises.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkInteger;
    // Whether a store writes the property now; unset, always. A property kept for older stores
    // answers no: it is read, never written.
    std::function<bool()> Stored;
    std::function<int()> GetInteger;
    std::function<void(int)> SetInteger;
    std::function<std::string()> GetString;
    std::function<void(const std::string&)> SetString;
    std::function<std::vector<std::string>()> GetStrings;
    std::function<void(const std::vector<std::string>&)> SetStrings;
    // A collection: its item count; a fresh start with that many items; the published properties
    // of one item; and the bracket a load of the whole collection runs in.
    std::function<int()> GetCount;
    std::function<void(int)> SetCount;
    std::function<TPropList(int)> GetItem;
    std::function<void()> BeginLoad;
    std::function<void()> EndLoad;

    bool IsStored() const { return !Stored || Stored(); }
};

TPropInfo IntegerProperty(std::string name, std::function<int()> get, std::function<void(int)> set);
TPropInfo StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set);
TPropInfo StringListProperty(std::string name, std::function<std::vector<std::string>()> get,
                             std::function<void(const std::vector<std::string>&)> set);

// A collection's parts, for CollectionProperty.
struct TCollectionAccess {
    std::function<int()> Count;
    std::function<void(int)> Reset;  // cleared, then that many items added
    std::function<TPropList(int)> Item;
    std::function<void()> BeginLoad;
    std::function<void()> EndLoad;
};
TPropInfo CollectionProperty(std::string name, TCollectionAccess access);

// A set as stored text: its members' names between brackets, parted by commas ("[]" when empty).
std::string SetToText(const std::vector<std::string>& names);
// The names in a stored set: the words between spaces, commas and brackets.
std::vector<std::string> TextToSetWords(const std::string& text);

// The component's published properties sorted by name (ASCII case ignored); a name published
// again by a derived class counts once, with the derived class's entry.
TPropList GetPropList(TComponent* component);
// The property of that name (ASCII case ignored) in a list, or nullptr.
const TPropInfo* FindPropInfo(const TPropList& list, const std::string& name);

}  // namespace rv
