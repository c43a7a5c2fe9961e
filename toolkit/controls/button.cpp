#include "toolkit/controls/button.h"

#include "toolkit/core/accel.h"
#include "toolkit/forms/application.h"
#include "toolkit/forms/form.h"

#include <QApplication>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>

namespace wt {

TButton::TButton(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

QWidget* TButton::CreateWidget(QWidget* parentWidget) {
    auto* button = new QPushButton(parentWidget);
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::StrongFocus);
    QPointer<TButton> self(this);
    QObject::connect(button, &QPushButton::clicked, this, [self] {
        if (self)
            Guarded([&] { self->Click(); });
    });
    return button;
}

void TButton::UpdateWidget() {
    TWinControl::UpdateWidget();
    if (auto* button = static_cast<QPushButton*>(WidgetIfCreated())) {
        button->setText(Caption());
        // Accelerators come through the form (CM_DIALOGCHAR), not Qt's shortcuts.
        button->setShortcut(QKeySequence());
        button->setDefault(default_);
    }
}

void TButton::TextChanged() {
    TWinControl::TextChanged();
    if (auto* button = static_cast<QPushButton*>(WidgetIfCreated())) {
        button->setText(Caption());
        button->setShortcut(QKeySequence());
    }
}

void TButton::SetDefault(bool value) {
    if (value == default_)
        return;
    default_ = value;
    if (auto* button = static_cast<QPushButton*>(WidgetIfCreated()); button && !Streaming())
        button->setDefault(default_);
}

void TButton::Click() {
    if (TForm* form = GetParentForm(this))
        form->SetModalResult(modalResult_);
    TWinControl::Click();
}

bool TButton::ActiveForEnter() const {
    const TControl* focused = TControl::FromWidget(QApplication::focusWidget());
    if (const auto* button = dynamic_cast<const TButton*>(focused))
        return button == this;
    return default_;
}

void TButton::DefaultHandler(TMessage& message) {
    if (message.Msg == CM_DIALOGKEY) {
        const auto key = static_cast<std::uint16_t>(message.WParam);
        const auto shift = TShiftState::fromInt(static_cast<int>(message.LParam));
        if (((key == VK_RETURN && ActiveForEnter()) || (key == VK_ESCAPE && cancel_)) &&
            shift == TShiftState() && CanFocus()) {
            message.Result = 1;
            Guarded([this] { Click(); });
            return;
        }
    } else if (message.Msg == CM_DIALOGCHAR) {
        if (IsAccel(QChar(static_cast<char16_t>(message.WParam)), Caption()) && CanFocus()) {
            message.Result = 1;
            Guarded([this] { Click(); });
            return;
        }
    }
    TWinControl::DefaultHandler(message);
}

} // namespace wt
