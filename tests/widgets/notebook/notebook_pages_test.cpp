// Page edits with their refusals, selection with its rules, and notebooks
// read from and written to form descriptions.
#include "notebook_support.h"

#include "toolkit/core/formdesc.h"
#include "toolkit/core/writer.h"
#include "toolkit/controls/edit.h"

namespace wt::test {
namespace {

class NotebookPagesTest : public NotebookTest {
protected:
    // Four pages A to D, A current, the layout ready.
    void MakeFour() {
        SetPages({"A", "B", "C", "D"}, 302, 200);
        Paint();
        baseMessages = Sim().MessageBoxCalls().size();
    }
    std::size_t NewMessages() { return Sim().MessageBoxCalls().size() - baseMessages; }
    std::size_t baseMessages = 0;
    QStringList Captions() const { return nb->PageCaptions(); }
    // The pages shown as controls: exactly the current one, enabled.
    void ExpectOnlyCurrentShown() const {
        for (int i = 0; i < nb->Pages().Count(); ++i) {
            const bool current = i == nb->PageIndex();
            EXPECT_EQ(Page(i)->Visible(), current) << Page(i)->Caption().toStdString();
            EXPECT_EQ(Page(i)->Enabled(), current) << Page(i)->Caption().toStdString();
        }
    }
    std::string LastMessage() {
        return Sim().MessageBoxCalls().empty() ? "" : Sim().MessageBoxCalls().back().Text;
    }
};

TEST_F(NotebookPagesTest, ANewNotebookHasOnePageCalledDefault) {
    TcsNotebook fresh;
    EXPECT_EQ(fresh.PageCaptions(), QStringList{"Default"});
    EXPECT_EQ(fresh.PageIndex(), 0);
    EXPECT_EQ(fresh.Width(), 250);
    EXPECT_EQ(fresh.Height(), 150);
    EXPECT_TRUE(fresh.TabStop());
    EXPECT_TRUE(fresh.Page(0)->Visible());
}

TEST_F(NotebookPagesTest, RefusedEditsShowTheErrorDialogAndChangeNothing) {
    const std::string duplicate =
        "Tab with Caption 'b' already exists. Tab Captions must be unique.";
    struct Case {
        const char* What;
        std::function<void(TcsPageAccess&)> Edit;
        std::string Message;
    } const cases[] = {
        {"add in other case", [](auto& p) { EXPECT_EQ(p.Add("b"), -1); }, duplicate},
        {"insert in other case", [](auto& p) { p.Insert(0, "b"); }, duplicate},
        {"rename to another page's caption", [](auto& p) { p.Put(0, "b"); }, duplicate},
        {"clear once the layout is ready", [](auto& p) { p.Clear(); },
         "Cannot clear all Notebook pages.  Notebooks with no pages are not allowed."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        MakeFour();
        c.Edit(nb->Pages());
        EXPECT_EQ(Captions(), (QStringList{"A", "B", "C", "D"}));
        ASSERT_EQ(NewMessages(), 1u);
        EXPECT_EQ(LastMessage(), c.Message);
        EXPECT_EQ(Sim().MessageBoxCalls().back().Caption, "Error");
    }
}

TEST_F(NotebookPagesTest, TheLastPageCannotBeDeleted) {
    SetPages({"Only"}, 200, 100);
    Paint();
    nb->Pages().Delete(0);
    EXPECT_EQ(Captions(), QStringList{"Only"});
    EXPECT_EQ(LastMessage(),
              "Cannot delete last remaining Tab.  Notebooks must have at least one Tab.");
}

TEST_F(NotebookPagesTest, RenamingAPageToItsOwnCaptionInOtherCaseIsAccepted) {
    MakeFour();
    nb->Pages().Put(1, "b");
    EXPECT_EQ(Captions(), (QStringList{"A", "b", "C", "D"}));
    EXPECT_EQ(NewMessages(), 0u);
    EXPECT_EQ(nb->TabRect("b").Left, 98);
}

TEST_F(NotebookPagesTest, RenamingAPageRenamesItsTabInPlace) {
    MakeFour();
    const TRect before = nb->TabRect("B");
    nb->Pages().Put(1, "Extra");
    EXPECT_EQ(nb->Rows()[0], (QStringList{"A", "Extra", "C"}));
    EXPECT_EQ(nb->TabRect("Extra"), before);
    EXPECT_EQ(nb->TabAtPos(before.Left + 1, before.Top + 1), 1);
}

struct EditCase {
    const char* What;
    int StartIndex;
    std::function<void(TcsPageAccess&)> Edit;
    QStringList Pages;
    int Index;
};

const EditCase kEdits[] = {
    {"exchange the current page", 1, [](auto& p) { p.Exchange(1, 3); }, {"A", "D", "C", "B"}, 1},
    {"exchange two others", 1, [](auto& p) { p.Exchange(0, 2); }, {"C", "B", "A", "D"}, 1},
    {"delete the current page", 2, [](auto& p) { p.Delete(2); }, {"A", "B", "D"}, 0},
    {"delete page 0 while current", 0, [](auto& p) { p.Delete(0); }, {"B", "C", "D"}, 0},
    {"delete another page", 2, [](auto& p) { p.Delete(0); }, {"B", "C", "D"}, 1},
    {"insert at the current index",
     1,
     [](auto& p) { p.Insert(1, "X"); },
     {"A", "X", "B", "C", "D"},
     1},
    {"insert before the current page",
     3,
     [](auto& p) { p.Insert(0, "X"); },
     {"X", "A", "B", "C", "D"},
     0},
    {"add selects the new page", 1, [](auto& p) { p.Add("X"); }, {"A", "B", "C", "D", "X"}, 4},
    {"move the current page", 0, [](auto& p) { p.Move(0, 3); }, {"B", "C", "D", "A"}, 3},
};

TEST_F(NotebookPagesTest, EditsKeepThePageAtPageIndexTheShownOne) {
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.What);
        MakeFour();
        nb->SetPageIndex(c.StartIndex);
        c.Edit(nb->Pages());
        EXPECT_EQ(Captions(), c.Pages);
        EXPECT_EQ(nb->PageIndex(), c.Index);
        ExpectOnlyCurrentShown();
        Renew();
    }
}

TEST_F(NotebookPagesTest, AVetoedChangeAfterAnInsertKeepsTheShownPageCurrent) {
    MakeFour();
    nb->SetPageIndex(3);
    nb->OnPageChanging = [](TObject*, int, bool& ok) { ok = false; };
    nb->Pages().Insert(0, "X");
    EXPECT_EQ(nb->ActivePage(), "D");
    ExpectOnlyCurrentShown();
}

TEST_F(NotebookPagesTest, AddingAPageThatCanBeSelectedEnablesTheNotebookAgain) {
    SetPages({"A"}, 302, 200);
    Paint();
    Page(0)->SetPageEnabled(false);
    ASSERT_FALSE(nb->Enabled());
    nb->Pages().Add("B");
    EXPECT_TRUE(nb->Enabled());
    EXPECT_EQ(nb->ActivePage(), "B");
    // A, enabled again, is not the current page: it stays disabled and hidden.
    Page(0)->SetPageEnabled(true);
    ExpectOnlyCurrentShown();
    nb->Pages().Delete(1);
    EXPECT_TRUE(nb->Enabled());
}

TEST_F(NotebookPagesTest, ExchangingTheCurrentPageBeforeTheFirstPaintShowsThePageNowAtPageIndex) {
    SetPages({"A", "B", "C"}, 302, 200);
    nb->SetPageIndex(1);
    nb->Pages().Exchange(1, 2);
    EXPECT_EQ(nb->ActivePage(), "C");
    ExpectOnlyCurrentShown();
}

TEST_F(NotebookPagesTest, ADisabledPageIsSelectedOnlyAwayFromAHiddenOne) {
    MakeFour();
    Page(2)->SetPageEnabled(false);
    nb->SetPageIndex(2);
    EXPECT_EQ(nb->PageIndex(), 0);
    nb->SetActivePage("nobody");
    nb->SetPageIndex(7);
    EXPECT_EQ(nb->PageIndex(), 0);
    Page(3)->SetPageVisible(false);
    nb->SetPageIndex(3);
    EXPECT_EQ(nb->PageIndex(), 0); // hidden pages are never selected
}

TEST_F(NotebookPagesTest, DisablingTheCurrentPageMovesOnWrappingOrDisablesTheNotebook) {
    MakeFour();
    nb->SetPageIndex(3);
    Page(0)->SetPageEnabled(false);
    Page(3)->SetPageEnabled(false);
    EXPECT_EQ(nb->PageIndex(), 1); // D, wrapping past A
    Page(2)->SetPageVisible(false);
    Page(1)->SetPageEnabled(false);
    EXPECT_FALSE(nb->Enabled());
    EXPECT_FALSE(Page(nb->PageIndex())->Enabled());
    Page(0)->SetPageEnabled(true);
    EXPECT_TRUE(nb->Enabled());
    EXPECT_EQ(nb->PageIndex(), 0);
    ExpectOnlyCurrentShown();
}

TEST_F(NotebookPagesTest, OnPageChangingCanVetoAndOnPageChangedFollows) {
    MakeFour();
    int changed = 0;
    std::vector<int> asked;
    bool allow = false;
    nb->OnPageChanging = [&](TObject*, int n, bool& ok) {
        asked.push_back(n);
        ok = allow;
    };
    nb->OnPageChanged = [&](TObject*) { ++changed; };
    nb->SetPageIndex(2);
    EXPECT_EQ(nb->PageIndex(), 0);
    allow = true;
    nb->SetPageIndex(2);
    EXPECT_EQ(nb->PageIndex(), 2);
    EXPECT_EQ(asked, (std::vector<int>{2, 2}));
    EXPECT_EQ(changed, 1);
}

TEST_F(NotebookPagesTest, SaveResourcesReleasesTheWindowsOfHiddenPages) {
    MakeFour();
    form->Show();
    auto* edit = new TEdit(form.get());
    edit->SetParent(Page(0));
    ASSERT_TRUE(Page(1)->HandleAllocated());
    nb->SetSaveResources(true);
    EXPECT_TRUE(Page(0)->HandleAllocated());
    EXPECT_FALSE(Page(1)->HandleAllocated());
    nb->SetPageIndex(1);
    EXPECT_TRUE(Page(1)->HandleAllocated()); // back when shown
    EXPECT_FALSE(Page(0)->HandleAllocated());
    EXPECT_FALSE(edit->HandleAllocated());
    nb->SetPageIndex(0);
    EXPECT_TRUE(edit->HandleAllocated());
}

TEST_F(NotebookPagesTest, PageEditsTellTheDesignerOnlyWhileDesigning) {
    RecordingDesigner designer;
    form->SetDesigner(&designer);
    MakeFour();
    nb->Pages().Add("X");
    EXPECT_EQ(designer.modified, 0);
    nb->SetState(ComponentState::Designing, true);
    nb->Pages().Add("Y");
    nb->Pages().Put(0, "Z");
    nb->Pages().Exchange(0, 1);
    EXPECT_EQ(designer.modified, 3);
    form->SetDesigner(nullptr);
}

// --- Form descriptions ------------------------------------------------------------------

class TfrmNotebookProbe : public TForm {
    Q_OBJECT
public:
    explicit TfrmNotebookProbe(TComponent* owner = nullptr) : TForm(owner) {}
};
WT_REGISTER_CLASS(TfrmNotebookProbe);

const char* kNotebookForm = R"(object frmNotebookProbe: TfrmNotebookProbe
  Left = 0
  Top = 0
  ClientWidth = 300
  ClientHeight = 200
  object nb: TcsNotebook
    Left = 8
    Top = 8
    Width = 244
    Height = 142
    PageIndex = 1
    TabHeight = 30
    TabOrientation = toLeft
    SidewaysText = True
    object pgHiding: TcsPage
      Caption = 'Hiding'
      object editDelay: TEdit
        Left = 10
        Top = 10
        Width = 50
        Height = 20
      end
    end
    object pgSound: TcsPage
      Caption = '&Sound'
      NumGlyphs = 2
    end
    object pgGeneral: TcsPage
      Caption = 'General'
      PageVisible = False
    end
  end
end
)";

std::unique_ptr<TForm> ReadProbe(const QString& text) {
    auto f = std::make_unique<TfrmNotebookProbe>();
    f->ReadForm(text.toStdString(), QStringLiteral("probe.wfm"));
    return f;
}

TEST_F(NotebookPagesTest, AFormDescriptionReadsWritesAndReadsAgain) {
    auto first = ReadProbe(QString::fromLatin1(kNotebookForm));
    const QString written = WriteFormDescription(first.get());
    auto second = ReadProbe(written);
    for (TForm* f : {first.get(), second.get()}) {
        auto* n = dynamic_cast<TcsNotebook*>(f->FindComponent("nb"));
        ASSERT_NE(n, nullptr);
        EXPECT_EQ(n->PageCaptions(), (QStringList{"Hiding", "&Sound", "General"}));
        EXPECT_EQ(n->PageIndex(), 1);
        EXPECT_EQ(n->TabHeight(), 30);
        EXPECT_EQ(n->TabOrientation(), TcsNotebook::toLeft);
        EXPECT_TRUE(n->SidewaysText());
        EXPECT_TRUE(n->LayoutReady());
        EXPECT_EQ(n->Page(1)->NumGlyphs(), 2);
        EXPECT_FALSE(n->Page(2)->PageVisible());
        // Pages belong to the notebook, their controls to the form.
        EXPECT_EQ(n->Page(0)->Owner(), n);
        TComponent* edit = f->FindComponent("editDelay");
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(static_cast<TControl*>(edit)->Parent(), n->Page(0));
        EXPECT_TRUE(n->Page(1)->Visible());
        EXPECT_FALSE(n->Page(0)->Visible());
    }
    EXPECT_FALSE(written.contains("TabsPerRow")) << written.toStdString(); // default left out
    EXPECT_FALSE(written.contains("Enabled")) << written.toStdString();
}

TEST_F(NotebookPagesTest, AStoredPageIndexOutOfRangeEndsOnAVisiblePage) {
    QString text = QString::fromLatin1(kNotebookForm);
    text.replace("PageIndex = 1", "PageIndex = 9");
    text.replace("Caption = 'Hiding'", "Caption = 'Hiding'\n      PageEnabled = False");
    text.replace("NumGlyphs = 2", "PageVisible = False");
    // Nothing is selectable: the one visible page is shown though disabled.
    auto f = ReadProbe(text);
    auto* n = dynamic_cast<TcsNotebook*>(f->FindComponent("nb"));
    EXPECT_EQ(n->PageIndex(), 0);
    EXPECT_TRUE(n->Page(0)->Visible());
    EXPECT_FALSE(n->Enabled());
}

TEST_F(NotebookPagesTest, MalformedNotebookDescriptionsGiveAnErrorNamingTheLine) {
    const std::pair<QString, QString> cases[] = {
        {"TabOrientation = toLeft", "TabOrientation = toSideways"},
        {"NumGlyphs = 2", "NumGlyphs = 7"},
        {"PageIndex = 1", "PageIndex = 'one'"},
    };
    for (const auto& [from, to] : cases) {
        QString text = QString::fromLatin1(kNotebookForm);
        text.replace(from, to);
        EXPECT_THROW(ReadProbe(text), EFormError) << to.toStdString();
    }
}

} // namespace
} // namespace wt::test

#include "notebook_pages_test.moc"
