#include "toolkit/controls/spinedit.h"

#include "toolkit/forms/application.h"

#include <QLineEdit>
#include <QSpinBox>

#include <algorithm>
#include <climits>

namespace wt {

TSpinEdit::TSpinEdit(TComponent* owner) : TWinControl(owner) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 22);
}

QSpinBox* TSpinEdit::SpinBox() const { return static_cast<QSpinBox*>(WidgetIfCreated()); }

int TSpinEdit::CheckValue(int value) const {
    if (maxValue_ == minValue_)
        return value;
    return std::clamp(value, std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
}

QWidget* TSpinEdit::CreateWidget(QWidget* parentWidget) {
    auto* box = new QSpinBox(parentWidget);
    box->setFocusPolicy(Qt::StrongFocus);
    box->setKeyboardTracking(true);
    // A number typed beyond a bound becomes that bound when the field is left
    // (letters cannot be typed at all).
    box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    QObject::connect(box, &QSpinBox::valueChanged, this, [this](int v) { WidgetValueChanged(v); });
    return box;
}

void TSpinEdit::ApplyRange() {
    QSpinBox* box = SpinBox();
    if (!box)
        return;
    pushing_ = true;
    if (minValue_ == maxValue_)
        box->setRange(INT_MIN, INT_MAX);
    else
        box->setRange(std::min(minValue_, maxValue_), std::max(minValue_, maxValue_));
    box->setSingleStep(increment_);
    if (auto* line = box->findChild<QLineEdit*>())
        line->setReadOnly(!editorEnabled_);
    box->setValue(value_);
    pushing_ = false;
}

void TSpinEdit::UpdateWidget() {
    TWinControl::UpdateWidget();
    ApplyRange();
}

void TSpinEdit::Loaded() {
    TWinControl::Loaded();
    value_ = CheckValue(value_);
    ApplyRange();
}

void TSpinEdit::SetMinValue(int value) {
    if (value == minValue_)
        return;
    minValue_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::SetMaxValue(int value) {
    if (value == maxValue_)
        return;
    maxValue_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::SetValue(int value) {
    if (!Streaming())
        value = CheckValue(value);
    if (value == value_)
        return;
    value_ = value;
    if (Streaming())
        return;
    ApplyRange();
    Change();
}

void TSpinEdit::SetIncrement(int value) {
    if (value == increment_)
        return;
    increment_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::SetEditorEnabled(bool value) {
    if (value == editorEnabled_)
        return;
    editorEnabled_ = value;
    if (!Streaming())
        ApplyRange();
}

void TSpinEdit::WidgetValueChanged(int value) {
    if (pushing_ || value == value_)
        return;
    value_ = value;
    Guarded([this] { Change(); });
}

void TSpinEdit::Change() { OnChange(this); }

} // namespace wt
