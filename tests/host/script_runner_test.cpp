// The script runner: commands in order through the event loop, a failing
// command stopping the script at its line, quit ending it, the script going
// on while a command runs a modal loop.
#include "host/script.h"
#include "host/script_runner.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <memory>

using namespace wt;

namespace {

class RecordingHost final : public ScriptHost {
public:
    QStringList Calls;
    QString FailOn; // the call that fails
    // The call that runs a loop of its own, as an add-in's modal dialog
    // does, until "close" is printed (or three seconds pass).
    QString BlockOn;
    QEventLoop* Blocked = nullptr;
    bool Quitted = false;
    bool Unloaded = false;

    bool Record(const QString& call, QString* error) {
        Calls.append(call);
        if (call == BlockOn) {
            QEventLoop loop;
            Blocked = &loop;
            QTimer::singleShot(3000, &loop, &QEventLoop::quit);
            loop.exec();
            Blocked = nullptr;
            Calls.append("returned " + call);
        }
        if (call != FailOn)
            return true;
        *error = "cannot " + call;
        return false;
    }
    bool NewProject(const QString& f, QString* e) override { return Record("new " + f, e); }
    bool OpenProject(const QString& f, QString* e) override { return Record("open " + f, e); }
    bool CloseProject(QString* e) override { return Record("close", e); }
    bool OpenDesktop(const QString& f, QString* e) override { return Record("desktop " + f, e); }
    bool SaveDesktop(QString* e) override { return Record("save", e); }
    bool PickMenuEntry(const QString& t, QString* e) override { return Record("menu " + t, e); }
    bool MovePointer(int x, int y, QString* e) override {
        return Record(QString("move %1 %2").arg(x).arg(y), e);
    }
    bool Click(int x, int y, int b, QString* e) override {
        return Record(QString("click %1 %2 %3").arg(x).arg(y).arg(b), e);
    }
    bool Screenshot(const QString& f, QString* e) override { return Record("shot " + f, e); }
    bool TypeText(const QString& t, QString* e) override { return Record("type " + t, e); }
    bool PressKey(const QString& k, QString* e) override { return Record("key " + k, e); }
    bool ClickMenu(const QString& t, QString* e) override { return Record("click-menu " + t, e); }
    bool ClickButton(const QString& t, QString* e) override {
        return Record("click-button " + t, e);
    }
    bool ClickControl(const QString& n, const std::optional<QPoint>& at, QString* e) override {
        return Record(at ? QString("click-control %1 %2 %3").arg(n).arg(at->x()).arg(at->y())
                         : "click-control " + n,
                      e);
    }
    QString ControlLine(const QString& n) override { return "control " + n + " 1 2 3 4 shown"; }
    bool ClickProperty(const QString& n, QString* e) override {
        return Record("click-property " + n, e);
    }
    QStringList WindowLines() override { return {"window A", "window B"}; }
    QString FocusLine() override { return "focus A popup none"; }
    QString PropertyLine(const QString& n) override { return "property " + n + " 1"; }
    void Print(const QString& line) override {
        Calls.append("print " + line);
        if (line == "close" && Blocked)
            Blocked->quit();
    }
    void Unload() override { Unloaded = true; }
    void Quit() override { Quitted = true; }
};

QCoreApplication* App() {
    static int argc = 1;
    static char name[] = "wt_host_tests";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QCoreApplication> app =
        QCoreApplication::instance() ? nullptr : std::make_unique<QCoreApplication>(argc, argv);
    return QCoreApplication::instance();
}

struct Outcome {
    int FailedLine = 0;
    QString Message;
    bool Finished = false;
};

Outcome RunScript(RecordingHost& host, const QByteArray& text) {
    App();
    const ScriptParse parse = ParseScript(text);
    EXPECT_EQ(parse.ErrorLine, 0) << parse.Error.toStdString();
    ScriptRunner runner(host, parse.Commands);
    Outcome outcome;
    QEventLoop loop;
    QObject::connect(&runner, &ScriptRunner::Failed, &loop, [&](int line, const QString& message) {
        outcome.FailedLine = line;
        outcome.Message = message;
        loop.quit();
    });
    QObject::connect(&runner, &ScriptRunner::Finished, &loop, [&] {
        outcome.Finished = true;
        loop.quit();
    });
    // quit stops the runner without a signal of its own: poll for it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (host.Quitted)
            loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    runner.Start();
    loop.exec();
    EXPECT_FALSE(runner.IsRunning());
    return outcome;
}

} // namespace

TEST(ScriptRunner, RunsEveryCommandInOrder) {
    RecordingHost host;
    const Outcome outcome = RunScript(host, "new-project a.dpr\nopen-project b.dpr\n"
                                            "menu Tools|X\nwait 1\nclick 5 6\nmove 7 8\n"
                                            "rects\necho hi\nscreenshot s.png\n"
                                            "open-desktop d.dsk\nsave-desktop\nclose-project\n"
                                            "control editHang\nclick-control notebook\n"
                                            "click-control editHang -6 4\n");
    EXPECT_TRUE(outcome.Finished);
    EXPECT_FALSE(host.Quitted);
    EXPECT_EQ(host.Calls,
              (QStringList{"new a.dpr", "open b.dpr", "menu Tools|X", "click 5 6 1", "move 7 8",
                           "print window A", "print window B", "print hi", "shot s.png",
                           "desktop d.dsk", "save", "close", "print control editHang 1 2 3 4 shown",
                           "click-control notebook", "click-control editHang -6 4"}));
}

TEST(ScriptRunner, AFailingCommandStopsTheScriptAtItsLine) {
    RecordingHost host;
    host.FailOn = "open missing.dpr";
    const Outcome outcome =
        RunScript(host, "echo one\n\n# note\nopen-project missing.dpr\necho two\nquit\n");
    EXPECT_EQ(outcome.FailedLine, 4);
    EXPECT_EQ(outcome.Message, "cannot open missing.dpr");
    EXPECT_FALSE(outcome.Finished);
    EXPECT_FALSE(host.Quitted);
    EXPECT_EQ(host.Calls, (QStringList{"print one", "open missing.dpr"}));
}

TEST(ScriptRunner, QuitEndsTheScript) {
    RecordingHost host;
    const Outcome outcome = RunScript(host, "echo one\nquit\necho two\n");
    EXPECT_TRUE(host.Quitted);
    EXPECT_FALSE(outcome.Finished);
    EXPECT_EQ(host.Calls, QStringList{"print one"});
}

TEST(ScriptRunner, TheScriptGoesOnWhileACommandRunsAModalLoop) {
    struct Case {
        const char* Name;
        QString FailOn;
        QByteArray Script;
        int FailedLine;
        QStringList Calls;
    };
    const Case cases[] = {
        {"the later commands close the dialog",
         "",
         "open-project a.dpr\necho close\nwait 100\necho after\n",
         0,
         {"open a.dpr", "print close", "returned open a.dpr", "print after"}},
        {"the command fails once its dialog is closed",
         "open a.dpr",
         "open-project a.dpr\necho close\nwait 300\necho never\n",
         1,
         {"open a.dpr", "print close", "returned open a.dpr"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        RecordingHost host;
        host.BlockOn = "open a.dpr";
        host.FailOn = c.FailOn;
        const Outcome outcome = RunScript(host, c.Script);
        EXPECT_EQ(outcome.FailedLine, c.FailedLine);
        EXPECT_EQ(outcome.Finished, c.FailedLine == 0);
        EXPECT_EQ(host.Calls.join(" | ").toStdString(), c.Calls.join(" | ").toStdString());
    }
}
