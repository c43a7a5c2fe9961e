#include "engine/geometry.h"

#include "engine_fixture.h"

namespace wt::test {
namespace {

// The places on their own: edges, odd sizes, 16-bit extents and the pixels
// left showing at both ends of their range, on screens at and off the origin.
struct Places {
    TRect Shown;
    TRect Hidden;
};
struct Expected {
    Places Delphi;
    Places Inspector;
};
struct GeometryCase {
    const char* Name;
    TGeometryInput In;
    Expected Out;
};

class GeometryTable : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(GeometryTable, PlacesFollowFromEdgeScreenAndExtents) {
    const GeometryCase& c = GetParam();
    const TGeometry g = ComputeGeometry(c.In);
    EXPECT_EQ(g.Delphi.Shown, c.Out.Delphi.Shown) << "main window shown";
    EXPECT_EQ(g.Delphi.Hidden, c.Out.Delphi.Hidden) << "main window hidden";
    EXPECT_EQ(g.Inspector.Shown, c.Out.Inspector.Shown) << "Inspector shown";
    EXPECT_EQ(g.Inspector.Hidden, c.Out.Inspector.Hidden) << "Inspector hidden";
}

constexpr TRect Screen{0, 0, 1024, 756};
constexpr TRect Main{30, 40, 630, 146};       // 106 high
constexpr TRect Inspector{10, 150, 210, 600}; // 200 wide
constexpr TRect SideLeft{0, 0, 1024, 768};
constexpr TRect SideRight{1024, 0, 2048, 768};
constexpr TRect Below{0, 768, 1024, 1536};
constexpr TRect Big{0, 0, 1280, 1024};
constexpr TRect Small{1280, 256, 2304, 1024};

constexpr TRect OnRight(TRect r) { return {r.Left + 1024, r.Top, r.Right + 1024, r.Bottom}; }

INSTANTIATE_TEST_SUITE_P(
    Cases, GeometryTable,
    ::testing::Values(
        GeometryCase{
            "left",
            {TEdge::Left, 5, {Screen}, Main, Inspector},
            {{{0, 0, 1024, 106}, {0, -101, 1024, 5}}, {{0, 0, 200, 756}, {-195, 0, 5, 756}}}},
        GeometryCase{
            "right",
            {TEdge::Right, 5, {Screen}, Main, Inspector},
            {{{0, 0, 1024, 106}, {0, -101, 1024, 5}}, {{824, 0, 1024, 756}, {1019, 0, 1219, 756}}}},
        GeometryCase{
            "fewest pixels",
            {TEdge::Right, 2, {Screen}, Main, Inspector},
            {{{0, 0, 1024, 106}, {0, -104, 1024, 2}}, {{824, 0, 1024, 756}, {1022, 0, 1222, 756}}}},
        GeometryCase{
            "most pixels",
            {TEdge::Left, 10, {Screen}, Main, Inspector},
            {{{0, 0, 1024, 106}, {0, -96, 1024, 10}}, {{0, 0, 200, 756}, {-190, 0, 10, 756}}}},
        // Odd sizes: a window wider than the screen keeps its width.
        GeometryCase{
            "odd sizes",
            {TEdge::Right, 3, {{0, 0, 801, 599}}, {-7, -9, 1300, 0}, {0, 0, 1201, 33}},
            {{{0, 0, 801, 9}, {0, -6, 801, 3}}, {{-400, 0, 801, 599}, {798, 0, 1999, 599}}}},
        // 70000 high wraps to 4464; a window whose right edge lies left of
        // its left (width -6) wraps to 65530.
        GeometryCase{"16-bit extents",
                     {TEdge::Right, 5, {Screen}, {0, -1000, 800, 69000}, {300, 0, 294, 500}},
                     {{{0, 0, 1024, 4464}, {0, 5 - 4464, 1024, 5}},
                      {{1024 - 65530, 0, 1024, 756}, {1019, 0, 1019 + 65530, 756}}}},
        GeometryCase{"no windows",
                     {TEdge::Left, 5, {Screen}, {}, {}},
                     {{{0, 0, 1024, 0}, {0, 5, 1024, 5}}, {{0, 0, 0, 756}, {5, 0, 5, 756}}}},
        GeometryCase{"screen off the origin",
                     {TEdge::Right, 4, {{1024, 100, 2048, 868}}, Main, Inspector},
                     {{{1024, 100, 2048, 206}, {1024, -2, 2048, 104}},
                      {{1848, 100, 2048, 868}, {2044, 100, 2244, 868}}}},
        // Two monitors side by side: each window on its own monitor's outer
        // edges; the Inspector asked for the inner edge goes on across.
        GeometryCase{"beside, right of the left one",
                     {TEdge::Right, 5, {SideLeft, SideRight}, Main, Inspector},
                     {{{0, 0, 1024, 106}, {0, -101, 1024, 5}},
                      {{1848, 0, 2048, 768}, {2043, 0, 2243, 768}}}},
        GeometryCase{
            "beside, left of the right one",
            {TEdge::Left, 5, {SideLeft, SideRight}, OnRight(Main), OnRight(Inspector)},
            {{{1024, 0, 2048, 106}, {1024, -101, 2048, 5}}, {{0, 0, 200, 768}, {-195, 0, 5, 768}}}},
        // Of different sizes, bottoms level: the smaller one's top is outer
        // (nothing above it), its left edge inner.
        GeometryCase{"bottoms level, the smaller one",
                     {TEdge::Left, 5, {Big, Small}, {1400, 300, 2000, 406}, {1500, 400, 1700, 800}},
                     {{{1280, 256, 2304, 362}, {1280, 155, 2304, 261}},
                      {{0, 0, 200, 1024}, {-195, 0, 5, 1024}}}},
        GeometryCase{"bottoms level, right of the bigger one",
                     {TEdge::Right, 5, {Big, Small}, Main, Inspector},
                     {{{0, 0, 1280, 106}, {0, -101, 1280, 5}},
                      {{2104, 256, 2304, 1024}, {2299, 256, 2499, 1024}}}},
        // Stacked: the main window on the lower one goes to the top of the upper.
        GeometryCase{
            "stacked, the lower one",
            {TEdge::Right, 5, {SideLeft, Below}, {30, 800, 630, 906}, {10, 900, 210, 1300}},
            {{{0, 0, 1024, 106}, {0, -101, 1024, 5}},
             {{824, 768, 1024, 1536}, {1019, 768, 1219, 1536}}}},
        // Nothing of a window on any monitor: the nearest one takes it.
        GeometryCase{"off every monitor",
                     {TEdge::Left, 5, {SideLeft, SideRight}, {3000, 40, 3600, 146}, Inspector},
                     {{{1024, 0, 2048, 106}, {1024, -101, 2048, 5}},
                      {{0, 0, 200, 768}, {-195, 0, 5, 768}}}}),
    [](const ::testing::TestParamInfo<GeometryCase>& info) {
        std::string name = info.param.Name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// The engine's use of it: the windows' rectangles and the screen read from
// the desktop, the Side read at load, the results stored.
class MeasureTest : public EngineTest {
protected:
    static constexpr int FH = FullScreenHeight + CaptionHeight;

    void SetUp() override {
        EngineTest::SetUp();
        Settings.HangOutPixels = 5;
        DelphiWindow.Handle = AddDelphi({30, 40, 630, 146});        // 106 high
        InspectorWindow.Handle = AddInspector({10, 150, 210, 600}); // 200 wide
    }
};

TEST_F(MeasureTest, TheWindowsAndScreenAreReadAndThePlacesStored) {
    Settings.InspectorEdge = TEdge::Right;
    MeasureWindows();
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{30, 40, 630, 146}));
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 106}));
    EXPECT_EQ(DelphiWindow.HiddenRect, (TRect{0, -101, ScreenWidth, 5}));
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{10, 150, 210, 600}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{824, 0, 1024, FH}));
    EXPECT_EQ(InspectorWindow.HiddenRect, (TRect{1019, 0, 1219, FH}));
}

TEST_F(MeasureTest, RestoreRectsFollowTheWindowsAndHiddenFlagsStay) {
    DelphiWindow.Hidden = true;
    MeasureWindows();
    Sim->SetWindowRect(DelphiWindow.Handle, {0, -101, ScreenWidth, 5});
    Sim->SetWindowRect(InspectorWindow.Handle, {-195, 0, 5, FH});
    MeasureWindows();
    EXPECT_EQ(DelphiWindow.RestoreRect, (TRect{0, -101, ScreenWidth, 5}));
    EXPECT_EQ(InspectorWindow.RestoreRect, (TRect{-195, 0, 5, FH}));
    // Position is imposed, the extent kept: the same shown rectangles again.
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 106}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{0, 0, 200, FH}));
    EXPECT_TRUE(DelphiWindow.Hidden);
    EXPECT_FALSE(InspectorWindow.Hidden);
}

TEST_F(MeasureTest, MissingWindowsGiveZeroExtents) {
    Sim->DestroyWindow(DelphiWindow.Handle);
    InspectorWindow.Handle = 0;
    MeasureWindows();
    EXPECT_EQ(DelphiWindow.RestoreRect, TRect{});
    EXPECT_EQ(DelphiWindow.ShownRect, (TRect{0, 0, ScreenWidth, 0}));
    EXPECT_EQ(InspectorWindow.ShownRect, (TRect{0, 0, 0, FH}));
}

} // namespace
} // namespace wt::test
