#include "widgets/Rzlabel.h"

namespace wt {
namespace {

// Longest caption drawn; the rest is left out.
constexpr int kMaxDrawnCaption = 255;

unsigned AlignmentFlag(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

TRect Moved(const TRect& r, int d) { return {r.Left + d, r.Top + d, r.Right + d, r.Bottom + d}; }

} // namespace

TRzLabel::TRzLabel(TComponent* owner) : TLabel(owner) {}

void TRzLabel::SetTextStyle(TTextStyle value) {
    if (value == textStyle_)
        return;
    textStyle_ = value;
    Invalidate();
}

void TRzLabel::Paint() {
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    if (!Transparent()) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = bsSolid;
        canvas.FillRect(client);
    }
    canvas.Brush.Style = bsClear;
    canvas.Font = Font();

    // Lines always break at words here, whatever WordWrap says.
    unsigned flags = DT_EXPANDTABS | DT_WORDBREAK | AlignmentFlag(Alignment());
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    const QString text = Caption().left(kMaxDrawnCaption);

    if (textStyle_ != tsNone) {
        const bool raised = textStyle_ == tsRaised;
        TRect below = Moved(client, 1);
        canvas.Font.Color = raised ? clBtnShadow : clBtnHighlight;
        canvas.DrawText(text, below, flags);
        TRect above = Moved(client, -1);
        canvas.Font.Color = raised ? clBtnHighlight : clBtnShadow;
        canvas.DrawText(text, above, flags);
    }
    TRect face = client;
    canvas.Font.Color = Enabled() ? Font().Color : clGrayText;
    canvas.DrawText(text, face, flags);
}

} // namespace wt
