#include "tree/clipboard_formats.h"

#include <algorithm>

#include "platform/text/ascii_case.h"
#include "tree/string_tree.h"

namespace rv {

bool IsBaseVirtualTree(const TBaseVirtualTree&) {
    return true;
}

bool IsVirtualStringTree(const TBaseVirtualTree& tree) {
    return dynamic_cast<const TCustomVirtualStringTree*>(&tree) != nullptr;
}

namespace {

std::vector<TClipboardFormatEntry>& Formats() {
    static std::vector<TClipboardFormatEntry> formats = [] {
        // The formats of the trees' own data and of the text tree's exports.
        std::vector<TClipboardFormatEntry> f = {
            {"Virtual Tree Data", IsBaseVirtualTree, 50},
            {"HTML Format", IsVirtualStringTree, 80},
            {"Rich Text Format Without Objects", IsVirtualStringTree, 84},
            {"Rich Text Format", IsVirtualStringTree, 85},
            {"CSV", IsVirtualStringTree, 90},
            {"Unicode text", IsVirtualStringTree, 95},
            {"Plain text", IsVirtualStringTree, 100},
        };
        return f;
    }();
    return formats;
}

}  // namespace

const std::vector<TClipboardFormatEntry>& ClipboardFormatList() {
    return Formats();
}

void RegisterVTClipboardFormat(const std::string& description, TVTTreeClass treeClass,
                               int priority) {
    auto& formats = Formats();
    formats.push_back({description, treeClass, priority});
    std::stable_sort(formats.begin(), formats.end(),
                     [](const auto& a, const auto& b) { return a.Priority < b.Priority; });
}

TVTTreeClass FindFormat(std::string_view description) {
    const auto& formats = Formats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (SameText(it->Description, description)) return it->TreeClass;
    return nullptr;
}

int TClipboardFormats::IndexOf(std::string_view description) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (SameText(items_[i], description)) return int(i);
    return -1;
}

int TClipboardFormats::Add(const std::string& description) {
    const TVTTreeClass treeClass = FindFormat(description);
    if (!treeClass || !treeClass(owner_) || IndexOf(description) >= 0) return -1;
    const auto at = std::lower_bound(
        items_.begin(), items_.end(), description,
        [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
    const auto inserted = items_.insert(at, description);
    return int(inserted - items_.begin());
}

int TClipboardFormats::Insert(int, const std::string& description) {
    return Add(description);
}

void TClipboardFormats::Delete(int index) {
    if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TClipboardFormats::Assign(const TClipboardFormats& source) {
    if (&source == this) return;
    const std::vector<std::string> entries = source.items_;
    Clear();
    for (const std::string& entry : entries) Add(entry);
}

}  // namespace rv
