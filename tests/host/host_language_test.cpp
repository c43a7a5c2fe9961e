// hostide's command line and the language of its scripts.
#include "host/command_line.h"
#include "host/script.h"
#include "host/script_host.h"

#include <gtest/gtest.h>

using namespace wt;

TEST(ScriptLanguage, ReadsEveryCommandWithItsArguments) {
    const ScriptParse parse = ParseScript("# demo\r\n"
                                          "open-project /tmp/My Projects/P.dpr\r\n"
                                          "menu Tools|Wingtucker 1.2d\n"
                                          "  click 10 20 right\n"
                                          "move 0 767\n"
                                          "wait 250\n"
                                          "echo   step one  \n"
                                          "echo\n"
                                          "rects\n"
                                          "screenshot shots/a.png\n"
                                          "save-desktop\n"
                                          "quit\n");
    ASSERT_EQ(parse.ErrorLine, 0) << parse.Error.toStdString();
    ASSERT_EQ(parse.Commands.size(), 11u);
    const auto& c = parse.Commands;
    EXPECT_EQ(c[0].Op, ScriptOp::OpenProject);
    EXPECT_EQ(c[0].Text, "/tmp/My Projects/P.dpr");
    EXPECT_EQ(c[0].Line, 2);
    EXPECT_EQ(c[1].Text, "Tools|Wingtucker 1.2d");
    EXPECT_EQ(c[2].Op, ScriptOp::Click);
    EXPECT_EQ(c[2].X, 10);
    EXPECT_EQ(c[2].Y, 20);
    EXPECT_EQ(c[2].Button, 3);
    EXPECT_EQ(c[3].Op, ScriptOp::Move);
    EXPECT_EQ(c[3].Y, 767);
    EXPECT_EQ(c[4].Milliseconds, 250);
    EXPECT_EQ(c[5].Text, "step one");
    EXPECT_EQ(c[6].Text, "");
    EXPECT_EQ(c[8].Text, "shots/a.png");
    EXPECT_EQ(c[10].Op, ScriptOp::Quit);
    EXPECT_EQ(c[10].Line, 12);
}

TEST(ScriptLanguage, ReadsKeysTextFocusAndProperties) {
    const ScriptParse parse =
        ParseScript("type Hello world 42\nkey alt+f\nfocus\nproperty Caption\n");
    ASSERT_EQ(parse.ErrorLine, 0) << parse.Error.toStdString();
    const auto& c = parse.Commands;
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].Op, ScriptOp::Type);
    EXPECT_EQ(c[0].Text, "Hello world 42");
    EXPECT_EQ(c[1].Op, ScriptOp::Key);
    EXPECT_EQ(c[1].Text, "alt+f");
    EXPECT_EQ(c[2].Op, ScriptOp::Focus);
    EXPECT_EQ(c[3].Op, ScriptOp::Property);
    EXPECT_EQ(c[3].Text, "Caption");
}

TEST(ScriptLanguage, AMalformedLineIsNamedAndNothingIsKept) {
    struct Case {
        const char* Script;
        int Line;
        const char* Words;
    } cases[] = {
        {"echo a\nwait\n", 2, "milliseconds"},
        {"wait -5\n", 1, "milliseconds"},
        {"wait 5 6\n", 1, "milliseconds"},
        {"wait 600001\n", 1, "600000"},
        {"\n\nmove 10\n", 3, "X and Y"},
        {"move 10 y\n", 1, "X and Y"},
        {"move -1 5\n", 1, "X and Y"},
        {"move 1 2 3\n", 1, "X and Y"},
        {"click 1 2 sideways\n", 1, "sideways"},
        {"quit now\n", 1, "nothing after"},
        {"rects all\n", 1, "nothing after"},
        {"open-project\n", 1, "file name"},
        {"menu\n", 1, "menu entry"},
        {"echo ok\nfly 1 2\n", 2, "unknown command \"fly\""},
        {"Quit\n", 1, "unknown command"},
        {"type\n", 1, "letters, digits and spaces"},
        {"type caf\xc3\xa9\n", 1, "letters, digits and spaces"},
        {"type a-b\n", 1, "letters, digits and spaces"},
        {"key\n", 1, "one word"},
        {"key alt+f x\n", 1, "one word"},
        {"property\n", 1, "one word"},
        {"focus now\n", 1, "nothing after"},
        {"control\n", 1, "one word"},
        {"control a b\n", 1, "one word"},
        {"click-control\n", 1, "needs a name"},
        {"click-control a 5\n", 1, "needs a name"},
        {"click-control a 5 down\n", 1, "DX and DY"},
        {"click-control a 40000 1\n", 1, "DX and DY"},
    };
    for (const Case& c : cases) {
        const ScriptParse parse = ParseScript(c.Script);
        EXPECT_EQ(parse.ErrorLine, c.Line) << c.Script;
        EXPECT_TRUE(parse.Error.contains(c.Words))
            << c.Script << " -> " << parse.Error.toStdString();
        EXPECT_TRUE(parse.Commands.empty()) << c.Script;
    }
    EXPECT_EQ(ParseScript(QByteArray("echo a\necho \0b\n", 15)).ErrorLine, 2);
    EXPECT_EQ(ParseScript("echo ok\necho " + QByteArray(5000, 'x')).ErrorLine, 2);
}

TEST(ScriptLanguage, MenuTextsAreComparedWithoutMarksAndShortcuts) {
    EXPECT_EQ(PlainMenuText("&Open Project...\tCtrl+F11"), "Open Project...");
    EXPECT_EQ(PlainMenuText("Save && Quit"), "Save & Quit");
    EXPECT_EQ(PlainMenuText("Wingtucker 1.2d"), "Wingtucker 1.2d");
}

TEST(CommandLine, TakesAddInsAndAScript) {
    const CommandLine line =
        ParseCommandLine({"--addin", "a.so", "--script", "-", "--addin=/b.so"});
    EXPECT_EQ(line.Error, "");
    EXPECT_EQ(line.AddIns, (QStringList{"a.so", "/b.so"}));
    EXPECT_EQ(line.Script, "-");
    EXPECT_TRUE(ParseCommandLine({"-h"}).Help);
    EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
}

TEST(CommandLine, RefusesWhatItDoesNotKnow) {
    EXPECT_TRUE(ParseCommandLine({"--addin"}).Error.contains("--addin"));
    EXPECT_TRUE(ParseCommandLine({"--addin="}).Error.contains("--addin"));
    EXPECT_TRUE(ParseCommandLine({"--script", "a", "--script", "b"}).Error.contains("twice"));
    EXPECT_TRUE(ParseCommandLine({"project.dpr"}).Error.contains("project.dpr"));
    EXPECT_TRUE(ParseCommandLine({"--help=yes"}).Error.contains("--help=yes"));
}
