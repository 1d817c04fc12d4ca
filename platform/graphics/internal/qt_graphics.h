#pragma once
// Qt side of the graphics area; included by platform .cpp files only.

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRect>
#include <QRegion>
#include <functional>
#include <list>
#include <memory>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/canvas.h"

namespace rv {

QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
QFont ToQFont(const TFont& font);
inline QRect ToQRect(const TRect& r) {
    return QRect(r.Left, r.Top, r.Width(), r.Height());
}
inline TRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// Creates the GUI application object when none exists yet (tests, tools); fonts need it.
void EnsureGuiApplication();

// The number of device pixels that `logical` pixels take at `ratio`, as the painter rounds them.
int DevicePixels(int logical, double ratio);

class BitmapImpl {
public:
    QImage image;               // device pixels, with the bitmap's ratio once it has any
    int width = 0, height = 0;  // logical
    double ratio = 1;
    TPixelFormat format = pf24bit;
    TCanvas* canvas = nullptr;  // ends its painting before the pixels are touched
    QImage& Pixels();           // painting finished
};

// The painter a canvas draws with: on a bitmap it is opened on first use and closed whenever the
// bitmap's pixels are read or resized; on a window it is the paint event's painter. Either way
// the painter maps logical pixels onto device pixels at the ratio of what it paints on.
class CanvasImpl {
public:
    // A canvas on a bitmap.
    explicit CanvasImpl(BitmapImpl* bitmap);
    // A canvas on a painter that someone else opened (a paint event); nothing outside area (device
    // coordinates) is ever touched.
    CanvasImpl(QPainter* painter, QRegion area);
    ~CanvasImpl();

    QPainter& Painter();  // opened, clip applied, no transform but the device pixel ratio
    void EndPainting();
    QImage* Image() { return bitmap_ ? &bitmap_->image : nullptr; }
    double PixelRatio() const;

    // The real font of a description and its metrics. The canvas keeps the last few it used,
    // by face, size, style and scale, since fonts alternate (a tree's bold and normal rows) and
    // making one is not cheap. The reference holds until the next call.
    struct RealFont {
        QFont font;
        QFontMetrics metrics;
    };
    const RealFont& FontFor(const TFont& description);
    int FontsMade() const { return fontsMade_; }

    QPoint origin;
    QPoint brushOrigin;
    bool clipped = false;
    QRegion clip;  // device coordinates, valid when clipped
    QRegion base;  // window canvases: the area that may be painted

    struct Saved {
        TPen pen;
        TBrush brush;
        TFont font;
        TPoint penPos;
        QPoint origin, brushOrigin;
        bool clipped;
        QRegion clip;
    };
    std::vector<Saved> saved;

    void ApplyClip();
    QRegion VisibleRegion() const;  // clip or whole device

private:
    BitmapImpl* bitmap_ = nullptr;
    QImage scratch_;
    QPainter* painter_ = nullptr;
    std::unique_ptr<QPainter> own_;
    double windowRatio_ = 1;
    struct KeptFont {
        TFont face;  // without its colour
        double ratio;
        RealFont real;
    };
    std::list<KeptFont> fonts_;  // most recently used first
    int fontsMade_ = 0;
};

}  // namespace rv
