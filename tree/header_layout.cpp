// The layout of a column's header cell: image, caption and sort arrow.

#include <algorithm>

#include "platform/graphics/canvas.h"
#include "tree/shorten_string.h"
#include "tree/vt_columns.h"

namespace rv {

THeaderCellLayout TVirtualTreeColumn::ComputeHeaderLayout(TCanvas& canvas, const TRect& client,
                                                          TSize glyph, TSize sortGlyph) const {
    THeaderCellLayout layout;
    const bool rightToLeft = biDiMode_ == bdRightToLeft;
    TRect box{client.Left + margin_, client.Top, client.Right - margin_, client.Bottom};
    const int middle = (client.Top + client.Bottom) / 2;
    if (sortGlyph.cx > 0) {
        const int top = middle - sortGlyph.cy / 2;
        if (rightToLeft) {
            layout.SortGlyph = Bounds(box.Left, top, sortGlyph.cx, sortGlyph.cy);
            box.Left += sortGlyph.cx + spacing_;
        } else {
            layout.SortGlyph = Bounds(box.Right - sortGlyph.cx, top, sortGlyph.cx, sortGlyph.cy);
            box.Right -= sortGlyph.cx + spacing_;
        }
    }
    const bool hasGlyph = glyph.cx > 0 && glyph.cy > 0;
    const bool stacked = layout_ == blGlyphTop || layout_ == blGlyphBottom;
    const TSize textSize = text_.empty() ? TSize{0, 0} : canvas.TextExtent(text_);
    const int space = std::max(0, box.Width());
    // The caption gets what the image leaves; a caption that does not fit ends in "...".
    int textWidth = textSize.cx;
    const int besideGlyph = hasGlyph && !stacked ? glyph.cx + (text_.empty() ? 0 : spacing_) : 0;
    layout.Caption = text_;
    if (textWidth > space - besideGlyph) {
        textWidth = std::max(0, space - besideGlyph);
        layout.Caption = ShortenString(canvas, text_, textWidth, rightToLeft);
        textWidth = layout.Caption.empty() ? 0 : canvas.TextWidth(layout.Caption);
    }
    const int groupWidth =
        stacked ? std::max(hasGlyph ? glyph.cx : 0, textWidth) : besideGlyph + textWidth;
    TAlignment alignment = alignment_;
    if (rightToLeft && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    int x = box.Left;
    if (alignment == taRightJustify) x = box.Right - groupWidth;
    if (alignment == taCenter) x = box.Left + (space - groupWidth) / 2;

    const int textHeight = textSize.cy;
    if (!stacked) {
        const bool glyphFirst = (layout_ == blGlyphLeft) != rightToLeft;
        int textLeft = x;
        if (hasGlyph) {
            const int glyphLeft = glyphFirst ? x : x + groupWidth - glyph.cx;
            layout.Glyph = Bounds(glyphLeft, middle - glyph.cy / 2, glyph.cx, glyph.cy);
            if (glyphFirst) textLeft = x + besideGlyph;
        }
        if (!layout.Caption.empty())
            layout.Text = Bounds(textLeft, middle - textHeight / 2, textWidth, textHeight);
        return layout;
    }
    const int total = (hasGlyph ? glyph.cy : 0) +
                      (hasGlyph && !layout.Caption.empty() ? spacing_ : 0) +
                      (layout.Caption.empty() ? 0 : textHeight);
    int y = middle - total / 2;
    const auto centred = [&](int width) { return x + (groupWidth - width) / 2; };
    const auto placeGlyph = [&] {
        layout.Glyph = Bounds(centred(glyph.cx), y, glyph.cx, glyph.cy);
        y += glyph.cy + (layout.Caption.empty() ? 0 : spacing_);
    };
    const auto placeText = [&] {
        layout.Text = Bounds(centred(textWidth), y, textWidth, textHeight);
        y += textHeight + (hasGlyph ? spacing_ : 0);
    };
    if (hasGlyph && layout_ == blGlyphTop) placeGlyph();
    if (!layout.Caption.empty()) placeText();
    if (hasGlyph && layout_ == blGlyphBottom) placeGlyph();
    return layout;
}

}  // namespace rv
