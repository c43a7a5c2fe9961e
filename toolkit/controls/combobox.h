// TComboBox: an edit with a drop-down list over QComboBox. csDropDown lets
// the user type, csDropDownList only choose. OnChange runs when the text
// changes, OnClick when the user picks an item.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

#include <QStringList>

class QComboBox;

namespace wt {

class TComboBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(QString Text READ Text WRITE SetText)
    Q_CLASSINFO("Default.Style", "csDropDown")
    Q_CLASSINFO("Default.DropDownCount", "8")
    Q_CLASSINFO("Default.Items", "()")
    Q_CLASSINFO("Default.MaxLength", "0")
    Q_CLASSINFO("Default.Sorted", "False")
    Q_CLASSINFO("Default.Text", "''")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    enum TComboBoxStyle { csDropDown, csDropDownList };
    Q_ENUM(TComboBoxStyle)

    explicit TComboBox(TComponent* owner = nullptr);

    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    int ItemIndex() const { return itemIndex_; }
    // Selects an item (its text becomes the text); -1 clears the selection.
    void SetItemIndex(int value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);

    TNotifyEvent OnChange{this, "OnChange"};
    TNotifyEvent OnDropDown{this, "OnDropDown"};

protected:
    virtual void Change();
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void TextChanged() override;

private:
    friend class TComboWidget;
    QComboBox* Combo() const;
    void RebuildItems();
    void UserPicked(int index);
    void UserTyped(const QString& text);

    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
    QStringList items_;
    int itemIndex_ = -1;
    int maxLength_ = 0;
    bool sorted_ = false;
    bool pushing_ = false;
};

using TComboBoxStyle = TComboBox::TComboBoxStyle;

WT_REGISTER_CLASS(TComboBox);

} // namespace wt
