#include "toolkit/graphics/font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>

#include <algorithm>
#include <cmath>

namespace wt {
namespace {

// The forms name the faces of the system they were drawn on. "MS Sans
// Serif" has no metric twin here and fontconfig falls back to a much wider
// face that cuts captions at their laid-out widths; the Arial metrics of
// Liberation Sans come closest. Installed once, before the first font.
void SubstituteWindowsFaces() {
    static const bool done = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                    QStringLiteral("Nimbus Sans")});
        return true;
    }();
    (void)done;
}

QFont BaseFont(const TFont& font, int pixelSize) {
    SubstituteWindowsFaces();
    QFont f(font.Name);
    f.setPixelSize(std::max(1, pixelSize));
    f.setBold(font.Has(fsBold));
    f.setItalic(font.Has(fsItalic));
    f.setUnderline(font.Has(fsUnderline));
    f.setStrikeOut(font.Has(fsStrikeOut));
    f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setKerning(false);
    return f;
}

} // namespace

int TFont::Size() const {
    const int h = Height < 0 ? -Height : Height;
    return (h * 72 + kPixelsPerInch / 2) / kPixelsPerInch;
}

void TFont::SetSize(int points) { Height = -((points * kPixelsPerInch + 36) / 72); }

QFont ToQFont(const TFont& font) {
    if (font.Height < 0)
        return BaseFont(font, -font.Height);
    if (font.Height == 0) // the face's default height
        return BaseFont(font, 13);
    // A cell height: the character height is four fifths of it.
    return BaseFont(font, static_cast<int>(std::lround(font.Height * 4.0 / 5.0)));
}

bool IsTrueTypeFont(const TFont& font) {
    if (!qGuiApp)
        return false;
    const QFont f = ToQFont(font);
    const QFontInfo info(f);
    if (info.family().compare(font.Name, Qt::CaseInsensitive) != 0)
        return false;
    return QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
}

} // namespace wt

namespace wt {

TFont CreateFontIndirect(const TLogFont& record, TColor color) {
    TFont font;
    font.Name = record.FaceName;
    font.Height = record.Height;
    font.Escapement = record.Escapement;
    font.Color = color;
    font.Set(fsBold, record.Weight >= 700);
    font.Set(fsItalic, record.Italic);
    font.Set(fsUnderline, record.Underline);
    font.Set(fsStrikeOut, record.StrikeOut);
    return font;
}

} // namespace wt
