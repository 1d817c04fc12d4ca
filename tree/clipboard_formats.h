#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/transfer/ole_types.h"

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
    TFormatEtc FormatEtc;
};

// The registered formats in ascending priority (a lower number is preferred): the formats of
// the tree unit are there from the start: "Virtual Tree Data" for every tree (50), and for text
// trees "HTML Format" (80), "Rich Text Format Without Objects" (84), "Rich Text Format" (85),
// "CSV" (90), Unicode text (95) and plain text (100).
const std::vector<TClipboardFormatEntry>& ClipboardFormatList();
// Registers the name as a clipboard format and adds the entry; answers the format's number.
TClipFormat RegisterVTClipboardFormat(const std::string& description, TVTTreeClass treeClass,
                                      int priority, DWORD tymed = TYMED_HGLOBAL,
                                      const void* ptd = nullptr, DWORD aspect = DVASPECT_CONTENT,
                                      std::int32_t lindex = -1);
// Adds a standard format (its description from StandardFormatDescription; a number without one
// is not added) or one registered already (the name it was registered with).
void RegisterVTClipboardFormat(TClipFormat format, TVTTreeClass treeClass, int priority);
// The description of standard format numbers 1 to 16 ("Plain text", "Windows bitmap", …);
// empty for others.
std::string StandardFormatDescription(TClipFormat format);
// The formats for a tree, in priority order: every entry of its class or an ancestor of it, with
// `allowed` only those whose description it lists (ASCII case ignored).
void EnumerateFormats(const TBaseVirtualTree& tree, std::vector<TFormatEtc>& formats,
                      const std::vector<std::string>* allowed = nullptr);
// The class of a format, found by its description without regard to ASCII case, from the last
// entry backwards; nullptr when no such format is registered. `format` gets its number (0 when
// none).
TVTTreeClass FindFormat(std::string_view description);
TVTTreeClass FindFormat(std::string_view description, TClipFormat& format);

// The tree's own formats: its node data, and the reference by which a tree finds the tree of
// this process a transfer comes from (registered, never offered in the list).
TClipFormat CF_VIRTUALTREE();
TClipFormat CF_VTREFERENCE();

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
