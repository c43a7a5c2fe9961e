// The frame strip on the simulated clock: stepping forward and backward,
// stopping at the end without Loop, wrapping with it, turning in the middle,
// the Frame setter's modulo, and which pixels a frame paints.
#include "ui_support.h"

#include "toolkit/controls/label.h"
#include "toolkit/forms/form.h"
#include "widgets/Animate.h"

#include <QImage>

#include <vector>

namespace wt::test {
namespace {

class AnimateTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_unique<TForm>();
        form->SetColor(clBtnFace);
        strip = new TAnimated(form.get());
        strip->SetParent(form.get());
        strip->SetFrameCount(10);
        strip->SetInterval(50);
        strip->OnChangeFrame = [this](TObject* sender) {
            EXPECT_EQ(sender, strip);
            frames.push_back(strip->Frame());
        };
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();
    }
    // Frames shown over n ticks of 50 ms.
    std::vector<int> Ticks(int n) {
        frames.clear();
        Sim().Advance(50 * n);
        return frames;
    }
    std::unique_ptr<TForm> form;
    TAnimated* strip = nullptr;
    std::vector<int> frames;
};

TEST_F(AnimateTest, StepsOnTheClockAndStopsAtTheEndUnlessLooping) {
    struct Case {
        const char* Name;
        bool Loop, Reverse;
        int From, Ticks;
        std::vector<int> Shown;
        bool StillPlaying;
    };
    const Case cases[] = {
        {"forward once", false, false, 0, 12, {1, 2, 3, 4, 5, 6, 7, 8, 9}, false},
        {"backward once", false, true, 9, 12, {8, 7, 6, 5, 4, 3, 2, 1, 0}, false},
        {"forward from the last frame plays it all",
         false,
         false,
         9,
         12,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         false},
        {"looping forward", true, false, 7, 5, {8, 9, 0, 1, 2}, true},
        {"looping backward", true, true, 1, 3, {0, 9, 8}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        strip->SetPlay(false);
        strip->SetLoop(c.Loop);
        strip->SetReverse(c.Reverse);
        strip->SetFrame(c.From);
        strip->SetPlay(true);
        EXPECT_EQ(Ticks(c.Ticks), c.Shown);
        EXPECT_EQ(strip->Play(), c.StillPlaying);
        EXPECT_EQ(strip->Stepping(), c.StillPlaying);
    }
}

TEST_F(AnimateTest, TurningWhilePlayingGoesBackFromTheFrameReached) {
    strip->SetLoop(false);
    strip->SetPlay(true);
    EXPECT_EQ(Ticks(4), (std::vector<int>{1, 2, 3, 4}));
    strip->SetReverse(true);
    EXPECT_EQ(Ticks(6), (std::vector<int>{3, 2, 1, 0}));
    EXPECT_FALSE(strip->Play());
    // Play again after the strip ran out starts it afresh.
    strip->SetReverse(false);
    strip->SetPlay(true);
    EXPECT_EQ(Ticks(2), (std::vector<int>{1, 2}));
}

TEST_F(AnimateTest, PlayWithoutAnIntervalWaitsForOne) {
    strip->SetInterval(0);
    strip->SetPlay(true);
    EXPECT_TRUE(strip->Play());
    EXPECT_FALSE(strip->Stepping());
    EXPECT_TRUE(Ticks(4).empty());
    strip->SetInterval(50);
    EXPECT_EQ(Ticks(2), (std::vector<int>{1, 2}));
    strip->SetPlay(false);
    EXPECT_FALSE(strip->Stepping());
    EXPECT_TRUE(Ticks(4).empty());
}

TEST_F(AnimateTest, FrameSetterTakesAnyNumber) {
    const std::pair<int, int> cases[] = {{-5, 9}, {23, 3}, {10, 0}, {-1, 9}, {4, 4}};
    for (const auto& [in, out] : cases) {
        strip->SetFrame(in);
        EXPECT_EQ(strip->Frame(), out) << in;
    }
    frames.clear();
    strip->SetFrame(14); // 4 again: no notice
    EXPECT_TRUE(frames.empty());
    // A strip of no frames is a strip of one.
    strip->SetFrameCount(0);
    EXPECT_EQ(strip->FrameCount(), 1);
    strip->SetFrame(5);
    EXPECT_EQ(strip->Frame(), 0);
}

TEST_F(AnimateTest, DestroyedWhilePlayingLeavesNoTimerBehind) {
    strip->SetPlay(true);
    ASSERT_TRUE(strip->Stepping());
    delete strip;
    strip = nullptr;
    frames.clear();
    Sim().Advance(500); // a tick into the freed control would be caught here
    EXPECT_TRUE(frames.empty());
}

// A strip of three 4 x 2 frames: frame n is filled with colours[n], with its
// top-left pixel lime.
TBitmap ThreeFrames(const std::array<TColor, 3>& colours) {
    TBitmap bitmap(12, 2);
    for (int n = 0; n < 3; ++n) {
        bitmap.Canvas().Brush.Color = colours[n];
        bitmap.Canvas().FillRect({n * 4, 0, n * 4 + 4, 2});
        bitmap.Canvas().SetPixel(n * 4, 0, clLime);
    }
    return bitmap;
}

TEST_F(AnimateTest, PaintsTheFrameWithItsTransparentColourShowingTheBackground) {
    strip->SetFrameCount(3);
    strip->SetWidth(4);
    strip->SetBitMap(ThreeFrames({clRed, clBlue, clYellow}));
    EXPECT_EQ(strip->Height(), 2);
    strip->SetFrame(1);
    struct Case {
        TColor Transparent;
        QRgb Corner;
    };
    const Case cases[] = {
        {-1, 0xFF00FF00},                  // none: copied as it is
        {clLime, ColorToPixel(clBtnFace)}, // the control's colour, the form's
        {clBtnFace, 0xFF00FF00},           // a system colour counts as none
        {clRed, 0xFF00FF00},               // a colour the frame lacks changes nothing
    };
    for (const Case& c : cases) {
        strip->SetTransparentColor(c.Transparent);
        const QImage image = strip->PaintToImage();
        EXPECT_EQ(image.pixel(0, 0), c.Corner) << c.Transparent;
        EXPECT_EQ(image.pixel(3, 1), 0xFF0000FFu) << c.Transparent; // frame 1 is blue
    }
}

TEST_F(AnimateTest, AnEmptyStripPaintsWhiteAndKeepsItsDefaultHeight) {
    EXPECT_EQ(strip->Width(), 30);
    strip->SetBitMap(ThreeFrames({clRed, clBlue, clYellow}));
    strip->SetBitMap(TBitmap());
    EXPECT_EQ(strip->Height(), 30);
    const QImage image = strip->PaintToImage();
    EXPECT_EQ(image.pixel(15, 15), 0xFFFFFFFFu);
}

} // namespace
} // namespace wt::test

namespace wt::test {
namespace {

// A transparent label over a playing strip: between its letters the frame
// of the moment shows, and the label's letters stay on top.
TEST_F(AnimateTest, ATransparentLabelOverTheStripShowsEachFrameBetweenItsLetters) {
    strip->SetFrameCount(3);
    strip->SetBounds(0, 0, 40, 40);
    TBitmap big(120, 40);
    for (int n = 0; n < 3; ++n) {
        big.Canvas().Brush.Color = std::array{clRed, clBlue, clYellow}[n];
        big.Canvas().FillRect({n * 40, 0, n * 40 + 40, 40});
    }
    strip->SetBitMap(big);
    auto* label = new TLabel(form.get());
    label->SetParent(form.get());
    label->SetTransparent(true);
    label->SetCaption(QStringLiteral("I"));
    label->SetLeft(10);
    form->SetClientSize(60, 60);
    form->Show();
    for (const auto& [frame, colour] : {std::pair{0, 0xFFFF0000u}, std::pair{2, 0xFFFFFF00u}}) {
        strip->SetFrame(frame);
        QCoreApplication::processEvents();
        const QImage shot = form->Widget()->grab().toImage();
        int letter = 0, frameShown = 0, other = 0;
        for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
            for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
                const QRgb p = shot.pixel(x, y);
                (p == 0xFF000000u ? letter : p == colour ? frameShown : other)++;
            }
        EXPECT_GT(letter, 0) << frame;
        EXPECT_GT(frameShown, letter) << frame;
        EXPECT_EQ(other, 0) << frame;
    }
    form->Hide();
}

} // namespace
} // namespace wt::test
