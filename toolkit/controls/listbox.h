// TListBox: a list of strings over QListWidget with the selected ItemIndex,
// sorting, a fixed item height, and owner drawing (lbOwnerDrawFixed: each
// item is drawn by DrawItem on a canvas). A selection by the user runs OnClick.
#pragma once

#include "toolkit/graphics/canvas.h"
#include "toolkit/core/classes.h"
#include "toolkit/controls/control.h"

#include <QStringList>

class QListWidget;

namespace wt {

class TListBox;

enum TOwnerDrawFlag { odSelected = 1, odDisabled = 2, odFocused = 4 };
Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawFlag)

using TDrawItemEvent = TEvent<TObject*, int, TRect, TOwnerDrawState>;

class TListBox : public TWinControl {
    Q_OBJECT
    Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(TListBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(wt::ui::TBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_CLASSINFO("Default.Items", "()")
    Q_CLASSINFO("Default.ItemHeight", "16")
    Q_CLASSINFO("Default.Sorted", "False")
    Q_CLASSINFO("Default.Style", "lbStandard")
    Q_CLASSINFO("Default.BorderStyle", "bsSingleBorder")
    Q_CLASSINFO("Default.ParentColor", "False")
    Q_CLASSINFO("Default.TabStop", "True")

public:
    enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
    Q_ENUM(TListBoxStyle)

    explicit TListBox(TComponent* owner = nullptr);

    QStringList Items() const { return items_; }
    void SetItems(const QStringList& items);
    int Count() const { return static_cast<int>(items_.size()); }
    void AddItem(const QString& item);
    void Clear() { SetItems({}); }
    int ItemIndex() const { return itemIndex_; }
    // -1 clears the selection; other values outside the list are ignored.
    void SetItemIndex(int value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // The first item shown.
    int TopIndex() const;
    void SetTopIndex(int value);
    // The item at a point of the control, -1 for none.
    int ItemAtPos(TPoint point) const;
    TRect ItemRect(int index) const;

    // The canvas of the item being drawn (only while DrawItem runs).
    TCanvas* Canvas() const { return drawCanvas_; }
    // Draws one owner-drawn item; the default fills the rectangle and writes
    // the item's text, then runs OnDrawItem when assigned.
    virtual void DrawItem(int index, TRect rect, TOwnerDrawState state);
    void PaintItem(int index, TCanvas& canvas, TRect rect, TOwnerDrawState state);

    TDrawItemEvent OnDrawItem{this, "OnDrawItem"};

protected:
    QWidget* CreateWidget(QWidget* parentWidget) override;
    void UpdateWidget() override;
    void FontChanged() override;

private:
    QListWidget* List() const;
    void RebuildItems();
    void ApplyStyle();
    void UserSelected(int row);

    QStringList items_;
    int itemIndex_ = -1;
    int itemHeight_ = 16;
    bool sorted_ = false;
    TListBoxStyle style_ = lbStandard;
    TBorderStyle borderStyle_ = bsSingleBorder;
    TCanvas* drawCanvas_ = nullptr;
    bool pushing_ = false;
};

using TListBoxStyle = TListBox::TListBoxStyle;

WT_REGISTER_CLASS(TListBox);

} // namespace wt

Q_DECLARE_OPERATORS_FOR_FLAGS(wt::TOwnerDrawState)
