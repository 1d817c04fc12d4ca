#include "platform/framework/image.h"

namespace rv {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    InitBounds(0, 0, 105, 105);
}

void TImage::SetPicture(const TBitmap& picture) {
    maker_ = nullptr;
    picture_ = picture;
    Invalidate();
}

void TImage::SetPictureMaker(TPictureMaker maker) {
    maker_ = std::move(maker);
    picture_ = maker_ ? maker_(1) : TBitmap();
    Invalidate();
}

void TImage::SetStretch(bool value) {
    stretch_ = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    center_ = value;
    Invalidate();
}

void TImage::Paint() {
    TCanvas& canvas = *Canvas();
    if (maker_ && canvas.PixelRatio() != picture_.PixelRatio())
        picture_ = maker_(canvas.PixelRatio());
    if (picture_.Empty()) return;
    if (stretch_) {
        canvas.StretchDraw(ClientRect(), picture_);
        return;
    }
    int x = center_ ? (Width() - picture_.Width()) / 2 : 0;
    int y = center_ ? (Height() - picture_.Height()) / 2 : 0;
    canvas.Draw(x, y, picture_);
}

}  // namespace rv
