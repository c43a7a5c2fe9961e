// Several monitors on the simulated desktop: each window hangs from an outer
// edge of its own monitor, its strip is there and nowhere else, the places
// follow a monitor added or removed while running, and Stop brings a window
// whose monitor went back onto one that is left.
#include "tests/engine/panel_fixture.h"

#include "toolkit/controls/timer.h"

namespace wt::test {
namespace {

constexpr TRect Left{0, 0, 1024, 768};
constexpr TRect Right{1024, 0, 2048, 768};
constexpr TRect Upper{0, 0, 1024, 768};
constexpr TRect Lower{0, 768, 1024, 1536};

class MonitorsTest : public AddInTest {
protected:
    // A desktop of the monitors' bounds, the IDE windows placed on it.
    void Layout(std::vector<TRect> monitors, int width, int height, TRect main, TRect inspector) {
        sim_->SetScreen(width, height - 18, 18);
        sim_->SetMonitors(std::move(monitors));
        sim_->SetWindowRect(delphi_, main);
        sim_->SetWindowRect(inspector_, inspector);
    }

    void Reveal(int x, int y) {
        Pointer(x, y);
        sim_->Advance(100);
    }
};

TEST_F(MonitorsTest, TheMainWindowsStripIsOnItsOwnMonitorOnly) {
    Layout({Left, Right}, 2048, 768, {1100, 40, 1700, 146}, InspectorAtStart);
    WriteSettings("gwHideDelphi=True\ngwDelay=100\n");
    Load();
    Start();
    ASSERT_EQ(Rect(delphi_), (TRect{1024, -101, 2048, 5}));

    Pointer(500, 2); // the same rows on the other monitor
    EXPECT_FALSE(RevealPending());
    Reveal(1500, 2);
    EXPECT_EQ(Rect(delphi_), (TRect{1024, 0, 2048, 106}));
    Pointer(1100, 50); // still over it
    EXPECT_EQ(Rect(delphi_), (TRect{1024, 0, 2048, 106}));
    Pointer(1000, 50); // onto the other monitor beside it
    EXPECT_EQ(Rect(delphi_), (TRect{1024, -101, 2048, 5}));
}

TEST_F(MonitorsTest, TheInspectorUsesTheOuterEdgeAndLeavesByTheOtherMonitor) {
    // Stacked: the Inspector on the lower monitor keeps to its own height.
    Layout({Upper, Lower}, 1024, 1536, DelphiAtStart, {10, 900, 210, 1300});
    WriteSettings("gwHideInspector=True\ngwSide=1\ngwDelay=100\n");
    Load();
    Start();
    ASSERT_EQ(Rect(inspector_), (TRect{1019, 768, 1219, 1536}));

    Pointer(1020, 300); // the right edge of the monitor above
    EXPECT_FALSE(RevealPending());
    Reveal(1020, 1000);
    EXPECT_EQ(Rect(inspector_), (TRect{824, 768, 1024, 1536}));
    Pointer(900, 700); // up onto the other monitor, not leftwards
    EXPECT_EQ(Rect(inspector_), (TRect{1019, 768, 1219, 1536}));
}

TEST_F(MonitorsTest, AnInnerEdgeSendsTheWindowAcrossToTheOuterOne) {
    // On the left monitor, the right edge has the other monitor beyond it.
    Layout({Left, Right}, 2048, 768, DelphiAtStart, InspectorAtStart);
    WriteSettings("gwHideInspector=True\ngwSide=1\ngwDelay=100\n");
    Load();
    Start();
    EXPECT_EQ(Rect(inspector_), (TRect{2043, 0, 2243, 768}));
    Pointer(1022, 400); // where the inner edge is: nothing there
    EXPECT_FALSE(RevealPending());
    Reveal(2047, 400);
    EXPECT_EQ(Rect(inspector_), (TRect{1848, 0, 2048, 768}));
}

TEST_F(MonitorsTest, AMonitorGoneWhileTuckedMovesTheWindowAndStopKeepsItOnOne) {
    const TRect home{1100, 40, 1700, 146};
    Layout({Left, Right}, 2048, 768, home, InspectorAtStart);
    WriteSettings("gwHideDelphi=True\ngwDelay=100\n");
    Load();
    Start();
    ASSERT_EQ(Rect(delphi_), (TRect{1024, -101, 2048, 5}));

    sim_->SetMonitors({Left});
    sim_->ProcessMessages();
    EXPECT_EQ(Rect(delphi_), (TRect{0, -101, 1024, 5})) << "tucked again on the monitor left";
    Reveal(500, 2);
    EXPECT_EQ(Rect(delphi_), (TRect{0, 0, 1024, 106}));

    Panel->btnStop->Click();
    EXPECT_EQ(Rect(delphi_), (TRect{424, 40, 1024, 146})) << "its place brought onto the monitor";

    // A monitor back while stopped changes nothing until the next Start.
    sim_->SetMonitors({Left, Right});
    sim_->ProcessMessages();
    EXPECT_EQ(Rect(delphi_), (TRect{424, 40, 1024, 146}));
}

} // namespace
} // namespace wt::test
