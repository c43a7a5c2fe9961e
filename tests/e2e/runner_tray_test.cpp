// The runner's tray menu, used as a user uses it: a right click on the icon
// in a tray of the XEmbed kind, then the menu by keys. The IDE's windows are
// played by a test client with Lazarus's classes and titles.
#include "tests/e2e/ide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros would break its templates.
#include "tests/e2e/fake_tray.h"
#include "platform/x11/x11_errors.h"
#include "tests/x11/test_client.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <filesystem>
#include <fstream>
#include <thread>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void Key(Display* x, KeySym key) {
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), True, CurrentTime);
    XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), False, CurrentTime);
    XFlush(x);
    std::this_thread::sleep_for(100ms);
}

// Opens the icon's menu with a right click and picks an entry by keys:
// downs times Down (Up when negative), then Return.
void PickFromTray(Display* x, const FakeTray& tray, int downs) {
    PointerTo(x, tray.X(), tray.Y());
    XTestFakeButtonEvent(x, 3, True, CurrentTime);
    XTestFakeButtonEvent(x, 3, False, CurrentTime);
    XFlush(x);
    std::this_thread::sleep_for(700ms); // the menu opens
    for (int i = 0; i < std::abs(downs); ++i)
        Key(x, downs > 0 ? XK_Down : XK_Up);
    Key(x, XK_Return);
}

TEST(RunnerTray, StartStopAndQuitFromTheTrayMenu) {
    test::XvfbServer server;
    server.Start(1024, 768);
    test::Openbox manager;
    manager.Start(server.DisplayName());
    Display* x = XOpenDisplay(server.DisplayName().c_str());
    ASSERT_NE(x, nullptr);
    WatchDisplayErrors(x);
    FakeTray tray(server.DisplayName());
    const fs::path dir = fs::temp_directory_path() / ("wt-tray-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // Started by hand here, not with the IDE.
    std::ofstream(dir / "Wingtckr.ini") << "[Wingtucker]\ngwUseAutoHide=False\n";
    Program runner;
    runner.Start({WT_RUNNER_PATH, "--preset", "lazarus", "--dir", dir.string()},
                 {{"DISPLAY", server.DisplayName()}, {"QT_QPA_PLATFORM", "xcb"}},
                 (dir / "runner.log").string());
    ASSERT_TRUE(Await([&] { return tray.Icon() != 0; }, 10000)) << "the icon docks in the tray\n"
                                                                << ReadFile(dir / "runner.log");

    setenv("DISPLAY", server.DisplayName().c_str(), 1);
    test::TestClient ide;
    test::WindowSetup main{"Lazarus-gtk2", "Lazarus IDE v2.2.6+dfsg2-2 - project1"};
    main.Rect = {0, 0, 1024, 90};
    test::WindowSetup inspector{"Lazarus-gtk2", "Object Inspector"};
    inspector.Rect = {0, 130, 240, 700};
    const Window mainWindow = ide.Create(main);
    ide.Create(inspector);
    std::this_thread::sleep_for(1500ms);
    const TRect home = PlacementOf(x, mainWindow)->Outer;
    EXPECT_GE(home.Top, 0) << "nothing starts by itself with gwUseAutoHide off";

    PickFromTray(x, tray, 2); // Wingtucker 1.2d, Start
    EXPECT_TRUE(Await([&] { return PlacementOf(x, mainWindow)->Outer.Bottom == 5; }, 10000))
        << "Start from the tray tucks\n"
        << ReadFile(dir / "runner.log");
    PointerTo(x, 500, 500);
    PickFromTray(x, tray, 3); // Stop
    EXPECT_TRUE(Await([&] { return PlacementOf(x, mainWindow)->Outer == home; }, 10000))
        << "Stop from the tray brings it back";
    PickFromTray(x, tray, -1); // Quit, the last entry
    EXPECT_EQ(runner.Wait(10000), 0) << ReadFile(dir / "runner.log");
    XCloseDisplay(x);
    UnwatchDisplayErrors(x);
    fs::remove_all(dir);
}

} // namespace
} // namespace wt::e2e
