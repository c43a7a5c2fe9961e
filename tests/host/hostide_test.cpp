// hostide end to end under a private Xvfb, with the test add-ins: the
// windows' classes, the notifications and their file names, the Tools menu,
// failed add-ins, the end of a run, and the scripted mode's input, output
// and errors; quit signals and script commands while a modal dialog is up.
#include "host_process.h"
#include "xvfb_server.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <thread>

using namespace wt::test;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::string Desktop(int mainWidth, int inspectorLeft, int inspectorTop) {
    return "[MainWindow]\nLeft=0\nTop=0\nWidth=" + std::to_string(mainWidth) +
           "\nHeight=106\n[ObjectInspector]\nLeft=" + std::to_string(inspectorLeft) +
           "\nTop=" + std::to_string(inspectorTop) + "\nWidth=220\nHeight=450\n";
}

XvfbServer* server = nullptr;

class HostIde : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server = new XvfbServer;
        std::string error;
        if (!server->Start(&error)) {
            delete server;
            server = nullptr;
            FAIL() << error;
        }
    }
    static void TearDownTestSuite() {
        delete server;
        server = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(server, nullptr) << "no Xvfb";
        dir_ = fs::temp_directory_path() /
               ("wt_hostide_" + std::to_string(getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        config_ = dir_ / "config";
        fs::remove_all(dir_);
        fs::create_directories(config_ / "hostide");
        fs::permissions(dir_, fs::perms::owner_all);
        SetAddIns({FAKE_ADDIN_PATH});
        env_ = {{"DISPLAY", server->DisplayName()},
                {"XDG_CONFIG_HOME", config_.string()},
                {"XDG_RUNTIME_DIR", dir_.string()},
                {"QT_QPA_PLATFORM", "xcb"},
                {"FAKE_ADDIN_LOG", (dir_ / "fake.log").string()},
                {"FAKE_ADDIN_ENTRY", ""},
                {"FAKE_ADDIN_NOTIFY", ""},
                {"FAKE_ADDIN_EXECUTE", ""},
                {"FAKE_ADDIN_MENU", ""},
                {"FAKE_ADDIN_STATE", ""}};
    }
    void TearDown() override { fs::remove_all(dir_); }

    void SetAddIns(const std::vector<std::string>& files) {
        std::string list = "# test add-ins\n";
        for (const std::string& file : files)
            list += file + "\n";
        WriteFile(config_ / "hostide" / "addins", list);
    }

    HostRun Run(const std::string& script, std::vector<std::string> extra = {}) {
        WriteFile(dir_ / "script.txt", script);
        std::vector<std::string> arguments = {HOSTIDE_PATH, "--script",
                                              (dir_ / "script.txt").string()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        HostRun run = RunHost(arguments, env_, dir_.string());
        EXPECT_FALSE(run.TimedOut) << run.Err;
        return run;
    }

    std::vector<std::string> FakeLog() const { return Lines(ReadFile(dir_ / "fake.log")); }

    std::string DefaultDesktop() const { return (config_ / "hostide" / "DELPHI32.DSK").string(); }

    fs::path dir_;
    fs::path config_;
    std::map<std::string, std::string> env_;
};

struct FoundWindow {
    Window Id = 0;
    std::string Instance;
    std::string Title;
    XWindowAttributes Attributes{};
    int Count = 0;
};

// The top-level windows of the given class, as the X server has them.
FoundWindow FindByClass(Display* display, const std::string& className) {
    FoundWindow found;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return found;
    for (unsigned i = 0; i < count; ++i) {
        XClassHint hint{};
        if (!XGetClassHint(display, children[i], &hint))
            continue;
        if (hint.res_class && className == hint.res_class) {
            ++found.Count;
            found.Id = children[i];
            found.Instance = hint.res_name ? hint.res_name : "";
            char* title = nullptr;
            if (XFetchName(display, children[i], &title) && title) {
                found.Title = title;
                XFree(title);
            }
            XGetWindowAttributes(display, children[i], &found.Attributes);
        }
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

TEST_F(HostIde, TheIdeWindowsCarryTheirClassesAndTheEndGoesInOrder) {
    HostProcess host({HOSTIDE_PATH}, env_, dir_.string());
    ASSERT_TRUE(host.Start());
    Display* display = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    FoundWindow main, inspector;
    for (int tries = 0; tries < 300; ++tries) {
        main = FindByClass(display, "TAppBuilder");
        inspector = FindByClass(display, "TPropertyInspector");
        if (main.Attributes.map_state == IsViewable &&
            inspector.Attributes.map_state == IsViewable &&
            Has(ReadFile(dir_ / "fake.log"), "notify"))
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(main.Count, 1);
    EXPECT_EQ(inspector.Count, 1);
    EXPECT_EQ(main.Instance, "hostide");
    EXPECT_EQ(main.Title, "hostide");
    EXPECT_EQ(inspector.Title, "Object Inspector");
    EXPECT_EQ(main.Attributes.map_state, IsViewable);
    EXPECT_EQ(inspector.Attributes.map_state, IsViewable);
    // A full-width strip along the top; the inspector on the left.
    EXPECT_EQ(main.Attributes.x, 0);
    EXPECT_EQ(main.Attributes.y, 0);
    EXPECT_EQ(main.Attributes.width, 1024);
    EXPECT_EQ(main.Attributes.height, 106);
    EXPECT_EQ(inspector.Attributes.x, 0);
    EXPECT_EQ(inspector.Attributes.width, 220);
    EXPECT_EQ(inspector.Attributes.height, 450);
    XCloseDisplay(display);

    host.Terminate();
    const HostRun run = host.Wait(15000);
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    // The first run writes the default desktop and hands it over by its
    // full name; at the end nothing more is notified, the add-in terminates
    // and then its expert is released.
    EXPECT_TRUE(fs::exists(DefaultDesktop()));
    EXPECT_EQ(FakeLog(),
              (std::vector<std::string>{"entry owner=1",
                                        "notify 10 " + DefaultDesktop() + " project=", "terminate",
                                        "notifier destroyed", "expert destroyed"}));
}

TEST_F(HostIde, ProjectAndDesktopNotificationsCarryFullNames) {
    const std::string project = (dir_ / "work" / "P.dpr").string();
    const std::string desktop = (dir_ / "work" / "P.dsk").string();
    const std::string other = (dir_ / "work" / "Other.dsk").string();
    WriteFile(project, "[Project]\nName=P\n");
    WriteFile(desktop, Desktop(800, 500, 200));
    WriteFile(other, Desktop(900, 300, 150));
    const HostRun run = Run("open-project " + project +
                            "\nrects\nmenu Tools|Fake Expert\nwait 100\n"
                            "open-desktop " +
                            other +
                            "\nsave-desktop\nclose-project\n"
                            "save-desktop\nquit\n");
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(Lines(run.Out),
              (std::vector<std::string>{"window TAppBuilder 0 0 800 106 mapped bare",
                                        "window TPropertyInspector 500 200 720 650 mapped bare"}));
    EXPECT_EQ(FakeLog(), (std::vector<std::string>{
                             "entry owner=1",
                             "notify 10 " + DefaultDesktop() + " project=",
                             "notify 8 " + desktop + " project=" + project,
                             "execute project=" + project,
                             "notify 8 " + other + " project=" + project,
                             "notify 11 " + desktop + " project=" + project,
                             "notify 5 " + project + " project=" + project,
                             "notify 11 " + DefaultDesktop() + " project=",
                             "terminate",
                             "notifier destroyed",
                             "expert destroyed",
                         }));
    // The project's desktop now holds where the windows were when saved.
    const std::string saved = ReadFile(desktop);
    EXPECT_TRUE(Has(saved, "Width=900")) << saved;
    EXPECT_TRUE(Has(saved, "Left=300")) << saved;
    EXPECT_TRUE(Has(ReadFile(DefaultDesktop()), "Width=900"));
}

TEST_F(HostIde, AddInsThatCannotBeLoadedAreNamedAndTheHostGoesOn) {
    const std::string missing = (dir_ / "libmissing.so").string();
    const std::string garbage = (dir_ / "libgarbage.so").string();
    WriteFile(garbage, "this is no library");
    SetAddIns({missing, NO_ENTRY_ADDIN_PATH, NEEDS_MISSING_ADDIN_PATH, garbage});
    const HostRun run =
        Run("menu Fake Expert\nwait 100\necho still here\nquit\n", {"--addin", FAKE_ADDIN_PATH});
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "still here\n");
    EXPECT_TRUE(Has(run.Err, "\"" + missing + "\" could not be loaded")) << run.Err;
    EXPECT_TRUE(Has(run.Err, "No such file or directory"));
    EXPECT_TRUE(Has(run.Err, std::string("\"") + NO_ENTRY_ADDIN_PATH +
                                 "\" has no entry point INITEXPERT0016"));
    EXPECT_TRUE(
        Has(run.Err, std::string("\"") + NEEDS_MISSING_ADDIN_PATH + "\" could not be loaded"));
    EXPECT_TRUE(Has(run.Err, "libwt_missing_dependency.so"));
    EXPECT_TRUE(Has(run.Err, "\"" + garbage + "\" could not be loaded"));
    const auto log = FakeLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "execute project="), log.end());
}

TEST_F(HostIde, AnEntryThatRefusesGivesNoToolsEntry) {
    env_["FAKE_ADDIN_ENTRY"] = "false";
    const HostRun run = Run("echo up\nmenu Fake Expert\necho never\nquit\n");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Out, "up\n");
    EXPECT_TRUE(Has(run.Err, std::string("\"") + FAKE_ADDIN_PATH + "\" refused to start"))
        << run.Err;
    EXPECT_TRUE(Has(run.Err, "line 2: there is no menu entry \"Fake Expert\"")) << run.Err;
    EXPECT_EQ(FakeLog(), std::vector<std::string>{"entry owner=1"});
}

TEST_F(HostIde, ToolsEntriesFollowTheExpertsState) {
    const std::string project = (dir_ / "New.dpr").string();
    env_["FAKE_ADDIN_MENU"] = "Probe & Co";
    const HostRun enabled =
        Run("new-project " + project + "\nmenu Tools|Probe & Co\nwait 100\nquit\n");
    EXPECT_EQ(enabled.ExitCode, 0) << enabled.Err;
    EXPECT_TRUE(Has(ReadFile(project), "Name=New"));
    const auto log = FakeLog();
    EXPECT_NE(std::find(log.begin(), log.end(), "execute project=" + project), log.end());

    fs::remove(dir_ / "fake.log");
    env_["FAKE_ADDIN_STATE"] = "2"; // checked, not enabled
    const HostRun disabled = Run("menu Probe & Co\n");
    EXPECT_EQ(disabled.ExitCode, 1);
    EXPECT_TRUE(Has(disabled.Err, "line 1: the menu entry \"Probe & Co\" is disabled"))
        << disabled.Err;
    for (const std::string& line : FakeLog())
        EXPECT_FALSE(Has(line, "execute"));
}

TEST_F(HostIde, FailuresInsideTheAddInAreShownAndTheHostGoesOn) {
    const std::string project = (dir_ / "P.dpr").string();
    WriteFile(project, "[Project]\n");
    WriteFile(dir_ / "P.dsk", Desktop(800, 10, 130));
    env_["FAKE_ADDIN_NOTIFY"] = "throw";
    env_["FAKE_ADDIN_EXECUTE"] = "throw";
    const HostRun run = Run("open-project " + project +
                            "\nmenu Fake Expert\nwait 100\nclose-project\necho done\nquit\n");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_EQ(run.Out, "done\n");
    EXPECT_TRUE(Has(run.Err, "failed on notification 10")) << run.Err;
    EXPECT_TRUE(Has(run.Err, "failed on notification 8 (" + (dir_ / "P.dsk").string() +
                                 "): fake notify failure"));
    EXPECT_TRUE(Has(run.Err, "failed on notification 5"));
    EXPECT_TRUE(Has(run.Err, "fake execute failure"));

    env_["FAKE_ADDIN_NOTIFY"] = "";
    env_["FAKE_ADDIN_EXECUTE"] = "";
    env_["FAKE_ADDIN_ENTRY"] = "throw";
    fs::remove(dir_ / "fake.log");
    const HostRun thrown = Run("echo up\nquit\n");
    EXPECT_EQ(thrown.ExitCode, 0) << thrown.Err;
    EXPECT_TRUE(Has(thrown.Err, "failed in INITEXPERT0016: fake entry failure")) << thrown.Err;
    EXPECT_EQ(FakeLog(), (std::vector<std::string>{"entry owner=1", "terminate",
                                                   "notifier destroyed", "expert destroyed"}));
}

TEST_F(HostIde, AnAddInMayKeepADesktopFromBeingSaved) {
    const std::string project = (dir_ / "P.dpr").string();
    const std::string desktop = Desktop(800, 10, 130);
    WriteFile(project, "[Project]\n");
    WriteFile(dir_ / "P.dsk", desktop);
    env_["FAKE_ADDIN_NOTIFY"] = "cancel";
    const HostRun run = Run("open-project " + project + "\nopen-desktop " +
                            (dir_ / "P.dsk").string() + "\nsave-desktop\nquit\n");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_TRUE(Has(run.Err, "line 3: An add-in asked not to save the desktop")) << run.Err;
    EXPECT_EQ(ReadFile(dir_ / "P.dsk"), desktop);
}

TEST_F(HostIde, ScriptErrorsNameTheirLine) {
    const HostRun malformed = Run("echo a\n\nwait soon\nquit\n");
    EXPECT_EQ(malformed.ExitCode, 2);
    EXPECT_TRUE(Has(malformed.Err, "line 3: \"wait\" needs")) << malformed.Err;
    // Refused before anything ran: no output, no add-in loaded.
    EXPECT_EQ(malformed.Out, "");
    EXPECT_FALSE(fs::exists(dir_ / "fake.log"));

    const std::string missing = (dir_ / "none.dpr").string();
    const HostRun failing = Run("echo a\nopen-project " + missing + "\necho b\nquit\n");
    EXPECT_EQ(failing.ExitCode, 1);
    EXPECT_EQ(failing.Out, "a\n");
    EXPECT_TRUE(Has(failing.Err, "line 2: " + missing)) << failing.Err;

    const HostRun outside = Run("click 1024 10\n");
    EXPECT_EQ(outside.ExitCode, 1);
    EXPECT_TRUE(Has(outside.Err, "line 1: the point 1024,10 lies outside the screen"))
        << outside.Err;

    WriteFile(dir_ / "broken.dsk", "[MainWindow]\nLeft=0\nTop=0\nWidth=wide\n");
    const HostRun badDesktop = Run("open-desktop " + (dir_ / "broken.dsk").string() + "\n");
    EXPECT_EQ(badDesktop.ExitCode, 1);
    EXPECT_TRUE(Has(badDesktop.Err, "broken.dsk, line 4: Width")) << badDesktop.Err;
}

TEST_F(HostIde, PointerInputAndScreenshotsReachTheServer) {
    Display* display = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask;
    const Window target =
        XCreateWindow(display, DefaultRootWindow(display), 600, 300, 100, 100, 0, CopyFromParent,
                      InputOutput, CopyFromParent, CWOverrideRedirect | CWEventMask, &attributes);
    XMapRaised(display, target);
    XSync(display, False);

    const std::string shot = (dir_ / "shot.png").string();
    const HostRun run = Run("click 650 350\nmove 321 234\nscreenshot " + shot + "\nquit\n");
    EXPECT_EQ(run.ExitCode, 0) << run.Err;

    XSync(display, False);
    std::vector<int> events;
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == ButtonPress || event.type == ButtonRelease) {
            EXPECT_EQ(event.xbutton.x_root, 650);
            EXPECT_EQ(event.xbutton.y_root, 350);
            EXPECT_EQ(event.xbutton.button, 1u);
            events.push_back(event.type);
        }
    }
    EXPECT_EQ(events, (std::vector<int>{ButtonPress, ButtonRelease}));
    Window root = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &x, &y, &wx, &wy, &mask);
    EXPECT_EQ(x, 321);
    EXPECT_EQ(y, 234);
    XDestroyWindow(display, target);
    XCloseDisplay(display);

    // A PNG of the whole screen: signature, then IHDR with 1024 by 768.
    const std::string png = ReadFile(shot);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    auto be32 = [&](size_t at) {
        return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
               (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
    };
    EXPECT_EQ(be32(16), 1024u);
    EXPECT_EQ(be32(20), 768u);
}

namespace {

// hostide with the add-in that shows a toolkit dialog modally.
class HostIdeModal : public HostIde {
protected:
    void SetUp() override {
        HostIde::SetUp();
        SetAddIns({MODAL_ADDIN_PATH});
        env_["MODAL_ADDIN_LOG"] = (dir_ / "modal.log").string();
        env_["MODAL_ADDIN_ON"] = "";
    }
    std::vector<std::string> ModalLog() const { return Lines(ReadFile(dir_ / "modal.log")); }
    std::string ModalDesktop() const {
        const fs::path file = dir_ / "modal.dsk";
        WriteFile(file, Desktop(1024, 0, 130));
        return file.string();
    }
    static bool WaitFor(const std::function<bool()>& seen, int timeoutMs) {
        for (int waited = 0; waited < timeoutMs; waited += 20) {
            if (seen())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return seen();
    }
};

// The middle of the dialog's OK button.
constexpr const char* ClickOk = "click 500 355";

} // namespace

TEST_F(HostIdeModal, QuitSignalsEndTheHostAndTheAddInsWhileADialogIsUp) {
    struct Case {
        const char* Name;
        int Signal;
        std::string Opens; // the script line that brings the dialog up
        const char* On;    // MODAL_ADDIN_ON
        std::vector<std::string> Log;
    };
    const std::vector<std::string> addInDialog = {"entry", "dialog shown", "modal result 2",
                                                  "terminate"};
    const Case cases[] = {
        {"SIGTERM, add-in dialog", SIGTERM, "menu Tools|Modal Expert", "execute", addInDialog},
        {"SIGINT, add-in dialog", SIGINT, "menu Tools|Modal Expert", "execute", addInDialog},
        {"SIGHUP, add-in dialog", SIGHUP, "menu Tools|Modal Expert", "execute", addInDialog},
        {"SIGTERM, add-in dialog inside a command", SIGTERM, "open-desktop " + ModalDesktop(),
         "desktop", addInDialog},
        {"SIGTERM, the host's file dialog",
         SIGTERM,
         "menu File|Open Project...",
         "execute",
         {"entry", "terminate"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove(dir_ / "modal.log");
        fs::remove(dir_ / "host.out"); // "up" is looked for in this run's output
        env_["MODAL_ADDIN_ON"] = c.On;
        WriteFile(dir_ / "script.txt", c.Opens + "\nwait 300\necho up\n");
        HostProcess host({HOSTIDE_PATH, "--script", (dir_ / "script.txt").string()}, env_,
                         dir_.string());
        ASSERT_TRUE(host.Start());
        ASSERT_TRUE(WaitFor([&] { return Has(ReadFile(dir_ / "host.out"), "up\n"); }, 15000));
        kill(host.Pid(), c.Signal);
        const auto sent = std::chrono::steady_clock::now();
        const HostRun run = host.Wait(5000);
        EXPECT_FALSE(run.TimedOut);
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(2));
        EXPECT_EQ(ModalLog(), c.Log);
    }
}

TEST_F(HostIdeModal, ScriptCommandsGoOnWhileAnAddInsDialogIsUp) {
    struct Case {
        const char* Name;
        std::string Opens;
        const char* On;
    };
    const Case cases[] = {
        {"opened from its Tools entry", "menu Tools|Modal Expert", "execute"},
        {"opened inside a command", "open-desktop " + ModalDesktop(), "desktop"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        fs::remove(dir_ / "modal.log");
        env_["MODAL_ADDIN_ON"] = c.On;
        const HostRun run =
            Run(c.Opens + "\nwait 300\necho during\n" + ClickOk + "\nwait 500\necho after\nquit\n");
        EXPECT_EQ(run.ExitCode, 0) << run.Err;
        EXPECT_EQ(run.Out, "during\nafter\n");
        EXPECT_EQ(ModalLog(), (std::vector<std::string>{"entry", "dialog shown", "modal result 1",
                                                        "terminate"}));
    }
}

// hostide's exit waits for threads stopped by exit handlers to finish before
// the teardown that runs after those handlers (QtCore's), and a thread that
// is never stopped does not keep it from exiting.
TEST(HostExit, WaitsForStoppedThreadsToFinish) {
    const fs::path dir = fs::path(::testing::TempDir()) / "exit-wait";
    fs::create_directories(dir);
    struct Case {
        std::vector<std::string> Arguments;
        int ExitCode;
    };
    const Case cases[] = {
        {{}, 3}, // without the wait the thread is still finishing
        {{"--await"}, 0},
        {{"--await", "--never-stopped"}, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{EXIT_WAIT_HELPER_PATH};
        arguments.insert(arguments.end(), c.Arguments.begin(), c.Arguments.end());
        const HostRun run = RunHost(arguments, {}, dir.string(), 10000);
        EXPECT_FALSE(run.TimedOut);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << ::testing::PrintToString(c.Arguments);
    }
}
