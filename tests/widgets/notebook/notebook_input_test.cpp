// Pages changed by clicks, arrow keys and accelerators; the focus mark; the
// design-time aids.
#include "notebook_support.h"

#include "toolkit/controls/edit.h"
#include "toolkit/forms/application.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>

namespace wt::test {
namespace {

class NotebookInputTest : public NotebookTest {
protected:
    // Pages A, B (disabled), C, D (hidden) on a shown, active form; A current.
    void MakeShown(const QStringList& captions = {"A", "B", "C", "D"}) {
        SetPages(captions, 302, 200);
        other = new TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(0, 300, 80, 20);
        nb->OnTabClick = [this](TObject*) { ++tabClicks; };
        nb->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            downs.push_back(b);
        };
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        Paint();
    }
    void Key(std::uint16_t key) { nb->Perform(WM_KEYDOWN, key); }
    QPoint Centre(const QString& caption) const {
        const TRect r = nb->TabRect(caption);
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void Click(const QString& caption, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(nb->Widget(), button, {}, Centre(caption));
    }
    void Move(QPoint p) {
        QWidget* w = nb->Widget();
        QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton, {});
        QCoreApplication::sendEvent(w, &e);
    }

    TEdit* other = nullptr;
    int tabClicks = 0;
    std::vector<TMouseButton> downs;
};

TEST_F(NotebookInputTest, ArrowKeysSkipDisabledAndHiddenPagesAndWrap) {
    MakeShown();
    Page(1)->SetPageEnabled(false);
    Page(3)->SetPageVisible(false);
    const std::pair<std::uint16_t, int> steps[] = {{VK_RIGHT, 2}, {VK_RIGHT, 0}, {VK_LEFT, 2},
                                                   {VK_UP, 0},    {VK_DOWN, 2},  {VK_HOME, 2}};
    for (const auto& [key, index] : steps) {
        Key(key);
        EXPECT_EQ(nb->PageIndex(), index) << key;
    }
    EXPECT_EQ(tabClicks, 5);
}

TEST_F(NotebookInputTest, WithOnlyTheCurrentPageSelectableArrowsDoNothing) {
    MakeShown({"A", "B"});
    Page(1)->SetPageEnabled(false);
    for (std::uint16_t key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
        Key(key);
    EXPECT_EQ(nb->PageIndex(), 0);
    EXPECT_EQ(tabClicks, 0);
}

TEST_F(NotebookInputTest, ClickingATabSelectsItTakesTheFocusAndShowsTheMark) {
    MakeShown();
    Click("C");
    EXPECT_EQ(nb->PageIndex(), 2);
    EXPECT_TRUE(nb->Focused());
    EXPECT_TRUE(nb->FocusShown());
    EXPECT_EQ(tabClicks, 1);
    Click("C"); // the current tab again
    EXPECT_EQ(tabClicks, 2);
    EXPECT_TRUE(nb->FocusShown());
}

TEST_F(NotebookInputTest, RightClicksAndDisabledTabsChangeNothing) {
    MakeShown();
    Page(1)->SetPageEnabled(false);
    Click("C", Qt::RightButton);
    Click("B");
    EXPECT_EQ(nb->PageIndex(), 0);
    EXPECT_EQ(tabClicks, 0);
    EXPECT_EQ(downs, (std::vector<TMouseButton>{mbRight, mbLeft}));
}

TEST_F(NotebookInputTest, TheFocusMarkIsDrawnByInversionAndTakenAwayAgain) {
    MakeShown();
    const TRect ta = nb->TextArea("A");
    auto frame = [&] { return nb->Canvas().Pixel(ta.Left - 1, ta.Top + 2); };
    other->SetFocus();
    ASSERT_TRUE(other->Focused());
    ASSERT_FALSE(nb->FocusShown());
    const TColor before = frame();
    nb->SetFocus();
    ASSERT_TRUE(nb->Focused());
    EXPECT_TRUE(nb->FocusShown());
    EXPECT_NE(frame(), before);
    other->SetFocus();
    EXPECT_FALSE(nb->FocusShown());
    EXPECT_EQ(frame(), before);
}

TEST_F(NotebookInputTest, AcceleratorsSelectEnabledVisiblePagesOnly) {
    MakeShown({"Hi&ding", "&Sound", "Plain", "&Gone", "Off&"});
    Page(3)->SetPageVisible(false);
    struct {
        char Typed;
        bool Taken;
        int Index;
    } const cases[] = {
        {'s', true, 1},  {'D', true, 0},  {'S', true, 1},
        {'p', false, 1}, {'g', false, 1}, {'&', false, 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(form->DialogChar(QChar(c.Typed), false), c.Taken) << c.Typed;
        EXPECT_EQ(nb->PageIndex(), c.Index) << c.Typed;
    }
    Page(0)->SetPageEnabled(false);
    EXPECT_FALSE(form->DialogChar(QChar('d'), false));
}

TEST_F(NotebookInputTest, InTheDesignerAPressOnATabSwitchesThePageAndIsKeptFromTheDesigner) {
    RecordingDesigner designer;
    form->SetDesigner(&designer);
    MakeShown();
    Page(2)->SetPageEnabled(false); // designing selects it anyway
    nb->SetState(ComponentState::Designing, true);
    QTest::mousePress(nb->Widget(), Qt::LeftButton, {}, Centre("C"));
    QTest::mouseRelease(nb->Widget(), Qt::LeftButton, {}, Centre("C"));
    EXPECT_EQ(nb->PageIndex(), 2);
    EXPECT_EQ(designer.modified, 1);
    EXPECT_TRUE(designer.messages.empty());
    QTest::mousePress(nb->Widget(), Qt::LeftButton, {}, QPoint(150, 150)); // the body
    EXPECT_EQ(designer.messages, std::vector<std::uint32_t>{WM_LBUTTONDOWN});
    form->SetDesigner(nullptr);
}

TEST_F(NotebookInputTest, TheTabCursorShowsOverTabsOnlyWhileDesigning) {
    Application()->SetCursor(TcsNotebook::TabCursor, QCursor(Qt::CrossCursor));
    MakeShown();
    Move(Centre("C"));
    EXPECT_NE(nb->Widget()->cursor().shape(), Qt::CrossCursor);
    nb->SetState(ComponentState::Designing, true);
    Move(Centre("C"));
    EXPECT_EQ(nb->Widget()->cursor().shape(), Qt::CrossCursor);
    Move({150, 150});
    EXPECT_NE(nb->Widget()->cursor().shape(), Qt::CrossCursor);
}

} // namespace
} // namespace wt::test
