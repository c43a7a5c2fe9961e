// The pixels behind a custom-drawn control: a persistent image with its
// canvas, the parts waiting to be painted or erased, and the paint step run
// from the widget's paint events. Shared by TCustomControl and TGraphicControl.
#pragma once

#include "toolkit/graphics/canvas.h"
#include "toolkit/graphics/region.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <memory>

class QPaintEvent;

namespace wt {

class TPaintSurface {
public:
    // A see-through surface starts each erase transparent, so that the parent
    // shows wherever nothing is drawn; an opaque one starts it in one colour.
    explicit TPaintSurface(bool seeThrough);

    TCanvas& Canvas() { return *canvas_; }
    // Keeps the image at the control's size (at least 1 x 1); the old pixels
    // stay at the top left and everything is to be painted again.
    void Resize(int width, int height);

    void Invalidate(const QRegion& region, bool erase);
    // The whole control of width x height is to be painted (erased first when
    // erase), and its widget, if it has one, is told to repaint.
    void InvalidateWhole(int width, int height, bool erase, QWidget* widget);
    // Paints what is invalid now, when the widget is shown.
    void UpdateNow(QWidget* widget) const;
    const QRegion& InvalidRegion() const { return invalid_; }

    // Runs erase and paint over what was invalidated and shows the image.
    // erase(canvas) and paint(canvas) are called with the canvas clipped.
    void PaintEvent(QWidget* widget, QPaintEvent* event, const std::function<void(TCanvas&)>& erase,
                    const std::function<void(TCanvas&)>& paint);
    // Erases and paints the whole surface now, shown or not.
    void PaintAll(const std::function<void(TCanvas&)>& erase,
                  const std::function<void(TCanvas&)>& paint);
    const QImage& Image() const { return image_; }
    // Gives the pixels up; the next Resize makes them again, all invalid.
    void Release();
    bool Painting() const { return painting_; }

    // Drawing outside the paint step is shown without repainting.
    void AttachWidget(QWidget* widget) { widget_ = widget; }

private:
    void Run(const QRegion& toErase, const QRegion& toPaint,
             const std::function<void(TCanvas&)>& erase,
             const std::function<void(TCanvas&)>& paint);

    QImage image_;
    std::unique_ptr<TCanvas> canvas_;
    QRegion invalid_;
    QRegion erase_;
    QWidget* widget_ = nullptr;
    bool seeThrough_;
    bool painting_ = false;
};

// The widget of a custom-drawn control: hands its paint events to a callback.
class TPaintWidget : public QWidget {
    Q_OBJECT
public:
    TPaintWidget(QWidget* parent, std::function<void(QPaintEvent*)> onPaint);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(QPaintEvent*)> onPaint_;
};

} // namespace wt
