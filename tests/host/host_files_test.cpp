// hostide's own files: INI text, desktop files, project files, the add-in
// list and the configuration directory.
#include "host/desktop_file.h"
#include "host/host_paths.h"
#include "host/ini_text.h"
#include "host/project_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace wt;

namespace {

void WriteText(const QString& fileName, const QByteArray& text) {
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray ReadText(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct ParseFailure {
    int Line;
    QString Error;
};

ParseFailure FailureOf(const QByteArray& text) {
    IniDocument document;
    int line = 0;
    QString error;
    EXPECT_FALSE(ParseIni(text, &document, &line, &error)) << text.constData();
    return {line, error};
}

} // namespace

TEST(IniText, MalformedLinesAreNamedByNumber) {
    EXPECT_EQ(FailureOf("; comment\nKey=1\n").Line, 2);
    EXPECT_EQ(FailureOf("[A]\nx=1\n[B\n").Line, 3);
    EXPECT_EQ(FailureOf("[A]\n\njust words\n").Line, 3);
    EXPECT_EQ(FailureOf("[A]\n=value\n").Line, 2);
    EXPECT_EQ(FailureOf("[ ]\n").Line, 1);
    EXPECT_EQ(FailureOf(QByteArray("[A]\nx=1\0y\n", 10)).Line, 2);
    EXPECT_TRUE(FailureOf("[A]\nno equals here\n").Error.contains("no equals here"));
}

TEST(IniText, ReadsEntriesAsWrittenByHand) {
    IniDocument document;
    int line = 0;
    QString error;
    ASSERT_TRUE(
        ParseIni("# made by hand\r\n[Main]\r\n  Path = a=b  \r\n\r\n[main]\r\nPath=later\r\n",
                 &document, &line, &error))
        << error.toStdString();
    const IniSection* section = document.Find("MAIN");
    ASSERT_NE(section, nullptr);
    ASSERT_NE(section->Find("path"), nullptr);
    EXPECT_EQ(section->Find("path")->Value, "a=b");
    EXPECT_EQ(section->Find("path")->Line, 3);
}

TEST(IniText, ALineBreakInAValueCannotAddEntries) {
    IniDocument document;
    document.Set("Project", "Name", "evil\n[MainWindow]\nWidth=0");
    IniDocument reread;
    int line = 0;
    QString error;
    ASSERT_TRUE(ParseIni(FormatIni(document), &reread, &line, &error));
    ASSERT_EQ(reread.Sections.size(), 1);
    EXPECT_EQ(reread.Sections[0].Entries.size(), 1);
}

TEST(IniText, AFailedWriteLeavesTheOldFileAlone) {
    QTemporaryDir dir;
    // The target is a folder: the rename over it fails after the temporary
    // file was written, which must then be gone.
    const QString target = dir.filePath("taken");
    ASSERT_TRUE(QDir().mkpath(target + "/inside"));
    IniDocument document;
    document.Set("A", "B", "C");
    QString error;
    EXPECT_FALSE(WriteIniFileSafely(target, document, &error));
    EXPECT_TRUE(error.contains(target));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"taken"});
}

TEST(DesktopFile, WhatIsWrittenReadsBack) {
    QTemporaryDir dir;
    const QString fileName = dir.filePath("sub/Project1.dsk");
    DesktopLayout layout{QRect(-3, 0, 1024, 106), QRect(500, 200, 220, 450), false};
    QString error;
    ASSERT_TRUE(WriteDesktopFile(fileName, layout, &error)) << error.toStdString();
    DesktopLayout read;
    ASSERT_TRUE(ReadDesktopFile(fileName, &read, &error)) << error.toStdString();
    EXPECT_EQ(read, layout);
}

TEST(DesktopFile, BadValuesAreRefusedWithFileLineAndKey) {
    QTemporaryDir dir;
    const QString fileName = dir.filePath("bad.dsk");
    const QByteArray good = "[MainWindow]\nLeft=0\nTop=0\nWidth=800\nHeight=106\n"
                            "[ObjectInspector]\nLeft=0\nTop=130\nWidth=220\nHeight=450\n";
    struct Case {
        QByteArray From, To;
        QString Expected;
    } cases[] = {
        {"Width=800", "Width=wide", "line 4: Width"},
        {"Height=450", "Height=0", "line 10: Height"},
        {"Left=0\nTop=130", "Left=99999\nTop=130", "line 7: Left"},
        {"Top=130\n", "", "[ObjectInspector] has no Top"},
        {"[MainWindow]", "[Main]", "[MainWindow] is missing"},
        {"Height=450\n", "Height=450\nVisible=2\n", "Visible"},
    };
    for (const Case& c : cases) {
        QByteArray text = good;
        text.replace(c.From, c.To);
        WriteText(fileName, text);
        DesktopLayout layout{QRect(1, 2, 3, 4), QRect(5, 6, 7, 8), true};
        const DesktopLayout before = layout;
        QString error;
        EXPECT_FALSE(ReadDesktopFile(fileName, &layout, &error)) << text.constData();
        EXPECT_TRUE(error.contains(fileName)) << error.toStdString();
        EXPECT_TRUE(error.contains(c.Expected)) << error.toStdString();
        EXPECT_EQ(layout, before);
    }
}

TEST(DesktopFile, GarbageAndMissingFilesAreReported) {
    QTemporaryDir dir;
    DesktopLayout layout;
    QString error;
    EXPECT_FALSE(ReadDesktopFile(dir.filePath("none.dsk"), &layout, &error));
    EXPECT_TRUE(error.contains("none.dsk"));
    WriteText(dir.filePath("binary.dsk"), QByteArray("\x7f"
                                                     "ELF\x02\x01\x01\0\0\0",
                                                     10));
    EXPECT_FALSE(ReadDesktopFile(dir.filePath("binary.dsk"), &layout, &error));
    EXPECT_TRUE(error.contains("line 1"));
}

TEST(ProjectFile, TheDesktopLiesBesideTheProject) {
    EXPECT_EQ(DesktopFileForProject("/p/Project1.dpr"), "/p/Project1.dsk");
    EXPECT_EQ(DesktopFileForProject("/p/x.y.dpr"), "/p/x.y.dsk");
    EXPECT_EQ(DesktopFileForProject("/p/plain"), "/p/plain.dsk");
    EXPECT_EQ(DesktopFileForProject("/p/a/../.hidden"), "/p/.hidden.dsk");
    // Saving the desktop of a project named *.dsk must not overwrite it.
    EXPECT_EQ(DesktopFileForProject("/p/Odd.DSK"), "/p/Odd.DSK.dsk");
}

TEST(ProjectFile, CreatedProjectsOpenAndExistingFilesAreKept) {
    QTemporaryDir dir;
    const QString fileName = dir.filePath("Demo.dpr");
    ProjectInfo created;
    QString error;
    ASSERT_TRUE(CreateProjectFile(fileName, &created, &error)) << error.toStdString();
    EXPECT_EQ(created.Name, "Demo");
    EXPECT_EQ(created.FileName, FullFileName(fileName));
    const QByteArray text = ReadText(fileName);
    EXPECT_FALSE(CreateProjectFile(fileName, &created, &error));
    EXPECT_EQ(ReadText(fileName), text);

    ProjectInfo opened;
    ASSERT_TRUE(ReadProjectFile(fileName, &opened, &error));
    EXPECT_EQ(opened.Name, "Demo");

    WriteText(dir.filePath("other.dpr"), "[Something]\nName=x\n");
    EXPECT_FALSE(ReadProjectFile(dir.filePath("other.dpr"), &opened, &error));
    EXPECT_TRUE(error.contains("[Project]"));
}

TEST(HostPaths, ConfigurationDirectoryFollowsXdgConfigHome) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config/");
    EXPECT_EQ(HostConfigurationDirectory(), "/somewhere/config/hostide");
    EXPECT_EQ(DefaultDesktopFileName(), "/somewhere/config/hostide/DELPHI32.DSK");
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(HostConfigurationDirectory(), QDir::homePath() + "/.config/hostide");
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST(HostPaths, TheAddInListNamesFilesFromTheConfigurationDirectory) {
    const AddInList list =
        ParseAddInList("# mine\n\n  /abs/libone.so  \nsub/libtwo.so\n#/off.so\n", "/cfg/hostide");
    EXPECT_TRUE(list.FromListFile);
    EXPECT_EQ(list.Files, (QStringList{"/abs/libone.so", "/cfg/hostide/sub/libtwo.so"}));

    QTemporaryDir dir;
    EXPECT_FALSE(ReadAddInList(dir.filePath("missing")).FromListFile);
    WriteText(dir.filePath("empty"), "");
    const AddInList empty = ReadAddInList(dir.filePath("empty"));
    EXPECT_TRUE(empty.FromListFile);
    EXPECT_TRUE(empty.Files.isEmpty());
}

// An add-in may change the process's current directory (its directory
// dialogs do); every path hostide keeps must mean the same file afterwards.
TEST(HostPaths, PathsStayTheSameWhenAnAddInChangesTheCurrentDirectory) {
    const QString before = QDir::currentPath();
    QTemporaryDir elsewhere;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_CONFIG_HOME");
    const QStringList paths = {HostConfigurationDirectory(), DefaultDesktopFileName(),
                               AddInListFileName()};
    for (const QString& path : paths)
        EXPECT_TRUE(QDir::isAbsolutePath(path)) << path.toStdString();
    const QStringList candidates = DefaultAddInCandidates(QStringLiteral("/opt/hostide/bin"));
    for (const QString& path : candidates)
        EXPECT_TRUE(QDir::isAbsolutePath(path)) << path.toStdString();
    WriteText(elsewhere.filePath("list"), "libone.so\n");
    const AddInList list = ReadAddInList(elsewhere.filePath("list"));
    ASSERT_EQ(list.Files.size(), 1);
    EXPECT_TRUE(QDir::isAbsolutePath(list.Files.front()));

    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    EXPECT_EQ(
        (QStringList{HostConfigurationDirectory(), DefaultDesktopFileName(), AddInListFileName()}),
        paths);
    EXPECT_EQ(DefaultAddInCandidates(QStringLiteral("/opt/hostide/bin")), candidates);
    QDir::setCurrent(before);
    qputenv("XDG_CONFIG_HOME", saved);
}
