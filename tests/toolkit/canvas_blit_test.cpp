#include "drawing_support.h"

#include <gtest/gtest.h>

#include <random>

namespace wt {
namespace {

using test::Filled;

class CanvasBlit : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureApplication(); }
};

TEST(RasterOps, CodesDecodeToTheirBooleanFunctions) {
    std::mt19937 random(7);
    for (int i = 0; i < 50; ++i) {
        const std::uint32_t p = random(), s = random(), d = random();
        EXPECT_EQ(ApplyRop(SRCCOPY, p, s, d), s);
        EXPECT_EQ(ApplyRop(SRCPAINT, p, s, d), s | d);
        EXPECT_EQ(ApplyRop(SRCAND, p, s, d), s & d);
        EXPECT_EQ(ApplyRop(SRCINVERT, p, s, d), s ^ d);
        EXPECT_EQ(ApplyRop(NOTSRCCOPY, p, s, d), ~s);
        EXPECT_EQ(ApplyRop(MERGEPAINT, p, s, d), ~s | d);
        EXPECT_EQ(ApplyRop(PATCOPY, p, s, d), p);
        EXPECT_EQ(ApplyRop(DSna, p, s, d), d & ~s);
        EXPECT_EQ(ApplyRop(DSPDxax, p, s, d), (p & s) | (~p & d));
        EXPECT_EQ(ApplyRop(PATINVERT, p, s, d), p ^ d);
    }
    EXPECT_FALSE(RopUsesSource(PATCOPY));
    EXPECT_TRUE(RopUsesSource(DSPDxax));
    EXPECT_FALSE(RopUsesPattern(SRCCOPY));
    EXPECT_TRUE(RopUsesPattern(DSPDxax));
}

TEST_F(CanvasBlit, DitherWithCheckerboardBrushTakesTheSourceWherePatternIsWhite) {
    TBitmap pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pattern.Canvas().SetPixel(x, y, (x + y) % 2 == 0 ? clWhite : clBlack);
    // A scratch picture with several colours, and the background to mix in.
    const int w = 13, h = 11;
    TBitmap scratch(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            scratch.Canvas().SetPixel(x, y, x < 6 ? clRed : RGBColor(x * 10, y * 20, 5));
    const TBitmap original = scratch;
    const TBitmap back = Filled(w, h, clTeal);

    scratch.Canvas().Brush.SetBitmap(&pattern);
    scratch.Canvas().BitBlt(0, 0, w, h, back.Canvas(), 0, 0, 0x00CA0749);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const TColor expected = (x + y) % 2 == 0 ? clTeal : original.Canvas().Pixel(x, y);
            EXPECT_EQ(scratch.Canvas().Pixel(x, y), expected) << x << "," << y;
        }
}

TEST_F(CanvasBlit, MaskedCopyKeepsTheScreenUnderBackgroundPixels) {
    const int w = 6, h = 4;
    TBitmap screen(10, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x)
            screen.Canvas().SetPixel(x, y, RGBColor(20 * x, 30 * y, 99));
    const TBitmap before = screen;
    TBitmap image = Filled(w, h, clSilver);
    // Black and white pixels too: the mask's own colours must not confuse it.
    image.Canvas().SetPixel(0, 0, clBlack);
    image.Canvas().SetPixel(1, 0, clWhite);
    image.Canvas().SetPixel(2, 1, clRed);
    image.Canvas().SetPixel(5, 3, RGBColor(1, 2, 3));

    screen.Canvas().MaskedCopy(3, 2, image, clSilver);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
            const TColor src = inside ? image.Canvas().Pixel(x - 3, y - 2) : clSilver;
            const TColor expected = src == clSilver ? before.Canvas().Pixel(x, y) : src;
            EXPECT_EQ(screen.Canvas().Pixel(x, y), expected) << x << "," << y;
        }
}

TEST_F(CanvasBlit, BitBltClipsToBothImagesAndCombinesWithDestination) {
    TBitmap dest = Filled(8, 8, RGBColor(0x0F, 0xF0, 0x33));
    const TBitmap src = Filled(4, 4, RGBColor(0xF0, 0x0F, 0x30));
    dest.Canvas().BitBlt(6, 6, 4, 4, src.Canvas(), 0, 0, SRCPAINT);
    EXPECT_EQ(dest.Canvas().Pixel(7, 7), RGBColor(0xFF, 0xFF, 0x33));
    EXPECT_EQ(dest.Canvas().Pixel(5, 5), RGBColor(0x0F, 0xF0, 0x33));
    dest.Canvas().BitBlt(0, 0, 2, 2, src.Canvas(), 0, 0, NOTSRCCOPY);
    EXPECT_EQ(dest.Canvas().Pixel(1, 1), RGBColor(0x0F, 0xF0, 0xCF));
    // Moving a block within one image reads the pixels as they were.
    TBitmap strip(6, 1);
    for (int x = 0; x < 6; ++x)
        strip.Canvas().SetPixel(x, 0, RGBColor(x, 0, 0));
    strip.Canvas().BitBlt(1, 0, 5, 1, strip.Canvas(), 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(strip.Canvas().Pixel(x, 0), RGBColor(x - 1, 0, 0));
}

TEST_F(CanvasBlit, StretchAndBrushCopy) {
    TBitmap src(2, 2);
    src.Canvas().SetPixel(0, 0, clRed);
    src.Canvas().SetPixel(1, 0, clLime);
    src.Canvas().SetPixel(0, 1, clBlue);
    src.Canvas().SetPixel(1, 1, clFuchsia);
    TBitmap dest = Filled(6, 4, clWhite);
    dest.Canvas().StretchBlt({0, 0, 4, 4}, src.Image(), {0, 0, 2, 2}, SRCCOPY);
    EXPECT_EQ(dest.Canvas().Pixel(1, 1), clRed);
    EXPECT_EQ(dest.Canvas().Pixel(2, 1), clLime);
    EXPECT_EQ(dest.Canvas().Pixel(3, 3), clFuchsia);
    EXPECT_EQ(dest.Canvas().Pixel(4, 0), clWhite);

    dest.Canvas().Brush.Color = clYellow;
    dest.Canvas().BrushCopy({0, 0, 2, 2}, src, {0, 0, 2, 2}, clLime);
    EXPECT_EQ(dest.Canvas().Pixel(1, 0), clYellow);
    EXPECT_EQ(dest.Canvas().Pixel(0, 1), clBlue);
}

TEST_F(CanvasBlit, TransparentBitmapLeavesItsBottomLeftColourOut) {
    TBitmap glyph = Filled(3, 3, clOlive);
    glyph.Canvas().SetPixel(1, 1, clRed);
    glyph.Canvas().SetPixel(0, 0, clBlack);
    EXPECT_EQ(glyph.TransparentColor(), clOlive);
    glyph.SetTransparent(true);
    TBitmap dest = Filled(5, 5, clWhite);
    dest.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(dest.Canvas().Pixel(2, 2), clRed);
    EXPECT_EQ(dest.Canvas().Pixel(1, 1), clBlack);
    EXPECT_EQ(dest.Canvas().Pixel(3, 3), clWhite);
    glyph.SetTransparentColor(clRed);
    EXPECT_EQ(glyph.TransparentColor(), clRed);
    glyph.SetTransparent(false);
    dest.Canvas().Draw(1, 1, glyph);
    EXPECT_EQ(dest.Canvas().Pixel(3, 3), clOlive);
}

TEST_F(CanvasBlit, BitmapsCopyResizeAndLoadByResourceName) {
    TBitmap a = Filled(4, 3, clRed);
    TBitmap b = a;
    b.Canvas().SetPixel(0, 0, clBlue);
    EXPECT_EQ(a.Canvas().Pixel(0, 0), clRed); // copies do not share pixels
    a.SetWidth(6);
    EXPECT_EQ(a.Canvas().Pixel(3, 2), clRed);
    EXPECT_EQ(a.Canvas().Pixel(5, 2), clWhite);
    a.SetHeight(0);
    EXPECT_TRUE(a.Empty());

    QImage image(16, 15, QImage::Format_RGB32);
    image.fill(QColor(0, 128, 128));
    RegisterBitmapResource("WT_TEST_GLYPH", image);
    TBitmap loaded;
    loaded.LoadFromResourceName("wt_test_glyph");
    EXPECT_EQ(loaded.Width(), 16);
    EXPECT_EQ(loaded.Canvas().Pixel(3, 3), clTeal);
    UnregisterBitmapResource("WT_TEST_GLYPH");
    try {
        loaded.LoadFromResourceName("WT_TEST_GLYPH");
        FAIL() << "no error for a missing resource";
    } catch (const EResNotFound& e) {
        EXPECT_NE(std::string(e.what()).find("WT_TEST_GLYPH"), std::string::npos);
    }
    EXPECT_EQ(loaded.Width(), 16); // a failed load keeps the picture
    EXPECT_THROW(loaded.LoadFromFile("/nonexistent/none.bmp"), EInvalidGraphic);
}

} // namespace
} // namespace wt
