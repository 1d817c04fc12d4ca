#include "tree/tree_options.h"

#include "tree/base_tree.h"

namespace rv {

void TCustomVirtualTreeOptions::Changed(TVTOptionSetKind kind, std::uint32_t before) {
    if (owner_) owner_->TreeOptionsChanged(kind, before);
}

void TCustomVirtualTreeOptions::SetPaintOptions(TVTPaintOptions value) {
    Store(paint_, value, oskPaint);
}

void TCustomVirtualTreeOptions::SetAnimationOptions(TVTAnimationOptions value) {
    Store(animation_, value, oskAnimation);
}

void TCustomVirtualTreeOptions::SetAutoOptions(TVTAutoOptions value) {
    Store(auto_, value, oskAuto);
}

void TCustomVirtualTreeOptions::SetSelectionOptions(TVTSelectionOptions value) {
    Store(selection_, value, oskSelection);
}

void TCustomVirtualTreeOptions::SetMiscOptions(TVTMiscOptions value) {
    Store(misc_, value, oskMisc);
}

void TCustomVirtualTreeOptions::Assign(const TCustomVirtualTreeOptions& source) {
    SetPaintOptions(source.PaintOptions());
    SetAnimationOptions(source.AnimationOptions());
    SetAutoOptions(source.AutoOptions());
    SetSelectionOptions(source.SelectionOptions());
    SetMiscOptions(source.MiscOptions());
}

void TStringTreeOptions::SetStringOptions(TVTStringOptions value) {
    Store(string_, value, oskString);
}

void TStringTreeOptions::Assign(const TCustomVirtualTreeOptions& source) {
    TCustomVirtualTreeOptions::Assign(source);
    if (auto* s = dynamic_cast<const TStringTreeOptions*>(&source))
        SetStringOptions(s->StringOptions());
}

void TScrollBarOptions::Changed() {
    if (owner_) owner_->ScrollBarOptionsChanged();
}

void TScrollBarOptions::SetAlwaysVisible(bool value) {
    if (value == alwaysVisible_) return;
    alwaysVisible_ = value;
    Changed();
}

void TScrollBarOptions::SetScrollBars(TScrollStyle value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    Changed();
}

void TScrollBarOptions::SetScrollBarStyle(TScrollBarStyle value) {
    if (value == scrollBarStyle_) return;
    scrollBarStyle_ = value;
    Changed();
}

void TScrollBarOptions::Assign(const TScrollBarOptions& source) {
    SetAlwaysVisible(source.alwaysVisible_);
    SetHorizontalIncrement(source.horizontalIncrement_);
    SetScrollBars(source.scrollBars_);
    SetScrollBarStyle(source.scrollBarStyle_);
    SetVerticalIncrement(source.verticalIncrement_);
}

void TVTColors::Set(Index index, TColor value) {
    if (colors_[index] == value) return;
    colors_[index] = value;
    if (owner_) owner_->ColorChanged(index);
}

void TVTColors::Assign(const TVTColors& source) {
    colors_ = source.colors_;
    if (owner_) owner_->ColorsAssigned();
}

}  // namespace rv
