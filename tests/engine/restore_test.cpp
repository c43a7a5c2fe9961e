// Where the windows end up when the engine lets them go: Stop handled in the
// middle of a tuck or reveal, a pointer message or tick arriving after Stop,
// windows left off screen before Start, closing the project or saving the
// desktop while a window is revealed, and settings changed while running.
#include "tests/engine/panel_fixture.h"

#include "engine/controller.h"

namespace wt::test {
namespace {

constexpr TRect DelphiHidden{0, -101, 1024, 5};
constexpr TRect InspectorShownLeft{0, 0, 200, 768};
constexpr TRect InspectorHiddenLeft{-195, 0, 5, 768};

std::intptr_t Position(int x, int y) { return (y << 16) | x; }

class RestoreTest : public AddInTest {
protected:
    void StartBoth(const std::string& extra = {}) {
        WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\ngwDelay=200\n" + extra);
        Load();
        Start();
    }

    // The pointer report is handled; the move it starts lets a Stop click through.
    void PointerStoppingInItsMove(int x, int y) {
        ASSERT_TRUE(sim_->MovePointer(x, y));
        sim_->DuringNextPump = [] { Panel->btnStop->Click(); };
        sim_->SimPlatform::ProcessMessages();
    }

    void ExpectBothAtStart(const char* when) {
        EXPECT_EQ(Rect(delphi_), DelphiAtStart) << when;
        EXPECT_EQ(Rect(inspector_), InspectorAtStart) << when;
        EXPECT_TRUE(Panel->btnStart->Enabled()) << when;
        EXPECT_FALSE(HookActive) << when;
    }

    // What the hook or the reveal timer may still deliver after Stop.
    void ExpectLateDeliveriesMoveNothing() {
        sim_->ClearRecords();
        sim_->PostMessage(Panel->Handle(), WM_WATCHMOUSE, 0, Position(2, 1));
        sim_->ProcessMessages();
        Panel->timerWait->SetEnabled(true);
        sim_->Advance(1000);
        EXPECT_TRUE(sim_->MoveCalls().empty());
        ExpectBothAtStart("after late deliveries");
    }
};

TEST_F(RestoreTest, StopHandledInTheTucksPumpLeavesEveryWindowWhereItWas) {
    StartBoth();
    Pointer(300, 1);
    sim_->Advance(200);
    ASSERT_EQ(Rect(delphi_), (TRect{0, 0, 1024, 106})) << "not revealed";
    // The pointer leaves for the panel's Stop button, which is clicked while
    // the tuck that the pointer started pumps messages.
    PointerStoppingInItsMove(510, 358);
    ExpectBothAtStart("after Stop");
    ExpectLateDeliveriesMoveNothing();
}

TEST_F(RestoreTest, StopHandledInTheRevealsPumpLeavesEveryWindowWhereItWas) {
    StartBoth();
    Pointer(1, 1); // both strips: one tick reveals both
    sim_->DuringNextPump = [] { Panel->btnStop->Click(); };
    sim_->Advance(200);
    ExpectBothAtStart("after Stop");
    ExpectLateDeliveriesMoveNothing();
}

TEST_F(RestoreTest, StopHandledInStartsOwnTuckLeavesTheWatchOff) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\n");
    Load();
    host_.project = "/work/Demo/Demo.dpr";
    sim_->DuringNextPump = [] { Panel->btnStop->Click(); };
    Panel->btnStart->Click();
    ExpectBothAtStart("after Start and Stop");
    EXPECT_TRUE(Panel->btnStart->Enabled());
    EXPECT_FALSE(Panel->btnStop->Enabled());
}

// Windows an earlier fault or session left tucked: Start brings them back
// first, so that Stop does not "restore" them to their strips.
TEST_F(RestoreTest, StartTakesNoOffScreenPlaceAsThePlaceToRestore) {
    sim_->MoveWindow(delphi_, 0, -101, 1024, 106, true);
    sim_->MoveWindow(inspector_, -215, 0, 220, 768, true);
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\n");
    Load();
    Start();
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, 0, 1024, 106}));
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{0, 0, 220, 768}));
    Panel->btnStop->Click();
    EXPECT_EQ(Rect(delphi_), (TRect{0, 0, 1024, 106}));
    EXPECT_EQ(Rect(inspector_), (TRect{0, 0, 220, 768}));
}

TEST_F(RestoreTest, AWindowPartlyOffScreenIsLeftWhereTheUserPutIt) {
    sim_->MoveWindow(inspector_, -80, 120, 200, 450, true); // 120 of 200 columns on screen
    WriteSettings("gwHideInspector=True\ngwSide=0\n");
    Load();
    Start();
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{-80, 120, 120, 570}));
}

// Closing the project and saving the desktop bring back revealed windows
// too, to where they were before Start, not where the reveal put them.
TEST_F(RestoreTest, RevealedWindowsGoBackToTheirPlacesBeforeStart) {
    struct Case {
        const char* what;
        std::uint8_t code;
        const char* file;
        bool stillRunning;
    };
    for (const Case& c :
         {Case{"closing the project", fnProjectClosing, "/work/Demo/Demo.dpr", false},
          Case{"saving the desktop", fnDesktopSave, "/work/Demo/Demo.dsk", true}}) {
        StartBoth();
        Pointer(1, 1);
        sim_->Advance(200);
        ASSERT_EQ(Rect(inspector_), InspectorShownLeft) << c.what << ": not revealed";
        host_.Send(c.code, c.file);
        EXPECT_EQ(Rect(inspector_), InspectorAtStart) << c.what;
        EXPECT_EQ(Rect(delphi_), DelphiAtStart) << c.what;
        EXPECT_EQ(Panel->btnStop->Enabled(), c.stillRunning) << c.what;
        Unload();
        sim_->MoveWindow(delphi_, 0, 0, 1024, 106, true);
        sim_->MoveWindow(inspector_, 0, 120, 200, 450, true);
    }
}

// The settings file changed to the right side while the engine runs with the
// Inspector tucked on the left: reopening the panel keeps the running
// geometry, and the watch goes on with it.
TEST_F(RestoreTest, ReopeningThePanelWhileRunningKeepsTheRunningSide) {
    StartBoth();
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=1\n");
    Expert()->Execute();
    Panel->btnHide->Click();
    Pointer(2, 400);
    sim_->Advance(200);
    EXPECT_EQ(Rect(inspector_), InspectorShownLeft);
    Pointer(600, 400);
    EXPECT_EQ(Rect(inspector_), InspectorHiddenLeft);
    // Stop and Start take the file as it is now.
    Panel->btnStop->Click();
    EXPECT_EQ(Rect(inspector_), InspectorAtStart);
    Start();
    EXPECT_EQ(Rect(inspector_), (TRect{1019, 0, 1219, 768}));
}

TEST_F(RestoreTest, StartReadsTheSettingsFileAfresh) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Expert()->Execute();
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\n");
    Start();
    EXPECT_EQ(Rect(inspector_), InspectorHiddenLeft);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
}

// A programmatic second Start while running (a desktop loaded) records the
// places from before the first Start, not the strips.
TEST_F(RestoreTest, ASecondStartKeepsThePlacesFromBeforeTheFirst) {
    StartBoth("gwUseAutoHide=True\n");
    host_.Send(fnProjectDesktopLoad, "/work/Demo/Demo.dsk");
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(DelphiWindow.RestoreRect, DelphiAtStart);
    EXPECT_EQ(InspectorWindow.RestoreRect, InspectorAtStart);
    Panel->btnStop->Click();
    ExpectBothAtStart("after Stop");
}

// A settings file that cannot be read: the user hears it once, in answer to
// opening the panel (not while the host starts), and the file is left alone.
TEST_F(RestoreTest, AnUnusableSettingsFileIsReportedOnceAndLeftAsItIs) {
    const std::string content("[Wingtucker]\ngwHideDelphi=True\n\0junk\n", 37);
    std::ofstream(dir_ / "Wingtckr.ini", std::ios::binary) << content;
    Load();
    EXPECT_TRUE(sim_->MessageBoxCalls().empty()) << "told while the host starts";
    Expert()->Execute();
    Expert()->Execute();
    ASSERT_EQ(sim_->MessageBoxCalls().size(), 1u);
    const std::string& text = sim_->MessageBoxCalls()[0].Text;
    EXPECT_NE(text.find((dir_ / "Wingtckr.ini").string()), std::string::npos) << text;
    EXPECT_FALSE(Settings.HideDelphi) << "the defaults are used";
    std::ifstream in(dir_ / "Wingtckr.ini", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
}

} // namespace
} // namespace wt::test

namespace wt::test {
namespace {

// How the windows are shown at Start: a maximized one is tucked at its
// normal size and maximized again at Stop; a minimized or rolled-up one is
// left alone for the run, with one message naming it.
using ShowStatesTest = AddInTest;

TEST_F(ShowStatesTest, AMaximizedWindowIsTuckedAtItsNormalSizeAndMaximizedAgainAtStop) {
    WriteSettings("gwHideDelphi=True\n");
    sim_->SetShowState(delphi_, TShowState::Maximized, {100, 100, 700, 206});
    const TRect full = Rect(delphi_);
    Load();
    EXPECT_EQ(StartAndAnswer(), "");
    EXPECT_EQ(Rect(delphi_), (TRect{0, -101, 1024, 5})) << "tucked at its normal height";
    EXPECT_EQ(sim_->ShowStateOf(delphi_), TShowState::Normal);
    Panel->btnStop->Click();
    EXPECT_EQ(sim_->ShowStateOf(delphi_), TShowState::Maximized);
    EXPECT_EQ(Rect(delphi_), full);
}

TEST_F(ShowStatesTest, MinimizedAndRolledUpWindowsAreLeftWithOneMessage) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\n");
    sim_->SetShowState(inspector_, TShowState::Minimized);
    Load();
    EXPECT_EQ(StartAndAnswer(), "The Object Inspector is minimized: Wingtucker leaves it where it "
                                "is this time.  Show it as usual and press Start again.");
    EXPECT_EQ(Rect(inspector_), InspectorAtStart);
    EXPECT_EQ(Rect(delphi_), (TRect{0, -101, 1024, 5})) << "the other window is tucked as usual";
    Panel->btnStop->Click();

    sim_->SetShowState(delphi_, TShowState::Shaded);
    EXPECT_EQ(StartAndAnswer(),
              "The IDE main window is rolled up and the Object Inspector is minimized: Wingtucker "
              "leaves them where they are this time.  Show them as usual and press Start again.");
    EXPECT_EQ(Rect(delphi_), DelphiAtStart);
}

} // namespace
} // namespace wt::test
