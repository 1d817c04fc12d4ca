#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/components/variant.h"

namespace rv {

class TComponent;

// Published properties, as far as a form stores them by name. A class lists its own in
// PublishProperties; the names are the framework's capitalised ones ("Width", "Items",
// "InitialDir").
//
// The kinds: integers, one character (tkChar; tkWChar is stored even when blank), enumerations
// and sets over a list of value names, floating-point numbers of a given precision, texts,
// variants, 64-bit integers, and the kinds of object a property may hold: a string list, a
// collection of items with properties of their own, a reference to a component, or any other
// object with properties of its own.
enum class TTypeKind {
    tkInteger,
    tkChar,
    tkWChar,
    tkEnumeration,
    tkFloat,
    tkString,
    tkSet,
    tkVariant,
    tkInt64,
    tkStringList,
    tkCollection,
    tkComponent,
    tkObject
};
using enum TTypeKind;

// The precision a float property is written with: 7, 15, 18, 18 and 19 significant digits.
enum class TFloatType { ftSingle, ftDouble, ftExtended, ftComp, ftCurr };
using enum TFloatType;

struct TPropInfo;
using TPropList = std::vector<TPropInfo>;

// How a collection property reaches its items: their number, the published properties of one of
// them, emptying it and adding an item at the end. BeginUpdate and EndUpdate, when set, bracket
// a load.
struct TCollectionAccess {
    std::function<int()> Count;
    std::function<TPropList(int index)> ItemProperties;
    std::function<void()> Clear;
    std::function<void()> Add;
    std::function<void()> BeginUpdate;
    std::function<void()> EndUpdate;
};

// One published property: its name and kind, and how to read and write it (the accessors that
// fit the kind are set). A setter may raise what the property's own setter raises.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkInteger;
    // tkInteger and tkEnumeration (the value's ordinal).
    std::function<int()> GetInteger;
    std::function<void(int)> SetInteger;
    // tkEnumeration: the values' names by ordinal; tkSet: the names of its members' values.
    std::vector<std::string> Names;
    // tkChar, tkWChar: one character (a code point).
    std::function<char32_t()> GetChar;
    std::function<void(char32_t)> SetChar;
    // tkFloat.
    TFloatType FloatType = ftDouble;
    std::function<long double()> GetFloat;
    std::function<void(long double)> SetFloat;
    // tkString.
    std::function<std::string()> GetString;
    std::function<void(const std::string&)> SetString;
    // tkSet: bit n set for the member of ordinal n (0 to 31).
    std::function<std::uint32_t()> GetSet;
    std::function<void(std::uint32_t)> SetSet;
    // tkVariant.
    std::function<TVariant()> GetVariant;
    std::function<void(const TVariant&)> SetVariant;
    // tkInt64.
    std::function<std::int64_t()> GetInt64;
    std::function<void(std::int64_t)> SetInt64;
    // tkStringList.
    std::function<std::vector<std::string>()> GetStrings;
    std::function<void(const std::vector<std::string>&)> SetStrings;
    // tkCollection.
    TCollectionAccess Collection;
    // tkComponent: the component referred to, or nullptr.
    std::function<TComponent*()> GetComponent;
    std::function<void(TComponent*)> SetComponent;
    // tkObject: fills `props` with the object's published properties; false when the property
    // holds no object now.
    std::function<bool(TPropList& props)> GetObject;
};

TPropInfo IntegerProperty(std::string name, std::function<int()> get, std::function<void(int)> set);
TPropInfo CharProperty(std::string name, std::function<char32_t()> get,
                       std::function<void(char32_t)> set);
TPropInfo WideCharProperty(std::string name, std::function<char32_t()> get,
                           std::function<void(char32_t)> set);
// `names` are the values' names, by ordinal from 0.
TPropInfo EnumerationProperty(std::string name, std::vector<std::string> names,
                              std::function<int()> get, std::function<void(int)> set);
// An enumeration of the two values "False" and "True".
TPropInfo BooleanProperty(std::string name, std::function<bool()> get,
                          std::function<void(bool)> set);
TPropInfo FloatProperty(std::string name, TFloatType type, std::function<long double()> get,
                        std::function<void(long double)> set);
TPropInfo StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set);
// `memberNames` name the values whose bits the set holds, by ordinal from 0.
TPropInfo SetProperty(std::string name, std::vector<std::string> memberNames,
                      std::function<std::uint32_t()> get, std::function<void(std::uint32_t)> set);
TPropInfo VariantProperty(std::string name, std::function<TVariant()> get,
                          std::function<void(const TVariant&)> set);
TPropInfo Int64Property(std::string name, std::function<std::int64_t()> get,
                        std::function<void(std::int64_t)> set);
TPropInfo StringListProperty(std::string name, std::function<std::vector<std::string>()> get,
                             std::function<void(const std::vector<std::string>&)> set);
TPropInfo CollectionProperty(std::string name, TCollectionAccess access);
TPropInfo ComponentProperty(std::string name, std::function<TComponent*()> get,
                            std::function<void(TComponent*)> set);
TPropInfo ObjectProperty(std::string name, std::function<bool(TPropList& props)> get);

// An enumeration property over a C++ enumeration whose values are 0, 1, 2 ... in the order of
// `names`.
template <class Get, class Set>
TPropInfo EnumerationProperty(std::string name, std::vector<std::string> names, Get get,
                              Set set) requires std::is_enum_v<std::invoke_result_t<Get>> {
    using Enum = std::invoke_result_t<Get>;
    return EnumerationProperty(
        std::move(name), std::move(names), [get] { return static_cast<int>(get()); },
        [set](int value) { set(static_cast<Enum>(value)); });
}

// The component's published properties sorted by name (ASCII case ignored); a name published
// again by a derived class counts once, with the derived class's entry.
TPropList GetPropList(TComponent* component);
// The same order and rule for properties an object has listed itself (a collection's item, an
// object held by a property).
TPropList SortedPropList(TPropList published);
// The property of that name (ASCII case ignored) in a list, or nullptr.
const TPropInfo* FindPropInfo(const TPropList& list, const std::string& name);

}  // namespace rv
