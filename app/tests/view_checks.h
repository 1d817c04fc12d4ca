#pragma once
// What a person looks for in a picture of the library views and of the lists of the dialogs: the
// text of every row on the screen is drawn in its row, in the colour the row shows it in.

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/tests/picture_checks.h"
#include "platform/framework/list_view.h"
#include "tree/string_tree.h"

namespace rv::test {

// Where the rows of a view are in a picture of the top-level window `window`: its client area,
// below the header, in logical pixels.
inline TRect RowsAreaIn(TBaseVirtualTree* view, HWND window) {
    const TRect place = PlaceIn(view, window);
    return Bounds(place.Left, place.Top, view->ClientWidth(), view->ClientHeight());
}

// Every cell text of the view's rows that lies wholly on the screen is drawn where the view
// places it, across about its width; a selected row of a focused view draws in the selection's
// text colour. Returns the number of texts checked.
inline int ExpectRowsDrawn(const TBitmap& shot, TVirtualStringTree* view, HWND window,
                           const std::string& what) {
    const TRect client = RowsAreaIn(view, window);
    const int columns = std::max(1, view->Header().Columns().Count());
    int checked = 0;
    for (PVirtualNode n = view->GetFirstVisible(); n; n = view->GetNextVisible(n)) {
        const TColor ink =
            view->Selected(n) && view->Focused() ? clHighlightText : view->Font().Color;
        for (int column = 0; column < columns; ++column) {
            const std::string text = view->GetText(n, column);
            if (text.empty()) continue;
            TRect area = OffsetRect(view->GetDisplayRect(n, column, true), client.Left, client.Top);
            if (IntersectRect(area, client) != area) continue;  // scrolled away
            // The focus rectangle framing the focused text is no part of it.
            if (n == view->FocusedNode() && view->Focused()) area = InflateRect(area, -1, -1);
            const int width = std::min(area.Width(), TextWidthIn(view->Font(), text));
            ExpectText(shot, area, ink, text.size(), width, what + ": " + text);
            ++checked;
        }
    }
    return checked;
}

// A band of pixel rows of a list holding ink, in logical pixels, with the ink it holds.
struct TInkBand {
    int top = 0, bottom = 0;
    TColor ink = clBlack;
};

// The bands of a list drawn by the toolkit, top to bottom. A pixel row's ink is `text` on the
// list's own background, or `selectedText` on a row painted in another colour (the selection);
// runs of pixel rows holding their ink on one background make a band, when they are as high as
// a text.
inline std::vector<TInkBand> InkBands(const TBitmap& shot, const TRect& area, TColor background,
                                      TColor text, TColor selectedText) {
    const double ratio = shot.PixelRatio();
    std::vector<TInkBand> bands;
    bool inBand = false;
    TColor bandBackground = clNone;
    for (int y = int(area.Top * ratio); y < int(area.Bottom * ratio); ++y) {
        std::map<TColor, int> counts;
        for (int x = int(area.Left * ratio); x < int(area.Right * ratio); ++x)
            ++counts[shot.Pixel(x, y)];
        TColor common = clNone;
        int most = 0;
        for (const auto& [colour, count] : counts)
            if (count > most) common = colour, most = count;
        const TColor ink = ColourDistance(common, ColorToRGB(background)) < 30
                               ? ColorToRGB(text)
                               : ColorToRGB(selectedText);
        bool inked = false;
        for (const auto& [colour, count] : counts)
            inked = inked || ColourDistance(colour, ink) <= 200;
        // (The selected row may touch the header: a change of background starts a band.)
        if (inked && (!inBand || ColourDistance(common, bandBackground) >= 30)) {
            bands.push_back({int(y / ratio), 0, ink});
            bandBackground = common;
        }
        if (inked) bands.back().bottom = int((y + 1 + ratio - 1) / ratio);
        inBand = inked;
    }
    // Lines (edges, frames) are no text.
    std::erase_if(bands, [](const TInkBand& band) { return band.bottom - band.top < 4; });
    return bands;
}

// Each row's texts of a list view are drawn in the row's band, column by column: the rows are
// the last bands of ink in the list (its header may draw one above them).
inline void ExpectListRowsDrawn(const TBitmap& shot, TListView* list, HWND window,
                                const std::string& what) {
    const TRect area = InflateRect(PlaceIn(list, window), -2, -2);  // inside the frame
    const std::vector<TInkBand> bands =
        InkBands(shot, area, list->Color(), list->Font().Color, clHighlightText);
    ASSERT_GE(int(bands.size()), list->ItemCount()) << what << ": a band for each row";
    const std::size_t first = bands.size() - list->ItemCount();
    for (int row = 0; row < list->ItemCount(); ++row) {
        const TInkBand& band = bands[first + row];
        std::vector<std::string> texts = {list->Items(row)->Caption()};
        for (const std::string& sub : list->Items(row)->SubItems()) texts.push_back(sub);
        int left = area.Left;
        for (int column = 0; column < list->ColumnCount() && column < int(texts.size()); ++column) {
            const int width = list->ColumnWidth(column);
            const std::string& text = texts[column];
            // (Inside the column: the selection may end a pixel short of its edge.)
            const TRect cell{left + 2, band.top, left + width - 2, band.bottom};
            left += width;
            if (text.empty()) continue;
            ExpectText(shot, cell, band.ink, text.size(),
                       std::min(cell.Width(), TextWidthIn(list->Font(), text)), what + ": " + text);
        }
    }
}

}  // namespace rv::test
