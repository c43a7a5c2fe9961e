// Two hostides with the add-in on one display, both started: each tucks and
// gives back only its own windows; the second one's Start and Stop leave the
// first one's windows tucked where they were.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

class TwoHostsOnXvfb : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        try {
            server_.Start(1024, 768, 150);
            if (std::string(GetParam()) != "none")
                manager_.Start(server_.DisplayName());
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
        ASSERT_TRUE(a_.Made() && b_.Made());
    }
    void TearDown() override { manager_.Stop(); }

    static std::string Script(const RunFolder& folder, int waitWhileOtherRuns) {
        const fs::path script = folder.Path() / "test.script";
        std::ofstream(script) << "new-project " << folder.Project()
                              << "\necho @before\nrects\nmenu Tools|Wingtucker 1.2d\nwait 1000\n"
                              << "click-button Start\nwait 1500\necho @tucked\nrects\n"
                              << "wait " << waitWhileOtherRuns << "\necho @later\nrects\n"
                              << "menu Tools|Wingtucker 1.2d\nwait 800\nclick-button Stop\n"
                              << "wait 1500\necho @stopped\nrects\nquit\n";
        return script.string();
    }

    test::XvfbServer server_;
    test::WindowManager manager_{GetParam()};
    static constexpr const char* kSettings = "gwHideInspector=True\ngwHideDelphi=True\n"
                                             "gwAnimate=False\ngwSide=1\n"
                                             "gwDisableOnFocusLoss=False\n";
    RunFolder a_{"wt-two", kSettings}, b_{"wt-two", kSettings};
    HostideRun first_, second_;
};

TEST_P(TwoHostsOnXvfb, EachAddInServesOnlyItsOwnHost) {
    ASSERT_TRUE(first_.Start(server_.DisplayName(), a_.ConfigHome(), Script(a_, 9000)));
    ASSERT_TRUE(first_.WaitForOutput("@tucked\n", 20000)) << first_.Output();
    ASSERT_TRUE(second_.Start(server_.DisplayName(), b_.ConfigHome(), Script(b_, 0)));
    EXPECT_EQ(second_.Wait(30000), 0) << second_.Output();
    EXPECT_EQ(first_.Wait(30000), 0) << first_.Output();

    for (const HostideRun* run : {&first_, &second_}) {
        const std::string name = run == &first_ ? "first" : "second";
        for (const char* cls : {"TAppBuilder", "TPropertyInspector"}) {
            const WindowRect* before = run->Rect("before", cls);
            const WindowRect* tucked = run->Rect("tucked", cls);
            const WindowRect* stopped = run->Rect("stopped", cls);
            ASSERT_TRUE(before && tucked && stopped) << name << "\n" << run->Output();
            EXPECT_NE(tucked->top == before->top && tucked->left == before->left, true)
                << name << "'s " << cls << " not tucked";
            EXPECT_EQ(stopped->left, before->left) << name << "'s " << cls << " given back";
            EXPECT_EQ(stopped->top, before->top) << name << "'s " << cls << " given back";
        }
    }
    // The second host's Start and Stop, while the first stood tucked.
    for (const char* cls : {"TAppBuilder", "TPropertyInspector"}) {
        const WindowRect* tucked = first_.Rect("tucked", cls);
        const WindowRect* later = first_.Rect("later", cls);
        ASSERT_TRUE(tucked && later) << first_.Output();
        EXPECT_EQ(later->left, tucked->left) << "the first host's " << cls << " was moved";
        EXPECT_EQ(later->top, tucked->top) << "the first host's " << cls << " was moved";
    }
}

INSTANTIATE_TEST_SUITE_P(Managers, TwoHostsOnXvfb, ::testing::Values("none", "openbox"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
} // namespace wt::e2e
