// The edge watch as the hook drives it: the strip and leave thresholds on the
// top, right and left edges, the reveal delay on the virtual clock, the
// corner, pointer reports dropped during a move, and the watch switched off
// and on with the host application's activation.
#include "tests/engine/panel_fixture.h"

#include "dialogs/oops.h"
#include "toolkit/forms/application.h"

#include <QTimer>

namespace wt::test {
namespace {

constexpr TRect DelphiHidden{0, -101, 1024, 5};
constexpr TRect DelphiShown{0, 0, 1024, 106};
constexpr TRect InspectorRightHidden{1019, 0, 1219, 768};
constexpr TRect InspectorRightShown{824, 0, 1024, 768};
constexpr TRect InspectorLeftHidden{-195, 0, 5, 768};
constexpr TRect InspectorLeftShown{0, 0, 200, 768};

using EdgeWatchTest = AddInTest;

TEST_F(EdgeWatchTest, TopEdgeStripAndLeaveThresholds) {
    WriteSettings("gwHideDelphi=True\ngwDelay=200\n");
    Load();
    Start();
    ASSERT_EQ(Rect(delphi_), DelphiHidden);

    // Hidden, HangOutPixels 5: row 5 (the first beyond the strip) still counts.
    Pointer(500, 6);
    EXPECT_FALSE(RevealPending());
    sim_->Advance(400);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    Pointer(500, 5);
    EXPECT_TRUE(RevealPending());
    sim_->Advance(200);
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    EXPECT_FALSE(DelphiWindow.Hidden);
    EXPECT_FALSE(RevealPending());

    // Shown, 106 high: only past row 106 is the pointer outside.
    Pointer(500, 106);
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    Pointer(500, 107);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_TRUE(DelphiWindow.Hidden);
}

TEST_F(EdgeWatchTest, APopupOfTheMainWindowKeepsItShown) {
    WriteSettings("gwHideDelphi=True\ngwDelay=100\n");
    Load();
    Start();
    Pointer(500, 0);
    sim_->Advance(100);
    ASSERT_EQ(Rect(delphi_), DelphiShown);

    // A menu dropped from the main window reaches below it.
    WindowHandle menu = sim_->AddPopup(delphi_, "TPopupMenu", "", {400, 20, 600, 300});
    Pointer(500, 250);
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    // A pop-up of another window does not count as the main window.
    sim_->AddPopup(inspector_, "TPopupMenu", "", {650, 100, 800, 300});
    Pointer(700, 250);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);

    Pointer(500, 0);
    sim_->Advance(100);
    ASSERT_EQ(Rect(delphi_), DelphiShown);
    sim_->DestroyWindow(menu);
    Pointer(500, 250);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
}

TEST_F(EdgeWatchTest, RightEdgeThresholdsMatchTheColumnsExactly) {
    WriteSettings("gwHideInspector=True\ngwSide=1\ngwDelay=100\n");
    Load();
    Start();
    ASSERT_EQ(Rect(inspector_), InspectorRightHidden);

    Pointer(1018, 400);
    EXPECT_FALSE(RevealPending());
    sim_->Advance(200);
    EXPECT_EQ(Rect(inspector_), InspectorRightHidden);
    Pointer(1019, 400);
    EXPECT_TRUE(RevealPending());
    sim_->Advance(100);
    EXPECT_EQ(Rect(inspector_), InspectorRightShown);
    EXPECT_FALSE(InspectorWindow.Hidden);

    Pointer(824, 400);
    EXPECT_EQ(Rect(inspector_), InspectorRightShown);
    Pointer(823, 400);
    EXPECT_EQ(Rect(inspector_), InspectorRightHidden);
    EXPECT_TRUE(InspectorWindow.Hidden);
}

TEST_F(EdgeWatchTest, LeftEdgeThresholdsAcceptTheFirstColumnBeyond) {
    WriteSettings("gwHideInspector=True\ngwSide=0\ngwDelay=100\n");
    Load();
    Start();
    ASSERT_EQ(Rect(inspector_), InspectorLeftHidden);

    Pointer(6, 400);
    EXPECT_FALSE(RevealPending());
    sim_->Advance(200);
    EXPECT_EQ(Rect(inspector_), InspectorLeftHidden);
    Pointer(5, 400);
    EXPECT_TRUE(RevealPending());
    sim_->Advance(100);
    EXPECT_EQ(Rect(inspector_), InspectorLeftShown);

    Pointer(200, 400);
    EXPECT_EQ(Rect(inspector_), InspectorLeftShown);
    Pointer(201, 400);
    EXPECT_EQ(Rect(inspector_), InspectorLeftHidden);
}

TEST_F(EdgeWatchTest, RevealWaitsTheDelayFromTheFirstReportWithSoundAndRaise) {
    WriteSettings("gwHideDelphi=True\ngwDelay=300\ngwWindowSounds=True\n"
                  "MoveOutSound=/sounds/out.wav\nMoveInSound=/sounds/in.wav\n");
    Load();
    Start();
    Pointer(300, 2);
    sim_->Advance(200);
    Pointer(310, 3); // a second report does not restart the count
    sim_->Advance(99);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_TRUE(sim_->MoveCalls().empty());
    sim_->Advance(1);
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    ASSERT_EQ(sim_->SoundRequests().size(), 1u);
    EXPECT_EQ(sim_->SoundRequests()[0].FileName, "/sounds/out.wav");
    ASSERT_EQ(sim_->BringToTopCalls().size(), 1u);
    EXPECT_EQ(sim_->BringToTopCalls()[0], delphi_);

    // Tucking away plays the other sound and raises nothing.
    Pointer(300, 400);
    ASSERT_EQ(sim_->SoundRequests().size(), 2u);
    EXPECT_EQ(sim_->SoundRequests()[1].FileName, "/sounds/in.wav");
    EXPECT_EQ(sim_->BringToTopCalls().size(), 1u);
}

TEST_F(EdgeWatchTest, PointerThatLeavesBeforeTheTickRevealsNothing) {
    WriteSettings("gwHideDelphi=True\ngwDelay=200\n");
    Load();
    Start();
    Pointer(500, 2);
    sim_->Advance(150);
    Pointer(500, 300);
    EXPECT_TRUE(RevealPending()); // nothing cancels the timer
    sim_->Advance(50);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_TRUE(sim_->MoveCalls().empty());
    EXPECT_FALSE(RevealPending());
    EXPECT_TRUE(DelphiWindow.Hidden);
}

TEST_F(EdgeWatchTest, TheCornerRevealsTheInspectorFirstThenTheMainWindow) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=1\ngwDelay=100\n");
    Load();
    Start();
    Pointer(1023, 0);
    sim_->Advance(100);
    EXPECT_EQ(MovedWindows(), (std::vector<WindowHandle>{inspector_, delphi_}));
    EXPECT_EQ(sim_->BringToTopCalls(), (std::vector<WindowHandle>{inspector_, delphi_}));
    EXPECT_EQ(Rect(inspector_), InspectorRightShown);
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    EXPECT_FALSE(InspectorWindow.Hidden);
    EXPECT_FALSE(DelphiWindow.Hidden);
}

TEST_F(EdgeWatchTest, AReportArrivingDuringAMoveIsDroppedWhole) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\ngwDelay=100\n");
    Load();
    Start();
    Pointer(2, 2); // both strips on the left: reveal both
    sim_->Advance(100);
    ASSERT_EQ(Rect(delphi_), DelphiShown);
    ASSERT_EQ(Rect(inspector_), InspectorLeftShown);
    sim_->ClearRecords();

    // The first report tucks the main window away; its move pumps messages
    // and so meets the second report, which would tuck the Inspector away.
    sim_->MovePointer(100, 300);
    sim_->MovePointer(500, 300);
    sim_->ProcessMessages();
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(Rect(inspector_), InspectorLeftShown);
    EXPECT_EQ(PointerX, 100); // the dropped position was not stored
    EXPECT_EQ(sim_->PendingMessages(), 0u);
    EXPECT_FALSE(InHookMessage);

    // Without a move in between the same report is acted on.
    Pointer(500, 300);
    EXPECT_EQ(Rect(inspector_), InspectorLeftHidden);
}

TEST_F(EdgeWatchTest, AReportSentInTheMiddleOfAnAnimatedSlideIsDropped) {
    WriteSettings("gwHideDelphi=True\ngwAnimate=True\ngwAnimateSpeed=4\ngwDelay=100\n");
    Load();
    Start();
    Pointer(500, 0);
    sim_->Advance(100);
    ASSERT_EQ(Rect(delphi_), DelphiShown);
    sim_->ClearRecords();

    int sent = 0;
    sim_->OnMoveWindow = [&](const SimPlatform::MoveCall&) {
        if (sent++ == 1) // between two steps of the slide
            sim_->SendMessage(Panel->Handle(), WM_WATCHMOUSE, 0, (3 << 16) | 40);
    };
    Pointer(500, 300);
    sim_->OnMoveWindow = nullptr;
    EXPECT_EQ(sim_->MoveCalls().size(), 5u); // four steps and the final move
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(PointerX, 500); // the report sent mid-slide was not stored
    EXPECT_EQ(PointerY, 300);
}

TEST_F(EdgeWatchTest, ZeroOrNegativeDelayRevealsOnTheNextPassOfTheLoop) {
    for (const char* delay : {"0", "-50"}) {
        SCOPED_TRACE(delay);
        WriteSettings(std::string("gwHideDelphi=True\ngwDelay=") + delay + "\n");
        Load();
        Start();
        const auto before = sim_->Now();
        Pointer(10, 1);
        sim_->ProcessMessages();
        EXPECT_EQ(Rect(delphi_), DelphiShown);
        EXPECT_EQ(sim_->Now(), before);
        EXPECT_FALSE(RevealPending());
        Unload();
        sim_->SetWindowRect(delphi_, DelphiAtStart);
    }
}

TEST_F(EdgeWatchTest, DeactivationSwitchesTheWatchOffAndActivationBackOn) {
    WriteSettings("gwHideDelphi=True\ngwDelay=100\n");
    Load();
    Start();
    const int resets = sim_->ResetHookCalls();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d - Disabled");
    EXPECT_TRUE(DisabledByFocus);
    EXPECT_FALSE(HookActive);
    EXPECT_EQ(sim_->HookWindow(), 0u);
    EXPECT_EQ(sim_->ResetHookCalls(), resets + 1);
    EXPECT_FALSE(sim_->MovePointer(500, 0));
    EXPECT_TRUE(sim_->MoveCalls().empty()); // the tucked window stays tucked

    // Other values change nothing.
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 2, 0);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d - Disabled");

    const int sets = sim_->SetHookCalls();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_FALSE(DisabledByFocus);
    EXPECT_EQ(sim_->SetHookCalls(), sets + 1);
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    EXPECT_TRUE(sim_->MoveCalls().empty());
    Pointer(500, 0);
    sim_->Advance(100);
    EXPECT_EQ(Rect(delphi_), DelphiShown);
}

TEST_F(EdgeWatchTest, TheApplicationsActivationReachesThePanel) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    Application()->Activate(false);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d - Disabled");
    EXPECT_EQ(sim_->HookWindow(), 0u);
    Application()->Activate(true);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
}

TEST_F(EdgeWatchTest, WithoutDisableOnFocusLossActivationChangesNothing) {
    WriteSettings("gwHideDelphi=True\ngwDisableOnFocusLoss=False\n");
    Load();
    Start();
    const int resets = sim_->ResetHookCalls();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    EXPECT_EQ(sim_->ResetHookCalls(), resets);
    EXPECT_FALSE(DisabledByFocus);
    Pointer(500, 300); // still watching
    EXPECT_TRUE(sim_->MoveCalls().empty());
}

TEST_F(EdgeWatchTest, ActivationWhileIdleDoesNothing) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_EQ(sim_->SetHookCalls(), 0);
    EXPECT_EQ(sim_->ResetHookCalls(), 0);
    EXPECT_FALSE(DisabledByFocus);
}

TEST_F(EdgeWatchTest, StopWhileDisabledLeavesTheWatchOffAfterReactivation) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    host_.Send(fnProjectClosing, "/work/Demo/Demo.dpr"); // Stop while inactive
    EXPECT_EQ(Rect(delphi_), DelphiAtStart);
    const int sets = sim_->SetHookCalls();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 1, 0);
    // The engine is idle: the caption returns, but nothing may tuck the
    // windows away again.
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_FALSE(DisabledByFocus);
    EXPECT_EQ(sim_->SetHookCalls(), sets);
    EXPECT_EQ(sim_->HookWindow(), 0u);
    EXPECT_FALSE(HookActive);
}

TEST_F(EdgeWatchTest, DesktopSaveBringsTheWindowsBackAndTheWatchTucksThemAgain) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=1\n");
    Load();
    Start();
    EXPECT_FALSE(host_.Send(fnDesktopSave, "/work/Demo/Demo.dsk"));
    EXPECT_EQ(Rect(delphi_), DelphiAtStart);
    EXPECT_EQ(Rect(inspector_), InspectorAtStart);
    EXPECT_FALSE(DelphiWindow.Hidden);
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    EXPECT_FALSE(Panel->btnStart->Enabled()); // still running

    sim_->ClearRecords();
    Pointer(500, 600);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(Rect(inspector_), InspectorRightHidden);
    EXPECT_TRUE(DelphiWindow.Hidden);
    EXPECT_TRUE(InspectorWindow.Hidden);
}

} // namespace
} // namespace wt::test

namespace wt::test {
namespace {

// A drag over the strip reveals nothing until the button is let go there;
// a full-screen program in front on the window's monitor keeps its edge,
// while one on another monitor does not; nor is a window revealed while its
// workspace is not the one shown.
TEST_F(EdgeWatchTest, DragsWaitForTheButtonAndFullScreensKeepTheirEdge) {
    WriteSettings("gwHideDelphi=True\ngwDelay=100\n");
    sim_->SetScreen(2048, 750, 18);
    sim_->SetMonitors({{0, 0, 1024, 768}, {1024, 0, 2048, 768}});
    Load();
    Start();
    const TRect hidden{0, -101, 1024, 5}, shown{0, 0, 1024, 106};
    ASSERT_EQ(Rect(delphi_), hidden);

    sim_->ButtonDown = true;
    Pointer(500, 2);
    sim_->Advance(300);
    EXPECT_EQ(Rect(delphi_), hidden) << "revealed under a held button";
    sim_->ButtonDown = false;
    sim_->Advance(100);
    EXPECT_EQ(Rect(delphi_), shown) << "not revealed once the button was let go";
    Pointer(500, 400);
    ASSERT_EQ(Rect(delphi_), hidden);

    sim_->FullScreen = TRect{0, 0, 1024, 768};
    Pointer(500, 2);
    sim_->Advance(300);
    EXPECT_EQ(Rect(delphi_), hidden) << "revealed over a full-screen program";
    sim_->FullScreen = TRect{1024, 0, 2048, 768};
    Pointer(501, 2);
    sim_->Advance(100);
    EXPECT_EQ(Rect(delphi_), shown) << "a full-screen program on the other monitor held it";
    sim_->FullScreen = TRect{0, 0, 1024, 768};
    Pointer(500, 400);
    EXPECT_EQ(Rect(delphi_), shown) << "slid away under a full-screen program";
    sim_->FullScreen.reset();
    Pointer(500, 401);
    ASSERT_EQ(Rect(delphi_), hidden);

    // Its workspace not shown: the strip there is not its own.
    sim_->OnOtherWorkspace.push_back(delphi_);
    Pointer(500, 2);
    sim_->Advance(300);
    EXPECT_EQ(Rect(delphi_), hidden) << "revealed onto a workspace not shown";
    sim_->OnOtherWorkspace.clear();
    Pointer(501, 2);
    sim_->Advance(100);
    EXPECT_EQ(Rect(delphi_), shown);
}

} // namespace
} // namespace wt::test

namespace wt::test {
namespace {

// The reveal key: grabbed only while running; a press brings out both
// tucked windows, which stay until the pointer has been over them and
// leaves; a key another program holds is said once and the strips run on.
class RevealKeyTest : public EdgeWatchTest {
protected:
    const THotKey key_{MOD_CONTROL | MOD_ALT, "w"};
};

TEST_F(RevealKeyTest, APressRevealsBothUntilThePointerHasBeenOverThemAndLeaves) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=1\nRevealKey=ctrl+alt+w\n");
    Load();
    EXPECT_FALSE(sim_->HotKeyRegistered(key_)) << "grabbed before Start";
    EXPECT_EQ(StartAndAnswer(), "");
    ASSERT_EQ(Rect(delphi_), DelphiHidden);

    ASSERT_TRUE(sim_->PressHotKey(key_));
    sim_->ProcessMessages();
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    EXPECT_EQ(Rect(inspector_), InspectorRightShown);
    Pointer(500, 500); // away from both, as the pointer was when the key came
    EXPECT_EQ(Rect(delphi_), DelphiShown);
    EXPECT_EQ(Rect(inspector_), InspectorRightShown);
    Pointer(500, 50); // over the main window, then away: it goes
    Pointer(500, 500);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(Rect(inspector_), InspectorRightShown);
    Pointer(900, 300);
    Pointer(500, 300);
    EXPECT_EQ(Rect(inspector_), InspectorRightHidden);

    Panel->btnStop->Click();
    EXPECT_FALSE(sim_->HotKeyRegistered(key_)) << "still grabbed after Stop";
    EXPECT_FALSE(sim_->PressHotKey(key_));
}

TEST_F(RevealKeyTest, AKeyHeldElsewhereOrUnreadableIsSaidAndTheStripsRunWithout) {
    sim_->HotKeysHeldElsewhere.push_back(key_);
    WriteSettings("gwHideDelphi=True\ngwDelay=100\nRevealKey=Ctrl+Alt+W\n");
    Load();
    EXPECT_EQ(StartAndAnswer(),
              "The reveal key Ctrl+Alt+W is held by another program.  Wingtucker runs without it.");
    Pointer(500, 2);
    sim_->Advance(100);
    EXPECT_EQ(Rect(delphi_), DelphiShown) << "the strips stopped with the key";
    Panel->btnStop->Click();

    WriteSettings("gwHideDelphi=True\nRevealKey=w\n");
    EXPECT_EQ(StartAndAnswer(), "The reveal key \"w\" cannot be read: a key without ctrl, alt, "
                                "shift or super would be lost to typing.  Wingtucker runs "
                                "without it.");
}

} // namespace
} // namespace wt::test
