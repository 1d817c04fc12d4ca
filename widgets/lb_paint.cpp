#include "widgets/lb_paint.h"

#include "platform/text/utf8.h"

namespace rv {
namespace {

void UseBrush(TCanvas& c, TColor color) {
    c.Brush = TBrush{};
    c.Brush.Color = color;
}

void HollowBrush(TCanvas& c) {
    c.Brush.Style = bsClear;
}

void Line(TCanvas& c, TColor color, std::initializer_list<TPoint> points) {
    c.Pen = TPen{};
    c.Pen.Color = color;
    auto it = points.begin();
    c.MoveTo(it->X, it->Y);
    for (++it; it != points.end(); ++it) c.LineTo(it->X, it->Y);
}

// 32 bands from `from` to `to` between top and bottom, x from 2 to width - 2.
void Gradient(TCanvas& c, int width, int top, int bottom, TColor from, TColor to) {
    int h = bottom - top;
    if (h <= 0) return;
    for (int i = 0; i < 32; ++i) {
        int y = top + i * h / 31;
        int band = h / 31 + 1;
        UseBrush(c, BlendColors(from, to, i / 31.0));
        c.FillRect({2, y, width - 2, std::min(y + band, bottom)});
    }
}

std::string CutToWidth(TCanvas& c, std::string caption, int avail) {
    while (!caption.empty() && c.TextWidth(caption) > avail)
        caption = CutToChars(caption, Utf8Length(caption) - 1);
    return caption;
}

}  // namespace

TColor LbFaceColor(TColor color, TColor hotTrackColor, TColor colorWhenDown, bool enabled,
                   bool pressed, int fadeStep) {
    if (!enabled) pressed = false;
    TColor face = color;
    if (enabled && hotTrackColor != clNone)
        face = BlendColors(color, hotTrackColor, std::clamp(fadeStep, 0, 8) / 8.0);
    if (pressed && colorWhenDown != clNone) face = colorWhenDown;
    return face;
}

void PaintLbButton(TCanvas& c, int W, int H, TAlignment alignment, const std::string& caption,
                   TLbButtonLayout layout, const TFont& font, TColor shadow, TColor light,
                   TColor hotTrack, TColor whenDown, TColor color, TLbButtonStyle style,
                   bool hasPopup, bool wordWrap, bool flat, bool enabled, bool transparent,
                   bool hot, bool pressed, const TBitmap& glyph, int numGlyphs, int fadeStep) {
    if (!enabled) pressed = false;
    int offset = pressed && style != bsEncarta ? 1 : 0;
    TColor face = LbFaceColor(color, hotTrack, whenDown, enabled, pressed, fadeStep);

    // Background.
    if (style == bsShape) {
        UseBrush(c, kLbTransparent);
        c.FillRect({0, 0, W, H});
    } else if (!transparent) {
        if (style == bsNormal || style == bsEncarta || style == bsOld) {
            UseBrush(c, face);
            c.FillRect({0, 0, W, H});
        } else if (style == bsModern) {
            int middle = H / 4 + offset;
            Gradient(c, W, 2, middle, light, face);
            Gradient(c, W, middle, H - 1, face, light);
        }
    }

    // Frame.
    HollowBrush(c);
    if (style == bsNormal || style == bsEncarta || style == bsOld) {
        bool framed = enabled ? (!flat || hot || pressed) : !flat;
        if (framed && style != bsOld) {
            Line(c, pressed ? shadow : light, {{0, H - 1}, {0, 0}, {W - 1, 0}});
            Line(c, pressed ? light : shadow, {{W - 1, 0}, {W - 1, H - 1}, {0, H - 1}});
        } else if (framed) {
            if (pressed)
                Line(c, shadow, {{1, H - 3}, {1, 1}, {W - 2, 1}});
            else
                Line(c, shadow, {{W - 2, 0}, {W - 2, H - 2}, {0, H - 2}});
            Line(c, pressed ? cl3DDkShadow : light, {{0, H - 1}, {0, 0}, {W - 1, 0}});
            Line(c, pressed ? light : cl3DDkShadow, {{W - 1, 0}, {W - 1, H - 1}, {-1, H - 1}});
        }
    } else if (style == bsModern) {
        c.Pen = TPen{};
        c.Pen.Color = pressed ? shadow : face;
        c.Rectangle(1, 1, W - 1, H - 1);
        c.Pen.Color = shadow;
        c.RoundRect(0, 0, W, H, 6, 6);
    } else if (style == bsQuicken) {
        UseBrush(c, face);
        c.Pen = TPen{};
        c.Pen.Style = psClear;
        c.RoundRect(0, 1, W, H, 4, 4);
        HollowBrush(c);
        Line(c, shadow, {{4, 0}, {W - 5, 0}});
        Line(c, shadow, {{4, H - 1}, {W - 5, H - 1}});
    }

    // Text and glyph.
    c.Font = font;
    if (style == bsEncarta && pressed) c.Font.Style |= fsBold;
    // Text straight on the transparent colour must not blend into it.
    if (style == bsShape || transparent) c.Font.Quality = fqNonAntialiased;
    unsigned flags = DT_WORDBREAK | (alignment == taRightJustify ? DT_RIGHT
                                     : alignment == taCenter     ? DT_CENTER
                                                                 : DT_LEFT);
    int cellW = numGlyphs > 0 ? glyph.Width() / numGlyphs : 0;
    int glyphH = glyph.Height();
    int cell = 0;
    if (!enabled) {
        cell = numGlyphs > 1 ? 1 : 0;  // a one-cell glyph has no disabled picture
    } else {
        if (hot && numGlyphs > 3) cell = 3;
        if (pressed && numGlyphs > 2) cell = 2;
    }
    bool sideways =
        layout == TLbButtonLayout::blGlyphLeft || layout == TLbButtonLayout::blGlyphRight;
    int avail = std::max(0, W - 8 - (cellW > 0 && sideways ? cellW + 4 : 0));
    std::string text = wordWrap ? caption : CutToWidth(c, caption, avail);
    TRect measure{0, 0, avail, 0};
    int textH = text.empty() ? 0 : c.DrawText(text, measure, DT_CALCRECT | flags);
    int textW = text.empty() ? 0 : measure.Width();

    int glyphX = 0, glyphY = 0;
    if (style == bsShape) {
        glyphX = (W - cellW) / 2;
        glyphY = (H - glyphH) / 2;
        TRect r{offset, (H - textH) / 2 + offset, W, H};
        if (!text.empty()) c.DrawText(text, r, DT_WORDBREAK | DT_CENTER);
    } else {
        int textLeft = offset + 4, textTop = 0;
        if (sideways) {
            textTop = (H - textH) / 2 + offset;
            glyphY = (H - glyphH) / 2 + offset;
            int tw = text.empty() ? 0 : textW + 4;
            if (layout == TLbButtonLayout::blGlyphLeft) {
                if (cellW > 0) textLeft += cellW + 4;
                glyphX = offset + 4;
                if (!wordWrap && alignment == taRightJustify)
                    glyphX = W - 4 - cellW - tw + offset;
                else if (!wordWrap && alignment == taCenter)
                    glyphX = (W - cellW) / 2 + offset - tw / 2;
            } else {
                glyphX = textLeft + tw;
                if (!wordWrap && alignment == taRightJustify)
                    glyphX = W - 4 + offset - cellW;
                else if (!wordWrap && alignment == taCenter)
                    glyphX = (W - cellW) / 2 + offset + tw / 2;
            }
        } else {
            int total = textH + (glyphH > 0 ? glyphH + 4 : 0);
            if (layout == TLbButtonLayout::blGlyphTop) {
                glyphY = (H - total) / 2 + offset;
                textTop = glyphY + glyphH;
            } else {
                textTop = (H - total) / 2 + offset;
                glyphY = textTop + textH;
            }
            glyphX = alignment == taLeftJustify    ? offset + 4
                     : alignment == taRightJustify ? W - cellW - 4 + offset
                                                   : (W - cellW) / 2 + offset;
        }
        if (!enabled) c.Font.Color = 0x808080;
        TRect r{textLeft, textTop, textLeft + avail, textTop + textH};
        if (!text.empty()) c.DrawText(text, r, flags);
    }

    // Pictures the program draws are drawn again at the canvas's pixel ratio.
    if (cellW > 0 && glyphH > 0) {
        const TBitmap sharp = glyph.ForRatio(c.PixelRatio());
        TBitmap cellPicture(cellW, glyphH, pf24bit, sharp.PixelRatio());
        cellPicture.Canvas().CopyRect({0, 0, cellW, glyphH}, sharp,
                                      {cell * cellW, 0, cell * cellW + cellW, glyphH});
        cellPicture.Transparent = true;
        c.Draw(glyphX, glyphY, cellPicture);
    }
    if (hasPopup) {
        TBitmap arrow = LoadLbBitmap("LBARROW").ForRatio(c.PixelRatio());
        arrow.Transparent = true;
        c.Draw(W - 11, H / 2 - 1, arrow);
    }
}

}  // namespace rv
