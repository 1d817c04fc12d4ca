#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/graphics/canvas.h"
#include "platform/graphics/color.h"

namespace rv {

enum class TPixelFormat { pf24bit, pf32bit };
using enum TPixelFormat;

enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

class BitmapImpl;
class TBitmap;

// Makes a picture at a pixel ratio (device pixels per logical pixel, 2 at 200 %).
using TPictureMaker = std::function<TBitmap(double pixelRatio)>;

// A picture in memory with direct row access. Rows run top-down; a 24-bit row holds B, G, R per
// pixel, a 32-bit row B, G, R, A. A new or enlarged area is white (and opaque).
//
// A bitmap made for the screen takes the screen's pixel ratio (TCanvas::PixelRatio: 2 at 200 %)
// and then holds that many device pixels per logical pixel in each direction, so that text and
// curves drawn on it stay sharp there. Its size, its canvas and its place when drawn are in
// logical pixels; ScanLine, Pixel and SetPixel reach the device pixels, PixelWidth x PixelHeight
// of them. At the ratio 1 of every other bitmap the two are the same.
//
// A picture the program draws (a glyph, an icon) is made by Drawn and keeps its maker, so that
// wherever it is copied to (a button's glyph, an image list) ForRatio can draw it again for what
// it is painted on. Changing its pixels, size or format forgets the maker.
class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height, TPixelFormat format = pf24bit, double pixelRatio = 1);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    int Width() const;
    int Height() const;
    bool Empty() const { return Width() == 0 || Height() == 0; }
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    double PixelRatio() const;
    int PixelWidth() const;
    int PixelHeight() const;
    TPixelFormat PixelFormat() const;
    void SetPixelFormat(TPixelFormat format);

    std::uint8_t* ScanLine(int y);
    const std::uint8_t* ScanLine(int y) const;
    int BytesPerPixel() const { return PixelFormat() == pf32bit ? 4 : 3; }

    TColor Pixel(int x, int y) const;  // device pixels; clNone outside
    void SetPixel(int x, int y, TColor color);

    TCanvas& Canvas();

    // Drawn by TCanvas::Draw without the pixels of TransparentColor. In tmAuto the colour is the
    // bottom-left pixel's.
    bool Transparent = false;
    TTransparentMode TransparentMode = tmAuto;
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);

    void Assign(const TBitmap& other) { *this = other; }
    void Clear() { SetSize(0, 0); }

    // PNG (or any format the extension names), device pixels; a loaded picture has the ratio 1.
    // False when the file cannot be written or read.
    bool SaveToFile(const std::string& path) const;
    bool LoadFromFile(const std::string& path);

    // The picture `maker` draws at `pixelRatio`, which remembers its maker. The maker draws the
    // same logical size at every ratio.
    static TBitmap Drawn(TPictureMaker maker, double pixelRatio = 1);
    bool Redrawable() const { return recipe_ != nullptr; }
    // This picture for a canvas of `ratio`: drawn again at that ratio when it has its maker
    // (each ratio drawn once and kept, for every copy), else this very picture, which the canvas
    // enlarges or reduces. The transparency settings are this picture's.
    TBitmap ForRatio(double ratio) const;

    BitmapImpl& Impl() const { return *impl_; }

private:
    struct Recipe;
    void Forget() { recipe_.reset(); }

    std::unique_ptr<BitmapImpl> impl_;
    std::unique_ptr<TCanvas> canvas_;
    TColor fixedTransparentColor_ = clNone;
    std::shared_ptr<Recipe> recipe_;  // shared by copies
};

}  // namespace rv
