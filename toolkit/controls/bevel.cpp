#include "toolkit/controls/bevel.h"

namespace wt {
namespace {

// Top and left edges in the first colour, bottom and right in the second;
// the corners top-right and bottom-left go to the second.
void BevelRect(TCanvas& canvas, const TRect& r, TColor first, TColor second) {
    canvas.Pen.Color = first;
    canvas.Polyline({{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
    canvas.Pen.Color = second;
    canvas.Polyline({{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}});
}

void BevelLine(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2) {
    canvas.Pen.Color = color;
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

} // namespace

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape value) {
    if (value == shape_)
        return;
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    if (value == style_)
        return;
    style_ = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas& canvas = Canvas();
    canvas.Pen.Width = 1;
    canvas.Pen.Style = psSolid;
    TColor color1 = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor color2 = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width();
    const int h = Height();
    switch (shape_) {
    case bsBox: BevelRect(canvas, {0, 0, w - 1, h - 1}, color1, color2); break;
    case bsFrame: {
        // The etched look: a box one pixel down and right all in the second
        // colour, then a box at the origin all in the first.
        const TColor temp = color1;
        color1 = color2;
        BevelRect(canvas, {1, 1, w - 1, h - 1}, color1, color2);
        color2 = temp;
        color1 = temp;
        BevelRect(canvas, {0, 0, w - 2, h - 2}, color1, color2);
        break;
    }
    case bsTopLine:
        BevelLine(canvas, color1, 0, 0, w, 0);
        BevelLine(canvas, color2, 0, 1, w, 1);
        break;
    case bsBottomLine:
        BevelLine(canvas, color1, 0, h - 2, w, h - 2);
        BevelLine(canvas, color2, 0, h - 1, w, h - 1);
        break;
    case bsLeftLine:
        BevelLine(canvas, color1, 0, 0, 0, h);
        BevelLine(canvas, color2, 1, 0, 1, h);
        break;
    case bsRightLine:
        BevelLine(canvas, color1, w - 2, 0, w - 2, h);
        BevelLine(canvas, color2, w - 1, 0, w - 1, h);
        break;
    }
}

} // namespace wt
