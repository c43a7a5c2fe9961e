// The About box: its layout, the motion of its two strips on the simulated
// clock (which strip moves when, up to where they drift), OK closing it, and
// ShowAbout making and freeing a new box each time.
#include "../widgets/ui_support.h"

#include "dialogs/about.h"

#include <QPointer>
#include <QTimer>

#include <map>
#include <vector>

namespace wt::test {
namespace {

using AboutTest = UiTest;

TEST_F(AboutTest, LayoutIsAsDesigned) {
    TfrmAbout form;
    EXPECT_EQ(form.Caption(), QStringLiteral("About..."));
    EXPECT_EQ(form.ClientWidth(), 379);
    EXPECT_EQ(form.ClientHeight(), 192);
    EXPECT_EQ(form.BorderStyle(), bsDialog);
    EXPECT_EQ(form.BorderIcons(), TBorderIcons(biSystemMenu));
    EXPECT_EQ(form.Position(), poScreenCenter);
    EXPECT_EQ(form.RzLabel1->Caption(), QStringLiteral("Wingtucker"));
    EXPECT_EQ(form.RzLabel1->TextStyle(), TRzLabel::tsRaised);
    EXPECT_TRUE(form.RzLabel1->Transparent());
    EXPECT_EQ(form.RzLabel1->Font().Height, -29);
    EXPECT_EQ(form.RzLabel3->Caption(), QStringLiteral("Version 1.2d for Delphi"));
    EXPECT_EQ(form.RzLabel3->TextStyle(), TRzLabel::tsRecessed);
    struct Strip {
        TAnimated* Control;
        TRect Bounds;
        int Frames;
        bool Reverse;
        TColor Transparent;
    };
    for (const Strip& s : {Strip{form.aniSide, {298, 0, 380, 192}, 10, false, clLime},
                           Strip{form.aniTop, {0, 0, 299, 52}, 8, true, clRed}}) {
        SCOPED_TRACE(s.Control->Name().toStdString());
        EXPECT_EQ(s.Control->BoundsRect(), s.Bounds);
        EXPECT_EQ(s.Control->FrameCount(), s.Frames);
        EXPECT_EQ(s.Control->BitMap().Width(), s.Frames * s.Bounds.Width());
        EXPECT_EQ(s.Control->BitMap().Height(), s.Bounds.Height());
        EXPECT_EQ(s.Control->Reverse(), s.Reverse);
        EXPECT_EQ(s.Control->TransparentColor(), s.Transparent);
        EXPECT_EQ(s.Control->Interval(), 50);
        EXPECT_FALSE(s.Control->Loop());
    }
    EXPECT_EQ(form.btnOk->Kind(), TBitBtn::bkOK);
    EXPECT_EQ(form.btnOk->BoundsRect(), (TRect{2, 161, 77, 190}));
    EXPECT_EQ(form.Timer1->Interval(), 2000);
    EXPECT_EQ(form.Timer2->Interval(), 1700);
}

TEST_F(AboutTest, StripsOpenAndCloseOnTheirOwnTimers) {
    TfrmAbout form;
    form.Show();
    // The frames of both strips at each 50 ms of the first 4.5 seconds.
    std::map<int, std::pair<int, int>> at;
    for (int t = 0; t <= 4500; t += 50) {
        at[t] = {form.aniSide->Frame(), form.aniTop->Frame()};
        Sim().Advance(50);
    }
    struct Point {
        int Ms, Side, Top;
    };
    const Point timeline[] = {
        {0, 0, 0},    {50, 1, 0},   {450, 9, 0},  // the side strip opens at once
        {1650, 9, 0},                             // the top one waits
        {1750, 9, 1}, {2000, 9, 6}, {2050, 8, 7}, // top opens from 1.7 s, side closes from 2 s
        {2100, 7, 7}, {2450, 0, 7}, {3400, 0, 7},
        {3450, 0, 6}, {3700, 0, 1}, {3750, 0, 0}, // top closes at 3.4 s
        {4000, 0, 0}, {4050, 1, 0}, {4450, 9, 0}, // side opens again at 4 s
    };
    for (const Point& p : timeline)
        EXPECT_EQ(at[p.Ms], std::make_pair(p.Side, p.Top)) << p.Ms << " ms";
    // Each strip rests between its runs.
    EXPECT_FALSE(form.aniTop->Play());
    EXPECT_FALSE(form.aniTop->Stepping());
}

TEST_F(AboutTest, OkClosesTheBoxAndEachShowingIsANewBox) {
    TForm owner;
    const int before = owner.ComponentCount();
    std::vector<QPointer<TfrmAbout>> shown;
    for (int round = 0; round < 2; ++round) {
        QTimer::singleShot(0, [&] {
            for (TComponent* c : owner.Components())
                if (auto* about = dynamic_cast<TfrmAbout*>(c)) {
                    shown.emplace_back(about);
                    about->btnOk->Click();
                }
        });
        ShowAbout(&owner);
        // Gone once it closed, so the next showing cannot be the same box.
        ASSERT_EQ(shown.size(), std::size_t(round + 1));
        EXPECT_TRUE(shown.back().isNull()) << "round " << round;
        EXPECT_EQ(owner.ComponentCount(), before) << "round " << round;
    }
}

} // namespace
} // namespace wt::test
