#include "widgets/Animate.h"

#include "toolkit/forms/application.h"

namespace wt {

TAnimated::TAnimated(TComponent* owner) : TGraphicControl(owner) {
    // Every pixel is painted from the strip, so nothing behind is drawn first.
    SetOpaque(true);
    SetBounds(0, 0, 30, 30);
    timer_ = std::make_unique<TTimer>();
    timer_->SetEnabled(false);
    timer_->OnTimer = [this](TObject*) { Step(); };
}

TAnimated::~TAnimated() { StopTimer(); }

void TAnimated::StartTimer() {
    StopTimer();
    timer_->SetInterval(interval_);
    timer_->SetEnabled(true);
}

void TAnimated::StopTimer() { timer_->SetEnabled(false); }

void TAnimated::SetInterval(int value) {
    if (value == interval_)
        return;
    StopTimer();
    interval_ = value;
    if (play_ && interval_ > 0)
        StartTimer();
}

void TAnimated::SetPlay(bool value) {
    if (value == play_)
        return;
    play_ = value;
    if (play_ && interval_ > 0)
        StartTimer();
    else if (!play_)
        StopTimer();
}

void TAnimated::SetFrame(int value) {
    const int target = value < 0 ? frameCount_ - 1 : value % frameCount_;
    if (target == frame_)
        return;
    frame_ = target;
    OnChangeFrame(this);
    Invalidate();
}

void TAnimated::SetBitMap(const TBitmap& value) {
    bitmap_ = value;
    SetHeight(bitmap_.Height() > 0 ? bitmap_.Height() : 30);
    Invalidate();
}

void TAnimated::SetTransparentColor(TColor value) {
    if (value == transparentColor_)
        return;
    transparentColor_ = value;
    Invalidate();
}

void TAnimated::Step() {
    if (!reverse_) {
        SetFrame(frame_ + 1);
        if (frame_ == frameCount_ - 1)
            EndCheck();
    } else {
        SetFrame(frame_ - 1);
        if (frame_ == 0)
            EndCheck();
    }
}

void TAnimated::EndCheck() {
    if (loop_)
        return;
    // The field only: a strip that ran out is not a Play set to false.
    play_ = false;
    StopTimer();
}

void TAnimated::Paint() {
    TCanvas& canvas = Canvas();
    const TRect dest{0, 0, Width(), Height()};
    if (bitmap_.Height() <= 0) {
        canvas.Brush.Color = clWhite;
        canvas.Brush.Style = bsSolid;
        canvas.FillRect(ClientRect());
    } else {
        const TRect source{frame_ * Width(), 0, (frame_ + 1) * Width(), Height()};
        if (transparentColor_ < 0) {
            canvas.BitBlt(0, 0, Width(), Height(), bitmap_.Image(), source.Left, source.Top,
                          SRCCOPY);
        } else {
            // Through a scratch strip, as the colour swap works on a bitmap.
            TBitmap scratch(bitmap_.Width(), bitmap_.Height());
            scratch.Canvas().Brush.Color = Color();
            scratch.Canvas().BrushCopy(dest, bitmap_, source, transparentColor_);
            canvas.BitBlt(0, 0, Width(), Height(), scratch.Image(), 0, 0, SRCCOPY);
        }
    }
    if (HasState(ComponentState::Designing)) {
        canvas.Pen.Style = psDash;
        canvas.Pen.Color = clBlack;
        canvas.Brush.Style = bsClear;
        canvas.Rectangle(dest);
    }
}

} // namespace wt
