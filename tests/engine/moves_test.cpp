#include "engine/geometry.h"
#include "engine/moves.h"

#include "engine_fixture.h"

#include <climits>
#include <string>
#include <vector>

namespace wt::test {
namespace {

std::vector<TRect> MovedRects(const SimPlatform& sim) {
    std::vector<TRect> rects;
    for (const auto& call : sim.MoveCalls())
        rects.push_back(call.Rect());
    return rects;
}

TEST(StepDeltaTest, TruncatesTowardZeroBothWays) {
    EXPECT_EQ(StepDelta(0, -101, 4), -25);
    EXPECT_EQ(StepDelta(106, 5, 4), -25);
    EXPECT_EQ(StepDelta(0, 100, 3), 33);
    EXPECT_EQ(StepDelta(100, 0, 3), -33);
    EXPECT_EQ(StepDelta(-7, -1, 4), 1);
    EXPECT_EQ(StepDelta(3, 1, 5), 0);
    EXPECT_EQ(StepDelta(42, 42, 7), 0);
    EXPECT_EQ(StepDelta(0, 255, 255), 1);
}

TEST(StepDeltaTest, EdgesFarApartDoNotOverflow) {
    EXPECT_EQ(StepDelta(INT_MIN, INT_MAX, 2), INT_MAX);
    EXPECT_EQ(StepDelta(INT_MAX, INT_MIN, 2), INT_MIN + 1);
}

TEST(StepDeltaTest, NoStepsMeansNoIncrement) {
    EXPECT_EQ(StepDelta(0, 100, 0), 0);
    EXPECT_EQ(StepDelta(100, 0, 0), 0);
}

class MovesTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        DelphiWindow.Handle = AddDelphi({0, 0, ScreenWidth, 106});
        InspectorWindow.Handle = AddInspector({0, 0, 200, 756});
        Settings.HangOutPixels = 5;
        MeasureWindows();
    }
};

TEST_F(MovesTest, AnimatedTuckPassesEveryIntermediateRectangle) {
    Settings.Motion = TMotion::Animated;
    Settings.AnimateSpeed = 4;
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Animated, "", false);
    const std::vector<TRect> expected = {{0, -25, ScreenWidth, 81},
                                         {0, -50, ScreenWidth, 56},
                                         {0, -75, ScreenWidth, 31},
                                         {0, -100, ScreenWidth, 6},
                                         {0, -101, ScreenWidth, 5}};
    EXPECT_EQ(MovedRects(*Sim), expected);
    for (const auto& call : Sim->MoveCalls()) {
        EXPECT_EQ(call.Window, DelphiWindow.Handle);
        EXPECT_TRUE(call.Repaint);
        EXPECT_TRUE(call.Moved);
    }
    EXPECT_EQ(Sim->FindById(DelphiWindow.Handle)->Rect, DelphiWindow.HiddenRect);
}

TEST_F(MovesTest, FinalMoveAddsWhatTheStepsTruncated) {
    Settings.Motion = TMotion::Animated;
    Sim->SetWindowRect(InspectorWindow.Handle, {0, 0, 200, 500});
    SlideWindow(InspectorWindow.Handle, {100, 0, 300, 400}, 3, "");
    const std::vector<TRect> expected = {
        {33, 0, 233, 467}, {66, 0, 266, 434}, {99, 0, 299, 401}, {100, 0, 300, 400}};
    EXPECT_EQ(MovedRects(*Sim), expected);
}

TEST_F(MovesTest, StepCountIsAnimateSpeedsLowByte) {
    Settings.Motion = TMotion::Animated;
    Settings.AnimateSpeed = 256 + 3;
    MoveInspector(InspectorWindow.HiddenRect, TMotion::Animated, "", false);
    EXPECT_EQ(Sim->MoveCalls().size(), 4u);

    // 256 leaves no steps at all: just the move onto the target.
    Sim->ClearMoveCalls();
    Settings.AnimateSpeed = 256;
    MoveInspector(InspectorWindow.ShownRect, TMotion::Animated, "", false);
    EXPECT_EQ(MovedRects(*Sim), std::vector<TRect>{InspectorWindow.ShownRect});
}

TEST_F(MovesTest, WithoutAnimationEveryMoveIsOneCall) {
    Settings.AnimateSpeed = 30;
    Settings.Motion = TMotion::Jump;
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Jump, "", false);
    // Animated motion asks for steps, but the Animate setting itself is off.
    MoveDelphi(DelphiWindow.ShownRect, TMotion::Animated, "", false);
    MoveInspector(InspectorWindow.HiddenRect, TMotion::Jump, "", false);
    const std::vector<TRect> expected = {DelphiWindow.HiddenRect, DelphiWindow.ShownRect,
                                         InspectorWindow.HiddenRect};
    EXPECT_EQ(MovedRects(*Sim), expected);
}

TEST_F(MovesTest, MoveOntoTheCurrentRectangleStillMovesAndSounds) {
    Settings.Motion = TMotion::Animated;
    Settings.AnimateSpeed = 5;
    Settings.WindowSounds = true;
    const TRect here = Sim->FindById(DelphiWindow.Handle)->Rect;
    MoveDelphi(here, TMotion::Animated, "out.wav", false);
    EXPECT_EQ(MovedRects(*Sim), std::vector<TRect>(6, here));
    EXPECT_EQ(Sim->SoundRequests().size(), 1u);
}

TEST_F(MovesTest, SoundStartsBeforeTheFirstMove) {
    Settings.WindowSounds = true;
    Settings.Motion = TMotion::Animated;
    Settings.AnimateSpeed = 3;
    std::vector<std::size_t> soundsAtMove;
    Sim->OnMoveWindow = [&](const SimPlatform::MoveCall&) {
        soundsAtMove.push_back(Sim->SoundRequests().size());
    };
    MoveInspector(InspectorWindow.HiddenRect, TMotion::Animated, "/snd/in.wav", false);
    EXPECT_EQ(soundsAtMove, std::vector<std::size_t>(4, 1));
    ASSERT_EQ(Sim->SoundRequests().size(), 1u);
    EXPECT_EQ(Sim->SoundRequests()[0].FileName, "/snd/in.wav");
    EXPECT_EQ(Sim->SoundRequests()[0].Flags, SND_ASYNC | SND_NODEFAULT | SND_NOSTOP);
    EXPECT_EQ(Sim->SoundRequests()[0].Flags, 0x13u);
}

TEST_F(MovesTest, NoSoundWhenOffOrUnnamed) {
    Settings.WindowSounds = false;
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Jump, "in.wav", false);
    Settings.WindowSounds = true;
    MoveDelphi(DelphiWindow.ShownRect, TMotion::Jump, "", false);
    EXPECT_TRUE(Sim->SoundRequests().empty());
    EXPECT_EQ(Sim->MoveCalls().size(), 2u);
}

TEST_F(MovesTest, SoundNamesThatDoNotFitWholeAreNotPlayed) {
    Settings.WindowSounds = true;
    const std::string longest = "/s/" + std::string(SoundNameBufferSize - 1 - 7, 'a') + ".wav";
    ASSERT_EQ(longest.size(), SoundNameBufferSize - 1);
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Jump, longest, false);
    MoveDelphi(DelphiWindow.ShownRect, TMotion::Jump, longest + "x", false);
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Jump, std::string("a.wav\0b.wav", 11), false);
    ASSERT_EQ(Sim->SoundRequests().size(), 1u);
    EXPECT_EQ(Sim->SoundRequests()[0].FileName, longest);
    // The windows move all the same.
    EXPECT_EQ(Sim->MoveCalls().size(), 3u);
}

TEST_F(MovesTest, ZeroOrStaleHandlesMoveNothingAndReportNothing) {
    Settings.Motion = TMotion::Animated;
    Settings.AnimateSpeed = 2;
    Settings.WindowSounds = true;
    const WindowHandle stale = DelphiWindow.Handle;
    Sim->DestroyWindow(stale);
    // A new main window is not picked up by a move.
    const WindowHandle fresh = AddDelphi({0, 0, 500, 100});
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Animated, "in.wav", true);
    EXPECT_EQ(DelphiWindow.Handle, stale);
    // From the all-zero rectangle of a vanished window, in two steps.
    const std::vector<TRect> expected = {
        {0, -50, ScreenWidth / 2, 2}, {0, -100, ScreenWidth, 4}, {0, -101, ScreenWidth, 5}};
    EXPECT_EQ(MovedRects(*Sim), expected);
    for (const auto& call : Sim->MoveCalls())
        EXPECT_FALSE(call.Moved);
    EXPECT_EQ(Sim->FindById(fresh)->Rect, (TRect{0, 0, 500, 100}));
    EXPECT_EQ(Sim->SoundRequests().size(), 1u);

    Sim->ClearRecords();
    Sim->ClearMoveCalls();
    SlideWindow(0, {1, 2, 3, 4}, 1, "");
    ASSERT_EQ(Sim->MoveCalls().size(), 2u);
    EXPECT_EQ(Sim->MoveCalls()[0].Window, 0u);
    EXPECT_FALSE(Sim->MoveCalls()[1].Moved);
}

TEST_F(MovesTest, InspectorIsFoundAgainByClassAndTitleBeforeItsMove) {
    Sim->DestroyWindow(InspectorWindow.Handle);
    // Same class, other title: not the Inspector, though it is on top.
    const WindowHandle reborn = AddInspector({400, 300, 600, 700});
    const WindowHandle impostor = AddInspector({0, 0, 10, 10}, "Object Inspector - Form1");
    MoveInspector(InspectorWindow.HiddenRect, TMotion::Jump, "", true);
    EXPECT_EQ(InspectorWindow.Handle, reborn);
    EXPECT_EQ(Sim->BringToTopCalls(), std::vector<WindowHandle>{reborn});
    EXPECT_EQ(Sim->FindById(reborn)->Rect, InspectorWindow.HiddenRect);
    EXPECT_EQ(Sim->FindById(impostor)->Rect, (TRect{0, 0, 10, 10}));
}

TEST_F(MovesTest, LiveInspectorHandleIsKept) {
    const WindowHandle original = InspectorWindow.Handle;
    AddInspector({500, 0, 700, 756}); // a second one, on top
    MoveInspector(InspectorWindow.HiddenRect, TMotion::Jump, "", false);
    EXPECT_EQ(InspectorWindow.Handle, original);
    EXPECT_EQ(Sim->FindById(original)->Rect, InspectorWindow.HiddenRect);
}

TEST_F(MovesTest, PumpRunsAfterBringToTopAndBeforeTheSlide) {
    std::vector<std::size_t> seen; // bring-to-top calls, moves
    const WindowHandle panel = Sim->AttachWindow(0, "TfrmMain", [&](const WindowMessage&) {
        seen = {Sim->BringToTopCalls().size(), Sim->MoveCalls().size()};
    });
    ASSERT_TRUE(Sim->PostMessage(panel, WM_USER, 0, 0));
    MoveDelphi(DelphiWindow.HiddenRect, TMotion::Jump, "", true);
    EXPECT_EQ(seen, (std::vector<std::size_t>{1, 0}));
    EXPECT_EQ(Sim->PendingMessages(), 0u);
}

} // namespace
} // namespace wt::test
