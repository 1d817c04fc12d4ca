#pragma once

#include <vector>

#include "platform/components/component.h"
#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace rv {

// Drawing styles of TImageList::DrawEx, with the platform's values.
constexpr unsigned ILD_NORMAL = 0x0;
constexpr unsigned ILD_TRANSPARENT = 0x1;
constexpr unsigned ILD_BLEND25 = 0x2;
constexpr unsigned ILD_BLEND50 = 0x4;
constexpr unsigned ILD_MASK = 0x10;
constexpr unsigned ILD_OVERLAYMASK = 0xF00;
constexpr unsigned IndexToOverlayMask(int overlay) {
    return unsigned(overlay) << 8;
}

// Colour arguments of DrawEx besides real colours.
constexpr TColor CLR_NONE = 0xFFFFFFFF;
constexpr TColor CLR_DEFAULT = 0xFF000000;

// What the controls that draw from a list show of each image: the image, or its mask alone.
enum class TImageType { itImage, itMask };
using enum TImageType;

// A row of equally sized images, each with its own transparency mask. Sizes are logical pixels.
// Images cut from a drawn picture (TBitmap::Drawn) are drawn anew for each canvas at its pixel
// ratio, so they are as sharp as the screen; others keep the picture's ratio and are enlarged or
// reduced by the canvas. A component: the controls that draw from a list forget it when it goes.
class TImageList : public TComponent {
public:
    explicit TImageList(int width = 16, int height = 16) : TImageList(nullptr, width, height) {}
    TImageList(TComponent* owner, int width, int height)
        : TComponent(owner), width_(width), height_(height) {}
    std::string ClassName() const override { return "TImageList"; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);  // removes all images
    int Count() const { return int(images_.size()); }

    // Colour drawn behind masked-out pixels by DrawEx without ILD_TRANSPARENT; clNone: none.
    TColor BkColor = clNone;
    // itMask: the controls drawing from the list draw the masks (DrawEx with ILD_MASK).
    TImageType ImageType = itImage;

    // A picture wider than one image adds one image per cell. Add keeps every pixel;
    // AddMasked leaves out the pixels of maskColor (clDefault: the bottom-left pixel's colour).
    // Both return the index of the first image added, or -1.
    int Add(const TBitmap& picture);
    int AddMasked(const TBitmap& picture, TColor maskColor);
    void Delete(int index);
    void Clear() { images_.clear(); }
    // Copies image `index` into `out` (32-bit, alpha 0 where masked, drawn again by ForRatio
    // when it was cut from a drawn picture); false for a bad index.
    bool GetBitmap(int index, TBitmap& out) const;

    // Overlay slots 1..15 name images drawn over another by DrawEx.
    void SetOverlay(int imageIndex, int overlay);

    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;
    // Draw, then the image of overlay slot `overlay` + 1 over it in the same form (nothing more
    // for an overlay of -1 or an empty slot).
    void DrawOverlay(TCanvas& canvas, int x, int y, int index, int overlay,
                     bool enabled = true) const;
    // blend: the colour mixed in by ILD_BLEND25/ILD_BLEND50 (CLR_DEFAULT: highlight colour);
    // background: drawn behind masked pixels unless ILD_TRANSPARENT (CLR_DEFAULT: BkColor).
    void DrawEx(TCanvas& canvas, int index, int x, int y, TColor background, TColor blend,
                unsigned style) const;

private:
    int AddCells(const TBitmap& picture, TColor maskColor, bool masked);

    int width_, height_;
    std::vector<TBitmap> images_;  // 32-bit, alpha 0 or 255
    int overlays_[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

}  // namespace rv
