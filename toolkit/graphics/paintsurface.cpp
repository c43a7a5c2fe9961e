#include "toolkit/graphics/paintsurface.h"

#include "toolkit/forms/application.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace wt {
namespace {

// A failing paint step goes to the error report; while that report is on
// screen (its dialog repaints the control again), further failures are
// dropped rather than stacking up dialogs.
void GuardedPaint(const std::function<void(TCanvas&)>& step, TCanvas& canvas) {
    static bool reporting = false;
    try {
        step(canvas);
    } catch (const std::exception& e) {
        if (reporting)
            return;
        reporting = true;
        Application()->HandleException(e);
        reporting = false;
    }
}

} // namespace

TPaintSurface::TPaintSurface(bool seeThrough)
    : image_(1, 1, seeThrough ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32),
      canvas_(std::make_unique<TCanvas>(&image_)), seeThrough_(seeThrough) {
    image_.fill(seeThrough ? Qt::transparent : Qt::white);
    invalid_ = erase_ = QRegion(image_.rect());
    canvas_->SetChangeHook([this](const TRect& r) {
        if (painting_ || !widget_)
            return;
        widget_->update(QRect(r.Left, r.Top, r.Width(), r.Height()));
    });
}

void TPaintSurface::Resize(int width, int height) {
    width = std::max(1, width);
    height = std::max(1, height);
    if (image_.width() == width && image_.height() == height)
        return;
    QImage resized(width, height, image_.format());
    resized.fill(seeThrough_ ? Qt::transparent : Qt::white);
    {
        QPainter painter(&resized);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image_);
    }
    image_ = resized;
    invalid_ = QRegion(0, 0, width, height);
    erase_ = invalid_;
}

void TPaintSurface::Release() {
    image_ = QImage(1, 1, image_.format());
    image_.fill(seeThrough_ ? Qt::transparent : Qt::white);
    invalid_ = erase_ = QRegion(image_.rect());
}

void TPaintSurface::Invalidate(const QRegion& region, bool erase) {
    const QRegion r = region.intersected(QRect(0, 0, image_.width(), image_.height()));
    invalid_ += r;
    if (erase)
        erase_ += r;
}

void TPaintSurface::InvalidateWhole(int width, int height, bool erase, QWidget* widget) {
    Resize(width, height);
    Invalidate(QRegion(0, 0, std::max(1, width), std::max(1, height)), erase);
    if (widget)
        widget->update();
}

void TPaintSurface::UpdateNow(QWidget* widget) const {
    if (widget && widget->isVisible() && !invalid_.isEmpty())
        widget->repaint(invalid_);
}

void TPaintSurface::PaintEvent(QWidget* widget, QPaintEvent* event,
                               const std::function<void(TCanvas&)>& erase,
                               const std::function<void(TCanvas&)>& paint) {
    Resize(widget->width(), widget->height());
    // The image is what the screen shows: only what was invalidated is
    // painted again; everything else Qt asks for (exposures, grabs, drawing
    // done outside the paint step) is shown as it stands.
    const QRegion asked = event->region();
    const QRegion toPaint = invalid_;
    const QRegion toErase = erase_;
    invalid_ = QRegion();
    erase_ = QRegion();
    Run(toErase, toPaint, erase, paint);

    QPainter painter(widget);
    painter.setClipRegion(asked);
    painter.drawImage(0, 0, image_);
}

void TPaintSurface::PaintAll(const std::function<void(TCanvas&)>& erase,
                             const std::function<void(TCanvas&)>& paint) {
    const QRegion all(image_.rect());
    invalid_ = QRegion();
    erase_ = QRegion();
    Run(all, all, erase, paint);
}

void TPaintSurface::Run(const QRegion& toErase, const QRegion& toPaint,
                        const std::function<void(TCanvas&)>& erase,
                        const std::function<void(TCanvas&)>& paint) {
    if (toPaint.isEmpty() && toErase.isEmpty())
        return;
    // The canvas keeps its pen, brush and font between paints; only the
    // clipping belongs to one paint.
    painting_ = true;
    if (!toErase.isEmpty()) {
        if (seeThrough_) {
            QPainter clear(&image_);
            clear.setCompositionMode(QPainter::CompositionMode_Source);
            clear.setClipRegion(toErase);
            clear.fillRect(image_.rect(), Qt::transparent);
        }
        canvas_->SetClipRegion(TRegion(toErase));
        GuardedPaint(erase, *canvas_);
    }
    if (!toPaint.isEmpty()) {
        canvas_->SetClipRegion(TRegion(toPaint));
        GuardedPaint(paint, *canvas_);
    }
    canvas_->SetClipRegion(std::nullopt);
    painting_ = false;
}

TPaintWidget::TPaintWidget(QWidget* parent, std::function<void(QPaintEvent*)> onPaint)
    : QWidget(parent), onPaint_(std::move(onPaint)) {}

void TPaintWidget::paintEvent(QPaintEvent* event) {
    if (onPaint_)
        onPaint_(event);
}

} // namespace wt
