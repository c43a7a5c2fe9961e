// The glyph of bitmap and speed buttons: a bitmap of one to four images side
// by side (up, disabled, clicked, down), its bottom-left pixel's colour
// transparent, drawn with the caption beside, above or below it.
#pragma once

#include "toolkit/graphics/bitmap.h"

#include <QImage>
#include <QObject>
#include <QString>

class QPainter;
class QPalette;
class QRect;

namespace wt {

class TButtonGlyph {
    Q_GADGET
public:
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TButtonLayout)
    enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

    const TBitmap& Glyph() const { return glyph_; }
    void SetGlyph(const TBitmap& glyph) { glyph_ = glyph; }
    // 1 to 4 images; other values are brought into that range.
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    // Where the glyph stands beside the caption, how far from the edge (-1:
    // centred with the caption) and from the caption. Each setter answers
    // whether anything changed; a margin under -1 is refused.
    TButtonLayout Layout() const { return layout_; }
    bool SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    bool SetMargin(int value);
    int Spacing() const { return spacing_; }
    bool SetSpacing(int value);

    // The image shown in a state, with its transparent pixels cleared. A
    // state without its own image falls back to the up image (disabled: an
    // embossed grey copy of it). Null when there is no glyph.
    QImage StateImage(TButtonState state) const;

    // Draws glyph and caption centred in rect (margin -1), or margin pixels
    // from the edge the glyph is on, spacing pixels apart; offset by one
    // pixel down and right while pressed.
    void Draw(QPainter& painter, const QRect& rect, const QString& caption, const QPalette& palette,
              TButtonLayout layout, int margin, int spacing, TButtonState state) const;

private:
    TBitmap glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
};

using TButtonLayout = TButtonGlyph::TButtonLayout;

// The standard glyphs of the bitmap button kinds ("OK", "CANCEL", "HELP",
// "YES", "NO", "CLOSE", "ABORT", "RETRY", "IGNORE", "ALL"): two 18 x 18
// images, up and disabled, on a transparent background.
TBitmap StandardButtonGlyph(const QString& kind);

} // namespace wt
