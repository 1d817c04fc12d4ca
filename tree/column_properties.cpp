#include "tree/column_properties.h"

#include <algorithm>

#include "tree/vt_columns.h"

namespace rv {

void PublishColumnProperties(TVirtualTreeColumn& c, TPropList& list) {
    using C = TVirtualTreeColumn;
    const auto integer = [&](std::string name, int (C::*get)() const, void (C::*set)(int)) {
        list.push_back(IntegerProperty(
            std::move(name), [&c, get] { return (c.*get)(); }, [&c, set](int v) { (c.*set)(v); }));
    };
    list.push_back(EnumerationProperty(
        "Alignment", {"taLeftJustify", "taRightJustify", "taCenter"},
        [&c] { return c.Alignment(); }, [&c](TAlignment v) { c.SetAlignment(v); }));
    // A column that takes its reading order or colour from the tree keeps none of its own.
    const auto storedUnless = [&c](TVTColumnOption parentOption) {
        return [&c, parentOption] { return !c.Options().Contains(parentOption); };
    };
    TPropInfo bidiMode = EnumerationProperty(
        "BiDiMode",
        {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
        [&c] { return c.BiDiMode(); }, [&c](TBiDiMode v) { c.SetBiDiMode(v); });
    bidiMode.Stored = storedUnless(coParentBidiMode);
    list.push_back(std::move(bidiMode));
    TPropInfo color = IntegerProperty(
        "Color", [&c] { return int(c.Color()); }, [&c](int v) { c.SetColor(TColor(v)); });
    color.Stored = storedUnless(coParentColor);
    list.push_back(std::move(color));
    // Texts go under the names that hold any characters; every stored text is Unicode here.
    list.push_back(StringProperty(
        "WideHint", [&c] { return c.Hint(); }, [&c](const std::string& v) { c.SetHint(v); }));
    integer("ImageIndex", &C::ImageIndex, &C::SetImageIndex);
    list.push_back(EnumerationProperty(
        "Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"},
        [&c] { return c.Layout(); }, [&c](TVTHeaderColumnLayout v) { c.SetLayout(v); }));
    integer("Margin", &C::Margin, &C::SetMargin);
    // Loaded before MinWidth: a minimum above the new maximum steps aside, at most down to that
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
    // Loaded after Color and BiDiMode, whose setters drop coParentColor and coParentBidiMode.
    list.push_back(SetProperty(
        "Options",
        {"coAllowClick", "coDraggable", "coEnabled", "coParentBidiMode", "coParentColor",
         "coResizable", "coShowDropMark", "coVisible", "coAutoSpring"},
        [&c] { return c.Options().ToBits(); },
        [&c](std::uint32_t v) { c.SetOptions(TVTColumnOptions::FromBits(v)); }));
    integer("Position", &C::Position, &C::SetPosition);
    integer("Spacing", &C::Spacing, &C::SetSpacing);
    list.push_back(EnumerationProperty(
        "Style", {"vsText", "vsOwnerDraw"}, [&c] { return c.Style(); },
        [&c](TVirtualTreeColumnStyle v) { c.SetStyle(v); }));
    integer("Tag", &C::Tag, &C::SetTag);
    list.push_back(StringProperty(
        "WideText", [&c] { return c.Text(); }, [&c](const std::string& v) { c.SetText(v); }));
    integer("Width", &C::Width, &C::SetWidth);
}

}  // namespace rv
