#include "drawing_support.h"

#include <gtest/gtest.h>

namespace wt {
namespace {

using test::PixelSet;
using test::PixelsNot;

class CanvasLines : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureApplication(); }

    PixelSet Line(int x0, int y0, int x1, int y1) {
        TBitmap b = test::Filled(24, 24, clWhite);
        b.Canvas().Pen.Color = clBlack;
        b.Canvas().MoveTo(x0, y0);
        b.Canvas().LineTo(x1, y1);
        EXPECT_EQ(b.Canvas().PenPos(), (TPoint{x1, y1}));
        return PixelsNot(b, clWhite);
    }
};

TEST_F(CanvasLines, HorizontalLeavesOutItsEndPointInBothDirections) {
    EXPECT_EQ(Line(2, 5, 8, 5), (PixelSet{{2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}}));
    EXPECT_EQ(Line(8, 5, 2, 5), (PixelSet{{8, 5}, {7, 5}, {6, 5}, {5, 5}, {4, 5}, {3, 5}}));
}

TEST_F(CanvasLines, VerticalLeavesOutItsEndPointInBothDirections) {
    EXPECT_EQ(Line(4, 1, 4, 5), (PixelSet{{4, 1}, {4, 2}, {4, 3}, {4, 4}}));
    EXPECT_EQ(Line(4, 5, 4, 1), (PixelSet{{4, 5}, {4, 4}, {4, 3}, {4, 2}}));
}

TEST_F(CanvasLines, DiagonalLeavesOutItsEndPointInBothDirections) {
    EXPECT_EQ(Line(1, 1, 5, 5), (PixelSet{{1, 1}, {2, 2}, {3, 3}, {4, 4}}));
    EXPECT_EQ(Line(5, 5, 1, 1), (PixelSet{{5, 5}, {4, 4}, {3, 3}, {2, 2}}));
    // The other diagonal, running up to the right and back.
    EXPECT_EQ(Line(2, 9, 6, 5), (PixelSet{{2, 9}, {3, 8}, {4, 7}, {5, 6}}));
    EXPECT_EQ(Line(6, 5, 2, 9), (PixelSet{{6, 5}, {5, 6}, {4, 7}, {3, 8}}));
}

TEST_F(CanvasLines, ShallowLineHasOnePixelPerColumnAndMatchesItsReverse) {
    const PixelSet forward = Line(0, 0, 20, 7);
    const PixelSet backward = Line(20, 7, 0, 0);
    ASSERT_EQ(forward.size(), 20u);
    for (int x = 0; x < 20; ++x) {
        int count = 0;
        for (const auto& [px, py] : forward)
            if (px == x) {
                ++count;
                // Never more than half a pixel from the ideal line.
                EXPECT_LE(std::abs(2 * (20 * py - 7 * x)), 20) << x;
            }
        EXPECT_EQ(count, 1) << x;
    }
    EXPECT_FALSE(forward.count({20, 7}));
    EXPECT_TRUE(forward.count({0, 0}));
    EXPECT_TRUE(backward.count({20, 7}));
    EXPECT_FALSE(backward.count({0, 0}));
    // Between the end points both directions light the same pixels, also
    // where the line passes exactly between two pixels (x = 2: y = 0.7 ... ).
    PixelSet a = forward, b = backward;
    a.erase({0, 0});
    b.erase({20, 7});
    EXPECT_EQ(a, b);
    // Lines through the corner between two pixels (y = 0.5 at x = 3, and
    // x = 0.5 at y = 3) light one of them, the same one either way.
    const PixelSet shallow = Line(0, 0, 6, 1), shallowBack = Line(6, 1, 0, 0);
    EXPECT_EQ(shallow.count({3, 0}) + shallow.count({3, 1}), 1u);
    EXPECT_EQ(shallow.count({3, 0}), shallowBack.count({3, 0}));
    const PixelSet steep = Line(0, 0, 1, 6), steepBack = Line(1, 6, 0, 0);
    EXPECT_EQ(steep.count({0, 3}) + steep.count({1, 3}), 1u);
    EXPECT_EQ(steep.count({0, 3}), steepBack.count({0, 3}));
}

TEST_F(CanvasLines, ConnectedLinesDrawEveryCornerOnce) {
    TBitmap b = test::Filled(12, 12, clWhite);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clRed;
    c.Polyline({{2, 2}, {9, 2}, {9, 7}, {2, 7}, {2, 2}});
    const PixelSet drawn = PixelsNot(b, clWhite);
    EXPECT_EQ(drawn.size(), 2u * 7 + 2u * 5);
    for (auto corner : {std::pair{2, 2}, {9, 2}, {9, 7}, {2, 7}})
        EXPECT_TRUE(drawn.count(corner));
    EXPECT_EQ(c.Pixel(5, 2), clRed);
}

TEST_F(CanvasLines, ClearPenDrawsNothingAndWidePenCoversItsWidth) {
    TBitmap b = test::Filled(12, 12, clWhite);
    b.Canvas().Pen.Style = psClear;
    b.Canvas().MoveTo(0, 0);
    b.Canvas().LineTo(10, 10);
    EXPECT_TRUE(PixelsNot(b, clWhite).empty());
    b.Canvas().Pen = {clBlack, 3, psSolid};
    b.Canvas().MoveTo(2, 5);
    b.Canvas().LineTo(8, 5);
    for (int y = 3; y <= 7; ++y)
        EXPECT_EQ(b.Canvas().Pixel(5, y), y >= 4 && y <= 6 ? clBlack : clWhite) << y;
}

TEST_F(CanvasLines, RectangleFramesWithThePenInsideAndFillsWithTheBrush) {
    TBitmap b = test::Filled(12, 12, clWhite);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Color = clRed;
    c.Rectangle({1, 1, 7, 5});
    EXPECT_EQ(c.Pixel(1, 1), clBlack);
    EXPECT_EQ(c.Pixel(6, 4), clBlack);
    EXPECT_EQ(c.Pixel(7, 4), clWhite);
    EXPECT_EQ(c.Pixel(6, 5), clWhite);
    EXPECT_EQ(c.Pixel(2, 2), clRed);
    EXPECT_EQ(c.Pixel(5, 3), clRed);
    EXPECT_EQ(PixelsNot(b, clWhite).size(), 6u * 4);

    // Without a pen the fill is one pixel smaller on the right and bottom.
    TBitmap d = test::Filled(12, 12, clWhite);
    d.Canvas().Pen.Style = psClear;
    d.Canvas().Brush.Color = clBlue;
    d.Canvas().Rectangle({1, 1, 7, 5});
    EXPECT_EQ(PixelsNot(d, clWhite).size(), 5u * 3);
}

TEST_F(CanvasLines, FocusRectangleTwiceRestoresThePixels) {
    TBitmap b(16, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            b.Canvas().SetPixel(x, y, RGBColor(x * 13, y * 17, (x * y) % 256));
    const TBitmap before = b;
    const TRect r{2, 1, 13, 9};
    b.Canvas().DrawFocusRect(r);
    int changed = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool onFrame = r.Contains(x, y) && (x == r.Left || x == r.Right - 1 ||
                                                      y == r.Top || y == r.Bottom - 1);
            const TColor was = before.Canvas().Pixel(x, y);
            const TColor now = b.Canvas().Pixel(x, y);
            if (!onFrame)
                EXPECT_EQ(now, was) << x << "," << y;
            else if (now != was) {
                EXPECT_EQ(now, was ^ 0xFFFFFF) << x << "," << y;
                ++changed;
            }
        }
    // A dotted frame: every other pixel of the frame.
    EXPECT_EQ(changed, (2 * r.Width() + 2 * (r.Height() - 2)) / 2);
    b.Canvas().DrawFocusRect(r);
    EXPECT_TRUE(b == before);
}

TEST_F(CanvasLines, PolygonFillsInsideAndOutlinesEveryEdge) {
    TBitmap b = test::Filled(20, 20, clWhite);
    TCanvas& c = b.Canvas();
    c.Pen.Color = clBlack;
    c.Brush.Color = clLime;
    c.Polygon({{2, 2}, {14, 2}, {2, 14}});
    for (auto p : {TPoint{2, 2}, TPoint{14, 2}, TPoint{2, 14}, TPoint{8, 8}, TPoint{8, 2}})
        EXPECT_EQ(c.Pixel(p.X, p.Y), clBlack) << p.X << "," << p.Y;
    EXPECT_EQ(c.Pixel(4, 4), clLime);
    EXPECT_EQ(c.Pixel(10, 10), clWhite);
    EXPECT_EQ(c.PenPos(), (TPoint{0, 0}));
}

} // namespace
} // namespace wt
