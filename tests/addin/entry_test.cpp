// The add-in shell as the host meets it: the entry point and its refusals,
// the expert's answers and reference counts, the notifier's registration,
// which failures reach the host as error reports and which propagate.
#include "tests/engine/panel_fixture.h"

#include "addin/notifier.h"
#include "engine/controller.h"
#include "toolkit/forms/application.h"

namespace wt::test {
namespace {

using EntryTest = AddInTest;

TEST_F(EntryTest, TheEntryRegistersOneExpertAndOneNotifierAndOpensThePanelHidden) {
    WriteSettings("gwHideDelphi=True\n");
    host_.ownerWindow = 0x4711;
    Load();
    EXPECT_EQ(host_.ownerWindowCalls, 1);
    EXPECT_EQ(Application()->OwnerWindow(), 0x4711u);
    EXPECT_EQ(terminate_, &TerminateAddIn);
    ASSERT_EQ(host_.registered.size(), 1u);
    EXPECT_EQ(host_.registered[0], Notifier);
    EXPECT_EQ(host_.countAfterRegister, 2); // the add-in's reference and the host's
    EXPECT_TRUE(PanelCreated());
    EXPECT_FALSE(Panel->Visible());
    EXPECT_TRUE(Settings.HideDelphi); // settings read at the first opening
    EXPECT_EQ(host_.projectNameCalls, 0);
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(EntryTest, ASecondEntryCallIsRefusedAndChangesNothing) {
    Load();
    TfrmMain* panel = Panel;
    sim_->ClearRecords();
    TestToolServices other;
    TExpertTerminateProc second = nullptr;
    EXPECT_FALSE(INITEXPERT0016(&other, &RegisterExpert, &second));
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(RegisteredExperts().size(), 1u);
    EXPECT_TRUE(other.registered.empty());
    EXPECT_EQ(other.ownerWindowCalls, 0);
    EXPECT_EQ(host_.registered.size(), 1u);
    EXPECT_EQ(Panel, panel);
    EXPECT_FALSE(Panel->Visible());
    EXPECT_TRUE(sim_->BringToTopCalls().empty());
    EXPECT_EQ(HostServices, &host_);
}

TEST_F(EntryTest, EntryWithoutServicesIsRefusedAndALaterOneSucceeds) {
    TExpertTerminateProc terminate = nullptr;
    EXPECT_FALSE(INITEXPERT0016(nullptr, &RegisterExpert, &terminate));
    EXPECT_EQ(terminate, nullptr);
    EXPECT_TRUE(RegisteredExperts().empty());
    EXPECT_FALSE(PanelCreated());
    EXPECT_EQ(HostServices, nullptr);
    Load();
    EXPECT_EQ(host_.registered.size(), 1u);
}

TEST_F(EntryTest, TheExpertAnswersInEveryStateOfTheEngine) {
    WriteSettings("gwHideDelphi=True\n");
    Load();
    TIExpert* e = Expert();
    auto expectAnswers = [&] {
        EXPECT_STREQ(e->GetName(), "Wingtucker 1.2d");
        EXPECT_STREQ(e->GetComment(),
                     "Makes Delphi and Object Inspector act like autohide taskbars.");
        EXPECT_EQ(e->GetStyle(), esStandard);
        EXPECT_EQ(e->GetState().Bits, 1);
        EXPECT_STREQ(e->GetIDString(), "GullwindSotware.TWingtuckerExpert12");
        EXPECT_STREQ(e->GetMenuText(), "Wingtucker 1.2d");
        EXPECT_EQ(e->GetVersion(), 2);
    };
    expectAnswers();
    Start();
    expectAnswers();
    sim_->SendMessage(Panel->Handle(), WM_ACTIVATEAPP, 0, 0); // Disabled
    expectAnswers();
    // The repository's operations answer harmlessly.
    EXPECT_STREQ(e->GetAuthor(), "");
    EXPECT_STREQ(e->GetPage(), "");
    EXPECT_EQ(e->GetGlyph(), 0u);
    EXPECT_TRUE(host_.errors.empty());
}

TEST_F(EntryTest, ReferencesAreCountedAndTheNotifierGoesAtTermination) {
    Load();
    TIExpert* e = Expert();
    EXPECT_EQ(e->AddRef(), 2);
    EXPECT_EQ(e->Release(), 1);
    TIAddInNotifier* n = host_.notifier;
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->GetVersion(), 2);
    EXPECT_EQ(n->AddRef(), 3);
    EXPECT_EQ(n->Release(), 2);

    terminate_();
    terminate_ = nullptr;
    ASSERT_EQ(host_.unregistered.size(), 1u);
    EXPECT_EQ(host_.unregistered[0], n);
    // Only the add-in's own reference was left, and it has been dropped.
    EXPECT_EQ(host_.countAfterUnregister, 1);
    EXPECT_EQ(Notifier, nullptr);
    EXPECT_FALSE(PanelCreated());
    // The host still owns its expert, which still answers.
    EXPECT_STREQ(e->GetName(), "Wingtucker 1.2d");
    EXPECT_EQ(e->Release(), 0);
    RegisteredExperts().clear();
}

TEST_F(EntryTest, NotificationsBeforeThePanelExistsAndUnknownCodesDoNothing) {
    auto* notifier = new TAddInNotifier;
    bool cancel = true;
    for (std::uint8_t code : {5, 8, 10, 11, 0, 255}) {
        notifier->Notify(code, "/work/Demo/Demo.dsk", &cancel);
        notifier->Notify(code, nullptr, &cancel);
    }
    EXPECT_EQ(sim_->ResetHookCalls(), 0);
    EXPECT_TRUE(cancel);
    EXPECT_EQ(notifier->Release(), 0);

    WriteSettings("gwHideDelphi=True\ngwUseAutoHide=True\n");
    Load();
    Start();
    for (std::uint8_t code : {0, 1, 4, 6, 7, 9, 12, 255})
        EXPECT_TRUE(host_.Send(code, "/work/Demo/Demo.dsk", true));
    EXPECT_TRUE(sim_->MoveCalls().empty());
    EXPECT_EQ(sim_->HookWindow(), Panel->Handle());
    EXPECT_EQ(sim_->ResetHookCalls(), 0);
}

TEST_F(EntryTest, AFailureInExecuteReachesTheHostOnlyAsAnErrorReport) {
    Load();
    sim_->FailFindWindow = true;
    EXPECT_NO_THROW(Expert()->Execute());
    ASSERT_EQ(host_.errors.size(), 1u);
    EXPECT_EQ(host_.errors[0], "The display connection was lost");
    EXPECT_TRUE(sim_->MessageBoxCalls().empty());

    // The panel survives; the next Execute works.
    sim_->FailFindWindow = false;
    Expert()->Execute();
    EXPECT_TRUE(Panel->Visible());
    EXPECT_EQ(host_.errors.size(), 1u);
}

TEST_F(EntryTest, AFailureInTerminationReachesTheHostOnlyAsAnErrorReport) {
    Load();
    TAddInNotifier* notifier = Notifier;
    host_.failUnregister = true;
    EXPECT_NO_THROW(terminate_());
    terminate_ = nullptr;
    ASSERT_EQ(host_.errors.size(), 1u);
    EXPECT_EQ(host_.errors[0], "The host could not unregister the notifier");
    // The steps after the failing one were skipped; finish them here.
    EXPECT_TRUE(PanelCreated());
    EXPECT_EQ(notifier->Release(), 0);
    ClosePanel();
}

TEST_F(EntryTest, FailuresInTheEntryAndTheNotifierPropagateToTheHost) {
    WriteSettings("gwHideDelphi=True\n");
    sim_->FailFindWindow = true;
    EXPECT_THROW(INITEXPERT0016(&host_, &RegisterExpert, &terminate_), std::runtime_error);
    EXPECT_TRUE(host_.errors.empty());
    // Up to the failing step the entry did its work, so the host can terminate.
    EXPECT_EQ(terminate_, &TerminateAddIn);
    EXPECT_EQ(host_.registered.size(), 1u);
    sim_->FailFindWindow = false;
    Expert()->Execute();
    ASSERT_TRUE(host_.errors.empty());

    Start();
    sim_->FailMoveWindow = true;
    bool cancel = false;
    EXPECT_THROW(host_.notifier->Notify(fnProjectClosing, "/work/Demo/Demo.dpr", &cancel),
                 std::runtime_error);
    EXPECT_TRUE(host_.errors.empty());
    // The hook was reset before the failing move; the buttons stay as they were.
    EXPECT_EQ(sim_->HookWindow(), 0u);
    EXPECT_TRUE(Panel->btnStop->Enabled());
    sim_->FailMoveWindow = false;
}

} // namespace
} // namespace wt::test
