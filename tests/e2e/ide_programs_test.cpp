// wingtucker with the IDEs people run, on a private Xvfb: Lazarus under no
// manager, openbox and xfwm4, Qt Designer in its multi-window mode under
// openbox. Each is started as a user starts it, with a home of its own; the
// runner is started with a preset; everything is read back from a second X
// connection. A program that is not installed skips its cases.
#include "tests/e2e/ide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros would break its templates.
#include "platform/window_presets.h"
#include "platform/x11/x11_errors.h"
#include "tests/x11/test_client.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr const char* kLazarus = "/usr/bin/lazarus-ide";
constexpr const char* kDesigner = "/usr/lib/qt6/bin/designer";

std::string Rule(const char* preset, bool main) {
    const TWindowPreset& p = *FindWindowPreset(preset);
    return std::string(main ? p.MainRule : p.InspectorRule);
}

// A display with a manager (or none), a home for the IDE and a settings
// folder for the runner.
class IdeDesktop {
public:
    explicit IdeDesktop(const std::string& manager) {
        x_.Start(kWidth, kHeight);
        if (!manager.empty()) {
            manager_ = std::make_unique<test::WindowManager>(manager);
            manager_->Start(x_.DisplayName());
        }
        display_ = XOpenDisplay(x_.DisplayName().c_str());
        if (!display_)
            throw std::runtime_error("the test's own connection failed");
        WatchDisplayErrors(display_); // the IDEs' windows come and go under our reads
        dir_ = fs::temp_directory_path() /
               ("wt-ide-" + std::to_string(getpid()) + "-" + x_.DisplayName().substr(1));
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "home/.config");
        fs::create_directories(dir_ / "settings");
    }
    ~IdeDesktop() {
        runner_.Stop();
        ide_.Stop();
        if (display_) {
            XCloseDisplay(display_);
            UnwatchDisplayErrors(display_);
        }
        manager_.reset();
        x_.Stop();
        fs::remove_all(dir_);
    }

    Display* X() const { return display_; }
    Program& Ide() { return ide_; }
    Program& Runner() { return runner_; }
    fs::path Settings() const { return dir_ / "settings"; }
    std::string RunnerLog() const { return ReadFile(dir_ / "runner.log"); }

    Environment Env() const {
        return {{"DISPLAY", x_.DisplayName()},
                {"HOME", (dir_ / "home").string()},
                {"XDG_CONFIG_HOME", (dir_ / "home/.config").string()},
                {"QT_QPA_PLATFORM", "xcb"}};
    }

    // Lazarus past its first-start window, with its main window and inspector shown.
    bool StartLazarus() {
        // A home of its own each time: Lazarus remembers its windows.
        const fs::path home = dir_ / ("lazarus" + std::to_string(++starts_));
        fs::create_directories(home);
        Environment env = Env();
        env.push_back({"HOME", home.string()});
        ide_.Start({kLazarus}, env, dir_ / "ide.log");
        // Without a configured compiler each start asks first; "Start IDE"
        // sits at the bottom right of that window. It takes clicks only once
        // the IDE has read its configuration: pressed until the IDE comes.
        const unsigned long welcome = AwaitByRule(X(), R"(title="^Welcome to Lazarus")", 60000);
        for (int attempt = 0; welcome && attempt < 30; ++attempt) {
            if (const auto at = PlacementOf(X(), welcome)) {
                Window child;
                int x = 0, y = 0;
                XTranslateCoordinates(X(), welcome, DefaultRootWindow(X()), 0, 0, &x, &y, &child);
                XWindowAttributes a;
                if (XGetWindowAttributes(X(), welcome, &a))
                    ClickAt(X(), x + a.width - 61, y + a.height - 25);
            }
            if (AwaitByRule(X(), Rule("lazarus", true), 2000))
                break;
        }
        return AwaitByRule(X(), Rule("lazarus", true), 30000) &&
               AwaitByRule(X(), Rule("lazarus", false), 10000);
    }

    bool StartDesigner() {
        fs::create_directories(dir_ / "home/.config/QtProject");
        std::ofstream(dir_ / "home/.config/QtProject/Designer.conf") << "[UI]\ncurrentMode=1\n";
        ide_.Start({kDesigner}, Env(), dir_ / "ide.log");
        return AwaitByRule(X(), Rule("designer", true), 30000) &&
               AwaitByRule(X(), Rule("designer", false), 10000);
    }

    void StartRunner(const std::vector<std::string>& arguments) {
        std::vector<std::string> argv{WT_RUNNER_PATH, "--dir", Settings().string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        runner_.Start(argv, Env(), dir_ / "runner.log");
    }

private:
    test::XvfbServer x_;
    std::unique_ptr<test::WindowManager> manager_;
    Display* display_ = nullptr;
    fs::path dir_;
    Program ide_;
    Program runner_;
    int starts_ = 0;
};

struct LazarusCase {
    const char* Manager; // "" for none
    int Strip;
    bool KillRevealed = false;  // the runner is killed with the main window revealed
    bool CutConnection = false; // its X connection is cut instead (XKillClient)
};

void PrintTo(const LazarusCase& c, std::ostream* os) {
    *os << (*c.Manager ? c.Manager : "none") << ", " << c.Strip << " px";
}

std::string CaseName(const ::testing::TestParamInfo<LazarusCase>& info) {
    return std::string(*info.param.Manager ? info.param.Manager : "none") + "_" +
           std::to_string(info.param.Strip) + "px" +
           (info.param.CutConnection  ? "_connection_cut"
            : info.param.KillRevealed ? "_killed_revealed"
                                      : "_killed_tucked");
}

class LazarusUnder : public ::testing::TestWithParam<LazarusCase> {};

// Tucked to exact strips, revealed by the pointer resting on each strip and
// tucked again when it leaves; then the runner killed with SIGKILL, the
// windows tucked (and taken from the manager) or the main window revealed,
// or its X connection cut:
// both back where they stood before Start, managed as before, within 2 s,
// and Lazarus still running.
TEST_P(LazarusUnder, TucksRevealsAndAKilledRunnerGivesEverythingBack) {
    if (!test::HasProgram("lazarus-ide"))
        GTEST_SKIP() << "Lazarus (lazarus-ide-gtk2-2.2) is not installed";
    const LazarusCase& c = GetParam();
    IdeDesktop desktop(c.Manager);
    ASSERT_TRUE(desktop.StartLazarus()) << ReadFile("/dev/null");
    Display* x = desktop.X();
    const unsigned long main = FindByRule(x, Rule("lazarus", true));
    const unsigned long inspector = FindByRule(x, Rule("lazarus", false));
    // Where the IDE itself puts its windows, once it is done with them.
    const Placement mainHome = *AwaitStill(x, main, 10000);
    const Placement inspectorHome = *AwaitStill(x, inspector, 10000);
    if (c.Strip != 5)
        std::ofstream(desktop.Settings() / "Wingtckr.ini")
            << "[Wingtucker]\nHangOutPixels=" << c.Strip << "\n";

    desktop.StartRunner({"--preset", "lazarus", "--start"});
    auto bottom = [&](unsigned long w) { return PlacementOf(x, w)->Outer.Bottom; };
    auto right = [&](unsigned long w) { return PlacementOf(x, w)->Outer.Right; };
    ASSERT_TRUE(
        Await([&] { return bottom(main) == c.Strip && right(inspector) == c.Strip; }, 15000))
        << "main bottom " << bottom(main) << ", inspector right " << right(inspector) << "\n"
        << desktop.RunnerLog() << DescribeWindows(x);

    PointerTo(x, kWidth / 2, 1);
    EXPECT_TRUE(Await([&] { return PlacementOf(x, main)->Outer.Top >= 0; }, 8000))
        << "resting on the top strip reveals the main window";
    PointerTo(x, kWidth / 2, 700);
    EXPECT_TRUE(Await([&] { return bottom(main) == c.Strip; }, 8000)) << "leaving tucks it again";
    PointerTo(x, 1, 500);
    EXPECT_TRUE(Await([&] { return PlacementOf(x, inspector)->Outer.Left >= 0; }, 8000))
        << "resting on the left strip reveals the inspector";
    PointerTo(x, kWidth / 2, 700);
    EXPECT_TRUE(Await([&] { return right(inspector) == c.Strip; }, 8000));
    if (c.KillRevealed) {
        PointerTo(x, kWidth / 2, 1);
        ASSERT_TRUE(Await([&] { return PlacementOf(x, main)->Outer.Top >= 0; }, 8000));
    }

    if (c.CutConnection) // as xkill does: the runner then leaves by itself
        XKillClient(x, XGetSelectionOwner(x, XInternAtom(x, "_WINGTUCKER_RUNNER", False)));
    else
        desktop.Runner().Signal(SIGKILL);
    auto home = [&](unsigned long w, const Placement& before) {
        const std::optional<Placement> now = PlacementOf(x, w);
        return now && now->Outer == before.Outer && now->Framed == before.Framed &&
               !now->OverrideRedirect;
    };
    const std::optional<long> took =
        Await([&] { return home(main, mainHome) && home(inspector, inspectorHome); }, 5000);
    auto text = [](const TRect& r) {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + " " +
               std::to_string(r.Width()) + "x" + std::to_string(r.Height());
    };
    ASSERT_TRUE(took) << "main home " << text(mainHome.Outer) << ", inspector home "
                      << text(inspectorHome.Outer) << "\n"
                      << DescribeWindows(x) << desktop.RunnerLog();
    EXPECT_LT(*took, 2000) << "back within 2 s of the kill";
    RecordProperty("back_after_kill_ms", static_cast<int>(*took));
    std::printf("[%s] both windows back %ld ms after the runner's end\n", CaseName({c, 0}).c_str(),
                *took);
    EXPECT_TRUE(desktop.Ide().Running()) << "Lazarus goes on running";
}

INSTANTIATE_TEST_SUITE_P(Managers, LazarusUnder,
                         ::testing::Values(LazarusCase{"", 5}, LazarusCase{"openbox", 5},
                                           LazarusCase{"openbox", 3, true},
                                           LazarusCase{"openbox", 5, false, true},
                                           LazarusCase{"xfwm4", 5, true}),
                         CaseName);

// A runner started before the IDE finds it when it comes; the IDE closing
// its project or opening another is followed; the IDE quitting while its
// windows are tucked: no message, no stray window, and the runner serves
// the next Lazarus when it comes.
TEST(LazarusUnderOpenbox, TheIdeComingProjectsChangingAndQuittingAreFollowed) {
    if (!test::HasProgram("lazarus-ide"))
        GTEST_SKIP() << "Lazarus (lazarus-ide-gtk2-2.2) is not installed";
    IdeDesktop desktop("openbox");
    Display* x = desktop.X();
    desktop.StartRunner({"--preset", "lazarus"}); // before the IDE: found when it comes
    ASSERT_TRUE(desktop.StartLazarus());
    const unsigned long main = FindByRule(x, Rule("lazarus", true));
    ASSERT_TRUE(Await([&] { return PlacementOf(x, main)->Outer.Bottom == 5; }, 15000))
        << "the preset tucks with the IDE by itself\n"
        << desktop.RunnerLog();

    // The title naming no project is the project closed: the windows come
    // back and stay; naming another is a desktop load: tucked again. (Set
    // here from outside, as Lazarus sets it when a project closes or opens.)
    auto retitle = [&](const std::string& title) {
        XChangeProperty(x, main, XInternAtom(x, "_NET_WM_NAME", False),
                        XInternAtom(x, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
        XStoreName(x, main, title.c_str());
        XFlush(x);
    };
    retitle("Lazarus IDE v2.2.6+dfsg2-2");
    EXPECT_TRUE(Await([&] { return PlacementOf(x, main)->Outer.Top >= 0; }, 5000))
        << "no project: the main window comes back";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_GE(PlacementOf(x, main)->Outer.Top, 0) << "and stays";
    retitle("Lazarus IDE v2.2.6+dfsg2-2 - project2");
    EXPECT_TRUE(Await([&] { return PlacementOf(x, main)->Outer.Bottom == 5; }, 5000))
        << "another project: tucked again\n"
        << desktop.RunnerLog();

    desktop.Ide().Stop();
    ASSERT_TRUE(Await([&] { return !PlacementOf(x, main); }, 5000)) << "Lazarus has quit";
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(desktop.Runner().Running()) << desktop.RunnerLog();
    EXPECT_EQ(FindByRule(x, R"(class="^wingtucker$")"), 0u) << "no message box";

    ASSERT_TRUE(desktop.StartLazarus());
    const unsigned long again = FindByRule(x, Rule("lazarus", true));
    EXPECT_TRUE(Await([&] { return PlacementOf(x, again)->Outer.Bottom == 5; }, 30000))
        << desktop.RunnerLog() << DescribeWindows(x);
}

unsigned long ActiveWindow(Display* x) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    unsigned long active = 0;
    if (XGetWindowProperty(x, DefaultRootWindow(x), XInternAtom(x, "_NET_ACTIVE_WINDOW", False), 0,
                           1, False, XA_WINDOW, &type, &format, &count, &remaining,
                           &data) == Success &&
        data && count == 1)
        active = *reinterpret_cast<unsigned long*>(data);
    if (data)
        XFree(data);
    return active;
}

void PressKeys(Display* x, std::initializer_list<KeySym> keys) {
    for (KeySym key : keys)
        XTestFakeKeyEvent(x, XKeysymToKeycode(x, key), True, CurrentTime);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key)
        XTestFakeKeyEvent(x, XKeysymToKeycode(x, *key), False, CurrentTime);
    XFlush(x);
}

// Whether window is top or inside it: GTK gives the focus to a window inside
// its top-level one.
bool Within(Display* x, Window window, Window top) {
    for (int depth = 0; window && window != DefaultRootWindow(x) && depth < 16; ++depth) {
        if (window == top)
            return true;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(x, window, &root, &parent, &children, &count))
            return false;
        if (children)
            XFree(children);
        window = parent;
    }
    return false;
}

// The revealed inspector takes a click into its filter box, and the keys.
void TypeIntoTheRevealedInspector(Display* x, unsigned long inspector) {
    PointerTo(x, 1, 500);
    // Revealed, and given back to the manager, which gives a clicked window the focus.
    ASSERT_TRUE(Await(
        [&] {
            const Placement now = *PlacementOf(x, inspector);
            return now.Outer.Left >= 0 && now.Framed;
        },
        8000));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const TRect shown = PlacementOf(x, inspector)->Outer;
    ClickAt(x, shown.Left + 150, shown.Top + 40);
    Window focus = 0;
    int revert = 0;
    EXPECT_TRUE(Await(
        [&] {
            XGetInputFocus(x, &focus, &revert);
            return Within(x, focus, inspector);
        },
        2000))
        << "the keyboard goes to the revealed inspector, focus on " << focus;
    // What the filter box shows changes with the letter typed into it.
    auto box = [&] {
        XImage* image = XGetImage(x, DefaultRootWindow(x), shown.Left + 100, shown.Top + 30, 120,
                                  24, AllPlanes, ZPixmap);
        std::string pixels(image->data, image->bytes_per_line * image->height);
        XDestroyImage(image);
        return pixels;
    };
    const std::string before = box();
    PressKeys(x, {XK_W});
    EXPECT_TRUE(Await([&] { return box() != before; }, 2000)) << "the letter reaches the box";
    EXPECT_GE(PlacementOf(x, inspector)->Outer.Left, 0) << "typing leaves it revealed";
}

// With "Disable when losing focus" at its default: the IDE's own modal
// dialog leaves the strips working; another program's window switches them
// off, and coming back to the IDE switches them on. A click into the
// revealed inspector gives it the keyboard.
TEST(LazarusUnderOpenbox, TheIdesOwnDialogKeepsTheStripsAnotherProgramStopsThem) {
    if (!test::HasProgram("lazarus-ide"))
        GTEST_SKIP() << "Lazarus (lazarus-ide-gtk2-2.2) is not installed";
    IdeDesktop desktop("openbox");
    ASSERT_TRUE(desktop.StartLazarus());
    Display* x = desktop.X();
    const unsigned long main = FindByRule(x, Rule("lazarus", true));
    const unsigned long inspector = FindByRule(x, Rule("lazarus", false));
    desktop.StartRunner({"--preset", "lazarus", "--start"});
    auto tucked = [&] { return PlacementOf(x, main)->Outer.Bottom == 5; };
    auto revealed = [&] { return PlacementOf(x, main)->Outer.Top >= 0; };
    ASSERT_TRUE(Await(tucked, 15000)) << desktop.RunnerLog() << DescribeWindows(x);

    TypeIntoTheRevealedInspector(x, inspector);

    // The IDE's Project Options, a modal dialog of its own.
    PointerTo(x, kWidth / 2, 1);
    ASSERT_TRUE(Await(revealed, 8000));
    const TRect top = PlacementOf(x, main)->Outer;
    ClickAt(x, top.Left + 700, top.Bottom - 30); // an empty place of its tool bar
    PressKeys(x, {XK_Control_L, XK_Shift_L, XK_F11});
    const unsigned long dialog = AwaitByRule(x, R"(title="^Options for Project")", 10000);
    ASSERT_NE(dialog, 0u) << "Project Options did not open";
    // Away from the main window, and not onto the dialog, which belongs to
    // it as its menus do: Lazarus places it by the pointer, or, on a busy
    // machine, elsewhere.
    const TRect box = PlacementOf(x, dialog)->Outer;
    int awayX = kWidth / 2;
    if (box.Contains(awayX, 900))
        awayX =
            box.Left >= kWidth - box.Right ? std::max(20, box.Left / 2) : (box.Right + kWidth) / 2;
    PointerTo(x, awayX, 900);
    ASSERT_TRUE(Await(tucked, 10000)) << desktop.RunnerLog() << DescribeWindows(x);
    PointerTo(x, kWidth / 2, 1);
    EXPECT_TRUE(Await(revealed, 8000)) << "the IDE's own dialog leaves the strips working";
    PointerTo(x, awayX, 900);
    ASSERT_TRUE(Await(tucked, 8000));

    // Another program's window becomes the active one: the user's choice,
    // not the manager's answer to the tuck just before (that is excused).
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::string display = DisplayString(x);
    setenv("DISPLAY", display.c_str(), 1);
    test::TestClient other;
    test::WindowSetup setup;
    setup.ClassName = "Other";
    setup.Title = "another program";
    setup.Rect = {400, 400, 700, 600};
    const Window window = other.Create(setup);
    test::RequestActivation(other.GetDisplay(), window);
    ASSERT_TRUE(Await([&] { return ActiveWindow(x) == window; }, 8000));
    PointerTo(x, kWidth / 2, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(tucked()) << "another program's window switches the strips off";

    test::RequestActivation(x, dialog);
    PointerTo(x, kWidth / 2, 900);
    PointerTo(x, kWidth / 2, 1);
    EXPECT_TRUE(Await(revealed, 8000)) << "back in the IDE, the strips work again";
}

// A second runner on the display says which one runs and leaves.
TEST(RunnerAlone, ASecondRunnerOnTheDisplaySaysWhichRunsAndLeaves) {
    IdeDesktop desktop("");
    desktop.StartRunner({"--preset", "lazarus"});
    std::this_thread::sleep_for(std::chrono::seconds(1));
    Program second;
    second.Start({WT_RUNNER_PATH, "--preset", "lazarus"}, desktop.Env(), "/tmp/wt-second.log");
    EXPECT_EQ(second.Wait(10000), 1);
    EXPECT_NE(ReadFile("/tmp/wt-second.log").find("another wingtucker runs on display"),
              std::string::npos)
        << ReadFile("/tmp/wt-second.log");
    EXPECT_TRUE(desktop.Runner().Running());
    desktop.Runner().Signal(SIGTERM);
    EXPECT_EQ(desktop.Runner().Wait(10000), 0) << "SIGTERM stops first, then exits";
}

// Qt Designer in multi-window mode: its Property Editor is tucked at the
// right edge; the widget box, its main window, stays where it is.
TEST(DesignerUnderOpenbox, ThePropertyEditorIsTuckedAndComesBackAfterAKill) {
    if (!fs::exists(kDesigner))
        GTEST_SKIP() << "Qt Designer (designer-qt6) is not installed";
    IdeDesktop desktop("openbox");
    ASSERT_TRUE(desktop.StartDesigner());
    Display* x = desktop.X();
    const unsigned long widgetBox = FindByRule(x, Rule("designer", true));
    const unsigned long editor = FindByRule(x, Rule("designer", false));
    const Placement boxHome = *AwaitStill(x, widgetBox, 10000);
    const Placement editorHome = *AwaitStill(x, editor, 10000);

    desktop.StartRunner({"--preset", "designer", "--start"});
    ASSERT_TRUE(Await([&] { return PlacementOf(x, editor)->Outer.Left == kWidth - 5; }, 15000))
        << "editor left " << PlacementOf(x, editor)->Outer.Left << "\n"
        << desktop.RunnerLog();
    EXPECT_EQ(PlacementOf(x, widgetBox)->Outer, boxHome.Outer);
    PointerTo(x, kWidth - 1, 500);
    EXPECT_TRUE(Await([&] { return PlacementOf(x, editor)->Outer.Right <= kWidth; }, 8000));
    PointerTo(x, kWidth / 2, 500);
    EXPECT_TRUE(Await([&] { return PlacementOf(x, editor)->Outer.Left == kWidth - 5; }, 8000));

    desktop.Runner().Signal(SIGKILL);
    EXPECT_TRUE(Await(
        [&] {
            const auto now = PlacementOf(x, editor);
            return now && now->Outer == editorHome.Outer && now->Framed && !now->OverrideRedirect;
        },
        2000));
}

} // namespace
} // namespace wt::e2e
