#include "toolkit/controls/checkbox.h"

#include "toolkit/core/accel.h"
#include "toolkit/forms/application.h"

#include <QCheckBox>
#include <QKeySequence>
#include <QPointer>

namespace wt {
namespace {

// A user's click asks the control for the next state, so that the order of
// states and the OnClick that follows are the control's, not Qt's.
class TCheckBoxWidget : public QCheckBox {
public:
    TCheckBoxWidget(TCheckBox* owner, QWidget* parent) : QCheckBox(parent), owner_(owner) {}

protected:
    void nextCheckState() override {
        TCheckBox* owner = owner_;
        Guarded([owner] { owner->Toggle(); });
    }

private:
    QPointer<TCheckBox> owner_;
};

Qt::CheckState QtState(TCheckBoxState state) {
    switch (state) {
    case TCheckBox::cbChecked: return Qt::Checked;
    case TCheckBox::cbGrayed: return Qt::PartiallyChecked;
    default: return Qt::Unchecked;
    }
}

} // namespace

TCheckBox::TCheckBox(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 97, 17);
}

QCheckBox* TCheckBox::Box() const { return static_cast<QCheckBox*>(WidgetIfCreated()); }

QWidget* TCheckBox::CreateWidget(QWidget* parentWidget) {
    auto* box = new TCheckBoxWidget(this, parentWidget);
    box->setTristate(true);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

void TCheckBox::UpdateWidget() {
    TWinControl::UpdateWidget();
    QCheckBox* box = Box();
    if (!box)
        return;
    box->setText(Caption());
    // Accelerators come through the form (CM_DIALOGCHAR), not Qt's shortcuts.
    box->setShortcut(QKeySequence());
    box->setLayoutDirection(alignment_ == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
    ApplyState();
}

void TCheckBox::ApplyState() {
    if (QCheckBox* box = Box())
        box->setCheckState(QtState(state_));
}

void TCheckBox::TextChanged() {
    TWinControl::TextChanged();
    if (QCheckBox* box = Box()) {
        box->setText(Caption());
        box->setShortcut(QKeySequence());
    }
}

void TCheckBox::SetAlignment(TAlignment value) {
    if (value == alignment_)
        return;
    alignment_ = value;
    if (QCheckBox* box = Box(); box && !Streaming())
        box->setLayoutDirection(alignment_ == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void TCheckBox::SetState(TCheckBoxState value) {
    if (value == state_)
        return;
    state_ = value;
    if (Streaming())
        return;
    ApplyState();
    Click();
}

void TCheckBox::Toggle() {
    switch (state_) {
    case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
    case cbChecked: SetState(cbUnchecked); break;
    case cbGrayed: SetState(cbChecked); break;
    }
}

void TCheckBox::DefaultHandler(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && Enabled() && Showing() &&
        IsAccel(QChar(static_cast<char16_t>(message.WParam)), Caption())) {
        SetFocus();
        Toggle();
        message.Result = 1;
        return;
    }
    TWinControl::DefaultHandler(message);
}

} // namespace wt
