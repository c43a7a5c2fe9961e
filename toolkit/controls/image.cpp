#include "toolkit/controls/image.h"

namespace wt {

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
    SetClickOnMouseUp(true);
    SetBounds(0, 0, 105, 105);
}

TRect TImage::DestRect() const {
    if (stretch_)
        return ClientRect();
    const int w = picture_.Width();
    const int h = picture_.Height();
    if (center_) {
        const int x = (Width() - w) / 2;
        const int y = (Height() - h) / 2;
        return {x, y, x + w, y + h};
    }
    return {0, 0, w, h};
}

void TImage::Paint() {
    TCanvas& canvas = Canvas();
    if (picture_.Empty())
        return;
    const TRect dest = DestRect();
    if (!transparent_) {
        canvas.StretchDraw(dest, picture_);
        return;
    }
    // Pixel by pixel, so that the parent stays visible through the
    // transparent colour (transfers make every pixel they touch opaque).
    TBitmap scaled;
    scaled.SetSize(dest.Width(), dest.Height());
    scaled.Canvas().StretchDraw({0, 0, dest.Width(), dest.Height()}, picture_);
    const TColor key = picture_.TransparentColor();
    for (int y = 0; y < scaled.Height(); ++y)
        for (int x = 0; x < scaled.Width(); ++x) {
            const TColor pixel = scaled.Canvas().Pixel(x, y);
            if (pixel != key)
                canvas.SetPixel(dest.Left + x, dest.Top + y, pixel);
        }
}

void TImage::PictureChanged() {
    if (Streaming())
        return;
    if (autoSize_ && !picture_.Empty())
        SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

void TImage::SetPicture(const TBitmap& value) {
    picture_ = value;
    PictureChanged();
}

void TImage::SetAutoSize(bool value) {
    if (value == autoSize_)
        return;
    autoSize_ = value;
    PictureChanged();
}

void TImage::SetCenter(bool value) {
    if (value == center_)
        return;
    center_ = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (value == stretch_)
        return;
    stretch_ = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    Invalidate();
}

bool TImage::IsPropertyStored(const char* name) const {
    if (QByteArray(name) == "Picture")
        return !picture_.Empty();
    return TGraphicControl::IsPropertyStored(name);
}

void TImage::Loaded() {
    TGraphicControl::Loaded();
    PictureChanged();
}

} // namespace wt
