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

// A tree whose cells the application draws: the tree paints rows, lines, buttons, check boxes,
// images and the selection as always, and leaves each cell's content to OnDrawNode.
class TCustomVirtualDrawTree : public TBaseVirtualTree {
public:
    using TBaseVirtualTree::TBaseVirtualTree;
    std::string ClassName() const override { return "TCustomVirtualDrawTree"; }

    TVTDrawNodeEvent OnDrawNode;
    TVTGetNodeWidthEvent OnGetNodeWidth;

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
