// The base of windowed controls that draw themselves: an own canvas kept
// between paints, an erase-background step (WM_ERASEBKGND) and a paint step
// (WM_PAINT), and invalidation of the whole control, a rectangle or a region.
#pragma once

#include "toolkit/graphics/canvas.h"
#include "toolkit/controls/control.h"
#include "toolkit/graphics/paintsurface.h"
#include "toolkit/graphics/region.h"

#include <QImage>

namespace wt {

class TCustomControl : public TWinControl {
    Q_OBJECT
public:
    explicit TCustomControl(TComponent* owner = nullptr);
    ~TCustomControl() override;

    // Usable at any time; what is drawn outside the paint step shows at once,
    // as drawing on the window does.
    TCanvas& Canvas();

    // The whole control is to be painted (erased first unless opaque);
    // Update paints what is invalid now.
    void Invalidate() override;
    void Update() override;

    // Marks a part to be painted; with erase the background step runs over
    // it first. The paint follows when the event loop runs (or Update()).
    void InvalidateRect(const TRect& rect, bool erase = true);
    void InvalidateRgn(const TRegion& region, bool erase = true);

    // Also gives up the pixels kept between paints.
    void ReleaseWindow() override;

    // An opaque control paints all of itself, so Invalidate does not erase.
    bool Opaque() const { return opaque_; }
    void SetOpaque(bool on) { opaque_ = on; }

    // Erases and paints the whole control now and returns its pixels (for
    // tests and snapshots; the widget need not be shown).
    QImage PaintToImage();

    // WM_ERASEBKGND carries the canvas to erase on in WParam and answers 1
    // when the background was erased; WM_PAINT runs Paint.
    void DefaultHandler(TMessage& message) override;

protected:
    // Fills the canvas (clipped to what is to be erased) with Color.
    virtual void EraseBackground(TCanvas& canvas);
    // Draws the control; the canvas is clipped to what is to be painted.
    virtual void Paint();

    QWidget* CreateWidget(QWidget* parentWidget) override;
    void BoundsChanged() override;

private:
    void RunErase(TCanvas& canvas);
    void HandlePaint(QPaintEvent* event);

    TPaintSurface surface_{false};
    bool opaque_ = false;
};

} // namespace wt
