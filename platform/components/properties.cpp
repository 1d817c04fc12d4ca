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

TPropInfo StringProperty(std::string name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set) {
    TPropInfo info = Property(std::move(name), tkString);
    info.GetString = std::move(get);
    info.SetString = std::move(set);
    return info;
}

TPropInfo StringListProperty(std::string name, std::function<std::vector<std::string>()> get,
                             std::function<void(const std::vector<std::string>&)> set) {
    TPropInfo info = Property(std::move(name), tkStringList);
    info.GetStrings = std::move(get);
    info.SetStrings = std::move(set);
    return info;
}

TPropList GetPropList(TComponent* component) {
    TPropList published;
    if (!component) return published;
    component->PublishProperties(published);
    // A class that publishes a name again (its own setter) replaces its base's entry.
    TPropList list;
    for (auto it = published.rbegin(); it != published.rend(); ++it)
        if (!FindPropInfo(list, it->Name)) list.push_back(std::move(*it));
    std::stable_sort(list.begin(), list.end(), [](const TPropInfo& a, const TPropInfo& b) {
        return CompareText(a.Name, b.Name) < 0;
    });
    return list;
}

const TPropInfo* FindPropInfo(const TPropList& list, const std::string& name) {
    for (const TPropInfo& info : list)
        if (SameText(info.Name, name)) return &info;
    return nullptr;
}

}  // namespace rv
