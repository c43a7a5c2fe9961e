#include "toolkit/controls/radiogroup.h"

#include "toolkit/core/accel.h"
#include "toolkit/forms/application.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeySequence>
#include <QPointer>
#include <QRadioButton>

#include <algorithm>

namespace wt {

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 185, 105); }

QGroupBox* TRadioGroup::Box() const { return static_cast<QGroupBox*>(WidgetIfCreated()); }

QWidget* TRadioGroup::CreateWidget(QWidget* parentWidget) {
    buttons_.clear();
    return new QGroupBox(parentWidget);
}

void TRadioGroup::UpdateWidget() {
    TWinControl::UpdateWidget();
    if (QGroupBox* box = Box())
        box->setTitle(Caption());
    RebuildButtons();
}

void TRadioGroup::RebuildButtons() {
    QGroupBox* box = Box();
    if (!box)
        return;
    for (QRadioButton* b : buttons_)
        delete b;
    buttons_.clear();
    for (int i = 0; i < items_.size(); ++i) {
        auto* button = new QRadioButton(items_[i], box);
        button->setShortcut(QKeySequence());
        button->setFocusPolicy(Qt::StrongFocus);
        QPointer<TRadioGroup> self(this);
        QObject::connect(button, &QRadioButton::clicked, this, [self, i] {
            if (self)
                self->ButtonClicked(i);
        });
        button->show();
        buttons_.push_back(button);
    }
    ArrangeButtons();
    UpdateChecks();
}

TRect TRadioGroup::ButtonRect(int index) const {
    const int count = static_cast<int>(items_.size());
    if (index < 0 || index >= count)
        return {};
    const int perColumn = (count + columns_ - 1) / columns_;
    const int buttonWidth = (Width() - 10) / columns_;
    const int fontHeight = QFontMetrics(ToQFont(Font())).height();
    const int space = Height() - fontHeight - 5;
    const int buttonHeight = space / perColumn;
    const int topMargin = fontHeight + 1 + (space % perColumn) / 2;
    const int left = (index / perColumn) * buttonWidth + 8;
    const int top = (index % perColumn) * buttonHeight + topMargin;
    return {left, top, left + buttonWidth, top + buttonHeight};
}

void TRadioGroup::ArrangeButtons() {
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        const TRect r = ButtonRect(i);
        buttons_[static_cast<std::size_t>(i)]->setGeometry(r.Left, r.Top, std::max(r.Width(), 0),
                                                           std::max(r.Height(), 0));
    }
}

void TRadioGroup::UpdateChecks() {
    updating_ = true;
    for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
        QRadioButton* b = buttons_[static_cast<std::size_t>(i)];
        // Exclusive buttons cannot be cleared one by one.
        b->setAutoExclusive(false);
        b->setChecked(i == itemIndex_);
        b->setAutoExclusive(true);
    }
    updating_ = false;
}

void TRadioGroup::ButtonClicked(int index) {
    if (updating_ || index == itemIndex_)
        return;
    itemIndex_ = index;
    UpdateChecks();
    Guarded([this] { Click(); });
}

void TRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (value == columns_)
        return;
    columns_ = value;
    if (!Streaming())
        ArrangeButtons();
}

void TRadioGroup::SetItems(const QStringList& items) {
    items_ = items;
    if (Streaming())
        return;
    if (itemIndex_ >= items_.size())
        itemIndex_ = static_cast<int>(items_.size()) - 1;
    RebuildButtons();
}

void TRadioGroup::SetItemIndex(int value) {
    if (Streaming()) {
        itemIndex_ = value;
        return;
    }
    value = std::clamp(value, -1, static_cast<int>(items_.size()) - 1);
    if (value == itemIndex_)
        return;
    itemIndex_ = value;
    UpdateChecks();
    // A selection made from code runs OnClick too, as a user's does.
    if (itemIndex_ >= 0)
        Click();
}

void TRadioGroup::Loaded() {
    TWinControl::Loaded();
    itemIndex_ = std::clamp(itemIndex_, -1, static_cast<int>(items_.size()) - 1);
    RebuildButtons();
}

void TRadioGroup::TextChanged() {
    TWinControl::TextChanged();
    if (QGroupBox* box = Box())
        box->setTitle(Caption());
}

void TRadioGroup::FontChanged() {
    TWinControl::FontChanged();
    ArrangeButtons();
}

void TRadioGroup::BoundsChanged() {
    TWinControl::BoundsChanged();
    ArrangeButtons();
}

void TRadioGroup::DefaultHandler(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR && Enabled() && Showing()) {
        const QChar ch(static_cast<char16_t>(message.WParam));
        for (int i = 0; i < items_.size(); ++i) {
            if (!IsAccel(ch, items_[i]))
                continue;
            if (i < static_cast<int>(buttons_.size()))
                buttons_[static_cast<std::size_t>(i)]->setFocus(Qt::ShortcutFocusReason);
            message.Result = 1;
            Guarded([this, i] { SetItemIndex(i); });
            return;
        }
    }
    TWinControl::DefaultHandler(message);
}

} // namespace wt
