#include "drawing_support.h"

#include <QPalette>

#include <gtest/gtest.h>

#include <algorithm>

namespace wt {
namespace {

using test::PixelsNot;

struct Box {
    int Left = 1 << 20, Top = 1 << 20, Right = -1, Bottom = -1; // inclusive
};

Box BoundsOf(const test::PixelSet& pixels) {
    Box b;
    for (const auto& [x, y] : pixels) {
        b.Left = std::min(b.Left, x);
        b.Right = std::max(b.Right, x);
        b.Top = std::min(b.Top, y);
        b.Bottom = std::max(b.Bottom, y);
    }
    return b;
}

class CanvasText : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureApplication(); }

    TBitmap Text(int escapement, unsigned align = TA_LEFT | TA_TOP) {
        TBitmap b = test::Filled(120, 120, clWhite);
        TCanvas& c = b.Canvas();
        c.Font.Name = "Arial";
        c.Font.Height = -14;
        c.Font.Color = clBlack;
        c.Font.Escapement = escapement;
        c.Brush.Style = bsClear;
        c.SetTextAlign(align);
        c.TextOut(60, 60, "Wingtucker");
        return b;
    }
};

TEST_F(CanvasText, UnrotatedTextRunsRightFromItsTopLeft) {
    const TBitmap b = Text(0);
    const test::PixelSet ink = PixelsNot(b, clWhite);
    ASSERT_FALSE(ink.empty());
    const Box box = BoundsOf(ink);
    const TSize extent = b.Canvas().TextExtent("Wingtucker");
    EXPECT_GE(box.Left, 60);
    EXPECT_GE(box.Top, 60);
    EXPECT_LT(box.Right, 60 + extent.Width);
    EXPECT_LT(box.Bottom, 60 + extent.Height);
    EXPECT_GT(box.Right - box.Left, 3 * (box.Bottom - box.Top));
    // No smoothing: every pixel is ink or background.
    for (const auto& [x, y] : ink)
        EXPECT_EQ(b.Canvas().Pixel(x, y), clBlack);
}

TEST_F(CanvasText, Escapement900DrawsUpwardFromTheOrigin) {
    const TBitmap b = Text(900);
    const Box box = BoundsOf(PixelsNot(b, clWhite));
    const TSize extent = b.Canvas().TextExtent("Wingtucker");
    // The text's top faces left: the glyphs lie right of x = 60 and above y = 60.
    EXPECT_GE(box.Left, 60);
    EXPECT_LT(box.Right, 60 + extent.Height);
    EXPECT_LE(box.Bottom, 60);
    EXPECT_GT(box.Top, 60 - extent.Width - 1);
    EXPECT_GT(box.Bottom - box.Top, 3 * (box.Right - box.Left));
    // The first letter stands at the bottom: ink near the origin, none at
    // the far end beyond the text's length.
    bool nearOrigin = false;
    for (const auto& [x, y] : PixelsNot(b, clWhite))
        nearOrigin |= y > 60 - 8;
    EXPECT_TRUE(nearOrigin);
}

TEST_F(CanvasText, Escapement2700DrawsDownwardAndBottomAlignmentLiftsTheText) {
    const Box down = BoundsOf(PixelsNot(Text(2700), clWhite));
    EXPECT_GE(down.Top, 60);
    EXPECT_LE(down.Right, 60);
    EXPECT_GT(down.Bottom - down.Top, 3 * (down.Right - down.Left));

    const TBitmap bottom = Text(0, TA_BOTTOM);
    const Box box = BoundsOf(PixelsNot(bottom, clWhite));
    EXPECT_LT(box.Bottom, 60);
    EXPECT_GE(box.Top, 60 - bottom.Canvas().TextHeight("W"));
}

TEST_F(CanvasText, OpaqueTextFillsItsCellAndTextRectClips) {
    TBitmap b = test::Filled(100, 40, clWhite);
    TCanvas& c = b.Canvas();
    c.Font.Color = clBlack;
    c.Brush.Color = clYellow;
    c.TextOut(5, 5, "Ab");
    const TSize extent = c.TextExtent("Ab");
    EXPECT_EQ(c.Pixel(5, 5), clYellow);
    EXPECT_EQ(c.Pixel(5 + extent.Width - 1, 5 + extent.Height - 1), clYellow);
    EXPECT_EQ(c.Pixel(5 + extent.Width, 5), clWhite);

    TBitmap r = test::Filled(100, 40, clWhite);
    r.Canvas().Font.Color = clBlack;
    r.Canvas().Brush.Style = bsClear;
    r.Canvas().TextRect({10, 10, 14, 30}, 10, 10, "WWWW");
    const Box box = BoundsOf(PixelsNot(r, clWhite));
    EXPECT_GE(box.Left, 10);
    EXPECT_LE(box.Right, 13);
}

TEST_F(CanvasText, DrawTextWrapsWordsAndUnderlinesTheAccelerator) {
    TBitmap b = test::Filled(200, 200, clWhite);
    TCanvas& c = b.Canvas();
    c.Brush.Style = bsClear;
    const int line = c.TextHeight("X");
    TRect r{0, 0, c.TextWidth("Hiding Options") + 2, 200};
    const int oneLine = c.DrawText("Hiding Options", r, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(oneLine, line);
    TRect narrow{0, 0, c.TextWidth("Options") + 2, 200};
    EXPECT_EQ(c.DrawText("Hiding Options", narrow, DT_WORDBREAK | DT_CALCRECT), 2 * line);
    EXPECT_EQ(narrow.Bottom, 2 * line);

    // "&&" shows one "&"; "&O" draws an underlined "O" no wider than "O".
    TRect calc{0, 0, 200, 200};
    c.DrawText("a&&b", calc, DT_CALCRECT);
    EXPECT_EQ(calc.Right, c.TextWidth("a&b"));
    TRect plain{0, 0, 200, 200};
    c.DrawText("a&&b", plain, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(plain.Right, c.TextWidth("a&&b"));

    TBitmap u = test::Filled(100, 40, clWhite), v = test::Filled(100, 40, clWhite);
    u.Canvas().Brush.Style = v.Canvas().Brush.Style = bsClear;
    TRect ru{0, 0, 100, 40}, rv{0, 0, 100, 40};
    u.Canvas().DrawText("&Ok", ru, DT_LEFT);
    v.Canvas().DrawText("Ok", rv, DT_LEFT);
    EXPECT_GT(PixelsNot(u, clWhite).size(), PixelsNot(v, clWhite).size());
}

TEST_F(CanvasText, SystemColoursComeFromTheApplicationPalette) {
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Active, QPalette::Button, QColor(0x12, 0x34, 0x56));
    palette.setColor(QPalette::Active, QPalette::Dark, QColor(0x65, 0x43, 0x21));
    palette.setColor(QPalette::Active, QPalette::Light, QColor(0xFE, 0xDC, 0xBA));
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x99, 0x88, 0x77));
    QGuiApplication::setPalette(palette);

    EXPECT_EQ(ColorToRGB(clBtnFace), 0x563412u);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0x214365u);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xBADCFEu);
    EXPECT_EQ(ColorToRGB(clGrayText), 0x778899u);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);
    TBitmap b = test::Filled(4, 4, clBtnFace);
    EXPECT_EQ(b.Canvas().Pixel(1, 1), RGBColor(0x12, 0x34, 0x56));
    EXPECT_EQ(ToQColor(clBtnFace), QColor(0x12, 0x34, 0x56));

    QGuiApplication::setPalette(saved);
    EXPECT_EQ(ColorToRGB(clBtnFace), ColorToRGB(FromQColor(saved.color(QPalette::Button))));
}

TEST(Colors, SystemColoursAreFlaggedAndNamed) {
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_TRUE(IsSystemColor(clWindowFrame));
    EXPECT_LT(clBtnShadow, 0); // negative as a signed value
    EXPECT_FALSE(IsSystemColor(clWhite));
    EXPECT_EQ(IdentToColor("clBtnHighlight"), clBtnHighlight);
    EXPECT_EQ(IdentToColor("clbtnface"), clBtnFace);
    EXPECT_EQ(ColorToIdent(clGrayText), QString("clGrayText"));
    EXPECT_FALSE(IdentToColor("clNoSuchColour").has_value());
    EXPECT_FALSE(ColorToIdent(0x123456).has_value());
}

} // namespace
} // namespace wt
