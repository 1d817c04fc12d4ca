#include "tree/column_properties.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/text/ascii_case.h"
#include "tree/vt_columns.h"

namespace rv {

namespace {

// Names of an enumeration's values in value order, as a form keeps them.
template <std::size_t N>
using Names = std::array<std::string_view, N>;

constexpr Names<3> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
constexpr Names<4> kBiDiModeNames = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                     "bdRightToLeftReadingOnly"};
constexpr Names<4> kLayoutNames = {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"};
constexpr Names<2> kStyleNames = {"vsText", "vsOwnerDraw"};
constexpr Names<9> kOptionNames = {"coAllowClick",     "coDraggable",   "coEnabled",
                                   "coParentBidiMode", "coParentColor", "coResizable",
                                   "coShowDropMark",   "coVisible",     "coAutoSpring"};
static_assert(kOptionNames.size() == std::size_t(coAutoSpring) + 1);

// An enumeration stored by its value's name; a name of no value leaves the property.
template <class E, std::size_t N>
TPropInfo EnumProperty(std::string name, const Names<N>& names, std::function<E()> get,
                       std::function<void(E)> set) {
    return StringProperty(
        std::move(name), [get, &names] { return std::string(names[std::size_t(get())]); },
        [set, &names](const std::string& text) {
            for (std::size_t i = 0; i < N; ++i)
                if (SameText(std::string(names[i]), text)) return set(E(i));
        });
}

TVTColumnOptions OptionsNamed(const std::vector<std::string>& words) {
    TVTColumnOptions options;
    for (const std::string& word : words)
        for (std::size_t i = 0; i < kOptionNames.size(); ++i)
            if (SameText(std::string(kOptionNames[i]), word)) options.Include(TVTColumnOption(i));
    return options;
}

std::vector<std::string> OptionNames(TVTColumnOptions options) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < kOptionNames.size(); ++i)
        if (options.Contains(TVTColumnOption(i))) names.emplace_back(kOptionNames[i]);
    return names;
}

}  // namespace

void PublishColumnProperties(TVirtualTreeColumn& c, TPropList& list) {
    using C = TVirtualTreeColumn;
    const auto integer = [&](std::string name, int (C::*get)() const, void (C::*set)(int)) {
        list.push_back(IntegerProperty(
            std::move(name), [&c, get] { return (c.*get)(); }, [&c, set](int v) { (c.*set)(v); }));
    };
    list.push_back(EnumProperty<TAlignment>(
        "Alignment", kAlignmentNames, [&c] { return c.Alignment(); },
        [&c](TAlignment v) { c.SetAlignment(v); }));
    list.push_back(EnumProperty<TBiDiMode>(
        "BiDiMode", kBiDiModeNames, [&c] { return c.BiDiMode(); },
        [&c](TBiDiMode v) { c.SetBiDiMode(v); }));
    list.push_back(IntegerProperty(
        "Color", [&c] { return int(c.Color()); }, [&c](int v) { c.SetColor(TColor(v)); }));
    list.push_back(StringProperty(
        "Hint", [&c] { return c.Hint(); }, [&c](const std::string& v) { c.SetHint(v); }));
    integer("ImageIndex", &C::ImageIndex, &C::SetImageIndex);
    list.push_back(EnumProperty<TVTHeaderColumnLayout>(
        "Layout", kLayoutNames, [&c] { return c.Layout(); },
        [&c](TVTHeaderColumnLayout v) { c.SetLayout(v); }));
    integer("Margin", &C::Margin, &C::SetMargin);
    // The minimum may stand above the new maximum: it steps aside, at most down to that
    // maximum, and takes its own stored value next.
    list.push_back(IntegerProperty(
        "MaxWidth", [&c] { return c.MaxWidth(); },
        [&c](int v) {
            const int min = c.MinWidth();
            c.SetMinWidth(0);
            c.SetMaxWidth(v);
            c.SetMinWidth(std::min(min, c.MaxWidth()));
        }));
    integer("MinWidth", &C::MinWidth, &C::SetMinWidth);
    integer("Position", &C::Position, &C::SetPosition);
    integer("Spacing", &C::Spacing, &C::SetSpacing);
    list.push_back(EnumProperty<TVirtualTreeColumnStyle>(
        "Style", kStyleNames, [&c] { return c.Style(); },
        [&c](TVirtualTreeColumnStyle v) { c.SetStyle(v); }));
    integer("Tag", &C::Tag, &C::SetTag);
    list.push_back(StringProperty(
        "Text", [&c] { return c.Text(); }, [&c](const std::string& v) { c.SetText(v); }));
    integer("Width", &C::Width, &C::SetWidth);
    list.push_back(StringProperty(
        "Options", [&c] { return SetToText(OptionNames(c.Options())); },
        [&c](const std::string& v) { c.SetOptions(OptionsNamed(TextToSetWords(v))); }));
}

}  // namespace rv
