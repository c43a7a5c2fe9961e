#include "toolkit/controls/customcontrol.h"

#include <QPaintEvent>

namespace wt {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

TCustomControl::~TCustomControl() {
    // The widget's paint callback points here; make it go first.
    DestroyWidget();
}

TCanvas& TCustomControl::Canvas() {
    surface_.Resize(Width(), Height());
    return surface_.Canvas();
}

QWidget* TCustomControl::CreateWidget(QWidget* parentWidget) {
    auto* widget = new TPaintWidget(parentWidget, [this](QPaintEvent* e) { HandlePaint(e); });
    // The surface covers the whole widget; Qt need not clear it first.
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    // The pointer moving over the control reaches it with no button held,
    // as the window system's hit test and cursor messages do.
    widget->setMouseTracking(true);
    surface_.AttachWidget(widget);
    return widget;
}

void TCustomControl::BoundsChanged() {
    TWinControl::BoundsChanged();
    surface_.Resize(Width(), Height());
}

void TCustomControl::InvalidateRect(const TRect& rect, bool erase) {
    InvalidateRgn(TRegion(rect), erase);
}

void TCustomControl::InvalidateRgn(const TRegion& region, bool erase) {
    if (Streaming())
        return;
    surface_.Resize(Width(), Height());
    surface_.Invalidate(region.Qt(), erase);
    if (QWidget* w = WidgetIfCreated())
        w->update(region.Qt());
}

void TCustomControl::ReleaseWindow() {
    TWinControl::ReleaseWindow();
    surface_.Release();
}

void TCustomControl::RunErase(TCanvas& canvas) {
    TMessage message;
    message.Msg = WM_ERASEBKGND;
    message.WParam = reinterpret_cast<std::uintptr_t>(&canvas);
    WndProc(message);
}

void TCustomControl::HandlePaint(QPaintEvent* event) {
    QWidget* widget = WidgetIfCreated();
    if (!widget)
        return;
    surface_.PaintEvent(
        widget, event, [this](TCanvas& canvas) { RunErase(canvas); },
        [this](TCanvas&) { Perform(WM_PAINT); });
}

QImage TCustomControl::PaintToImage() {
    surface_.Resize(Width(), Height());
    surface_.PaintAll([this](TCanvas& canvas) { RunErase(canvas); },
                      [this](TCanvas&) { Perform(WM_PAINT); });
    return surface_.Image().copy();
}

void TCustomControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        if (auto* canvas = reinterpret_cast<TCanvas*>(message.WParam)) {
            EraseBackground(*canvas);
            message.Result = 1;
        }
        return;
    case WM_PAINT: Paint(); return;
    default: TWinControl::DefaultHandler(message);
    }
}

void TCustomControl::EraseBackground(TCanvas& canvas) {
    const TBrush saved = canvas.Brush;
    canvas.Brush.Color = Color();
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Pattern = QImage();
    canvas.FillRect({0, 0, Width(), Height()});
    canvas.Brush = saved;
}

void TCustomControl::Paint() {}

} // namespace wt

namespace wt {

void TCustomControl::Invalidate() {
    if (!Streaming())
        surface_.InvalidateWhole(Width(), Height(), !opaque_, WidgetIfCreated());
}

void TCustomControl::Update() { surface_.UpdateNow(WidgetIfCreated()); }

} // namespace wt
