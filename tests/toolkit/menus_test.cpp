// Popup menus: the item lists, a click reaching the chosen item, the menu a
// right click or the menu key brings up (and the parent's when a control has
// none), menus in form descriptions; the control style's caption rule; and
// drags of the toolkit's own controls onto an edit.
#include "tests/toolkit/form_support.h"

#include "toolkit/controls/edit.h"
#include "toolkit/controls/menus.h"
#include "toolkit/controls/panel.h"
#include "toolkit/core/writer.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

namespace wt::test {
namespace {

TMenuItem* Item(TComponent* owner, const char* caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(QString::fromLatin1(caption));
    return item;
}

QStringList Captions(const TMenuItem& parent) {
    QStringList out;
    for (int i = 0; i < parent.Count(); ++i)
        out << parent.Items(i)->Caption();
    return out;
}

TEST(MenuItemTest, ListsAddInsertDeleteAndRefuseMisuse) {
    TComponent owner;
    TMenuItem top(nullptr);
    TMenuItem* cut = Item(&owner, "Cu&t");
    TMenuItem* paste = Item(&owner, "&Paste");
    TMenuItem* line = Item(&owner, "-");
    top.Add(cut);
    top.Add(paste);
    top.Insert(1, line);
    EXPECT_EQ(Captions(top), QStringList({"Cu&t", "-", "&Paste"}));
    EXPECT_EQ(top.IndexOf(paste), 2);
    EXPECT_EQ(paste->Parent(), &top);
    EXPECT_TRUE(line->IsLine());
    EXPECT_FALSE(cut->IsLine());

    EXPECT_THROW(top.Items(3), EMenuError);
    EXPECT_THROW(top.Items(-1), EMenuError);
    EXPECT_THROW(top.Insert(5, Item(&owner, "late")), EMenuError);
    EXPECT_THROW(top.Add(cut), EMenuError) << "in twice";
    TMenuItem* sub = Item(&owner, "sub");
    cut->Add(sub);
    EXPECT_THROW(sub->Add(&top), EMenuError) << "an item above itself";
    EXPECT_THROW(sub->Add(sub), EMenuError);

    top.Delete(1); // taken out, not freed: the owner still has it
    EXPECT_EQ(Captions(top), QStringList({"Cu&t", "&Paste"}));
    EXPECT_EQ(line->Parent(), nullptr);
    top.Add(line);
    EXPECT_EQ(top.Count(), 3);

    QPointer<TMenuItem> subGuard = sub;
    delete cut; // leaves the list and frees its own items
    EXPECT_EQ(Captions(top), QStringList({"&Paste", "-"}));
    EXPECT_TRUE(subGuard.isNull());
}

TEST(MenuItemTest, AClickReachesOnlyAnEnabledItem) {
    TMenuItem item(nullptr);
    std::vector<TObject*> senders;
    item.OnClick = [&](TObject* sender) { senders.push_back(sender); };
    item.Click();
    item.SetEnabled(false);
    item.Click();
    EXPECT_EQ(senders, std::vector<TObject*>({&item}));
}

// Runs on the next popup menu once it shows: what it lists, then the keys.
struct PopupWatch {
    QStringList shown; // action texts, "-" for a separator, "(off)" after a disabled one
    QPoint at;         // where it showed
    void Then(std::vector<int> keys) {
        QTimer::singleShot(0, [this, keys] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            at = menu->pos();
            for (QAction* a : menu->actions())
                shown << (a->isSeparator() ? QStringLiteral("-")
                                           : a->text() + (a->isEnabled() ? "" : "(off)") +
                                                 (a->isChecked() ? "(x)" : ""));
            for (int key : keys)
                QTest::keyClick(menu, static_cast<Qt::Key>(key));
        });
    }
};

class PopupTest : public FormTest {
protected:
    void SetUp() override {
        FormTest::SetUp();
        form = std::make_unique<TfrmProbe>();
        form->SetBounds(100, 100, 300, 200);
        panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, 0, 300, 200);
        edit = new TEdit(form.get());
        edit->SetParent(panel);
        edit->SetBounds(10, 10, 120, 21);
        menu = new TPopupMenu(form.get());
        open = Item(form.get(), "&Open");
        menu->Items()->Add(open);
        menu->Items()->Add(Item(form.get(), "-"));
        TMenuItem* off = Item(form.get(), "Gone");
        off->SetEnabled(false);
        menu->Items()->Add(off);
        TMenuItem* hidden = Item(form.get(), "Hidden");
        hidden->SetVisible(false);
        menu->Items()->Add(hidden);
        wrap = Item(form.get(), "&Wrap");
        wrap->SetChecked(true);
        menu->Items()->Add(wrap);
        for (TMenuItem* item : {open, wrap})
            item->OnClick = [this](TObject* sender) { clicked.push_back(sender); };
        form->Show();
    }
    // A right click (or the menu key) as the window system reports it.
    bool Context(TControl* on, QContextMenuEvent::Reason reason, QPoint local) {
        QContextMenuEvent event(reason, local, on->Widget()->mapToGlobal(local));
        QApplication::sendEvent(on->Widget(), &event);
        return event.isAccepted();
    }
    std::unique_ptr<TfrmProbe> form;
    TPanel* panel = nullptr;
    TEdit* edit = nullptr;
    TPopupMenu* menu = nullptr;
    TMenuItem* open = nullptr;
    TMenuItem* wrap = nullptr;
    std::vector<TObject*> clicked;
};

TEST_F(PopupTest, ARightClickShowsTheMenuAtThePointAndRunsTheChosenItem) {
    edit->SetPopupMenu(menu);
    PopupWatch watch;
    watch.Then({Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}); // past the disabled one
    Context(edit, QContextMenuEvent::Mouse, {5, 6});
    EXPECT_EQ(watch.shown, QStringList({"&Open", "-", "Gone(off)", "&Wrap(x)"}));
    EXPECT_EQ(watch.at, edit->Widget()->mapToGlobal(QPoint(5, 6)));
    EXPECT_EQ(clicked, std::vector<TObject*>({wrap}));
    EXPECT_EQ(menu->PopupComponent(), edit);
}

TEST_F(PopupTest, TheMenuKeyShowsItAtThePointerAndEscapeChoosesNothing) {
    edit->SetPopupMenu(menu);
    int popups = 0;
    menu->OnPopup = [&](TObject* sender) {
        EXPECT_EQ(sender, menu);
        ++popups;
    };
    QCursor::setPos(150, 160);
    PopupWatch watch;
    watch.Then({Qt::Key_Escape});
    Context(edit, QContextMenuEvent::Keyboard, {0, 0});
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(watch.at, QCursor::pos());
    EXPECT_TRUE(clicked.empty());
}

TEST_F(PopupTest, AControlWithoutAMenuPassesTheClickToItsParentButAnEditShowsItsOwn) {
    panel->SetPopupMenu(menu);
    auto* inner = new TPanel(form.get());
    inner->SetParent(panel);
    inner->SetBounds(10, 50, 60, 40);
    PopupWatch watch;
    watch.Then({Qt::Key_Down, Qt::Key_Return});
    Context(inner, QContextMenuEvent::Mouse, {3, 3});
    EXPECT_EQ(clicked, std::vector<TObject*>({open}));
    EXPECT_EQ(menu->PopupComponent(), panel);

    PopupWatch own; // the edit's standard menu, not the panel's
    own.Then({Qt::Key_Escape});
    Context(edit, QContextMenuEvent::Mouse, {3, 3});
    QApplication::processEvents(); // Qt's menu does not wait for a choice
    EXPECT_FALSE(own.shown.isEmpty());
    EXPECT_FALSE(own.shown.contains(QStringLiteral("&Open"))) << own.shown.join(u' ').toStdString();

    // AutoPopup off: the menu stays for code to show; nothing comes up.
    menu->SetAutoPopup(false);
    PopupWatch none;
    none.Then({Qt::Key_Escape});
    Context(inner, QContextMenuEvent::Mouse, {3, 3});
    QApplication::processEvents();
    EXPECT_TRUE(none.shown.isEmpty());
}

TEST_F(PopupTest, AFormDescriptionNestsItemsAndReferencesTheMenu) {
    const char* text = R"(object frmProbe: TfrmProbe
  Left = 0
  Top = 0
  Width = 200
  Height = 100
  object field: TEdit
    Left = 4
    Top = 4
    Width = 100
    Height = 21
    PopupMenu = menuEdit
    TabOrder = 0
  end
  object menuEdit: TPopupMenu
    object itemCut: TMenuItem
      Caption = 'Cu&t'
      OnClick = ProbePing
    end
    object itemLine: TMenuItem
      Caption = '-'
    end
    object itemMore: TMenuItem
      Caption = 'More'
      object itemDeep: TMenuItem
        Caption = 'Deep'
        Checked = True
      end
    end
  end
end
)";
    TfrmProbe read;
    read.ReadForm(text, QStringLiteral("menu.wfm"));
    auto* field = qobject_cast<TEdit*>(read.FindComponent(QStringLiteral("field")));
    auto* popup = qobject_cast<TPopupMenu*>(read.FindComponent(QStringLiteral("menuEdit")));
    ASSERT_TRUE(field && popup);
    EXPECT_EQ(field->PopupMenu(), popup);
    EXPECT_EQ(Captions(*popup->Items()), QStringList({"Cu&t", "-", "More"}));
    TMenuItem* more = popup->Items()->Items(2);
    ASSERT_EQ(more->Count(), 1);
    EXPECT_TRUE(more->Items(0)->Checked());
    popup->Items()->Items(0)->Click();
    EXPECT_EQ(read.pings, std::vector<TObject*>({popup->Items()->Items(0)}));

    // Written back: the items inside their menu, once each; read again alike.
    const QString written = WriteFormDescription(&read);
    EXPECT_EQ(written.count(QStringLiteral("object itemDeep")), 1) << written.toStdString();
    TfrmProbe again;
    again.ReadForm(written.toStdString(), QStringLiteral("written.wfm"));
    EXPECT_EQ(WriteFormDescription(&again), written);
}

TEST_F(PopupTest, APanelsCaptionFollowsItsNameSetInCodeOnly) {
    auto* named = new TPanel(form.get());
    named->SetName(QStringLiteral("Panel7"));
    EXPECT_EQ(named->Caption(), QStringLiteral("Panel7"));
    named->SetCaption(QStringLiteral("Own"));
    named->SetName(QStringLiteral("Panel8")); // a caption of its own stays
    EXPECT_EQ(named->Caption(), QStringLiteral("Own"));

    TfrmProbe read; // read from a form: the stored caption, not the name
    read.ReadForm("object frmProbe: TfrmProbe\n  object pnlRead: TPanel\n  end\nend",
                  QStringLiteral("panel.wfm"));
    auto* fromForm = qobject_cast<TPanel*>(read.FindComponent(QStringLiteral("pnlRead")));
    ASSERT_NE(fromForm, nullptr);
    EXPECT_EQ(fromForm->Caption(), QString());
}

// Drags of the toolkit's own controls: from one edit onto another.
class DragTest : public PopupTest {
protected:
    void SetUp() override {
        PopupTest::SetUp();
        target = new TEdit(form.get());
        target->SetParent(panel);
        target->SetBounds(10, 100, 120, 21);
        target->OnDragOver = [this](TObject*, TObject* source, int, int, TDragState state,
                                    bool& accept) {
            states.push_back(state);
            accept = source == edit && accepting;
        };
        target->OnDragDrop = [this](TObject* sender, TObject* source, int x, int y) {
            dropped = {sender, source, x, y};
        };
        edit->OnEndDrag = [this](TObject* sender, TObject* to, int x, int y) {
            ended.push_back({sender, to, x, y});
        };
        QApplication::processEvents();
    }
    struct Seen {
        TObject* Sender = nullptr;
        TObject* Other = nullptr;
        int X = 0, Y = 0;
        bool operator==(const Seen&) const = default;
    };
    // A mouse move of the drag over the target's point; the source keeps
    // the mouse while its button is down.
    void MoveOver(TControl* over, QPoint local, Qt::MouseButtons buttons = Qt::LeftButton) {
        const QPoint screen = over->Widget()->mapToGlobal(local);
        QMouseEvent move(QEvent::MouseMove, edit->Widget()->mapFromGlobal(screen), screen,
                         Qt::NoButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &move);
    }
    void Release(TControl* over, QPoint local) {
        const QPoint screen = over->Widget()->mapToGlobal(local);
        QMouseEvent up(QEvent::MouseButtonRelease, edit->Widget()->mapFromGlobal(screen), screen,
                       Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(edit->Widget(), &up);
    }
    TEdit* target = nullptr;
    bool accepting = true;
    std::vector<TDragState> states;
    Seen dropped;
    std::vector<Seen> ended;
};

TEST_F(DragTest, AnAutomaticDragDroppedOnAnAcceptingEditEndsWithItAsTarget) {
    edit->SetDragMode(dmAutomatic);
    QTest::mousePress(edit->Widget(), Qt::LeftButton, {}, {5, 5});
    MoveOver(edit, {7, 6}); // under the threshold: no drag yet
    EXPECT_FALSE(edit->Dragging());
    MoveOver(target, {20, 8});
    EXPECT_TRUE(edit->Dragging());
    MoveOver(target, {30, 9});
    Release(target, {30, 9});
    EXPECT_FALSE(edit->Dragging());
    EXPECT_EQ(states, std::vector<TDragState>({dsDragEnter, dsDragMove, dsDragMove}));
    EXPECT_EQ(dropped, (Seen{target, edit, 30, 9}));
    EXPECT_EQ(ended, std::vector<Seen>({{edit, target, 30, 9}}));
}

TEST_F(DragTest, ARefusedReleaseAndEscapeEndWithoutATarget) {
    accepting = false;
    QTest::mousePress(edit->Widget(), Qt::LeftButton, {}, {5, 5});
    edit->BeginDrag(true);
    MoveOver(target, {20, 8});
    Release(target, {20, 8});
    EXPECT_EQ(dropped, Seen{});
    EXPECT_EQ(states.back(), dsDragLeave);

    accepting = true;
    QTest::mousePress(edit->Widget(), Qt::LeftButton, {}, {5, 5});
    edit->BeginDrag(true);
    MoveOver(target, {20, 8});
    QTest::keyClick(edit->Widget(), Qt::Key_Escape);
    EXPECT_FALSE(edit->Dragging());
    EXPECT_EQ(dropped, Seen{});
    EXPECT_EQ(ended, std::vector<Seen>({{edit, nullptr, 0, 0}, {edit, nullptr, 0, 0}}));

    // A manual drag mode and no BeginDrag: a press and a move select text.
    QTest::mousePress(edit->Widget(), Qt::LeftButton, {}, {5, 5});
    MoveOver(target, {20, 8});
    Release(target, {20, 8});
    EXPECT_EQ(ended.size(), 2u);
}

} // namespace
} // namespace wt::test
