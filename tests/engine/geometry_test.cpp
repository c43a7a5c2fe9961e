#include "engine/geometry.h"

#include "engine_fixture.h"

namespace wt::test {
namespace {

class GeometryTest : public EngineTest {
protected:
    static constexpr int FH = FullScreenHeight + CaptionHeight;

    void SetUp() override {
        EngineTest::SetUp();
        Settings.HangOutPixels = 5;
        DelphiWindow.Handle = AddDelphi({30, 40, 630, 146});        // 106 high
        InspectorWindow.Handle = AddInspector({10, 150, 210, 600}); // 200 wide
    }
};

TEST_F(GeometryTest, MainWindowAlongTopEdgeKeepsItsHeight) {
    ComputeGeometry();
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{30, 40, 630, 146}));
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 106}));
    EXPECT_EQ(DelphiWindow.HiddenRect, (TRect{0, -101, ScreenWidth, 5}));
}

TEST_F(GeometryTest, InspectorOnEitherSideKeepsItsWidth) {
    Settings.Side = 1;
    ComputeGeometry();
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{10, 150, 210, 600}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{824, 0, 1024, FH}));
    EXPECT_EQ(InspectorWindow.HiddenRect, (TRect{1019, 0, 1219, FH}));

    // Any Side but 1 is the left edge.
    for (std::uint8_t side : {0, 2, 255}) {
        Settings.Side = side;
        ComputeGeometry();
        EXPECT_EQ(InspectorWindow.ShownRect, (TRect{0, 0, 200, FH})) << int(side);
        EXPECT_EQ(InspectorWindow.HiddenRect, (TRect{-195, 0, 5, FH})) << int(side);
    }
}

TEST_F(GeometryTest, RestoreRectsFollowTheWindowsAndHiddenFlagsStay) {
    DelphiWindow.Hidden = true;
    ComputeGeometry();
    Sim->SetWindowRect(DelphiWindow.Handle, {0, -101, ScreenWidth, 5});
    Sim->SetWindowRect(InspectorWindow.Handle, {-195, 0, 5, FH});
    ComputeGeometry();
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, -101, ScreenWidth, 5}));
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{-195, 0, 5, FH}));
    // Position is imposed, the extent kept: the same shown rectangles again.
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 106}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{0, 0, 200, FH}));
    EXPECT_TRUE(DelphiWindow.Hidden);
    EXPECT_FALSE(InspectorWindow.Hidden);
}

TEST_F(GeometryTest, ExtentsWrapAt16Bits) {
    // 70000 high wraps to 4464; a window whose bottom lies above its top
    // (height -6) wraps to 65530.
    Sim->SetWindowRect(DelphiWindow.Handle, {0, -1000, 800, 69000});
    Sim->SetWindowRect(InspectorWindow.Handle, {300, 0, 294, 500});
    Settings.Side = 1;
    ComputeGeometry();
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 4464}));
    EXPECT_EQ(DelphiWindow.HiddenRect, (TRect{0, 5 - 4464, ScreenWidth, 5}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{ScreenWidth - 65530, 0, ScreenWidth, FH}));
    EXPECT_EQ(InspectorWindow.HiddenRect, (TRect{ScreenWidth - 5, 0, ScreenWidth - 5 + 65530, FH}));
}

TEST_F(GeometryTest, MissingWindowsGiveZeroExtents) {
    Sim->DestroyWindow(DelphiWindow.Handle);
    InspectorWindow.Handle = 0;
    ComputeGeometry();
    EXPECT_EQ(DelphiWindow.RestoreRect, TRect{});
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 0}));
    EXPECT_EQ(DelphiWindow.HiddenRect, (TRect{0, 5, ScreenWidth, 5}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{0, 0, 0, FH}));
    EXPECT_EQ(InspectorWindow.HiddenRect, (TRect{5, 0, 5, FH}));
}

} // namespace
} // namespace wt::test
