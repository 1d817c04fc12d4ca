#pragma once
// The tree of the tests that look at what a setting or an event changes, with what they do to
// it and how they look at it.

#include <sstream>
#include <string>

#include "tree/tests/input_fixture.h"
#include "tree/tests/paint_fixture.h"

namespace rv::test {

// Three top-level rows (ids 0 … 2) whose texts are 40 pixels wide from x 22, on a white tree of
// 200 × 100 beside a control that takes the focus away.
struct EffectFixture : InputFixture {
    EffectFixture() : InputFixture(3) {
        other = form.Add<InputTree>(Bounds(210, 0, 80, 80));
        tree->SetColor(clWhite);
        tree->SetFocus();
    }
    // The client area as painted now.
    TBitmap Paint(TVTInternalPaintOptions options = kWindowPaintOptions) {
        const int w = tree->ClientWidth(), h = tree->ClientHeight();
        TBitmap b(w, h, pf24bit);
        tree->PaintTree(b.Canvas(), OffsetRect({0, 0, w, h}, -tree->OffsetX(), -tree->OffsetY()),
                        {0, 0}, options);
        return b;
    }
    // The window with its frame and header, as the screen shows it.
    TBitmap Window() {
        TBitmap b(tree->Width(), tree->Height(), pf24bit);
        PaintWindowTo(tree->Handle(), b.Canvas());
        return b;
    }
    void Paint(TVTPaintOption option) {
        tree->TreeOptions().SetPaintOptions(tree->TreeOptions().PaintOptions() +
                                            TVTPaintOptions{option});
    }
    void Misc(TVTMiscOption option) { tree->SetMisc(option, true); }
    void Header(TVTHeaderOption option) {
        tree->Header().SetOptions(tree->Header().Options() + TVTHeaderOptions{option});
    }
    // One column of `width` under a visible header.
    void Columns(int width = 120, int count = 1) {
        for (int i = 0; i < count; ++i) tree->Header().Columns().Add().SetWidth(width);
        Header(hoVisible);
    }
    // Selects a row and focuses it (or `focus`).
    void Select(int row, int focus = -1) {
        tree->SetFocusedNode(nodes[std::size_t(focus < 0 ? row : focus)]);
        tree->SetSelected(nodes[std::size_t(row)], true);
    }
    std::string Selected() {
        std::ostringstream s;
        for (PVirtualNode n : tree->GetSortedSelection(false)) s << tree->Id(n) << " ";
        return s.str();
    }

    InputTree* other;
};

}  // namespace rv::test
