// The About box opened from the panel of the add-in inside hostide on a
// private Xvfb: a real window of 379 x 192 at the screen's centre, gone again
// once its OK button is clicked.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "tests/e2e/top_windows.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

class AboutOnXvfb : public ::testing::Test {
protected:
    void SetUp() override {
        try {
            server_.Start(1024, 768, 130);
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        char pattern[] = "/tmp/wt-about-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        fs::create_directories(dir_ / "config" / "wingtucker");
        display_ = XOpenDisplay(server_.DisplayName().c_str());
        ASSERT_NE(display_, nullptr);
    }
    void TearDown() override {
        if (display_)
            XCloseDisplay(display_);
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    test::XvfbServer server_;
    fs::path dir_;
    Display* display_ = nullptr;
    HostideRun run_;
};

TEST_F(AboutOnXvfb, TheAboutButtonOpensTheBoxAndOkClosesIt) {
    // The panel at the screen's centre has its About button's middle at
    // (510, 429); the box centred on 1024 x 768 has its OK button (75 x 29
    // at 2, 161) around (361, 470).
    const fs::path script = dir_ / "about.script";
    std::ofstream(script) << "menu Tools|Wingtucker 1.2d\nwait 400\n"
                             "click 510 429\nwait 600\necho @open\nwait 1500\n"
                             "click 361 470\nwait 500\necho @closed\nwait 1000\nquit\n";
    ASSERT_TRUE(run_.Start(server_.DisplayName(), (dir_ / "config").string(), script.string()));

    ASSERT_TRUE(run_.WaitForOutput("@open", 10000)) << run_.Output();
    const auto box = FindMapped(display_, "About...");
    ASSERT_TRUE(box) << "no About box on the screen";
    EXPECT_EQ(box->width, 379);
    EXPECT_EQ(box->height, 192);
    // Centred as a framed window would be: the room of a title bar shifts
    // the client area down by up to half of it.
    EXPECT_NEAR(box->x + box->width / 2, 512, 4);
    EXPECT_NEAR(box->y + box->height / 2, 384, 16);

    ASSERT_TRUE(run_.WaitForOutput("@closed", 10000)) << run_.Output();
    EXPECT_FALSE(FindMapped(display_, "About...")) << "OK left the box open";
    EXPECT_EQ(run_.Wait(15000), 0) << run_.Output();
}

} // namespace
} // namespace wt::e2e
