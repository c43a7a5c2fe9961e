// TIniEditor: where its file lies, how typed values are written and read
// back, and the properties a form description sets by name.
#include "settings/EasyINI.h"
#include "settings_fixture.h"
#include "toolkit/core/reader.h"
#include "toolkit/core/writer.h"

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>

namespace wt {
namespace {

using testing::GetFile;
using testing::PutFile;

class IniPathTest : public testing::SimDesktopTest {
protected:
    std::string PathFor(const std::string& fileName, TFileLocation location) {
        TIniEditor ini;
        ini.SetFileName(fileName);
        ini.SetFileLocation(location);
        return ini.FullPath();
    }
};

TEST_F(IniPathTest, LocationsGiveTheirDirectories) {
    sim_->SetConfigurationDirectory("/home/user/config/wingtucker");
    sim_->SetModuleFileName("/opt/delphi/bin/hostide");
    EXPECT_EQ(PathFor("Wingtckr.ini", TIniEditor::WindowsPath),
              "/home/user/config/wingtucker/Wingtckr.ini");
    EXPECT_EQ(PathFor("Wingtckr.ini", TIniEditor::ApplicationPath), "/opt/delphi/bin/Wingtckr.ini");
    EXPECT_EQ(PathFor("/etc/proj.dsk", TIniEditor::PathInFileName), "/etc/proj.dsk");

    // A directory that already ends in "/" gets no second one.
    sim_->SetConfigurationDirectory("/cfg/");
    EXPECT_EQ(PathFor("Wingtckr.ini", TIniEditor::WindowsPath), "/cfg/Wingtckr.ini");
    // A program file name without any "/" gives no directory.
    sim_->SetModuleFileName("hostide");
    EXPECT_EQ(PathFor("Wingtckr.ini", TIniEditor::ApplicationPath), "Wingtckr.ini");
}

TEST_F(IniPathTest, FileNameRules) {
    sim_->SetConfigurationDirectory("/cfg/wingtucker");
    EXPECT_EQ(PathFor("SETUP", TIniEditor::WindowsPath), "/cfg/wingtucker/SETUP.INI");
    EXPECT_EQ(PathFor("/sub/x.ini", TIniEditor::WindowsPath), "/cfg/wingtucker/sub/x.ini");
    EXPECT_EQ(PathFor("C:x.ini", TIniEditor::WindowsPath), "C:x.ini");
    EXPECT_EQ(PathFor("SETUP", TIniEditor::PathInFileName), "SETUP.INI");
    // A dot anywhere in the path, the directory included, suppresses ".INI".
    sim_->SetConfigurationDirectory("/home/user/.config/wingtucker");
    EXPECT_EQ(PathFor("SETUP", TIniEditor::WindowsPath), "/home/user/.config/wingtucker/SETUP");
}

TEST_F(IniPathTest, DirectoryIsComputedOnlyByTheLocationSetter) {
    sim_->SetConfigurationDirectory("/first");
    TIniEditor ini;
    ini.SetFileName("a.ini");
    EXPECT_EQ(ini.FileLocation(), TIniEditor::ApplicationPath);
    EXPECT_EQ(ini.Directory(), "") << "never assigned: the file name is used unchanged";
    EXPECT_EQ(ini.FullPath(), "a.ini");

    ini.SetFileLocation(TIniEditor::WindowsPath);
    sim_->SetConfigurationDirectory("/second");
    ini.SetFileName("b.ini");
    EXPECT_EQ(ini.FullPath(), "/first/b.ini") << "the file name setter recomputes nothing";
    ini.SetFileLocation(TIniEditor::WindowsPath);
    EXPECT_EQ(ini.FullPath(), "/second/b.ini") << "the same location again recomputes";
}

TEST_F(IniPathTest, AFormDescriptionSetsItUpAndAlwaysStoresTheLocation) {
    sim_->SetConfigurationDirectory("/cfg");
    sim_->SetModuleFileName("/opt/bin/hostide");
    TComponent form;
    TReader(&form, "main.wfm")
        .Read("object frmMain: TComponent\n"
              "  object ini: TIniEditor\n"
              "    FileName = 'Wingtckr.ini'\n"
              "    FileLocation = WindowsPath\n"
              "  end\n"
              "  object iniProj: TIniEditor\n"
              "    FileLocation = ApplicationPath\n"
              "  end\n"
              "end\n");
    auto* ini = qobject_cast<TIniEditor*>(form.FindComponent("ini"));
    auto* iniProj = qobject_cast<TIniEditor*>(form.FindComponent("iniProj"));
    ASSERT_TRUE(ini && iniProj);
    EXPECT_EQ(ini->FullPath(), "/cfg/Wingtckr.ini");
    // The location equal to the initial one still ran its setter.
    EXPECT_EQ(iniProj->Directory(), "/opt/bin/");

    QString written = WriteFormDescription(iniProj);
    EXPECT_TRUE(written.contains("FileLocation = ApplicationPath")) << ToStd(written);
    EXPECT_FALSE(written.contains("FileName")) << "an empty FileName is stored\n" << ToStd(written);
    written = WriteFormDescription(ini);
    EXPECT_TRUE(written.contains("FileName = 'Wingtckr.ini'")) << ToStd(written);
    EXPECT_TRUE(written.contains("FileLocation = WindowsPath")) << ToStd(written);
}

class IniValueTest : public testing::SimDesktopTest {
protected:
    void SetUp() override {
        testing::SimDesktopTest::SetUp();
        ini_.SetFileName("values.ini");
        ini_.SetFileLocation(TIniEditor::WindowsPath);
    }
    void Store(const std::string& value) { PutFile(ini_.FullPath(), "[S]\nk=" + value + "\n"); }

    TIniEditor ini_;
};

TEST_F(IniValueTest, ReadBoolKnowsTrueYesAndOne) {
    for (const char* text : {"true", "Yes", "YES", "1", "TrUe"}) {
        Store(text);
        EXPECT_TRUE(ini_.ReadBool("S", "k", false)) << text;
    }
    for (const char* text : {"0", "no", "on", "", "yes please", "2"}) {
        Store(text);
        EXPECT_FALSE(ini_.ReadBool("S", "k", true)) << text;
    }
    EXPECT_TRUE(ini_.ReadBool("S", "absent", true));
    EXPECT_FALSE(ini_.ReadBool("S", "absent", false));
}

TEST_F(IniValueTest, ReadIntCutsTowardZeroAndFallsBackOnWhatDoesNotFit) {
    const std::pair<const char*, std::int32_t> cases[] = {
        {"12.99", 12},
        {"-12.99", -12},
        {"1E3", 1000},
        {"+7", 7},
        {"2147483647", 2147483647},
        {"-2147483648.5", -2147483647 - 1},
        {"1E20", -5},
        {"2147483648", -5},
        {"abc", -5},
        {"", -5},
        {"12abc", -5},
        {"inf", -5},
        {"0x10", -5},
        {"1e", -5},
        {"--1", -5},
    };
    for (auto [text, expected] : cases) {
        Store(text);
        EXPECT_EQ(ini_.ReadInt("S", "k", -5), expected) << text;
    }
    EXPECT_EQ(ini_.ReadInt("S", "absent", 42), 42);
}

TEST_F(IniValueTest, WrittenValuesReadBack) {
    ini_.WriteBool("S", "b", true);
    ini_.WriteInt("S", "i", -2147483647 - 1);
    ini_.WriteChar("S", "c", 'Q');
    ini_.WriteStr("S", "s", "C:/sounds/whoosh in.wav");
    ini_.WriteReal("S", "r", 0.1L);
    ini_.WriteReal("S", "big", 1.5e300L);
    ini_.WriteReal("S", "inf", std::numeric_limits<long double>::infinity());
    EXPECT_EQ(ini_.ReadStr("S", "b", ""), "True");
    EXPECT_EQ(ini_.ReadInt("S", "i", 0), -2147483647 - 1);
    EXPECT_EQ(ini_.ReadChar("S", "c", 'x'), 'Q');
    EXPECT_EQ(ini_.ReadStr("S", "s", ""), "C:/sounds/whoosh in.wav");
    EXPECT_EQ(ini_.ReadStr("S", "r", ""), "0.1");
    EXPECT_EQ(ini_.ReadReal("S", "r", 0), 0.1L);
    EXPECT_EQ(ini_.ReadReal("S", "big", 0), 1.5e300L);
    EXPECT_TRUE(std::isinf(ini_.ReadReal("S", "inf", 0)));
    EXPECT_EQ(ini_.ReadInt("S", "inf", 3), 3);
    EXPECT_EQ(ini_.ReadReal("S", "absent", 2.5L), 2.5L);
    // A stored value present but empty has no first character.
    Store("");
    EXPECT_EQ(ini_.ReadChar("S", "k", 'd'), 'd');
}

// A locale whose decimal separator is a comma, for the C++ library's number formatting.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST_F(IniValueTest, RealsUseADotWhateverTheLocale) {
    std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    Store("1.25");
    long double read = ini_.ReadReal("S", "k", 0);
    ini_.WriteReal("S", "r", 2.5L);
    std::locale::global(previous);
    EXPECT_EQ(read, 1.25L);
    EXPECT_EQ(GetFile(ini_.FullPath()), "[S]\nk=1.25\nr=2.5\n");
}

TEST_F(IniValueTest, EmptyTextsEraseKeysAndSections) {
    ini_.WriteStr("S", "a", "1");
    ini_.WriteStr("S", "b", "2");
    ini_.WriteStr("T", "c", "3");
    ini_.WriteStr("S", "a", "");
    EXPECT_EQ(ini_.ReadStr("S", "a", "default"), "default");
    ini_.WriteStr("S", "b", "2");
    ini_.EraseEntry("S", "b");
    EXPECT_EQ(ini_.ReadStr("S", "b", "default"), "default");
    ini_.WriteStr("S", "a", "1");
    ini_.EraseSection("S");
    EXPECT_EQ(ini_.ReadStr("S", "a", "gone"), "gone");
    EXPECT_EQ(ini_.ReadStr("T", "c", ""), "3");
    EXPECT_EQ(GetFile(ini_.FullPath()).find("[S]"), std::string::npos);
}

TEST_F(IniValueTest, NothingHappensWithoutSectionOrFileName) {
    ini_.WriteStr("", "k", "v");
    EXPECT_EQ(ini_.ReadStr("", "k", "d"), "d");
    TIniEditor unnamed;
    unnamed.SetFileLocation(TIniEditor::WindowsPath);
    unnamed.WriteStr("S", "k", "v");
    EXPECT_EQ(unnamed.ReadStr("S", "k", "d"), "d");
    EXPECT_EQ(GetFile(ini_.FullPath()), "");
    EXPECT_EQ(GetFile(configDir_ + "/.INI"), "") << "an empty file name wrote a file";
}

} // namespace
} // namespace wt
