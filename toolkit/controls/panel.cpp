#include "toolkit/controls/panel.h"

namespace wt {

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(csAcceptsControls | csSetCaption);
    SetColor(clBtnFace);
    SetClickOnMouseUp(true);
    SetBounds(0, 0, 185, 41);
    lastWidth_ = Width();
    lastHeight_ = Height();
}

void TCustomPanel::Frame3D(TCanvas& canvas, TRect& rect, TColor topColor, TColor bottomColor,
                           int width) {
    canvas.Pen.Width = 1;
    canvas.Pen.Style = psSolid;
    TRect r{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1};
    for (; width > 0; --width) {
        canvas.Pen.Color = topColor;
        canvas.Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
        canvas.Pen.Color = bottomColor;
        canvas.Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left - 1, r.Bottom}});
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
    }
    rect = {r.Left, r.Top, r.Right + 1, r.Bottom + 1};
}

void TCustomPanel::BevelColors(TPanelBevel bevel, TColor& topColor, TColor& bottomColor) {
    topColor = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    bottomColor = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
}

void TCustomPanel::Paint() {
    TCanvas& canvas = Canvas();
    TRect rect = ClientRect();
    PaintFrame(canvas, rect);
    if (Caption().isEmpty())
        return;
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();
    const int fontHeight = canvas.TextHeight(QStringLiteral("W"));
    rect.Top = (rect.Bottom + rect.Top - fontHeight) / 2;
    rect.Bottom = rect.Top + fontHeight;
    const unsigned align = alignment_ == taLeftJustify    ? DT_LEFT
                           : alignment_ == taRightJustify ? DT_RIGHT
                                                          : DT_CENTER;
    canvas.DrawText(Caption(), rect, DT_EXPANDTABS | DT_VCENTER | align);
}

void TCustomPanel::PaintFrame(TCanvas& canvas, TRect& rect) {
    TColor top = clBtnHighlight, bottom = clBtnShadow;
    if (borderStyle_ == bsSingleBorder)
        Frame3D(canvas, rect, clWindowFrame, clWindowFrame, 1);
    if (bevelOuter_ != bvNone) {
        BevelColors(bevelOuter_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    Frame3D(canvas, rect, Color(), Color(), borderWidth_);
    if (bevelInner_ != bvNone) {
        BevelColors(bevelInner_, top, bottom);
        Frame3D(canvas, rect, top, bottom, bevelWidth_);
    }
    canvas.Brush.Color = Color();
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(rect);
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
    int size = borderWidth_ + (borderStyle_ == bsSingleBorder ? 1 : 0);
    if (bevelOuter_ != bvNone)
        size += bevelWidth_;
    if (bevelInner_ != bvNone)
        size += bevelWidth_;
    rect = {rect.Left + size, rect.Top + size, rect.Right - size, rect.Bottom - size};
}

void TCustomPanel::BoundsChanged() {
    TCustomControl::BoundsChanged();
    if (Width() == lastWidth_ && Height() == lastHeight_)
        return;
    lastWidth_ = Width();
    lastHeight_ = Height();
    if (!Streaming())
        Resize();
}

void TCustomPanel::Loaded() {
    TCustomControl::Loaded();
    // The size read is the starting size: no Resize for it.
    lastWidth_ = Width();
    lastHeight_ = Height();
}

void TCustomPanel::Resize() { OnResize(this); }

void TCustomPanel::TextChanged() {
    TCustomControl::TextChanged();
    Invalidate();
}

void TCustomPanel::FrameChanged() {
    if (Streaming())
        return;
    Realign();
    Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (value == alignment_)
        return;
    alignment_ = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
    if (value == bevelInner_)
        return;
    bevelInner_ = value;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
    if (value == bevelOuter_)
        return;
    bevelOuter_ = value;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(int value) {
    if (value < 1)
        value = 1;
    if (value == bevelWidth_)
        return;
    bevelWidth_ = value;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(int value) {
    if (value < 0)
        value = 0;
    if (value == borderWidth_)
        return;
    borderWidth_ = value;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    FrameChanged();
}

} // namespace wt
