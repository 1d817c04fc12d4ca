#include "tree/string_tree.h"

#include <memory>

namespace rv {

TCustomVirtualStringTree::TCustomVirtualStringTree(TComponent* owner)
    : TBaseVirtualTree(owner), textWidthOffset_(AllocateInternalDataArea(4)) {
    SetOptionsObject(std::make_unique<TStringTreeOptions>(this));
}

void TCustomVirtualStringTree::SetDefaultText(const std::string& value) {
    if (value == defaultText_) return;
    defaultText_ = value;
    if (!Loading()) Invalidate();
}

std::string TCustomVirtualStringTree::GetText(PVirtualNode node, TColumnIndex column) {
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (node != RootNode() && !node->Has(nsInitialized)) InitNode(node);
    std::string text = defaultText_;
    DoGetText(node, column, ttNormal, text);
    return text;
}

void TCustomVirtualStringTree::DoGetText(PVirtualNode node, TColumnIndex column,
                                         TVSTTextType textType, std::string& text) {
    if (OnGetText) OnGetText(this, node, column, textType, text);
}

int TCustomVirtualStringTree::DoIncrementalSearch(PVirtualNode node, const std::string& text) {
    int result = 0;
    if (OnIncrementalSearch) {
        OnIncrementalSearch(this, node, text, result);
        return result;
    }
    return GetText(node, FocusedColumn()).starts_with(text) ? 0 : 1;
}

}  // namespace rv
