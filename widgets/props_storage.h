#pragma once

#include <functional>
#include <memory>
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
// Section (ItemName: Prefix + P, the prefix being "C_").
//
// Each kind has its text: integers and 64-bit integers in decimal, a character as itself, an
// enumeration by its value's name, a float with a point at its type's precision, a set as
// "[name,name]", a variant as its text. Texts are written trimmed; an empty one only for
// strings and wide characters. Objects held by properties:
// - a string list goes into the sub-section "<Section>.C_P" as "Count" and "Item0"...; an empty
//   list erases it, and a list stored empty or not at all leaves the property as it is;
// - a collection goes into the sub-section "<Section>.C_P" as "Count" and its items' properties,
//   each item's named "Item<n>_<property>"; loaded with another count, the collection is emptied
//   and refilled;
// - a component reference is the component's name, "<owner>.<name>" for a component of another
//   form, or "(null)";
// - any other object's properties go into Section under the prefix "C_P" ("Tree_FontColor").
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
    // Every property of one object (a collection's item, an object a property holds) under
    // Prefix in Section.
    void StoreObjectProps(const TPropList& props);
    void LoadObjectProps(const TPropList& props);

    std::string Section;
    std::string Prefix;
    // The form whose components references without an owner's name point to.
    TComponent* Owner = nullptr;
    // Without a reader, reads give the default; without a writer or eraser, nothing is written
    // or erased; without a section size, no string list is read and no collection grows (the
    // size bounds what a damaged "Count" could ask for).
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
    // The value name of a property of the object being handled.
    virtual std::string ItemName(const std::string& propName) const { return Prefix + propName; }
    // A new storage of this class, for the objects inside the one being handled; a derived
    // class answers with one of its own.
    virtual std::unique_ptr<TPropsStorage> CreateStorage() const;

private:
    void Visit(TComponent* root, TStoredPropList& list, bool store);
    // A storage made by CreateStorage with this one's callbacks and owner.
    std::unique_ptr<TPropsStorage> Nested(const std::string& section,
                                          const std::string& prefix) const;
    std::string ValueText(const TPropInfo& info) const;
    void StoreProperty(const TPropInfo& info);
    void LoadProperty(const TPropInfo& info);
    void SetFromText(const TPropInfo& info, const std::string& text);
    void StoreStrings(const TPropInfo& info);
    void LoadStrings(const TPropInfo& info);
    void StoreCollection(const TPropInfo& info);
    void LoadCollection(const TPropInfo& info);
    void LoadComponent(const TPropInfo& info, const std::string& text);
};

}  // namespace rv
