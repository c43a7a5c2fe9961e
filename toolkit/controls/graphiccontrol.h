// The base of windowless controls that draw themselves (labels, pictures):
// painted over their parent, whose pixels show wherever the control draws
// nothing, with a canvas of their own for the paint step.
#pragma once

#include "toolkit/graphics/canvas.h"
#include "toolkit/controls/control.h"
#include "toolkit/graphics/paintsurface.h"

#include <QImage>

namespace wt {

class TGraphicControl : public TControl {
    Q_OBJECT
public:
    explicit TGraphicControl(TComponent* owner = nullptr);
    ~TGraphicControl() override;

    TCanvas& Canvas();

    // The whole control is to be painted (erased first unless opaque);
    // Update paints what is invalid now.
    void Invalidate() override;
    void Update() override;

    // An opaque control paints all of its area, so nothing of the parent is
    // kept under it.
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool on);

    // Paints the whole control now over a transparent background and returns
    // its pixels (for tests and snapshots).
    QImage PaintToImage();

    void DefaultHandler(TMessage& message) override;

protected:
    // Draws the control; the canvas is clipped to what is to be painted.
    virtual void Paint();

    QWidget* CreateWidget(QWidget* parentWidget) override;
    void BoundsChanged() override;

private:
    void HandlePaint(QPaintEvent* event);

    TPaintSurface surface_{true};
    bool opaque_ = false;
};

} // namespace wt
