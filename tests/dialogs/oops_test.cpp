// The "Oops!" dialog: its layout, stay-on-top and border, OK as the only way
// out, ShowOops freeing the form, and a rendering with a long message.
#include "../widgets/ui_support.h"

#include "dialogs/oops.h"
#include "toolkit/forms/application.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

namespace wt::test {
namespace {

const QString kMessage = QStringLiteral(
    "No windows are set to be hidden.  Use the options button to choose which windows to hide.");

using OopsTest = UiTest;

TEST_F(OopsTest, LayoutIsAsDesigned) {
    TfrmOops form;
    EXPECT_EQ(form.Caption(), QStringLiteral("Oops!"));
    EXPECT_EQ(form.ClientWidth(), 324);
    EXPECT_EQ(form.ClientHeight(), 136);
    EXPECT_EQ(form.FormStyle(), fsStayOnTop);
    EXPECT_EQ(form.BorderIcons(), TBorderIcons());
    EXPECT_EQ(form.Position(), poScreenCenter);
    ASSERT_TRUE(form.Image1 && form.memo && form.btnOk);
    EXPECT_EQ(form.Image1->BoundsRect(), (TRect{8, 8, 83, 127}));
    EXPECT_FALSE(form.Image1->Picture().Empty());
    EXPECT_EQ(form.memo->BoundsRect(), (TRect{96, 8, 319, 95}));
    EXPECT_EQ(form.btnOk->BoundsRect(), (TRect{169, 101, 248, 131}));
    EXPECT_EQ(form.btnOk->Kind(), TBitBtn::bkOK);
    EXPECT_EQ(form.btnOk->TabOrder(), 0);
    EXPECT_FALSE(form.memo->TabStop());
    EXPECT_TRUE(form.memo->Ctl3D());
    EXPECT_EQ(form.memo->Alignment(), taCenter);
    EXPECT_EQ(form.memo->Font().Height, -13);
    EXPECT_EQ(form.memo->Font().Color, clBlack);
    EXPECT_EQ(form.memo->LineCount(), 0);
    form.Show();
    EXPECT_TRUE(form.Widget()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    form.Hide();
}

TEST_F(OopsTest, OnlyTheOkButtonOrItsKeyEndsTheDialog) {
    TfrmOops form;
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(form.Widget(), &esc);
        QCloseEvent close;
        QCoreApplication::sendEvent(form.Widget(), &close);
        QCoreApplication::processEvents();
        stillOpen = form.Modal() && form.Visible();
        QTest::mouseClick(form.btnOk->Widget(), Qt::LeftButton);
    });
    // OK closes the form, which on a modal form gives the close result.
    EXPECT_NE(form.ShowModal(), mrNone);
    EXPECT_TRUE(stillOpen);

    QTimer::singleShot(0, [&] {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(form.Widget(), &enter);
    });
    EXPECT_NE(form.ShowModal(), mrNone);
    EXPECT_FALSE(form.Visible());
}

TEST_F(OopsTest, ShowOopsShowsTheMessageAndFreesTheForm) {
    TForm owner;
    const int before = owner.ComponentCount();
    QString shown;
    int lines = 0;
    QTimer::singleShot(0, [&] {
        for (TComponent* c : owner.Components())
            if (auto* oops = dynamic_cast<TfrmOops*>(c)) {
                shown = oops->memo->Text();
                lines = oops->memo->LineCount();
                oops->btnOk->Click();
            }
    });
    ShowOops(&owner, kMessage + QStringLiteral("\nSecond line"));
    EXPECT_EQ(shown, kMessage + QStringLiteral("\nSecond line"));
    EXPECT_EQ(lines, 2);
    EXPECT_EQ(owner.ComponentCount(), before);
    // Also without an owner.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* oops = dynamic_cast<TfrmOops*>(TControl::FromWidget(w));
                oops && oops->Modal())
                oops->btnOk->Click();
    });
    ShowOops(nullptr, kMessage);
}

TEST_F(OopsTest, LongMessageWrapsWithinTheMemoAndIsRenderedForALook) {
    TfrmOops form;
    form.memo->AddLine(kMessage);
    form.Show();
    QCoreApplication::processEvents();
    auto* editor = static_cast<QPlainTextEdit*>(form.memo->Widget());
    // Wrapped at word boundaries: more visual lines than text lines, none
    // wider than the memo.
    EXPECT_EQ(form.memo->LineCount(), 1);
    EXPECT_GT(editor->document()->lineCount(), 2);
    EXPECT_LE(editor->document()->size().width(), editor->viewport()->width());

    const QString dir = QStringLiteral(WT_OUT_DIR);
    QDir().mkpath(dir);
    const QString file = dir + QStringLiteral("/oops_long_message.png");
    EXPECT_TRUE(form.Widget()->grab().save(file, "PNG")) << file.toStdString();
    form.Hide();
}

} // namespace
} // namespace wt::test
