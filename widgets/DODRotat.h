// TCDKRotate3DLabel: a windowless label that draws its caption at any angle
// with a 3D effect: a highlight and a shadow copy of the text, offset by
// ShadowOffset pixels, under the text itself. It sizes itself to the rotated
// text each time it paints.
#pragma once

#include "toolkit/controls/label.h"
#include "toolkit/core/classes.h"

namespace wt {

class TCDKRotate3DLabel : public TLabel {
    Q_OBJECT
    Q_PROPERTY(int Rotation READ Rotation WRITE SetRotation)
    Q_PROPERTY(TCDKShadowStyle ShadowStyle READ ShadowStyle WRITE SetShadowStyle)
    Q_PROPERTY(int ShadowColor READ ShadowColor WRITE SetShadowColor)
    Q_PROPERTY(int HighlightColor READ HighlightColor WRITE SetHighlightColor)
    Q_PROPERTY(int ShadowOffset READ ShadowOffset WRITE SetShadowOffset)
    Q_PROPERTY(bool UnicodeCaption READ UnicodeCaption WRITE SetUnicodeCaption)
    Q_CLASSINFO("Default.Rotation", "0")
    Q_CLASSINFO("Default.ShadowStyle", "ssRaised")
    Q_CLASSINFO("Default.ShadowColor", "clBtnShadow")
    Q_CLASSINFO("Default.HighlightColor", "clBtnHighlight")
    Q_CLASSINFO("Default.ShadowOffset", "1")
    Q_CLASSINFO("Default.UnicodeCaption", "False")

public:
    enum TCDKShadowStyle { ssRaised, ssLowered, ssHasShadow, ssNormalWithDisable, ssNoShadow };
    Q_ENUM(TCDKShadowStyle)

    explicit TCDKRotate3DLabel(TComponent* owner = nullptr);

    // Degrees counter-clockwise, always within -180..180 (370 reads 10,
    // 270 reads -90). A non-zero angle set outside loading replaces a font
    // that cannot be rotated by "Arial".
    int Rotation() const { return rotation_; }
    void SetRotation(int value);
    TCDKShadowStyle ShadowStyle() const { return shadowStyle_; }
    void SetShadowStyle(TCDKShadowStyle value);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor value);
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor value);
    // Pixels between the passes; negative swaps their directions.
    int ShadowOffset() const { return shadowOffset_; }
    void SetShadowOffset(int value);
    // Kept for form descriptions: captions are Unicode text here either way.
    bool UnicodeCaption() const { return unicodeCaption_; }
    void SetUnicodeCaption(bool value) { unicodeCaption_ = value; }

    // The angle as the canvas takes it, -180..180 from any number of degrees.
    static int NormalizedRotation(int degrees);

    struct TLayout {
        int Width = 0, Height = 0; // the bounding size, offset included
        int X = 0, Y = 0;          // where the text starts
    };
    // The size and start point for a caption of cx x cy pixels unrotated.
    static TLayout LayoutFor(int rotation, int cx, int cy, int shadowOffset);

protected:
    void Paint() override;
    // Follows the rotated text rather than the plain caption.
    void AdjustBounds() override;

private:
    TFont DrawingFont() const;
    TLayout MeasuredLayout() const;
    void FitTo(const TLayout& layout);

    int rotation_ = 0;
    TCDKShadowStyle shadowStyle_ = ssRaised;
    TColor shadowColor_ = clBtnShadow;
    TColor highlightColor_ = clBtnHighlight;
    int shadowOffset_ = 1;
    bool unicodeCaption_ = false;
};

using TCDKShadowStyle = TCDKRotate3DLabel::TCDKShadowStyle;

WT_REGISTER_CLASS(TCDKRotate3DLabel);

} // namespace wt
