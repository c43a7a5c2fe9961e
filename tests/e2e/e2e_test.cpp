// The add-in inside hostide on a private Xvfb with no window manager: where
// Start puts the windows, each step of an animated tuck, reveals by the
// pointer, and the ways the windows come back.
#include "tests/e2e/configure_watch.h"
#include "tests/e2e/hostide_run.h"
#include "tests/e2e/xvfb.h"

#include <gtest/gtest.h>

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
        if (!line.empty() && line[0] == '[') inside = line == "[" + name + "]";
        else if (inside && !line.empty()) lines += line + " ";
    }
    return lines;
}

const Box kMainShown{0, 0, 1024, 106};
const Box kMainHidden{0, -101, 1024, 5};
const Box kInspectorAtStart{0, 130, 220, 580};
const Box kInspectorHiddenLeft{-215, 0, 5, 768};
const Box kInspectorHiddenRight{1019, 0, 1239, 768};

class AddinOnXvfb : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        server_ = new Xvfb;
        if (!server_->Start()) serverError_ = server_->Error();
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(serverError_.empty()) << serverError_;
        char pattern[] = "/tmp/wt-e2e-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        fs::create_directories(dir_ / "project");
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }

    // Writes Wingtckr.ini: the values a test does not name are the defaults
    // used here, with no focus handling since no window manager activates.
    void WriteSettings(const std::map<std::string, std::string>& overrides) {
        std::map<std::string, std::string> values{
            {"gwHideInspector", "True"}, {"gwHideDelphi", "True"}, {"gwSide", "0"},
            {"gwAnimate", "False"},      {"gwAnimateSpeed", "4"},  {"gwDelay", "200"},
            {"gwDisableOnFocusLoss", "False"}};
        for (const auto& [key, value] : overrides) values[key] = value;
        std::ofstream ini(dir_ / "config" / "wingtucker" / "Wingtckr.ini");
        ini << "[Wingtucker]\n";
        for (const auto& [key, value] : values) ini << key << '=' << value << '\n';
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
        ASSERT_TRUE(run_.Start(server_->Display(), (dir_ / "config").string(), file.string()));
    }

    void RunScript(const std::string& script) {
        Launch(script);
        Finish();
    }

    void Finish() {
        const int status = run_.Wait(kRunTimeoutMs);
        EXPECT_EQ(status, 0) << "hostide output:\n" << run_.Output();
    }

    static Xvfb* server_;
    static std::string serverError_;
    fs::path dir_;
    HostideRun run_;
};

Xvfb* AddinOnXvfb::server_ = nullptr;
std::string AddinOnXvfb::serverError_;

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
    ConfigureWatch watch(server_->Display());
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

// The panel stays open after Stop; quitting must still end the host.
TEST_F(AddinOnXvfb, StopBringsTheWindowsBack) {
    WriteSettings({});
    RunScript(Script(std::string("menu Tools|Wingtucker 1.2d\nwait 400\n") + kClickStop +
                     "\nwait 500\necho @stopped\nrects\n"
                     // The watch is off: the strip reveals nothing any more.
                     "move 512 1\nmove 513 2\nmove 2 400\nmove 3 401\nwait 400\necho @moved\nrects\n"));
    ExpectAt(run_.Rect("stopped", kMain), kMainShown, "main window after Stop");
    ExpectAt(run_.Rect("stopped", kInspector), kInspectorAtStart, "Inspector after Stop");
    ExpectAt(run_.Rect("moved", kMain), kMainShown, "main window, pointer moved after Stop");
    ExpectAt(run_.Rect("moved", kInspector), kInspectorAtStart, "Inspector, pointer moved after Stop");
}

} // namespace
} // namespace wt::e2e
