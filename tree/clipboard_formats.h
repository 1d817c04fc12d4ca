#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rv {

class TBaseVirtualTree;

// The tree class a clipboard format belongs to: the format applies to trees of that class and
// its descendants.
using TVTTreeClass = bool (*)(const TBaseVirtualTree& tree);
bool IsBaseVirtualTree(const TBaseVirtualTree& tree);
bool IsVirtualStringTree(const TBaseVirtualTree& tree);

// One format of the process-wide list of formats trees can offer.
struct TClipboardFormatEntry {
    std::string Description;
    TVTTreeClass TreeClass;
    int Priority;
};

// The registered formats in ascending priority (a lower number is preferred): the formats of
// the tree unit are there from the start.
const std::vector<TClipboardFormatEntry>& ClipboardFormatList();
void RegisterVTClipboardFormat(const std::string& description, TVTTreeClass treeClass,
                               int priority);
// The class of a format, found by its description without regard to ASCII case; nullptr when
// no such format is registered.
TVTTreeClass FindFormat(std::string_view description);

// The descriptions of the formats a tree offers: a sorted list without duplicates (ASCII case
// ignored) that accepts only formats registered for the tree's class.
class TClipboardFormats {
public:
    explicit TClipboardFormats(TBaseVirtualTree& owner) : owner_(owner) {}
    TClipboardFormats(const TClipboardFormats&) = delete;
    TClipboardFormats& operator=(const TClipboardFormats&) = delete;

    int Count() const { return int(items_.size()); }
    const std::string& operator[](int index) const { return items_.at(std::size_t(index)); }
    const std::vector<std::string>& Items() const { return items_; }
    // The index of the description, or -1 when the format is unknown, belongs to another class
    // of tree or is listed already.
    int Add(const std::string& description);
    // The list is sorted, so the place is its own; answers as Add.
    int Insert(int index, const std::string& description);
    void Delete(int index);
    void Clear() { items_.clear(); }
    int IndexOf(std::string_view description) const;
    // Clears the list and adds every entry of `source` through Add.
    void Assign(const TClipboardFormats& source);

private:
    TBaseVirtualTree& owner_;
    std::vector<std::string> items_;
};

}  // namespace rv
