#include "tree/tree_options.h"

#include "tree/base_tree.h"

namespace rv {

void TCustomVirtualTreeOptions::Changed(TVTOptionSetKind kind, std::uint32_t before) {
    if (owner_) owner_->TreeOptionsChanged(kind, before);
}

void TCustomVirtualTreeOptions::SetPaintOptions(TVTPaintOptions value) {
    if (value == paint_) return;
    const auto before = paint_.ToBits();
    paint_ = value;
    Changed(oskPaint, before);
}

void TCustomVirtualTreeOptions::SetAnimationOptions(TVTAnimationOptions value) {
    if (value == animation_) return;
    const auto before = animation_.ToBits();
    animation_ = value;
    Changed(oskAnimation, before);
}

void TCustomVirtualTreeOptions::SetAutoOptions(TVTAutoOptions value) {
    if (value == auto_) return;
    const auto before = auto_.ToBits();
    auto_ = value;
    Changed(oskAuto, before);
}

void TCustomVirtualTreeOptions::SetSelectionOptions(TVTSelectionOptions value) {
    if (value == selection_) return;
    const auto before = selection_.ToBits();
    selection_ = value;
    Changed(oskSelection, before);
}

void TCustomVirtualTreeOptions::SetMiscOptions(TVTMiscOptions value) {
    if (value == misc_) return;
    const auto before = misc_.ToBits();
    misc_ = value;
    Changed(oskMisc, before);
}

void TCustomVirtualTreeOptions::Assign(const TCustomVirtualTreeOptions& source) {
    SetPaintOptions(source.PaintOptions());
    SetAnimationOptions(source.AnimationOptions());
    SetAutoOptions(source.AutoOptions());
    SetSelectionOptions(source.SelectionOptions());
    SetMiscOptions(source.MiscOptions());
}

void TStringTreeOptions::SetStringOptions(TVTStringOptions value) {
    if (value == string_) return;
    const auto before = string_.ToBits();
    string_ = value;
    Changed(oskString, before);
}

void TStringTreeOptions::Assign(const TCustomVirtualTreeOptions& source) {
    TCustomVirtualTreeOptions::Assign(source);
    if (auto* s = dynamic_cast<const TStringTreeOptions*>(&source))
        SetStringOptions(s->StringOptions());
}

}  // namespace rv
