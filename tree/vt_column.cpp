// One header column: its properties, each setter clamping what it gets and telling the
// collection, which keeps positions and sizes in step.

#include <algorithm>

#include "platform/text/format.h"
#include "platform/text/utf8.h"
#include "tree/base_tree.h"

namespace rv {

TVirtualTreeColumn::TVirtualTreeColumn(TVirtualTreeColumns& owner, int index)
    : owner_(owner), index_(index), position_(index) {
    // coParentBidiMode: the tree's reading order.
    biDiMode_ = Header().Tree().BiDiMode();
}

TVTHeader& TVirtualTreeColumn::Header() const {
    return owner_.Header();
}

bool TVirtualTreeColumn::Loading() const {
    return Header().Loading();
}

void TVirtualTreeColumn::Changed() {
    owner_.Update(this);
}

void TVirtualTreeColumn::SetIndex(int value) {
    owner_.MoveItem(index_, value);
}

void TVirtualTreeColumn::SetAlignment(TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    Changed();
}

void TVirtualTreeColumn::SetBiDiMode(TBiDiMode value) {
    if (value == biDiMode_) return;
    biDiMode_ = value;
    options_.Exclude(coParentBidiMode);
    Changed();
}

void TVirtualTreeColumn::SetColor(TColor value) {
    if (value == color_) return;
    color_ = value;
    options_.Exclude(coParentColor);
    Changed();
}

void TVirtualTreeColumn::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    Changed();
}

void TVirtualTreeColumn::SetLayout(TVTHeaderColumnLayout value) {
    if (value == layout_) return;
    layout_ = value;
    Changed();
}

void TVirtualTreeColumn::SetMargin(int value) {
    if (value < 0) value = kDefaultMargin;
    if (value == margin_) return;
    margin_ = value;
    Changed();
}

void TVirtualTreeColumn::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    Changed();
}

void TVirtualTreeColumn::SetStyle(TVirtualTreeColumnStyle value) {
    if (value == style_) return;
    style_ = value;
    Changed();
}

void TVirtualTreeColumn::SetText(const std::string& value) {
    if (value == text_) return;
    text_ = value;
    Changed();
}

void TVirtualTreeColumn::SetMaxWidth(int value) {
    value = std::max(value, minWidth_);
    if (value == maxWidth_) return;
    maxWidth_ = value;
    SetWidth(width_);
}

void TVirtualTreeColumn::SetMinWidth(int value) {
    value = std::clamp(value, 0, maxWidth_);
    if (value == minWidth_) return;
    minWidth_ = value;
    SetWidth(width_);
}

void TVirtualTreeColumn::SetWidth(int value) {
    value = std::clamp(value, minWidth_, maxWidth_);
    if (value == width_) return;
    TVTHeader& header = Header();
    const bool autoResize = header.Options().Contains(hoAutoResize);
    const bool headerSizing = header.States().Contains(hdResizing);
    // The auto-size column takes what the others leave; only the header sizes it (within its
    // new limits, when those changed).
    if (autoResize && !headerSizing && !Loading() && index_ == owner_.AutoSizeColumn()) {
        owner_.AdjustAutoSize(NoColumn);
        return;
    }
    lastWidth_ = width_;
    width_ = value;
    owner_.UpdatePositions();
    if (Loading()) return;
    TBaseVirtualTree& tree = header.Tree();
    if (!headerSizing) {
        if (autoResize) owner_.AdjustAutoSize(index_);
        tree.DoColumnResize(index_);
    }
    tree.UpdateScrollBars(true);
    header.Invalidate(NoColumn);
    tree.Invalidate();
}

void TVirtualTreeColumn::SetOptions(TVTColumnOptions value) {
    if (value == options_) return;
    const TVTColumnOptions before = options_;
    options_ = value;
    const auto newlySet = [&](TVTColumnOption o) {
        return value.Contains(o) && !before.Contains(o);
    };
    if (newlySet(coParentBidiMode)) biDiMode_ = Header().Tree().BiDiMode();
    if (newlySet(coParentColor)) color_ = Header().Tree().Color();
    if (newlySet(coAutoSpring)) springRest_ = 0;
    const bool visibility = value.Contains(coVisible) != before.Contains(coVisible);
    Changed();
    if (Loading() || owner_.UpdateCount() > 0) return;
    if (visibility) Header().Tree().UpdateScrollBars(true);
    if (visibility || value.Contains(coParentColor) != before.Contains(coParentColor))
        Header().Tree().Invalidate();
}

void TVirtualTreeColumn::SetPosition(int value) {
    if (Loading()) {
        position_ = value;
        owner_.needPositionsFix_ = true;
        return;
    }
    value = std::clamp(value, 0, std::max(0, owner_.Count() - 1));
    if (value == position_) return;
    if (owner_.UpdateCount() > 0) {
        // Applied with the other changes of the bracket at its end.
        position_ = value;
        owner_.needPositionsFix_ = true;
        return;
    }
    TBaseVirtualTree& tree = Header().Tree();
    if (tree.TreeStates().Contains(tsEditing)) tree.DoEndEdit();
    owner_.MovePosition(*this, value);
    Header().Invalidate(index_);
    tree.Invalidate();
    Changed();
}

std::string TVirtualTreeColumn::GetDisplayName() const {
    for (std::size_t i = 0; i < text_.size();) {
        const char32_t cp = DecodeUtf8(text_, i);
        if (cp > 0xFF) return Format("Column %d", index_);
    }
    return text_;
}

bool TVirtualTreeColumn::Equals(const TVirtualTreeColumn& o) const {
    return alignment_ == o.alignment_ && biDiMode_ == o.biDiMode_ && color_ == o.color_ &&
           hint_ == o.hint_ && imageIndex_ == o.imageIndex_ && layout_ == o.layout_ &&
           margin_ == o.margin_ && maxWidth_ == o.maxWidth_ && minWidth_ == o.minWidth_ &&
           options_ == o.options_ && position_ == o.position_ && spacing_ == o.spacing_ &&
           style_ == o.style_ && tag_ == o.tag_ && text_ == o.text_ && width_ == o.width_;
}

void TVirtualTreeColumn::Assign(const TVirtualTreeColumn& s) {
    // The options last, so that the parent colour and reading order do not overwrite the
    // source's values on the way.
    SetOptions(options_ - TVTColumnOptions{coParentBidiMode, coParentColor});
    SetAlignment(s.alignment_);
    SetBiDiMode(s.biDiMode_);
    SetColor(s.color_);
    SetHint(s.hint_);
    SetImageIndex(s.imageIndex_);
    SetLayout(s.layout_);
    SetMargin(s.margin_);
    SetMaxWidth(std::max(s.maxWidth_, minWidth_));
    SetMinWidth(s.minWidth_);
    SetMaxWidth(s.maxWidth_);
    SetPosition(s.position_);
    SetSpacing(s.spacing_);
    SetStyle(s.style_);
    SetTag(s.tag_);
    SetText(s.text_);
    SetWidth(s.width_);
    SetOptions(s.options_);
}

TRect TVirtualTreeColumn::GetRect() const {
    return {left_, 0, SaturatedSum(left_, width_), Header().Height()};
}

}  // namespace rv
