// Hit testing: which node, column and part of a row lies under a point. The parts are found in
// the order they are painted (indentation and button, check box, state image, normal image,
// text), so that a hit names what the user sees there.

#include <algorithm>

#include "tree/base_tree.h"

namespace rv {

THitInfo TBaseVirtualTree::GetHitTestInfoAt(int x, int y, bool relative) {
    THitInfo hit;
    const int width = relative ? ClientWidth() : std::max(ClientWidth(), rangeX_);
    const int height = relative ? ClientHeight() : std::max(ClientHeight(), RangeY());
    if (x < 0)
        hit.HitPositions |= hiToLeft;
    else if (x >= width)
        hit.HitPositions |= hiToRight;
    if (y < 0)
        hit.HitPositions |= hiAbove;
    else if (y >= height)
        hit.HitPositions |= hiBelow;
    if (hit.HitPositions != 0) return hit;

    if (relative) {
        x -= offsetX_;
        y -= offsetY_;
    }
    int top = 0;
    hit.HitNode = GetNodeAt(x, y, false, top);
    if (!hit.HitNode) {
        hit.HitPositions = hiNowhere;
        return hit;
    }
    InitIfNeeded(hit.HitNode);

    int right = relative ? ClientWidth() - offsetX_ : width;
    TBiDiMode biDi = biDiMode_;
    TAlignment alignment = alignment_;
    const TVirtualTreeColumns& columns = header_.Columns();
    if (header_.UseColumns()) {
        hit.HitColumn = columns.ColumnFromPosition(TPoint{x, 0}, false);
        if (hit.HitColumn <= NoColumn) {
            hit.HitColumn = InvalidColumn;
            hit.HitPositions = hiNowhere;
            return hit;
        }
        if (TreeOptions().AutoOptions().Contains(toAutoSpanColumns)) {
            const TColumnIndex first = columns.GetFirstVisibleColumn();
            while (hit.HitColumn != first && ColumnIsEmpty(hit.HitNode, hit.HitColumn)) {
                const TColumnIndex previous = columns.GetPreviousVisibleColumn(hit.HitColumn);
                if (previous <= NoColumn) break;
                hit.HitColumn = previous;
            }
        }
        int left;
        columns.GetColumnBounds(hit.HitColumn, left, right);
        x -= left;
        right -= left;
        biDi = columns[hit.HitColumn].BiDiMode();
        alignment = columns[hit.HitColumn].Alignment();
    }
    hit.HitPositions = hiOnItem;
    hit.HitPositions |=
        biDi == bdLeftToRight
            ? DetermineHitPositionLTR(hit.HitNode, x, right, hit.HitColumn, alignment)
            : DetermineHitPositionRTL(hit.HitNode, x, right, hit.HitColumn, alignment);
    return hit;
}

namespace {

// Where x lies against a text of `nodeWidth` pixels placed by the alignment between textLeft and
// textRight (a text wider than that place fills it); the bits for before and after the text are
// physical (left, right).
THitPositions LabelPart(int textLeft, int textRight, int nodeWidth, int x, TAlignment alignment) {
    if (nodeWidth > textRight - textLeft) return hiOnItemLabel;
    int start = textLeft;
    if (alignment == taRightJustify)
        start = textRight - nodeWidth;
    else if (alignment == taCenter)
        start = (textLeft + textRight - nodeWidth) / 2;
    if (x < start) return hiOnItemLeft;
    if (x >= start + nodeWidth) return hiOnItemRight;
    return hiOnItemLabel;
}

}  // namespace

// The parts in front of the text, counted from the edge where the row starts: the indentation
// with its button, the check box, the state and normal images. True when `fromEdge` falls on one
// of them (or, in report mode, on a column that only the main column's parts answer), with `hit`
// set; otherwise `textStart` is where the text's room begins.
bool TBaseVirtualTree::HitInFrontOfText(PVirtualNode node, int fromEdge, TColumnIndex column,
                                        THitPositions& hit, int& textStart) {
    const bool main = column == header_.MainColumn();
    const bool showRoot = TreeOptions().PaintOptions().Contains(toShowRoot);
    const int indent = main ? int(GetNodeLevel(node) + (showRoot ? 1 : 0)) * int(indent_) : 0;
    hit = 0;
    if (fromEdge < indent) {
        const bool onButton = TreeOptions().PaintOptions().Contains(toShowButtons) &&
                              node->Has(nsHasChildren) && fromEdge >= indent - int(indent_);
        hit = onButton ? hiOnItemButton : hiOnItemIndent;
        return true;
    }
    if (!main && TreeOptions().MiscOptions().Contains(toReportMode)) return true;
    int offset = indent + margin_;
    const auto passes = [&](int width, THitPositions part) {
        offset += width + 2;
        if (fromEdge >= offset) return false;
        hit = part;
        return true;
    };
    if (main && TreeOptions().MiscOptions().Contains(toCheckSupport) && node->CheckType != ctNone &&
        passes(CheckImageWidth(), hiOnItemCheckbox))
        return true;
    bool ghosted = false;
    if (stateImages_ && DoGetImageIndex(node, ikState, column, ghosted) > -1 &&
        passes(stateImages_->Width(), hiOnStateIcon))
        return true;
    const TVTImageKind kind = node->Has(nsSelected) ? ikSelected : ikNormal;
    if (images_ && DoGetImageIndex(node, kind, column, ghosted) > -1 &&
        passes(images_->Width(), hiOnNormalIcon))
        return true;
    textStart = offset;
    return false;
}

THitPositions TBaseVirtualTree::DetermineHitPositionLTR(PVirtualNode node, int x, int right,
                                                        TColumnIndex column, TAlignment alignment) {
    THitPositions hit = 0;
    int textStart = 0;
    if (HitInFrontOfText(node, x, column, hit, textStart)) return hit;
    return LabelPart(textStart, right, DoGetNodeWidth(node, column), x, alignment);
}

// The mirror image: the indentation, the check box and the images count from the right edge,
// the text takes what is left on the left and sits there by the alignment as it is painted.
THitPositions TBaseVirtualTree::DetermineHitPositionRTL(PVirtualNode node, int x, int right,
                                                        TColumnIndex column, TAlignment alignment) {
    THitPositions hit = 0;
    int textStart = 0;
    if (HitInFrontOfText(node, right - 1 - x, column, hit, textStart)) return hit;
    return LabelPart(0, right - textStart, DoGetNodeWidth(node, column), x, alignment);
}

}  // namespace rv
