// LoadSettings on hand-written files: defaults, clamps, ranges,
// boolean forms, failures in the middle of a load, and the Options dialog's
// sequence of writes on a file the user edited.
#include "settings/EasyINI.h"
#include "settings/settings_store.h"
#include "settings_fixture.h"

#include <cstdio>
#include <stdexcept>
#include <sys/stat.h>

namespace wt {
namespace {

using testing::GetFile;
using testing::PutFile;

class LoadSettingsTest : public testing::SimDesktopTest {
protected:
    void SetUp() override {
        testing::SimDesktopTest::SetUp();
        ini_.SetFileName(SettingsFileName);
        ini_.SetFileLocation(TIniEditor::WindowsPath);
        ResetSettings();
    }
    // Loads a file holding the given lines under [Wingtucker].
    void LoadLines(const std::string& lines) {
        PutFile(ini_.FullPath(), "[Wingtucker]\n" + lines);
        LoadSettings(ini_);
    }

    TIniEditor ini_;
};

TEST_F(LoadSettingsTest, StartValuesDifferFromLoadDefaults) {
    Settings.InspectorEdge = TEdge::Right;
    ResetSettings();
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Left);
    EXPECT_EQ(Settings.OpenDelay, 250);
    EXPECT_TRUE(Settings.DisableOnFocusLoss);

    LoadSettings(ini_); // no file at all
    EXPECT_FALSE(Settings.HideInspector);
    EXPECT_FALSE(Settings.HideDelphi);
    EXPECT_FALSE(Settings.WindowSounds);
    EXPECT_EQ(Settings.Motion, TMotion::Jump);
    EXPECT_FALSE(Settings.UseAutoHide);
    EXPECT_TRUE(Settings.DisableOnFocusLoss);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Right);
    EXPECT_EQ(Settings.MoveOutSound, "");
    EXPECT_EQ(Settings.MoveInSound, "");
    EXPECT_EQ(Settings.HangOutPixels, 5);
    EXPECT_EQ(Settings.AnimateSpeed, 5);
    EXPECT_EQ(Settings.OpenDelay, 200);
}

TEST_F(LoadSettingsTest, NumbersAreClampedToTheirRanges) {
    const std::pair<const char*, int> speeds[] = {{"1", 5},   {"2", 2},   {"30", 30}, {"31", 5},
                                                  {"7.9", 7}, {"abc", 5}, {"-3", 5}};
    for (auto [text, expected] : speeds) {
        LoadLines(std::string("gwAnimateSpeed=") + text + "\n");
        EXPECT_EQ(Settings.AnimateSpeed, expected) << text;
    }
    const std::pair<const char*, int> delays[] = {
        {"1000", 1000}, {"1001", 200}, {"0", 0}, {"-40", -40}, {"99999999999", 200}};
    for (auto [text, expected] : delays) {
        LoadLines(std::string("gwDelay=") + text + "\n");
        EXPECT_EQ(Settings.OpenDelay, expected) << text;
    }
    LoadLines("HangOutPixels=300\ngwSide=257\n");
    EXPECT_EQ(Settings.HangOutPixels, 10);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Left);
    LoadLines("HangOutPixels=-1\ngwSide=0\n");
    EXPECT_EQ(Settings.HangOutPixels, 2);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Left);
}

// A pixel count or an edge beyond what the Options dialog offers must not
// wrap round to a value that puts a tucked window mid-screen or on the
// wrong edge.
TEST_F(LoadSettingsTest, HangOutPixelsAndSideDoNotWrapRound) {
    const std::pair<const char*, int> pixels[] = {
        {"-5", 2},    {"0", 2},    {"1", 2},   {"2", 2},    {"10", 10}, {"11", 10},
        {"1000", 10}, {"257", 10}, {"6.9", 6}, {"1E20", 5}, {"abc", 5}};
    for (auto [text, expected] : pixels) {
        LoadLines(std::string("HangOutPixels=") + text + "\n");
        EXPECT_EQ(Settings.HangOutPixels, expected) << text;
    }
    // Only 1 is the right edge; any other number, whatever its size, is the left.
    constexpr TEdge R = TEdge::Right, L = TEdge::Left;
    const std::pair<const char*, TEdge> sides[] = {
        {"1", R},  {"1.7", R},        {"0", L},    {"2", L},   {"257", L}, {"-255", L},
        {"-1", L}, {"4294967297", L}, {"1E20", L}, {"abc", R}, {"", R}};
    for (auto [text, expected] : sides) {
        LoadLines(std::string("gwSide=") + text + "\n");
        EXPECT_EQ(Settings.InspectorEdge, expected) << text;
    }
}

TEST_F(LoadSettingsTest, BooleansAndEmptyValues) {
    LoadLines("gwDisableOnFocusLoss=\ngwHideInspector=yEs\ngwHideDelphi=1\ngwAnimate=0\n"
              "gwWindowSounds=True\ngwUseAutoHide=on\nMoveOutSound=\n");
    EXPECT_FALSE(Settings.DisableOnFocusLoss) << "an empty value is not the default";
    EXPECT_TRUE(Settings.HideInspector);
    EXPECT_TRUE(Settings.HideDelphi);
    EXPECT_EQ(Settings.Motion, TMotion::Jump);
    EXPECT_TRUE(Settings.WindowSounds);
    EXPECT_FALSE(Settings.UseAutoHide);
    EXPECT_EQ(Settings.MoveOutSound, "");
}

TEST_F(LoadSettingsTest, KeysAndSectionInOtherLetterCase) {
    PutFile(ini_.FullPath(),
            "[WINGTUCKER]\nGWHIDEINSPECTOR=TRUE\ngwside=0\nmoveoutsound=/snd/out.wav\n"
            "HANGOUTPIXELS=9\nGWDELAY=750\n");
    LoadSettings(ini_);
    EXPECT_TRUE(Settings.HideInspector);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Left);
    EXPECT_EQ(Settings.MoveOutSound, "/snd/out.wav");
    EXPECT_EQ(Settings.HangOutPixels, 9);
    EXPECT_EQ(Settings.OpenDelay, 750);
}

// What the add-in tells the user once when its settings file cannot be read.
TEST_F(LoadSettingsTest, AFileThatCannotBeReadIsNamedWithTheReason) {
    const std::string path = ini_.FullPath();
    EXPECT_EQ(SettingsFileProblem(ini_), "") << "no file: the defaults, without a word";
    PutFile(path, "[Wingtucker]\n; \x01 odd but readable\ngwSide=0\n");
    EXPECT_EQ(SettingsFileProblem(ini_), "");
    chmod(path.c_str(), 0444);
    EXPECT_EQ(SettingsFileProblem(ini_), "") << "read-only is still read";

    const std::pair<std::string, std::string> unusable[] = {
        {std::string("[Wingtucker]\ngwSide=0\n\0", 24),
         "it is not a text file (it holds a NUL byte)"},
        {std::string(4 * 1024 * 1024 + 1, ';'), "it is larger than 4 MiB"},
    };
    for (const auto& [content, reason] : unusable) {
        std::remove(path.c_str());
        PutFile(path, content);
        EXPECT_EQ(SettingsFileProblem(ini_), "The settings file " + path +
                                                 " cannot be read: " + reason +
                                                 ". Wingtucker uses the default settings until "
                                                 "it is mended.");
        LoadSettings(ini_);
        EXPECT_EQ(Settings.InspectorEdge, TEdge::Right) << "the defaults for the session";
        EXPECT_EQ(GetFile(path), content) << "the file is left as it is";
    }
    std::remove(path.c_str());
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    EXPECT_NE(SettingsFileProblem(ini_).find(path + " cannot be read: it is a directory."),
              std::string::npos);
    rmdir(path.c_str());
    // The panel's opening says so when the settings directory is a plain file.
    const std::string directory = path.substr(0, path.rfind('/'));
    std::system(("rm -rf '" + directory + "'").c_str());
    PutFile(directory, "a plain file");
    EXPECT_NE(SettingsFileProblem(ini_).find(path + " cannot be read: the settings directory " +
                                             directory + " is not a directory."),
              std::string::npos)
        << SettingsFileProblem(ini_);

    TIniEditor unnamed;
    EXPECT_EQ(SettingsFileProblem(unnamed), "");
}

// A simulated desktop whose file system fails every read of one key.
std::unique_ptr<SimPlatform> FailingSim(std::string dir, std::string failingKey) {
    auto sim = std::make_unique<SimPlatform>(std::move(dir));
    sim->BeforeProfileRead = [failingKey](std::string_view key) {
        if (key == failingKey)
            throw std::runtime_error("read failed");
    };
    return sim;
}

TEST_F(LoadSettingsTest, AFailingBooleanIsFalseAndStopsTheLoad) {
    PutFile(ini_.FullPath(), "[Wingtucker]\ngwHideInspector=True\ngwHideDelphi=True\n"
                             "gwAnimate=True\ngwAnimateSpeed=9\ngwDisableOnFocusLoss=True\n");
    InstallPlatform(FailingSim(configDir_, "gwHideDelphi"));
    Settings.HideDelphi = true;
    Settings.Motion = TMotion::Jump;
    Settings.AnimateSpeed = 3;
    EXPECT_THROW(LoadSettings(ini_), std::runtime_error);
    EXPECT_TRUE(Settings.HideInspector) << "read before the failure";
    EXPECT_FALSE(Settings.HideDelphi);
    EXPECT_EQ(Settings.Motion, TMotion::Jump) << "read after the failure: left as it was";
    EXPECT_EQ(Settings.AnimateSpeed, 3);

    InstallPlatform(FailingSim(configDir_, "gwDisableOnFocusLoss"));
    EXPECT_THROW(LoadSettings(ini_), std::runtime_error);
    EXPECT_FALSE(Settings.DisableOnFocusLoss) << "false, not its default";
    EXPECT_EQ(Settings.AnimateSpeed, 9);

    // Numeric reads fall back to their defaults instead of failing.
    InstallPlatform(FailingSim(configDir_, "gwSide"));
    Settings.InspectorEdge = TEdge::Left;
    EXPECT_NO_THROW(LoadSettings(ini_));
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Right);
}

// The Options dialog's Accept: every key, one write each, in this order.
void WriteLikeAccept(TIniEditor& ini, bool inspector, int side, bool delphi, bool animate,
                     const std::string& out, const std::string& in) {
    ini.WriteBool(SettingsSection, "gwHideInspector", inspector);
    ini.WriteInt(SettingsSection, "gwSide", side);
    ini.WriteBool(SettingsSection, "gwHideDelphi", delphi);
    ini.WriteBool(SettingsSection, "gwAnimate", animate);
    ini.WriteBool(SettingsSection, "gwWindowSounds", false);
    ini.WriteBool(SettingsSection, "gwDisableOnFocusLoss", true);
    ini.WriteStr(SettingsSection, "MoveOutSound", out);
    ini.WriteStr(SettingsSection, "MoveInSound", in);
    ini.WriteInt(SettingsSection, "gwAnimateSpeed", 5);
    ini.WriteInt(SettingsSection, "gwDelay", 200);
    ini.WriteInt(SettingsSection, "HangOutPixels", 5);
    ini.WriteBool(SettingsSection, "gwUseAutoHide", false);
}

TEST_F(LoadSettingsTest, AcceptOnAFreshDirectoryWritesTheKnownLayout) {
    WriteLikeAccept(ini_, true, 1, true, true, "", "");
    EXPECT_EQ(GetFile(ConfigFile("Wingtckr.ini")),
              "[Wingtucker]\ngwHideInspector=True\ngwSide=1\ngwHideDelphi=True\n"
              "gwAnimate=True\ngwWindowSounds=False\ngwDisableOnFocusLoss=True\n"
              "gwAnimateSpeed=5\ngwDelay=200\nHangOutPixels=5\ngwUseAutoHide=False\n");
}

TEST_F(LoadSettingsTest, AHandEditedFileKeepsItsCommentsAndUnknownLines) {
    const std::string original = "; my settings -- do not lose this comment\r\n"
                                 "[wingtucker]\r\n"
                                 "GWSIDE = 0\r\n"
                                 "MoveOutSound=/snd/out.wav\r\n"
                                 "MoveInSound=/snd/in.wav\r\n"
                                 "an unknown line without equals\r\n"
                                 "myNote=keep me\r\n"
                                 "\r\n"
                                 "[HELP]\r\n"
                                 "FindLostWindows=Yes\r\n";
    PutFile(ini_.FullPath(), original);
    WriteLikeAccept(ini_, false, 1, false, true, "/snd/out2.wav", "");

    std::string file = GetFile(ini_.FullPath());
    for (const char* kept :
         {"; my settings -- do not lose this comment\r\n[wingtucker]\r\n", "GWSIDE = 1\r\n",
          "MoveOutSound=/snd/out2.wav\r\n", "an unknown line without equals\r\n",
          "myNote=keep me\r\n", "\r\n\r\n[HELP]\r\nFindLostWindows=Yes\r\n"})
        EXPECT_NE(file.find(kept), std::string::npos) << kept << "\nin:\n" << file;
    EXPECT_EQ(file.find("MoveInSound"), std::string::npos);
    EXPECT_EQ(file.find("\n\n"), std::string::npos) << "a bare LF line end in a CRLF file";

    LoadSettings(ini_);
    EXPECT_EQ(Settings.InspectorEdge, TEdge::Right);
    EXPECT_EQ(Settings.Motion, TMotion::Animated);
    EXPECT_EQ(Settings.MoveOutSound, "/snd/out2.wav");
    EXPECT_EQ(Settings.MoveInSound, "");
    EXPECT_TRUE(ini_.ReadBool("HELP", "FindLostWindows", false));
}

// Rules are read from section Windows; one that cannot be read is none,
// and the message names its key and column.
TEST_F(LoadSettingsTest, WindowRulesAreReadAndAMalformedOneIsNamed) {
    PutFile(ini_.FullPath(), "[Windows]\nMain=class=\"^Lazarus\"\nInspector=title=\"(\"\n");
    LoadSettings(ini_);
    EXPECT_EQ(Settings.MainRule, "class=\"^Lazarus\"");
    ASSERT_TRUE(Settings.MainWindowRule);
    EXPECT_TRUE(Settings.MainWindowRule->Matches({"Lazarus-gtk2", "", "", "", ""}));
    EXPECT_FALSE(Settings.InspectorWindowRule);
    const std::string problem = WindowRuleProblem(Settings);
    EXPECT_NE(problem.find("Windows.Inspector cannot be read at column 1"), std::string::npos)
        << problem;
    EXPECT_EQ(problem.find("Windows.Main"), std::string::npos) << problem;

    PutFile(ini_.FullPath(), "[Wingtucker]\ngwDelay=300\n");
    LoadSettings(ini_);
    EXPECT_FALSE(Settings.MainWindowRule) << "no rule: found as today";
    EXPECT_EQ(WindowRuleProblem(Settings), "");
}

// What a load makes of a number, by each setting's rule.
TEST(SettingSchemaTest, NumbersOutOfRangeFollowEachSettingsRule) {
    struct Case {
        TSettingId Id;
        std::int32_t In, Out;
    } cases[] = {
        {sHangOutPixels, 1, 2},
        {sHangOutPixels, 11, 10},
        {sHangOutPixels, 7, 7},
        {sAnimateSpeed, 1, 5},
        {sAnimateSpeed, 31, 5},
        {sAnimateSpeed, 2, 2},
        {sOpenDelay, 1001, 200},
        {sOpenDelay, -5, -5},
        {sOpenDelay, 1000, 1000},
        {sSide, 1, 1},
        {sSide, 2, 0},
        {sSide, -1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LoadedNumber(SettingOf(c.Id), c.In), c.Out) << SettingOf(c.Id).Key << " " << c.In;
    EXPECT_EQ(FindSetting("gwdelay"), &SettingOf(sOpenDelay));
    EXPECT_EQ(FindSetting("OPENDELAY"), &SettingOf(sOpenDelay));
    EXPECT_EQ(FindSetting("Delay"), nullptr);
}

} // namespace
} // namespace wt
