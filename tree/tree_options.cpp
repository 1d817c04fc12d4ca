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

}  // namespace rv
