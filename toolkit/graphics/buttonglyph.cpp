#include "toolkit/graphics/buttonglyph.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyle>
#include <QApplication>

#include <algorithm>

namespace wt {
namespace {

constexpr int kStandardSize = 18;
constexpr QRgb kKey = 0xFFFF00FF; // the standard glyphs' transparent colour

// Grey relief of an image: its dark pixels as highlight one pixel down and
// right, then as shadow, the look of disabled glyphs.
QImage Embossed(const QImage& up) {
    QImage out(up.size(), QImage::Format_ARGB32);
    out.fill(Qt::transparent);
    const QRgb highlight = QApplication::palette().color(QPalette::Light).rgb();
    const QRgb shadow = QApplication::palette().color(QPalette::Dark).rgb();
    auto dark = [&](int x, int y) {
        const QRgb p = up.pixel(x, y);
        return qAlpha(p) != 0 && qGray(p) < 192;
    };
    for (int y = 0; y < up.height(); ++y)
        for (int x = 0; x < up.width(); ++x)
            if (dark(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixel(x + 1, y + 1, highlight);
    for (int y = 0; y < up.height(); ++y)
        for (int x = 0; x < up.width(); ++x)
            if (dark(x, y))
                out.setPixel(x, y, shadow);
    return out;
}

} // namespace

void TButtonGlyph::SetNumGlyphs(int value) { numGlyphs_ = std::clamp(value, 1, 4); }

bool TButtonGlyph::SetLayout(TButtonLayout value) {
    if (value == layout_)
        return false;
    layout_ = value;
    return true;
}

bool TButtonGlyph::SetMargin(int value) {
    if (value == margin_ || value < -1)
        return false;
    margin_ = value;
    return true;
}

bool TButtonGlyph::SetSpacing(int value) {
    if (value == spacing_)
        return false;
    spacing_ = value;
    return true;
}

QImage TButtonGlyph::StateImage(TButtonState state) const {
    if (glyph_.Empty())
        return {};
    const QImage whole = glyph_.Image().convertToFormat(QImage::Format_ARGB32);
    const int count = std::min(numGlyphs_, std::max(1, whole.width()));
    const int w = whole.width() / count;
    const QRgb transparent = whole.pixel(0, whole.height() - 1);
    auto cut = [&](int index) {
        QImage part = whole.copy(index * w, 0, w, whole.height());
        for (int y = 0; y < part.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(part.scanLine(y));
            for (int x = 0; x < part.width(); ++x)
                if ((line[x] | 0xFF000000u) == (transparent | 0xFF000000u))
                    line[x] = 0;
        }
        return part;
    };
    const int index = static_cast<int>(state);
    if (index < count)
        return cut(index);
    if (state == bsDisabled)
        return Embossed(cut(0));
    return cut(0);
}

void TButtonGlyph::Draw(QPainter& painter, const QRect& rect, const QString& caption,
                        const QPalette& palette, TButtonLayout layout, int margin, int spacing,
                        TButtonState state) const {
    const QImage image = StateImage(state);
    const QFontMetrics fm(painter.font());
    const QString shown = QString(caption)
                              .replace(QStringLiteral("&&"), QStringLiteral("\x01"))
                              .remove(u'&')
                              .replace(u'\x01', u'&');
    const QSize text =
        caption.isEmpty() ? QSize(0, 0) : QSize(fm.horizontalAdvance(shown), fm.height());
    const QSize glyph = image.isNull() ? QSize(0, 0) : image.size();
    if (text.isEmpty() || glyph.isEmpty())
        spacing = 0;

    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    const int extent = horizontal ? rect.width() : rect.height();
    const int total = horizontal ? glyph.width() + spacing + text.width()
                                 : glyph.height() + spacing + text.height();
    if (margin < 0)
        margin = (extent - total) / 2;

    QPoint glyphPos, textPos;
    if (horizontal) {
        glyphPos.setY((rect.height() - glyph.height()) / 2);
        textPos.setY((rect.height() - text.height()) / 2);
        if (layout == blGlyphLeft) {
            glyphPos.setX(margin);
            textPos.setX(margin + glyph.width() + spacing);
        } else {
            glyphPos.setX(rect.width() - margin - glyph.width());
            textPos.setX(glyphPos.x() - spacing - text.width());
        }
    } else {
        glyphPos.setX((rect.width() - glyph.width()) / 2);
        textPos.setX((rect.width() - text.width()) / 2);
        if (layout == blGlyphTop) {
            glyphPos.setY(margin);
            textPos.setY(margin + glyph.height() + spacing);
        } else {
            glyphPos.setY(rect.height() - margin - glyph.height());
            textPos.setY(glyphPos.y() - spacing - text.height());
        }
    }
    QPoint offset = rect.topLeft();
    if (state == bsDown || state == bsExclusive)
        offset += QPoint(1, 1);
    if (!image.isNull())
        painter.drawImage(glyphPos + offset, image);
    if (!caption.isEmpty()) {
        const QRect textRect(textPos + offset, text);
        QApplication::style()->drawItemText(&painter, textRect,
                                            Qt::AlignCenter | Qt::TextShowMnemonic, palette,
                                            state != bsDisabled, caption, QPalette::ButtonText);
    }
}

TBitmap StandardButtonGlyph(const QString& kind) {
    const QString k = kind.toUpper();
    QImage image(kStandardSize * 2, kStandardSize, QImage::Format_ARGB32);
    image.fill(kKey);
    for (int part = 0; part < 2; ++part) {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(part * kStandardSize, 0);
        const bool disabled = part == 1;
        auto colour = [&](QColor c) { return disabled ? QColor(128, 128, 128) : c; };
        QPen pen(colour(Qt::black), 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        if (k == QLatin1String("OK") || k == QLatin1String("YES") || k == QLatin1String("ALL")) {
            pen.setColor(colour(QColor(0, 128, 0)));
            p.setPen(pen);
            p.drawPolyline(QPolygon({QPoint(3, 9), QPoint(7, 13), QPoint(15, 4)}));
            if (k == QLatin1String("ALL"))
                p.drawPolyline(QPolygon({QPoint(3, 4), QPoint(5, 6), QPoint(9, 2)}));
        } else if (k == QLatin1String("CANCEL") || k == QLatin1String("NO") ||
                   k == QLatin1String("ABORT")) {
            pen.setColor(colour(QColor(192, 0, 0)));
            p.setPen(pen);
            p.drawLine(4, 4, 13, 13);
            p.drawLine(13, 4, 4, 13);
        } else if (k == QLatin1String("HELP")) {
            QFont f(QStringLiteral("Arial"));
            f.setPixelSize(16);
            f.setBold(true);
            p.setFont(f);
            p.setPen(colour(QColor(0, 0, 160)));
            p.drawText(QRect(0, 0, kStandardSize, kStandardSize), Qt::AlignCenter,
                       QStringLiteral("?"));
        } else if (k == QLatin1String("CLOSE")) {
            p.setPen(QPen(colour(Qt::black), 1));
            p.setBrush(colour(QColor(128, 128, 0)));
            p.drawRect(5, 2, 8, 13);
            p.setBrush(colour(Qt::black));
            p.drawRect(10, 8, 1, 1);
        } else if (k == QLatin1String("RETRY")) {
            pen.setWidth(2);
            pen.setColor(colour(QColor(0, 128, 0)));
            p.setPen(pen);
            p.drawArc(3, 3, 12, 12, 90 * 16, 270 * 16);
            p.drawLine(9, 3, 12, 1);
            p.drawLine(9, 3, 12, 6);
        } else if (k == QLatin1String("IGNORE")) {
            p.setPen(QPen(colour(QColor(0, 0, 160)), 2));
            p.drawLine(9, 3, 9, 11);
            p.drawLine(9, 14, 9, 15);
        }
        p.end();
    }
    // The bottom-left pixel stays the transparent colour.
    image.setPixel(0, kStandardSize - 1, kKey);
    TBitmap bitmap;
    bitmap.SetImage(image);
    return bitmap;
}

} // namespace wt
