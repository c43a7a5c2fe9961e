// The add-in driven as a host drives it: entry point, expert, notifier and
// termination, with pointer reports and the clock of the simulated desktop.
#include "addin/addin.h"
#include "engine/engine_state.h"
#include "engine/main.h"
#include "hostapi/toolsapi.h"
#include "platform/sim/sim_platform.h"
#include "settings/settings_store.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/timer.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace wt {
namespace {

class TestServices final : public TIToolServices {
public:
    std::int32_t AddRef() override { return 1; }
    std::int32_t Release() override { return 1; }
    std::int32_t GetVersion() override { return 2; }
    std::uintptr_t OwnerWindowHandle() override { return 0; }
    const char* CurrentProjectName() override { return project.c_str(); }
    bool RegisterNotifier(TIAddInNotifier* n) override {
        notifier = n;
        return true;
    }
    bool UnregisterNotifier(TIAddInNotifier*) override {
        notifier = nullptr;
        return true;
    }
    void ReportError(const char* message) override { errors.push_back(message); }

    std::string project;
    TIAddInNotifier* notifier = nullptr;
    std::vector<std::string> errors;
};

std::vector<TIExpert*> experts;
bool RegisterExpert(TIExpert* expert) {
    experts.push_back(expert);
    return true;
}

class AddInTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "wt_addin_tests";
        static char* argv[] = {name, nullptr};
        if (!qApp)
            new QApplication(argc, argv);
    }

    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("wtaddin" + std::to_string(getpid()) + "_" + std::to_string(counter_++));
        std::filesystem::create_directories(dir_);
        auto sim = std::make_unique<SimPlatform>(dir_.string());
        sim_ = sim.get();
        sim_->SetScreen(1024, 750, 18);
        InstallPlatform(std::move(sim));
        delphi_ = sim_->AddWindow("TAppBuilder", "Delphi 2.0", {0, 0, 1024, 106});
        inspector_ = sim_->AddWindow("TPropertyInspector", "Object Inspector", {0, 120, 200, 570});
    }

    void TearDown() override {
        if (terminate_)
            terminate_();
        for (TIExpert* e : experts)
            e->Release();
        experts.clear();
        ResetAddInForTests();
        ResetEngineState();
        ResetSettings();
        InstallPlatform(nullptr);
        std::filesystem::remove_all(dir_);
    }

    void WriteSettings(const std::string& lines) {
        std::ofstream(dir_ / "Wingtckr.ini") << "[Wingtucker]\n" << lines;
    }

    void Load() {
        ASSERT_TRUE(INITEXPERT0016(&services_, &RegisterExpert, &terminate_));
        ASSERT_NE(Panel, nullptr);
    }

    void Start() {
        services_.project = "/work/Demo.dpr";
        Panel->btnStart->Click();
        sim_->ClearRecords();
    }

    void Pointer(int x, int y) {
        sim_->MovePointer(x, y);
        sim_->ProcessMessages();
    }

    TRect Rect(WindowHandle w) { return sim_->GetWindowRect(w); }

    SimPlatform* sim_ = nullptr;
    TestServices services_;
    TExpertTerminateProc terminate_ = nullptr;
    WindowHandle delphi_ = 0, inspector_ = 0;
    std::filesystem::path dir_;
    static inline int counter_ = 0;
};

TEST_F(AddInTest, EntryRegistersOnceAndTheExpertAnswers) {
    Load();
    ASSERT_EQ(experts.size(), 1u);
    EXPECT_NE(services_.notifier, nullptr);
    TIExpert* e = experts[0];
    EXPECT_STREQ(e->GetName(), "Wingtucker 1.2d");
    EXPECT_STREQ(e->GetMenuText(), "Wingtucker 1.2d");
    EXPECT_STREQ(e->GetIDString(), "GullwindSotware.TWingtuckerExpert12");
    EXPECT_EQ(e->GetStyle(), esStandard);
    EXPECT_EQ(e->GetState().Bits, 1);
    EXPECT_EQ(e->GetVersion(), 2);
    EXPECT_FALSE(Panel->Visible()); // hidden after the first OpenPanel
    EXPECT_FALSE(Panel->btnStop->Enabled());
    EXPECT_TRUE(Panel->btnOptions->Enabled());

    TExpertTerminateProc second = nullptr;
    EXPECT_FALSE(INITEXPERT0016(&services_, &RegisterExpert, &second));
    EXPECT_EQ(experts.size(), 1u);
    EXPECT_EQ(second, nullptr);

    e->Execute();
    EXPECT_TRUE(Panel->Visible());
    EXPECT_TRUE(services_.errors.empty());
}

TEST_F(AddInTest, StartIsRefusedWithoutAProjectOrWithoutWindowsToHide) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Panel->btnStart->Click();
    EXPECT_EQ(ToStd(Panel->Caption()), "Please load a project first...");
    EXPECT_EQ(sim_->SetHookCalls(), 0);
    sim_->Advance(999);
    EXPECT_EQ(ToStd(Panel->Caption()), "Please load a project first...");
    sim_->Advance(1);
    EXPECT_EQ(ToStd(Panel->Caption()), "Wingtucker 1.2d");
    EXPECT_TRUE(Panel->btnStart->Enabled());
}

TEST_F(AddInTest, MissingIdeIsReportedAndSettingsAreNotLoaded) {
    sim_->DestroyWindow(delphi_);
    WriteSettings("gwHideDelphi=True\n");
    Load();
    ASSERT_EQ(sim_->MessageBoxCalls().size(), 1u);
    EXPECT_EQ(sim_->MessageBoxCalls()[0].Text, "Delphi could not be found.");
    EXPECT_FALSE(Settings.HideDelphi);
}

TEST_F(AddInTest, TopEdgeThresholdsTuckAndRevealAfterTheDelay) {
    WriteSettings("gwHideDelphi=True\ngwDelay=200\n");
    Load();
    Start();
    EXPECT_EQ(Rect(delphi_), (TRect{0, -101, 1024, 5}));
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    EXPECT_FALSE(Panel->btnStart->Enabled());
    EXPECT_TRUE(Panel->btnStop->Enabled());

    Pointer(500, 6);
    sim_->Advance(300);
    EXPECT_EQ(Rect(delphi_).Top, -101); // one row below the strip: nothing

    Pointer(500, 5);
    sim_->Advance(199);
    EXPECT_EQ(Rect(delphi_).Top, -101);
    sim_->Advance(1);
    EXPECT_EQ(Rect(delphi_), (TRect{0, 0, 1024, 106}));
    EXPECT_FALSE(DelphiWindow.Hidden);

    Pointer(500, 106);
    EXPECT_EQ(Rect(delphi_).Top, 0);
    // Over a child of the main window the pointer is still "in" it.
    sim_->AddPopup(delphi_, "TPopupMenu", "", {400, 100, 600, 300});
    Pointer(500, 200);
    EXPECT_EQ(Rect(delphi_).Top, 0);
    Pointer(700, 107);
    EXPECT_EQ(Rect(delphi_).Top, -101);
    EXPECT_TRUE(DelphiWindow.Hidden);
}

TEST_F(AddInTest, PointerThatLeavesBeforeTheTickRevealsNothing) {
    WriteSettings("gwHideDelphi=True\ngwDelay=200\n");
    Load();
    Start();
    Pointer(500, 2);
    sim_->Advance(100);
    Pointer(500, 300);
    sim_->Advance(200);
    EXPECT_EQ(Rect(delphi_).Top, -101);
    EXPECT_FALSE(Panel->timerWait->Enabled());
}

TEST_F(AddInTest, RightEdgeThresholdsAndTheCornerRevealsInspectorFirst) {
    WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=1\ngwDelay=100\n");
    Load();
    Start();
    EXPECT_EQ(Rect(inspector_), (TRect{1019, 0, 1219, 768}));
    Pointer(1018, 400);
    sim_->Advance(150);
    EXPECT_EQ(Rect(inspector_).Left, 1019);

    Pointer(1023, 0); // the corner: both strips
    sim_->Advance(100);
    EXPECT_EQ(Rect(inspector_), (TRect{824, 0, 1024, 768}));
    EXPECT_EQ(Rect(delphi_).Top, 0);
    ASSERT_GE(sim_->BringToTopCalls().size(), 2u);
    EXPECT_EQ(sim_->BringToTopCalls()[0], inspector_);
    EXPECT_EQ(sim_->BringToTopCalls()[1], delphi_);

    Pointer(824, 50);
    EXPECT_EQ(Rect(inspector_).Left, 824);
    Pointer(823, 50);
    EXPECT_EQ(Rect(inspector_).Left, 1019);
}

TEST_F(AddInTest, ZeroDelayStillReveals) {
    WriteSettings("gwHideDelphi=True\ngwDelay=0\n");
    Load();
    Start();
    Pointer(10, 1);
    sim_->ProcessMessages();
    EXPECT_EQ(Rect(delphi_).Top, 0);
}

TEST_F(AddInTest, DeactivationSwitchesTheWatchOffAndActivationOn) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(ToStd(Panel->Caption()), "Wingtucker 1.2d - Disabled");
    EXPECT_EQ(sim_->HookWindow(), 0u);
    EXPECT_EQ(Rect(delphi_).Top, -101); // nothing moves
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(ToStd(Panel->Caption()), "Wingtucker 1.2d");
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
}

TEST_F(AddInTest, StopWhileDisabledKeepsTheWatchOffOnReactivation) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    bool cancel = false;
    services_.notifier->Notify(fnProjectClosing, "/work/Demo.dpr", &cancel);
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_EQ(ToStd(Panel->Caption()), "Wingtucker 1.2d");
    EXPECT_EQ(sim_->HookWindow(), 0u); // idle: no watch that could tuck windows
}

TEST_F(AddInTest, DeactivationIsIgnoredWhenTheSettingIsOff) {
    WriteSettings("gwHideDelphi=True\ngwDisableOnFocusLoss=False\n");
    Load();
    Start();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_EQ(ToStd(Panel->Caption()), "Wingtucker 1.2d");
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
}

TEST_F(AddInTest, StopRestoresEveryWindowMarkedHiddenEvenAnUnmanagedOne) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    sim_->SetWindowRect(inspector_, {300, 300, 500, 700}); // moved by the user meanwhile
    bool cancel = false;
    services_.notifier->Notify(fnProjectClosing, "/work/Demo.dpr", &cancel);
    EXPECT_EQ(Rect(delphi_), (TRect{0, 0, 1024, 106}));
    EXPECT_EQ(Rect(inspector_), (TRect{0, 120, 200, 570}));
    EXPECT_EQ(sim_->HookWindow(), 0u);
    EXPECT_TRUE(Panel->btnStart->Enabled());
    EXPECT_FALSE(cancel);
}

TEST_F(AddInTest, DesktopSaveBringsWindowsBackButKeepsTheWatch) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    bool cancel = false;
    services_.notifier->Notify(fnDesktopSave, "/work/Demo.dsk", &cancel);
    EXPECT_EQ(Rect(delphi_).Top, 0);
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    Pointer(10, 400);
    EXPECT_EQ(Rect(delphi_).Top, -101);
}

TEST_F(AddInTest, TheDefaultDesktopNeverStartsAndOthersDo) {
    WriteSettings("gwHideDelphi=True\ngwUseAutoHide=True\n");
    Load();
    services_.project = "/work/Demo.dpr";
    bool cancel = false;
    services_.notifier->Notify(fnDefaultDesktopLoad, "/home/u/.config/hostide/delphi32.dsk",
                               &cancel);
    EXPECT_EQ(sim_->SetHookCalls(), 0);
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, 0, 1024, 106})); // geometry recomputed
    services_.notifier->Notify(fnProjectDesktopLoad, "/work/Demo.dsk", &cancel);
    EXPECT_EQ(sim_->SetHookCalls(), 1);
    EXPECT_EQ(Rect(delphi_).Top, -101);
}

TEST_F(AddInTest, TerminationLeavesTuckedWindowsWhereTheyAre) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    Start();
    terminate_();
    terminate_ = nullptr;
    EXPECT_EQ(Panel, nullptr);
    EXPECT_EQ(Rect(delphi_).Top, -101);
    EXPECT_EQ(services_.notifier, nullptr);
    EXPECT_EQ(sim_->HookWindow(), 0u);
}

TEST_F(AddInTest, LostWindowsAreBroughtBackFirst) {
    std::ofstream(dir_ / "Wingtckr.ini") << "[HELP]\nFindLostWindows=True\n";
    Load();
    Panel->btnStart->Click(); // no project: still moves the windows first
    EXPECT_EQ(Rect(inspector_), (TRect{0, 0, 220, 450}));
    EXPECT_EQ(Rect(delphi_), (TRect{0, 0, 600, 106}));
}

TEST_F(AddInTest, AWindowManagerCloseRequestOnlyHidesThePanel) {
    Load();
    experts[0]->Execute();
    ASSERT_TRUE(Panel->Visible());
    Panel->Close();
    ASSERT_NE(Panel, nullptr);
    EXPECT_FALSE(Panel->Visible());
    QCoreApplication::processEvents();
    ASSERT_NE(Panel, nullptr);
    experts[0]->Execute();
    EXPECT_TRUE(Panel->Visible());
}

} // namespace
} // namespace wt
