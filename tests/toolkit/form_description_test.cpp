// Reading, writing and rejecting form descriptions.
#include "form_support.h"

#include "toolkit/core/formdesc.h"
#include "toolkit/core/propvalue.h"
#include "toolkit/core/reader.h"
#include "toolkit/core/writer.h"

#include <gmock/gmock.h>

#include <cstdint>
#include <limits>
#include <memory>

namespace wt::test {
namespace {

using ::testing::HasSubstr;

const char* const kProbeForm = R"(object frmProbe: TfrmProbe
  Left = 10
  Top = 20
  Caption = 'Probe ''form'''#13#10'second line'
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  ClientWidth = 300
  ClientHeight = 200
  Font.Name = 'Arial'
  Font.Height = -13
  Font.Style = [fsBold, fsItalic]
  ActiveControl = probe2
  OnCreate = FormCreate
  object probe1: TProbe
    Left = 8
    Top = 8
    Width = 100
    Height = 50
    Count = 7
    Ratio = 2.5
    Caption = 'one' +
      ' two'
    Items = (
      'alpha'
      'beta')
    Alignment = taRightJustify
    Marks = [fsUnderline]
    FrameColor = clRed
    Buddy = probe3
    TabOrder = 1
    OnPing = ProbePing
    object probe3: TProbe
      Left = 1
      Top = 2
      Width = 30
      Height = 10
      TabOrder = 0
    end
  end
  object probe2: TProbe
    Left = 120
    Top = 8
    Width = 60
    Height = 50
    framecolor = $00123456
    TabOrder = 0
    OnAsk = ProbeAsk
  end
end
)";

std::unique_ptr<TfrmProbe> ReadProbe(const char* text) {
    auto form = std::make_unique<TfrmProbe>();
    form->ReadForm(text, QStringLiteral("probe.wfm"));
    return form;
}

template <class T>
T* Find(TComponent* root, const char* name) {
    std::function<TComponent*(TComponent*)> find = [&](TComponent* in) -> TComponent* {
        if (TComponent* c = in->FindComponent(QString::fromLatin1(name)))
            return c;
        for (TComponent* c : in->Components())
            if (TComponent* d = find(c))
                return d;
        return nullptr;
    };
    return dynamic_cast<T*>(find(root));
}

TEST_F(FormTest, ReadingSetsEveryKindOfValueAndNestsChildren) {
    auto form = ReadProbe(kProbeForm);
    EXPECT_EQ(form->Name(), QStringLiteral("frmProbe"));
    EXPECT_EQ(form->Caption(), QStringLiteral("Probe 'form'\r\nsecond line"));
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->BorderIcons(), TBorderIcons(biSystemMenu));
    EXPECT_EQ(form->ClientWidth(), 300);
    EXPECT_EQ(form->ClientHeight(), 200);
    EXPECT_EQ(form->Font().Name, QStringLiteral("Arial"));
    EXPECT_EQ(form->Font().Style, TFontStyles(fsBold) | fsItalic);
    EXPECT_EQ(form->creates, 1);

    auto* p1 = Find<TProbe>(form.get(), "probe1");
    auto* p2 = Find<TProbe>(form.get(), "probe2");
    auto* p3 = Find<TProbe>(form.get(), "probe3");
    ASSERT_TRUE(p1 && p2 && p3);
    EXPECT_EQ(form->ActiveControl(), p2);
    EXPECT_EQ(p1->Parent(), form.get());
    EXPECT_EQ(p3->Parent(), p1);
    EXPECT_EQ(p3->Owner(), form.get());
    EXPECT_EQ(p1->Count(), 7);
    EXPECT_DOUBLE_EQ(p1->Ratio(), 2.5);
    EXPECT_EQ(p1->Caption(), QStringLiteral("one two"));
    EXPECT_EQ(p1->Items(), (QStringList{QStringLiteral("alpha"), QStringLiteral("beta")}));
    EXPECT_EQ(p1->Alignment(), taRightJustify);
    EXPECT_EQ(p1->Marks(), TFontStyles(fsUnderline));
    EXPECT_EQ(p1->FrameColor(), clRed);
    EXPECT_EQ(p2->FrameColor(), 0x00123456);
    EXPECT_EQ(p1->Buddy(), p3);
    // Children take the form's font unless they store their own.
    EXPECT_EQ(p1->Font().Name, QStringLiteral("Arial"));
    // Tab order as stored, not as created.
    EXPECT_EQ(p2->TabOrder(), 0);
    EXPECT_EQ(p1->TabOrder(), 1);
}

TEST_F(FormTest, WrittenFormReadsBackToTheSameDescription) {
    auto first = ReadProbe(kProbeForm);
    const QString written = WriteFormDescription(first.get());
    auto second = ReadProbe(written.toUtf8().constData());
    const QString rewritten = WriteFormDescription(second.get());
    EXPECT_EQ(written, rewritten);
    EXPECT_TRUE(ParseFormDescription(written, QStringLiteral("a"))
                    .SameAs(ParseFormDescription(rewritten, QStringLiteral("b"))));
    // And what was read the second time is what was read the first.
    auto* p1 = Find<TProbe>(second.get(), "probe1");
    ASSERT_NE(p1, nullptr);
    EXPECT_EQ(p1->Caption(), QStringLiteral("one two"));
    EXPECT_EQ(p1->Buddy(), Find<TProbe>(second.get(), "probe3"));
    EXPECT_EQ(second->Caption(), first->Caption());
    EXPECT_EQ(second->ActiveControl(), Find<TProbe>(second.get(), "probe2"));
    ASSERT_NE(second->ActiveControl(), nullptr);
    EXPECT_TRUE(Find<TProbe>(second.get(), "probe2")->OnAsk.Assigned());
    EXPECT_THAT(written.toStdString(), HasSubstr("OnAsk = ProbeAsk"));
}

TEST_F(FormTest, WriterLeavesOutDeclaredDefaultsAndKeepsTheRest) {
    TfrmProbe form;
    auto* probe = new TProbe(&form);
    probe->SetName(QStringLiteral("plain"));
    probe->SetParent(&form);
    probe->SetBounds(1, 2, 3, 4);
    const TFormObject tree = WriteComponentTree(&form);
    ASSERT_EQ(tree.Children.size(), 1u);
    const TFormObject& plain = tree.Children[0];
    // Bounds have no declared default: always stored.
    for (const char* name : {"Left", "Top", "Width", "Height"})
        EXPECT_NE(plain.FindProperty(QString::fromLatin1(name)), nullptr) << name;
    for (const char* name : {"Count", "Alignment", "Marks", "FrameColor", "Visible", "Enabled",
                             "TabStop", "Align", "Cursor", "Hint", "Font.Name", "Color", "Buddy"})
        EXPECT_EQ(plain.FindProperty(QString::fromLatin1(name)), nullptr) << name;
    // The form's own font is stored (ParentFont is off for forms); its
    // Visible is at its default False.
    EXPECT_NE(tree.FindProperty(QStringLiteral("Font.Name")), nullptr);
    EXPECT_EQ(tree.FindProperty(QStringLiteral("Visible")), nullptr);

    probe->SetCount(4);
    probe->SetAlignment(taLeftJustify);
    probe->SetFrameColor(clBtnShadow); // still the default
    probe->SetVisible(false);
    TFont font;
    font.Name = QStringLiteral("Arial");
    probe->SetFont(font);
    const TFormObject changed = WriteComponentTree(&form).Children.at(0);
    EXPECT_NE(changed.FindProperty(QStringLiteral("Count")), nullptr);
    EXPECT_NE(changed.FindProperty(QStringLiteral("Alignment")), nullptr);
    EXPECT_NE(changed.FindProperty(QStringLiteral("Visible")), nullptr);
    EXPECT_NE(changed.FindProperty(QStringLiteral("Font.Name")), nullptr);
    EXPECT_NE(changed.FindProperty(QStringLiteral("ParentFont")), nullptr);
    EXPECT_EQ(changed.FindProperty(QStringLiteral("FrameColor")), nullptr);
}

TEST_F(FormTest, LoadedRunsOnceAfterAllPropertiesWithoutRebuildsWhileReading) {
    auto form = ReadProbe(R"(object frmProbe: TfrmProbe
  object probe1: TProbe
    Count = 9
    Caption = 'last'
  end
end)");
    auto* p = Find<TProbe>(form.get(), "probe1");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->loadedCalls, 1);
    EXPECT_EQ(p->countAtLoaded, 9);
    EXPECT_EQ(p->captionAtLoaded, QStringLiteral("last"));
    EXPECT_FALSE(p->streamingAfterLoaded);
    EXPECT_EQ(p->rebuilds, 0);
    p->SetCount(10);
    EXPECT_EQ(p->rebuilds, 1);
}

TEST_F(FormTest, EventsAreBoundToHandlersByNameAndGetTheSender) {
    auto form = ReadProbe(kProbeForm);
    auto* p1 = Find<TProbe>(form.get(), "probe1");
    auto* p2 = Find<TProbe>(form.get(), "probe2");
    p1->OnPing(p1);
    ASSERT_EQ(form->pings.size(), 1u);
    EXPECT_EQ(form->pings[0], p1);
    int answer = 0;
    p2->OnAsk(p2, answer);
    EXPECT_EQ(answer, 42);
    // Unassigned events are skipped.
    EXPECT_FALSE(p2->OnPing.Assigned());
    p2->OnPing(p2);
    EXPECT_EQ(form->pings.size(), 1u);
}

struct BadForm {
    const char* Text;
    int Line;
    const char* Message;
};

class MalformedFormTest : public FormTest, public ::testing::WithParamInterface<BadForm> {};

TEST_P(MalformedFormTest, FailsWithFileLineAndReasonAndLeavesNoComponents) {
    const BadForm& bad = GetParam();
    TfrmProbe form;
    try {
        form.ReadForm(bad.Text, QStringLiteral("bad.wfm"));
        FAIL() << "no error for: " << bad.Text;
    } catch (const EFormError& e) {
        EXPECT_EQ(e.File(), QStringLiteral("bad.wfm"));
        EXPECT_EQ(e.Line(), bad.Line) << e.what();
        EXPECT_THAT(e.What().toStdString(), HasSubstr(bad.Message));
        EXPECT_THAT(std::string(e.what()), HasSubstr("bad.wfm(" + std::to_string(bad.Line) + ")"));
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.ControlCount(), 0);
    EXPECT_FALSE(form.IsStreaming());
    EXPECT_EQ(form.creates, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, MalformedFormTest,
    ::testing::Values(
        BadForm{"", 1, "empty"},
        BadForm{"object frmProbe: TfrmProbe\n  Left = 1\n", 3, "'end' of object frmProbe missing"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TNoSuchThing\n  end\nend", 2,
                "unknown class TNoSuchThing"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Colour = 3\n  end\nend", 3,
                "no property Colour"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Count = 'x'\n  end\nend", 3,
                "integer expected"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Count = -1\n  end\nend", 3,
                "must not be negative"},
        BadForm{
            "object frmProbe: TfrmProbe\n  object a: TProbe\n    Alignment = taMiddle\n  end\nend",
            3, "taMiddle"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Marks = [fsBold, fsHuge]\n  "
                "end\nend",
                3, "fsHuge"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Visible = Yes\n  end\nend", 3,
                "True or False"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    OnPing = Missing\n  end\nend",
                3, "no handler named Missing"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    OnPing = ProbeAsk\n  end\nend",
                3, "does not fit"},
        BadForm{
            "object frmProbe: TfrmProbe\n  object a: TProbe\n  end\n  object a: TProbe\n  end\nend",
            4, "duplicate component name a"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Buddy = nobody\n  end\nend", 3,
                "no component named nobody"},
        BadForm{"object frmProbe: TfrmProbe\n  Caption = 'open\nend", 2, "unterminated string"},
        BadForm{"object frmProbe: TfrmProbe\n  Count = 1\nend", 2, "no property Count"},
        BadForm{"object x: TProbe\nend", 1, "description is for TProbe"},
        BadForm{"object frmProbe: TfrmProbe\nend\nobject y: TProbe\nend", 3, "text after the end"},
        BadForm{"object frmProbe: TfrmProbe\n  Left = 99999999999\nend", 2, "out of range"},
        BadForm{"object frmProbe: TfrmProbe\n  Font.Size2 = 3\nend", 2, "no member Size2"},
        // Negating the lowest 64-bit number has no 64-bit result.
        BadForm{"object frmProbe: TfrmProbe\n  Tag = -$8000000000000000\nend", 2,
                "-$8000000000000000 out of range"},
        // A number running into a name is one malformed token, hexadecimal or not.
        BadForm{"object frmProbe: TfrmProbe\n  Tag = $1Fz = 1\nend", 2, "malformed number"},
        BadForm{"object frmProbe: TfrmProbe\n  Tag = 12z = 1\nend", 2, "malformed number"},
        // Numbers for an enumeration must name one of its values...
        BadForm{"object frmProbe: TfrmProbe\n  BorderStyle = 246\nend", 2,
                "246 is not a TFormBorderStyle value"},
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Alignment = -1\n  end\nend", 3,
                "-1 is not a TAlignment value"},
        // ...except for cursors, whose custom ones are numbers within the cursor type.
        BadForm{"object frmProbe: TfrmProbe\n  object a: TProbe\n    Cursor = 70000\n  end\nend", 3,
                "70000 is out of range"}));

// Every value the parser accepts is formatted as text it reads back to the
// same value.
class ValueRoundTripTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ValueRoundTripTest, ParseFormatParseGivesTheSameTree) {
    const QString text =
        QStringLiteral("object a: TB\n  V = %1\nend\n").arg(QString::fromUtf8(GetParam()));
    const TFormObject first = ParseFormDescription(text, QStringLiteral("first.wfm"));
    const QString formatted = FormatFormDescription(first);
    try {
        const TFormObject second = ParseFormDescription(formatted, QStringLiteral("second.wfm"));
        EXPECT_TRUE(first.SameAs(second)) << formatted.toStdString();
    } catch (const EFormError& e) {
        FAIL() << e.what() << " reading back:\n" << formatted.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, ValueRoundTripTest,
    ::testing::Values("0", "+5", "-2147483648", "9223372036854775807", "-9223372036854775808",
                      "$80000005", "-$80000000", "$100000000", "$7FFFFFFFFFFFFFFF",
                      "$8000000000000000", "$FFFFFFFFFFFFFFFF", "-$7FFFFFFFFFFFFFFF", "-2.5", "1e3",
                      "1.7976931348623157e308", "-2.2250738585072014e-308", "5e-324",
                      "'it''s'#13#10'x'", "#0", "''", "'a' +\n    'b'", "clBtnFace", "[]",
                      "[fsBold, fsItalic]", "()", "(\n    'a'\n    '')", "{}", "{00ff}"));

// A colour written as a hexadecimal pattern reads back as the number it was,
// whatever its width.
class HexRoundTripTest : public ::testing::TestWithParam<qint64> {};

TEST_P(HexRoundTripTest, HexadecimalFormatReadsBackToTheSameNumber) {
    TFormValue value = TFormValue::MakeInt(GetParam());
    value.Hex = true;
    const QString text = FormatValue(value);
    const auto parsed = ParseValueText(text);
    ASSERT_TRUE(parsed.has_value()) << text.toStdString();
    EXPECT_EQ(parsed->Int, GetParam()) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Values, HexRoundTripTest,
                         ::testing::Values(qint64{0}, qint64{-1}, qint64{0x00123456},
                                           qint64{INT32_MIN}, qint64{INT32_MAX}, qint64{0xFFFFFFFF},
                                           qint64{0x100000000}, INT64_MIN, INT64_MAX));

// A component's values, written and read into a new form, are the values it had.
struct ExtremeValues {
    const char* Name;
    int Tag;
    qlonglong Big;
    uint UBig;
    short Small;
    ushort USmall;
    signed char Tiny;
    uchar UTiny;
    int FrameColor;
    double Ratio;
    TCursor Cursor;
};

class ExtremeValuesTest : public FormTest, public ::testing::WithParamInterface<ExtremeValues> {};

TEST_P(ExtremeValuesTest, WrittenComponentReadsBackItsValues) {
    const ExtremeValues& v = GetParam();
    TfrmProbe form;
    form.SetName(QStringLiteral("frmProbe"));
    auto* probe = new TValueProbe(&form);
    probe->SetName(QStringLiteral("values"));
    probe->SetParent(&form);
    probe->SetTag(v.Tag);
    probe->SetBig(v.Big);
    probe->SetUBig(v.UBig);
    probe->SetSmall(v.Small);
    probe->SetUSmall(v.USmall);
    probe->SetTiny(v.Tiny);
    probe->SetUTiny(v.UTiny);
    probe->SetFrameColor(v.FrameColor);
    probe->SetRatio(v.Ratio);
    probe->SetCursor(v.Cursor);
    const QString written = WriteFormDescription(&form);

    TfrmProbe again;
    try {
        again.ReadForm(written.toStdString(), QStringLiteral("written.wfm"));
    } catch (const EFormError& e) {
        FAIL() << e.what() << " reading back:\n" << written.toStdString();
    }
    auto* read = Find<TValueProbe>(&again, "values");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Tag(), v.Tag);
    EXPECT_EQ(read->Big(), v.Big);
    EXPECT_EQ(read->UBig(), v.UBig);
    EXPECT_EQ(read->Small(), v.Small);
    EXPECT_EQ(read->USmall(), v.USmall);
    EXPECT_EQ(read->Tiny(), v.Tiny);
    EXPECT_EQ(read->UTiny(), v.UTiny);
    EXPECT_EQ(read->FrameColor(), v.FrameColor);
    EXPECT_EQ(read->Ratio(), v.Ratio);
    EXPECT_EQ(read->Cursor(), v.Cursor);
}

INSTANTIATE_TEST_SUITE_P(
    Extremes, ExtremeValuesTest,
    ::testing::Values(
        ExtremeValues{"Lowest", INT32_MIN, INT64_MIN, 0, INT16_MIN, 0, INT8_MIN, 0, INT32_MIN,
                      -std::numeric_limits<double>::max(), static_cast<TCursor>(INT16_MIN)},
        ExtremeValues{"Highest", INT32_MAX, INT64_MAX, UINT32_MAX, INT16_MAX, UINT16_MAX, INT8_MAX,
                      UINT8_MAX, INT32_MAX, std::numeric_limits<double>::max(),
                      static_cast<TCursor>(INT16_MAX)},
        ExtremeValues{"Smallest", -1, -1, 1, -1, 1, -1, 1, -1,
                      std::numeric_limits<double>::denorm_min(), static_cast<TCursor>(31000)}),
    [](const ::testing::TestParamInfo<ExtremeValues>& info) {
        return std::string(info.param.Name);
    });

TEST_F(FormTest, DeeplyNestedDescriptionIsRefusedNotOverflowed) {
    QString text;
    for (int i = 0; i < 200; ++i)
        text += QStringLiteral("object p%1: TProbe\n").arg(i);
    TfrmProbe form;
    EXPECT_THROW(form.ReadForm(("object frmProbe: TfrmProbe\n" + text).toStdString(),
                               QStringLiteral("deep.wfm")),
                 EFormError);
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(FormTest, FailureLateInTheFormFreesComponentsAlreadyMade) {
    TfrmProbe form;
    EXPECT_THROW(form.ReadForm(R"(object frmProbe: TfrmProbe
  object a: TProbe
    object b: TProbe
    end
  end
  object c: TProbe
    Count = -5
  end
end)",
                               QStringLiteral("late.wfm")),
                 EFormError);
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.ControlCount(), 0);
    // The form can be read again afterwards.
    form.ReadForm("object frmProbe: TfrmProbe\n  object a: TProbe\n  end\nend",
                  QStringLiteral("ok.wfm"));
    EXPECT_EQ(form.ComponentCount(), 1);
}

} // namespace
} // namespace wt::test
