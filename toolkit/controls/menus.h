// Menus: TMenuItem (caption, enabled and checked states, OnClick, items of
// its own), TMenu, which holds the top item, and TPopupMenu, which shows its
// items at a screen point: a control's PopupMenu comes up at the pointer on
// a right click or the menu key. A caption "-" makes a separator line.
#pragma once

#include "toolkit/core/classes.h"
#include "toolkit/core/component.h"
#include "toolkit/core/event.h"

#include <QPointer>

#include <stdexcept>
#include <vector>

namespace wt {

// Misuse of the item lists: an index out of range, an item put in twice.
class EMenuError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TMenuItem : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_CLASSINFO("Default.Caption", "''")
    Q_CLASSINFO("Default.Checked", "False")
    Q_CLASSINFO("Default.Enabled", "True")
    Q_CLASSINFO("Default.Visible", "True")

public:
    explicit TMenuItem(TComponent* owner = nullptr);
    // Leaves its parent item and frees its own items.
    ~TMenuItem() override;

    QString Caption() const { return caption_; }
    void SetCaption(const QString& value) { caption_ = value; }
    bool Checked() const { return checked_; }
    void SetChecked(bool value) { checked_ = value; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value) { enabled_ = value; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value) { visible_ = value; }
    bool IsLine() const { return caption_ == QLatin1String("-"); }

    // --- The items below this one ------------------------------------------------
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws EMenuError outside 0..Count()-1.
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem* item) const; // -1 when not one of them
    // An item that already has a parent, or this item or one above it,
    // throws EMenuError; Insert takes 0..Count().
    void Add(TMenuItem* item) { Insert(Count(), item); }
    void Insert(int index, TMenuItem* item);
    // Takes the item out of the list; it is not freed (its owner frees it).
    void Delete(int index);
    void Remove(TMenuItem* item);
    // Frees every item below this one.
    void Clear();

    // Raises OnClick; nothing while disabled.
    virtual void Click();
    TNotifyEvent OnClick{this, "OnClick"};

    // Items nested in a form description go into this item's list.
    void ReadState(TReader& reader) override;
    std::vector<TComponent*> StreamedChildren(TComponent* root) const override;

private:
    QString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TMenu : public TComponent {
    Q_OBJECT
public:
    explicit TMenu(TComponent* owner = nullptr);
    ~TMenu() override;

    // The top item: its items are the menu's.
    TMenuItem* Items() const { return items_; }

    void ReadState(TReader& reader) override;
    std::vector<TComponent*> StreamedChildren(TComponent* root) const override;

private:
    TMenuItem* items_;
};

class TPopupMenu : public TMenu {
    Q_OBJECT
    Q_PROPERTY(bool AutoPopup READ AutoPopup WRITE SetAutoPopup)
    Q_CLASSINFO("Default.AutoPopup", "True")

public:
    explicit TPopupMenu(TComponent* owner = nullptr) : TMenu(owner) {}

    // False: a control's right click and menu key leave the menu alone; code
    // may still call Popup.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    // The control whose right click or menu key showed the menu last.
    TComponent* PopupComponent() const { return popupComponent_.data(); }
    void SetPopupComponent(TComponent* component) { popupComponent_ = component; }

    // Raises OnPopup, shows the visible items at the screen point and waits
    // until one is chosen or the menu is dismissed; the chosen item's Click
    // runs after the menu has closed.
    virtual void Popup(int x, int y);

    TNotifyEvent OnPopup{this, "OnPopup"};

private:
    bool autoPopup_ = true;
    QPointer<TComponent> popupComponent_;
};

WT_REGISTER_CLASS(TMenuItem);
WT_REGISTER_CLASS(TPopupMenu);

} // namespace wt
