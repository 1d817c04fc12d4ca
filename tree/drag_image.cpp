#include "tree/drag_image.h"

#include <algorithm>
#include <cmath>

#include "platform/windows/popup_windows.h"
#include "platform/windows/window_host.h"
#include "tree/alpha_blend.h"

namespace rv {

double DragImageFallOff(double distance, double size) {
    if (size <= 0) return 1;
    const double r = distance / size;
    return std::max(0.0, 1 - 2 * r * r);
}

TVTDragImage::~TVTDragImage() {
    if (window_) DestroyHostWindow(window_);
}

void TVTDragImage::PrepareDrag(const TBitmap& image, TPoint position, TPoint hotSpot) {
    picture_ = image;
    picture_.SetPixelFormat(pf32bit);
    MakeAlphaChannel();
    for (int y = 0; y < picture_.PixelHeight(); ++y) {
        std::uint8_t* p = picture_.ScanLine(y);
        for (int x = 0; x < picture_.PixelWidth(); ++x, p += 4)
            for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(std::min(255, p[c] + PrepareBias));
    }
    imagePosition_ = {position.X - hotSpot.X, position.Y - hotSpot.Y};
    lastPosition_ = position;
    prepared_ = true;
    if (Windowed) PlaceWindow();
}

// Opaque everywhere, unless the picture fades or has a key colour.
void TVTDragImage::MakeAlphaChannel() {
    const int w = picture_.PixelWidth(), h = picture_.PixelHeight();
    const double size = std::max(w, h);
    const double cx = (w - 1) / 2.0, cy = (h - 1) / 2.0;
    const TColor key = ColorToRGB(ColorKey);
    const int kb = GetBValue(key), kg = GetGValue(key), kr = GetRValue(key);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* p = picture_.ScanLine(y);
        for (int x = 0; x < w; ++x, p += 4) {
            if (ColorKey != kNoColorKey && p[0] == kb && p[1] == kg && p[2] == kr) {
                p[3] = 0;
                continue;
            }
            const double fall = Fade ? DragImageFallOff(std::hypot(x - cx, y - cy), size) : 1;
            p[3] = std::uint8_t(std::lround(255 * fall));
        }
    }
}

int TVTDragImage::AlphaAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= picture_.PixelWidth() || y >= picture_.PixelHeight()) return 0;
    return picture_.ScanLine(y)[4 * x + 3];
}

TRect TVTDragImage::GetDragImageRect() const {
    if (!prepared_) return {};
    return Bounds(imagePosition_.X, imagePosition_.Y, picture_.Width(), picture_.Height());
}

bool TVTDragImage::WillMove(TPoint p) const {
    if (!visible_) return false;
    const int dx = MoveRestriction == dmrVerticalOnly ? 0 : p.X - lastPosition_.X;
    const int dy = MoveRestriction == dmrHorizontalOnly ? 0 : p.Y - lastPosition_.Y;
    return dx != 0 || dy != 0;
}

bool TVTDragImage::DragTo(TPoint p, bool forceRepaint) {
    const int dx = MoveRestriction == dmrVerticalOnly ? 0 : p.X - lastPosition_.X;
    const int dy = MoveRestriction == dmrHorizontalOnly ? 0 : p.Y - lastPosition_.Y;
    lastPosition_ = p;
    const bool moved = dx != 0 || dy != 0;
    if (!moved && !forceRepaint) return false;
    const TRect before = GetDragImageRect();
    imagePosition_.X += dx;
    imagePosition_.Y += dy;
    if (visible_) {
        if (window_) {
            SetWindowBounds(window_, GetDragImageRect());
            if (forceRepaint) InvalidateWindow(window_);
        }
        Notify(before);
    }
    return moved;
}

void TVTDragImage::ShowDragImage() {
    if (!prepared_ || visible_) return;
    visible_ = true;
    if (window_) ShowWindow(window_, true);
    Notify({});
}

void TVTDragImage::HideDragImage() {
    if (!visible_) return;
    visible_ = false;
    if (window_) ShowWindow(window_, false);
    Notify(GetDragImageRect());
}

void TVTDragImage::EndDrag() {
    HideDragImage();
    if (window_) {
        DestroyHostWindow(window_);
        window_ = 0;
    }
    picture_.Clear();
    prepared_ = false;
}

void TVTDragImage::Notify(const TRect& before) {
    if (OnMove) OnMove(before, visible_ ? GetDragImageRect() : TRect{});
}

void TVTDragImage::ComposeOnto(TBitmap& target, TPoint origin) const {
    if (!prepared_) return;
    const TBlendMode mode = Fade || ColorKey != kNoColorKey ? bmMasterAlpha : bmConstantAlpha;
    AlphaBlend(&picture_, &target, {0, 0, picture_.Width(), picture_.Height()},
               {imagePosition_.X - origin.X, imagePosition_.Y - origin.Y}, mode, Transparency,
               BlendBias);
}

void TVTDragImage::PlaceWindow() {
    if (!window_) {
        window_ = CreateHostWindow([this](TMessage& m) { WindowProc(m); });
        SetWindowPopup(window_, {.translucent = true, .ignoresInput = true});
    }
    SetWindowBounds(window_, GetDragImageRect());
    InvalidateWindow(window_);
}

void TVTDragImage::WindowProc(TMessage& m) {
    if (m.Msg != WM_PAINT) {
        DefHostWindowProc(window_, m);
        return;
    }
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    if (!canvas || !prepared_) return;
    if (BlendBias == 0) {
        canvas->DrawAlpha(0, 0, picture_, Transparency);
        return;
    }
    TBitmap lighter = picture_;
    for (int y = 0; y < lighter.PixelHeight(); ++y) {
        std::uint8_t* p = lighter.ScanLine(y);
        for (int x = 0; x < lighter.PixelWidth(); ++x, p += 4)
            for (int c = 0; c < 3; ++c) p[c] = std::uint8_t(std::min(255, p[c] + BlendBias));
    }
    canvas->DrawAlpha(0, 0, lighter, Transparency);
}

}  // namespace rv
