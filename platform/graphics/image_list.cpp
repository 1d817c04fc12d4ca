#include "platform/graphics/image_list.h"

#include <cmath>

namespace rv {

void TImageList::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    images_.clear();
}

int TImageList::Add(const TBitmap& picture) {
    return AddCells(picture, clNone, false);
}

int TImageList::AddMasked(const TBitmap& picture, TColor maskColor) {
    if (maskColor == clDefault && !picture.Empty())
        maskColor = picture.Pixel(0, picture.PixelHeight() - 1);
    return AddCells(picture, maskColor, true);
}

namespace {

// Cell `cell` of a picture of `width` x `height` cells, 32-bit at the picture's ratio, alpha 0
// where the picture has no pixel or (masked) the key colour.
TBitmap CutCell(const TBitmap& picture, int cell, int width, int height, TColor key, bool masked) {
    const double ratio = picture.PixelRatio();
    TBitmap image(width, height, pf32bit, ratio);
    const int left = int(std::lround(cell * width * ratio));
    for (int y = 0; y < image.PixelHeight(); ++y) {
        std::uint8_t* row = image.ScanLine(y);
        for (int x = 0; x < image.PixelWidth(); ++x) {
            TColor c = picture.Pixel(left + x, y);
            bool hidden = c == clNone || (masked && c == key);
            row[4 * x + 0] = GetBValue(hidden ? 0 : c);
            row[4 * x + 1] = GetGValue(hidden ? 0 : c);
            row[4 * x + 2] = GetRValue(hidden ? 0 : c);
            row[4 * x + 3] = hidden ? 0 : 255;
        }
    }
    return image;
}

// The image's pixels, whatever its ratio: 32-bit, four bytes each.
template <class Change>
void EachPixel(TBitmap& image, Change change) {
    for (int row = 0; row < image.PixelHeight(); ++row) {
        std::uint8_t* p = image.ScanLine(row);
        for (int col = 0; col < image.PixelWidth(); ++col, p += 4) change(p);
    }
}

}  // namespace

int TImageList::AddCells(const TBitmap& picture, TColor maskColor, bool masked) {
    if (picture.Empty() || width_ <= 0 || height_ <= 0) return -1;
    int first = Count();
    int cells = std::max(1, picture.Width() / width_);
    TColor key = ColorToRGB(maskColor);
    const int w = width_, h = height_;
    for (int cell = 0; cell < cells; ++cell) {
        // A drawn picture gives drawn images: each is cut again from the picture drawn anew
        // for the ratio it is painted at.
        if (picture.Redrawable())
            images_.push_back(TBitmap::Drawn(
                [picture, cell, w, h, key, masked](double ratio) {
                    return CutCell(picture.ForRatio(ratio), cell, w, h, key, masked);
                },
                picture.PixelRatio()));
        else
            images_.push_back(CutCell(picture, cell, w, h, key, masked));
    }
    return first;
}

void TImageList::Delete(int index) {
    if (index >= 0 && index < Count()) images_.erase(images_.begin() + index);
}

bool TImageList::GetBitmap(int index, TBitmap& out) const {
    if (index < 0 || index >= Count()) return false;
    out = images_[index];
    return true;
}

void TImageList::SetOverlay(int imageIndex, int overlay) {
    if (overlay >= 1 && overlay <= 15) overlays_[overlay] = imageIndex;
}

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    TBitmap image = images_[index].ForRatio(canvas.PixelRatio());
    if (!enabled) {
        // Disabled: a light grey picture of the image's own brightness.
        EachPixel(image, [](std::uint8_t* p) {
            int lum = (p[2] * 30 + p[1] * 59 + p[0] * 11) / 100;
            p[0] = p[1] = p[2] = std::uint8_t(128 + lum / 2);
        });
    }
    canvas.DrawAlpha(x, y, image);
}

void TImageList::DrawOverlay(TCanvas& canvas, int x, int y, int index, int overlay,
                             bool enabled) const {
    if (index < 0 || index >= Count()) return;
    Draw(canvas, x, y, index, enabled);
    const int slot = overlay + 1;
    if (slot >= 1 && slot <= 15 && overlays_[slot] >= 0 && overlays_[slot] != index)
        Draw(canvas, x, y, overlays_[slot], enabled);
}

void TImageList::DrawEx(TCanvas& canvas, int index, int x, int y, TColor background, TColor blend,
                        unsigned style) const {
    if (index < 0 || index >= Count()) return;
    TBitmap image = images_[index].ForRatio(canvas.PixelRatio());
    if (style & ILD_MASK) {
        // The mask alone: black where the image shows, white where it does not.
        EachPixel(image, [](std::uint8_t* p) {
            p[0] = p[1] = p[2] = p[3] ? 0 : 255;
            p[3] = 255;
        });
        canvas.DrawAlpha(x, y, image);
        return;
    }
    if (background == CLR_DEFAULT) background = BkColor;
    if (!(style & ILD_TRANSPARENT) && background != CLR_NONE && background != clNone) {
        TBrush keep = canvas.Brush;
        canvas.Brush = TBrush{};
        canvas.Brush.Color = background;
        canvas.FillRect(Bounds(x, y, width_, height_));
        canvas.Brush = keep;
    }
    if ((style & (ILD_BLEND25 | ILD_BLEND50)) && blend != CLR_NONE && blend != clNone) {
        TColor with = ColorToRGB(blend == CLR_DEFAULT ? clHighlight : blend);
        double f = (style & ILD_BLEND50) ? 0.5 : 0.25;
        EachPixel(image, [&](std::uint8_t* p) {
            TColor mixed = BlendColors(RGB(p[2], p[1], p[0]), with, f);
            p[0] = GetBValue(mixed);
            p[1] = GetGValue(mixed);
            p[2] = GetRValue(mixed);
        });
    }
    canvas.DrawAlpha(x, y, image);
    int overlay = int((style & ILD_OVERLAYMASK) >> 8);
    if (overlay >= 1 && overlay <= 15 && overlays_[overlay] >= 0 && overlays_[overlay] != index)
        DrawEx(canvas, overlays_[overlay], x, y, CLR_NONE, blend, style & ~ILD_OVERLAYMASK);
}

}  // namespace rv
