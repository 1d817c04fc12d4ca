#include "platform/graphics/canvas.h"

#include <QPainterPath>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/internal/qt_graphics.h"

namespace rv {
namespace {

QImage PatternImage(const TBrush& brush) {
    QImage cell(8, 8, QImage::Format_ARGB32);
    QRgb set = ToQColor(brush.Color).rgb();
    QRgb clear = brush.PatternBackColor == clNone ? qRgba(0, 0, 0, 0)
                                                  : ToQColor(brush.PatternBackColor).rgb();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            cell.setPixel(x, y, (brush.Pattern[y] & (0x80 >> x)) ? set : clear);
    return cell;
}

// Where a pen of this width is stroked, from the pixel's corner: at the centre for odd widths,
// on the corner for even ones, so that the edges of a straight line fall on logical pixel
// boundaries and the line covers whole logical pixels at any scale.
QPointF StrokeOffset(int width) {
    return width % 2 ? QPointF(0.5, 0.5) : QPointF(0, 0);
}

QPainter::CompositionMode ModeOf(TPenMode mode) {
    switch (mode) {
        case pmXor:
            return QPainter::RasterOp_SourceXorDestination;
        case pmNot:
            return QPainter::RasterOp_NotDestination;
        default:
            return QPainter::CompositionMode_SourceOver;
    }
}

}  // namespace

TCanvas::TCanvas(std::unique_ptr<CanvasImpl> impl) : impl_(std::move(impl)) {}
TCanvas::~TCanvas() = default;

// ---- brush and pen plumbing ------------------------------------------------------------------

static QBrush QtBrush(const TBrush& brush, bool& none) {
    none = brush.Style == bsClear;
    if (brush.Style == bsPattern) return QBrush(PatternImage(brush));
    return QBrush(ToQColor(brush.Color));
}

// Grows a run of pixels by `pt` when the point continues it along its row or its column.
static bool Extend(QRect& run, QPoint pt) {
    bool row = run.height() == 1 && pt.y() == run.top() &&
               (pt.x() == run.right() + 1 || pt.x() == run.left() - 1);
    bool column = run.width() == 1 && pt.x() == run.left() &&
                  (pt.y() == run.bottom() + 1 || pt.y() == run.top() - 1);
    if (row || column) run |= QRect(pt, QSize(1, 1));
    return row || column;
}

// Paints whole logical pixels in the pen's colour and mode. Neighbours along a row or a column
// are joined into one rectangle; no pixel is painted twice, which matters for the raster modes.
static void Plot(QPainter& p, const std::vector<QPoint>& points, const TPen& pen) {
    if (points.empty()) return;
    std::vector<QRect> runs;
    for (const QPoint& pt : points)
        if (runs.empty() || !Extend(runs.back(), pt)) runs.emplace_back(pt, QSize(1, 1));
    p.setCompositionMode(ModeOf(pen.Mode));
    p.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& run : runs) p.fillRect(run, ToQColor(pen.Color));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

// The pixels of a line from `from` to `to` (device coordinates), Bresenham's way.
static void LinePixels(QPoint from, QPoint to, bool includeEnd, std::vector<QPoint>& out) {
    int x = from.x(), y = from.y();
    int dx = std::abs(to.x() - x), dy = -std::abs(to.y() - y);
    int sx = x < to.x() ? 1 : -1, sy = y < to.y() ? 1 : -1;
    int err = dx + dy;
    while (true) {
        bool atEnd = x == to.x() && y == to.y();
        if (atEnd) {
            if (includeEnd) out.emplace_back(x, y);
            break;
        }
        out.emplace_back(x, y);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

void TCanvas::LineSegment(TPoint from, TPoint to, bool includeEnd) {
    if (Pen.Style == psClear) return;
    QPoint o = impl_->origin;
    QPoint a(from.X + o.x(), from.Y + o.y()), b(to.X + o.x(), to.Y + o.y());
    QPainter& p = impl_->Painter();
    if (Pen.Width > 1) {
        QPen qpen(ToQColor(Pen.Color), Pen.Width, Qt::SolidLine, Qt::SquareCap);
        p.setPen(qpen);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawLine(QPointF(a) + StrokeOffset(Pen.Width), QPointF(b) + StrokeOffset(Pen.Width));
        p.setPen(Qt::NoPen);
        return;
    }
    std::vector<QPoint> points;
    LinePixels(a, b, includeEnd, points);
    if (Pen.Style == psDot) {
        std::vector<QPoint> dots;
        for (size_t i = 0; i < points.size(); i += 2) dots.push_back(points[i]);
        points.swap(dots);
    }
    Plot(p, points, Pen);
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    LineSegment(penPos_, {x, y}, false);
    penPos_ = {x, y};
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    for (size_t i = 1; i < points.size(); ++i)
        LineSegment(points[i - 1], points[i], i + 1 == points.size());
    if (!points.empty()) penPos_ = points.back();
}

// ---- fills and shapes -------------------------------------------------------------------------

void TCanvas::FillRect(const TRect& r) {
    if (r.IsEmpty() || Brush.Style == bsClear) return;
    QPainter& p = impl_->Painter();
    QRect dev = ToQRect(OffsetRect(r, impl_->origin.x(), impl_->origin.y()));
    if (Brush.Style == bsPattern) {
        // The origin is for the pattern alone: left on the painter it would move the gradients
        // of whatever the style draws next (a themed check box lower down in some rows).
        const QPoint keep = p.brushOrigin();
        p.setBrushOrigin(impl_->brushOrigin);
        p.fillRect(dev, QBrush(PatternImage(Brush)));
        p.setBrushOrigin(keep);
    } else {
        p.fillRect(dev, ToQColor(Brush.Color));
    }
}

void TCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty() || Brush.Style == bsClear) return;
    FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    if (Pen.Style == psClear) {
        FillRect({left, top, right - 1, bottom - 1});
        return;
    }
    FillRect({left + 1, top + 1, right - 1, bottom - 1});
    const TPoint outline[] = {
        {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
    TPoint keep = penPos_;
    for (int i = 1; i < 5; ++i) LineSegment(outline[i - 1], outline[i], false);
    penPos_ = keep;
}

// Shapes with curved edges go through Qt's rasteriser, aliased: the brush fills the figure, the
// pen strokes its outline one logical pixel (or Width) wide over the pixels at its edge, the
// same pixels at every scale but drawn at the device's resolution.
static void DrawShape(CanvasImpl& impl, const TPen& pen, const TBrush& brush,
                      const QPainterPath& outline) {
    QPainter& p = impl.Painter();
    p.setRenderHint(QPainter::Antialiasing, false);
    bool noBrush = false;
    QBrush qbrush = QtBrush(brush, noBrush);
    // With a pen the fill reaches the outline's centre line, so that nothing shows between the
    // two; without one the figure is one pixel smaller at the right and bottom (see Rectangle).
    bool outlined = pen.Style != psClear;
    if (!noBrush) {
        const QPoint keep = p.brushOrigin();
        p.setBrushOrigin(impl.brushOrigin);
        p.fillPath(outlined ? outline.translated(0.5, 0.5) : outline, qbrush);
        p.setBrushOrigin(keep);
    }
    if (!outlined) return;
    int width = std::max(pen.Width, 1);
    QPen qpen(ToQColor(pen.Color), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    if (pen.Style == psDot) qpen.setDashPattern({1, 1});
    p.strokePath(outline.translated(StrokeOffset(width)), qpen);
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cw, int ch) {
    if (right <= left || bottom <= top) return;
    QPainterPath path;
    QRectF box(left + impl_->origin.x(), top + impl_->origin.y(), right - left - 1,
               bottom - top - 1);
    path.addRoundedRect(box, cw / 2.0, ch / 2.0);
    DrawShape(*impl_, Pen, Brush, path);
}

void TCanvas::Ellipse(const TRect& r) {
    if (r.IsEmpty()) return;
    QPainterPath path;
    path.addEllipse(QRectF(r.Left + impl_->origin.x(), r.Top + impl_->origin.y(), r.Width() - 1,
                           r.Height() - 1));
    DrawShape(*impl_, Pen, Brush, path);
}

void TCanvas::Arc(const TRect& r, TPoint start, TPoint end) {
    if (r.IsEmpty() || Pen.Style == psClear) return;
    QRectF box(r.Left + impl_->origin.x(), r.Top + impl_->origin.y(), r.Width() - 1,
               r.Height() - 1);
    // Angles in degrees, counterclockwise from three o'clock, as the screen's y runs down.
    auto angleOf = [&](TPoint p) {
        return std::atan2(box.center().y() - (p.Y + impl_->origin.y()),
                          p.X + impl_->origin.x() - box.center().x()) *
               180 / std::numbers::pi;
    };
    const double from = angleOf(start);
    double sweep = angleOf(end) - from;
    if (sweep <= 0) sweep += 360;
    QPainterPath path;
    path.arcMoveTo(box, from);
    path.arcTo(box, from, sweep);
    TBrush none;
    none.Style = bsClear;
    DrawShape(*impl_, Pen, none, path);
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.size() < 2) return;
    QPolygonF poly;
    for (const TPoint& pt : points)
        poly << QPointF(pt.X + impl_->origin.x(), pt.Y + impl_->origin.y());
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.addPolygon(poly);
    path.closeSubpath();
    DrawShape(*impl_, Pen, Brush, path);
}

void TCanvas::DrawFocusRect(const TRect& r) {
    if (r.IsEmpty()) return;
    QPoint o = impl_->origin;
    std::vector<QPoint> points;
    auto add = [&](int x, int y) {
        int dx = x + o.x(), dy = y + o.y();
        if (((dx + dy) & 1) == 0) points.emplace_back(dx, dy);
    };
    for (int x = r.Left; x < r.Right; ++x) {
        add(x, r.Top);
        if (r.Bottom - 1 > r.Top) add(x, r.Bottom - 1);
    }
    for (int y = r.Top + 1; y < r.Bottom - 1; ++y) {
        add(r.Left, y);
        if (r.Right - 1 > r.Left) add(r.Right - 1, y);
    }
    Plot(impl_->Painter(), points, TPen{clWhite, psSolid, 1, pmXor});
}

void TCanvas::InvertRect(const TRect& r) {
    if (r.IsEmpty()) return;
    QPainter& p = impl_->Painter();
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(ToQRect(OffsetRect(r, impl_->origin.x(), impl_->origin.y())), Qt::white);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::DrawEdge(TRect& r, unsigned edge, unsigned flags) {
    struct Pair {
        TColor lt, rb;
    };
    bool soft = flags & BF_SOFT;
    Pair outer{clNone, clNone}, inner{clNone, clNone};
    if (edge & BDR_RAISEDOUTER) outer = {soft ? clBtnHighlight : cl3DLight, cl3DDkShadow};
    if (edge & BDR_SUNKENOUTER) outer = {soft ? cl3DDkShadow : clBtnShadow, clBtnHighlight};
    if (edge & BDR_RAISEDINNER) inner = {soft ? cl3DLight : clBtnHighlight, clBtnShadow};
    if (edge & BDR_SUNKENINNER) inner = {soft ? clBtnShadow : cl3DDkShadow, cl3DLight};
    TColor middle = clBtnFace;
    if (flags & BF_MONO) {
        if (outer.lt != clNone) outer = {clWindowFrame, clWindowFrame};
        if (inner.lt != clNone) inner = {clWindow, clWindow};
        middle = clWindow;
    } else if (flags & BF_FLAT) {
        if (outer.lt != clNone) outer = {clBtnShadow, clBtnShadow};
        if (inner.lt != clNone) inner = {clBtnFace, clBtnFace};
    }
    TBrush keep = Brush;
    TRect box = r;
    for (const Pair& band : {outer, inner}) {
        if (band.lt == clNone || box.IsEmpty()) continue;
        Brush = TBrush{};
        Brush.Color = band.lt;
        if (flags & BF_LEFT) FillRect({box.Left, box.Top, box.Left + 1, box.Bottom});
        if (flags & BF_TOP) FillRect({box.Left, box.Top, box.Right, box.Top + 1});
        Brush.Color = band.rb;
        if (flags & BF_RIGHT) FillRect({box.Right - 1, box.Top, box.Right, box.Bottom});
        if (flags & BF_BOTTOM) FillRect({box.Left, box.Bottom - 1, box.Right, box.Bottom});
        if (flags & BF_LEFT) ++box.Left;
        if (flags & BF_TOP) ++box.Top;
        if (flags & BF_RIGHT) --box.Right;
        if (flags & BF_BOTTOM) --box.Bottom;
    }
    if (flags & BF_MIDDLE) {
        Brush = TBrush{};
        Brush.Color = middle;
        FillRect(box);
    }
    Brush = keep;
    if (flags & BF_ADJUST) r = box;
}

// ---- pixels -----------------------------------------------------------------------------------

TColor TCanvas::GetPixel(int x, int y) const {
    QImage* image = impl_->Image();
    if (!image) return clNone;
    QPoint dev(x + impl_->origin.x(), y + impl_->origin.y());
    if (!impl_->VisibleRegion().contains(dev)) return clNone;
    impl_->EndPainting();
    double ratio = impl_->PixelRatio();
    return FromQColor(
        QColor(image->pixel(DevicePixels(dev.x(), ratio), DevicePixels(dev.y(), ratio))));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    QPainter& p = impl_->Painter();
    p.fillRect(QRect(x + impl_->origin.x(), y + impl_->origin.y(), 1, 1), ToQColor(color));
}

// ---- bitmaps ----------------------------------------------------------------------------------

// The device pixels of a logical part of a bitmap, at the bitmap's ratio.
static QImage SourceCut(const TBitmap& bitmap, const TRect& rect) {
    double ratio = bitmap.PixelRatio();
    QRect device(DevicePixels(rect.Left, ratio), DevicePixels(rect.Top, ratio),
                 DevicePixels(rect.Right, ratio) - DevicePixels(rect.Left, ratio),
                 DevicePixels(rect.Bottom, ratio) - DevicePixels(rect.Top, ratio));
    QImage cut = bitmap.Impl().Pixels().copy(device).convertToFormat(QImage::Format_ARGB32);
    cut.setDevicePixelRatio(ratio);
    return cut;
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty()) return;
    if (bitmap.Transparent) {
        DrawTransparent(x, y, bitmap, bitmap.TransparentColor());
        return;
    }
    CopyRect(Bounds(x, y, bitmap.Width(), bitmap.Height()), bitmap,
             {0, 0, bitmap.Width(), bitmap.Height()});
}

void TCanvas::DrawTransparent(int x, int y, const TBitmap& bitmap, TColor keyColor) {
    if (bitmap.Empty()) return;
    QImage cut = SourceCut(bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
    QRgb key = ToQColor(keyColor).rgb() & 0xFFFFFF;
    for (int row = 0; row < cut.height(); ++row) {
        auto* line = reinterpret_cast<QRgb*>(cut.scanLine(row));
        for (int col = 0; col < cut.width(); ++col)
            line[col] = (line[col] & 0xFFFFFF) == key ? 0 : (line[col] | 0xFF000000);
    }
    QPainter& p = impl_->Painter();
    p.drawImage(QPoint(x + impl_->origin.x(), y + impl_->origin.y()), cut);
}

void TCanvas::CopyRect(const TRect& dest, const TBitmap& source, const TRect& sourceRect) {
    if (dest.IsEmpty() || sourceRect.IsEmpty() || source.Empty()) return;
    QImage cut = SourceCut(source, sourceRect);
    QPainter& p = impl_->Painter();
    p.setCompositionMode(QPainter::CompositionMode_Source);
    QRect target = ToQRect(OffsetRect(dest, impl_->origin.x(), impl_->origin.y()));
    if (target.size() == ToQRect(sourceRect).size())
        p.drawImage(target.topLeft(), cut);
    else
        p.drawImage(target, cut);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    CopyRect(dest, bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
}

void TCanvas::DrawAlpha(int x, int y, const TBitmap& bitmap, int constantAlpha) {
    if (bitmap.Empty()) return;
    QImage cut = SourceCut(bitmap, {0, 0, bitmap.Width(), bitmap.Height()});
    if (bitmap.PixelFormat() != pf32bit) cut = cut.convertToFormat(QImage::Format_RGB32);
    QPainter& p = impl_->Painter();
    p.setOpacity(constantAlpha / 255.0);
    p.drawImage(QPoint(x + impl_->origin.x(), y + impl_->origin.y()), cut);
    p.setOpacity(1.0);
}

// ---- clipping, origins, saved states ----------------------------------------------------------

static QRect Device(const CanvasImpl& impl, const TRect& r) {
    return ToQRect(OffsetRect(r, impl.origin.x(), impl.origin.y()));
}

void TCanvas::SetClipRect(const TRect& r) {
    impl_->clip = QRegion(Device(*impl_, r));
    impl_->clipped = true;
    impl_->ApplyClip();
}

void TCanvas::IntersectClipRect(const TRect& r) {
    impl_->clip = impl_->VisibleRegion().intersected(Device(*impl_, r));
    impl_->clipped = true;
    impl_->ApplyClip();
}

void TCanvas::ExcludeClipRect(const TRect& r) {
    impl_->clip = impl_->VisibleRegion().subtracted(Device(*impl_, r));
    impl_->clipped = true;
    impl_->ApplyClip();
}

void TCanvas::RemoveClip() {
    impl_->clipped = false;
    impl_->ApplyClip();
}

TRect TCanvas::ClipRect() const {
    QRegion visible = impl_->VisibleRegion();
    if (visible.isEmpty()) return {};
    return OffsetRect(FromQRect(visible.boundingRect()), -impl_->origin.x(), -impl_->origin.y());
}

bool TCanvas::RectVisible(const TRect& r) const {
    return !r.IsEmpty() && impl_->VisibleRegion().intersects(Device(*impl_, r));
}

double TCanvas::PixelRatio() const {
    return impl_->PixelRatio();
}

TPoint TCanvas::Origin() const {
    return {impl_->origin.x(), impl_->origin.y()};
}
void TCanvas::SetOrigin(int x, int y) {
    impl_->origin = QPoint(x, y);
}
void TCanvas::MoveOrigin(int dx, int dy) {
    impl_->origin += QPoint(dx, dy);
}
TPoint TCanvas::BrushOrigin() const {
    return {impl_->brushOrigin.x(), impl_->brushOrigin.y()};
}
void TCanvas::SetBrushOrigin(int x, int y) {
    impl_->brushOrigin = QPoint(x, y);
}

int TCanvas::SaveState() {
    impl_->saved.push_back({Pen, Brush, Font, penPos_, impl_->origin, impl_->brushOrigin,
                            impl_->clipped, impl_->clip});
    return int(impl_->saved.size());
}

void TCanvas::RestoreState(int level) {
    auto& saved = impl_->saved;
    if (saved.empty()) return;
    if (level < 0) level = int(saved.size()) + 1 + level;
    if (level < 1 || level > int(saved.size())) return;
    const CanvasImpl::Saved& s = saved[level - 1];
    Pen = s.pen;
    Brush = s.brush;
    Font = s.font;
    penPos_ = s.penPos;
    impl_->origin = s.origin;
    impl_->brushOrigin = s.brushOrigin;
    impl_->clipped = s.clipped;
    impl_->clip = s.clip;
    saved.resize(level - 1);
    impl_->ApplyClip();
}

}  // namespace rv
