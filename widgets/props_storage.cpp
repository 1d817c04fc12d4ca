#include "widgets/props_storage.h"

#include <algorithm>
#include <map>

#include "platform/framework/form.h"
#include "platform/text/ascii_case.h"
#include "platform/text/trim.h"
#include "widgets/prop_texts.h"
#include "widgets/str_utils.h"

namespace rv {

namespace {

constexpr const char* kNull = "(null)";

std::string SubSection(const std::string& section, const std::string& name) {
    return section + "." + name;
}

// Kinds whose text is written and read even when empty.
bool KeepsEmptyText(TTypeKind kind) {
    return kind == tkString || kind == tkWChar;
}

// Who owns a referenced component, as a stored reference names it: the owner's name, or its
// class name without the leading "T".
std::string OwnerText(const TComponent* owner) {
    if (!owner->Name().empty()) return owner->Name();
    std::string name = owner->ClassName();
    if (!name.empty() && AsciiUpper(name.front()) == 'T') name.erase(0, 1);
    return name;
}

TComponent* FindForm(const std::string& name) {
    for (TCustomForm* form : ScreenForms())
        if (SameText(form->Name(), name)) return form;
    return nullptr;
}

}  // namespace

bool ParseStoredEntry(const std::string& text, std::string& component, std::string& property) {
    size_t dot = text.find('.');
    if (dot == std::string::npos) return false;
    component = Trim(std::string_view(text).substr(0, dot));
    property = Trim(std::string_view(text).substr(dot + 1));
    return !component.empty() && !property.empty();
}

void SyncStoredList(TComponent* root, TStoredPropList& list, bool fromForm) {
    for (size_t i = list.size(); i-- > 0;) {
        std::string component, property;
        TStoredProp& entry = list[i];
        bool keep = ParseStoredEntry(entry.Text, component, property);
        if (keep && fromForm) {
            entry.Component = root ? root->FindComponent(component) : nullptr;
            keep = entry.Component != nullptr;
        } else if (keep) {
            keep = entry.Component != nullptr;
            if (keep) entry.Text = entry.Component->Name() + "." + property;
        }
        if (!keep) list.erase(list.begin() + std::ptrdiff_t(i));
    }
}

// ---- the callbacks ----------------------------------------------------------------------------

std::string TPropsStorage::ReadString(const std::string& section, const std::string& ident,
                                      const std::string& defaultValue) {
    return OnReadString ? OnReadString(section, ident, defaultValue) : defaultValue;
}

void TPropsStorage::WriteString(const std::string& section, const std::string& ident,
                                const std::string& value) {
    if (OnWriteString) OnWriteString(section, ident, value);
}

void TPropsStorage::EraseSection(const std::string& section) {
    if (OnEraseSection) OnEraseSection(section);
}

int TPropsStorage::SectionSize(const std::string& section) {
    return OnSectionSize ? OnSectionSize(section) : 0;
}

std::unique_ptr<TPropsStorage> TPropsStorage::CreateStorage() const {
    return std::make_unique<TPropsStorage>();
}

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(const std::string& section,
                                                     const std::string& prefix) const {
    std::unique_ptr<TPropsStorage> storage = CreateStorage();
    storage->Section = section;
    storage->Prefix = prefix;
    storage->Owner = Owner;
    storage->OnReadString = OnReadString;
    storage->OnWriteString = OnWriteString;
    storage->OnEraseSection = OnEraseSection;
    storage->OnSectionSize = OnSectionSize;
    return storage;
}

// ---- the list ---------------------------------------------------------------------------------

void TPropsStorage::StoreProps(TComponent* root, TStoredPropList& list) {
    Visit(root, list, true);
}

void TPropsStorage::LoadProps(TComponent* root, TStoredPropList& list) {
    Visit(root, list, false);
}

void TPropsStorage::Visit(TComponent* root, TStoredPropList& list, bool store) {
    SyncStoredList(root, list, false);
    std::map<TComponent*, TPropInfoList> props;
    Owner = root;
    for (const TStoredProp& entry : list) {
        std::string component, property;
        if (!ParseStoredEntry(entry.Text, component, property)) continue;
        auto found = props.find(entry.Component);
        if (found == props.end()) found = props.emplace(entry.Component, entry.Component).first;
        const TPropInfo* info = found->second.Find(property);
        if (!info) continue;
        Prefix = entry.Component->Name() + "_";
        if (store)
            StoreProperty(*info);
        else
            LoadProperty(*info);
    }
    Prefix.clear();
    Owner = nullptr;
}

void TPropsStorage::StoreObjectProps(const TPropList& props) {
    for (const TPropInfo& info : SortedPropList(props)) StoreProperty(info);
}

void TPropsStorage::LoadObjectProps(const TPropList& props) {
    for (const TPropInfo& info : SortedPropList(props)) LoadProperty(info);
}

// ---- one property -----------------------------------------------------------------------------

// The text of the property's value; empty for the kinds that hold an object.
std::string TPropsStorage::ValueText(const TPropInfo& info) const {
    switch (info.Kind) {
        case tkInteger:
            return std::to_string(info.GetInteger());
        case tkChar:
        case tkWChar:
            return CharText(info.GetChar());
        case tkEnumeration:
            return EnumerationText(info.Names, info.GetInteger());
        case tkFloat:
            return FloatText(info.GetFloat(), info.FloatType);
        case tkString:
            return info.GetString();
        case tkSet:
            return SetText(info.Names, info.GetSet());
        case tkVariant:
            return info.GetVariant().AsString();
        case tkInt64:
            return std::to_string(info.GetInt64());
        case tkComponent: {
            const TComponent* component = info.GetComponent();
            if (!component) return kNull;
            const TComponent* owner = component->Owner();
            if (!owner || owner == Owner) return component->Name();
            return OwnerText(owner) + "." + component->Name();
        }
        default:
            return {};
    }
}

void TPropsStorage::StoreProperty(const TPropInfo& info) {
    switch (info.Kind) {
        case tkStringList:
            return StoreStrings(info);
        case tkCollection:
            return StoreCollection(info);
        case tkObject: {
            TPropList props;
            if (info.GetObject(props)) Nested(Section, Prefix + info.Name)->StoreObjectProps(props);
            return;
        }
        default:
            break;
    }
    const std::string text = Trim(ValueText(info));
    if (!text.empty() || KeepsEmptyText(info.Kind)) WriteString(Section, ItemName(info.Name), text);
}

void TPropsStorage::LoadProperty(const TPropInfo& info) {
    try {
        switch (info.Kind) {
            case tkStringList:
                return LoadStrings(info);
            case tkCollection:
                return LoadCollection(info);
            case tkObject: {
                TPropList props;
                if (info.GetObject(props))
                    Nested(Section, Prefix + info.Name)->LoadObjectProps(props);
                return;
            }
            default:
                break;
        }
        // The current value is the default: a missing value leaves the property.
        const std::string current = info.Kind == tkComponent ? std::string() : ValueText(info);
        std::string text;
        if (!current.empty() || KeepsEmptyText(info.Kind) || info.Kind == tkComponent)
            text = Trim(ReadString(Section, ItemName(info.Name), current));
        SetFromText(info, text);
    } catch (const std::exception&) {
        // The property keeps its value.
    }
}

void TPropsStorage::SetFromText(const TPropInfo& info, const std::string& text) {
    switch (info.Kind) {
        case tkInteger: {
            const int current = info.GetInteger();
            const int value = StrToIntDef(text, current);
            if (value != current) info.SetInteger(value);
            break;
        }
        case tkChar:
        case tkWChar:
            if (char32_t c; TextToChar(text, c)) info.SetChar(c);
            break;
        case tkEnumeration:
            if (int value; TextToEnumeration(info.Names, text, value)) info.SetInteger(value);
            break;
        case tkFloat:
            if (long double value; TextToFloat(text, value)) info.SetFloat(value);
            break;
        case tkString:
            info.SetString(text);
            break;
        case tkSet:
            info.SetSet(TextToSet(info.Names, text));
            break;
        case tkVariant:
            info.SetVariant(TVariant(text));
            break;
        case tkInt64:
            if (std::int64_t value; TextToInt64(text, value)) info.SetInt64(value);
            break;
        case tkComponent:
            LoadComponent(info, text);
            break;
        default:
            break;
    }
}

// ---- objects ----------------------------------------------------------------------------------

void TPropsStorage::StoreStrings(const TPropInfo& info) {
    const std::string section = SubSection(Section, ItemName(info.Name));
    EraseSection(section);
    const std::vector<std::string> lines = info.GetStrings();
    if (lines.empty()) return;
    WriteString(section, "Count", std::to_string(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        WriteString(section, "Item" + std::to_string(i), lines[i]);
}

void TPropsStorage::LoadStrings(const TPropInfo& info) {
    const std::string section = SubSection(Section, ItemName(info.Name));
    int count = StrToIntDef(Trim(ReadString(section, "Count", "0")), 0);
    // "Count" is itself one of the section's values.
    count = std::min(count, SectionSize(section) - 1);
    if (count <= 0) return;
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(ReadString(section, "Item" + std::to_string(i), ""));
    info.SetStrings(lines);
}

void TPropsStorage::StoreCollection(const TPropInfo& info) {
    const TCollectionAccess& items = info.Collection;
    const std::string section = SubSection(Section, Prefix + info.Name);
    EraseSection(section);
    const int count = items.Count();
    WriteString(section, "Count", std::to_string(count));
    for (int i = 0; i < count; ++i)
        Nested(section, "Item" + std::to_string(i) + "_")
            ->StoreObjectProps(items.ItemProperties(i));
}

void TPropsStorage::LoadCollection(const TPropInfo& info) {
    const TCollectionAccess& items = info.Collection;
    const std::string section = SubSection(Section, Prefix + info.Name);
    const int current = items.Count();
    int count = StrToIntDef(Trim(ReadString(section, "Count", std::to_string(current))), current);
    // A stored collection has a value per item at least; a count past that is damaged.
    if (count < 0 || count > std::max(current, SectionSize(section) - 1)) count = current;
    struct Update {
        const TCollectionAccess& items;
        explicit Update(const TCollectionAccess& c) : items(c) {
            if (items.BeginUpdate) items.BeginUpdate();
        }
        ~Update() {
            if (items.EndUpdate) items.EndUpdate();
        }
    } update(items);
    if (count != current) {
        items.Clear();
        for (int i = 0; i < count; ++i) items.Add();
    }
    for (int i = 0; i < items.Count(); ++i)
        Nested(section, "Item" + std::to_string(i) + "_")->LoadObjectProps(items.ItemProperties(i));
}

void TPropsStorage::LoadComponent(const TPropInfo& info, const std::string& text) {
    if (text.empty()) return;
    if (SameText(text, kNull)) return info.SetComponent(nullptr);
    TComponent* owner = Owner;
    std::string name = text;
    if (const size_t dot = text.find('.'); dot != std::string::npos) {
        owner = FindForm(text.substr(0, dot));
        name = text.substr(dot + 1);
    }
    if (owner) info.SetComponent(owner->FindComponent(name));
}

}  // namespace rv
