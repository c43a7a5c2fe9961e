// Checked moves on the simulated desktop under managers that keep windows on
// screen: the way chosen by the manager's name, the fall-back when a way does
// not land, the refusal that puts windows back and says so once, a new
// attempt, and the windows given back when the add-in leaves.
#include "platform/sim/sim_platform.h"
#include "platform/tuck_guard.h"

#include <gtest/gtest.h>

#include <ostream>

namespace wt {
inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
} // namespace wt

namespace wt::test {
namespace {

struct PlanCase {
    const char* Name;
    TuckWay First;
    std::optional<TuckWay> Fallback;
    bool Known;
};

class PlanTest : public ::testing::TestWithParam<PlanCase> {};

TEST_P(PlanTest, TheManagersNameChoosesTheWay) {
    const PlanCase& c = GetParam();
    const TuckPlan plan = PlanFor(c.Name);
    EXPECT_EQ(plan.First, c.First) << TuckWayName(plan.First);
    EXPECT_EQ(plan.Fallback, c.Fallback);
    EXPECT_EQ(plan.Known, c.Known);
}

INSTANTIATE_TEST_SUITE_P(
    Managers, PlanTest,
    ::testing::Values(PlanCase{"", TuckWay::Direct, std::nullopt, true},
                      PlanCase{"Fluxbox", TuckWay::AskManager, TuckWay::TakeFromManager, true},
                      PlanCase{"Openbox", TuckWay::TakeFromManager, std::nullopt, true},
                      PlanCase{"Xfwm4", TuckWay::TakeFromManager, std::nullopt, true},
                      PlanCase{"Metacity", TuckWay::TakeFromManager, std::nullopt, true},
                      PlanCase{"IceWM 3.3.1 (Linux 6.1.0/x86_64)", TuckWay::TakeFromManager,
                               std::nullopt, true},
                      PlanCase{"GNOME Shell", TuckWay::TakeFromManager, std::nullopt, true},
                      PlanCase{"KWin", TuckWay::AskManager, TuckWay::TakeFromManager, true},
                      PlanCase{"Sawfish", TuckWay::AskManager, TuckWay::TakeFromManager, false}));

TEST(RefusalMessageTest, NamesTheManagerAndWhatToDo) {
    const std::string text = RefusalMessage("Sawfish");
    EXPECT_NE(text.find("\"Sawfish\""), std::string::npos) << text;
    EXPECT_NE(text.find("put them back"), std::string::npos) << text;
    EXPECT_NE(text.find("Start again"), std::string::npos) << text;
}

constexpr TRect MainShown{0, 0, 1024, 106};
constexpr TRect MainTucked{0, -101, 1024, 5};
constexpr TRect InspectorShown{0, 120, 200, 570};
constexpr TRect InspectorTucked{-195, 0, 5, 768};

class GuardOnSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        sim_.SetScreen(1024, 750, 18);
        main_ = sim_.AddWindow("TAppBuilder", "hostide", MainShown);
        inspector_ = sim_.AddWindow("TPropertyInspector", "Object Inspector", InspectorShown);
    }
    void Manage(std::string name, int keep, bool allowsTakeOver) {
        sim_.SetManager(SimPlatform::Manager{std::move(name), keep, allowsTakeOver});
    }
    bool Move(WindowHandle w, TRect r) {
        return sim_.MoveWindow(w, r.Left, r.Top, r.Width(), r.Height(), true);
    }
    std::size_t Messages() const { return sim_.MessageBoxCalls().size(); }

    SimPlatform sim_;
    WindowHandle main_ = 0, inspector_ = 0;
};

TEST_F(GuardOnSimTest, AManagerThatClampsEveryWayGetsTheWindowPutBackAndOneMessage) {
    Manage("Sawfish", -1, false);
    Move(main_, MainTucked);
    EXPECT_EQ(sim_.GetWindowRect(main_), MainShown);
    ASSERT_EQ(Messages(), 1u);
    EXPECT_NE(sim_.MessageBoxCalls()[0].Text.find("\"Sawfish\""), std::string::npos);
    EXPECT_FALSE(sim_.TakenFromManager(main_));

    // Until a new start nothing is tried again, and nothing is said again.
    const std::size_t placements = sim_.Placements().size();
    Move(main_, {0, -80, 1024, 26});
    Move(inspector_, InspectorTucked);
    EXPECT_EQ(sim_.Placements().size(), placements);
    EXPECT_EQ(Messages(), 1u);
    EXPECT_EQ(sim_.GetWindowRect(inspector_), InspectorShown);
}

TEST_F(GuardOnSimTest, MovesOnScreenStillLandAfterARefusal) {
    Manage("Sawfish", -1, false);
    Move(main_, MainTucked);
    ASSERT_EQ(Messages(), 1u);
    Move(inspector_, {0, 0, 200, 768});
    EXPECT_EQ(sim_.GetWindowRect(inspector_), (TRect{0, 0, 200, 768}));
}

TEST_F(GuardOnSimTest, ANewStartTriesAgainAndTellsAgain) {
    Manage("Sawfish", -1, false);
    Move(main_, MainTucked);
    sim_.GetSystemMetrics(SM_CXSCREEN); // a start measures the screen
    const std::size_t placements = sim_.Placements().size();
    Move(main_, MainTucked);
    EXPECT_GT(sim_.Placements().size(), placements);
    EXPECT_EQ(Messages(), 2u);
}

TEST_F(GuardOnSimTest, AnUnknownManagerThatClampsIsPassedByTakingTheWindow) {
    Manage("Sawfish", 10, true);
    Move(main_, MainTucked);
    EXPECT_EQ(sim_.GetWindowRect(main_), MainTucked);
    EXPECT_TRUE(sim_.TakenFromManager(main_));
    EXPECT_EQ(Messages(), 0u);
    const auto& placements = sim_.Placements();
    ASSERT_EQ(placements.size(), 2u);
    EXPECT_EQ(placements[0].Way, TuckWay::AskManager);
    EXPECT_EQ(placements[1].Way, TuckWay::TakeFromManager);
    // The way that landed is kept: the next tuck goes straight to it.
    Move(inspector_, InspectorTucked);
    EXPECT_EQ(placements.back().Way, TuckWay::TakeFromManager);
    EXPECT_EQ(placements.size(), 3u);
}

TEST_F(GuardOnSimTest, AKnownClampingManagerIsNotAskedFirst) {
    Manage("Openbox", 10, true);
    Move(inspector_, InspectorTucked);
    EXPECT_EQ(sim_.GetWindowRect(inspector_), InspectorTucked);
    ASSERT_EQ(sim_.Placements().size(), 1u);
    EXPECT_EQ(sim_.Placements()[0].Way, TuckWay::TakeFromManager);
}

TEST_F(GuardOnSimTest, ARevealGivesATakenWindowBackToTheManager) {
    Manage("Openbox", 10, true);
    Move(main_, MainTucked);
    ASSERT_TRUE(sim_.TakenFromManager(main_));
    Move(main_, MainShown);
    EXPECT_FALSE(sim_.TakenFromManager(main_));
    EXPECT_EQ(sim_.GetWindowRect(main_), MainShown);
}

TEST_F(GuardOnSimTest, ARefusalPutsBackAWindowWhoseTuckHadLanded) {
    // Keeps 10 pixels: a tuck leaving 20 lands, one leaving 5 cannot.
    Manage("Sawfish", 10, false);
    Move(main_, {0, -86, 1024, 20});
    ASSERT_EQ(sim_.GetWindowRect(main_), (TRect{0, -86, 1024, 20}));
    Move(inspector_, InspectorTucked);
    EXPECT_EQ(sim_.GetWindowRect(inspector_), InspectorShown);
    EXPECT_EQ(sim_.GetWindowRect(main_), MainShown);
    EXPECT_EQ(Messages(), 1u);
}

TEST_F(GuardOnSimTest, AnimatedStepsGoHomeToWhereTheTuckBegan) {
    Manage("Sawfish", 30, false);
    Move(main_, {0, -25, 1024, 81}); // lands: 81 rows stay
    Move(main_, {0, -50, 1024, 56});
    Move(main_, {0, -100, 1024, 6}); // kept at 30: refused
    EXPECT_EQ(sim_.GetWindowRect(main_), MainShown);
}

// Openbox itself puts the main window's title above the screen: Stop's
// place is partly off screen, yet it is no tuck.
TEST_F(GuardOnSimTest, APlacePartlyOffScreenGivesATakenWindowBack) {
    Manage("Openbox", 10, true);
    const TRect placed{-1, -20, 1025, 111};
    sim_.SetWindowRect(main_, placed);
    Move(main_, {0, -126, 1024, 5});
    ASSERT_TRUE(sim_.TakenFromManager(main_));
    Move(main_, placed);
    EXPECT_FALSE(sim_.TakenFromManager(main_));
    EXPECT_EQ(sim_.GetWindowRect(main_), placed);
    sim_.ReleaseWindows();
    EXPECT_EQ(sim_.GetWindowRect(main_), placed) << "leaving moved a window Stop had put back";
}

TEST_F(GuardOnSimTest, StepsMostlyOnScreenAreAskedAndNeverRefused) {
    Manage("Sawfish", -1, false);
    Move(main_, {0, -25, 1024, 81});
    EXPECT_EQ(sim_.GetWindowRect(main_), MainShown) << "kept on screen by the manager";
    EXPECT_EQ(Messages(), 0u);
    EXPECT_FALSE(sim_.Placements().empty());
    EXPECT_EQ(sim_.Placements().back().Way, TuckWay::AskManager);
}

TEST_F(GuardOnSimTest, LeavingPutsEveryTuckedWindowBackUntaken) {
    Manage("Openbox", 10, true);
    Move(main_, MainTucked);
    Move(inspector_, InspectorTucked);
    sim_.ReleaseWindows();
    EXPECT_EQ(sim_.GetWindowRect(main_), MainShown);
    EXPECT_EQ(sim_.GetWindowRect(inspector_), InspectorShown);
    EXPECT_FALSE(sim_.TakenFromManager(main_));
    EXPECT_FALSE(sim_.TakenFromManager(inspector_));
}

TEST_F(GuardOnSimTest, LeavingLeavesARevealedWindowWhereItStands) {
    Manage("Openbox", 10, true);
    Move(main_, MainTucked);
    Move(main_, {0, 0, 1024, 106});
    Move(main_, {10, 10, 1034, 116}); // off screen by ten columns: tucked again
    Move(main_, {0, 200, 1024, 306});
    sim_.ReleaseWindows();
    EXPECT_EQ(sim_.GetWindowRect(main_), (TRect{0, 200, 1024, 306}));
}

TEST_F(GuardOnSimTest, WithoutAManagerEveryMoveIsDirect) {
    Manage("", -1, false);
    Move(main_, MainTucked);
    EXPECT_EQ(sim_.GetWindowRect(main_), MainTucked);
    ASSERT_EQ(sim_.Placements().size(), 1u);
    EXPECT_EQ(sim_.Placements()[0].Way, TuckWay::Direct);
}

} // namespace
} // namespace wt::test
