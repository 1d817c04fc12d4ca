// The string tree's painting: a cell's text, shortened with an ellipsis when it does not fit,
// wrapped for multi-line nodes, the static text after it, cells spanning empty neighbours, and
// the height a multi-line text needs.

#include "tree/shorten_string.h"
#include "tree/string_tree.h"

namespace rv {

namespace {

unsigned AlignmentFlag(TAlignment alignment) {
    return alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : DT_LEFT;
}

}  // namespace

bool TCustomVirtualStringTree::ColumnIsEmpty(PVirtualNode node, TColumnIndex column) {
    if (!GetText(node, column).empty()) return false;
    return TBaseVirtualTree::ColumnIsEmpty(node, column);
}

void TCustomVirtualStringTree::AdjustPaintCellRect(TVTPaintInfo& paintInfo,
                                                   TColumnIndex& nextNonEmpty) {
    TBaseVirtualTree::AdjustPaintCellRect(paintInfo, nextNonEmpty);
    if (!TreeOptions().AutoOptions().Contains(toAutoSpanColumns) || !Header().UseColumns() ||
        paintInfo.BidiMode != bdLeftToRight)
        return;
    const TVirtualTreeColumns& columns = Header().Columns();
    while (nextNonEmpty != InvalidColumn && columns[nextNonEmpty].BiDiMode() == bdLeftToRight &&
           ColumnIsEmpty(paintInfo.Node, nextNonEmpty)) {
        const TVirtualTreeColumn& spanned = columns[nextNonEmpty];
        paintInfo.CellRect.Right = SaturatedSum(spanned.Left(), spanned.Width());
        nextNonEmpty = columns.GetNextVisibleColumn(nextNonEmpty);
    }
}

void TCustomVirtualStringTree::SelectTextFont(const TVTPaintInfo& paintInfo, bool highlight) {
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    canvas.Font = Font();
    if (TreeOptions().PaintOptions().Contains(toHotTrack) && node == hotNode_) {
        canvas.Font.Style |= fsUnderline;
        canvas.Font.Color = Colors().Get(TVTColors::HotColor);
    }
    if (!highlight || !(paintInfo.PaintOptions & poDrawSelection)) return;
    if (paintInfo.Column != FocusedColumn() &&
        !TreeOptions().SelectionOptions().Contains(toFullRowSelect))
        return;
    const bool selected = node->Has(nsSelected);
    if (node == dropTargetNode_ && (dropMode_ == dmOnNode || selected))
        canvas.Font.Color = clHighlightText;
    else if (selected && SelectionLooksFocused())
        canvas.Font.Color = clHighlightText;
}

void TCustomVirtualStringTree::PaintNode(TVTPaintInfo& paintInfo) {
    TCanvas& canvas = *paintInfo.Canvas;
    const TFont saved = canvas.Font;
    const std::string text = GetText(paintInfo.Node, paintInfo.Column);
    if (!text.empty()) PaintNormalText(paintInfo, text);
    if (Alignment() != taCenter && !paintInfo.Node->Has(nsMultiline) &&
        TreeOptions().StringOptions().Contains(toShowStaticText)) {
        std::string staticText;
        DoGetText(paintInfo.Node, paintInfo.Column, ttStatic, staticText);
        if (!staticText.empty()) PaintStaticText(paintInfo, staticText);
    }
    canvas.Font = saved;
}

void TCustomVirtualStringTree::PaintNormalText(TVTPaintInfo& paintInfo, std::string text) {
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    const bool rightToLeft = paintInfo.BidiMode != bdLeftToRight;
    const bool disabled = node->Has(nsDisabled) || !Enabled();
    SelectTextFont(paintInfo, true);
    canvas.Brush.Style = bsClear;  // over the cell's background as it is
    TRect r = paintInfo.ContentRect;
    r.Left += TextMargin();
    r.Right -= TextMargin();
    unsigned flags = DT_NOPREFIX | (rightToLeft ? DT_RTLREADING : 0u);
    if (node->Has(nsMultiline)) {
        DoPaintText(node, canvas, paintInfo.Column, ttNormal);
        if (disabled) canvas.Font.Color = Colors().Get(TVTColors::DisabledColor);
        flags |= AlignmentFlag(paintInfo.Alignment) | DT_WORDBREAK | DT_END_ELLIPSIS;
        canvas.DrawText(text, r, flags);
        return;
    }
    const TFont before = canvas.Font;
    int ellipsisWidth = EllipsisWidth();
    DoPaintText(node, canvas, paintInfo.Column, ttNormal);
    if (canvas.Font != before) {
        // The handler chose another font: the ellipsis and the text are measured in it.
        ellipsisWidth = 0;
        paintInfo.NodeWidth = 2 * TextMargin() + canvas.TextWidth(text);
    }
    if (disabled) canvas.Font.Color = Colors().Get(TVTColors::DisabledColor);
    flags |= DT_SINGLELINE | DT_VCENTER;
    if (paintInfo.Column > NoColumn && paintInfo.NodeWidth - 2 * TextMargin() > r.Width()) {
        text = DoShortenString(canvas, node, paintInfo.Column, text, r.Width(), rightToLeft,
                               ellipsisWidth);
        if (paintInfo.Alignment == taRightJustify) flags |= DT_RIGHT;
    } else {
        flags |= AlignmentFlag(paintInfo.Alignment);
    }
    canvas.DrawText(text, r, flags);
}

void TCustomVirtualStringTree::PaintStaticText(const TVTPaintInfo& paintInfo,
                                               const std::string& text) {
    TCanvas& canvas = *paintInfo.Canvas;
    const PVirtualNode node = paintInfo.Node;
    SelectTextFont(paintInfo, TreeOptions().SelectionOptions().Contains(toFullRowSelect));
    canvas.Brush.Style = bsClear;
    DoPaintText(node, canvas, paintInfo.Column, ttStatic);
    if (node->Has(nsDisabled) || !Enabled())
        canvas.Font.Color = Colors().Get(TVTColors::DisabledColor);
    TRect r = paintInfo.ContentRect;
    if (paintInfo.Alignment == taRightJustify)
        r.Right -= paintInfo.NodeWidth + TextMargin();
    else
        r.Left += paintInfo.NodeWidth + TextMargin();
    canvas.DrawText(text, r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

std::string TCustomVirtualStringTree::DoShortenString(TCanvas& canvas, PVirtualNode node,
                                                      TColumnIndex column, const std::string& text,
                                                      int width, bool rightToLeft,
                                                      int ellipsisWidth) {
    std::string result;
    bool done = false;
    if (OnShortenString)
        OnShortenString(this, canvas, node, column, text, width, rightToLeft, result, done);
    if (done) return result;
    return ShortenString(canvas, text, width, rightToLeft, ellipsisWidth);
}

int TCustomVirtualStringTree::ComputeNodeHeight(TCanvas& canvas, PVirtualNode node,
                                                TColumnIndex column) {
    if (!node->Has(nsMultiline)) return node->NodeHeight;
    const std::string text = GetText(node, column);
    TRect r = GetDisplayRect(node, column, false, true);
    r.Left += TextMargin();
    r.Right -= TextMargin();
    const bool rightToLeft = CellBiDiMode(column) != bdLeftToRight;
    canvas.Font = Font();
    DoPaintText(node, canvas, column, ttNormal);
    return canvas.DrawText(
        text, r,
        DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | (rightToLeft ? DT_RTLREADING | DT_RIGHT : 0u));
}

}  // namespace rv
