// Painting read back at the pixels that prove the cut corners, the raised
// edges, the opening of the body frame, the back-row segments, the tab
// colours and the dithered glyphs of disabled pages.
#include "notebook_support.h"

#include <array>

namespace wt::test {
namespace {

using N = TcsNotebook;

struct Probe {
    int X, Y;
    TColor Expected;
    const char* What;
};

class NotebookPaintTest : public NotebookTest {
protected:
    void Check(const std::vector<Probe>& probes) {
        for (const Probe& p : probes)
            EXPECT_EQ(At(p.X, p.Y), Rgb(p.Expected)) << p.What << " at " << p.X << "," << p.Y;
    }
    // A glyph strip of n glyphs 20 x 20 in the given colours; the
    // bottom-left pixel is white, so white is transparent.
    static TBitmap Strip(std::initializer_list<TColor> colors) {
        TBitmap b(20 * static_cast<int>(colors.size()), 20);
        int x = 0;
        for (TColor c : colors) {
            b.Canvas().Brush.Color = c;
            b.Canvas().FillRect({x, 0, x + 20, 20});
            x += 20;
        }
        b.Canvas().SetPixel(0, 19, clWhite);
        return b;
    }
};

TEST_F(NotebookPaintTest, OptionsTabsHaveCutCornersRaisedEdgesAndAnOpenBody) {
    MakeOptionsNotebook();
    // Hiding (0,106)-(35,141) is current; Sound (0,71)-(35,106) is not.
    Check({
        {0, 90, clWindowFrame, "Sound's outline, left side"},
        {20, 71, clWindowFrame, "Sound's outline, top"},
        {1, 90, clBtnHighlight, "Sound's lit left edge"},
        {20, 72, clBtnHighlight, "Sound's lit top edge"},
        {20, 105, clBtnShadow, "Sound's shaded foot edge"},
        {0, 141, clTeal, "Hiding's cut corner shows the parent"},
        {1, 140, clTeal, "inside the cut, beside the diagonal"},
        {2, 140, clWindowFrame, "the diagonal of the cut"},
        {0, 106, clTeal, "cut corner between Hiding and Sound"},
        {2, 108, clBtnHighlight, "Hiding's lit edge along the cut"},
        {20, 108, clBtnHighlight, "Hiding's second top edge"},
        {35, 50, clWindowFrame, "body edge along Sound"},
        {35, 105, clWindowFrame, "body edge just above the opening"},
        {35, 109, clYellow, "the body opens along the current tab"},
        {35, 138, clYellow, "still open near the foot"},
        {36, 50, clBtnHighlight, "the body's lit inner edge along Sound"},
        {36, 120, clYellow, "the lit inner edge stops at the opening"},
        {242, 70, clBtnShadow, "the body's shaded right edge"},
        {100, 140, clBtnShadow, "the body's shaded bottom edge"},
        {100, 141, clWindowFrame, "the body's outline"},
        {100, 50, clYellow, "inside the body"},
    });
}

TEST_F(NotebookPaintTest, AnchoredTabsCloseTheBodyFrame) {
    nb->SetAnchoredTabs(true);
    MakeOptionsNotebook();
    Check({{35, 109, clWindowFrame, "no opening"}, {35, 138, clWindowFrame, "no opening"}});
}

TEST_F(NotebookPaintTest, UnselectedTabColorPaintsOnlyTheOtherTabs) {
    nb->SetUseUnselectedTabColor(true);
    nb->SetUnselectedTabColor(clAqua);
    MakeOptionsNotebook();
    EXPECT_EQ(nb->TabBackColor("Sound"), clAqua);
    EXPECT_EQ(nb->TabBackColor("Hiding"), clYellow);
    Check({{17, 88, clAqua, "inside Sound"},
           {17, 20, clAqua, "inside General"},
           {17, 123, clYellow, "inside the current tab"},
           {100, 50, clYellow, "inside the body"},
           {0, 141, clTeal, "the cut corner"}});
}

TEST_F(NotebookPaintTest, ParentColorFillsEverythingInTheParentsColour) {
    nb->SetParentColor(true);
    MakeOptionsNotebook();
    Check({{17, 88, clTeal, "inside Sound"},
           {17, 123, clTeal, "inside Hiding"},
           {100, 50, clTeal, "inside the body"},
           {0, 90, clWindowFrame, "outlines are drawn"}});
}

TEST_F(NotebookPaintTest, BackRowsGetSegmentsOnlyBesideTabsWithNoTabInFront) {
    // CornerSize 1, RowIndent 5: row 0 holds D and E after the rotation,
    // row 1 A, B and C; C has no tab in front of it.
    nb->SetCornerSize(1);
    SetPages({"A", "B", "C", "D", "E"}, 302, 200);
    nb->SetTextAlignment(N::taInvisible);
    nb->SetActivePage("D");
    Paint();
    ASSERT_EQ(nb->Rows()[0], (QStringList{"D", "E"}));
    Check({{250, 30, clWindowFrame, "segment along C's foot"},
           {250, 31, clBtnHighlight, "its lit line"},
           {197, 30, clWindowFrame, "the segment starts past E"},
           {7, 30, clYellow, "nothing at the start of the row"},
           {100, 30, clYellow, "nothing beside B, which has E in front"},
           {301, 100, clWindowFrame, "the back row's right side"}});
}

TEST_F(NotebookPaintTest, DisabledPagesShowTheirGlyphDitheredOrTheirDisabledGlyph) {
    nb->SetTabOrientation(N::toLeft);
    nb->SetTabsPerRow(4);
    nb->SetTabHeight(35);
    nb->SetCornerSize(3);
    nb->SetTextAlignment(N::taInvisible);
    nb->SetBitmapAlignment(N::baCentreMiddle);
    SetPages({"Hiding", "Sound", "Movement", "General"}, 244, 142);
    Page(1)->SetBitmap(Strip({clBlue}));
    Page(1)->SetPageEnabled(false);
    Page(2)->SetBitmap(Strip({clBlue, clLime}));
    Page(2)->SetNumGlyphs(2);
    Page(2)->SetPageEnabled(false);
    Paint();
    // Sound's text area is (4,75)-(33,102); the 20 x 20 glyph is centred
    // at (8,78), drawn 19 x 19.
    const TRect ta = nb->TextArea("Sound");
    ASSERT_EQ(ta, (TRect{4, 75, 33, 102}));
    int blue = 0, back = 0;
    for (int y = 80; y < 95; ++y)
        for (int x = 10; x < 25; ++x) {
            const bool even = (x - ta.Left + y - ta.Top) % 2 == 0;
            EXPECT_EQ(At(x, y), Rgb(even ? clYellow : clBlue)) << x << "," << y;
            (even ? back : blue) += 1;
        }
    EXPECT_GT(blue, 100);
    EXPECT_GT(back, 100);
    // Movement shows glyph 1 whole.
    const TRect mv = nb->TextArea("Movement");
    for (int x = mv.Left + 6; x < mv.Left + 20; ++x)
        EXPECT_EQ(At(x, mv.Top + 10), Rgb(clLime)) << x;
}

TEST_F(NotebookPaintTest, GlyphsAreChosenByStateAndCutAroundTheirCentre) {
    MakeOptionsNotebook();
    for (int i : {0, 1})
        Page(i)->SetNumGlyphs(3);
    TBitmap strip = Strip({clBlue, clLime, clRed});
    Page(0)->SetBitmap(strip);
    Page(1)->SetBitmap(strip);
    TBitmap big(60, 40); // larger than the 29 x 27 text area
    big.Canvas().Brush.Color = clNavy;
    big.Canvas().FillRect({0, 0, 60, 40});
    big.Canvas().Brush.Color = clFuchsia;
    big.Canvas().FillRect({25, 15, 35, 25}); // the centre
    big.Canvas().SetPixel(0, 39, clWhite);   // transparent
    Page(2)->SetBitmap(big);
    Paint();
    const TRect cur = nb->TextArea("Hiding");
    const TRect other = nb->TextArea("Sound");
    EXPECT_EQ(At(cur.Left + 14, cur.Top + 13), Rgb(clBlue)) << "current: glyph 0";
    EXPECT_EQ(At(other.Left + 14, other.Top + 13), Rgb(clRed)) << "other enabled tab: glyph 2";
    EXPECT_EQ(nb->BitmapRect("Movement"), (TRect{4, 40, 33, 67}));
    const TRect mv = nb->TextArea("Movement");
    EXPECT_EQ(At(mv.Left + 14, mv.Top + 13), Rgb(clFuchsia)) << "the centre shows";
    EXPECT_EQ(At(mv.Left + 1, mv.Top + 1), Rgb(clNavy));
}

struct PlaceCase {
    N::TBitmapAlignment Align;
    N::TTabOrientation Side;
    int X, Y; // top-left of a 10 x 10 glyph in a tab on that side
};

TEST_F(NotebookPaintTest, BitmapAlignmentsTurnWithTheTab) {
    // One 100 x 30 tab on top: text area (6,6)-(94,28); on the left a
    // 30 x 100 tab: (6,6)-(28,94); on the right (2,6)-(24,94) of the tab.
    const PlaceCase cases[] = {
        {N::baLeftTop, N::toTop, 6, 6},        {N::baRightBottom, N::toTop, 85, 19},
        {N::baCentreMiddle, N::toTop, 45, 12}, {N::baFit, N::toTop, 6, 6},
        {N::baLeftTop, N::toLeft, 6, 85},      {N::baRightTop, N::toLeft, 6, 6},
        {N::baLeftTop, N::toRight, 15, 6},     {N::baRightBottom, N::toRight, 2, 85},
    };
    for (const PlaceCase& c : cases) {
        Renew();
        nb->SetTabOrientation(c.Side);
        nb->SetTabsPerRow(1);
        nb->SetTabHeight(30);
        nb->SetBitmapAlignment(c.Align);
        nb->SetTextAlignment(N::taInvisible);
        const bool top = c.Side == N::toTop;
        SetPages({"A"}, top ? 101 : 200, top ? 200 : 101);
        TBitmap glyph(10, 10);
        Page(0)->SetBitmap(glyph);
        Paint();
        const TRect r = nb->BitmapRect("A");
        EXPECT_EQ((TPoint{r.Left, r.Top}),
                  (TPoint{c.X + nb->TabRect("A").Left, c.Y + nb->TabRect("A").Top}))
            << int(c.Align) << " on " << int(c.Side);
    }
}

// --- Captions ---------------------------------------------------------------------

class NotebookCaptionTest : public NotebookTest {
protected:
    // What DrawAccelText leaves on a white bitmap, and what plain text in
    // the given font leaves.
    TBitmap Accel(const QString& caption, bool underline = true) {
        TBitmap b = Blank();
        const TFont plain = nb->MakeTabFont(0);
        b.Canvas().Font = plain;
        b.Canvas().Brush.Style = bsClear;
        nb->DrawAccelText(4, 4, underline ? nb->MakeTabFont(4) : plain, plain, b.Canvas(), caption);
        return b;
    }
    // The box around the drawn pixels: left, top, right, bottom.
    static std::array<int, 4> Ink(const TBitmap& b) {
        std::array<int, 4> box{b.Width(), b.Height(), -1, -1};
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if (b.Canvas().Pixel(x, y) != clWhite)
                    box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                           std::max(box[3], y)};
        return box;
    }
    TBitmap Plain(const QString& text, int flags = 0) {
        TBitmap b = Blank();
        b.Canvas().Font = nb->MakeTabFont(flags);
        b.Canvas().Brush.Style = bsClear;
        b.Canvas().TextOut(4, 4, text);
        return b;
    }
    static TBitmap Blank() {
        TBitmap b(120, 120);
        b.Canvas().Brush.Color = clWhite;
        b.Canvas().FillRect({0, 0, 120, 120});
        return b;
    }
};

TEST_F(NotebookCaptionTest, AcceleratorsAreUnderlinedAndDoubledAmpersandsShowOnce) {
    // "&&" draws one "&" and underlines nothing; drawn in two runs, so
    // the ink may shift by a pixel against the text drawn in one.
    EXPECT_EQ(Accel("A&&B").Image(), Accel("A&&B", false).Image());
    const auto doubled = Ink(Accel("A&&B")), single = Ink(Plain("A&B"));
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(doubled[static_cast<std::size_t>(i)], single[static_cast<std::size_t>(i)], 1)
            << i;
    EXPECT_EQ(Accel("Off&").Image(), Plain("Off").Image()); // an "&" at the end is not drawn
    EXPECT_NE(Accel("&S").Image(), Accel("&S", false).Image());
    EXPECT_EQ(Accel("&S").Image(), Plain("S", 4).Image());
    EXPECT_EQ(TcsNotebook::TextWidth("A&&B", Plain("").Canvas()),
              Plain("").Canvas().TextWidth("A&B"));
    EXPECT_EQ(TcsNotebook::TextWidth("&Sound", Plain("").Canvas()),
              Plain("").Canvas().TextWidth("Sound"));
}

TEST_F(NotebookCaptionTest, SidewaysCaptionsOnTheLeftReadUpwards) {
    nb->SetTabOrientation(N::toLeft); // turns SidewaysText on
    ASSERT_TRUE(nb->SidewaysText());
    EXPECT_EQ(nb->MakeTabFont(0).Escapement, 900);
    TBitmap b = Blank();
    b.Canvas().Font = nb->MakeTabFont(0);
    b.Canvas().Brush.Style = bsClear;
    nb->DrawAccelText(50, 110, nb->MakeTabFont(4), nb->MakeTabFont(0), b.Canvas(), "Wi&de");
    int top = 120, bottom = -1, left = 120, right = -1;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x)
            if (b.Canvas().Pixel(x, y) != clWhite)
                top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x),
                right = std::max(right, x);
    EXPECT_GT(bottom - top, 2 * (right - left)) << "runs along the tab";
    EXPECT_LE(bottom, 110) << "from the origin upwards";
    nb->SetTabOrientation(N::toRight);
    EXPECT_EQ(nb->MakeTabFont(5).Escapement, 2700);
    EXPECT_TRUE(nb->MakeTabFont(5).Has(fsBold));
    EXPECT_TRUE(nb->MakeTabFont(5).Has(fsUnderline));
}

TEST_F(NotebookCaptionTest, ADisabledPagesCaptionIsACheckerboardOverTheTab) {
    nb->SetTextAlignment(N::taCentreMiddle);
    nb->SetTabHeight(40);
    TFont big = nb->TabFont();
    big.Height = -24;
    big.Name = "Arial";
    nb->SetTabFont(big);
    SetPages({"A", "MMM"}, 302, 200);
    Page(1)->SetPageEnabled(false);
    Paint();
    const TRect ta = nb->TextArea("MMM");
    int odd = 0, even = 0;
    for (int y = ta.Top; y < ta.Bottom; ++y)
        for (int x = ta.Left; x < ta.Right; ++x)
            if (At(x, y) != Rgb(clYellow))
                ((x - ta.Left + y - ta.Top) % 2 ? odd : even) += 1;
    EXPECT_GT(odd, 20);
    EXPECT_EQ(even, 0) << "the background shows on every other pixel";
}

} // namespace
} // namespace wt::test
