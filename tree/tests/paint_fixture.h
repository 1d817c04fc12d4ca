#pragma once
// A string tree on a shown form, painted by itself into bitmaps, in the classic look unless a
// test switches visual styles on.

#include <functional>
#include <string>

#include "platform/framework/tests/form_fixture.h"
#include "platform/graphics/tests/pixels.h"
#include "platform/windows/theme_services.h"
#include "tree/tests/tree_fixture.h"

namespace rv::test {

class PaintedTree : public IdTree {
public:
    using IdTree::IdTree;
    using TBaseVirtualTree::DetermineLineImageAndSelectLevel;
    using TBaseVirtualTree::drawSelectionRect_;
    using TBaseVirtualTree::dropMode_;
    using TCustomVirtualStringTree::TextWidthOffset;
};

inline constexpr TColor kHighlight = RGB(0x0A, 0x24, 0x6A);
inline constexpr TColor kButtonFace = RGB(0xD4, 0xD0, 0xC8);
inline constexpr TColor kButtonShadow = RGB(0x80, 0x80, 0x80);

struct PaintFixture {
    explicit PaintFixture(bool themed = false) {
        SetVisualStylesEnabled(themed);
        tree = form.Add<PaintedTree>(Bounds(0, 0, 200, 100));
        other = form.Add<PaintedTree>(Bounds(0, 100, 50, 50));
        tree->SetColor(clWhite);
        tree->OnGetText = [this](TCustomVirtualStringTree*, PVirtualNode n, TColumnIndex column,
                                 TVSTTextType, std::string& text) {
            if (Text)
                text = Text(n, column);
            else
                text = "Node " + std::to_string(tree->Id(n));
        };
    }
    ~PaintFixture() { SetVisualStylesEnabled(true); }

    // The tree's rows from the top of the first, `width` × `height` pixels.
    TBitmap Paint(int width = 120, int height = 72,
                  TVTInternalPaintOptions options = kWindowPaintOptions, double ratio = 1) {
        TBitmap b(width, height, pf24bit, ratio);
        tree->PaintTree(b.Canvas(), {0, 0, width, height}, {0, 0}, options);
        return b;
    }
    void SetPaint(TVTPaintOption option, bool on) {
        auto options = tree->TreeOptions().PaintOptions();
        on ? options.Include(option) : options.Exclude(option);
        tree->TreeOptions().SetPaintOptions(options);
    }
    // Leaves under the root (or `parent`) with ids from `first`.
    void AddRows(int count, PVirtualNode parent = nullptr, int first = 0) {
        for (int i = 0; i < count; ++i) tree->Add(parent, first + i);
    }

    FormWith form;
    PaintedTree* tree;
    PaintedTree* other;  // takes the focus away
    std::function<std::string(PVirtualNode, TColumnIndex)> Text;
};

}  // namespace rv::test
