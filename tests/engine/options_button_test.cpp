// The panel's Options button: the dialog is shown modally and freed again,
// and the settings are read from the file afterwards whichever way the
// dialog was closed, but not when it could not be shown at all.
#include "tests/engine/panel_fixture.h"

#include "settings/options.h"
#include "toolkit/controls/radiogroup.h"
#include "toolkit/forms/application.h"

#include <QTimer>

namespace wt::test {
namespace {

TfrmOptions* OpenDialog() {
    for (TComponent* c : Application()->Components())
        if (auto* options = dynamic_cast<TfrmOptions*>(c))
            return options;
    return nullptr;
}

class OptionsButtonTest : public AddInTest {
protected:
    void SetUp() override {
        AddInTest::SetUp();
        WriteSettings("gwHideInspector=True\ngwSide=0\ngwDelay=200\n");
        Load();
    }

    // Presses Options; while the dialog is open, inDialog runs on it.
    void PressOptions(std::function<void(TfrmOptions&)> inDialog) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            ran = true;
            TfrmOptions* options = OpenDialog();
            ASSERT_NE(options, nullptr) << "no dialog while Options runs";
            ASSERT_TRUE(options->Modal());
            inDialog(*options);
        });
        Panel->btnOptions->Click();
        ASSERT_TRUE(ran) << "the dialog never ran its loop";
    }
};

TEST_F(OptionsButtonTest, SettingsAreReadAgainWhicheverWayTheDialogCloses) {
    struct Case {
        const char* name;
        bool accept; // else the close box, after another program wrote the file
    };
    const Case cases[] = {{"Accept with the right side chosen", true},
                          {"the close box after another program wrote the file", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettings("gwHideInspector=True\ngwSide=0\ngwDelay=200\n");
        PressOptions([&](TfrmOptions& o) {
            if (c.accept) {
                o.rgSide->SetItemIndex(1);
                o.btnClose->Click();
            } else {
                WriteSettings("gwHideInspector=True\ngwSide=1\ngwDelay=350\n");
                o.Close();
            }
        });
        EXPECT_EQ(Settings.InspectorEdge, TEdge::Right);
        EXPECT_EQ(OpenDialog(), nullptr) << "the dialog was not freed";
    }
    // The reveal timer follows the delay read last.
    EXPECT_EQ(Settings.OpenDelay, 350);
    EXPECT_EQ(Panel->timerWait->Interval(), 350);
}

TEST_F(OptionsButtonTest, ADialogThatCannotBeShownIsFreedAndNothingIsReadAgain) {
    WriteSettings("gwHideInspector=True\ngwSide=1\ngwDelay=200\n");
    sim_->FailAttachOf = "TfrmOptions";
    const std::size_t reports = sim_->MessageBoxCalls().size();
    // As a click from the window system arrives: through the default report.
    Guarded([] { Panel->btnOptions->Click(); });
    ASSERT_EQ(sim_->MessageBoxCalls().size(), reports + 1);
    EXPECT_EQ(sim_->MessageBoxCalls().back().Text, "The display connection was lost.");
    EXPECT_EQ(OpenDialog(), nullptr) << "the dialog was left behind";
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Left)
        << "settings were read although nothing was shown";
}

} // namespace
} // namespace wt::test
