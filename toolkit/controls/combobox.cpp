#include "toolkit/controls/combobox.h"

#include "toolkit/forms/application.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>

namespace wt {

// Tells the control before its list drops down.
class TComboWidget : public QComboBox {
public:
    TComboWidget(TComboBox* owner, QWidget* parent) : QComboBox(parent), owner_(owner) {}

    void showPopup() override {
        if (owner_) {
            TComboBox* owner = owner_;
            Guarded([owner] { owner->OnDropDown(owner); });
        }
        QComboBox::showPopup();
    }

private:
    QPointer<TComboBox> owner_;
};

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 145, 21);
}

QComboBox* TComboBox::Combo() const { return static_cast<QComboBox*>(WidgetIfCreated()); }

QWidget* TComboBox::CreateWidget(QWidget* parentWidget) {
    auto* combo = new TComboWidget(this, parentWidget);
    combo->setFocusPolicy(Qt::StrongFocus);
    combo->setInsertPolicy(QComboBox::NoInsert);
    QPointer<TComboBox> self(this);
    QObject::connect(combo, &QComboBox::activated, this, [self](int index) {
        if (self)
            self->UserPicked(index);
    });
    QObject::connect(combo, &QComboBox::editTextChanged, this, [self](const QString& text) {
        if (self)
            self->UserTyped(text);
    });
    return combo;
}

void TComboBox::UpdateWidget() {
    TWinControl::UpdateWidget();
    QComboBox* combo = Combo();
    if (!combo)
        return;
    pushing_ = true;
    combo->setEditable(style_ == csDropDown);
    combo->setMaxVisibleItems(dropDownCount_);
    if (QLineEdit* edit = combo->lineEdit())
        edit->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
    pushing_ = false;
    RebuildItems();
}

void TComboBox::RebuildItems() {
    QComboBox* combo = Combo();
    if (!combo)
        return;
    pushing_ = true;
    combo->clear();
    combo->addItems(items_);
    combo->setCurrentIndex(itemIndex_);
    if (combo->isEditable())
        combo->setEditText(Text());
    pushing_ = false;
}

void TComboBox::SetStyle(TComboBoxStyle value) {
    if (value == style_)
        return;
    style_ = value;
    if (!Streaming())
        UpdateWidget();
}

void TComboBox::SetDropDownCount(int value) {
    if (value < 1 || value == dropDownCount_)
        return;
    dropDownCount_ = value;
    if (QComboBox* combo = Combo())
        combo->setMaxVisibleItems(value);
}

void TComboBox::SetItems(const QStringList& items) {
    items_ = items;
    if (sorted_)
        items_.sort(Qt::CaseInsensitive);
    if (itemIndex_ >= items_.size())
        itemIndex_ = -1;
    if (!Streaming())
        RebuildItems();
}

void TComboBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_.size())
        return;
    itemIndex_ = value;
    if (Streaming())
        return;
    if (QComboBox* combo = Combo()) {
        pushing_ = true;
        combo->setCurrentIndex(value);
        pushing_ = false;
    }
    SetText(value >= 0 ? items_[value] : QString());
}

void TComboBox::SetMaxLength(int value) {
    if (value < 0 || value == maxLength_)
        return;
    maxLength_ = value;
    if (QComboBox* combo = Combo(); combo && combo->lineEdit())
        combo->lineEdit()->setMaxLength(value > 0 ? value : 32767);
}

void TComboBox::SetSorted(bool value) {
    if (value == sorted_)
        return;
    sorted_ = value;
    if (sorted_)
        SetItems(items_);
}

void TComboBox::TextChanged() {
    TWinControl::TextChanged();
    if (QComboBox* combo = Combo();
        combo && combo->isEditable() && combo->currentText() != Text()) {
        pushing_ = true;
        combo->setEditText(Text());
        pushing_ = false;
    }
    Change();
}

void TComboBox::UserPicked(int index) {
    if (pushing_)
        return;
    itemIndex_ = index;
    Guarded([&] {
        SetText(index >= 0 && index < items_.size() ? items_[index] : QString());
        Click();
    });
}

void TComboBox::UserTyped(const QString& text) {
    if (pushing_ || text == Text())
        return;
    itemIndex_ = static_cast<int>(items_.indexOf(text));
    Guarded([&] { SetText(text); });
}

void TComboBox::Change() { OnChange(this); }

} // namespace wt
