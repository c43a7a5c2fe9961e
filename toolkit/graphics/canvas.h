// The drawing surface of bitmaps and custom controls: pen, brush and font,
// lines that leave out their end point, rectangles, polygons, region fills,
// clipping, text at any escapement, focus rectangles by inversion, and
// bit-block transfers with raster operations, all exact to the pixel.
#pragma once

#include "platform/types.h"
#include "toolkit/graphics/colors.h"
#include "toolkit/graphics/font.h"
#include "toolkit/graphics/rasterops.h"
#include "toolkit/graphics/region.h"

#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace wt {

class TBitmap;

struct TSize {
    int Width = 0;
    int Height = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;

enum class TBrushStyle { bsSolid, bsClear };
using enum TBrushStyle;

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
    // A pattern brush when not null: tiled from the canvas origin. Stored as a
    // copy, so the bitmap it came from may go.
    QImage Pattern;

    void SetBitmap(const TBitmap* bitmap);
    bool HasPattern() const { return !Pattern.isNull(); }
};

// Text alignment flags: the reference point of TextOut.
enum TextAlignFlag : unsigned {
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

// DrawText flags.
enum DrawTextFlag : unsigned {
    DT_LEFT = 0x0,
    DT_TOP = 0x0,
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOCLIP = 0x100,
    DT_CALCRECT = 0x400,
    DT_NOPREFIX = 0x800,
};

struct TTextMetric {
    int Height = 0; // ascent + descent
    int Ascent = 0;
    int Descent = 0;
    int InternalLeading = 0;
    int ExternalLeading = 0;
    int AveCharWidth = 0;
};

class TCanvas {
public:
    // Draws on the given image, which must outlive the canvas (its owner
    // replaces the image's contents, never the object).
    explicit TCanvas(QImage* target);
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TRasterOp CopyMode = SRCCOPY;

    const QImage& Image() const { return *target_; }
    int Width() const { return target_->width(); }
    int Height() const { return target_->height(); }
    TRect ClipRect() const;

    // Told the rectangle of every change, so a control can show it.
    void SetChangeHook(std::function<void(const TRect&)> hook) { changed_ = std::move(hook); }

    // Drawing state, saved and restored as a whole.
    void Save();
    void Restore();

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    TPoint PenPos() const { return penPos_; }
    void MoveTo(int x, int y);
    // From the pen position to (x, y); (x, y) itself is not drawn.
    void LineTo(int x, int y);
    void Polyline(const std::vector<TPoint>& points);
    // Filled with the brush (alternate fill), outlined with the pen.
    void Polygon(const std::vector<TPoint>& points);
    // Outlined with the pen inside the rectangle, filled with the brush.
    void Rectangle(const TRect& rect);
    void FillRect(const TRect& rect);
    // A one-pixel frame in the brush colour.
    void FrameRect(const TRect& rect);
    // Inverts a dotted frame; drawing it twice restores the pixels.
    void DrawFocusRect(const TRect& rect);

    // Clipping: nothing outside the region is touched; nullopt clips to the
    // whole image.
    void SetClipRegion(const std::optional<TRegion>& region);
    const std::optional<TRegion>& ClipRegion() const { return clip_; }
    void FillRgn(const TRegion& region, const TBrush& brush);
    void PaintRgn(const TRegion& region) { FillRgn(region, Brush); }
    // A frame of width w and height h inside the region's edge.
    void FrameRgn(const TRegion& region, const TBrush& brush, int w, int h);

    void SetTextAlign(unsigned flags) { textAlign_ = flags; }
    unsigned TextAlign() const { return textAlign_; }
    // Text with the font's escapement around (x, y); the background is the
    // brush colour unless the brush is clear.
    void TextOut(int x, int y, const QString& text);
    // As TextOut, clipped to the rectangle, which is filled first unless the
    // brush is clear.
    void TextRect(const TRect& rect, int x, int y, const QString& text);
    // Multi-line text in a rectangle; returns the height of the text. With
    // DT_CALCRECT only the rectangle is adjusted.
    int DrawText(const QString& text, TRect& rect, unsigned flags);
    // Unrotated extent of the text in the current font.
    TSize TextExtent(const QString& text) const;
    int TextWidth(const QString& text) const { return TextExtent(text).Width; }
    int TextHeight(const QString& text) const { return TextExtent(text).Height; }
    TTextMetric TextMetrics() const;

    // Bit-block transfers: every pixel combined from brush pattern, source
    // and destination by the raster operation.
    void BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy, TRasterOp rop);
    void BitBlt(int x, int y, int w, int h, const TCanvas& source, int sx, int sy, TRasterOp rop) {
        BitBlt(x, y, w, h, source.Image(), sx, sy, rop);
    }
    // Stretching by dropping or repeating pixels.
    void StretchBlt(const TRect& dest, const QImage& source, const TRect& src, TRasterOp rop);
    void StretchBlt(const TRect& dest, const TCanvas& source, const TRect& src, TRasterOp rop) {
        StretchBlt(dest, source.Image(), src, rop);
    }
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& src);
    // Draws a bitmap, leaving its transparent colour out when it is transparent.
    void Draw(int x, int y, const TBitmap& bitmap);
    void StretchDraw(const TRect& dest, const TBitmap& bitmap);
    // Copies src of the bitmap to dest, the pixels of colour taking the brush
    // colour instead.
    void BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& src, TColor color);
    // Copies the bitmap's pixels that are not of colour; the others keep the
    // destination. Done with a mask and exclusive-or and and-not operations.
    void MaskedCopy(int x, int y, const TBitmap& bitmap, TColor color);
    // Only the pattern and destination: PATCOPY, PATINVERT, DSTINVERT, ...
    void PatBlt(const TRect& rect, TRasterOp rop);

private:
    struct State {
        TPen Pen;
        TBrush Brush;
        TFont Font;
        TRasterOp CopyMode;
        std::optional<TRegion> Clip;
        unsigned TextAlign;
        TPoint PenPos;
    };

    bool Visible(int x, int y) const;
    void Plot(int x, int y, std::uint32_t pixel);
    void PlotPen(int x, int y, std::uint32_t pixel);
    std::uint32_t PatternAt(const TBrush& brush, int x, int y) const;
    void FillRegionWith(const QRegion& region, const TBrush& brush);
    void Changed(const TRect& rect) const;
    QRegion Clipped(const QRegion& region) const;
    void DrawLine(int x0, int y0, int x1, int y1);
    void DrawTextRun(int x, int y, const QString& text, const std::optional<TRect>& clip,
                     bool opaque);

    QImage* target_;
    std::optional<TRegion> clip_;
    unsigned textAlign_ = TA_LEFT | TA_TOP;
    TPoint penPos_;
    int dashPhase_ = 0;
    std::vector<State> saved_;
    std::function<void(const TRect&)> changed_;
};

} // namespace wt
