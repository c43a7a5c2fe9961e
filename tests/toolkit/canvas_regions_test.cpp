#include "drawing_support.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

using test::PixelSet;
using test::PixelsNot;

class CanvasRegions : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureApplication(); }

    PixelSet Filled(const TRegion& region, int size = 24) {
        TBitmap b = test::Filled(size, size, clWhite);
        TBrush brush;
        brush.Color = clNavy;
        b.Canvas().FillRgn(region, brush);
        return PixelsNot(b, clWhite);
    }
};

TEST_F(CanvasRegions, PolygonRegionTakesThePixelsInsideWithoutRightEdges) {
    // A pixel stands at its integer coordinates. Edges x + 2y = 12 (a right
    // edge, left out) and the two axes (left and top edges, taken).
    const PixelSet drawn = Filled(TRegion::FromPolygon({{0, 0}, {12, 0}, {0, 6}}));
    PixelSet expected;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x + 2 * y < 12; ++x)
            expected.insert({x, y});
    EXPECT_EQ(drawn, expected);
    EXPECT_TRUE(drawn.count({11, 0}));
    EXPECT_FALSE(drawn.count({12, 0}));
    EXPECT_FALSE(drawn.count({8, 2}));
    EXPECT_TRUE(drawn.count({1, 5}));
    EXPECT_FALSE(drawn.count({0, 6}));
}

TEST_F(CanvasRegions, RectanglePolygonLeavesOutRightAndBottomEdges) {
    const TRegion poly = TRegion::FromPolygon({{3, 2}, {9, 2}, {9, 7}, {3, 7}});
    EXPECT_EQ(Filled(poly), Filled(TRegion(TRect{3, 2, 9, 7})));
    EXPECT_EQ(poly.PixelCount(), 6 * 5);
    EXPECT_EQ(poly.Bounds(), (TRect{3, 2, 9, 7}));
}

TEST_F(CanvasRegions, SelfCrossingPolygonUsesAlternateFill) {
    const TRegion star = TRegion::FromPolygon({{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}});
    EXPECT_FALSE(star.Contains(10, 11)); // the pentagon in the middle is covered twice
    EXPECT_TRUE(star.Contains(10, 3));   // a point of the star
    EXPECT_TRUE(star.Contains(3, 8));
}

TEST_F(CanvasRegions, DifferenceUnionAndIntersection) {
    const TRegion outer(TRect{0, 0, 10, 10});
    const TRegion hole(TRect{3, 3, 6, 6});
    const PixelSet frame = Filled(outer.Difference(hole));
    EXPECT_EQ(frame.size(), 100u - 9u);
    EXPECT_FALSE(frame.count({3, 3}));
    EXPECT_FALSE(frame.count({5, 5}));
    EXPECT_TRUE(frame.count({6, 6}));
    EXPECT_TRUE(frame.count({2, 4}));

    const TRegion a(TRect{0, 0, 4, 4}), b(TRect{2, 2, 6, 6});
    EXPECT_EQ(a.Union(b).PixelCount(), 16 + 16 - 4);
    EXPECT_EQ(a.Intersect(b).Bounds(), (TRect{2, 2, 4, 4}));
    EXPECT_TRUE(a.Difference(a).IsEmpty());
    EXPECT_TRUE(TRegion::FromPolygon({{0, 0}, {5, 5}}).IsEmpty());
}

TEST_F(CanvasRegions, FrameRgnDrawsInsideTheEdge) {
    const TRegion shape = TRegion(TRect{2, 2, 12, 8}).Union(TRegion(TRect{12, 4, 16, 6}));
    TBitmap b = test::Filled(20, 12, clWhite);
    TBrush brush;
    brush.Color = clBlack;
    b.Canvas().FrameRgn(shape, brush, 1, 1);
    const PixelSet drawn = PixelsNot(b, clWhite);
    for (const auto& [x, y] : drawn)
        EXPECT_TRUE(shape.Contains(x, y)) << x << "," << y;
    EXPECT_TRUE(drawn.count({2, 2}));
    EXPECT_TRUE(drawn.count({11, 2}));
    EXPECT_TRUE(drawn.count({15, 4}));
    EXPECT_FALSE(drawn.count({5, 5}));  // inside, away from the edge
    EXPECT_TRUE(drawn.count({12, 5}));  // the small part's bottom edge
    EXPECT_FALSE(drawn.count({11, 4})); // the joint between the two parts
    EXPECT_FALSE(drawn.count({11, 5}));
}

TEST_F(CanvasRegions, ClipRegionLimitsEveryOperation) {
    TBitmap b = test::Filled(16, 16, clWhite);
    TCanvas& c = b.Canvas();
    c.SetClipRegion(TRegion(TRect{0, 0, 8, 16}).Difference(TRegion(TRect{2, 2, 4, 4})));
    c.Brush.Color = clRed;
    c.FillRect({0, 0, 16, 16});
    c.Pen.Color = clBlack;
    c.MoveTo(0, 10);
    c.LineTo(16, 10);
    EXPECT_EQ(c.Pixel(7, 0), clRed);
    EXPECT_EQ(c.Pixel(8, 0), clWhite);
    EXPECT_EQ(c.Pixel(3, 3), clWhite);
    EXPECT_EQ(c.Pixel(7, 10), clBlack);
    EXPECT_EQ(c.Pixel(12, 10), clWhite);

    c.Save();
    c.SetClipRegion(std::nullopt);
    c.FillRect({12, 12, 14, 14});
    c.Restore();
    EXPECT_EQ(c.Pixel(12, 12), clRed);
    c.FillRect({14, 14, 16, 16}); // the saved clip is back
    EXPECT_EQ(c.Pixel(14, 14), clWhite);
}

} // namespace
} // namespace wt
