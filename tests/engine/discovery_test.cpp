#include "engine/discovery.h"
#include "engine/geometry.h"
#include "platform/window_rule.h"
#include "settings/settings_store.h"

#include "engine_fixture.h"

namespace wt::test {
namespace {

using DiscoveryTest = EngineTest;

TEST_F(DiscoveryTest, PanelOpeningFindsBothByClassWhateverTheTitle) {
    const WindowHandle delphi = AddDelphi({0, 0, 600, 106}, "Delphi 2.0");
    const WindowHandle inspector = AddInspector({0, 106, 200, 500}, "Object Inspector - Form1");
    Sim->AddWindow("TEditWindow", "Unit1.pas", {0, 0, 800, 600});
    EXPECT_TRUE(FindIdeWindows());
    EXPECT_EQ(DelphiWindow.Handle, delphi);
    EXPECT_EQ(InspectorWindow.Handle, inspector);
}

TEST_F(DiscoveryTest, PanelOpeningReportsOnlyAMissingMainWindow) {
    AddDelphi({0, 0, 600, 106});
    EXPECT_TRUE(FindIdeWindows());
    EXPECT_EQ(InspectorWindow.Handle, 0u);

    // Every opening looks again: handles of windows gone since are replaced.
    Sim->DestroyWindow(DelphiWindow.Handle);
    const WindowHandle inspector = AddInspector({0, 106, 200, 500});
    EXPECT_FALSE(FindIdeWindows());
    EXPECT_EQ(DelphiWindow.Handle, 0u);
    EXPECT_EQ(InspectorWindow.Handle, inspector);
}

TEST_F(DiscoveryTest, RefindBeforeMoveAlsoCoversANeverFoundInspector) {
    RefindInspector();
    EXPECT_EQ(InspectorWindow.Handle, 0u);
    AddInspector({0, 0, 200, 500}, "Inspector"); // wrong title
    RefindInspector();
    EXPECT_EQ(InspectorWindow.Handle, 0u);
    const WindowHandle inspector = AddInspector({0, 0, 200, 500});
    RefindInspector();
    EXPECT_EQ(InspectorWindow.Handle, inspector);
}

TEST_F(DiscoveryTest, RefindWindowsComputesGeometryWhileNoneIsComputed) {
    Settings.HangOutPixels = 5;
    const WindowHandle delphi = AddDelphi({0, 0, 600, 106});
    DelphiWindow.Handle = delphi;
    AddInspector({0, 0, 150, 500}, "Properties"); // class matches, title does not
    const WindowHandle inspector = AddInspector({0, 0, 200, 500});
    RefindWindows();
    EXPECT_EQ(InspectorWindow.Handle, inspector);
    EXPECT_EQ(DelphiWindow.Handle, delphi);
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, 0, 600, 106}));
    EXPECT_EQ(DelphiWindow.HiddenRect, (TRect{0, -101, ScreenWidth, 5}));
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{0, 0, 200, 500}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{0, 0, 200, FullScreenHeight + CaptionHeight}));
}

TEST_F(DiscoveryTest, MainWindowIsRefoundOnlyWhileItsShownRectIsAllZero) {
    // The Inspector's geometry, computed first, already gives the main window
    // a shown rectangle with the screen width: no lookup of its own then.
    AddDelphi({0, 0, 600, 106});
    RefindWindows();
    EXPECT_EQ(DelphiWindow.Handle, 0u);
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 0}));

    // On a screen 0 wide that rectangle stays all zeros, and it is looked up.
    ResetEngineState();
    Sim->SetScreen(0, FullScreenHeight, CaptionHeight);
    const WindowHandle other = Sim->AddWindow("TAppBuilder", "any title", {0, 0, 600, 50});
    RefindWindows();
    EXPECT_EQ(DelphiWindow.Handle, other);
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, 0, 50}));
}

TEST_F(DiscoveryTest, RefindWindowsLeavesComputedGeometryAlone) {
    const WindowHandle delphi = AddDelphi({0, 0, 600, 106});
    const WindowHandle inspector = AddInspector({0, 0, 200, 500});
    FindIdeWindows();
    MeasureWindows();
    const HiddenWindow delphiBefore = DelphiWindow;
    const HiddenWindow inspectorBefore = InspectorWindow;

    // The IDE re-creates both windows elsewhere; the tick does not notice.
    Sim->DestroyWindow(delphi);
    Sim->DestroyWindow(inspector);
    AddDelphi({50, 50, 700, 200});
    AddInspector({300, 0, 500, 600});
    RefindWindows();
    EXPECT_EQ(DelphiWindow.Handle, delphiBefore.Handle);
    EXPECT_EQ(DelphiWindow.RestoreRect, delphiBefore.RestoreRect);
    EXPECT_EQ(InspectorWindow.Handle, inspectorBefore.Handle);
    EXPECT_EQ(InspectorWindow.RestoreRect, inspectorBefore.RestoreRect);
    EXPECT_EQ(InspectorWindow.ShownRect, inspectorBefore.ShownRect);
}

// With rules set, the windows they match are the IDE's, whatever the host's
// classes say; a rule that matches nothing finds nothing.
TEST_F(DiscoveryTest, RulesFindAnotherIdesWindows) {
    const WindowHandle delphi = AddDelphi({0, 0, 600, 106});
    const WindowHandle main =
        Sim->AddWindow("Lazarus-gtk2", "Lazarus IDE v2.2.6 - project1", {0, 0, 1280, 100});
    const WindowHandle inspector =
        Sim->AddWindow("Lazarus-gtk2", "Object Inspector", {0, 120, 220, 700});
    Settings.MainWindowRule = ParseWindowRule("class=\"^Lazarus\" title=\"^Lazarus IDE\"");
    Settings.InspectorWindowRule = ParseWindowRule("class=\"^Lazarus\" title=\"^Object Insp\"");
    EXPECT_TRUE(FindIdeWindows());
    EXPECT_EQ(DelphiWindow.Handle, main);
    EXPECT_EQ(InspectorWindow.Handle, inspector);

    // The re-find before a move goes by the rule too.
    Sim->DestroyWindow(inspector);
    const WindowHandle again = Sim->AddWindow("Lazarus-gtk2", "Object Inspector", {});
    RefindInspector();
    EXPECT_EQ(InspectorWindow.Handle, again);

    Settings.MainWindowRule = ParseWindowRule("class=\"^Designer\"");
    EXPECT_FALSE(FindIdeWindows()) << "a rule that matches nothing";
    Settings.MainWindowRule.reset();
    EXPECT_TRUE(FindIdeWindows());
    EXPECT_EQ(DelphiWindow.Handle, delphi) << "without a rule, the host's class";
}

TEST_F(DiscoveryTest, TheInspectorIsOfTheMainWindowsProgram) {
    // Two IDEs run; the one whose main window is on top is served.
    const WindowHandle main = Sim->AddWindow("Lazarus-gtk2", "Lazarus IDE - a", {0, 0, 1280, 90});
    const WindowHandle own = Sim->AddWindow("Lazarus-gtk2", "Object Inspector", {0, 0, 200, 600});
    const WindowHandle other = Sim->AddWindow("Lazarus-gtk2", "Object Inspector", {0, 0, 200, 600});
    Sim->AddWindow("Lazarus-gtk2", "Lazarus IDE - b", {0, 0, 1280, 90});
    Sim->SetWindowClient(other, 0, 200);
    Sim->SetWindowClient(own, 0, 100);
    Settings.MainWindowRule = ParseWindowRule("title=\"^Lazarus IDE - a\"");
    Settings.InspectorWindowRule = ParseWindowRule("title=\"^Object Inspector$\"");

    Sim->SetWindowClient(main, 0, 100);
    ASSERT_TRUE(FindIdeWindows());
    EXPECT_EQ(InspectorWindow.Handle, own) << "by process";
    Sim->SetWindowClient(main, 7, 100);
    Sim->SetWindowClient(own, 7, 0);
    Sim->SetWindowClient(other, 8, 100);
    ASSERT_TRUE(FindIdeWindows());
    EXPECT_EQ(InspectorWindow.Handle, own) << "the client leader goes before the process";
    Sim->SetWindowClient(main, 0, 0);
    ASSERT_TRUE(FindIdeWindows());
    EXPECT_NE(InspectorWindow.Handle, 0u) << "a main window that does not say narrows nothing";
}

} // namespace
} // namespace wt::test
