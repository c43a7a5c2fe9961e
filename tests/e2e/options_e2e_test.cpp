// The Options dialog used as a user uses it, through hostide with the add-in
// on a private Xvfb: pages by clicks on their tabs and by the arrow keys,
// boxes ticked and unticked with their dependent controls following, spin
// edits typed into (digits past the top and letters refused, a number under
// the bottom raised to it) and stepped by an arrow, sound names typed;
// Accept writes every setting and the next Start follows them. Closed by
// its close box instead, it leaves the file as it was.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "tests/e2e/top_windows.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

// The notebook's tabs stand on its left, 35 wide, one row of four from the
// bottom up: Hiding, Sound, Movement, General. Offsets from its corners.
constexpr const char* kGeneralTab = "click-control notebook 17 17";
constexpr const char* kMovementTab = "click-control notebook 17 52";

// The word after "control NAME" on the first such line after the line
// MARKER: shown, hidden or unknown; empty when there is none.
std::string ControlState(const std::string& output, const std::string& marker,
                         const std::string& name) {
    std::istringstream in(output);
    std::string line;
    bool after = false;
    while (std::getline(in, line)) {
        if (line == marker)
            after = true;
        if (!after || line.rfind("control " + name + " ", 0) != 0)
            continue;
        return line.substr(line.find_last_of(' ') + 1);
    }
    return {};
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class OptionsOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            server_.Start(1024, 768, 140);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        char pattern[] = "/tmp/wt-options-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
        display_ = XOpenDisplay(server_.DisplayName().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        if (display_)
            XCloseDisplay(display_);
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    fs::path SettingsFile() const { return dir_ / "config" / "wingtucker" / "Wingtckr.ini"; }

    // Opens a project and the panel, then presses Options; body follows.
    void RunScript(const std::string& body) {
        const fs::path script = dir_ / "options.script";
        std::ofstream(script) << "new-project " << (dir_ / "project" / "Demo.dpr").string()
                              << "\nmenu Tools|Wingtucker 1.2d\nwait 400\n"
                                 "click-button Options\nwait 800\n"
                              << body;
        ASSERT_TRUE(run_.Start(server_.DisplayName(), (dir_ / "config").string(), script.string()));
    }

    test::XvfbServer server_;
    fs::path dir_;
    Display* display_ = nullptr;
    HostideRun run_;
};

// Opens each page and edits each control by clicks and keys, marking what
// shows on the way, then accepts, starts and stops.
std::string EditEveryControl() {
    return "echo @opened\ncontrol rgSide\ncontrol cbHideDelphi\n"
           "click-button AutoHide Object Inspector?\nwait 200\n"
           "echo @inspector\ncontrol rgSide\n"
           "click-button AutoHide Object Inspector?\nwait 200\n"
           "echo @no-inspector\ncontrol rgSide\n"
           "click-button AutoHide Object Inspector?\nwait 200\n"
           "click-button Right\nclick-button AutoHide Delphi?\n" +
           std::string(kGeneralTab) +
           "\nwait 300\n"
           "echo @general\ncontrol cbHideDelphi\ncontrol editHang\n"
           // A digit that would pass the top is refused as it is typed
           // (3500 gives 350); a number under the bottom becomes the
           // bottom when the field is left (1 gives 2), and the upper
           // arrow then steps it up by one.
           "click-control editDelay\nkey ctrl+a\ntype 3500\nkey Tab\n"
           "click-control editHang\nkey ctrl+a\ntype 1\nkey Tab\nwait 100\n"
           "click-control editHang -6 5\nwait 300\n" +
           kGeneralTab +
           "\nkey Up\nwait 300\n"
           "echo @movement\ncontrol cbAnimate\ncontrol editAniCount\n"
           "click-button Animate Moves?\nwait 200\n"
           "echo @animate\ncontrol editAniCount\n"
           // Letters are refused as they are typed, digits taken.
           "click-control editAniCount\nkey ctrl+a\ntype 1x2\nkey Tab\n" +
           kMovementTab +
           "\nkey Up\nwait 300\n"
           "echo @sound\ncontrol editIn\n"
           "click-button Play sounds when moving?\nwait 200\n"
           "echo @sounds\ncontrol editIn\n"
           "click-control editIn\ntype chimes\nkey period\ntype wav\n"
           "click-control editOut\ntype bells\nkey period\ntype wav\n"
           // Neither sound exists: Accept saves them and says so.
           "click-button Accept\nwait 600\n"
           "echo @warned\ncontrol notebook\ncontrol frmOops.btnOk\n"
           "click-button OK\nwait 400\n"
           "echo @accepted\ncontrol notebook\n"
           "click-button Start\nwait 1500\necho @started\nrects\n"
           "menu Tools|Wingtucker 1.2d\nwait 400\nclick-button Stop\nwait 800\nquit\n";
}

TEST_F(OptionsOnXvfb, EditedByClicksAndKeysAcceptWritesEveryKeyAndStartFollowsThem) {
    // No settings file yet: the dialog shows the defaults, and Accept
    // writes the whole section afresh.
    RunScript(EditEveryControl());
    ASSERT_EQ(run_.Wait(30000), 0) << run_.Output();
    const std::string out = run_.Output();

    struct Seen {
        const char* marker;
        const char* control;
        const char* state;
    };
    const Seen seen[] = {
        {"@opened", "rgSide", "hidden"},        {"@opened", "cbHideDelphi", "shown"},
        {"@inspector", "rgSide", "shown"},      {"@no-inspector", "rgSide", "hidden"},
        {"@general", "cbHideDelphi", "hidden"}, {"@general", "editHang", "shown"},
        {"@movement", "cbAnimate", "shown"},    {"@movement", "editAniCount", "hidden"},
        {"@animate", "editAniCount", "shown"},  {"@sound", "editIn", "hidden"},
        {"@sounds", "editIn", "shown"},         {"@warned", "notebook", "shown"},
        {"@warned", "frmOops.btnOk", "shown"},  {"@accepted", "notebook", "unknown"},
    };
    for (const Seen& s : seen)
        EXPECT_EQ(ControlState(out, s.marker, s.control), s.state)
            << s.control << " at " << s.marker << "\n"
            << out;

    EXPECT_EQ(ReadFile(SettingsFile()), "[Wingtucker]\n"
                                        "gwHideInspector=True\n"
                                        "gwSide=1\n"
                                        "gwHideDelphi=True\n"
                                        "gwAnimate=True\n"
                                        "gwWindowSounds=True\n"
                                        "gwDisableOnFocusLoss=True\n"
                                        "MoveOutSound=bells.wav\n"
                                        "MoveInSound=chimes.wav\n"
                                        "gwAnimateSpeed=12\n"
                                        "gwDelay=350\n"
                                        "HangOutPixels=3\n"
                                        "gwUseAutoHide=False\n");

    // Both windows tucked with the new strip of 3, the Inspector now on the
    // right.
    const WindowRect* main = run_.Rect("started", "TAppBuilder");
    const WindowRect* inspector = run_.Rect("started", "TPropertyInspector");
    ASSERT_NE(main, nullptr) << out;
    ASSERT_NE(inspector, nullptr) << out;
    EXPECT_EQ(main->bottom, 3) << out;
    EXPECT_EQ(inspector->left, 1024 - 3) << out;
    EXPECT_EQ(inspector->right - inspector->left, 220) << out;
}

TEST_F(OptionsOnXvfb, TheCloseBoxLeavesTheFileAsItWas) {
    const std::string before = "; kept as the user wrote it\n[Wingtucker]\ngwSide=0\n"
                               "gwHideInspector=True\ngwDelay=200\n";
    std::ofstream(SettingsFile(), std::ios::binary) << before;
    // Changes made, then the window asked to close as its close box asks.
    RunScript("click-button AutoHide Object Inspector?\nclick-button AutoHide Delphi?\n"
              "wait 200\necho @changed\nwait 2000\necho @after\ncontrol notebook\nquit\n");
    ASSERT_TRUE(run_.WaitForOutput("@changed", 15000)) << run_.Output();
    const auto dialog = FindMapped(display_, "Options");
    ASSERT_TRUE(dialog) << "no Options dialog on the screen";
    SendCloseRequest(display_, dialog->window);

    ASSERT_EQ(run_.Wait(15000), 0) << run_.Output();
    EXPECT_EQ(ControlState(run_.Output(), "@after", "notebook"), "unknown")
        << "the close box left the dialog open\n"
        << run_.Output();
    EXPECT_EQ(ReadFile(SettingsFile()), before);
}

// Escape closes each of the add-in's windows that a user reads and leaves:
// the help window (also while the Options dialog is up), the Options dialog
// as its close box does, the About box as OK does.
TEST_F(OptionsOnXvfb, EscapeClosesHelpOptionsAndAbout) {
    const std::string before = "[Wingtucker]\ngwSide=0\ngwDelay=200\n";
    std::ofstream(SettingsFile(), std::ios::binary) << before;
    RunScript("click-button AutoHide Delphi?\nclick-control frmOptions.btnHelp\nwait 800\n"
              "echo @help\nwait 1500\necho @escaped-help\ncontrol notebook\n"
              "key Escape\nwait 600\necho @escaped-options\ncontrol notebook\n"
              "click-button About\nwait 800\necho @about\nwait 1500\necho @escaped-about\n"
              "quit\n");
    ASSERT_TRUE(run_.WaitForOutput("@help", 15000)) << run_.Output();
    ASSERT_TRUE(FindMapped(display_, "Wingtucker Help")) << "no help window";
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Escape), True, CurrentTime);
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Escape), False, CurrentTime);
    XSync(display_, False);
    ASSERT_TRUE(run_.WaitForOutput("@escaped-help", 15000)) << run_.Output();
    EXPECT_FALSE(FindMapped(display_, "Wingtucker Help")) << "Escape left the help window open";
    ASSERT_TRUE(run_.WaitForOutput("@about", 15000)) << run_.Output();
    ASSERT_TRUE(FindMapped(display_, "About...")) << "no About box";
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Escape), True, CurrentTime);
    XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Escape), False, CurrentTime);
    XSync(display_, False);
    ASSERT_EQ(run_.Wait(15000), 0) << run_.Output();
    const std::string out = run_.Output();
    EXPECT_EQ(ControlState(out, "@escaped-help", "notebook"), "shown") << out;
    EXPECT_EQ(ControlState(out, "@escaped-options", "notebook"), "unknown")
        << "Escape left the Options dialog open\n"
        << out;
    EXPECT_EQ(ReadFile(SettingsFile()), before) << "Escape wrote the settings";
    EXPECT_FALSE(FindMapped(display_, "About...")) << "Escape left the About box open";
}

} // namespace
} // namespace wt::e2e
