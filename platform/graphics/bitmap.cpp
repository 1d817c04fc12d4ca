#include "platform/graphics/bitmap.h"

#include <QImageReader>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {
namespace {

QImage::Format QtFormat(TPixelFormat format) {
    return format == pf32bit ? QImage::Format_ARGB32 : QImage::Format_BGR888;
}

QImage NewImage(int width, int height, TPixelFormat format) {
    if (width <= 0 || height <= 0) return QImage();
    QImage image(width, height, QtFormat(format));
    image.fill(Qt::white);
    return image;
}

}  // namespace

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
    : impl_(std::make_unique<BitmapImpl>()) {
    impl_->format = format;
    impl_->image = NewImage(width, height, format);
    canvas_ = std::make_unique<TCanvas>(std::make_unique<CanvasImpl>(&impl_->image));
    impl_->canvas = canvas_.get();
}

TBitmap::TBitmap(const TBitmap& other) : TBitmap() {
    *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    impl_->Pixels() = other.impl_->Pixels().copy();
    impl_->format = other.impl_->format;
    Transparent = other.Transparent;
    TransparentMode = other.TransparentMode;
    fixedTransparentColor_ = other.fixedTransparentColor_;
    return *this;
}

TBitmap::~TBitmap() {
    canvas_.reset();  // ends painting before the image goes
}

int TBitmap::Width() const {
    return impl_->image.width();
}
int TBitmap::Height() const {
    return impl_->image.height();
}

TPixelFormat TBitmap::PixelFormat() const {
    return impl_->format;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    QImage& old = impl_->Pixels();
    if (width == old.width() && height == old.height()) return;
    TPixelFormat format = PixelFormat();
    QImage grown = NewImage(width, height, format);
    if (grown.isNull() || old.isNull()) {
        old = grown;
        return;
    }
    QPainter p(&grown);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, old);
    p.end();
    old = grown;
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    QImage& image = impl_->Pixels();
    if (format == impl_->format) return;
    impl_->format = format;
    if (!image.isNull()) image = image.convertToFormat(QtFormat(format));
}

std::uint8_t* TBitmap::ScanLine(int y) {
    QImage& image = impl_->Pixels();
    if (y < 0 || y >= image.height()) return nullptr;
    return image.scanLine(y);
}

const std::uint8_t* TBitmap::ScanLine(int y) const {
    const QImage& image = impl_->Pixels();
    if (y < 0 || y >= image.height()) return nullptr;
    return image.constScanLine(y);
}

TColor TBitmap::Pixel(int x, int y) const {
    const QImage& image = impl_->Pixels();
    if (!image.valid(x, y)) return clNone;
    return FromQColor(QColor(image.pixel(x, y)));
}

void TBitmap::SetPixel(int x, int y, TColor color) {
    QImage& image = impl_->Pixels();
    if (image.valid(x, y)) image.setPixel(x, y, ToQColor(color).rgb());
}

TCanvas& TBitmap::Canvas() {
    return *canvas_;
}

TColor TBitmap::TransparentColor() const {
    if (TransparentMode == tmFixed) return fixedTransparentColor_;
    if (Empty()) return clNone;
    return Pixel(0, Height() - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    fixedTransparentColor_ = color;
    TransparentMode = color == clDefault ? tmAuto : tmFixed;
}

bool TBitmap::SaveToFile(const std::string& path) const {
    return impl_->Pixels().save(QString::fromStdString(path));
}

bool TBitmap::LoadFromFile(const std::string& path) {
    QImageReader reader(QString::fromStdString(path));
    // Refuse pictures that would need absurd amounts of memory.
    if (reader.size().isValid() &&
        qint64(reader.size().width()) * reader.size().height() > (1 << 26))
        return false;
    QImage loaded = reader.read();
    if (loaded.isNull()) return false;
    impl_->format = loaded.hasAlphaChannel() ? pf32bit : pf24bit;
    impl_->Pixels() = loaded.convertToFormat(QtFormat(impl_->format));
    return true;
}

}  // namespace rv
