// Tab layout against values worked out by hand from the layout rules.
#include "notebook_support.h"

#include <ostream>

namespace wt {
inline void PrintTo(const TRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}
} // namespace wt

namespace wt::test {
namespace {

using N = TcsNotebook;

TEST_F(NotebookTest, OptionsDialogNotebookLaysItsTabsUpTheLeftSide) {
    MakeOptionsNotebook();
    EXPECT_EQ(nb->RowCount(), 1);
    EXPECT_EQ(nb->InnerRect(), (TRect{0, 0, 243, 141}));
    EXPECT_EQ(nb->TabArea(), (TRect{0, 0, 35, 141}));
    EXPECT_EQ(nb->TabRect("Hiding"), (TRect{0, 106, 35, 141}));
    EXPECT_EQ(nb->TabRect("Sound"), (TRect{0, 71, 35, 106}));
    EXPECT_EQ(nb->TabRect("Movement"), (TRect{0, 36, 35, 71}));
    EXPECT_EQ(nb->TabRect("General"), (TRect{0, 0, 35, 36})); // stretched
    EXPECT_EQ(nb->BodyRect(), (TRect{35, 0, 243, 141}));
    EXPECT_EQ(nb->PageArea(), (TRect{38, 3, 241, 139}));
    // 3 pixels off three sides and 1 off the body side, then 1 all round.
    EXPECT_EQ(nb->TextArea("Hiding"), (TRect{4, 110, 33, 137}));
    // The current page fills the page area.
    EXPECT_EQ(Page(0)->BoundsRect(), nb->PageArea());
}

struct TwoRowCase {
    N::TTabOrientation Side;
    int Width, Height;
    TRect TabArea;
    TRect FirstFront, LastFront, FirstBack, LastBack; // A, C, D, F
    TRect FrontBody, BackBody;
};

// 6 pages, TabsPerRow 3, TabHeight 25, RowIndent 5: two rows, 50 deep.
const TwoRowCase kTwoRows[] = {
    {N::toTop,
     302,
     200,
     {0, 0, 301, 50},
     {0, 25, 98, 50},
     {196, 25, 296, 50},
     {5, 0, 103, 25},
     {201, 0, 301, 25},
     {0, 50, 296, 199},
     {5, 25, 301, 174}},
    {N::toBottom,
     302,
     200,
     {0, 149, 301, 199},
     {0, 149, 98, 174},
     {196, 149, 296, 174},
     {5, 174, 103, 199},
     {201, 174, 301, 199},
     {0, 0, 296, 149},
     {5, 25, 301, 174}},
    {N::toLeft,
     200,
     302,
     {0, 0, 50, 301},
     {25, 203, 50, 301},
     {25, 5, 50, 105},
     {0, 196, 25, 294},
     {0, 0, 25, 98},
     {50, 5, 199, 301},
     {25, 0, 174, 296}},
    {N::toRight,
     200,
     302,
     {149, 0, 199, 301},
     {149, 0, 174, 98},
     {149, 196, 174, 296},
     {174, 5, 199, 103},
     {174, 201, 199, 301},
     {0, 0, 149, 296},
     {25, 5, 174, 301}},
};

TEST_F(NotebookTest, TwoRowsOnEverySide) {
    for (const TwoRowCase& c : kTwoRows) {
        SCOPED_TRACE(testing::Message() << "side " << int(c.Side));
        MakeTwoRows(c.Side, c.Width, c.Height);
        EXPECT_EQ(nb->RowCount(), 2);
        EXPECT_EQ(nb->TabsDepth(), 50);
        EXPECT_EQ(nb->TabArea(), c.TabArea);
        EXPECT_EQ(nb->TabRect("A"), c.FirstFront);
        EXPECT_EQ(nb->TabRect("C"), c.LastFront);
        EXPECT_EQ(nb->TabRect("D"), c.FirstBack);
        EXPECT_EQ(nb->TabRect("F"), c.LastBack);
        EXPECT_EQ(nb->RowBodyRect(0), c.FrontBody);
        EXPECT_EQ(nb->RowBodyRect(1), c.BackBody);
        Renew();
    }
}

TEST_F(NotebookTest, SelectingABackRowTabBringsItsRowToTheFront) {
    MakeTwoRows(N::toTop, 302, 200);
    nb->SetActivePage("E");
    Paint();
    ASSERT_EQ(nb->Rows().size(), 2u);
    EXPECT_EQ(nb->Rows()[0], (QStringList{"D", "E", "F"}));
    EXPECT_EQ(nb->TabRect("D"), (TRect{0, 25, 98, 50}));
    EXPECT_EQ(nb->TabRect("A"), (TRect{5, 0, 103, 25}));
}

TEST_F(NotebookTest, AnchoredRowsKeepThePageOrder) {
    nb->SetAnchoredTabs(true);
    MakeTwoRows(N::toTop, 302, 200);
    nb->SetActivePage("E");
    Paint();
    EXPECT_EQ(nb->Rows()[0], (QStringList{"A", "B", "C"}));
    EXPECT_EQ(nb->TabRect("E"), (TRect{103, 0, 201, 25}));
}

TEST_F(NotebookTest, SevenPagesInRowsOfThreeLeaveTheLastRowShortAndUnstretched) {
    SetPages({"A", "B", "C", "D", "E", "F", "G"}, 302, 200);
    Paint();
    EXPECT_EQ(nb->RowExtent(), 3);
    ASSERT_EQ(nb->Rows().size(), 3u);
    EXPECT_EQ(nb->Rows()[2], QStringList{"G"});
    // dx = (301 - 2 * 5) / 3 = 97; the back row starts at 2 * 5.
    EXPECT_EQ(nb->TabRect("G"), (TRect{10, 0, 107, 25}));
}

TEST_F(NotebookTest, HiddenPagesTakeNoPlaceAndAreNeverHit) {
    SetPages({"A", "B", "C", "D"}, 302, 200);
    Paint();
    Page(1)->SetPageVisible(false);
    Paint();
    EXPECT_EQ(nb->RowExtent(), 1);
    EXPECT_EQ(nb->Rows()[0], (QStringList{"A", "C", "D"}));
    const TRect c = nb->TabRect("C");
    EXPECT_EQ(c.Left, 100); // the row is shared by three
    EXPECT_EQ(nb->TabAtPos(c.Left + 1, c.Top + 1), 2);
    for (int x = 0; x < 302; x += 7)
        EXPECT_NE(nb->TabAtPos(x, 10), 1) << x;
}

TEST_F(NotebookTest, MaxTabWidthStartsTheTabsAtTheLeftEnd) {
    SetPages({"A", "B", "C"}, 300, 150);
    nb->SetMaxTabWidth(60);
    Paint();
    EXPECT_EQ(nb->TabArea().Right, 179);
    EXPECT_EQ(nb->TabRect("A"), (TRect{0, 0, 59, 25}));
    EXPECT_EQ(nb->TabRect("B"), (TRect{59, 0, 118, 25}));
    EXPECT_EQ(nb->TabRect("C"), (TRect{118, 0, 177, 25}));
}

TEST_F(NotebookTest, HitTestsBelongToTheTabWhoseLeftOrTopEdgeTheyLieOn) {
    MakeOptionsNotebook();
    struct {
        int X, Y, Page;
    } const cases[] = {
        {34, 120, 0},  // inside Hiding, at its right edge
        {35, 120, -1}, // the right edge itself is the body's
        {10, 106, 0},  // Hiding's top edge is its own
        {10, 105, 1},  // one above: Sound's last row
        {0, 140, 0},   // in the cut corner: hits are by rectangle
        {0, 141, -1},  // the bottom edge of the tab area is excluded
        {5, 0, 3},     // the stretched last tab reaches the top
        {100, 50, -1}, // the body
    };
    for (const auto& c : cases)
        EXPECT_EQ(nb->TabAtPos(c.X, c.Y), c.Page) << c.X << "," << c.Y;
}

TEST_F(NotebookTest, LayoutSettersApplyTheirRules) {
    struct Case {
        const char* What;
        std::function<void(TcsNotebook&)> Set;
        std::function<int(const TcsNotebook&)> Get;
        int Expected;
    } const cases[] = {
        {"TabsPerRow 0", [](auto& n) { n.SetTabsPerRow(0); },
         [](auto& n) { return n.TabsPerRow(); }, 3},
        {"TabsPerRow -4", [](auto& n) { n.SetTabsPerRow(-4); },
         [](auto& n) { return n.TabsPerRow(); }, 3},
        {"MaxTabWidth 10", [](auto& n) { n.SetMaxTabWidth(10); },
         [](auto& n) { return n.MaxTabWidth(); }, 15},
        {"CornerSize after MaxTabWidth 10", [](auto& n) { n.SetMaxTabWidth(10); },
         [](auto& n) { return n.CornerSize(); }, 1},
        {"CornerSize 20 then MaxTabWidth 40",
         [](auto& n) {
             n.SetCornerSize(20);
             n.SetMaxTabWidth(40);
         },
         [](auto& n) { return n.CornerSize(); }, 14},
        {"MaxTabWidth 40 then CornerSize 20",
         [](auto& n) {
             n.SetMaxTabWidth(40);
             n.SetCornerSize(20);
         },
         [](auto& n) { return n.MaxTabWidth(); }, 46},
        {"CornerSize 40", [](auto& n) { n.SetCornerSize(40); },
         [](auto& n) { return n.CornerSize(); }, 24},
        {"CornerSize 0", [](auto& n) { n.SetCornerSize(0); },
         [](auto& n) { return n.CornerSize(); }, 1},
        {"TabHeight 4 cuts CornerSize", [](auto& n) { n.SetTabHeight(4); },
         [](auto& n) { return n.CornerSize(); }, 3},
        {"RowIndent -1 is ignored", [](auto& n) { n.SetRowIndent(-1); },
         [](auto& n) { return n.RowIndent(); }, 5},
        {"CornerOverlap of 5 and 5", [](auto&) {}, [](auto& n) { return n.CornerOverlap(); }, 0},
        {"CornerOverlap of 9 and 5", [](auto& n) { n.SetCornerSize(9); },
         [](auto& n) { return n.CornerOverlap(); }, 4},
    };
    for (const Case& c : cases) {
        TcsNotebook fresh;
        c.Set(fresh);
        EXPECT_EQ(c.Get(fresh), c.Expected) << c.What;
    }
}

TEST_F(NotebookTest, SidewaysTextFollowsTheSideOfTheTabs) {
    nb->SetSidewaysText(true);
    EXPECT_FALSE(nb->SidewaysText()); // ignored on top
    nb->SetTabOrientation(N::toLeft);
    EXPECT_TRUE(nb->SidewaysText()); // crossing to a vertical side turns it on
    nb->SetTabOrientation(N::toRight);
    EXPECT_TRUE(nb->SidewaysText());
    nb->SetTabOrientation(N::toBottom);
    EXPECT_FALSE(nb->SidewaysText());
}

} // namespace
} // namespace wt::test
