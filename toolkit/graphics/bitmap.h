// Bitmaps: an image with its own canvas and a transparent colour, loaded from
// files or from the program's bitmap resources by name.
#pragma once

#include "toolkit/graphics/canvas.h"
#include "toolkit/graphics/colors.h"

#include <QImage>
#include <QString>

#include <memory>
#include <stdexcept>
#include <string>

namespace wt {

// A bitmap resource that is neither registered nor built in.
class EResNotFound : public std::runtime_error {
public:
    explicit EResNotFound(const QString& name);
};

// A file that is missing or not an image.
class EInvalidGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmap {
public:
    TBitmap();
    TBitmap(int width, int height);
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    ~TBitmap();

    // A bitmap holds an image when it has a non-zero size.
    bool Empty() const { return image_.isNull() || image_.width() == 0 || image_.height() == 0; }
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    // Resizing keeps the top-left part; new pixels are white.
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    void SetSize(int width, int height);

    TCanvas& Canvas() { return *canvas_; }
    const TCanvas& Canvas() const { return *canvas_; }
    const QImage& Image() const { return image_; }
    // Replaces the contents with a copy of the image (any format).
    void SetImage(const QImage& image);

    // With tmAuto the transparent colour is the bottom-left pixel's.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode) { transparentMode_ = mode; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool on) { transparent_ = on; }

    // White where the pixel is of colour, black elsewhere.
    TBitmap CreateMask(TColor color) const;

    void LoadFromFile(const QString& path);
    void SaveToFile(const QString& path) const;
    // From the resource registry, then from the built-in resources.
    void LoadFromResourceName(const QString& name);

    friend bool operator==(const TBitmap& a, const TBitmap& b) { return a.image_ == b.image_; }

private:
    QImage image_;
    std::unique_ptr<TCanvas> canvas_;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = tmAuto;
    bool transparent_ = false;
};

// The program's bitmap resources by name (names compare without case).
// Registered images win; otherwise ":/bitmaps/NAME.bmp" and
// ":/bitmaps/NAME.png" of the Qt resources are tried.
void RegisterBitmapResource(const QString& name, const QImage& image);
void RegisterBitmapResourceFile(const QString& name, const QString& path);
void UnregisterBitmapResource(const QString& name);
// A null image when the name is unknown.
QImage FindBitmapResource(const QString& name);

} // namespace wt
