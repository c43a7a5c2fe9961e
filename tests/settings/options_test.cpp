// The Options dialog: the controls FormShow fills and the dependent controls
// that follow their check boxes, Accept writing the twelve keys in order
// (hidden ones too), the close box writing nothing, and help by page.
#include "settings_fixture.h"

#include "dialogs/oops.h"
#include "widgets/CDKROMem.h"

#include "../widgets/ui_support.h"
#include "settings/EasyINI.h"
#include "settings/options.h"
#include "settings/settings_store.h"
#include "toolkit/controls/bitbtn.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/panel.h"
#include "toolkit/controls/radiogroup.h"
#include "toolkit/controls/spinedit.h"
#include "widgets/DODPathE.h"
#include "widgets/notebook/CSNoteBk.h"

#include <QCoreApplication>
#include <QStyle>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <sstream>
#include <sys/stat.h>
#include <vector>

namespace wt::testing {
namespace {

class OptionsTest : public SimDesktopTest {
protected:
    void SetUp() override {
        test::EnsureUiApplication();
        SimDesktopTest::SetUp();
        ResetSettings();
        ini_.SetFileName(SettingsFileName);
        ini_.SetFileLocation(TIniEditor::WindowsPath);
    }
    void TearDown() override {
        ResetSettings();
        SimDesktopTest::TearDown();
    }
    std::unique_ptr<TfrmOptions> Shown() {
        auto form = std::make_unique<TfrmOptions>();
        form->SetIni(&ini_);
        form->Show();
        return form;
    }
    // The keys of section Wingtucker in file order.
    std::vector<std::string> Keys() const {
        std::istringstream in(GetFile(ConfigFile(SettingsFileName)));
        std::vector<std::string> keys;
        std::string line;
        while (std::getline(in, line))
            if (auto eq = line.find('='); eq != std::string::npos)
                keys.push_back(line.substr(0, eq));
        return keys;
    }
    // Presses Accept and answers the message it shows, if any: its text.
    std::string AcceptAnswering(TfrmOptions& form) {
        std::string shown;
        QTimer::singleShot(0, [&] {
            for (TComponent* c : form.Components())
                if (auto* oops = dynamic_cast<TfrmOops*>(c)) {
                    shown = ToStd(oops->memo->Text());
                    oops->btnOk->Click();
                }
        });
        form.btnClose->Click();
        return shown;
    }
    TIniEditor ini_;
};

TEST_F(OptionsTest, ThePagesAndTheirControlsAreAsDesigned) {
    auto form = Shown();
    EXPECT_EQ(form->Caption(), QStringLiteral("Options"));
    EXPECT_EQ(form->ClientWidth(), 248);
    EXPECT_EQ(form->ClientHeight(), 181);
    EXPECT_EQ(form->notebook->PageCaptions(),
              (QStringList{"Hiding", "Sound", "Movement", "General"}));
    EXPECT_EQ(form->notebook->TabOrientation(), TcsNotebook::toLeft);
    EXPECT_EQ(form->notebook->TabHeight(), 35);
    EXPECT_EQ(form->ActiveControl(), form->notebook);
    EXPECT_EQ(form->editIn->Filter(), QStringLiteral("Wave Files|*.wav"));
    EXPECT_EQ(form->editOut->Title(), QStringLiteral("Select file to play when moving window out"));
    const std::tuple<TSpinEdit*, int, int> spins[] = {
        {form->editAniCount, 5, 30}, {form->editDelay, 0, 1000}, {form->editHang, 2, 10}};
    for (const auto& [spin, low, high] : spins) {
        EXPECT_EQ(spin->MinValue(), low) << spin->Name().toStdString();
        EXPECT_EQ(spin->MaxValue(), high) << spin->Name().toStdString();
    }
    form->Hide();
}

TEST_F(OptionsTest, EveryCheckBoxCaptionFitsItsLaidOutWidth) {
    // The forms were laid out for a narrow face; a wide substitute cuts
    // captions off at their right edge.
    auto form = Shown();
    for (TCheckBox* box : {form->cbHideDelphi, form->cbHideInspector, form->cbUseSounds,
                           form->cbAnimate, form->cbAutoStart, form->cbDisable}) {
        const QWidget* widget = box->Widget();
        ASSERT_NE(widget, nullptr);
        const QStyle* style = widget->style();
        const int needed = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget) +
                           style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, widget) +
                           widget->fontMetrics().horizontalAdvance(box->Caption());
        EXPECT_LE(needed, box->Width()) << box->Caption().toStdString();
    }
    form->Hide();
}

TEST_F(OptionsTest, DependentControlsShowExactlyWhileTheirBoxIsTicked) {
    for (bool on : {false, true}) {
        Settings.HideInspector = on;
        Settings.WindowSounds = on;
        Settings.Motion = on ? TMotion::Animated : TMotion::Jump;
        auto form = Shown();
        EXPECT_EQ(form->rgSide->Visible(), on);
        EXPECT_EQ(form->pnlFiles->Visible(), on);
        EXPECT_EQ(form->pnlAniOptions->Visible(), on);
        // Clicking the boxes turns them round.
        for (TCheckBox* box : {form->cbHideInspector, form->cbUseSounds, form->cbAnimate})
            box->SetChecked(!on);
        EXPECT_EQ(form->rgSide->Visible(), !on);
        EXPECT_EQ(form->pnlFiles->Visible(), !on);
        EXPECT_EQ(form->pnlAniOptions->Visible(), !on);
        form->Hide();
    }
}

TEST_F(OptionsTest, AcceptWritesTheTwelveKeysInOrderHiddenOnesToo) {
    Settings.HideInspector = false; // the side group is hidden
    Settings.InspectorEdge = TEdge::Right;
    Settings.WindowSounds = false; // the file names are hidden
    Settings.MoveInSound = "in.wav";
    Settings.MoveOutSound = "out.wav";
    Settings.AnimateSpeed = 12;
    Settings.OpenDelay = 350;
    Settings.HangOutPixels = 7;
    auto form = Shown();
    EXPECT_EQ(form->rgSide->ItemIndex(), 1); // "Right", the last item
    form->btnClose->Click();
    EXPECT_EQ(Keys(), (std::vector<std::string>{
                          "gwHideInspector", "gwSide", "gwHideDelphi", "gwAnimate",
                          "gwWindowSounds", "gwDisableOnFocusLoss", "MoveOutSound", "MoveInSound",
                          "gwAnimateSpeed", "gwDelay", "HangOutPixels", "gwUseAutoHide"}));
    LoadSettings(ini_);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Right);
    EXPECT_EQ(Settings.MoveInSound, "in.wav");
    EXPECT_EQ(Settings.MoveOutSound, "out.wav");
    EXPECT_EQ(Settings.AnimateSpeed, 12);
    EXPECT_EQ(Settings.OpenDelay, 350);
    EXPECT_EQ(Settings.HangOutPixels, 7);
    EXPECT_FALSE(form->Visible());
}

TEST_F(OptionsTest, EmptySoundNamesRemoveTheirKeys) {
    PutFile(ConfigFile(SettingsFileName), "[Wingtucker]\nMoveOutSound=a.wav\nMoveInSound=b.wav\n");
    LoadSettings(ini_);
    auto form = Shown();
    form->editIn->SetText(QString());
    form->editOut->SetText(QString());
    form->btnClose->Click();
    const std::string text = GetFile(ConfigFile(SettingsFileName));
    EXPECT_EQ(text.find("MoveOutSound"), std::string::npos) << text;
    EXPECT_EQ(text.find("MoveInSound"), std::string::npos) << text;
}

// Accept that cannot write says why, names the file, writes nothing and
// keeps the dialog up with the user's choices.
TEST_F(OptionsTest, AcceptThatCannotWriteSaysWhyAndKeepsTheDialog) {
    namespace fs = std::filesystem;
    const std::string file = ConfigFile(SettingsFileName);
    const std::string held = "[Wingtucker]\ngwDelay=900\n";
    struct Case {
        const char* What;
        std::function<void()> Spoil;
        std::string Reason;
    };
    const std::vector<Case> cases = {
        {"read-only",
         [&] {
             PutFile(file, held);
             chmod(file.c_str(), 0444);
         },
         ": it is read-only."},
        {"NUL byte", [&] { PutFile(file, held + std::string(1, '\0')); },
         ": it is not a text file (it holds a NUL byte)."},
        {"directory a plain file",
         [&] {
             fs::remove_all(configDir_);
             PutFile(configDir_, "not a directory");
         },
         ": the settings directory " + configDir_ + " is not a directory."},
    };
    for (const Case& c : cases) {
        c.Spoil();
        const std::string before = GetFile(fs::is_directory(configDir_) ? file : configDir_);
        auto form = Shown();
        form->editDelay->SetValue(10);
        const std::string shown = AcceptAnswering(*form);
        EXPECT_NE(shown.find("could not save the options in " + file + c.Reason), std::string::npos)
            << c.What << ": " << shown;
        EXPECT_EQ(GetFile(fs::is_directory(configDir_) ? file : configDir_), before) << c.What;
        EXPECT_EQ(form->ModalResult(), mrNone) << c.What << ": the dialog would close";
        EXPECT_TRUE(form->Visible()) << c.What;
        EXPECT_EQ(form->editDelay->Value(), 10) << c.What << ": the choice is kept";
        fs::remove_all(configDir_);
        fs::create_directories(configDir_);
    }
}

// Sounds that will be silence are named in one message; the names are
// saved as typed all the same.
TEST_F(OptionsTest, AcceptWarnsOfSoundsThatWillBeSilenceInOneMessage) {
    const std::string missing = configDir_ + "/missing.wav";
    const std::string text = ConfigFile("text.wav");
    PutFile(text, "not a wave");
    auto form = Shown();
    form->cbUseSounds->SetChecked(true);
    form->editOut->SetText(FromStd(configDir_));
    form->editIn->SetText(FromStd(missing));
    std::string shown = AcceptAnswering(*form);
    EXPECT_NE(shown.find("MoveOutSound \"" + configDir_ + "\" is a directory."), std::string::npos)
        << shown;
    EXPECT_NE(shown.find("MoveInSound \"" + missing + "\" does not exist."), std::string::npos)
        << shown;
    LoadSettings(ini_);
    EXPECT_EQ(Settings.MoveOutSound, configDir_);
    EXPECT_EQ(Settings.MoveInSound, missing);

    form = Shown();
    form->editOut->SetText(FromStd(text));
    form->editIn->SetText(FromStd("/" + std::string(120, 'w') + ".wav"));
    shown = AcceptAnswering(*form);
    EXPECT_NE(shown.find("is not a wave file"), std::string::npos) << shown;
    EXPECT_NE(shown.find("does not exist"), std::string::npos) << shown;

    form = Shown();
    form->cbUseSounds->SetChecked(false);
    EXPECT_EQ(AcceptAnswering(*form), "") << "sounds off: their files do not matter";
}

TEST_F(OptionsTest, TheCloseBoxWritesNothing) {
    const std::string before = "[Wingtucker]\ngwSide=0\ngwDelay=900\n";
    PutFile(ConfigFile(SettingsFileName), before);
    LoadSettings(ini_);
    auto form = Shown();
    form->cbAnimate->SetChecked(!form->cbAnimate->Checked());
    form->editDelay->SetValue(10);
    form->Close();
    EXPECT_EQ(GetFile(ConfigFile(SettingsFileName)), before);
}

TEST_F(OptionsTest, HelpOpensTheTopicOfThePageInFront) {
    auto form = Shown();
    // The notebook holds the focus, so a page change needs the window active.
    QApplication::setActiveWindow(form->Widget());
    const char* topics[] = {"Hidden_Button", "Sound_Button", "Movement_Button", "General_Button"};
    for (int page = 0; page < 4; ++page) {
        form->notebook->SetPageIndex(page);
        form->btnHelp->Click();
        ASSERT_FALSE(sim_->HelpRequests().empty());
        EXPECT_EQ(sim_->HelpRequests().back().Topic, topics[page]);
    }
    EXPECT_STREQ(TfrmOptions::HelpTopicOfPage(4), "");
    form->Hide();
}

// Every topic the add-in asks for is an anchor of its help page.
TEST(HelpPageTest, HoldsEveryTopicTheAddInAsksFor) {
    const std::string page = GetFile(WT_HELP_PAGE);
    ASSERT_FALSE(page.empty()) << WT_HELP_PAGE;
    std::vector<std::string> topics{WindowHelpTopic};
    for (int i = 0; i < 4; ++i)
        topics.emplace_back(TfrmOptions::HelpTopicOfPage(i));
    for (const std::string& topic : topics)
        EXPECT_NE(page.find("id=\"" + topic + "\""), std::string::npos) << topic;
}

// The table's controls are the dialog's: each setting of section Wingtucker
// has a control of the kind its type needs, spin edits with the table's bounds.
TEST_F(OptionsTest, EverySettingHasItsControlWithTheTablesBounds) {
    auto form = Shown();
    for (const TSettingInfo& setting : SettingTable) {
        if (!setting.Control)
            continue;
        TComponent* control = form->FindComponent(QString::fromLatin1(setting.Control));
        ASSERT_NE(control, nullptr) << setting.Control;
        switch (setting.Type) {
        case TSettingType::Boolean:
            EXPECT_NE(dynamic_cast<TCheckBox*>(control), nullptr) << setting.Control;
            break;
        case TSettingType::Text:
            EXPECT_NE(dynamic_cast<TCDKPathEditor*>(control), nullptr) << setting.Control;
            break;
        case TSettingType::Integer:
            if (auto* spin = dynamic_cast<TSpinEdit*>(control)) {
                ASSERT_TRUE(setting.ControlBounds) << setting.Control;
                EXPECT_EQ(spin->MinValue(), setting.ControlBounds->Min) << setting.Control;
                EXPECT_EQ(spin->MaxValue(), setting.ControlBounds->Max) << setting.Control;
            } else {
                EXPECT_NE(dynamic_cast<TRadioGroup*>(control), nullptr) << setting.Control;
            }
            break;
        }
    }
    form->Hide();
}

// The help page states each number's bounds in the dialog, the file's range
// where it is wider, and the default, in the item that names them.
TEST(HelpPageTest, StatesTheTablesRangesAndDefaults) {
    const std::string page = GetFile(WT_HELP_PAGE);
    ASSERT_FALSE(page.empty()) << WT_HELP_PAGE;
    for (const TSettingInfo& setting : SettingTable) {
        if (!setting.ControlBounds)
            continue;
        const std::string bounds = std::to_string(setting.ControlBounds->Min) + " to " +
                                   std::to_string(setting.ControlBounds->Max);
        const std::size_t at = page.find(bounds);
        ASSERT_NE(at, std::string::npos) << setting.Key << ": " << bounds;
        const std::size_t from = page.rfind("<li>", at), to = page.find("</li>", at);
        ASSERT_TRUE(from != std::string::npos && to != std::string::npos) << setting.Key;
        const std::string item = page.substr(from, to - from);
        EXPECT_NE(item.find("Default: " + std::to_string(setting.WhenAbsent) + "."),
                  std::string::npos)
            << setting.Key << ": " << item;
        const TSettingRange range = *setting.Range;
        if (range.Min != setting.ControlBounds->Min || range.Max != setting.ControlBounds->Max)
            EXPECT_NE(item.find("may hold " + std::to_string(range.Min) + " to " +
                                std::to_string(range.Max)),
                      std::string::npos)
                << setting.Key << ": " << item;
    }
}

} // namespace
} // namespace wt::testing
