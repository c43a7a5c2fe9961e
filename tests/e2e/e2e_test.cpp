// The add-in inside hostide on a private Xvfb, with no window manager and
// under openbox: where Start puts the windows, each step of an animated tuck,
// reveals by the pointer, the sound of a tuck, and the ways the windows come
// back.
#include "tests/e2e/configure_watch.h"
#include "tests/e2e/hostide_run.h"
#include "tests/x11/wave_file.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "tests/e2e/top_windows.h"

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "tests/x11/test_client.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMain = "TAppBuilder";
constexpr const char* kInspector = "TPropertyInspector";
constexpr int kRunTimeoutMs = 15000;

// The panel opens at the screen centre; these are its buttons' middles.
constexpr const char* kClickStart = "click 593 393";
constexpr const char* kClickStop = "click 510 358";

struct Box {
    int left, top, right, bottom;
};

void ExpectAt(const WindowRect* rect, Box box, const std::string& what) {
    ASSERT_NE(rect, nullptr) << what << ": no rects line";
    EXPECT_EQ(rect->left, box.left) << what;
    EXPECT_EQ(rect->top, box.top) << what;
    EXPECT_EQ(rect->right, box.right) << what;
    EXPECT_EQ(rect->bottom, box.bottom) << what;
    EXPECT_TRUE(rect->mapped) << what;
}

// The lines of an INI section, each followed by a space.
std::string Section(const std::string& text, const std::string& name) {
    std::istringstream in(text);
    std::string line, lines;
    bool inside = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[')
            inside = line == "[" + name + "]";
        else if (inside && !line.empty())
            lines += line + " ";
    }
    return lines;
}

const Box kMainShown{0, 0, 1024, 106};
const Box kMainHidden{0, -101, 1024, 5};
const Box kInspectorAtStart{0, 130, 220, 580};
const Box kInspectorHiddenLeft{-215, 0, 5, 768};
const Box kInspectorHiddenRight{1019, 0, 1239, 768};

// One private X server per test suite, with a window manager if asked for.
struct Desktop {
    test::XvfbServer server;
    test::Openbox manager;
};

class HostideOnXvfb : public ::testing::Test {
protected:
    static void StartDesktop(bool withManager) {
        desktop_ = new Desktop;
        try {
            desktop_->server.Start(1024, 768, 110);
            if (withManager)
                desktop_->manager.Start(desktop_->server.DisplayName());
        } catch (const std::exception& e) {
            desktopError_ = e.what();
        }
    }
    static void TearDownTestSuite() {
        delete desktop_;
        desktop_ = nullptr;
        desktopError_.clear();
    }
    static const std::string& DisplayName() { return desktop_->server.DisplayName(); }

    void SetUp() override {
        ASSERT_TRUE(desktopError_.empty()) << desktopError_;
        char pattern[] = "/tmp/wt-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
    }
    void TearDown() override {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Writes Wingtckr.ini: the values a test does not name are the defaults
    // used here, with no focus handling since no window manager activates.
    void WriteSettings(const std::map<std::string, std::string>& overrides) {
        std::map<std::string, std::string> values{
            {"gwHideInspector", "True"},      {"gwHideDelphi", "True"}, {"gwSide", "0"},
            {"gwAnimate", "False"},           {"gwAnimateSpeed", "4"},  {"gwDelay", "200"},
            {"gwDisableOnFocusLoss", "False"}};
        for (const auto& [key, value] : overrides)
            values[key] = value;
        std::ofstream ini(dir_ / "config" / "wingtucker" / "Wingtckr.ini");
        ini << "[Wingtucker]\n";
        for (const auto& [key, value] : values)
            ini << key << '=' << value << '\n';
    }

    // Opens a project, opens the panel and presses Start; then BODY; then quit.
    std::string Script(const std::string& body, int waitBeforeStart = 400) {
        std::ostringstream s;
        s << "new-project " << Project() << "\n"
          << "menu Tools|Wingtucker 1.2d\nwait " << waitBeforeStart << "\n"
          << "echo @before\nrects\n"
          << kClickStart << "\nwait 500\necho @started\nrects\n"
          << body << "quit\n";
        return s.str();
    }

    std::string Project() const { return (dir_ / "project" / "Demo.dpr").string(); }

    void Launch(const std::string& script) {
        const fs::path file = dir_ / "test.script";
        std::ofstream(file) << script;
        ASSERT_TRUE(run_.Start(DisplayName(), (dir_ / "config").string(), file.string()));
    }

    void RunScript(const std::string& script) {
        Launch(script);
        Finish();
    }

    void Finish() {
        const int status = run_.Wait(kRunTimeoutMs);
        EXPECT_EQ(status, 0) << "hostide output:\n" << run_.Output();
    }

    static Desktop* desktop_;
    static std::string desktopError_;
    fs::path dir_;
    HostideRun run_;
};

Desktop* HostideOnXvfb::desktop_ = nullptr;
std::string HostideOnXvfb::desktopError_;

class AddinOnXvfb : public HostideOnXvfb {
protected:
    static void SetUpTestSuite() { StartDesktop(false); }
};

TEST_F(AddinOnXvfb, StartTucksBothWindowsToTheTopAndLeftStrips) {
    WriteSettings({});
    RunScript(Script(""));
    ExpectAt(run_.Rect("before", kMain), kMainShown, "main window before Start");
    ExpectAt(run_.Rect("before", kInspector), kInspectorAtStart, "Inspector before Start");
    ExpectAt(run_.Rect("started", kMain), kMainHidden, "main window after Start");
    ExpectAt(run_.Rect("started", kInspector), kInspectorHiddenLeft, "Inspector after Start");
}

TEST_F(AddinOnXvfb, RightSideTucksTheInspectorBeyondTheRightEdge) {
    WriteSettings({{"gwSide", "1"}, {"gwHideDelphi", "False"}});
    RunScript(Script(""));
    ExpectAt(run_.Rect("started", kInspector), kInspectorHiddenRight, "Inspector after Start");
    ExpectAt(run_.Rect("started", kMain), kMainShown, "main window not managed");
}

TEST_F(AddinOnXvfb, AnimatedTuckPassesEachStepAsAConfigureEvent) {
    WriteSettings({{"gwAnimate", "True"}, {"gwAnimateSpeed", "4"}, {"gwHideInspector", "False"}});
    ConfigureWatch watch(DisplayName());
    ASSERT_TRUE(watch.Connected());
    // The long wait before Start leaves time to find the window and watch it.
    Launch(Script("", 1500));
    ASSERT_TRUE(watch.Attach(kMain, 5000)) << "no " << kMain << " window";
    Finish();
    watch.Drain();

    // Under load the host's own placement of the window at its start
    // position (a desktop load) can still arrive after the watch began: it
    // is no step of the slide.
    std::string seen;
    bool sliding = false;
    for (const Configure& c : watch.Events()) {
        sliding = sliding || !(c.top == 0 && c.bottom == 106);
        if (sliding)
            seen += "(" + std::to_string(c.top) + "," + std::to_string(c.bottom) + ")";
        if (c.top == -101 && c.bottom == 5)
            break; // landed; at quit the add-in's leaving brings it back
    }
    EXPECT_EQ(seen, "(-25,81)(-50,56)(-75,31)(-100,6)(-101,5)");
}

TEST_F(AddinOnXvfb, PointerRestingInTheStripRevealsAfterTheDelayAndLeavingTucks) {
    WriteSettings({{"gwDelay", "400"}});
    RunScript(Script("move 512 1\nmove 513 2\nwait 100\necho @resting\nrects\n"
                     "wait 700\necho @revealed\nrects\n"
                     "move 600 500\nmove 601 501\nwait 300\necho @left\nrects\n"));
    ExpectAt(run_.Rect("resting", kMain), kMainHidden, "before the delay is over");
    ExpectAt(run_.Rect("revealed", kMain), kMainShown, "after the delay");
    ExpectAt(run_.Rect("revealed", kInspector), kInspectorHiddenLeft, "Inspector stays tucked");
    ExpectAt(run_.Rect("left", kMain), kMainHidden, "after the pointer left");
}

// The tuck on leaving runs inside the pointer message's handler and slides
// in steps that pump the event loop; the next rest on the strip still reveals.
TEST_F(AddinOnXvfb, AnAnimatedTuckFromThePointerHandlerLeavesTheWatchWorking) {
    WriteSettings({{"gwAnimate", "True"}, {"gwAnimateSpeed", "4"}, {"gwHideInspector", "False"}});
    RunScript(Script("move 512 1\nmove 513 2\nwait 700\necho @revealed\nrects\n"
                     "move 600 500\nmove 601 501\nwait 500\necho @left\nrects\n"
                     "move 512 1\nmove 513 2\nwait 700\necho @again\nrects\n"));
    ExpectAt(run_.Rect("revealed", kMain), kMainShown, "first reveal");
    ExpectAt(run_.Rect("left", kMain), kMainHidden, "after the animated tuck");
    ExpectAt(run_.Rect("again", kMain), kMainShown, "second reveal");
}

TEST_F(AddinOnXvfb, PointerLeavingTheStripBeforeTheDelayRevealsNothing) {
    WriteSettings({{"gwDelay", "300"}});
    RunScript(Script("move 512 1\nmove 513 2\nmove 600 500\nmove 601 501\nwait 700\n"
                     "echo @after\nrects\n"));
    ExpectAt(run_.Rect("after", kMain), kMainHidden, "main window");
    ExpectAt(run_.Rect("after", kInspector), kInspectorHiddenLeft, "Inspector");
}

TEST_F(AddinOnXvfb, SavingTheDesktopBringsTheWindowsBackFirst) {
    WriteSettings({});
    RunScript(Script("save-desktop\nwait 300\necho @saved\nrects\n"));
    ExpectAt(run_.Rect("saved", kMain), kMainShown, "main window after save");
    ExpectAt(run_.Rect("saved", kInspector), kInspectorAtStart, "Inspector after save");

    // The desktop file holds the places the windows had before Start.
    std::ifstream dsk(dir_ / "project" / "Demo.dsk");
    ASSERT_TRUE(dsk) << "no desktop file written";
    std::stringstream text;
    text << dsk.rdbuf();
    const std::string saved = text.str();
    EXPECT_EQ(Section(saved, "MainWindow"), "Left=0 Top=0 Width=1024 Height=106 ") << saved;
    EXPECT_EQ(Section(saved, "ObjectInspector"), "Left=0 Top=130 Width=220 Height=450 Visible=1 ")
        << saved;
}

TEST_F(AddinOnXvfb, ClosingTheProjectBringsTheWindowsBack) {
    WriteSettings({});
    RunScript(Script("close-project\nwait 400\necho @closed\nrects\n"
                     "move 512 1\nmove 513 2\nwait 500\necho @moved\nrects\n"));
    ExpectAt(run_.Rect("closed", kMain), kMainShown, "main window after closing");
    ExpectAt(run_.Rect("closed", kInspector), kInspectorAtStart, "Inspector after closing");
    ExpectAt(run_.Rect("moved", kInspector), kInspectorAtStart, "Inspector, pointer on the strip");
}

// Stop clicked the moment the pointer arrives on it from the revealed main
// window: the tuck the pointer started lets the click through, and both
// windows still end where they were before Start, also after a second run.
TEST_F(AddinOnXvfb, StopClickedAsThePointerLeavesARevealedWindowBringsBothBack) {
    WriteSettings({});
    const std::string stop = std::string("menu Tools|Wingtucker 1.2d\n") + kClickStop + "\n";
    RunScript(Script("move 300 1\nmove 301 0\nwait 600\necho @revealed\nrects\n" + stop +
                     "wait 600\necho @stopped\nrects\n" + kClickStart + "\nwait 500\n" + stop +
                     "wait 600\necho @again\nrects\n"));
    ExpectAt(run_.Rect("revealed", kMain), kMainShown, "main window revealed");
    for (const char* marker : {"stopped", "again"}) {
        ExpectAt(run_.Rect(marker, kMain), kMainShown, std::string("main window, ") + marker);
        ExpectAt(run_.Rect(marker, kInspector), kInspectorAtStart,
                 std::string("Inspector, ") + marker);
    }
}

// A revealed Inspector stands at full height: saving the desktop and closing
// the project put it back where it was before Start, and that is what the
// desktop file keeps.
TEST_F(AddinOnXvfb, SavingAndClosingWhileTheInspectorIsRevealedKeepItsPlaceBeforeStart) {
    WriteSettings({});
    const std::string reveal = "move 1 400\nmove 0 401\nwait 600\n";
    RunScript(Script(reveal +
                     "echo @revealed\nrects\nsave-desktop\nwait 300\necho @saved\nrects\n" +
                     "move 600 500\nmove 601 501\nwait 300\n" + reveal +
                     "close-project\nwait 400\necho @closed\nrects\n"));
    ExpectAt(run_.Rect("revealed", kInspector), {0, 0, 220, 768}, "Inspector revealed");
    ExpectAt(run_.Rect("saved", kInspector), kInspectorAtStart, "Inspector after save");
    ExpectAt(run_.Rect("closed", kInspector), kInspectorAtStart, "Inspector after closing");
    ExpectAt(run_.Rect("closed", kMain), kMainShown, "main window after closing");
    std::ifstream dsk(dir_ / "project" / "Demo.dsk");
    std::stringstream text;
    text << dsk.rdbuf();
    EXPECT_EQ(Section(text.str(), "ObjectInspector"),
              "Left=0 Top=130 Width=220 Height=450 Visible=1 ")
        << text.str();
}

// Without a window manager no window is ever active: the host counts as
// active, so the default focus handling leaves the strips working.
TEST_F(AddinOnXvfb, TheDefaultFocusHandlingLeavesTheStripsWorkingWithoutAManager) {
    WriteSettings({{"gwDisableOnFocusLoss", "True"}});
    RunScript(Script("move 512 1\nmove 513 2\nwait 700\necho @revealed\nrects\n"));
    ExpectAt(run_.Rect("revealed", kMain), kMainShown, "main window");
}

// The panel stays open after Stop; quitting must still end the host.
TEST_F(AddinOnXvfb, StopBringsTheWindowsBack) {
    WriteSettings({});
    RunScript(
        Script(std::string("menu Tools|Wingtucker 1.2d\nwait 400\n") + kClickStop +
               "\nwait 500\necho @stopped\nrects\n"
               // The watch is off: the strip reveals nothing any more.
               "move 512 1\nmove 513 2\nmove 2 400\nmove 3 401\nwait 400\necho @moved\nrects\n"));
    ExpectAt(run_.Rect("stopped", kMain), kMainShown, "main window after Stop");
    ExpectAt(run_.Rect("stopped", kInspector), kInspectorAtStart, "Inspector after Stop");
    ExpectAt(run_.Rect("moved", kMain), kMainShown, "main window, pointer moved after Stop");
    ExpectAt(run_.Rect("moved", kInspector), kInspectorAtStart,
             "Inspector, pointer moved after Stop");
}

TEST_F(AddinOnXvfb, TuckingBothWindowsPlaysTheMoveInSoundOnce) {
    const fs::path wave = dir_ / "in.wav";
    const fs::path device = dir_ / "device.raw";
    const std::vector<char> samples = test::WriteWave(wave, 22050, 1, 4410, 7); // 0.2 s
    WriteSettings({{"gwWindowSounds", "True"}, {"MoveInSound", wave.string()}});
    run_.SetEnvironment("SDL_AUDIODRIVER", "disk");
    run_.SetEnvironment("SDL_DISKAUDIOFILE", device.string());
    RunScript(Script("wait 600\n"));
    ExpectAt(run_.Rect("started", kMain), kMainHidden, "main window after Start");
    // The Inspector's tuck starts the sound; the main window's, while it
    // still plays, is dropped: one copy of the samples, whole.
    const std::vector<char> heard = test::NonSilent(test::ReadAll(device));
    EXPECT_EQ(heard.size(), samples.size());
    EXPECT_TRUE(heard == samples) << "the device got other bytes than the wave's samples";
}

// Openbox keeps at least a tenth of a window on screen when a program asks
// it to move one: the tuck takes the window from it, so the strip is still
// HangOutPixels. The pointer reveals and tucks, and Stop brings the windows
// back, framed again.
class AddinUnderOpenbox : public HostideOnXvfb {
protected:
    static void SetUpTestSuite() {
        if (test::HasProgram("openbox"))
            StartDesktop(true);
    }
    void SetUp() override {
        if (!desktop_)
            GTEST_SKIP() << "openbox is not installed";
        HostideOnXvfb::SetUp();
    }
};

TEST_F(AddinUnderOpenbox, ATuckLeavesExactlyTheStripAndThePointerStillRevealsIt) {
    WriteSettings({});
    RunScript(Script(std::string("move 512 1\nmove 513 2\nwait 800\necho @revealed\nrects\n"
                                 "move 600 500\nmove 601 501\nwait 500\necho @left\nrects\n"
                                 "menu Tools|Wingtucker 1.2d\nwait 400\n") +
                     kClickStop + "\nwait 500\necho @stopped\nrects\n"));
    const WindowRect* main = run_.Rect("before", kMain);
    const WindowRect* inspector = run_.Rect("before", kInspector);
    ASSERT_TRUE(main && inspector) << run_.Output();
    const int height = main->bottom - main->top, width = inspector->right - inspector->left;

    const WindowRect* tucked = run_.Rect("started", kMain);
    ASSERT_NE(tucked, nullptr);
    EXPECT_EQ(tucked->bottom - tucked->top, height) << "the tuck changed the size";
    EXPECT_EQ(tucked->bottom, 5) << "visible rows of the main window";
    const WindowRect* tuckedInspector = run_.Rect("started", kInspector);
    ASSERT_NE(tuckedInspector, nullptr);
    EXPECT_EQ(tuckedInspector->right, 5) << "visible columns of the Inspector";
    EXPECT_EQ(tuckedInspector->right - tuckedInspector->left, width) << "the tuck changed the size";
    EXPECT_EQ(tuckedInspector->top, 0);

    ExpectAt(run_.Rect("revealed", kMain), {0, 0, 1024, height}, "main window revealed");
    ExpectAt(run_.Rect("left", kMain), {tucked->left, tucked->top, tucked->right, tucked->bottom},
             "main window after the pointer left");
    ExpectAt(run_.Rect("stopped", kMain), {main->left, main->top, main->right, main->bottom},
             "main window after Stop");
    EXPECT_TRUE(run_.Rect("stopped", kMain)->framed) << "main window left without its frame";
    ExpectAt(run_.Rect("stopped", kInspector),
             {inspector->left, inspector->top, inspector->right, inspector->bottom},
             "Inspector after Stop");
}

// With the default focus handling: while another program is active the
// strips reveal nothing; a click that activates the host again brings them back.
TEST_F(AddinUnderOpenbox, AnotherActiveProgramSwitchesTheStripsOffUntilTheHostIsBack) {
    WriteSettings({{"gwDisableOnFocusLoss", "True"}});
    setenv("DISPLAY", DisplayName().c_str(), 1);
    test::TestClient other;
    test::WindowSetup setup;
    setup.ClassName = "Other";
    setup.Title = "Another program";
    setup.Rect = {300, 300, 600, 500};
    const Window window = other.Create(setup);
    // A click into the revealed IDE makes it the active program, as a user
    // working in it does: the window the manager focused when the panel
    // hid at Start is no longer the one that merely took the focus.
    Launch(Script("move 512 1\nmove 513 2\nwait 700\necho @active\nrects\n"
                  "click 900 100\nwait 300\n"
                  // The tuck is over well before another program is picked
                  // (the script's next command waits for it): the manager's
                  // choice right after a change of ours is no user's choice.
                  "move 600 600\nmove 601 601\nwait 900\nrects\nwait 600\necho @ready\n"
                  "wait 1500\n"
                  "move 512 1\nmove 513 2\nwait 700\necho @elsewhere\nrects\n"
                  "click 512 3\nwait 300\nmove 513 4\nmove 512 3\nwait 700\necho @back\nrects\n"));
    ASSERT_TRUE(run_.WaitForOutput("@ready", kRunTimeoutMs)) << run_.Output();
    test::RequestActivation(other.GetDisplay(), window);
    Finish();
    const WindowRect* tucked = run_.Rect("started", kMain);
    ASSERT_NE(tucked, nullptr) << run_.Output();
    const int height = tucked->bottom - tucked->top;
    ExpectAt(run_.Rect("active", kMain), {0, 0, 1024, height}, "revealed while the host is active");
    ExpectAt(run_.Rect("elsewhere", kMain),
             {tucked->left, tucked->top, tucked->right, tucked->bottom},
             "while another program is active");
    ExpectAt(run_.Rect("back", kMain), {0, 0, 1024, height}, "after the host was activated");
}

} // namespace
} // namespace wt::e2e
