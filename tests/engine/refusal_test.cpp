// The add-in under simulated window managers that keep windows on screen:
// one that refuses every way gets the windows put back and one message per
// Start, and no fight with the pointer watch; one that lets a window be
// taken gets exact tucks, and neither Stop nor unloading leaves a window
// taken or off screen.
#include "tests/engine/panel_fixture.h"

namespace wt::test {
namespace {

constexpr TRect DelphiHidden{0, -101, 1024, 5};
constexpr TRect InspectorHiddenLeft{-195, 0, 5, 768};

class RefusalTest : public AddInTest {
protected:
    void LoadUnder(SimPlatform::Manager manager) {
        sim_->SetManager(std::move(manager));
        WriteSettings("gwHideDelphi=True\ngwHideInspector=True\ngwSide=0\ngwDelay=200\n");
        Load();
    }
    // Start as the user presses it, keeping what the desktop recorded.
    void PressStart() {
        host_.project = "/work/Demo/Demo.dpr";
        Panel->btnStart->Click();
    }
    std::size_t Messages() const { return sim_->MessageBoxCalls().size(); }
    void ExpectBothAtStart(const char* when) {
        EXPECT_EQ(Rect(delphi_), DelphiAtStart) << when;
        EXPECT_EQ(Rect(inspector_), InspectorAtStart) << when;
    }
};

TEST_F(RefusalTest, StartUnderAManagerThatRefusesPutsBothBackAndSaysSoOnce) {
    LoadUnder({"Sawfish", -1, false});
    const std::size_t before = Messages();
    PressStart();
    ExpectBothAtStart("after Start");
    ASSERT_EQ(Messages(), before + 1);
    EXPECT_NE(sim_->MessageBoxCalls().back().Text.find("\"Sawfish\""), std::string::npos);
}

TEST_F(RefusalTest, ThePointerWatchDoesNotFightARefusingManager) {
    LoadUnder({"Sawfish", -1, false});
    Start(); // and the records start afresh
    for (int round = 0; round < 3; ++round) {
        Pointer(300, 1); // on the strip the engine believes in
        sim_->Advance(250);
        Pointer(600, 500); // and away: a tuck the manager refused before
    }
    ExpectBothAtStart("after the pointer came and went");
    EXPECT_EQ(Messages(), 0u);
    EXPECT_FALSE(sim_->Placements().empty()) << "the reveals moved nothing";
    for (const auto& placement : sim_->Placements())
        EXPECT_TRUE(WhollyOn(placement.Target, {0, 0, 1024, 768}))
            << "a tuck was tried again before the next Start";
}

TEST_F(RefusalTest, TheNextStartTriesAgainAndTellsAgain) {
    LoadUnder({"Sawfish", -1, false});
    PressStart();
    const std::size_t told = Messages();
    Panel->btnStop->Click();
    PressStart();
    EXPECT_EQ(Messages(), told + 1);
    ExpectBothAtStart("after the second Start");
}

TEST_F(RefusalTest, AManagerThatLetsAWindowBeTakenGetsExactStripsAndThemBackOnStop) {
    LoadUnder({"Openbox", 10, true});
    Start();
    EXPECT_EQ(Rect(delphi_), DelphiHidden);
    EXPECT_EQ(Rect(inspector_), InspectorHiddenLeft);
    EXPECT_TRUE(sim_->TakenFromManager(delphi_));
    Panel->btnStop->Click();
    ExpectBothAtStart("after Stop");
    EXPECT_FALSE(sim_->TakenFromManager(delphi_));
    EXPECT_FALSE(sim_->TakenFromManager(inspector_));
}

TEST_F(RefusalTest, UnloadingWhileTuckedGivesBothBack) {
    LoadUnder({"Openbox", 10, true});
    Start();
    ASSERT_EQ(Rect(delphi_), DelphiHidden);
    Unload();
    ExpectBothAtStart("after unloading");
    EXPECT_FALSE(sim_->TakenFromManager(delphi_));
    EXPECT_FALSE(sim_->TakenFromManager(inspector_));
}

// A frame a column wider than the screen's edge leaves the Inspector's place
// partly off screen; an animated slide to the right edge first leaves the
// screen several steps in. Neither may make the tuck's home an animation
// step: every run must end with both windows given back, exactly home.
struct HomeCase {
    bool Animate;
    int Side;
    bool Unload; // the run ends by unloading rather than Stop
};

void PrintTo(const HomeCase& c, std::ostream* os) {
    *os << (c.Animate ? "animated" : "unanimated") << (c.Side == 1 ? ", right" : ", left")
        << (c.Unload ? ", unloaded" : ", stopped");
}

class HomeTest : public RefusalTest, public ::testing::WithParamInterface<HomeCase> {};

TEST_P(HomeTest, EveryRunEndsWithBothGivenBackExactlyHome) {
    const HomeCase c = GetParam();
    const TRect home{-1, 110, 221, 585};
    sim_->SetWindowRect(inspector_, home);
    sim_->SetManager(SimPlatform::Manager{"Openbox", 10, true});
    WriteSettings(std::string("gwHideDelphi=True\ngwHideInspector=True\ngwAnimateSpeed=5\n") +
                  "gwAnimate=" + (c.Animate ? "True" : "False") +
                  "\ngwSide=" + std::to_string(c.Side) + "\n");
    Load();
    for (int run = 0; run < 2; ++run) {
        Start();
        ASSERT_TRUE(sim_->TakenFromManager(inspector_)) << "run " << run;
        if (c.Unload && run == 1)
            Unload();
        else
            Panel->btnStop->Click();
        EXPECT_EQ(Rect(inspector_), home) << "run " << run;
        EXPECT_EQ(Rect(delphi_), DelphiAtStart) << "run " << run;
        EXPECT_FALSE(sim_->TakenFromManager(inspector_)) << "run " << run;
        EXPECT_FALSE(sim_->TakenFromManager(delphi_)) << "run " << run;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, HomeTest,
                         ::testing::Values(HomeCase{true, 1, false}, HomeCase{true, 1, true},
                                           HomeCase{true, 0, false}, HomeCase{false, 1, false},
                                           HomeCase{false, 0, true}));

} // namespace
} // namespace wt::test
