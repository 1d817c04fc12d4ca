#pragma once

#include <functional>

#include "tree/base_tree.h"

namespace rv {

class TCustomVirtualDrawTree;

// The application draws a cell's content (everything after the images) itself: the canvas,
// the node, the column and the cell's rectangles are in the paint information.
using TVTDrawNodeEvent =
    std::function<void(TCustomVirtualDrawTree* sender, const TVTPaintInfo& paintInfo)>;
// The width of a node's content in a column, which hit tests, the selection rectangle, column
// sizing and scrolling go by; `canvas` is in the tree's font, `nodeWidth` starts at 0.
using TVTGetNodeWidthEvent =
    std::function<void(TCustomVirtualDrawTree* sender, TCanvas& canvas, PVirtualNode node,
                       TColumnIndex column, int& nodeWidth)>;

// The application draws a hint of the tree: `hintCanvas` is the hint's picture, filled with the
// hint colour and framed, in the hint's font; `r` is the hint without its shadow. The node and
// column are the hint's (no node for a header column's or the control's own hint).
using TVTDrawHintEvent =
    std::function<void(TCustomVirtualDrawTree* sender, TCanvas& hintCanvas, PVirtualNode node,
                       const TRect& r, TColumnIndex column)>;
// The size of a hint, without its shadow: `r` comes at the origin as large as the hint's text
// would make it; an empty rectangle shows no hint.
using TVTGetHintSizeEvent = std::function<void(TCustomVirtualDrawTree* sender, PVirtualNode node,
                                               TColumnIndex column, TRect& r)>;

// A tree whose cells the application draws: the tree paints rows, lines, buttons, check boxes,
// images and the selection as always, and leaves each cell's content to OnDrawNode. Its hints
// too are the application's to size and draw: the hint window shows no text of its own.
class TCustomVirtualDrawTree : public TBaseVirtualTree {
public:
    using TBaseVirtualTree::TBaseVirtualTree;
    std::string ClassName() const override { return "TCustomVirtualDrawTree"; }

    TVTDrawNodeEvent OnDrawNode;
    TVTGetNodeWidthEvent OnGetNodeWidth;
    TVTDrawHintEvent OnDrawHint;
    TVTGetHintSizeEvent OnGetHintSize;

    // Asked by the hint window while it sizes and paints a hint of this tree.
    virtual void DoDrawHint(TCanvas& canvas, PVirtualNode node, const TRect& r,
                            TColumnIndex column);
    virtual void DoGetHintSize(PVirtualNode node, TColumnIndex column, TRect& r);

protected:
    virtual void DoDrawNode(const TVTPaintInfo& paintInfo);
    int DoGetNodeWidth(PVirtualNode node, TColumnIndex column) override;
    void PaintNode(TVTPaintInfo& paintInfo) override;
};

// The draw tree with its properties published.
class TVirtualDrawTree : public TCustomVirtualDrawTree {
public:
    using TCustomVirtualDrawTree::TCustomVirtualDrawTree;
    std::string ClassName() const override { return "TVirtualDrawTree"; }
};

}  // namespace rv
