// The standard controls: check box state and OnClick, radio group selection
// and layout, edit length and case, spin edit bounds, bitmap button kinds,
// label accelerators and panel frames, each read back through the control.
#include "form_support.h"

#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/edit.h"
#include "toolkit/controls/label.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/radiogroup.h"
#include "toolkit/controls/spinedit.h"
#include "toolkit/core/writer.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>

namespace wt::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::unique_ptr<TfrmProbe> ReadProbeForm(const QString& body) {
    auto form = std::make_unique<TfrmProbe>();
    form->ReadForm(
        QStringLiteral(
            "object frmProbe: TfrmProbe\n  ClientWidth = 300\n  ClientHeight = 200\n%1end\n")
            .arg(body)
            .toStdString(),
        QStringLiteral("controls.wfm"));
    return form;
}

template <class T>
T* Find(TForm& form, const char* name) {
    return dynamic_cast<T*>(form.FindComponent(QLatin1String(name)));
}

void TypeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
    }
}

using ControlsTest = FormTest;

TEST_F(ControlsTest, CheckBoxRunsOnClickForEveryChangeOfStateAndOnlyThen) {
    TForm form;
    auto* box = new TCheckBox(&form);
    box->SetParent(&form);
    std::vector<TCheckBoxState> seen;
    box->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, box);
        seen.push_back(box->State());
    };
    box->SetChecked(true);
    box->SetChecked(true); // no change, no click
    box->SetState(TCheckBox::cbGrayed);
    EXPECT_FALSE(box->Checked()); // greyed is not ticked
    box->SetChecked(false);
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{TCheckBox::cbChecked, TCheckBox::cbGrayed,
                                                 TCheckBox::cbUnchecked}));

    // A user's click toggles through the control, with its own OnClick.
    form.SetClientSize(200, 100);
    form.Show();
    ASSERT_TRUE(box->Widget()->isVisible());
    seen.clear();
    box->SetAllowGrayed(true);
    auto* widget = static_cast<QCheckBox*>(box->Widget());
    const QPoint onBox(6, widget->height() / 2);
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(widget, Qt::LeftButton, {}, onBox);
    EXPECT_EQ(seen, (std::vector<TCheckBoxState>{TCheckBox::cbGrayed, TCheckBox::cbChecked,
                                                 TCheckBox::cbUnchecked}));
    EXPECT_EQ(widget->checkState(), Qt::Unchecked);
    form.Hide();
}

TEST_F(ControlsTest, CheckBoxReadFromAFormOnlyStoresItsStateAndIsWrittenBack) {
    auto form =
        ReadProbeForm(QStringLiteral("  object cb: TCheckBox\n    Caption = 'Animate Moves?'\n    "
                                     "Checked = True\n    OnClick = ProbePing\n  end\n"));
    auto* cb = Find<TCheckBox>(*form, "cb");
    ASSERT_NE(cb, nullptr);
    EXPECT_TRUE(cb->Checked());
    EXPECT_TRUE(form->pings.empty());
    const QString written = WriteFormDescription(form.get());
    EXPECT_THAT(written.toStdString(), HasSubstr("State = cbChecked"));
    EXPECT_THAT(written.toStdString(), Not(HasSubstr("Alignment")));
    cb->SetChecked(false);
    EXPECT_EQ(form->pings.size(), 1u);
}

TEST_F(ControlsTest, RadioGroupKeepsItsIndexWithinTheItemsAndClicksOnSelection) {
    auto form = ReadProbeForm(QStringLiteral("  object rgSide: TRadioGroup\n    Left = 68\n    Top "
                                             "= 86\n    Width = 115\n    Height = 32\n"
                                             "    Caption = 'Which Side?'\n    Columns = 2\n    "
                                             "ItemIndex = 5\n    Items = ('Left' 'Right')\n"
                                             "    OnClick = ProbePing\n  end\n"));
    auto* rg = Find<TRadioGroup>(*form, "rgSide");
    ASSERT_NE(rg, nullptr);
    // Read before the items it refers to, and too large: the last item.
    EXPECT_EQ(rg->ItemIndex(), 1);
    EXPECT_TRUE(form->pings.empty());

    rg->SetItemIndex(7);
    EXPECT_EQ(rg->ItemIndex(), 1);
    rg->SetItemIndex(0);
    EXPECT_EQ(rg->ItemIndex(), 0);
    rg->SetItemIndex(-4);
    EXPECT_EQ(rg->ItemIndex(), -1);
    EXPECT_EQ(form->pings.size(), 1u); // only the selection of item 0

    // Two columns: side by side, each (width - 10) / 2 wide.
    const TRect left = rg->ButtonRect(0), right = rg->ButtonRect(1);
    EXPECT_EQ(left.Left, 8);
    EXPECT_EQ(right.Left, 8 + (115 - 10) / 2);
    EXPECT_EQ(left.Top, right.Top);

    form->Show();
    auto buttons = rg->Widget()->findChildren<QRadioButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QTest::mouseClick(buttons[1], Qt::LeftButton);
    EXPECT_EQ(rg->ItemIndex(), 1);
    EXPECT_TRUE(buttons[1]->isChecked());
    EXPECT_FALSE(buttons[0]->isChecked());
    EXPECT_EQ(form->pings.size(), 2u);
    form->Hide();
}

TEST_F(ControlsTest, EditLimitsAndConvertsWhatIsTypedAndWhatIsSet) {
    TForm form;
    auto* edit = new TEdit(&form);
    edit->SetParent(&form);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->SetMaxLength(5);
    edit->SetCharCase(TEdit::ecUpperCase);
    form.Show();
    // Making the widget pushes the text, which is no change.
    EXPECT_EQ(changes, 0);

    TypeText(edit->Widget(), QStringLiteral("wave.wav"));
    EXPECT_EQ(edit->Text(), QStringLiteral("WAVE."));
    EXPECT_EQ(changes, 5);

    edit->SetText(QStringLiteral("lower case"));
    EXPECT_EQ(edit->Text(), QStringLiteral("LOWER"));
    EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->text(), QStringLiteral("LOWER"));
    EXPECT_EQ(changes, 6);

    edit->SetCharCase(TEdit::ecLowerCase);
    EXPECT_EQ(edit->Text(), QStringLiteral("lower"));
    edit->SetMaxLength(0);
    TypeText(edit->Widget(), QStringLiteral("MORE"));
    EXPECT_EQ(edit->Text(), QStringLiteral("lowermore"));

    edit->SetPasswordChar(QStringLiteral("*"));
    EXPECT_EQ(static_cast<QLineEdit*>(edit->Widget())->echoMode(), QLineEdit::Password);
    form.Hide();
}

TEST_F(ControlsTest, SpinEditStaysWithinItsBoundsUnlessTheyAreEqual) {
    auto form = ReadProbeForm(QStringLiteral("  object editHang: TSpinEdit\n    MaxValue = 10\n    "
                                             "MinValue = 2\n    Value = 50\n  end\n"));
    auto* spin = Find<TSpinEdit>(*form, "editHang");
    ASSERT_NE(spin, nullptr);
    EXPECT_EQ(spin->Value(), 10); // read before its bounds, brought within after
    spin->SetValue(1);
    EXPECT_EQ(spin->Value(), 2);
    spin->SetMinValue(0);
    spin->SetMaxValue(0);
    spin->SetValue(-300);
    EXPECT_EQ(spin->Value(), -300);
    // Bounds have no declared default: always written.
    const std::string written = WriteFormDescription(form.get()).toStdString();
    EXPECT_THAT(written, HasSubstr("MinValue = 0"));
    EXPECT_THAT(written, HasSubstr("MaxValue = 0"));
}

// A paste is typed: what typing the same characters would refuse is left
// out, the rest taken (5000 into a field of 0 to 1000 gives 500).
TEST_F(ControlsTest, APasteIntoASpinEditIsTakenAsTypingIt) {
    auto form = ReadProbeForm(QStringLiteral(
        "  object editDelay: TSpinEdit\n    MaxValue = 1000\n    MinValue = 0\n    Value = 250\n"
        "  end\n"));
    auto* spin = Find<TSpinEdit>(*form, "editDelay");
    ASSERT_NE(spin, nullptr);
    form->Show();
    const struct {
        const char* Pasted;
        int Typed; // what typing it over the selected field gives
    } cases[] = {{"5000", 500}, {"700", 700}, {"12x4", 124}, {"", 250}};
    for (const auto& c : cases) {
        spin->SetValue(250);
        QApplication::clipboard()->setText(QString::fromLatin1(c.Pasted));
        auto* line = spin->Widget()->findChild<QLineEdit*>();
        ASSERT_NE(line, nullptr);
        line->selectAll();
        if (*c.Pasted)
            line->del();
        QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
        QCoreApplication::sendEvent(spin->Widget(), &paste);
        EXPECT_EQ(spin->Value(), c.Typed) << c.Pasted;
    }
    form->Hide();
}

TEST_F(ControlsTest, BitBtnKindsGiveTheirStandardsWhichAreNotStored) {
    auto form =
        ReadProbeForm(QStringLiteral("  object btnOk: TBitBtn\n    Kind = bkOK\n  end\n"
                                     "  object btnHelp: TBitBtn\n    Kind = bkHelp\n  end\n"
                                     "  object btnClose: TBitBtn\n    Caption = '&Accept'\n    "
                                     "Default = True\n    ModalResult = mrOk\n"
                                     "    NumGlyphs = 2\n    Layout = blGlyphTop\n  end\n"));
    auto* ok = Find<TBitBtn>(*form, "btnOk");
    auto* help = Find<TBitBtn>(*form, "btnHelp");
    auto* accept = Find<TBitBtn>(*form, "btnClose");
    ASSERT_TRUE(ok && help && accept);
    EXPECT_EQ(ok->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(ok->ModalResult(), mrOk);
    EXPECT_TRUE(ok->Default());
    EXPECT_FALSE(ok->Glyph().Empty());
    EXPECT_EQ(ok->NumGlyphs(), 2);
    EXPECT_EQ(help->Caption(), QStringLiteral("&Help"));
    EXPECT_EQ(help->ModalResult(), mrNone);
    EXPECT_EQ(accept->Kind(), TBitBtn::bkCustom);
    EXPECT_EQ(accept->Layout(), TButtonGlyph::blGlyphTop);

    const TFormObject tree = WriteComponentTree(form.get());
    auto names = [&](const char* child) {
        QStringList out;
        for (const TFormObject& c : tree.Children)
            if (c.Name == QLatin1String(child))
                for (const TFormProperty& p : c.Properties)
                    out << p.Name;
        return out;
    };
    EXPECT_TRUE(names("btnOk").contains(QStringLiteral("Kind")));
    for (const char* left : {"Caption", "Default", "ModalResult", "Glyph", "NumGlyphs"})
        EXPECT_FALSE(names("btnOk").contains(QLatin1String(left))) << left;
    EXPECT_TRUE(names("btnClose").contains(QStringLiteral("Caption")));
    EXPECT_TRUE(names("btnClose").contains(QStringLiteral("ModalResult")));

    // Changing what the kind gives makes the button a custom one.
    ok->SetModalResult(mrCancel);
    EXPECT_EQ(ok->Kind(), TBitBtn::bkCustom);
}

TEST_F(ControlsTest, ADisabledBitBtnCaptionIsDrawnInTheDisabledColour) {
    TBitBtn button;
    button.SetBounds(0, 0, 80, 25);
    button.SetCaption(QStringLiteral("Stop"));
    const QRgb text = QApplication::palette().color(QPalette::Active, QPalette::ButtonText).rgb();
    // Inside the bevel, where only the caption is drawn.
    auto pixelsOf = [](const QImage& image, QRgb colour) {
        int count = 0;
        for (int y = 4; y < image.height() - 4; ++y)
            for (int x = 4; x < image.width() - 4; ++x)
                count += (image.pixel(x, y) | 0xFF000000u) == (colour | 0xFF000000u);
        return count;
    };
    auto paint = [&button] {
        QWidget* widget = button.Widget();
        widget->resize(80, 25);
        QImage image(widget->size(), QImage::Format_ARGB32);
        widget->render(&image);
        return image;
    };
    ASSERT_GT(pixelsOf(paint(), text), 10) << "no caption drawn";
    button.SetEnabled(false);
    EXPECT_EQ(pixelsOf(paint(), text), 0) << "caption in the enabled colour";
}

TEST_F(ControlsTest, ButtonClickSetsTheModalResultAndEnterPressesTheDefaultButton) {
    auto form = ReadProbeForm(
        QStringLiteral("  object btnOk: TBitBtn\n    Kind = bkOK\n    OnClick = ProbePing\n  end\n"
                       "  object btnNo: TBitBtn\n    Left = 100\n    Kind = bkNo\n  end\n"));
    auto* ok = Find<TBitBtn>(*form, "btnOk");
    QTimer::singleShot(0, [&] {
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(form->Widget(), &enter);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    ASSERT_EQ(form->pings.size(), 1u);
    EXPECT_EQ(form->pings[0], ok);
    // Esc presses the cancel button (bkNo is one).
    QTimer::singleShot(0, [&] {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(form->Widget(), &esc);
    });
    EXPECT_EQ(form->ShowModal(), mrNo);
}

TEST_F(ControlsTest, LabelAcceleratorFocusesItsControlAndLabelSizesToItsText) {
    auto form = ReadProbeForm(QStringLiteral("  object Label2: TLabel\n    Caption = 'Directory to "
                                             "&Create:'\n    FocusControl = edit\n  end\n"
                                             "  object edit: TEdit\n    Top = 40\n  end\n"
                                             "  object other: TEdit\n    Top = 80\n  end\n"));
    auto* label = Find<TLabel>(*form, "Label2");
    auto* edit = Find<TEdit>(*form, "edit");
    ASSERT_TRUE(label && edit);
    EXPECT_EQ(label->FocusControl(), edit);
    EXPECT_GT(label->Width(), 40);
    EXPECT_LT(label->Height(), 25);
    const int oneLine = label->Width();
    label->SetCaption(QStringLiteral("Directory to &Create: and more"));
    EXPECT_GT(label->Width(), oneLine);

    form->Show();
    QApplication::setActiveWindow(form->Widget());
    Find<TEdit>(*form, "other")->SetFocus();
    EXPECT_TRUE(form->DialogChar(QChar(u'c'), true));
    EXPECT_TRUE(edit->Focused());
    EXPECT_FALSE(form->DialogChar(QChar(u'q'), true));
    EXPECT_THAT(WriteFormDescription(form.get()).toStdString(), HasSubstr("FocusControl = edit"));
    form->Hide();
}

TEST_F(ControlsTest, PanelDrawsOuterBevelBorderAndInnerBevelInsideEachOther) {
    TPanel panel;
    panel.SetBounds(0, 0, 20, 12);
    panel.SetBevelOuter(TCustomPanel::bvLowered);
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(1);
    panel.SetColor(clRed);
    const QImage image = panel.PaintToImage();
    const QRgb shadow = ColorToPixel(clBtnShadow) | 0xFF000000u;
    const QRgb highlight = ColorToPixel(clBtnHighlight) | 0xFF000000u;
    const QRgb red = 0xFFFF0000u;
    auto at = [&](int x, int y) { return image.pixel(x, y) | 0xFF000000u; };
    for (int ring = 0; ring < 2; ++ring) {
        EXPECT_EQ(at(ring, 6), shadow) << ring;            // left edge
        EXPECT_EQ(at(10, ring), shadow) << ring;           // top edge
        EXPECT_EQ(at(19 - ring, 6), highlight) << ring;    // right edge
        EXPECT_EQ(at(10, 11 - ring), highlight) << ring;   // bottom edge
        EXPECT_EQ(at(19 - ring, ring), highlight) << ring; // top-right corner
        EXPECT_EQ(at(ring, 11 - ring), highlight) << ring; // bottom-left corner
    }
    EXPECT_EQ(at(2, 6), red);  // the border in the panel colour
    EXPECT_EQ(at(10, 6), red); // the fill
    // Aligned children go inside the whole frame.
    auto* child = new TPanel(&panel);
    child->SetParent(&panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), (TRect{3, 3, 17, 9}));
}

TEST_F(ControlsTest, PanelResizeIsRaisedAfterChangesOfSizeButNotWhileRead) {
    auto form = ReadProbeForm(QStringLiteral("  object pnl: TPanel\n    Width = 177\n    Height = "
                                             "52\n    OnResize = ProbePing\n  end\n"));
    auto* pnl = Find<TPanel>(*form, "pnl");
    ASSERT_NE(pnl, nullptr);
    EXPECT_TRUE(form->pings.empty());
    pnl->SetLeft(10);
    EXPECT_TRUE(form->pings.empty());
    pnl->SetWidth(100);
    EXPECT_EQ(form->pings.size(), 1u);
}

} // namespace
} // namespace wt::test
