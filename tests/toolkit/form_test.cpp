// Forms and the application: modal results, closing, dialog keys, window
// messages through the platform, activation and the default error report.
#include "form_support.h"

#include "toolkit/forms/application.h"

#include "probe_dialog_wfm.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <gmock/gmock.h>

#include <memory>

namespace wt::test {
namespace {

std::unique_ptr<TfrmProbe> MakeDialog() {
    auto form = std::make_unique<TfrmProbe>();
    form->ReadForm(forms::probe_dialog, QString::fromLatin1(forms::probe_dialogFile));
    return form;
}

TProbe* Probe(TForm& form, const char* name) {
    for (TComponent* c : form.Components())
        if (c->Name() == QLatin1String(name))
            return dynamic_cast<TProbe*>(c);
    return nullptr;
}

TEST_F(FormTest, ShowModalReturnsTheModalResultAndHidesTheForm) {
    auto form = MakeDialog();
    int shows = 0;
    form->OnShow = [&](TObject*) { ++shows; };
    QTimer::singleShot(0, [&] { form->SetModalResult(mrOk); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(shows, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Modal());
    // A second showing starts from no result.
    QTimer::singleShot(0, [&] { form->SetModalResult(mrCancel); });
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(FormTest, PostedWindowMessageReachesTheFormsHandlerInsideTheModalLoop) {
    auto form = MakeDialog();
    const WindowHandle handle = form->Handle();
    ASSERT_NE(handle, 0u);
    std::uintptr_t seenParam = 0;
    form->SetMessageHandler(0x501, [&](TMessage& m) {
        seenParam = m.WParam;
        form->SetModalResult(mrYes);
    });
    QTimer::singleShot(0, [&] { ThePlatform().System().PostMessage(handle, 0x501, 77, 0); });
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_EQ(seenParam, 77u);
}

TEST_F(FormTest, CloseOnAModalFormCancelsAndOnCloseCanRefuse) {
    auto form = MakeDialog();
    int closeCalls = 0;
    form->OnClose = [&](TObject*, TCloseAction& action) {
        if (++closeCalls == 1)
            action = caNone; // first attempt refused: the loop goes on
    };
    QTimer::singleShot(0, [&] {
        form->Close();
        QTimer::singleShot(0, [&] { form->Close(); });
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(closeCalls, 2);
}

TEST_F(FormTest, ApplicationExitEndsTheModalLoopWithCancelAndNoCloseQuery) {
    auto form = MakeDialog();
    bool asked = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        asked = true;
        canClose = false;
    };
    int first = -1, second = -1;
    bool hidden = false;
    // Ends loops that the exit did not end, so the test fails, not hangs.
    QTimer rescue;
    QObject::connect(&rescue, &QTimer::timeout, [&] {
        form->OnCloseQuery = [](TObject*, bool&) {};
        form->SetModalResult(mrAbort);
    });
    QTimer::singleShot(0, [&] {
        rescue.start(3000);
        QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        first = form->ShowModal();
        hidden = !form->Visible() && !form->Modal();
        // A dialog shown while the application exits does not wait either.
        second = form->ShowModal();
        rescue.stop();
    });
    QCoreApplication::exec();
    EXPECT_EQ(first, mrCancel);
    EXPECT_EQ(second, mrCancel);
    EXPECT_TRUE(hidden);
    EXPECT_FALSE(asked);
}

TEST_F(FormTest, ShowingAVisibleFormModallyIsRefused) {
    auto form = MakeDialog();
    form->Show();
    EXPECT_TRUE(form->Visible());
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
    form->Hide();
}

// Escape in a dialog without a cancel button closes it as its close box
// does; a dialog without a close box stays.
TEST_F(FormTest, EscapeClosesAModalDialogAsItsCloseBoxDoes) {
    for (const bool closeBox : {false, true}) {
        auto form = MakeDialog();
        if (closeBox)
            form->SetBorderIcons(TBorderIcons(biSystemMenu));
        bool stillModal = false;
        QTimer::singleShot(0, [&] {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(form->Widget(), &escape);
            QTimer::singleShot(0, [&] {
                stillModal = form->Modal() && form->Visible();
                if (stillModal)
                    form->SetModalResult(mrOk);
            });
        });
        EXPECT_EQ(form->ShowModal(), closeBox ? mrCancel : mrOk) << closeBox;
        EXPECT_EQ(stillModal, !closeBox) << closeBox;
    }
}

TEST_F(FormTest, FailureInAHandlerIsReportedAndTheDialogStaysOpen) {
    auto form = MakeDialog();
    TProbe* probe = Probe(*form, "probe1");
    ASSERT_NE(probe, nullptr);
    probe->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {
        throw std::runtime_error("Disk full");
    };
    bool stillModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* w = probe->Widget();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w->mapToGlobal(QPointF(5, 5)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &press);
        QTimer::singleShot(0, [&] {
            stillModal = form->Modal() && form->Visible();
            form->SetModalResult(mrOk);
        });
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_TRUE(stillModal);
    ASSERT_EQ(Sim().MessageBoxCalls().size(), 1u);
    EXPECT_EQ(Sim().MessageBoxCalls()[0].Text, "Disk full.");
}

TEST_F(FormTest, FailureInAPostedMessageHandlerIsReportedNotPropagated) {
    auto form = MakeDialog();
    const WindowHandle handle = form->Handle();
    form->SetMessageHandler(WM_USER + 5, [](TMessage&) { throw std::runtime_error("bad tick"); });
    ThePlatform().System().PostMessage(handle, WM_USER + 5, 0, 0);
    EXPECT_NO_THROW(Application()->ProcessMessages());
    ASSERT_EQ(Sim().MessageBoxCalls().size(), 1u);
    EXPECT_EQ(Sim().MessageBoxCalls()[0].Text, "bad tick.");
}

TEST_F(FormTest, WindowCloseRequestIsIgnoredWithoutASystemMenu) {
    auto form = MakeDialog(); // BorderIcons = []
    form->Show();
    QCloseEvent close;
    QCoreApplication::sendEvent(form->Widget(), &close);
    EXPECT_TRUE(form->Visible());
    form->SetBorderIcons(TBorderIcons(biSystemMenu));
    QCloseEvent again;
    QCoreApplication::sendEvent(form->Widget(), &again);
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormTest, EnterAndEscTravelToNestedControlsUntilOneAnswers) {
    auto form = MakeDialog();
    form->Show();
    TProbe* inner = Probe(*form, "inner");
    ASSERT_NE(inner, nullptr);
    std::vector<std::uintptr_t> keys;
    inner->SetMessageHandler(CM_DIALOGKEY, [&](TMessage& m) {
        keys.push_back(m.WParam);
        if (m.WParam == VK_ESCAPE)
            m.Result = 1;
    });
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(form->Widget(), &esc);
    EXPECT_TRUE(esc.isAccepted());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(form->Widget(), &enter);
    EXPECT_FALSE(enter.isAccepted()); // nobody answered
    EXPECT_EQ(keys, (std::vector<std::uintptr_t>{VK_ESCAPE, VK_RETURN}));

    bool gotAccel = false;
    inner->SetMessageHandler(CM_DIALOGCHAR, [&](TMessage& m) {
        gotAccel = m.WParam == 'a' && m.LParam == 1;
        m.Result = 1;
    });
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(form->Widget(), &alt);
    EXPECT_TRUE(gotAccel);
    form->Hide();
}

TEST_F(FormTest, ApplicationActivationReachesFormsAsActivateAppMessages) {
    auto form = MakeDialog();
    auto unshown = std::make_unique<TfrmProbe>(); // no window yet: not told
    form->Handle();
    std::vector<std::uintptr_t> seen;
    form->SetMessageHandler(WM_ACTIVATEAPP, [&](TMessage& m) { seen.push_back(m.WParam); });
    bool unshownTold = false;
    unshown->SetMessageHandler(WM_ACTIVATEAPP, [&](TMessage&) { unshownTold = true; });
    Application()->Activate(false);
    Application()->Activate(true);
    EXPECT_EQ(seen, (std::vector<std::uintptr_t>{0, 1}));
    EXPECT_FALSE(unshownTold);
    // Qt's application state changes arrive the same way, once per change.
    seen.clear();
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    emit qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(seen, (std::vector<std::uintptr_t>{0, 1}));
}

TEST_F(FormTest, HelpGoesToThePlatformsViewerWithTheApplicationsFile) {
    Application()->SetHelpFile(QStringLiteral("WINGTCKR.HLP"));
    Sim().AddHelpTopic("WINGTCKR.HLP", "General_Button");
    EXPECT_TRUE(Application()->HelpJump(QStringLiteral("General_Button")));
    EXPECT_FALSE(Application()->HelpJump(QStringLiteral("Nothing_Here")));
    ASSERT_FALSE(Sim().HelpRequests().empty());
    EXPECT_EQ(Sim().HelpRequests()[0].HelpFile, "WINGTCKR.HLP");
    EXPECT_EQ(Sim().HelpRequests()[0].Topic, "General_Button");
}

TEST_F(FormTest, ChildAlignmentFillsBandsThenTheClientArea) {
    TForm form;
    form.SetClientSize(200, 100);
    auto make = [&](TAlign align, int w, int h) {
        auto* p = new TProbe(&form);
        p->SetBounds(0, 0, w, h);
        p->SetParent(&form);
        p->SetAlign(align);
        return p;
    };
    TProbe* top = make(alTop, 10, 20);
    TProbe* right = make(alRight, 30, 10);
    TProbe* client = make(alClient, 1, 1);
    TProbe* bottom = make(alBottom, 10, 15);
    EXPECT_EQ(top->BoundsRect(), (TRect{0, 0, 200, 20}));
    EXPECT_EQ(bottom->BoundsRect(), (TRect{0, 85, 200, 100}));
    EXPECT_EQ(right->BoundsRect(), (TRect{170, 20, 200, 85}));
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 20, 170, 85}));
    form.SetClientSize(300, 100);
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 20, 270, 85}));
    right->SetVisible(false);
    EXPECT_EQ(client->BoundsRect(), (TRect{0, 20, 300, 85}));
}

TEST_F(FormTest, ParentFontAndColourFollowTheParentUntilSetOwnValues) {
    TForm form;
    auto* p = new TProbe(&form);
    p->SetParent(&form);
    TFont big;
    big.Height = -20;
    form.SetFont(big);
    EXPECT_EQ(p->Font().Height, -20);
    TFont own;
    own.Name = QStringLiteral("Arial");
    p->SetFont(own);
    EXPECT_FALSE(p->ParentFont());
    form.SetFont(TFont{});
    EXPECT_EQ(p->Font().Name, QStringLiteral("Arial"));
    form.SetColor(clRed);
    EXPECT_EQ(p->Color(), clRed);
}

TEST_F(FormTest, ScreenCentredStayOnTopFormIsPlacedAndFlaggedWhenShown) {
    TForm form;
    form.SetBorderStyle(bsDialog);
    form.SetClientSize(324, 136);
    form.SetPosition(poScreenCenter);
    form.SetFormStyle(fsStayOnTop);
    form.SetLeft(3);
    form.Show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.Left(), (screen.width() - form.Width()) / 2);
    EXPECT_EQ(form.Top(), (screen.height() - form.Height()) / 2);
    EXPECT_EQ(form.ClientWidth(), 324);
    EXPECT_EQ(form.Widget()->width(), 324);
    EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowCloseButtonHint);
    form.SetBorderIcons({});
    EXPECT_FALSE(form.Widget()->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(form.Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    form.Hide();
}

TEST_F(FormTest, ControlCannotBePlacedInsideItself) {
    TForm form;
    auto* outer = new TProbe(&form);
    auto* inner = new TProbe(&form);
    outer->SetParent(&form);
    inner->SetParent(outer);
    EXPECT_THROW(outer->SetParent(inner), std::invalid_argument);
    EXPECT_THROW(outer->SetParent(outer), std::invalid_argument);
    EXPECT_EQ(outer->Parent(), &form);
}

} // namespace
} // namespace wt::test
