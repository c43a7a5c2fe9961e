// The memos: TCDKReadOnlyMemo drops the nine mouse button messages (no caret
// move, selection, focus, mouse events or context menu) and passes wheel,
// moves and keys; TopLine scrolls by the difference; the presets are defaults.
#include "ui_support.h"

#include "toolkit/controls/edit.h"
#include "toolkit/forms/form.h"
#include "toolkit/core/writer.h"
#include "widgets/CDKROMem.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <gmock/gmock.h>

#include <algorithm>

namespace wt::test {
namespace {

QString ManyLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines << QStringLiteral("line %1 with some words").arg(i);
    return lines.join(u'\n');
}

class MemoTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_unique<TForm>();
        form->SetClientSize(300, 200);
        other = new TEdit(form.get());
        other->SetParent(form.get());
        other->SetBounds(0, 160, 100, 21);
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();
    }
    template <class M>
    M* Place(int height = 87) {
        auto* memo = new M(form.get());
        memo->SetParent(form.get());
        memo->SetBounds(10, 10, 223, height);
        memo->SetText(ManyLines(30));
        memo->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            downs.push_back(b);
        };
        memo->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            ups.push_back(b);
        };
        memo->OnDblClick = [this](TObject*) { ++doubles; };
        memo->OnMouseMove = [this](TObject*, TShiftState, int, int) { ++moves; };
        memo->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState) {
            keys.push_back(key);
        };
        return memo;
    }
    void ShowWithFocusElsewhere() {
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        other->SetFocus();
    }
    static QPlainTextEdit* Editor(TMemo* memo) {
        return static_cast<QPlainTextEdit*>(memo->Widget());
    }

    // Presses, releases and double-clicks every button on the text, then
    // asks for the context menu a right click opens; returns whether a
    // menu came up.
    bool ClickEverything(TMemo* memo) {
        QWidget* viewport = Editor(memo)->viewport();
        const QPoint word(40, 20);
        for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
            QTest::mousePress(viewport, b, {}, word);
            QTest::mouseRelease(viewport, b, {}, word);
            QTest::mouseDClick(viewport, b, {}, word);
            QTest::mouseRelease(viewport, b, {}, word);
        }
        QTest::mousePress(viewport, Qt::RightButton, {}, word);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, word);
        bool menuShown = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                menuShown = true;
                popup->close();
            }
        });
        QContextMenuEvent menu(QContextMenuEvent::Mouse, word, viewport->mapToGlobal(word));
        QCoreApplication::sendEvent(viewport, &menu);
        QCoreApplication::processEvents();
        return menuShown;
    }

    std::unique_ptr<TForm> form;
    TEdit* other = nullptr;
    std::vector<TMouseButton> downs, ups;
    std::vector<std::uint16_t> keys;
    int doubles = 0;
    int moves = 0;
};

TEST_F(MemoTest, ReadOnlyMemoDropsAllNineButtonMessages) {
    auto* memo = Place<TCDKReadOnlyMemo>();
    ShowWithFocusElsewhere();
    const int caret = Editor(memo)->textCursor().position();
    const bool menu = ClickEverything(memo);
    EXPECT_TRUE(downs.empty());
    EXPECT_TRUE(ups.empty());
    EXPECT_EQ(doubles, 0);
    EXPECT_FALSE(menu);
    EXPECT_FALSE(memo->Focused());
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(Editor(memo)->textCursor().position(), caret);
    EXPECT_FALSE(Editor(memo)->textCursor().hasSelection());
}

TEST_F(MemoTest, WithAllowCaretTheSameClicksReachTheEditControl) {
    auto* memo = Place<TCDKReadOnlyMemo>();
    memo->SetAllowCaret(true); // takes effect with the next message
    ShowWithFocusElsewhere();
    QTest::mouseClick(Editor(memo)->viewport(), Qt::LeftButton, {}, QPoint(40, 20));
    EXPECT_TRUE(memo->Focused());
    const bool menu = ClickEverything(memo);
    for (TMouseButton b : {mbLeft, mbRight, mbMiddle}) {
        EXPECT_NE(std::find(downs.begin(), downs.end(), b), downs.end()) << b;
        EXPECT_NE(std::find(ups.begin(), ups.end(), b), ups.end()) << b;
    }
    EXPECT_EQ(doubles, 1); // the left one
    EXPECT_TRUE(menu);
    QTest::mouseDClick(Editor(memo)->viewport(), Qt::LeftButton, {}, QPoint(40, 20));
    EXPECT_TRUE(Editor(memo)->textCursor().hasSelection());
}

TEST_F(MemoTest, WheelMovesAndKeysPassWhileButtonsAreDropped) {
    auto* memo = Place<TCDKReadOnlyMemo>();
    ShowWithFocusElsewhere();
    QWidget* viewport = Editor(memo)->viewport();
    ASSERT_EQ(memo->TopLine(), 0);
    QWheelEvent wheel(QPointF(40, 20), viewport->mapToGlobal(QPointF(40, 20)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(viewport, &wheel);
    EXPECT_GT(memo->TopLine(), 0);

    QTest::mouseMove(viewport, QPoint(50, 30));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 30), viewport->mapToGlobal(QPointF(60, 30)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    EXPECT_GE(moves, 1);

    QKeyEvent key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(Editor(memo), &key);
    EXPECT_EQ(keys, (std::vector<std::uint16_t>{VK_DOWN}));
    EXPECT_TRUE(downs.empty());
}

TEST_F(MemoTest, ReadOnlyMemoRefusesTyping) {
    auto* memo = Place<TCDKReadOnlyMemo>();
    memo->SetText(QStringLiteral("fixed"));
    form->Show();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(Editor(memo), &key);
    EXPECT_EQ(memo->Text(), QStringLiteral("fixed"));
}

TEST_F(MemoTest, TopLineScrollsByTheDifferenceAndNotForTheSameValue) {
    auto* memo = Place<TCDKMemo>(60);
    form->Show();
    int scrolls = 0;
    QObject::connect(Editor(memo)->verticalScrollBar(), &QScrollBar::valueChanged,
                     [&](int) { ++scrolls; });
    memo->SetTopLine(10);
    EXPECT_EQ(memo->TopLine(), 10);
    EXPECT_EQ(scrolls, 1);
    memo->SetTopLine(10);
    EXPECT_EQ(scrolls, 1);
    memo->SetTopLine(4);
    EXPECT_EQ(memo->TopLine(), 4);
    // Never past the text.
    memo->SetTopLine(1000);
    EXPECT_EQ(memo->TopLine(), Editor(memo)->verticalScrollBar()->maximum());
    EXPECT_LT(memo->TopLine(), 30);
    memo->SetTopLine(-5);
    EXPECT_EQ(memo->TopLine(), 0);
}

TEST_F(MemoTest, TopLineNeedsNoShownWindowAndIsReadFromAForm) {
    auto* memo = Place<TCDKMemo>(60);
    EXPECT_FALSE(memo->HandleAllocated());
    EXPECT_EQ(memo->TopLine(), 0); // makes the window
    EXPECT_TRUE(memo->HandleAllocated());

    TForm stored;
    QStringList lines;
    for (int i = 0; i < 30; ++i)
        lines << QStringLiteral("'%1'").arg(i);
    stored.ReadForm(QStringLiteral("object f: TForm\n  ClientWidth = 200\n  ClientHeight = 100\n"
                                   "  object m: TCDKMemo\n    Width = 150\n    Height = 60\n"
                                   "    TopLine = 5\n    Lines = (%1)\n  end\nend\n")
                        .arg(lines.join(u' '))
                        .toStdString(),
                    QStringLiteral("memo.wfm"));
    auto* read = dynamic_cast<TCDKMemo*>(stored.FindComponent(QStringLiteral("m")));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->LineCount(), 30);
    EXPECT_EQ(read->TopLine(), 5);
}

TEST_F(MemoTest, ReadOnlyMemoPresetsAreItsDefaultsAndAreNotStored) {
    auto* memo = Place<TCDKReadOnlyMemo>();
    memo->SetName(QStringLiteral("memo"));
    memo->SetText(QString());
    EXPECT_FALSE(memo->AllowCaret());
    EXPECT_EQ(memo->BorderStyle(), bsNoBorder);
    EXPECT_EQ(memo->Color(), clBtnFace);
    EXPECT_FALSE(memo->Ctl3D());
    EXPECT_FALSE(memo->ParentCtl3D());
    EXPECT_EQ(memo->Cursor(), crArrow);
    EXPECT_TRUE(memo->ReadOnly());
    form->Show();
    EXPECT_EQ(Editor(memo)->viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(Editor(memo)->frameShape(), QFrame::NoFrame);

    auto stored = [&] {
        QStringList names;
        for (const TFormObject& c : WriteComponentTree(form.get()).Children)
            if (c.Name == QLatin1String("memo"))
                for (const TFormProperty& p : c.Properties)
                    names << p.Name;
        return names;
    };
    const QStringList written = stored();
    for (const char* preset : {"AllowCaret", "BorderStyle", "Color", "Ctl3D", "ParentCtl3D",
                               "Cursor", "ReadOnly", "Lines"})
        EXPECT_FALSE(written.contains(QLatin1String(preset))) << preset;
    EXPECT_TRUE(written.contains(QStringLiteral("TopLine"))); // declared without a default
    memo->SetCtl3D(true);
    memo->SetAllowCaret(true);
    const QStringList changed = stored();
    EXPECT_TRUE(changed.contains(QStringLiteral("Ctl3D")));
    EXPECT_TRUE(changed.contains(QStringLiteral("AllowCaret")));
}

TEST_F(MemoTest, LinesBreakAtEveryKindOfLineBreak) {
    auto* memo = Place<TCDKMemo>();
    memo->Clear();
    EXPECT_EQ(memo->LineCount(), 0);
    memo->AddLine(QStringLiteral("first\r\nsecond\rthird"));
    memo->AddLine(QStringLiteral("fourth"));
    EXPECT_EQ(memo->Lines(), (QStringList{QStringLiteral("first"), QStringLiteral("second"),
                                          QStringLiteral("third"), QStringLiteral("fourth")}));
}

} // namespace
} // namespace wt::test
