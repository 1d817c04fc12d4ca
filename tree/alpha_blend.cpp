#include "tree/alpha_blend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/base/exception.h"

namespace rv {
namespace {

void CheckBitmap(const TBitmap* bitmap) {
    if (!bitmap || bitmap->Empty())
        throw Exception("Alpha blending DC error: no bitmap available.");
    if (bitmap->PixelFormat() != pf32bit)
        throw Exception("Alpha blending error: bitmap must use 32 bpp.");
}

int Device(int logical, double ratio) {
    return int(std::lround(logical * ratio));
}

std::uint8_t Saturate(int v) {
    return std::uint8_t(std::clamp(v, 0, 255));
}

// One channel: d + (s − d) × a / 256, the product shifted as the blending instructions do.
int Mix(int d, int s, int a) {
    return d + (((s - d) * a) >> 8);
}

}  // namespace

void AlphaBlend(const TBitmap* source, TBitmap* destination, const TRect& r, TPoint target,
                TBlendMode mode, int constantAlpha, int bias) {
    const bool withSource = mode != bmConstantAlphaAndColor;
    if (r.IsEmpty()) return;
    CheckBitmap(destination);
    if (withSource) CheckBitmap(source);
    const double ratio = destination->PixelRatio();
    // Device rectangles of the source part and of where it goes, cut to both pictures.
    int sx = Device(r.Left, ratio), sy = Device(r.Top, ratio);
    int w = Device(r.Right, ratio) - sx, h = Device(r.Bottom, ratio) - sy;
    int dx = Device(target.X, ratio), dy = Device(target.Y, ratio);
    if (!withSource) {
        sx = dx;
        sy = dy;
    }
    auto cut = [&](int& s, int& d, int& extent, int sourceLimit, int destLimit) {
        const int shift = std::max({0, -s, -d});
        s += shift;
        d += shift;
        extent = std::min({extent - shift, sourceLimit - s, destLimit - d});
    };
    const int sourceWidth = withSource ? source->PixelWidth() : destination->PixelWidth();
    const int sourceHeight = withSource ? source->PixelHeight() : destination->PixelHeight();
    cut(sx, dx, w, sourceWidth, destination->PixelWidth());
    cut(sy, dy, h, sourceHeight, destination->PixelHeight());
    if (w <= 0 || h <= 0) return;

    constantAlpha = std::clamp(constantAlpha, 0, 255);
    const TColor color = ColorToRGB(TColor(bias));
    const int colorChannels[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
    for (int row = 0; row < h; ++row) {
        std::uint8_t* d = destination->ScanLine(dy + row) + 4 * dx;
        const std::uint8_t* s = withSource ? source->ScanLine(sy + row) + 4 * sx : nullptr;
        for (int x = 0; x < w; ++x, d += 4) {
            if (!withSource) {
                for (int c = 0; c < 3; ++c)
                    d[c] = std::uint8_t(Mix(d[c], colorChannels[c], constantAlpha));
                continue;
            }
            int alpha = constantAlpha;
            if (mode == bmPerPixelAlpha) alpha = s[3];
            if (mode == bmMasterAlpha) alpha = (s[3] * constantAlpha) >> 8;
            for (int c = 0; c < 3; ++c) d[c] = Saturate(Mix(d[c], s[c], alpha) + bias);
            s += 4;
        }
    }
}

}  // namespace rv
