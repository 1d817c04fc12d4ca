#include "platform/graphics/bitmap.h"

#include <QImageReader>
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/graphics/internal/qt_graphics.h"

namespace rv {
namespace {

QImage::Format QtFormat(TPixelFormat format) {
    return format == pf32bit ? QImage::Format_ARGB32 : QImage::Format_BGR888;
}

// A white picture of the logical size at the ratio.
QImage NewImage(int width, int height, TPixelFormat format, double ratio) {
    if (width <= 0 || height <= 0) return QImage();
    QImage image(DevicePixels(width, ratio), DevicePixels(height, ratio), QtFormat(format));
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

}  // namespace

// How a drawn picture is made, with the ratios made so far. Copies of the picture share it, and
// may sit in different threads, hence the lock.
struct TBitmap::Recipe {
    explicit Recipe(TPictureMaker m) : make(std::move(m)) {}
    const TPictureMaker make;
    std::mutex lock;
    std::vector<std::pair<double, TBitmap>> made;  // the few ratios of the screens

    TBitmap At(double ratio) {
        std::lock_guard hold(lock);
        for (const auto& [r, picture] : made)
            if (r == ratio) return picture;
        TBitmap picture = make(ratio);
        picture.Forget();
        constexpr std::size_t kKept = 4;
        if (made.size() == kKept) made.erase(made.begin() + 1);  // the first is the original
        made.emplace_back(ratio, picture);
        return picture;
    }
};

TBitmap::TBitmap() : TBitmap(0, 0) {}

TBitmap::TBitmap(int width, int height, TPixelFormat format, double pixelRatio)
    : impl_(std::make_unique<BitmapImpl>()) {
    impl_->format = format;
    impl_->ratio = pixelRatio > 0 ? pixelRatio : 1;
    impl_->width = std::max(width, 0);
    impl_->height = std::max(height, 0);
    impl_->image = NewImage(width, height, format, impl_->ratio);
    canvas_ = std::make_unique<TCanvas>(std::make_unique<CanvasImpl>(impl_.get()));
    impl_->canvas = canvas_.get();
}

TBitmap::TBitmap(const TBitmap& other) : TBitmap() {
    *this = other;
}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this == &other) return *this;
    impl_->Pixels() = other.impl_->Pixels().copy();
    impl_->format = other.impl_->format;
    impl_->width = other.impl_->width;
    impl_->height = other.impl_->height;
    impl_->ratio = other.impl_->ratio;
    Transparent = other.Transparent;
    TransparentMode = other.TransparentMode;
    fixedTransparentColor_ = other.fixedTransparentColor_;
    recipe_ = other.recipe_;
    return *this;
}

TBitmap TBitmap::Drawn(TPictureMaker maker, double pixelRatio) {
    if (!maker) return TBitmap();
    auto recipe = std::make_shared<Recipe>(std::move(maker));
    TBitmap picture = recipe->At(pixelRatio > 0 ? pixelRatio : 1);
    picture.recipe_ = std::move(recipe);
    return picture;
}

TBitmap TBitmap::ForRatio(double ratio) const {
    if (!recipe_ || ratio <= 0 || ratio == PixelRatio()) return *this;
    TBitmap picture = recipe_->At(ratio);
    picture.recipe_ = recipe_;
    picture.Transparent = Transparent;
    picture.TransparentMode = TransparentMode;
    picture.fixedTransparentColor_ = fixedTransparentColor_;
    return picture;
}

TBitmap::~TBitmap() {
    canvas_.reset();  // ends painting before the image goes
}

int TBitmap::Width() const {
    return impl_->width;
}
int TBitmap::Height() const {
    return impl_->height;
}
double TBitmap::PixelRatio() const {
    return impl_->ratio;
}
int TBitmap::PixelWidth() const {
    return impl_->image.width();
}
int TBitmap::PixelHeight() const {
    return impl_->image.height();
}

TPixelFormat TBitmap::PixelFormat() const {
    return impl_->format;
}

void TBitmap::SetSize(int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    QImage& old = impl_->Pixels();
    if (width == Width() && height == Height()) return;
    Forget();
    impl_->width = width;
    impl_->height = height;
    QImage grown = NewImage(width, height, PixelFormat(), impl_->ratio);
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
    Forget();
    impl_->format = format;
    if (!image.isNull()) image = image.convertToFormat(QtFormat(format));
}

std::uint8_t* TBitmap::ScanLine(int y) {
    Forget();
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
    Forget();
    QImage& image = impl_->Pixels();
    if (image.valid(x, y)) image.setPixel(x, y, ToQColor(color).rgb());
}

TCanvas& TBitmap::Canvas() {
    Forget();  // whatever is drawn now is no part of the maker's picture
    return *canvas_;
}

TColor TBitmap::TransparentColor() const {
    if (TransparentMode == tmFixed) return fixedTransparentColor_;
    if (Empty()) return clNone;
    return Pixel(0, PixelHeight() - 1);
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
    Forget();
    impl_->format = loaded.hasAlphaChannel() ? pf32bit : pf24bit;
    impl_->Pixels() = loaded.convertToFormat(QtFormat(impl_->format));
    impl_->image.setDevicePixelRatio(1);
    impl_->ratio = 1;
    impl_->width = loaded.width();
    impl_->height = loaded.height();
    return true;
}

}  // namespace rv
