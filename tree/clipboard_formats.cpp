#include "tree/clipboard_formats.h"

#include <algorithm>

#include "platform/text/ascii_case.h"
#include "platform/transfer/clipboard_format_names.h"
#include "tree/string_tree.h"

namespace rv {

bool IsBaseVirtualTree(const TBaseVirtualTree&) {
    return true;
}

bool IsVirtualStringTree(const TBaseVirtualTree& tree) {
    return dynamic_cast<const TCustomVirtualStringTree*>(&tree) != nullptr;
}

namespace {

void AddEntry(std::vector<TClipboardFormatEntry>& formats, TClipboardFormatEntry entry) {
    formats.push_back(std::move(entry));
    std::stable_sort(formats.begin(), formats.end(),
                     [](const auto& a, const auto& b) { return a.Priority < b.Priority; });
}

TClipboardFormatEntry MakeEntry(TClipFormat format, std::string description, TVTTreeClass treeClass,
                                int priority) {
    return {std::move(description), treeClass, priority,
            TFormatEtc{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}};
}

std::vector<TClipboardFormatEntry>& Formats() {
    static std::vector<TClipboardFormatEntry> formats = [] {
        std::vector<TClipboardFormatEntry> f;
        auto named = [&f](const char* name, TVTTreeClass treeClass, int priority) {
            AddEntry(f, MakeEntry(RegisterClipboardFormat(name), name, treeClass, priority));
        };
        named("Virtual Tree Data", IsBaseVirtualTree, 50);
        named("HTML Format", IsVirtualStringTree, 80);
        named("Rich Text Format Without Objects", IsVirtualStringTree, 84);
        named("Rich Text Format", IsVirtualStringTree, 85);
        named("CSV", IsVirtualStringTree, 90);
        AddEntry(f, MakeEntry(CF_UNICODETEXT, StandardFormatDescription(CF_UNICODETEXT),
                              IsVirtualStringTree, 95));
        AddEntry(f,
                 MakeEntry(CF_TEXT, StandardFormatDescription(CF_TEXT), IsVirtualStringTree, 100));
        return f;
    }();
    return formats;
}

}  // namespace

const std::vector<TClipboardFormatEntry>& ClipboardFormatList() {
    return Formats();
}

std::string StandardFormatDescription(TClipFormat format) {
    static const char* const names[] = {"",
                                        "Plain text",
                                        "Windows bitmap",
                                        "Windows metafile",
                                        "Symbolic link",
                                        "Data interchange format",
                                        "Tiff image",
                                        "OEM text",
                                        "DIB image",
                                        "Palette data",
                                        "Pen data",
                                        "Riff audio data",
                                        "Wav audio data",
                                        "Unicode text",
                                        "Enhanced metafile image",
                                        "File name(s)",
                                        "Locale descriptor"};
    return format < std::size(names) ? names[format] : "";
}

TClipFormat RegisterVTClipboardFormat(const std::string& description, TVTTreeClass treeClass,
                                      int priority, DWORD tymed, const void* ptd, DWORD aspect,
                                      std::int32_t lindex) {
    const TClipFormat format = RegisterClipboardFormat(description);
    if (format == 0) return 0;
    AddEntry(Formats(),
             {description, treeClass, priority, TFormatEtc{format, ptd, aspect, lindex, tymed}});
    return format;
}

void RegisterVTClipboardFormat(TClipFormat format, TVTTreeClass treeClass, int priority) {
    const std::string description =
        format < CF_MAX ? StandardFormatDescription(format) : GetClipboardFormatName(format);
    if (description.empty()) return;
    AddEntry(Formats(), MakeEntry(format, description, treeClass, priority));
}

void EnumerateFormats(const TBaseVirtualTree& tree, std::vector<TFormatEtc>& formats,
                      const std::vector<std::string>* allowed) {
    formats.clear();
    for (const TClipboardFormatEntry& entry : Formats()) {
        if (!entry.TreeClass(tree)) continue;
        if (allowed && std::none_of(allowed->begin(), allowed->end(), [&](const std::string& a) {
                return SameText(a, entry.Description);
            }))
            continue;
        formats.push_back(entry.FormatEtc);
    }
}

TVTTreeClass FindFormat(std::string_view description, TClipFormat& format) {
    const auto& formats = Formats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (SameText(it->Description, description)) {
            format = it->FormatEtc.cfFormat;
            return it->TreeClass;
        }
    format = 0;
    return nullptr;
}

TVTTreeClass FindFormat(std::string_view description) {
    TClipFormat format;
    return FindFormat(description, format);
}

TClipFormat CF_VIRTUALTREE() {
    static const TClipFormat format = [] {
        TClipFormat f;
        FindFormat("Virtual Tree Data", f);
        return f;
    }();
    return format;
}

TClipFormat CF_VTREFERENCE() {
    static const TClipFormat format = RegisterClipboardFormat("Virtual Tree Reference");
    return format;
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
