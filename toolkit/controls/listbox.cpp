#include "toolkit/controls/listbox.h"

#include "toolkit/forms/application.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace wt {
namespace {

// Owner drawing: each item is drawn by the control on a canvas over an
// image of the item's rectangle.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    TOwnerDrawDelegate(TListBox* owner, QObject* parent)
        : QStyledItemDelegate(parent), owner_(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!owner_ || option.rect.isEmpty())
            return;
        QImage image(option.rect.size(), QImage::Format_RGB32);
        image.fill(option.palette.color(QPalette::Base));
        TCanvas canvas(&image);
        TOwnerDrawState state;
        if (option.state & QStyle::State_Selected)
            state |= odSelected;
        if (!(option.state & QStyle::State_Enabled))
            state |= odDisabled;
        if (option.state & QStyle::State_HasFocus)
            state |= odFocused;
        const TListBox* owner = owner_;
        Guarded([&] {
            const_cast<TListBox*>(owner)->PaintItem(index.row(), canvas,
                                                    {0, 0, image.width(), image.height()}, state);
        });
        painter->drawImage(option.rect.topLeft(), image);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), owner_ ? owner_->ItemHeight() : 16};
    }

private:
    QPointer<TListBox> owner_;
};

} // namespace

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    SetParentColor(false);
    SetColor(clWindow);
    SetTabStop(true);
    SetBounds(0, 0, 121, 97);
}

QListWidget* TListBox::List() const { return static_cast<QListWidget*>(WidgetIfCreated()); }

QWidget* TListBox::CreateWidget(QWidget* parentWidget) {
    auto* list = new QListWidget(parentWidget);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    QPointer<TListBox> self(this);
    QObject::connect(list, &QListWidget::currentRowChanged, this, [self](int row) {
        if (self)
            self->UserSelected(row);
    });
    QObject::connect(list, &QListWidget::itemDoubleClicked, this, [self](QListWidgetItem*) {
        if (self)
            Guarded([&] { self->DblClick(); });
    });
    return list;
}

void TListBox::UpdateWidget() {
    TWinControl::UpdateWidget();
    ApplyStyle();
    RebuildItems();
}

void TListBox::ApplyStyle() {
    QListWidget* list = List();
    if (!list)
        return;
    list->setFrameShape(borderStyle_ == bsNoBorder ? QFrame::NoFrame : QFrame::StyledPanel);
    if (style_ == lbOwnerDrawFixed) {
        if (!dynamic_cast<TOwnerDrawDelegate*>(list->itemDelegate()))
            list->setItemDelegate(new TOwnerDrawDelegate(this, list));
    } else if (dynamic_cast<TOwnerDrawDelegate*>(list->itemDelegate())) {
        list->setItemDelegate(new QStyledItemDelegate(list));
    }
    list->doItemsLayout();
}

void TListBox::RebuildItems() {
    QListWidget* list = List();
    if (!list)
        return;
    pushing_ = true;
    list->clear();
    list->addItems(items_);
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setSizeHint(QSize(0, itemHeight_));
    list->setCurrentRow(itemIndex_);
    pushing_ = false;
}

void TListBox::SetItems(const QStringList& items) {
    items_ = items;
    if (sorted_)
        items_.sort(Qt::CaseInsensitive);
    if (itemIndex_ >= items_.size())
        itemIndex_ = -1;
    if (!Streaming())
        RebuildItems();
}

void TListBox::AddItem(const QString& item) {
    QStringList items = items_;
    items << item;
    SetItems(items);
}

void TListBox::SetItemIndex(int value) {
    if (value < -1 || value >= items_.size() || value == itemIndex_)
        return;
    itemIndex_ = value;
    if (QListWidget* list = List(); list && !Streaming()) {
        pushing_ = true;
        list->setCurrentRow(value);
        pushing_ = false;
    }
}

void TListBox::UserSelected(int row) {
    if (pushing_ || row == itemIndex_)
        return;
    itemIndex_ = row;
    Guarded([this] { Click(); });
}

void TListBox::SetItemHeight(int value) {
    if (value < 1 || value == itemHeight_)
        return;
    itemHeight_ = value;
    if (!Streaming())
        RebuildItems();
}

void TListBox::SetSorted(bool value) {
    if (value == sorted_)
        return;
    sorted_ = value;
    if (sorted_)
        SetItems(items_);
}

void TListBox::SetStyle(TListBoxStyle value) {
    if (value == style_)
        return;
    style_ = value;
    if (!Streaming())
        ApplyStyle();
}

void TListBox::SetBorderStyle(TBorderStyle value) {
    if (value == borderStyle_)
        return;
    borderStyle_ = value;
    if (!Streaming())
        ApplyStyle();
}

void TListBox::FontChanged() {
    TWinControl::FontChanged();
    if (QListWidget* list = List())
        list->doItemsLayout();
}

int TListBox::TopIndex() const {
    QListWidget* list = List();
    if (!list)
        return 0;
    const QModelIndex index = list->indexAt(QPoint(1, 1));
    return index.isValid() ? index.row() : 0;
}

void TListBox::SetTopIndex(int value) {
    QListWidget* list = Widget() ? List() : nullptr;
    if (list && value >= 0 && value < list->count())
        list->scrollToItem(list->item(value), QAbstractItemView::PositionAtTop);
}

int TListBox::ItemAtPos(TPoint point) const {
    QListWidget* list = List();
    if (!list)
        return -1;
    const QPoint p = list->viewport()->mapFrom(list, QPoint(point.X, point.Y));
    const QModelIndex index = list->indexAt(p);
    return index.isValid() ? index.row() : -1;
}

TRect TListBox::ItemRect(int index) const {
    QListWidget* list = List();
    if (!list || index < 0 || index >= list->count())
        return {};
    const QRect r = list->visualItemRect(list->item(index));
    const QPoint tl = list->viewport()->mapTo(list, r.topLeft());
    return {tl.x(), tl.y(), tl.x() + r.width(), tl.y() + r.height()};
}

void TListBox::PaintItem(int index, TCanvas& canvas, TRect rect, TOwnerDrawState state) {
    drawCanvas_ = &canvas;
    try {
        DrawItem(index, rect, state);
    } catch (...) {
        drawCanvas_ = nullptr;
        throw;
    }
    drawCanvas_ = nullptr;
}

void TListBox::DrawItem(int index, TRect rect, TOwnerDrawState state) {
    TCanvas& canvas = *drawCanvas_;
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    const bool selected = state.testFlag(odSelected);
    canvas.Brush.Color = selected ? clHighlight : Color();
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(rect);
    canvas.Font = Font();
    if (selected)
        canvas.Font.Color = clHighlightText;
    if (index >= 0 && index < items_.size())
        canvas.TextOut(rect.Left + 2, rect.Top, items_[index]);
}

} // namespace wt
