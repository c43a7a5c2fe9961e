#include "widgets/DODRotat.h"

#include "toolkit/graphics/bitmap.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace wt {
namespace {

// Face names longer than this are cut, as a logical font's face field is.
constexpr int kMaxFaceName = 31;

// Rounds to nearest, halves to even.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

struct TPass {
    TColor Color;
    int Dx, Dy;
};

} // namespace

TCDKRotate3DLabel::TCDKRotate3DLabel(TComponent* owner) : TLabel(owner) { SetTransparent(false); }

int TCDKRotate3DLabel::NormalizedRotation(int degrees) {
    // In 64 bits so that the most negative number has a magnitude.
    const long long v = degrees;
    long long r = v > 0 ? v % 360 : -((v < 0 ? -v : 0) % 360);
    if (r > 180)
        r -= 360;
    else if (r < -180)
        r += 360;
    return static_cast<int>(r);
}

void TCDKRotate3DLabel::SetRotation(int value) {
    const int r = NormalizedRotation(value);
    if (r == rotation_)
        return;
    rotation_ = r;
    // Bitmap faces cannot be turned; an outline face can.
    if (!IsLoading() && !IsReading() && r != 0 && !IsTrueTypeFont(Font())) {
        TFont font = Font();
        font.Name = QStringLiteral("Arial");
        SetFont(font);
    }
    Invalidate();
    if (!IsStreaming())
        AdjustBounds();
}

void TCDKRotate3DLabel::SetShadowStyle(TCDKShadowStyle value) {
    if (value == shadowStyle_)
        return;
    shadowStyle_ = value;
    Invalidate();
}

void TCDKRotate3DLabel::SetShadowColor(TColor value) {
    if (value == shadowColor_)
        return;
    shadowColor_ = value;
    Invalidate();
}

void TCDKRotate3DLabel::SetHighlightColor(TColor value) {
    if (value == highlightColor_)
        return;
    highlightColor_ = value;
    Invalidate();
}

void TCDKRotate3DLabel::SetShadowOffset(int value) {
    if (value == shadowOffset_)
        return;
    shadowOffset_ = value;
    // Erased as an opaque label would be, so the old passes go as well.
    const bool transparent = Transparent();
    SetTransparent(false);
    Invalidate();
    SetTransparent(transparent);
    if (!IsStreaming())
        AdjustBounds();
}

TCDKRotate3DLabel::TLayout TCDKRotate3DLabel::LayoutFor(int rotation, int cx, int cy,
                                                        int shadowOffset) {
    const double a = rotation * std::numbers::pi / 180.0;
    const double s = std::sin(a), c = std::cos(a);
    TLayout out;
    out.Width = RoundEven(std::fabs(c * cx) + std::fabs(s * cy)) + shadowOffset;
    out.Height = RoundEven(std::fabs(s * cx) + std::fabs(c * cy)) + shadowOffset;
    if (rotation >= 0 && rotation <= 90) {
        out.X = 0;
        out.Y = std::abs(RoundEven(s * cx));
    } else if (rotation >= -90 && rotation < 0) {
        out.X = std::abs(RoundEven(s * cy));
        out.Y = 0;
    } else if (rotation > 90 || rotation == -180) {
        out.X = std::abs(RoundEven(c * cx));
        out.Y = out.Height;
    } else { // -180 < rotation < -90
        out.X = out.Width;
        out.Y = std::abs(RoundEven(c * cy));
    }
    return out;
}

TFont TCDKRotate3DLabel::DrawingFont() const {
    TFont font = Font();
    font.Name = font.Name.left(kMaxFaceName);
    font.Escapement = rotation_ * 10;
    return font;
}

TCDKRotate3DLabel::TLayout TCDKRotate3DLabel::MeasuredLayout() const {
    TBitmap scratch(1, 1);
    scratch.Canvas().Font = DrawingFont();
    const TSize extent = scratch.Canvas().TextExtent(Caption());
    return LayoutFor(rotation_, extent.Width, extent.Height, shadowOffset_);
}

void TCDKRotate3DLabel::FitTo(const TLayout& layout) {
    int width = Width(), height = Height();
    const TAlign align = Align();
    if (align == alNone || align == alTop || align == alBottom)
        height = layout.Height;
    if (align == alNone || align == alLeft || align == alRight)
        width = layout.Width;
    if (width != Width() || height != Height())
        SetBounds(Left(), Top(), width, height);
}

void TCDKRotate3DLabel::AdjustBounds() {
    if (IsReading())
        return;
    FitTo(MeasuredLayout());
}

void TCDKRotate3DLabel::Paint() {
    TCanvas& canvas = Canvas();
    if (!Transparent()) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = bsSolid;
        canvas.FillRect(ClientRect());
    }
    const TFont previous = canvas.Font;
    canvas.Font = DrawingFont();
    const TSize extent = canvas.TextExtent(Caption());
    const TLayout layout = LayoutFor(rotation_, extent.Width, extent.Height, shadowOffset_);
    FitTo(layout);
    canvas.Brush.Style = bsClear;

    const int s = shadowOffset_;
    const TColor face = Font().Color;
    std::vector<TPass> passes;
    switch (shadowStyle_) {
    case ssRaised: passes = {{highlightColor_, -s, -s}, {shadowColor_, s, s}, {face, 0, 0}}; break;
    case ssLowered: passes = {{highlightColor_, s, s}, {shadowColor_, -s, -s}, {face, 0, 0}}; break;
    case ssHasShadow: passes = {{shadowColor_, s, s}, {face, 0, 0}}; break;
    case ssNormalWithDisable:
        if (Enabled())
            passes = {{face, 0, 0}};
        else
            passes = {{highlightColor_, s, s}, {shadowColor_, 0, 0}};
        break;
    case ssNoShadow: passes = {{face, 0, 0}}; break;
    }
    for (const TPass& pass : passes) {
        canvas.Font.Color = pass.Color;
        canvas.TextOut(layout.X + pass.Dx, layout.Y + pass.Dy, Caption());
    }
    canvas.Font = previous;
}

} // namespace wt
