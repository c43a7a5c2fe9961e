// The controller behind the panel: Start and its three refusals, the
// lost-window reset, Stop bringing back every window marked hidden, the
// host's desktop files, reopening the panel, a window manager's close
// request, and termination.
#include "tests/engine/panel_fixture.h"

#include "dialogs/oops.h"
#include "engine/controller.h"
#include "platform/window_presets.h"
#include "settings/EasyINI.h"
#include "widgets/CDKROMem.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace wt::test {
namespace {

constexpr TRect DelphiHidden{0, -101, 1024, 5};

using ControllerTest = AddInTest;

// Start, Stop and Options as the engine's state has them.
void ExpectIdleButtons() {
    EXPECT_TRUE(Panel->btnStart->Enabled());
    EXPECT_FALSE(Panel->btnStop->Enabled());
    EXPECT_TRUE(Panel->btnOptions->Enabled());
}

void ExpectRunningButtons() {
    EXPECT_FALSE(Panel->btnStart->Enabled());
    EXPECT_TRUE(Panel->btnStop->Enabled());
    EXPECT_FALSE(Panel->btnOptions->Enabled());
}

TEST_F(ControllerTest, StartTucksTheChosenWindowsAwayAndHidesThePanel) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=1\n");
    Load();
    Expert()->Execute();
    ASSERT_TRUE(Panel->Visible());
    ExpectIdleButtons();
    host_.project = "/work/Demo/Demo.dpr";
    Panel->btnStart->Click();
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(Rect(inspector_), (TRect{1019, 0, 1219, UsableHeight}));
    EXPECT_TRUE(DelphiWindow.Hidden);
    EXPECT_TRUE(InspectorWindow.Hidden);
    EXPECT_EQ(DelphiWindow.RestoreRect, DelphiAtStart);
    EXPECT_EQ(InspectorWindow.RestoreRect, InspectorAtStart);
    EXPECT_TRUE(HookActive);
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    EXPECT_FALSE(Panel->Visible());
    ExpectRunningButtons();
}

TEST_F(ControllerTest, WithoutTheIdeWindowOpenPanelSaysSoAndReadsNoSettings) {
    sim_->DestroyWindow(delphi_);
    WriteSettings("gwHideDelphi=True\ngwDelay=700\n");
    Load();
    ASSERT_EQ(sim_->MessageBoxCalls().size(), 1u);
    EXPECT_EQ(sim_->MessageBoxCalls()[0].Text, "Delphi could not be found.");
    EXPECT_FALSE(Settings.HideDelphi);
    EXPECT_EQ(Panel->timerWait->Interval(), 250);
    EXPECT_FALSE(Panel->Visible());

    // Picking the menu entry shows the panel and the message again.
    Expert()->Execute();
    EXPECT_EQ(sim_->MessageBoxCalls().size(), 2u);
    EXPECT_TRUE(Panel->Visible());
    EXPECT_FALSE(Settings.HideDelphi);
    EXPECT_TRUE(host_.errors.empty());

    // Once the IDE is there, the next opening reads the settings.
    delphi_ = sim_->AddWindow("TAppBuilder", "Delphi 2.0", DelphiAtStart);
    Expert()->Execute();
    EXPECT_EQ(sim_->MessageBoxCalls().size(), 2u);
    EXPECT_TRUE(Settings.HideDelphi);
    EXPECT_EQ(Panel->timerWait->Interval(), 700);
}

// The add-in loaded beside another program's IDE: the file's rules find its
// windows at once, and a runner's preset stands for them and for the
// settings the file leaves out.
TEST_F(ControllerTest, RulesFindTheIdeWhenTheAddInLoadsAndARunsPresetFillsIn) {
    sim_->DestroyWindow(delphi_);
    const WindowHandle lazarus =
        sim_->AddWindow("Lazarus-gtk2", "Lazarus IDE v2.2.6 - project1", {0, 0, 1024, 90});
    WriteSettings("gwDelay=300\n", "[Windows]\nMain=class=\"^Lazarus\"\n");
    Load();
    EXPECT_TRUE(sim_->MessageBoxCalls().empty()) << sim_->MessageBoxCalls()[0].Text;
    EXPECT_EQ(DelphiWindow.Handle, lazarus);
    EXPECT_FALSE(Settings.UseAutoHide);

    setenv(RunPresetVariable, "lazarus", 1);
    ReadSettings(false);
    unsetenv(RunPresetVariable);
    EXPECT_EQ(Settings.MainRule, FindWindowPreset("lazarus")->MainRule);
    EXPECT_TRUE(Settings.HideDelphi && Settings.HideInspector && Settings.UseAutoHide);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Left);
    EXPECT_EQ(Settings.OpenDelay, 300) << "what the file says wins";
}

TEST_F(ControllerTest, StartWithoutAProjectShowsTheCaptionForOneSecond) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    host_.project.clear();
    Panel->btnStart->Click();
    EXPECT_EQ(Caption(), "Please load a project first...");
    EXPECT_TRUE(sim_->MoveCalls().empty());
    EXPECT_EQ(sim_->SetHookCalls(), 0);
    ExpectIdleButtons();
    sim_->Advance(999);
    EXPECT_EQ(Caption(), "Please load a project first...");
    sim_->Advance(1);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_FALSE(Panel->timerMess->Enabled());
    sim_->Advance(5000);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
    EXPECT_EQ(Rect(delphi_), DelphiAtStart);
}

TEST_F(ControllerTest, StartWithNoWindowChosenShowsTheOopsMessage) {
    WriteSettings("gwHideDelphi=False\ngwHideInspector=False\n");
    Load();
    Expert()->Execute();
    host_.project = "/work/Demo/Demo.dpr";
    QString shown;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        for (TComponent* c : Panel->Components())
            if (auto* oops = dynamic_cast<TfrmOops*>(c)) {
                shown = oops->memo->Text();
                modal = oops->Modal();
                oops->btnOk->Click();
            }
    });
    Panel->btnStart->Click();
    EXPECT_TRUE(modal);
    EXPECT_EQ(ToStd(shown), "No windows are set to be hidden.  Use the options button to "
                            "choose which windows to hide.");
    // The dialog is gone and nothing else happened.
    for (TComponent* c : Panel->Components())
        EXPECT_EQ(dynamic_cast<TfrmOops*>(c), nullptr);
    EXPECT_TRUE(sim_->MoveCalls().empty());
    EXPECT_EQ(sim_->SetHookCalls(), 0);
    ExpectIdleButtons();
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
}

TEST_F(ControllerTest, StopBringsBackAWindowThatWasNotManaged) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    host_.project = "/work/Demo/Demo.dpr";
    Panel->btnStart->Click();
    EXPECT_EQ(MovedWindows(), (std::vector<WindowHandle>{delphi_}));
    EXPECT_TRUE(InspectorWindow.Hidden); // marked, though not moved

    sim_->SetWindowRect(inspector_, {300, 300, 500, 700}); // the user moved it
    sim_->ClearRecords();
    Expert()->Execute();
    Panel->btnStop->Click();
    EXPECT_EQ(MovedWindows(), (std::vector<WindowHandle>{inspector_, delphi_}));
    EXPECT_EQ(Rect(inspector_), InspectorAtStart);
    EXPECT_EQ(Rect(delphi_), DelphiAtStart);
    EXPECT_FALSE(InspectorWindow.Hidden);
    EXPECT_FALSE(DelphiWindow.Hidden);
    EXPECT_FALSE(HookActive);
    EXPECT_EQ(sim_->HookWindow(), 0u);
    ExpectIdleButtons();
    EXPECT_TRUE(Panel->Visible()); // Stop leaves the panel as it was
}

TEST_F(ControllerTest, ProjectClosingStopsAsTheButtonDoes) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    EXPECT_FALSE(host_.Send(fnProjectClosing, "/work/Demo/Demo.dpr"));
    EXPECT_EQ(Rect(delphi_), DelphiAtStart);
    EXPECT_EQ(sim_->HookWindow(), 0u);
    ExpectIdleButtons();
    EXPECT_FALSE(Panel->Visible());
    // The cancel flag is the host's: never touched, whatever it holds.
    EXPECT_TRUE(host_.Send(fnProjectClosing, "/work/Demo/Demo.dpr", true));
}

TEST_F(ControllerTest, StopWhileIdleResetsTheHookAgainAndMovesNothing) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Panel->btnStop->Click();
    EXPECT_EQ(sim_->ResetHookCalls(), 1);
    EXPECT_TRUE(sim_->MoveCalls().empty());
    ExpectIdleButtons();
}

TEST_F(ControllerTest, LostWindowsComeBackFirstEvenWithoutAProject) {
    WriteSettings("gwHideDelphi=True\ngwWindowSounds=True\nMoveOutSound=/sounds/out.wav\n",
                  "[HELP]\nFindLostWindows=True\n");
    Load();
    sim_->SetWindowRect(delphi_, {0, -101, 1024, 5});
    sim_->SetWindowRect(inspector_, {-195, 0, 5, 768});
    DelphiWindow.Hidden = true;
    InspectorWindow.Hidden = true;
    sim_->ClearRecords();
    Panel->btnStart->Click();
    EXPECT_EQ(MovedWindows(), (std::vector<WindowHandle>{inspector_, delphi_}));
    EXPECT_EQ(Rect(inspector_), (TRect{0, 0, 220, 450}));
    EXPECT_EQ(Rect(delphi_), (TRect{0, 0, 600, 106}));
    EXPECT_EQ(sim_->BringToTopCalls(), (std::vector<WindowHandle>{inspector_, delphi_}));
    ASSERT_EQ(sim_->SoundRequests().size(), 2u);
    EXPECT_EQ(sim_->SoundRequests()[0].FileName, "/sounds/out.wav");
    EXPECT_FALSE(DelphiWindow.Hidden);
    EXPECT_FALSE(InspectorWindow.Hidden);
    EXPECT_EQ(Caption(), "Please load a project first...");

    // With a project, Start then tucks away from the rectangles reached.
    host_.project = "/work/Demo/Demo.dpr";
    Panel->btnStart->Click();
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, 0, 600, 106}));
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
}

TEST_F(ControllerTest, WithoutTheKeyStartMovesNothingFirst) {
    WriteSettings("gwHideDelphi=True\n", "[HELP]\nFindLostWindows=False\n");
    Load();
    Panel->btnStart->Click();
    EXPECT_TRUE(sim_->MoveCalls().empty());
}

TEST_F(ControllerTest, TheDefaultDesktopNeverStartsTheEngine) {
    WriteSettings("gwHideDelphi=True\ngwUseAutoHide=True\n");
    Load();
    host_.project = "/work/Demo/Demo.dpr";
    for (const char* name :
         {"/home/user/.config/hostide/delphi32.dsk", "C:\\DELPHI 2.0\\BIN\\DELPHI32.DSK",
          "C:Delphi32.Dsk", "DELPHI32.DSK", "/a:b/dElPhI32.dSk"}) {
        SCOPED_TRACE(name);
        // The geometry is recomputed from where the window stands now.
        sim_->SetWindowRect(delphi_, {0, 10, 1024, 96});
        EXPECT_FALSE(host_.Send(fnDefaultDesktopLoad, name));
        host_.Send(fnProjectDesktopLoad, name);
        EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, 10, 1024, 96}));
        EXPECT_EQ(DelphiWindow.HiddenRect, (TRect{0, -81, 1024, 5}));
        EXPECT_EQ(Panel->iniProj->FileName(), name);
        EXPECT_EQ(sim_->SetHookCalls(), 0);
        EXPECT_TRUE(sim_->MoveCalls().empty());
    }
}

TEST_F(ControllerTest, AnyOtherDesktopStartsTheEngineWhenTheSettingsAskForIt) {
    WriteSettings("gwHideDelphi=True\ngwUseAutoHide=True\n");
    Load();
    host_.project = "/work/Demo/Demo.dpr";
    int starts = 0;
    for (const char* name : {"/work/Demo/Demo.dsk", "/work/DELPHI32.DSK.bak",
                             "C:\\WORK\\XDELPHI32.DSK", "DELPHI32.DS"}) {
        SCOPED_TRACE(name);
        host_.Send(fnProjectDesktopLoad, name);
        EXPECT_EQ(sim_->SetHookCalls(), ++starts);
        EXPECT_EQ(Rect(delphi_), DelphiHidden);
        ExpectRunningButtons();
        host_.Send(fnProjectClosing, "/work/Demo/Demo.dpr");
        ASSERT_EQ(Rect(delphi_), DelphiAtStart);
    }
    // Code 10 starts it just the same for another file.
    host_.Send(fnDefaultDesktopLoad, "/work/Other.dsk");
    EXPECT_EQ(sim_->SetHookCalls(), starts + 1);
}

TEST_F(ControllerTest, ADesktopStartsNothingUnlessAutoHideAndAWindowAreChosen) {
    for (const char* keys : {"gwHideDelphi=True\ngwUseAutoHide=False\n",
                             "gwHideDelphi=False\ngwHideInspector=False\ngwUseAutoHide=True\n"}) {
        SCOPED_TRACE(keys);
        WriteSettings(keys);
        Load();
        host_.project = "/work/Demo/Demo.dpr";
        host_.Send(fnProjectDesktopLoad, "/work/Demo/Demo.dsk");
        EXPECT_EQ(sim_->SetHookCalls(), 0);
        EXPECT_EQ(host_.projectNameCalls, 0); // Start never ran (no Oops either)
        EXPECT_EQ(DelphiWindow.RestoreRect, DelphiAtStart);
        Unload();
    }
}

TEST_F(ControllerTest, AnAutomaticStartWithoutAProjectShowsTheCaption) {
    WriteSettings("gwHideInspector=True\ngwUseAutoHide=True\n");
    Load();
    host_.Send(fnProjectDesktopLoad, "/work/Demo/Demo.dsk");
    EXPECT_EQ(Caption(), "Please load a project first...");
    EXPECT_EQ(sim_->SetHookCalls(), 0);
    sim_->Advance(1000);
    EXPECT_EQ(Caption(), "Wingtucker 1.2d");
}

TEST_F(ControllerTest, PickingTheMenuEntryShowsRaisesAndRereads) {
    WriteSettings("gwHideDelphi=True\ngwDelay=300\n");
    Load();
    EXPECT_FALSE(Panel->Visible());
    EXPECT_TRUE(sim_->BringToTopCalls().empty());
    WriteSettings("gwHideDelphi=False\ngwHideInspector=True\ngwDelay=400\n");
    Expert()->Execute();
    EXPECT_TRUE(Panel->Visible());
    EXPECT_EQ(sim_->BringToTopCalls(), (std::vector<WindowHandle>{Panel->Handle()}));
    EXPECT_FALSE(Settings.HideDelphi);
    EXPECT_TRUE(Settings.HideInspector);
    EXPECT_EQ(Panel->timerWait->Interval(), 400);

    Panel->btnHide->Click();
    EXPECT_FALSE(Panel->Visible());
    Expert()->Execute();
    EXPECT_TRUE(Panel->Visible());
}

TEST_F(ControllerTest, AWindowManagerCloseRequestHidesThePanelOnly) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    TfrmMain* panel = Panel;
    Expert()->Execute();
    ASSERT_TRUE(Panel->Visible());
    EXPECT_FALSE(Panel->Widget()->close()); // the request is refused, the window hidden
    QCoreApplication::processEvents();
    ASSERT_EQ(Panel, panel);
    EXPECT_FALSE(Panel->Visible());

    // Everything still reaches a living panel.
    Start();
    host_.Send(fnProjectClosing, "/work/Demo/Demo.dpr");
    ExpectIdleButtons();
    Expert()->Execute();
    EXPECT_TRUE(Panel->Visible());
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(ControllerTest, TerminationLeavesTuckedWindowsWhereTheyAre) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\n");
    Load();
    Start();
    Pointer(2, 2); // a reveal is pending when the host unloads the add-in
    ASSERT_TRUE(RevealPending());
    terminate_();
    terminate_ = nullptr;
    EXPECT_EQ(Panel, nullptr);
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(Rect(inspector_), (TRect{-195, 0, 5, UsableHeight}));
    EXPECT_TRUE(sim_->MoveCalls().empty());
    EXPECT_EQ(sim_->HookWindow(), 0u);
    EXPECT_FALSE(HookActive);
    EXPECT_EQ(sim_->ActiveTimerCount(), 0u); // no tick can reach the destroyed panel
    sim_->Advance(1000);
    EXPECT_TRUE(sim_->MoveCalls().empty());
    EXPECT_TRUE(host_.errors.empty());
}

} // namespace
} // namespace wt::test
