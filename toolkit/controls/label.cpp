#include "toolkit/controls/label.h"

#include "toolkit/core/accel.h"

#include <QImage>

namespace wt {
namespace {

unsigned AlignmentFlag(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
    }
}

} // namespace

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) {
    SetClickOnMouseUp(true);
    SetBounds(0, 0, 65, 17);
}

void TLabel::DoDrawText(TCanvas& canvas, TRect& rect, unsigned flags) {
    QString text = Caption();
    // An empty caption (or a lone "&") still measures one line high.
    if ((flags & DT_CALCRECT) &&
        (text.isEmpty() || (showAccelChar_ && text == QStringLiteral("&"))))
        text += u' ';
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    canvas.Font = Font();
    if (!Enabled() && !(flags & DT_CALCRECT)) {
        TRect shifted{rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
        canvas.Font.Color = clBtnHighlight;
        canvas.DrawText(text, shifted, flags);
        canvas.Font.Color = clBtnShadow;
        canvas.DrawText(text, rect, flags);
        return;
    }
    canvas.DrawText(text, rect, flags);
}

void TLabel::Paint() {
    TCanvas& canvas = Canvas();
    const TRect client = ClientRect();
    if (!transparent_) {
        canvas.Brush.Color = Color();
        canvas.Brush.Style = bsSolid;
        canvas.FillRect(client);
    }
    canvas.Brush.Style = bsClear;
    TRect rect = client;
    DoDrawText(canvas, rect,
               DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0u) | AlignmentFlag(alignment_));
}

void TLabel::AdjustBounds() {
    if (!autoSize_ || IsReading())
        return;
    QImage scratch(1, 1, QImage::Format_ARGB32);
    TCanvas canvas(&scratch);
    TRect rect = ClientRect();
    DoDrawText(canvas, rect, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0u));
    int x = Left();
    if (alignment_ == taRightJustify)
        x += Width() - rect.Right;
    SetBounds(x, Top(), rect.Right, rect.Bottom);
}

void TLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TLabel::TextChanged() {
    TGraphicControl::TextChanged();
    AdjustBounds();
    Invalidate();
}

void TLabel::FontChanged() {
    TGraphicControl::FontChanged();
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment value) {
    if (value == alignment_)
        return;
    alignment_ = value;
    Invalidate();
}

void TLabel::SetAutoSize(bool value) {
    if (value == autoSize_)
        return;
    autoSize_ = value;
    if (!Streaming())
        AdjustBounds();
}

void TLabel::SetShowAccelChar(bool value) {
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    if (!Streaming()) {
        AdjustBounds();
        Invalidate();
    }
}

void TLabel::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    Invalidate();
}

void TLabel::SetWordWrap(bool value) {
    if (value == wordWrap_)
        return;
    wordWrap_ = value;
    if (!Streaming()) {
        AdjustBounds();
        Invalidate();
    }
}

void TLabel::SetFocusControl(TWinControl* control) { focusControl_ = control; }

void TLabel::DefaultHandler(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && focusControl_ && Enabled() && showAccelChar_ &&
        IsAccel(QChar(static_cast<char16_t>(message.WParam)), Caption())) {
        if (focusControl_->CanFocus()) {
            focusControl_->SetFocus();
            message.Result = 1;
        }
        return;
    }
    TGraphicControl::DefaultHandler(message);
}

} // namespace wt
