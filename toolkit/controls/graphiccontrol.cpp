#include "toolkit/controls/graphiccontrol.h"

#include <QPaintEvent>

namespace wt {

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() { DestroyWidget(); }

TCanvas& TGraphicControl::Canvas() {
    surface_.Resize(Width(), Height());
    return surface_.Canvas();
}

void TGraphicControl::SetOpaque(bool on) {
    opaque_ = on;
    if (QWidget* w = WidgetIfCreated())
        w->setAttribute(Qt::WA_OpaquePaintEvent, on);
}

QWidget* TGraphicControl::CreateWidget(QWidget* parentWidget) {
    // A child widget without a window of its own; Qt draws the parent first.
    auto* widget = new TPaintWidget(parentWidget, [this](QPaintEvent* e) { HandlePaint(e); });
    widget->setAttribute(Qt::WA_OpaquePaintEvent, opaque_);
    widget->setFocusPolicy(Qt::NoFocus);
    surface_.AttachWidget(widget);
    return widget;
}

void TGraphicControl::BoundsChanged() {
    TControl::BoundsChanged();
    surface_.Resize(Width(), Height());
}

void TGraphicControl::HandlePaint(QPaintEvent* event) {
    QWidget* widget = WidgetIfCreated();
    if (!widget)
        return;
    surface_.PaintEvent(
        widget, event, [](TCanvas&) {}, [this](TCanvas&) { Perform(WM_PAINT); });
}

QImage TGraphicControl::PaintToImage() {
    surface_.Resize(Width(), Height());
    surface_.PaintAll([](TCanvas&) {}, [this](TCanvas&) { Perform(WM_PAINT); });
    return surface_.Image().copy();
}

void TGraphicControl::DefaultHandler(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        Paint();
        return;
    }
    TControl::DefaultHandler(message);
}

void TGraphicControl::Paint() {}

} // namespace wt

namespace wt {

void TGraphicControl::Invalidate() {
    if (!Streaming())
        surface_.InvalidateWhole(Width(), Height(), !opaque_, WidgetIfCreated());
}

void TGraphicControl::Update() { surface_.UpdateNow(WidgetIfCreated()); }

} // namespace wt
