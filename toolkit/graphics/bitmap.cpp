#include "toolkit/graphics/bitmap.h"

#include "toolkit/core/component.h"

#include <QFile>
#include <QHash>
#include <QPainter>

namespace wt {
namespace {

constexpr QImage::Format kFormat = QImage::Format_RGB32;

QHash<QString, QImage>& Registry() {
    static QHash<QString, QImage> registry;
    return registry;
}

QImage Flattened(const QImage& image) {
    if (image.format() == kFormat)
        return image;
    if (!image.hasAlphaChannel())
        return image.convertToFormat(kFormat);
    QImage flat(image.size(), kFormat);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

} // namespace

EResNotFound::EResNotFound(const QString& name)
    : std::runtime_error("Resource " + ToStd(name) + " not found") {}

TBitmap::TBitmap() : canvas_(std::make_unique<TCanvas>(&image_)) {}

TBitmap::TBitmap(int width, int height) : TBitmap() { SetSize(width, height); }

TBitmap::TBitmap(const TBitmap& other)
    : image_(other.image_), canvas_(std::make_unique<TCanvas>(&image_)),
      transparentColor_(other.transparentColor_), transparentMode_(other.transparentMode_),
      transparent_(other.transparent_) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        image_ = other.image_;
        transparentColor_ = other.transparentColor_;
        transparentMode_ = other.transparentMode_;
        transparent_ = other.transparent_;
    }
    return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height())
        return;
    if (width == 0 || height == 0) {
        image_ = QImage();
        return;
    }
    QImage resized(width, height, kFormat);
    resized.fill(Qt::white);
    if (!image_.isNull()) {
        QPainter painter(&resized);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
}

void TBitmap::SetImage(const QImage& image) {
    image_ = image.isNull() ? QImage() : Flattened(image);
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed && transparentColor_ != clDefault)
        return transparentColor_;
    if (Empty())
        return clDefault;
    return FromPixel(image_.pixel(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor color) {
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? tmAuto : tmFixed;
}

TBitmap TBitmap::CreateMask(TColor color) const {
    TBitmap mask(Width(), Height());
    const std::uint32_t key = ColorToPixel(color) & 0xFFFFFF;
    for (int y = 0; y < Height(); ++y) {
        const auto* in = reinterpret_cast<const std::uint32_t*>(image_.constScanLine(y));
        auto* out = reinterpret_cast<std::uint32_t*>(mask.image_.scanLine(y));
        for (int x = 0; x < Width(); ++x)
            out[x] = (in[x] & 0xFFFFFF) == key ? 0xFFFFFFFFu : 0xFF000000u;
    }
    return mask;
}

void TBitmap::LoadFromFile(const QString& path) {
    QImage image;
    if (!QFile::exists(path))
        throw EInvalidGraphic("Cannot open file " + ToStd(path));
    if (!image.load(path))
        throw EInvalidGraphic("Bitmap image is not valid: " + ToStd(path));
    SetImage(image);
}

void TBitmap::SaveToFile(const QString& path) const {
    if (!image_.save(path))
        throw EInvalidGraphic("Cannot write file " + ToStd(path));
}

void TBitmap::LoadFromResourceName(const QString& name) {
    const QImage image = FindBitmapResource(name);
    if (image.isNull())
        throw EResNotFound(name);
    SetImage(image);
}

void RegisterBitmapResource(const QString& name, const QImage& image) {
    Registry().insert(name.toUpper(), image);
}

void RegisterBitmapResourceFile(const QString& name, const QString& path) {
    QImage image;
    if (!image.load(path))
        throw EInvalidGraphic("Bitmap image is not valid: " + ToStd(path));
    RegisterBitmapResource(name, image);
}

void UnregisterBitmapResource(const QString& name) { Registry().remove(name.toUpper()); }

QImage FindBitmapResource(const QString& name) {
    if (name.isEmpty())
        return {};
    const auto it = Registry().constFind(name.toUpper());
    if (it != Registry().constEnd())
        return *it;
    for (const char* suffix : {".bmp", ".png", ".BMP", ".PNG"}) {
        for (const QString& stem : {name, name.toUpper()}) {
            QImage image;
            if (image.load(":/bitmaps/" + stem + QLatin1String(suffix)))
                return image;
        }
    }
    return {};
}

} // namespace wt
