#include "toolkit/controls/menus.h"

#include "toolkit/core/reader.h"
#include "toolkit/forms/application.h"

#include <QAction>
#include <QMenu>

#include <algorithm>
#include <map>

namespace wt {
namespace {

// After a menu or an item has read its part of a form description: the
// items nested in it, made by the reader for the form, join its list in
// the order they were written.
void AttachReadItems(TReader& reader, TMenuItem& into) {
    TComponent* owner = reader.Owner() ? reader.Owner() : reader.Root();
    for (const TFormObject& child : reader.Current().Children) {
        auto* item = qobject_cast<TMenuItem*>(owner->FindComponent(child.Name));
        if (!item)
            continue; // not an item: it keeps what the reader made of it
        if (item->Parent() != &into)
            into.Add(item);
    }
}

std::vector<TComponent*> WrittenItems(const TMenuItem& item, TComponent* root) {
    std::vector<TComponent*> out;
    for (int i = 0; i < item.Count(); ++i)
        if (item.Items(i)->Owner() == root)
            out.push_back(item.Items(i));
    return out;
}

using ActionItems = std::map<QAction*, QPointer<TMenuItem>>;

void Fill(QMenu& menu, const TMenuItem& from, ActionItems& actions) {
    for (int i = 0; i < from.Count(); ++i) {
        TMenuItem* item = from.Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            menu.addSeparator();
            continue;
        }
        if (item->Count() > 0) {
            QMenu* sub = menu.addMenu(item->Caption());
            sub->setEnabled(item->Enabled());
            Fill(*sub, *item, actions);
            continue;
        }
        QAction* action = menu.addAction(item->Caption());
        action->setEnabled(item->Enabled());
        action->setCheckable(item->Checked());
        action->setChecked(item->Checked());
        actions[action] = item;
    }
}

} // namespace

// ---------------------------------------------------------------------------
// TMenuItem

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    Clear();
    if (parent_)
        parent_->Remove(this);
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EMenuError("Menu index out of range: " + std::to_string(index) + " of " +
                         std::to_string(Count()) + " items");
    return items_[static_cast<std::size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item)
        throw EMenuError("No menu item to insert");
    if (item->parent_)
        throw EMenuError("Menu item " + ToStd(item->Name()) + " is in a menu already");
    for (const TMenuItem* above = this; above; above = above->parent_)
        if (above == item)
            throw EMenuError("A menu item cannot hold itself");
    if (index < 0 || index > Count())
        throw EMenuError("Menu index out of range: " + std::to_string(index) + " of " +
                         std::to_string(Count()) + " items");
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Delete(int index) {
    TMenuItem* item = Items(index);
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
}

void TMenuItem::Remove(TMenuItem* item) {
    const int index = IndexOf(item);
    if (index >= 0)
        Delete(index);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        delete items_.back(); // leaves the list itself
}

void TMenuItem::Click() {
    if (enabled_)
        OnClick(this);
}

void TMenuItem::ReadState(TReader& reader) {
    TComponent::ReadState(reader);
    AttachReadItems(reader, *this);
}

std::vector<TComponent*> TMenuItem::StreamedChildren(TComponent* root) const {
    return WrittenItems(*this, root);
}

// ---------------------------------------------------------------------------
// TMenu

TMenu::TMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {}

TMenu::~TMenu() { delete items_; }

void TMenu::ReadState(TReader& reader) {
    TComponent::ReadState(reader);
    AttachReadItems(reader, *items_);
}

std::vector<TComponent*> TMenu::StreamedChildren(TComponent* root) const {
    return WrittenItems(*items_, root);
}

// ---------------------------------------------------------------------------
// TPopupMenu

void TPopupMenu::Popup(int x, int y) {
    OnPopup(this);
    QMenu menu;
    ActionItems actions;
    Fill(menu, *Items(), actions);
    if (menu.isEmpty())
        return;
    QAction* chosen = menu.exec(QPoint(x, y));
    const auto it = actions.find(chosen);
    if (it != actions.end() && it->second)
        it->second->Click();
}

} // namespace wt
