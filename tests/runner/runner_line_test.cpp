// The runner's command line and its autostart entry.
#include "runner/autostart.h"
#include "host/runner_line.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace wt {
namespace {

TEST(RunnerLineTest, OptionsAreReadAndABadOneIsOneLine) {
    struct Case {
        QStringList Arguments;
        QString Error; // a part of the message, "" for none
    };
    const Case cases[] = {
        {{"--preset", "lazarus", "--start", "--dir", "/tmp/x"}, ""},
        {{"--preset=Designer"}, ""},
        {{"--autostart", "on", "--preset", "lazarus"}, ""},
        {{"--preset", "vim"}, "unknown preset \"vim\" (lazarus, designer, hostide)"},
        {{"--preset"}, "--preset needs a value"},
        {{"--dir="}, "--dir needs a directory"},
        {{"--autostart", "maybe"}, "--autostart takes on or off"},
        {{"--frobnicate"}, "unknown argument \"--frobnicate\""},
        {{QString(200, u'x')}, "unknown argument"},
    };
    for (const Case& c : cases) {
        const RunnerLine line = ParseRunnerLine(c.Arguments);
        if (c.Error.isEmpty()) {
            EXPECT_TRUE(line.Error.isEmpty()) << c.Arguments.join(' ').toStdString();
        } else {
            EXPECT_TRUE(line.Error.contains(c.Error)) << line.Error.toStdString();
            EXPECT_FALSE(line.Error.contains(u'\n'));
            EXPECT_LT(line.Error.size(), 120) << "a long argument is cut";
        }
    }
    const RunnerLine full = ParseRunnerLine({"--preset", "lazarus", "--start", "--dir", "/tmp/x"});
    EXPECT_EQ(full.Preset, "lazarus");
    EXPECT_TRUE(full.Start);
    EXPECT_EQ(full.Dir, "/tmp/x");
    EXPECT_EQ(*ParseRunnerLine({"--autostart=off"}).Autostart, false);
}

// The entry runs the runner with the options given, quoted where a desktop
// entry needs it; off removes it, and removing what is not there is no error.
TEST(AutostartTest, TheEntryIsWrittenWholeAndRemoved) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const std::string dir = config.path().toStdString();
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    const std::string name = AutostartFileName();
    EXPECT_EQ(name, dir + "/autostart/wingtucker.desktop");

    EXPECT_EQ(SetAutostart(true, "wingtucker", {"--preset", "lazarus", "--dir", "/my dir/100%"}),
              "");
    QFile file(QString::fromStdString(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nExec=wingtucker --preset lazarus --dir \"/my dir/100%%\"\n"))
        << text.toStdString();
    EXPECT_EQ(QDir(config.path() + "/autostart").entryList(QDir::Files).size(), 1)
        << "no temporary file is left";

    EXPECT_EQ(SetAutostart(false, "wingtucker", {}), "");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(name)));
    EXPECT_EQ(SetAutostart(false, "wingtucker", {}), "");

    // A folder where the file should be: said, not thrown.
    QDir().mkpath(QString::fromStdString(name));
    EXPECT_NE(SetAutostart(true, "wingtucker", {}), "");
    unsetenv("XDG_CONFIG_HOME");
}

} // namespace
} // namespace wt
