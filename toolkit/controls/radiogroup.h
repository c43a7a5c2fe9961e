// TRadioGroup: a captioned group of radio buttons, one per item, laid out in
// Columns, column by column. ItemIndex is the selected item
// (-1 none); a new selection, by the user or from code, runs OnClick.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

#include <QStringList>

#include <vector>

class QGroupBox;
class QRadioButton;

namespace wt {

class TRadioGroup : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Columns", "1")
    Q_CLASSINFO("Default.Items", "()")
    Q_CLASSINFO("Default.ItemIndex", "-1")

public:
    explicit TRadioGroup(TComponent* owner = nullptr);

    // 1 to 16.
    int Columns() const { return columns_; }
    void SetColumns(int value);
    QStringList Items() const { return items_; }
    // New items keep the selection when its index still exists.
    void SetItems(const QStringList& items);
    int ItemIndex() const { return itemIndex_; }
    // Brought within -1 and the last item.
    void SetItemIndex(int value);

    // Where button index sits in the group (left, top, width, height).
    TRect ButtonRect(int index) const;
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }

    void DefaultHandler(TMessage& message) override;
    void Loaded() override;

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void TextChanged() override;
    void FontChanged() override;
    void BoundsChanged() override;

private:
    QGroupBox* Box() const;
    void RebuildButtons();
    void ArrangeButtons();
    void UpdateChecks();
    void ButtonClicked(int index);

    int columns_ = 1;
    QStringList items_;
    int itemIndex_ = -1;
    std::vector<QRadioButton*> buttons_;
    bool updating_ = false;
};

WT_REGISTER_CLASS(TRadioGroup);

} // namespace wt
