#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/components/component.h"

namespace rv {

// One entry of a form's stored-properties list: "Component.Property" ("TreePanel.Width"), and
// the component once its name was found on the form.
struct TStoredProp {
    std::string Text;
    TComponent* Component = nullptr;
};
using TStoredPropList = std::vector<TStoredProp>;

// Splits an entry at its first ".": the component's and the property's names, both trimmed;
// false when either is empty.
bool ParseStoredEntry(const std::string& text, std::string& component, std::string& property);

// Keeps the list in step with the form `root`, last entry first. With `fromForm` (once the form
// is complete) each entry is looked up on the form: found, the component is kept with it; not
// found or not parsed, the entry goes. Without (before every store or load), entries that do not
// parse or have no component go, the others take the component's current name.
void SyncStoredList(TComponent* root, TStoredPropList& list, bool fromForm);

// The published properties of one object, sorted by name, found without regard to ASCII case.
class TPropInfoList {
public:
    explicit TPropInfoList(TComponent* object) : list_(GetPropList(object)) {}
    const TPropInfo* Find(const std::string& name) const { return FindPropInfo(list_, name); }
    int Count() const { return int(list_.size()); }
    const TPropInfo& Items(int index) const { return list_.at(size_t(index)); }

private:
    TPropList list_;
};

// Turns the properties named by a stored-properties list into text values and back, through
// callbacks that reach the actual store. The value of property P of component C is named C_P in
// Section; a string list goes into the sub-section "<Section>.C_P" as "Count" and "Item0"...
//
// Loading never raises: a value that cannot be read or set leaves its property as it was (a
// stored integer that is no number included). Storing raises what the callbacks raise.
class TPropsStorage {
public:
    using TReadStrEvent = std::function<std::string(
        const std::string& section, const std::string& ident, const std::string& defaultValue)>;
    using TWriteStrEvent = std::function<void(const std::string& section, const std::string& ident,
                                              const std::string& value)>;
    using TEraseSectEvent = std::function<void(const std::string& section)>;
    using TSectionSizeEvent = std::function<int(const std::string& section)>;

    virtual ~TPropsStorage() = default;

    void StoreProps(TComponent* root, TStoredPropList& list);
    void LoadProps(TComponent* root, TStoredPropList& list);

    std::string Section;
    // Without a reader, reads give the default; without a writer or eraser, nothing is written
    // or erased; without a section size, no string list is read (the size bounds what a damaged
    // "Count" could ask for).
    TReadStrEvent OnReadString;
    TWriteStrEvent OnWriteString;
    TEraseSectEvent OnEraseSection;
    TSectionSizeEvent OnSectionSize;

protected:
    virtual std::string ReadString(const std::string& section, const std::string& ident,
                                   const std::string& defaultValue);
    virtual void WriteString(const std::string& section, const std::string& ident,
                             const std::string& value);
    virtual void EraseSection(const std::string& section);
    virtual int SectionSize(const std::string& section);
    // The value name of a property of the component being handled.
    virtual std::string ItemName(const std::string& propName) const { return prefix_ + propName; }

private:
    void Visit(TComponent* root, TStoredPropList& list, bool store);
    void StoreProperty(const TPropInfo& info);
    void LoadProperty(const TPropInfo& info);

    std::string prefix_;
};

}  // namespace rv
