#include "app/app_pictures.h"

#include <algorithm>
#include <array>
#include <utility>

namespace rv {

namespace {

constexpr TColor kTeal = RGB(29, 56, 56);
constexpr TColor kLime = RGB(160, 230, 60);
constexpr TColor kAqua = RGB(90, 220, 230);
constexpr TColor kMask = RGB(255, 0, 255);

void Disc(TCanvas& c, int left, int top, int size, TColor face, TColor rim, TColor hole) {
    c.Pen.Color = rim;
    c.Brush.Color = face;
    c.Ellipse(Bounds(left, top, size, size));
    const int hub = size / 3;
    const int at = (size - hub) / 2;
    c.Brush.Color = rim;
    c.Ellipse(Bounds(left + at, top + at, hub, hub));
    const int inner = std::max(2, hub / 2);
    const int in = (size - inner) / 2;
    c.Pen.Color = hole;
    c.Brush.Color = hole;
    c.Ellipse(Bounds(left + in, top + in, inner, inner));
}

// The media types side by side, 16 x 16 each, on the mask colour.
TBitmap MediaTypeStrip(double pixelRatio) {
    TBitmap strip(32, 16, pf24bit, pixelRatio);
    TCanvas& c = strip.Canvas();
    c.Brush.Color = kMask;
    c.FillRect({0, 0, 32, 16});
    Disc(c, 1, 1, 14, RGB(214, 220, 226), RGB(120, 130, 140), kMask);
    // A note for a file.
    c.Pen.Color = kAqua;
    c.Brush.Color = kAqua;
    c.Ellipse(Bounds(18, 10, 6, 5));
    c.Ellipse(Bounds(25, 8, 6, 5));
    c.FillRect({22, 2, 24, 13});
    c.FillRect({29, 1, 31, 11});
    c.FillRect({22, 1, 31, 4});
    return strip;
}

}  // namespace

TBitmap AppIcon(int size, TColor background, double pixelRatio) {
    TBitmap icon(size, size, pf24bit, pixelRatio);
    TCanvas& c = icon.Canvas();
    c.Brush.Color = background;
    c.FillRect({0, 0, size, size});
    c.Pen.Color = kTeal;
    c.Brush.Color = kTeal;
    const int corner = size / 4;
    c.RoundRect(0, 0, size, size, corner, corner);
    const int margin = size / 8;
    Disc(c, margin, margin, size - 2 * margin, kLime, kTeal, kTeal);
    // Four windows in the reel, as on a tape or film reel.
    const int mid = size / 2;
    const int r = (size - 2 * margin) / 4;
    const int w = std::max(2, size / 10);
    c.Pen.Color = kTeal;
    c.Brush.Color = kTeal;
    for (auto [dx, dy] : std::array<std::pair<int, int>, 4>{{{0, -1}, {1, 0}, {0, 1}, {-1, 0}}})
        c.Ellipse(Bounds(mid + dx * r - w, mid + dy * r - w, 2 * w, 2 * w));
    c.Pen.Color = kAqua;
    c.Brush.Color = kAqua;
    const int hub = std::max(2, size / 8);
    c.Ellipse(Bounds(mid - hub / 2, mid - hub / 2, hub, hub));
    return icon;
}

TBitmap AlbumPicture(double pixelRatio) {
    TBitmap picture(48, 48, pf24bit, pixelRatio);
    TCanvas& c = picture.Canvas();
    c.Brush.Color = clBtnFace;
    c.FillRect({0, 0, 48, 48});
    Disc(c, 2, 2, 44, RGB(214, 220, 226), RGB(120, 130, 140), clBtnFace);
    // A reflection across the disc.
    c.Pen.Color = kAqua;
    c.Pen.Width = 2;
    c.Arc(Bounds(8, 8, 32, 32), {40, 8}, {8, 24});
    return picture;
}

void AddMediaTypeImages(TImageList& images) {
    images.AddMasked(TBitmap::Drawn(MediaTypeStrip), kMask);
}

}  // namespace rv
