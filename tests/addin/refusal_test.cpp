// The add-in under simulated window managers that keep windows on screen:
// one that refuses every way gets the windows put back and one message per
// Start, and no fight with the pointer watch; one that lets a window be
// taken gets exact tucks, and neither Stop nor unloading leaves a window
// taken or off screen.
#include "tests/addin/addin_fixture.h"

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

} // namespace
} // namespace wt::test
