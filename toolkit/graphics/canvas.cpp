#include "toolkit/graphics/canvas.h"

#include "toolkit/graphics/bitmap.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTransform>

#include <algorithm>
#include <cstdlib>

namespace wt {
namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }
TRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

TRect Normalized(const TRect& r) {
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

// Rounds n / d (d > 0) to the nearest integer; exact halves go down when
// downOnTie is set, up otherwise.
int RoundRatio(long long n, long long d, bool downOnTie) {
    const long long twice = 2 * n;
    if (downOnTie) {
        // ceil((2n - d) / 2d)
        const long long num = twice - d, den = 2 * d;
        return static_cast<int>(num >= 0 ? (num + den - 1) / den : -((-num) / den));
    }
    // floor((2n + d) / 2d)
    const long long num = twice + d, den = 2 * d;
    return static_cast<int>(num >= 0 ? num / den : -((-num + den - 1) / den));
}

// On/off runs of the cosmetic pen styles, in pixels.
std::vector<int> DashPattern(TPenStyle style) {
    switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
    }
}

bool DashOn(const std::vector<int>& pattern, int phase) {
    int total = 0;
    for (int run : pattern)
        total += run;
    int pos = phase % total;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i])
            return i % 2 == 0;
        pos -= pattern[i];
    }
    return true;
}

QImage As32Bit(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied: return image;
    default: return image.convertToFormat(QImage::Format_RGB32);
    }
}

// Nearest-pixel resampling of src to the given size, as a stretching copy
// that drops or repeats rows and columns.
QImage Resampled(const QImage& source, const TRect& src, int width, int height) {
    QImage out(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    const int sw = src.Width(), sh = src.Height();
    for (int y = 0; y < out.height(); ++y) {
        const int sy = src.Top + static_cast<int>(static_cast<long long>(y) * sh / height);
        auto* line = reinterpret_cast<std::uint32_t*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int sx = src.Left + static_cast<int>(static_cast<long long>(x) * sw / width);
            line[x] = source.valid(sx, sy) ? source.pixel(sx, sy) | kOpaque : kOpaque;
        }
    }
    return out;
}

struct Prefixed {
    QString Text;
    int Underline = -1; // index into Text of the accelerator character
};

// "&x" marks x as the accelerator, "&&" is a plain "&".
Prefixed StripPrefix(const QString& text) {
    Prefixed result;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            if (text[i] != QLatin1Char('&') && result.Underline < 0)
                result.Underline = static_cast<int>(result.Text.size());
        } else if (text[i] == QLatin1Char('&')) {
            continue; // a trailing "&" shows nothing
        }
        result.Text += text[i];
    }
    return result;
}

// Text as DrawText lays it out: widths with tabs advancing to the next stop,
// and the lines that paragraphs and (with DT_WORDBREAK) spaces make.
struct TextLayout {
    struct Line {
        int From, To; // [From, To) of the text
    };

    TextLayout(const QString& text, const QFontMetrics& metrics, bool expandTabs)
        : Text(text), Metrics(metrics), TabStop(std::max(1, metrics.averageCharWidth() * 8)),
          ExpandTabs(expandTabs) {}

    // Width of Text[from, to) as drawn.
    int Measure(int from, int to) const {
        int w = 0, start = from;
        for (int i = from; i < to; ++i) {
            if (ExpandTabs && Text[i] == QLatin1Char('\t')) {
                w += Metrics.horizontalAdvance(Text.mid(start, i - start));
                w = (w / TabStop + 1) * TabStop;
                start = i + 1;
            }
        }
        return w + Metrics.horizontalAdvance(Text.mid(start, to - start));
    }

    std::vector<Line> Lines(unsigned flags, int maxWidth) const {
        std::vector<Line> lines;
        const int n = static_cast<int>(Text.size());
        int pos = 0;
        while (pos <= n) {
            int end = pos;
            if (flags & DT_SINGLELINE)
                end = n;
            else
                while (end < n && Text[end] != QLatin1Char('\n') && Text[end] != QLatin1Char('\r'))
                    ++end;
            int lineStart = pos;
            if ((flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE))
                lineStart = BreakAtSpaces(pos, end, maxWidth, lines);
            lines.push_back({lineStart, end});
            if (end >= n)
                break;
            pos = end + 1;
            if (Text[end] == QLatin1Char('\r') && pos < n && Text[pos] == QLatin1Char('\n'))
                ++pos;
        }
        return lines;
    }

    // Breaks the paragraph [from, end) into lines at spaces, adding all but
    // the last; returns where the last begins.
    int BreakAtSpaces(int from, int end, int maxWidth, std::vector<Line>& lines) const {
        int lineStart = from;
        while (lineStart < end && Measure(lineStart, end) > maxWidth) {
            int lastFit = -1;
            for (int i = lineStart; i < end; ++i)
                if (Text[i] == QLatin1Char(' ') && Measure(lineStart, i) <= maxWidth)
                    lastFit = i;
            if (lastFit < 0) { // a word too long for the line stands alone
                lastFit = lineStart;
                while (lastFit < end && Text[lastFit] != QLatin1Char(' '))
                    ++lastFit;
                if (lastFit >= end)
                    break;
            }
            lines.push_back({lineStart, lastFit});
            lineStart = lastFit;
            while (lineStart < end && Text[lineStart] == QLatin1Char(' '))
                ++lineStart;
        }
        return lineStart;
    }

    const QString& Text;
    const QFontMetrics& Metrics;
    const int TabStop;
    const bool ExpandTabs;
};

} // namespace

void TBrush::SetBitmap(const TBitmap* bitmap) {
    Pattern = bitmap && !bitmap->Empty() ? bitmap->Image() : QImage();
}

TCanvas::TCanvas(QImage* target) : target_(target) {}

TRect TCanvas::ClipRect() const {
    const TRect all{0, 0, Width(), Height()};
    if (!clip_)
        return all;
    return FromQRect(clip_->Qt().boundingRect().intersected(ToQRect(all)));
}

void TCanvas::Save() { saved_.push_back({Pen, Brush, Font, CopyMode, clip_, textAlign_, penPos_}); }

void TCanvas::Restore() {
    if (saved_.empty())
        return;
    const State s = saved_.back();
    saved_.pop_back();
    Pen = s.Pen;
    Brush = s.Brush;
    Font = s.Font;
    CopyMode = s.CopyMode;
    clip_ = s.Clip;
    textAlign_ = s.TextAlign;
    penPos_ = s.PenPos;
}

bool TCanvas::Visible(int x, int y) const {
    if (x < 0 || y < 0 || x >= target_->width() || y >= target_->height())
        return false;
    return !clip_ || clip_->Contains(x, y);
}

void TCanvas::Plot(int x, int y, std::uint32_t pixel) {
    if (Visible(x, y))
        reinterpret_cast<std::uint32_t*>(target_->scanLine(y))[x] = pixel | kOpaque;
}

void TCanvas::PlotPen(int x, int y, std::uint32_t pixel) {
    if (Pen.Width <= 1) {
        Plot(x, y, pixel);
        return;
    }
    const int lo = -(Pen.Width / 2);
    for (int dy = lo; dy < lo + Pen.Width; ++dy)
        for (int dx = lo; dx < lo + Pen.Width; ++dx)
            Plot(x + dx, y + dy, pixel);
}

TColor TCanvas::Pixel(int x, int y) const {
    if (!target_->valid(x, y))
        return clNone;
    return FromPixel(target_->pixel(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    Plot(x, y, ColorToPixel(color));
    Changed({x, y, x + 1, y + 1});
}

std::uint32_t TCanvas::PatternAt(const TBrush& brush, int x, int y) const {
    if (!brush.HasPattern())
        return ColorToPixel(brush.Color);
    const int w = brush.Pattern.width(), h = brush.Pattern.height();
    return brush.Pattern.pixel(((x % w) + w) % w, ((y % h) + h) % h);
}

QRegion TCanvas::Clipped(const QRegion& region) const {
    QRegion r = region.intersected(QRect(0, 0, target_->width(), target_->height()));
    if (clip_)
        r = r.intersected(clip_->Qt());
    return r;
}

void TCanvas::Changed(const TRect& rect) const {
    if (changed_ && rect.Right > rect.Left && rect.Bottom > rect.Top)
        changed_(rect);
}

void TCanvas::FillRegionWith(const QRegion& region, const TBrush& brush) {
    if (brush.Style == bsClear && !brush.HasPattern())
        return;
    const QRegion visible = Clipped(region);
    // A solid brush is one pixel value: resolve its colour once, not per pixel.
    const bool solid = !brush.HasPattern();
    const std::uint32_t fill = solid ? ColorToPixel(brush.Color) | kOpaque : 0u;
    for (const QRect& r : visible) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(target_->scanLine(y));
            if (solid) {
                std::fill(line + r.left(), line + r.right() + 1, fill);
                continue;
            }
            for (int x = r.left(); x <= r.right(); ++x)
                line[x] = PatternAt(brush, x, y) | kOpaque;
        }
    }
    Changed(FromQRect(visible.boundingRect()));
}

void TCanvas::MoveTo(int x, int y) {
    penPos_ = {x, y};
    dashPhase_ = 0;
}

void TCanvas::LineTo(int x, int y) {
    DrawLine(penPos_.X, penPos_.Y, x, y);
    penPos_ = {x, y};
}

// The line from (x0, y0) up to but without (x1, y1): one pixel per step along
// the major axis, the minor coordinate rounded to the nearest pixel centre.
// An exact half (the line passing through a corner of two pixels' diamonds)
// goes to the smaller y on lines that run along x and to the larger x on
// lines that run along y, so a line and its reverse light the same pixels
// between their end points.
void TCanvas::DrawLine(int x0, int y0, int x1, int y1) {
    if (Pen.Style == psClear)
        return;
    const int dx = x1 - x0, dy = y1 - y0;
    const int adx = std::abs(dx), ady = std::abs(dy);
    const int steps = std::max(adx, ady);
    if (steps == 0)
        return;
    const std::uint32_t pixel = ColorToPixel(Pen.Color);
    const std::vector<int> dashes = Pen.Width <= 1 ? DashPattern(Pen.Style) : std::vector<int>{};
    int minX = x0, maxX = x0, minY = y0, maxY = y0;
    for (int i = 0; i < steps; ++i) {
        int x, y;
        if (adx >= ady) {
            x = x0 + (dx > 0 ? i : -i);
            y = y0 + RoundRatio(static_cast<long long>(i) * dy, adx, true);
        } else {
            y = y0 + (dy > 0 ? i : -i);
            x = x0 + RoundRatio(static_cast<long long>(i) * dx, ady, false);
        }
        if (dashes.empty() || DashOn(dashes, dashPhase_))
            PlotPen(x, y, pixel);
        ++dashPhase_;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    const int grow = Pen.Width / 2 + 1;
    Changed({minX - grow, minY - grow, maxX + grow + 1, maxY + grow + 1});
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    if (points.empty())
        return;
    MoveTo(points[0].X, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].X, points[i].Y);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    if (points.size() < 2)
        return;
    FillRegionWith(TRegion::FromPolygon(points).Qt(), Brush);
    const TPoint saved = penPos_;
    Polyline(points);
    LineTo(points[0].X, points[0].Y);
    penPos_ = saved;
}

void TCanvas::Rectangle(const TRect& rect) {
    const TRect r = Normalized(rect);
    if (r.Width() == 0 || r.Height() == 0)
        return;
    if (Pen.Style == psClear) {
        FillRegionWith(ToQRect({r.Left, r.Top, r.Right - 1, r.Bottom - 1}), Brush);
        return;
    }
    const int w = std::max(1, Pen.Width);
    FillRegionWith(ToQRect({r.Left + w, r.Top + w, r.Right - w, r.Bottom - w}), Brush);
    const TPoint saved = penPos_;
    if (w == 1) {
        MoveTo(r.Left, r.Top);
        LineTo(r.Right - 1, r.Top);
        LineTo(r.Right - 1, r.Bottom - 1);
        LineTo(r.Left, r.Bottom - 1);
        LineTo(r.Left, r.Top);
        if (r.Width() == 1 || r.Height() == 1) // a degenerate ring has no return stroke
            Plot(r.Right - 1, r.Bottom - 1, ColorToPixel(Pen.Color));
    } else {
        const QRegion ring =
            QRegion(ToQRect(r))
                .subtracted(ToQRect({r.Left + w, r.Top + w, r.Right - w, r.Bottom - w}));
        TBrush pen;
        pen.Color = Pen.Color;
        FillRegionWith(ring, pen);
    }
    penPos_ = saved;
}

void TCanvas::FillRect(const TRect& rect) { FillRegionWith(ToQRect(Normalized(rect)), Brush); }

void TCanvas::FrameRect(const TRect& rect) {
    const TRect r = Normalized(rect);
    const QRegion ring =
        QRegion(ToQRect(r)).subtracted(ToQRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}));
    FillRegionWith(ring, Brush);
}

void TCanvas::DrawFocusRect(const TRect& rect) {
    const TRect r = Normalized(rect);
    if (r.Width() == 0 || r.Height() == 0)
        return;
    // Each frame pixel once, so that a second call undoes the first.
    QRegion frame(ToQRect({r.Left, r.Top, r.Right, r.Top + 1}));
    frame += ToQRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    frame += ToQRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1});
    frame += ToQRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1});
    const QRegion visible = Clipped(frame);
    for (const QRect& q : visible) {
        for (int y = q.top(); y <= q.bottom(); ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(target_->scanLine(y));
            for (int x = q.left(); x <= q.right(); ++x)
                if ((x + y) % 2 == 0)
                    line[x] = (line[x] ^ 0xFFFFFFu) | kOpaque;
        }
    }
    Changed(r);
}

void TCanvas::SetClipRegion(const std::optional<TRegion>& region) { clip_ = region; }

void TCanvas::FillRgn(const TRegion& region, const TBrush& brush) {
    FillRegionWith(region.Qt(), brush);
}

void TCanvas::FrameRgn(const TRegion& region, const TBrush& brush, int w, int h) {
    // The pixels of the region that lie within w columns or h rows of a pixel
    // outside it.
    QRegion inner = region.Qt();
    for (int k = 1; k <= std::max(0, w); ++k)
        inner = inner.intersected(region.Qt().translated(k, 0))
                    .intersected(region.Qt().translated(-k, 0));
    for (int k = 1; k <= std::max(0, h); ++k)
        inner = inner.intersected(region.Qt().translated(0, k))
                    .intersected(region.Qt().translated(0, -k));
    FillRegionWith(region.Qt().subtracted(inner), brush);
}

TTextMetric TCanvas::TextMetrics() const {
    const QFont f = ToQFont(Font);
    const QFontMetrics fm(f);
    TTextMetric tm;
    tm.Ascent = fm.ascent();
    tm.Descent = fm.descent();
    tm.Height = tm.Ascent + tm.Descent;
    tm.InternalLeading = std::max(0, tm.Height - f.pixelSize());
    tm.ExternalLeading = std::max(0, fm.leading());
    tm.AveCharWidth = fm.averageCharWidth();
    return tm;
}

TSize TCanvas::TextExtent(const QString& text) const {
    const QFontMetrics fm(ToQFont(Font));
    return {fm.horizontalAdvance(text), fm.ascent() + fm.descent()};
}

void TCanvas::DrawTextRun(int x, int y, const QString& text, const std::optional<TRect>& clip,
                          bool opaque) {
    if (text.isEmpty())
        return;
    const QFont f = ToQFont(Font);
    const QFontMetrics fm(f);
    const int width = fm.horizontalAdvance(text);
    const int ascent = fm.ascent(), descent = fm.descent();
    int left = 0;
    if ((textAlign_ & TA_CENTER) == TA_CENTER)
        left = -width / 2;
    else if (textAlign_ & TA_RIGHT)
        left = -width;
    int baseline = ascent;
    if ((textAlign_ & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (textAlign_ & TA_BOTTOM)
        baseline = -descent;

    QRegion region = Clipped(QRect(0, 0, target_->width(), target_->height()));
    if (clip)
        region = region.intersected(ToQRect(*clip));
    if (region.isEmpty())
        return;

    QTransform transform;
    transform.translate(x, y);
    transform.rotate(-Font.Escapement / 10.0);
    const QRect cell(left, baseline - ascent, width, ascent + descent);

    QPainter painter(target_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setClipRegion(region);
    painter.setTransform(transform);
    if (opaque)
        painter.fillRect(cell, ToQColor(Brush.Color));
    painter.setFont(f);
    painter.setPen(ToQColor(Font.Color));
    painter.drawText(left, baseline, text);
    painter.end();
    Changed(FromQRect(transform.mapRect(cell).adjusted(-2, -2, 2, 2)));
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    DrawTextRun(x, y, text, std::nullopt, Brush.Style != bsClear);
}

void TCanvas::TextRect(const TRect& rect, int x, int y, const QString& text) {
    if (Brush.Style != bsClear)
        FillRect(rect);
    DrawTextRun(x, y, text, Normalized(rect), false);
}

int TCanvas::DrawText(const QString& text, TRect& rect, unsigned flags) {
    const Prefixed source = (flags & DT_NOPREFIX) ? Prefixed{text, -1} : StripPrefix(text);
    const QString& s = source.Text;
    const QFontMetrics fm(ToQFont(Font));
    const TextLayout layout(s, fm, (flags & DT_EXPANDTABS) != 0);
    const int lineHeight = fm.ascent() + fm.descent();
    const int tabStop = layout.TabStop;
    const bool expandTabs = layout.ExpandTabs;
    auto measure = [&layout](int from, int to) { return layout.Measure(from, to); };
    using Line = TextLayout::Line;
    const std::vector<Line> lines = layout.Lines(flags, rect.Width());

    const int height = lineHeight * static_cast<int>(lines.size());
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const Line& l : lines)
            widest = std::max(widest, measure(l.From, l.To));
        if (!(flags & DT_WORDBREAK) || widest > 0)
            rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + height;
        return height;
    }

    int y = rect.Top;
    if (flags & DT_SINGLELINE) {
        if (flags & DT_VCENTER)
            y = rect.Top + (rect.Height() - lineHeight) / 2;
        else if (flags & DT_BOTTOM)
            y = rect.Bottom - lineHeight;
    }
    const std::optional<TRect> clip =
        (flags & DT_NOCLIP) ? std::nullopt : std::optional<TRect>(Normalized(rect));
    const bool opaque = Brush.Style != bsClear;
    const unsigned savedAlign = textAlign_;
    const int savedEscapement = Font.Escapement;
    textAlign_ = TA_LEFT | TA_TOP;
    Font.Escapement = 0;
    for (const Line& l : lines) {
        const int w = measure(l.From, l.To);
        int x = rect.Left;
        if (flags & DT_CENTER)
            x = rect.Left + (rect.Width() - w) / 2;
        else if (flags & DT_RIGHT)
            x = rect.Right - w;
        // Draw in runs split at tabs and at the accelerator character.
        int start = l.From;
        int cx = x;
        auto flush = [&](int to) {
            if (to > start) {
                DrawTextRun(cx, y, s.mid(start, to - start), clip, opaque);
                cx += fm.horizontalAdvance(s.mid(start, to - start));
            }
            start = to;
        };
        for (int i = l.From; i < l.To; ++i) {
            if (expandTabs && s[i] == QLatin1Char('\t')) {
                flush(i);
                cx = x + ((cx - x) / tabStop + 1) * tabStop;
                start = i + 1;
            } else if (i == source.Underline) {
                flush(i);
                const TFontStyles style = Font.Style;
                Font.Set(fsUnderline, true);
                flush(i + 1);
                Font.Style = style;
            }
        }
        flush(l.To);
        y += lineHeight;
    }
    textAlign_ = savedAlign;
    Font.Escapement = savedEscapement;
    return height;
}

void TCanvas::BitBlt(int x, int y, int w, int h, const QImage& source, int sx, int sy,
                     TRasterOp rop) {
    if (w <= 0 || h <= 0)
        return;
    const bool usesSource = RopUsesSource(rop);
    const bool usesPattern = RopUsesPattern(rop);
    // A shared copy: writing to our image detaches it, so a source that is our
    // own image is read as it was before the transfer.
    const QImage s = usesSource ? As32Bit(source) : QImage();
    const QRegion visible = Clipped(QRect(x, y, w, h));
    const std::uint32_t solidBrush =
        usesPattern && !Brush.HasPattern() ? ColorToPixel(Brush.Color) : 0u;
    for (const QRect& r : visible) {
        for (int dy = r.top(); dy <= r.bottom(); ++dy) {
            auto* line = reinterpret_cast<std::uint32_t*>(target_->scanLine(dy));
            const int srcY = sy + (dy - y);
            const std::uint32_t* srcLine =
                (usesSource && srcY >= 0 && srcY < s.height())
                    ? reinterpret_cast<const std::uint32_t*>(s.constScanLine(srcY))
                    : nullptr;
            for (int dx = r.left(); dx <= r.right(); ++dx) {
                const int srcX = sx + (dx - x);
                const std::uint32_t sp =
                    (srcLine && srcX >= 0 && srcX < s.width()) ? srcLine[srcX] : 0u;
                const std::uint32_t pp = !usesPattern         ? 0u
                                         : Brush.HasPattern() ? PatternAt(Brush, dx, dy)
                                                              : solidBrush;
                line[dx] = (ApplyRop(rop, pp, sp, line[dx]) & 0xFFFFFFu) | kOpaque;
            }
        }
    }
    Changed(FromQRect(visible.boundingRect()));
}

void TCanvas::StretchBlt(const TRect& dest, const QImage& source, const TRect& src, TRasterOp rop) {
    const TRect d = Normalized(dest);
    const TRect s = Normalized(src);
    if (d.Width() == 0 || d.Height() == 0 || s.Width() == 0 || s.Height() == 0)
        return;
    if (d.Width() == s.Width() && d.Height() == s.Height()) {
        BitBlt(d.Left, d.Top, d.Width(), d.Height(), source, s.Left, s.Top, rop);
        return;
    }
    const QImage scaled = Resampled(As32Bit(source), s, d.Width(), d.Height());
    BitBlt(d.Left, d.Top, d.Width(), d.Height(), scaled, 0, 0, rop);
}

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& src) {
    StretchBlt(dest, source.Image(), src, CopyMode);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    if (bitmap.Transparent())
        MaskedCopy(x, y, bitmap, bitmap.TransparentColor());
    else
        BitBlt(x, y, bitmap.Width(), bitmap.Height(), bitmap.Image(), 0, 0, CopyMode);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bitmap) {
    if (bitmap.Empty())
        return;
    const TRect d = Normalized(dest);
    if (d.Width() == bitmap.Width() && d.Height() == bitmap.Height()) {
        Draw(d.Left, d.Top, bitmap);
        return;
    }
    TBitmap scaled;
    scaled.SetImage(
        Resampled(bitmap.Image(), {0, 0, bitmap.Width(), bitmap.Height()}, d.Width(), d.Height()));
    scaled.SetTransparent(bitmap.Transparent());
    scaled.SetTransparentColor(bitmap.TransparentColor());
    Draw(d.Left, d.Top, scaled);
}

void TCanvas::BrushCopy(const TRect& dest, const TBitmap& bitmap, const TRect& src, TColor color) {
    const TRect d = Normalized(dest);
    if (bitmap.Empty() || d.Width() == 0 || d.Height() == 0 || src.Width() == 0 ||
        src.Height() == 0)
        return;
    QImage scaled = Resampled(bitmap.Image(), Normalized(src), d.Width(), d.Height());
    const std::uint32_t key = ColorToPixel(color) & 0xFFFFFFu;
    const std::uint32_t fill = ColorToPixel(Brush.Color);
    for (int y = 0; y < scaled.height(); ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(scaled.scanLine(y));
        for (int x = 0; x < scaled.width(); ++x)
            if ((line[x] & 0xFFFFFFu) == key)
                line[x] = fill;
    }
    BitBlt(d.Left, d.Top, d.Width(), d.Height(), scaled, 0, 0, SRCCOPY);
}

void TCanvas::MaskedCopy(int x, int y, const TBitmap& bitmap, TColor color) {
    if (bitmap.Empty())
        return;
    const int w = bitmap.Width(), h = bitmap.Height();
    // White where the bitmap shows the background colour, then inverted.
    TBitmap mask = bitmap.CreateMask(color);
    mask.Canvas().BitBlt(0, 0, w, h, mask.Image(), 0, 0, NOTSRCCOPY);
    BitBlt(x, y, w, h, bitmap.Image(), 0, 0, SRCINVERT); // D ^ S
    BitBlt(x, y, w, h, mask.Image(), 0, 0, DSna);        // background: D ^ S, image: 0
    BitBlt(x, y, w, h, bitmap.Image(), 0, 0, SRCINVERT); // background: D, image: S
}

void TCanvas::PatBlt(const TRect& rect, TRasterOp rop) {
    const TRect r = Normalized(rect);
    BitBlt(r.Left, r.Top, r.Width(), r.Height(), QImage(), 0, 0, rop);
}

} // namespace wt
