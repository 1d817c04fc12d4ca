#include "widgets/props_storage.h"

#include "platform/text/trim.h"
#include "widgets/str_utils.h"

#include <algorithm>
#include <map>

namespace rv {

namespace {

std::string ListSection(const std::string& section, const std::string& name) {
    return section + "." + name;
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

void TPropsStorage::StoreProps(TComponent* root, TStoredPropList& list) {
    Visit(root, list, true);
}

void TPropsStorage::LoadProps(TComponent* root, TStoredPropList& list) {
    Visit(root, list, false);
}

void TPropsStorage::Visit(TComponent* root, TStoredPropList& list, bool store) {
    SyncStoredList(root, list, false);
    std::map<TComponent*, TPropInfoList> props;
    for (const TStoredProp& entry : list) {
        std::string component, property;
        if (!ParseStoredEntry(entry.Text, component, property)) continue;
        auto found = props.find(entry.Component);
        if (found == props.end()) found = props.emplace(entry.Component, entry.Component).first;
        const TPropInfo* info = found->second.Find(property);
        if (!info) continue;
        prefix_ = entry.Component->Name() + "_";
        if (store)
            StoreProperty(*info);
        else
            LoadProperty(*info);
    }
    prefix_.clear();
}

void TPropsStorage::VisitItems(const TPropInfo& info, const std::string& section, int count,
                               bool store) {
    // The items' values are named in the collection's section as the section's own are.
    struct Restore {
        TPropsStorage& self;
        std::string section, prefix;
        ~Restore() {
            self.Section = section;
            self.prefix_ = prefix;
        }
    } restore{*this, Section, prefix_};
    Section = section;
    for (int i = 0; i < count; ++i) {
        prefix_ = "Item" + std::to_string(i) + "_";
        for (const TPropInfo& item : info.GetItem(i)) {
            if (store)
                StoreProperty(item);
            else
                LoadProperty(item);
        }
    }
}

void TPropsStorage::StoreProperty(const TPropInfo& info) {
    if (!info.IsStored()) return;
    std::string name = ItemName(info.Name);
    switch (info.Kind) {
        case tkInteger:
            WriteString(Section, name, std::to_string(info.GetInteger()));
            break;
        case tkString:
            WriteString(Section, name, Trim(info.GetString()));
            break;
        case tkStringList: {
            std::string section = ListSection(Section, name);
            EraseSection(section);
            std::vector<std::string> lines = info.GetStrings();
            if (lines.empty()) break;
            WriteString(section, "Count", std::to_string(lines.size()));
            for (size_t i = 0; i < lines.size(); ++i)
                WriteString(section, "Item" + std::to_string(i), lines[i]);
            break;
        }
        case tkCollection: {
            std::string section = ListSection(Section, name);
            EraseSection(section);
            const int count = info.GetCount();
            WriteString(section, "Count", std::to_string(count));
            VisitItems(info, section, count, true);
            break;
        }
    }
}

void TPropsStorage::LoadProperty(const TPropInfo& info) {
    std::string name = ItemName(info.Name);
    try {
        switch (info.Kind) {
            case tkInteger: {
                int current = info.GetInteger();
                int value =
                    StrToIntDef(Trim(ReadString(Section, name, std::to_string(current))), current);
                if (value != current) info.SetInteger(value);
                break;
            }
            case tkString:
                info.SetString(Trim(ReadString(Section, name, info.GetString())));
                break;
            case tkStringList: {
                std::string section = ListSection(Section, name);
                int count = StrToIntDef(Trim(ReadString(section, "Count", "0")), 0);
                // "Count" is itself one of the section's values.
                count = std::min(count, SectionSize(section) - 1);
                if (count <= 0) break;
                std::vector<std::string> lines;
                for (int i = 0; i < count; ++i)
                    lines.push_back(ReadString(section, "Item" + std::to_string(i), ""));
                info.SetStrings(lines);
                break;
            }
            case tkCollection: {
                std::string section = ListSection(Section, name);
                const int current = info.GetCount();
                int count = StrToIntDef(Trim(ReadString(section, "Count", std::to_string(current))),
                                        current);
                // A damaged "Count" asks for no more items than the section has values.
                if (count != current && (count < 0 || count > SectionSize(section) - 1)) break;
                if (info.BeginLoad) info.BeginLoad();
                try {
                    if (count != current) info.SetCount(count);
                    VisitItems(info, section, count, false);
                } catch (...) {
                    if (info.EndLoad) info.EndLoad();
                    throw;
                }
                if (info.EndLoad) info.EndLoad();
                break;
            }
        }
    } catch (const std::exception&) {
        // The property keeps its value.
    }
}

}  // namespace rv
