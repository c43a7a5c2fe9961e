// Fonts as controls and forms carry them: a value with a face name, a height
// in the class library's convention (negative: character height in pixels,
// positive: cell height), a style set and a colour, streamed as Font.Name etc.
#pragma once

#include "toolkit/graphics/colors.h"
#include "toolkit/core/enums.h"

#include <QFont>
#include <QObject>
#include <QString>

namespace wt {

// Screen resolution font heights and sizes are counted in.
inline constexpr int kPixelsPerInch = 96;

struct TFont {
    Q_GADGET
    Q_PROPERTY(QString Name MEMBER Name)
    Q_PROPERTY(int Height MEMBER Height)
    Q_PROPERTY(wt::ui::TFontStyles Style MEMBER Style)
    Q_PROPERTY(int Color MEMBER Color)

public:
    QString Name = QStringLiteral("MS Sans Serif");
    int Height = -11;
    TFontStyles Style;
    TColor Color = clWindowText;
    // Rotation of drawn text in tenths of a degree, counter-clockwise; set by
    // the code that draws, never stored in a form.
    int Escapement = 0;

    bool Has(TFontStyle style) const { return Style.testFlag(style); }
    void Set(TFontStyle style, bool on) { Style.setFlag(style, on); }

    // Size in points at 96 pixels per inch, as the class library derives it.
    int Size() const;
    void SetSize(int points);

    friend bool operator==(const TFont& a, const TFont& b) {
        return a.Name == b.Name && a.Height == b.Height && a.Style == b.Style &&
               a.Color == b.Color && a.Escapement == b.Escapement;
    }
};

// A logical-font record, as fonts are asked for by their attributes. Only
// what a TFont carries takes effect: width, orientation, character set,
// precisions, quality and pitch are kept for the record.
struct TLogFont {
    int Height = 0;
    int Width = 0;
    int Escapement = 0; // tenths of a degree, counter-clockwise
    int Orientation = 0;
    int Weight = 400; // 700 and more is bold
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int CharSet = 1;
    int OutPrecision = 0;
    int ClipPrecision = 0;
    int Quality = 0;
    int PitchAndFamily = 0;
    QString FaceName;
};

// The font a logical-font record asks for, in the colour given.
TFont CreateFontIndirect(const TLogFont& record, TColor color = clWindowText);

// The Qt font drawn for f: pixel size from the height (a positive cell height
// counts its internal leading as a fifth of the cell).
QFont ToQFont(const TFont& font);

// Whether the face is found as itself and is an outline font; substitutes and
// bitmap faces are not (rotated text needs an outline font).
bool IsTrueTypeFont(const TFont& font);

} // namespace wt

Q_DECLARE_METATYPE(wt::TFont)
