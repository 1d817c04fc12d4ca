#include "platform/components/properties.h"

#include <algorithm>

#include "platform/components/component.h"
#include "platform/text/ascii_case.h"

namespace rv {

namespace {

TPropInfo Property(std::string name, TTypeKind kind) {
    TPropInfo info;
    info.Name = std::move(name);
    info.Kind = kind;
    return info;
}

}  // namespace

TPropInfo IntegerProperty(std::string name, std::function<int()> get,
                          std::function<void(int)> set) {
    TPropInfo info = Property(std::move(name), tkInteger);
    info.GetInteger = std::move(get);
    info.SetInteger = std::move(set);
    return info;
}

TPropInfo CharProperty(std::string name, std::function<char32_t()> get,
                       std::function<void(char32_t)> set) {
    TPropInfo info = Property(std::move(name), tkChar);
    info.GetChar = std::move(get);
    info.SetChar = std::move(set);
    return info;
}

TPropInfo WideCharProperty(std::string name, std::function<char32_t()> get,
                           std::function<void(char32_t)> set) {
    TPropInfo info = CharProperty(std::move(name), std::move(get), std::move(set));
    info.Kind = tkWChar;
    return info;
}

TPropInfo EnumerationProperty(std::string name, std::vector<std::string> names,
                              std::function<int()> get, std::function<void(int)> set) {
    TPropInfo info = IntegerProperty(std::move(name), std::move(get), std::move(set));
    info.Kind = tkEnumeration;
    info.Names = std::move(names);
    return info;
}

TPropInfo BooleanProperty(std::string name, std::function<bool()> get,
                          std::function<void(bool)> set) {
    return EnumerationProperty(
        std::move(name), {"False", "True"}, [get = std::move(get)] { return get() ? 1 : 0; },
        [set = std::move(set)](int value) { set(value != 0); });
}

TPropInfo FloatProperty(std::string name, TFloatType type, std::function<long double()> get,
                        std::function<void(long double)> set) {
    TPropInfo info = Property(std::move(name), tkFloat);
    info.FloatType = type;
    info.GetFloat = std::move(get);
    info.SetFloat = std::move(set);
    return info;
}

TPropInfo StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set) {
    TPropInfo info = Property(std::move(name), tkString);
    info.GetString = std::move(get);
    info.SetString = std::move(set);
    return info;
}

TPropInfo SetProperty(std::string name, std::vector<std::string> memberNames,
                      std::function<std::uint32_t()> get, std::function<void(std::uint32_t)> set) {
    TPropInfo info = Property(std::move(name), tkSet);
    info.Names = std::move(memberNames);
    info.GetSet = std::move(get);
    info.SetSet = std::move(set);
    return info;
}

TPropInfo VariantProperty(std::string name, std::function<TVariant()> get,
                          std::function<void(const TVariant&)> set) {
    TPropInfo info = Property(std::move(name), tkVariant);
    info.GetVariant = std::move(get);
    info.SetVariant = std::move(set);
    return info;
}

TPropInfo Int64Property(std::string name, std::function<std::int64_t()> get,
                        std::function<void(std::int64_t)> set) {
    TPropInfo info = Property(std::move(name), tkInt64);
    info.GetInt64 = std::move(get);
    info.SetInt64 = std::move(set);
    return info;
}

TPropInfo StringListProperty(std::string name, std::function<std::vector<std::string>()> get,
                             std::function<void(const std::vector<std::string>&)> set) {
    TPropInfo info = Property(std::move(name), tkStringList);
    info.GetStrings = std::move(get);
    info.SetStrings = std::move(set);
    return info;
}

TPropInfo CollectionProperty(std::string name, TCollectionAccess access) {
    TPropInfo info = Property(std::move(name), tkCollection);
    info.Collection = std::move(access);
    return info;
}

TPropInfo ComponentProperty(std::string name, std::function<TComponent*()> get,
                            std::function<void(TComponent*)> set) {
    TPropInfo info = Property(std::move(name), tkComponent);
    info.GetComponent = std::move(get);
    info.SetComponent = std::move(set);
    return info;
}

TPropInfo ObjectProperty(std::string name, std::function<bool(TPropList& props)> get) {
    TPropInfo info = Property(std::move(name), tkObject);
    info.GetObject = std::move(get);
    return info;
}

TPropList SortedPropList(TPropList published) {
    // A class that publishes a name again (its own setter) replaces its base's entry.
    TPropList list;
    for (auto it = published.rbegin(); it != published.rend(); ++it)
        if (!FindPropInfo(list, it->Name)) list.push_back(std::move(*it));
    std::stable_sort(list.begin(), list.end(), [](const TPropInfo& a, const TPropInfo& b) {
        return CompareText(a.Name, b.Name) < 0;
    });
    return list;
}

TPropList GetPropList(TComponent* component) {
    TPropList published;
    if (!component) return published;
    component->PublishProperties(published);
    return SortedPropList(std::move(published));
}

const TPropInfo* FindPropInfo(const TPropList& list, const std::string& name) {
    for (const TPropInfo& info : list)
        if (SameText(info.Name, name)) return &info;
    return nullptr;
}

}  // namespace rv
