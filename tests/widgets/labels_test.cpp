// The raised-text and rotated labels: which colour lands on which side of a
// stroke for each style, transparency, sizes that follow the (rotated) text,
// the rotation's normalising and the font that rotated text needs.
#include "ui_support.h"

#include "toolkit/core/reader.h"
#include "toolkit/graphics/bitmap.h"
#include "toolkit/forms/form.h"
#include "widgets/DODRotat.h"
#include "widgets/Rzlabel.h"

#include <QImage>

#include <array>
#include <climits>
#include <vector>

namespace wt::test {
namespace {

// The colours as drawn: system colours come from the application's palette,
// so they are looked up once it exists.
constexpr QRgb kFace = 0xFF000000;
QRgb Back() { return ColorToPixel(clBtnFace); }
QRgb Shadow() { return ColorToPixel(clBtnShadow); }
QRgb Highlight() { return ColorToPixel(clBtnHighlight); }
QRgb Grey() { return ColorToPixel(clGrayText); }

TFont StrokeFont() {
    TFont font;
    font.Name = QStringLiteral("Liberation Sans");
    font.Height = -40;
    font.Style = TFontStyles(fsBold);
    font.Color = clBlack;
    return font;
}

// The first and last column of face colour on the row through the middle.
std::pair<int, int> StrokeColumns(const QImage& image, QRgb face) {
    const int y = image.height() / 2;
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        if (image.pixel(x, y) == face) {
            if (first < 0)
                first = x;
            last = x;
        }
    return {first, last};
}

// The colours in the middle of the stroke and just left and right of it, on
// the row through the middle.
void ExpectAroundStroke(const QImage& image, int left, int right, QRgb centre, QRgb before,
                        QRgb after) {
    const int y = image.height() / 2;
    EXPECT_EQ(image.pixel((left + right) / 2, y), centre);
    EXPECT_EQ(image.pixel(left - 1, y), before);
    EXPECT_EQ(image.pixel(right + 1, y), after);
}

class LabelsTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_unique<TForm>();
        form->SetColor(clBtnFace);
    }
    void TearDown() override {
        form.reset();
        UiTest::TearDown();
    }
    template <class L>
    L* Place(const QString& caption) {
        auto* label = new L(form.get());
        label->SetParent(form.get());
        label->SetFont(StrokeFont());
        label->SetCaption(caption);
        return label;
    }
    std::unique_ptr<TForm> form;
};

// --- TRzLabel -------------------------------------------------------------------

TEST_F(LabelsTest, RaisedAndRecessedEdgesLieOnOppositeSidesOfTheStroke) {
    struct Case {
        TTextStyle Style;
        bool Enabled;
        QRgb Centre, Left, Right;
    };
    const std::vector<Case> cases = {
        {TRzLabel::tsNone, true, kFace, Back(), Back()},
        {TRzLabel::tsRaised, true, kFace, Highlight(), Shadow()},
        {TRzLabel::tsRecessed, true, kFace, Shadow(), Highlight()},
        // Disabled: the face in grey text over the same edges.
        {TRzLabel::tsRaised, false, Grey(), Highlight(), Shadow()},
    };
    auto* label = Place<TRzLabel>(QStringLiteral("I"));
    label->SetTextStyle(TRzLabel::tsNone);
    const auto [left, right] = StrokeColumns(label->PaintToImage(), kFace);
    ASSERT_GT(right, left);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Style) * 10 + c.Enabled);
        label->SetTextStyle(c.Style);
        label->SetEnabled(c.Enabled);
        ExpectAroundStroke(label->PaintToImage(), left, right, c.Centre, c.Left, c.Right);
    }
}

TEST_F(LabelsTest, RzLabelIsOpaqueUnlessTransparentAndSizedByItsTextAlone) {
    auto* label = Place<TRzLabel>(QStringLiteral("Wing"));
    EXPECT_EQ(label->TextStyle(), TRzLabel::tsRecessed);
    auto* plain = Place<TLabel>(QStringLiteral("Wing"));
    EXPECT_EQ(label->Width(), plain->Width());
    EXPECT_EQ(label->Height(), plain->Height());

    QImage image = label->PaintToImage();
    EXPECT_EQ(image.pixel(0, 0), Back());
    label->SetTransparent(true);
    image = label->PaintToImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    // "&" shows literally when accelerators are off, and takes room then.
    label->SetCaption(QStringLiteral("&&&"));
    const int withAccel = label->Width();
    label->SetShowAccelChar(false);
    EXPECT_GT(label->Width(), withAccel);
}

// --- TCDKRotate3DLabel -------------------------------------------------------------

TEST(RotationTest, AnyAngleIsBroughtIntoMinus180To180) {
    const std::pair<int, int> cases[] = {
        {0, 0},      {10, 10},       {370, 10},       {-370, -10}, {270, -90},
        {-190, 170}, {540, 180},     {-180, -180},    {180, 180},  {360, 0},
        {-360, 0},   {INT_MAX, 127}, {INT_MIN, -128},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(TCDKRotate3DLabel::NormalizedRotation(in), out) << in;
}

TEST(RotationTest, BoundsAndStartPointFollowTheAngle) {
    struct Case {
        int Rotation;
        TCDKRotate3DLabel::TLayout Expected; // width, height, x, y
    };
    // A caption 100 x 20 unrotated, offset 1.
    const Case cases[] = {
        {0, {101, 21, 0, 0}},       {90, {21, 101, 0, 100}},   // reads upwards from the bottom left
        {-90, {21, 101, 20, 0}},    {180, {101, 21, 100, 21}}, // upside down from the bottom right
        {-180, {101, 21, 100, 21}}, {45, {86, 86, 0, 71}},     // 70.71 + 14.14 = 84.85 -> 85, + 1
        {135, {86, 86, 71, 86}},    {-135, {86, 86, 86, 14}},
    };
    for (const Case& c : cases) {
        const auto got = TCDKRotate3DLabel::LayoutFor(c.Rotation, 100, 20, 1);
        EXPECT_EQ((std::array{got.Width, got.Height, got.X, got.Y}),
                  (std::array{c.Expected.Width, c.Expected.Height, c.Expected.X, c.Expected.Y}))
            << c.Rotation;
    }
}

TEST_F(LabelsTest, RotatedLabelSizesItselfToTheTurnedText) {
    auto* label = Place<TCDKRotate3DLabel>(QStringLiteral("Hiding Options"));
    TBitmap probe(1, 1);
    probe.Canvas().Font = StrokeFont();
    const TSize text = probe.Canvas().TextExtent(QStringLiteral("Hiding Options"));
    EXPECT_EQ(label->Width(), text.Width + 1);
    EXPECT_EQ(label->Height(), text.Height + 1);
    label->SetRotation(90);
    EXPECT_EQ(label->Width(), text.Height + 1);
    EXPECT_EQ(label->Height(), text.Width + 1);
    // Aligned to the top, only the height follows.
    label->SetAlign(alTop);
    label->SetRotation(0);
    EXPECT_EQ(label->Height(), text.Height + 1);
    EXPECT_EQ(label->Width(), form->ClientWidth());
}

TEST_F(LabelsTest, EachShadowStyleDrawsItsPassesWhereTheyBelong) {
    struct Case {
        TCDKShadowStyle Style;
        bool Enabled;
        QRgb Centre, Left, Right;
    };
    const std::vector<Case> cases = {
        {TCDKRotate3DLabel::ssRaised, true, kFace, Highlight(), Shadow()},
        {TCDKRotate3DLabel::ssLowered, true, kFace, Shadow(), Highlight()},
        {TCDKRotate3DLabel::ssHasShadow, true, kFace, Back(), Shadow()},
        {TCDKRotate3DLabel::ssNormalWithDisable, true, kFace, Back(), Back()},
        // Embossed: the shadow colour in place over the offset highlight.
        {TCDKRotate3DLabel::ssNormalWithDisable, false, Shadow(), Back(), Highlight()},
        {TCDKRotate3DLabel::ssNoShadow, false, kFace, Back(), Back()},
    };
    auto* label = Place<TCDKRotate3DLabel>(QStringLiteral("I"));
    label->SetColor(clBtnFace);
    label->SetShadowOffset(2);
    label->SetShadowStyle(TCDKRotate3DLabel::ssNoShadow);
    const auto [left, right] = StrokeColumns(label->PaintToImage(), kFace);
    ASSERT_GT(right, left + 2);
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.Style) * 10 + c.Enabled);
        label->SetShadowStyle(c.Style);
        label->SetEnabled(c.Enabled);
        ExpectAroundStroke(label->PaintToImage(), left, right, c.Centre, c.Left, c.Right);
    }
}

TEST_F(LabelsTest, HalfTurnsEitherWayDrawTheSamePicture) {
    auto* label = Place<TCDKRotate3DLabel>(QStringLiteral("Sound"));
    label->SetRotation(180);
    const QImage clockwise = label->PaintToImage();
    label->SetRotation(-180);
    EXPECT_EQ(label->PaintToImage(), clockwise);
    label->SetRotation(0);
    EXPECT_NE(label->PaintToImage(), clockwise);
}

TEST_F(LabelsTest, ABitmapFaceTurnedAwayFromZeroBecomesArial) {
    auto* label = Place<TCDKRotate3DLabel>(QStringLiteral("General"));
    TFont bitmapFace = label->Font();
    bitmapFace.Name = QStringLiteral("MS Sans Serif");
    label->SetFont(bitmapFace);
    label->SetRotation(0);
    EXPECT_EQ(label->Font().Name, QStringLiteral("MS Sans Serif"));
    label->SetRotation(45);
    EXPECT_EQ(label->Font().Name, QStringLiteral("Arial"));

    // While a form is read the font stays as the form gives it.
    const char* text = "object f: TForm\n"
                       "  object l: TCDKRotate3DLabel\n"
                       "    Caption = 'x'\n"
                       "    Font.Name = 'MS Sans Serif'\n"
                       "    ParentFont = False\n"
                       "    Rotation = 90\n"
                       "  end\n"
                       "end\n";
    TForm loaded;
    loaded.ReadForm(text, QStringLiteral("rotated.wfm"));
    auto* read = dynamic_cast<TCDKRotate3DLabel*>(loaded.FindComponent(QStringLiteral("l")));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->Rotation(), 90);
    EXPECT_EQ(read->Font().Name, QStringLiteral("MS Sans Serif"));
}

} // namespace
} // namespace wt::test
