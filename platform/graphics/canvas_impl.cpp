#include <QApplication>
#include <algorithm>
#include <cmath>

#include "platform/base/exception.h"
#include "platform/graphics/internal/qt_graphics.h"

namespace rv {

QColor ToQColor(TColor color) {
    TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& color) {
    return RGB(color.red(), color.green(), color.blue());
}

QFont ToQFont(const TFont& font) {
    EnsureGuiApplication();
    QFont f(QString::fromStdString(font.Name));
    int pixels = font.Height < 0 ? -font.Height : (font.Height * 4 + 2) / 5;  // cell to character
    f.setPixelSize(pixels > 0 ? pixels : 1);
    f.setBold(font.Style & fsBold);
    f.setItalic(font.Style & fsItalic);
    f.setUnderline(font.Style & fsUnderline);
    f.setStrikeOut(font.Style & fsStrikeOut);
    f.setHintingPreference(QFont::PreferFullHinting);
    if (font.Quality == fqNonAntialiased) f.setStyleStrategy(QFont::NoAntialias);
    return f;
}

void EnsureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    if (QCoreApplication::instance())
        throw Exception("Drawing text needs the graphical application object.");
    static int argc = 1;
    static char name[] = "reelvault";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends, as the program's own application object would.
    new QApplication(argc, argv);
}

int DevicePixels(int logical, double ratio) {
    return int(std::lround(logical * ratio));
}

QImage& BitmapImpl::Pixels() {
    if (canvas) canvas->Impl().EndPainting();
    return image;
}

CanvasImpl::CanvasImpl(BitmapImpl* bitmap) : bitmap_(bitmap) {}

CanvasImpl::CanvasImpl(QPainter* painter, QRegion area) : base(std::move(area)), painter_(painter) {
    painter_->resetTransform();
    // What remains is the scale of the screen (or of the image a window is rendered into).
    windowRatio_ = painter_->deviceTransform().m11();
    ApplyClip();
}

CanvasImpl::~CanvasImpl() {
    EndPainting();
}

QPainter& CanvasImpl::Painter() {
    if (!painter_) {
        // An empty bitmap is drawn on harmlessly: its painter works on a scratch pixel.
        QImage& image = bitmap_->image;
        if (image.isNull()) scratch_ = QImage(1, 1, QImage::Format_ARGB32);
        own_ = std::make_unique<QPainter>(image.isNull() ? &scratch_ : &image);
        painter_ = own_.get();
        ApplyClip();
    }
    return *painter_;
}

void CanvasImpl::EndPainting() {
    if (own_) {
        own_->end();
        own_.reset();
        painter_ = nullptr;
    }
}

double CanvasImpl::PixelRatio() const {
    return bitmap_ ? bitmap_->ratio : windowRatio_;
}

const CanvasImpl::RealFont& CanvasImpl::FontFor(const TFont& description) {
    constexpr std::size_t kKept = 8;
    TFont face = description;
    face.Color = clNone;  // the colour is no part of the font
    const double ratio = PixelRatio();
    auto kept = std::find_if(fonts_.begin(), fonts_.end(),
                             [&](const KeptFont& f) { return f.ratio == ratio && f.face == face; });
    if (kept == fonts_.end()) {
        if (fonts_.size() == kKept) fonts_.pop_back();
        QFont font = ToQFont(face);
        fonts_.push_front(KeptFont{face, ratio, RealFont{font, QFontMetrics(font)}});
        ++fontsMade_;
    } else {
        fonts_.splice(fonts_.begin(), fonts_, kept);
    }
    return fonts_.front().real;
}

QRegion CanvasImpl::VisibleRegion() const {
    QRegion area = bitmap_ ? QRegion(0, 0, bitmap_->width, bitmap_->height) : base;
    return clipped ? clip.intersected(area) : area;
}

void CanvasImpl::ApplyClip() {
    if (!painter_) return;
    painter_->setClipRegion(VisibleRegion());
}

}  // namespace rv
