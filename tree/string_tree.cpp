// The string tree's texts: asking for them, setting them, their cached widths and the font's
// measures, hints, incremental search and the string options.

#include "tree/string_tree.h"

#include <cstring>
#include <memory>

#include "tree/string_edit_link.h"

namespace rv {

TCustomVirtualStringTree::TCustomVirtualStringTree(TComponent* owner)
    : TBaseVirtualTree(owner),
      textWidthOffset_(AllocateInternalDataArea(4)),
      widthsMeasuredFor_{NoColumn, TextMargin()} {
    SetOptionsObject(std::make_unique<TStringTreeOptions>(this));
}

TCustomVirtualStringTree::~TCustomVirtualStringTree() {
    FlushClipboard();
    MarkDestroying();
    if (TreeStates().ContainsAny({tsEditing, tsEditPending})) DoCancelEdit();
}

void TCustomVirtualStringTree::SetDefaultText(const std::string& value) {
    if (value == defaultText_) return;
    defaultText_ = value;
    // Every node whose OnGetText leaves the text as it is shows the new one.
    ResetCachedWidths();
    if (!Loading()) Invalidate();
}

std::string TCustomVirtualStringTree::GetText(PVirtualNode node, TColumnIndex column) {
    TreeAssert(node != nullptr, "Node must not be nil.");
    if (node != RootNode() && !node->Has(nsInitialized)) InitNode(node);
    std::string text = defaultText_;
    DoGetText(node, column, ttNormal, text);
    return text;
}

void TCustomVirtualStringTree::SetText(PVirtualNode node, TColumnIndex column,
                                       const std::string& text) {
    DoNewText(node, column, text);
    InvalidateNode(node);
}

void TCustomVirtualStringTree::DoGetText(PVirtualNode node, TColumnIndex column,
                                         TVSTTextType textType, std::string& text) {
    if (OnGetText) OnGetText(this, node, column, textType, text);
}

void TCustomVirtualStringTree::DoNewText(PVirtualNode node, TColumnIndex column,
                                         const std::string& text) {
    if (OnNewText) OnNewText(this, node, column, text);
}

void TCustomVirtualStringTree::DoPaintText(PVirtualNode node, TCanvas& canvas, TColumnIndex column,
                                           TVSTTextType textType) {
    if (OnPaintText) OnPaintText(this, canvas, node, column, textType);
}

std::string TCustomVirtualStringTree::DoGetNodeHint(PVirtualNode node, TColumnIndex column) {
    std::string hint = Hint;
    if (OnGetHint) OnGetHint(this, node, column, ttNormal, hint);
    return hint;
}

std::string TCustomVirtualStringTree::GetNodeHint(PVirtualNode node, TColumnIndex column) {
    return DoGetNodeHint(node, column);
}

std::string TCustomVirtualStringTree::GetNodeTooltip(PVirtualNode node, TColumnIndex column) {
    return GetText(node, column);
}

std::string TCustomVirtualStringTree::DoGetNodeTooltip(PVirtualNode node, TColumnIndex column) {
    return GetText(node, column);
}

void TCustomVirtualStringTree::PrepareTooltipCanvas(TCanvas& canvas, PVirtualNode node,
                                                    TColumnIndex column) {
    canvas.Font = Font();
    DoPaintText(node, canvas, column, ttNormal);
}

// ---- Editing -----------------------------------------------------------------------------------

std::shared_ptr<IVTEditLink> TCustomVirtualStringTree::DoCreateEditor(PVirtualNode node,
                                                                      TColumnIndex column) {
    std::shared_ptr<IVTEditLink> link = TBaseVirtualTree::DoCreateEditor(node, column);
    if (!link) link = std::make_shared<TStringEditLink>();
    return link;
}

void TCustomVirtualStringTree::CancelEditNode() {
    TBaseVirtualTree::CancelEditNode();
    ResetCachedWidths();
}

void TCustomVirtualStringTree::GetTextInfo(PVirtualNode node, TColumnIndex column, TFont& font,
                                           TRect& r, std::string& text) {
    TCanvas& canvas = MeasureCanvas();
    canvas.Font = font = Font();
    DoPaintText(node, canvas, column, ttNormal);
    int height = TextHeight();
    if (!(canvas.Font == font)) {
        font = canvas.Font;
        height = canvas.TextHeight("");
    }
    text = GetText(node, column);
    r = GetDisplayRect(node, column, !node->Has(nsMultiline), true);
    if (TreeOptions().PaintOptions().Contains(toShowHorzGridLines)) --r.Bottom;
    // Grown or shrunk evenly to one line of the font.
    const int change = (height - r.Height()) / 2;
    r.Top -= change;
    r.Bottom += change;
}

int TCustomVirtualStringTree::DoIncrementalSearch(PVirtualNode node, const std::string& text) {
    int result = 0;
    if (OnIncrementalSearch) {
        OnIncrementalSearch(this, node, text, result);
        return result;
    }
    return GetText(node, FocusedColumn()).starts_with(text) ? 0 : 1;
}

// ---- Widths and the font's measures ----------------------------------------------------------

std::uint32_t& TCustomVirtualStringTree::CachedWidth(PVirtualNode node) {
    return *reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(node) + textWidthOffset_);
}

int TCustomVirtualStringTree::CalculateTextWidth(TCanvas& canvas, PVirtualNode node,
                                                 TColumnIndex column, const std::string& text) {
    int width = 2 * TextMargin();
    if (!text.empty()) {
        canvas.Font = Font();
        DoPaintText(node, canvas, column, ttNormal);
        width += canvas.TextWidth(text);
    }
    return width;
}

int TCustomVirtualStringTree::DoGetNodeWidth(PVirtualNode node, TColumnIndex column) {
    if (!node || node == RootNode()) return 0;
    if (column > NoColumn && node->Has(nsMultiline) && Header().Columns().IsValidColumn(column))
        return Header().Columns()[column].Width();
    if (column != Header().MainColumn())
        return CalculateTextWidth(MeasureCanvas(), node, column, GetText(node, column));
    // Whichever way the main column or the text margin changed (the setters, the columns cleared or
    // the first one added, a header read from a stream), the widths are measured anew.
    const WidthsMeasuredFor now{column, TextMargin()};
    if (now != widthsMeasuredFor_) {
        ResetCachedWidths();
        widthsMeasuredFor_ = now;
    }
    std::uint32_t& cached = CachedWidth(node);
    if (cached == 0)
        cached =
            std::uint32_t(CalculateTextWidth(MeasureCanvas(), node, column, GetText(node, column)));
    return int(cached);
}

void TCustomVirtualStringTree::ResetCachedWidths() {
    for (PVirtualNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) CachedWidth(n) = 0;
}

void TCustomVirtualStringTree::MeasureFont() {
    TCanvas& canvas = MeasureCanvas();
    textHeight_ = canvas.TextHeight("");
    ellipsisWidth_ = canvas.TextWidth("...");
    fontMeasured_ = true;
}

int TCustomVirtualStringTree::TextHeight() {
    if (!fontMeasured_) MeasureFont();
    return textHeight_;
}

int TCustomVirtualStringTree::EllipsisWidth() {
    if (!fontMeasured_) MeasureFont();
    return ellipsisWidth_;
}

void TCustomVirtualStringTree::ForgetMeasures(PVirtualNode node) {
    if (!node || node == RootNode()) return;
    CachedWidth(node) = 0;
    node->Exclude(nsHeightMeasured);
}

TRect TCustomVirtualStringTree::InvalidateNode(PVirtualNode node) {
    ForgetMeasures(node);
    return TBaseVirtualTree::InvalidateNode(node);
}

// Re-initialising is how an application tells the tree that a node's data changed.
void TCustomVirtualStringTree::ReinitNode(PVirtualNode node, bool recursive) {
    ForgetMeasures(node);
    TBaseVirtualTree::ReinitNode(node, recursive);
}

void TCustomVirtualStringTree::WndProc(TMessage& message) {
    TBaseVirtualTree::WndProc(message);
    if (message.Msg == CM_FONTCHANGED) {
        MeasureFont();
        // Without columns the widest text on screen is the horizontal range: it follows the new
        // font at once, and the widths are measured again when the rows are painted.
        if (!Loading()) {
            ResetCachedWidths();
            UpdateScrollBars(true);
        }
        ResetCachedWidths();
    }
}

void TCustomVirtualStringTree::TreeOptionsChanged(TVTOptionSetKind kind, std::uint32_t before) {
    TBaseVirtualTree::TreeOptionsChanged(kind, before);
    if (kind == oskString && !Loading() &&
        TreeOptions().StringOptions().Contains(toShowStaticText) !=
            TVTStringOptions::FromBits(before).Contains(toShowStaticText))
        Invalidate();
}

}  // namespace rv
