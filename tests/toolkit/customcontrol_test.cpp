#include "drawing_support.h"

#include "toolkit/controls/customcontrol.h"
#include "toolkit/controls/graphiccontrol.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

namespace wt {
namespace {

// Paints itself in one colour and counts its paint steps.
class TSolidControl : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    TColor PaintColor = clBlue;
    bool PaintNothing = false;
    int Paints = 0;
    std::vector<std::string> Steps;

protected:
    void Paint() override {
        ++Paints;
        if (PaintNothing)
            return;
        Canvas().Brush.Color = PaintColor;
        Canvas().FillRect({0, 0, Width(), Height()});
    }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        Steps.push_back("down " + std::to_string(int(button)) + " " + std::to_string(x) + "," +
                        std::to_string(y));
        TCustomControl::MouseDown(button, shift, x, y);
    }
    void KeyDown(std::uint16_t& key, TShiftState shift) override {
        Steps.push_back("key " + std::to_string(key));
        TCustomControl::KeyDown(key, shift);
    }
};

class CustomControls : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureApplication();
        control.SetBounds(0, 0, 40, 30);
        control.SetColor(clRed);
        control.SetParentColor(false);
    }
    void Show() {
        control.Widget()->show();
        control.Update();
        QCoreApplication::processEvents();
    }
    TColor At(int x, int y) { return control.Canvas().Pixel(x, y); }

    TSolidControl control;
};

TEST_F(CustomControls, PaintToImageErasesWithColorThenPaints) {
    control.PaintNothing = true;
    QImage image = control.PaintToImage();
    EXPECT_EQ(image.size(), QSize(40, 30));
    EXPECT_EQ(FromQColor(image.pixelColor(39, 29)), clRed);
    control.PaintNothing = false;
    image = control.PaintToImage();
    EXPECT_EQ(FromQColor(image.pixelColor(0, 0)), clBlue);
    EXPECT_EQ(control.Paints, 2);
}

TEST_F(CustomControls, InvalidatedRectangleIsTheOnlyPartPaintedAgain) {
    Show();
    ASSERT_GE(control.Paints, 1);
    EXPECT_EQ(At(20, 20), clBlue);
    control.PaintColor = clLime;
    control.InvalidateRect({5, 5, 10, 10});
    control.Update();
    EXPECT_EQ(At(5, 5), clLime);
    EXPECT_EQ(At(9, 9), clLime);
    EXPECT_EQ(At(10, 10), clBlue);
    EXPECT_EQ(At(4, 5), clBlue);

    // A region: only its pixels change.
    control.PaintColor = clYellow;
    control.InvalidateRgn(TRegion::FromPolygon({{20, 0}, {30, 10}, {20, 20}}));
    control.Update();
    EXPECT_EQ(At(21, 10), clYellow);
    EXPECT_EQ(At(31, 10), clBlue);

    // The whole control through the toolkit's Invalidate.
    control.PaintColor = clAqua;
    control.Invalidate();
    control.Update();
    EXPECT_EQ(At(39, 29), clAqua);
}

TEST_F(CustomControls, EraseRunsOnlyWhenAskedAndCanBeHandledByMessage) {
    Show();
    control.PaintNothing = true;
    control.InvalidateRect({0, 0, 10, 10}, false);
    control.Update();
    EXPECT_EQ(At(2, 2), clBlue); // not erased, not painted over

    int erases = 0;
    control.SetMessageHandler(WM_ERASEBKGND, [&](TMessage& m) {
        ++erases;
        auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
        canvas->Brush.Color = clFuchsia;
        canvas->FillRect({0, 0, 40, 30});
        m.Result = 1;
    });
    control.InvalidateRect({0, 0, 10, 10}, true);
    control.Update();
    EXPECT_EQ(erases, 1);
    EXPECT_EQ(At(2, 2), clFuchsia);
    EXPECT_EQ(At(20, 20), clBlue); // the erase was clipped to the invalid part
}

TEST_F(CustomControls, DrawingOutsidePaintIsShownWithoutRepainting) {
    Show();
    const int paints = control.Paints;
    const TColor before = At(3, 3);
    control.Canvas().DrawFocusRect({3, 3, 13, 13});
    QCoreApplication::processEvents();
    EXPECT_EQ(control.Paints, paints);
    EXPECT_EQ(At(3, 3), before ^ 0xFFFFFF);
    const QImage shown = control.Widget()->grab().toImage();
    EXPECT_EQ(FromQColor(shown.pixelColor(3, 3)), before ^ 0xFFFFFF);
}

TEST_F(CustomControls, MouseAndKeyEventsReachTheSteps) {
    Show();
    QWidget* w = control.Widget();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(7, 9), w->mapToGlobal(QPointF(7, 9)),
                      Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &press);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &key);
    EXPECT_EQ(control.Steps,
              (std::vector<std::string>{"down " + std::to_string(int(mbRight)) + " 7,9",
                                        "key " + std::to_string(VK_LEFT)}));
}

// Draws a small square in its middle and nothing else.
class TSquare : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override {
        Canvas().Brush.Color = clNavy;
        Canvas().FillRect({4, 4, 8, 8});
    }
};

TEST_F(CustomControls, GraphicControlIsPaintedOverItsParent) {
    control.PaintNothing = true; // the parent shows its erase colour, red
    TSquare square;
    square.SetParent(&control);
    square.SetBounds(10, 10, 12, 12);
    Show();
    const QImage shown = control.Widget()->grab().toImage();
    EXPECT_EQ(FromQColor(shown.pixelColor(15, 15)), clNavy);
    EXPECT_EQ(FromQColor(shown.pixelColor(11, 11)), clRed); // inside the control, not drawn
    EXPECT_EQ(FromQColor(shown.pixelColor(25, 25)), clRed);

    const QImage own = square.PaintToImage();
    EXPECT_EQ(qAlpha(own.pixel(0, 0)), 0);
    EXPECT_EQ(FromPixel(own.pixel(5, 5)), clNavy);
    square.SetParent(nullptr);
}

} // namespace
} // namespace wt
