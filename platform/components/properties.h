#pragma once

#include <functional>
#include <string>
#include <vector>

namespace rv {

class TComponent;

// Published properties, as far as the program stores them by name: integers, texts and string
// lists. A class lists its own in PublishProperties; the names are the framework's capitalised
// ones ("Width", "Items", "InitialDir").
enum class TTypeKind { tkInteger, tkString, tkStringList };
using enum TTypeKind;

// One published property: its name and kind, and how to read and write it (the pair that fits
// the kind is set). A setter may raise what the property's own setter raises.
struct TPropInfo {
    std::string Name;
    TTypeKind Kind = tkInteger;
    std::function<int()> GetInteger;
    std::function<void(int)> SetInteger;
    std::function<std::string()> GetString;
    std::function<void(const std::string&)> SetString;
    std::function<std::vector<std::string>()> GetStrings;
    std::function<void(const std::vector<std::string>&)> SetStrings;
};
using TPropList = std::vector<TPropInfo>;

TPropInfo IntegerProperty(std::string name, std::function<int()> get, std::function<void(int)> set);
TPropInfo StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set);
TPropInfo StringListProperty(std::string name, std::function<std::vector<std::string>()> get,
                             std::function<void(const std::vector<std::string>&)> set);

// The component's published properties sorted by name (ASCII case ignored); a name published
// again by a derived class counts once, with the derived class's entry.
TPropList GetPropList(TComponent* component);
// The property of that name (ASCII case ignored) in a list, or nullptr.
const TPropInfo* FindPropInfo(const TPropList& list, const std::string& name);

}  // namespace rv
