// TAnimated: a windowless picture control that plays an animation kept as one
// bitmap of frames side by side, each Width x Height. Its own toolkit timer
// (TTimer, on the platform's timer service) steps the frame forward or
// backward, once or in a loop; one colour of the strip can show as the
// control's background colour.
#pragma once

#include "toolkit/controls/graphiccontrol.h"
#include "toolkit/controls/timer.h"
#include "toolkit/core/classes.h"
#include "toolkit/graphics/bitmap.h"
#include "toolkit/graphics/bitmapprop.h"

#include <memory>

namespace wt {

class TAnimated : public TGraphicControl {
    Q_OBJECT
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)
    Q_PROPERTY(int FrameCount READ FrameCount WRITE SetFrameCount)
    Q_PROPERTY(int Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(wt::TBitmap BitMap READ BitMap WRITE SetBitMap)
    Q_PROPERTY(bool Play READ Play WRITE SetPlay)
    Q_PROPERTY(bool Reverse READ Reverse WRITE SetReverse)
    Q_PROPERTY(bool Loop READ Loop WRITE SetLoop)
    Q_PROPERTY(int TransparentColor READ TransparentColor WRITE SetTransparentColor)
    Q_CLASSINFO("Default.Interval", "0")
    Q_CLASSINFO("Default.FrameCount", "1")
    Q_CLASSINFO("Default.Frame", "0")
    Q_CLASSINFO("Default.Play", "False")
    Q_CLASSINFO("Default.Reverse", "False")
    Q_CLASSINFO("Default.Loop", "True")
    Q_CLASSINFO("Default.TransparentColor", "-1")
    Q_CLASSINFO("Default.Width", "30")
    Q_CLASSINFO("Default.Height", "30")

public:
    explicit TAnimated(TComponent* owner = nullptr);
    ~TAnimated() override;

    // Milliseconds between frames; 0 or less holds the frame.
    int Interval() const { return interval_; }
    void SetInterval(int value);
    // Frames in the strip; a count below 1 is taken as 1.
    int FrameCount() const { return frameCount_; }
    void SetFrameCount(int value) { frameCount_ = std::max(1, value); }
    // Negative shows the last frame; others are taken modulo FrameCount.
    int Frame() const { return frame_; }
    void SetFrame(int value);
    const TBitmap& BitMap() const { return bitmap_; }
    // Copies the strip; the height follows it (30 for an empty one).
    void SetBitMap(const TBitmap& value);
    bool Play() const { return play_; }
    void SetPlay(bool value);
    // Read at each step: a change while playing turns from the next frame.
    bool Reverse() const { return reverse_; }
    void SetReverse(bool value) { reverse_ = value; }
    bool Loop() const { return loop_; }
    void SetLoop(bool value) { loop_ = value; }
    // Pixels of this colour show the control's Color; negative (none, or a
    // system colour) copies the frame unchanged.
    TColor TransparentColor() const { return transparentColor_; }
    void SetTransparentColor(TColor value);

    // Whether the step timer is set (exactly while playing with an interval).
    bool Stepping() const { return timer_->Running(); }

    TNotifyEvent OnChangeFrame{this, "OnChangeFrame"};

protected:
    void Paint() override;

private:
    void StartTimer();
    void StopTimer();
    void Step();
    void EndCheck();

    int interval_ = 0;
    int frameCount_ = 1;
    int frame_ = 0;
    TBitmap bitmap_;
    bool play_ = false;
    bool reverse_ = false;
    bool loop_ = true;
    TColor transparentColor_ = -1;
    // The toolkit's timer, owned here rather than by the form, so that it is
    // no component a form lists.
    std::unique_ptr<TTimer> timer_;
};

WT_REGISTER_CLASS(TAnimated);

} // namespace wt
