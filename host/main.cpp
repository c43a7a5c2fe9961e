// hostide: a small host IDE for add-ins that export INITEXPERT0016. It shows
// the IDE's main window and Object Inspector, opens projects and desktops,
// loads the add-ins, lists their experts in the Tools menu and, with
// --script, runs a list of commands for demos and tests.
#include "host/command_line.h"
#include "host/host_application.h"
#include "host/ide_session.h"
#include "host/quit_signals.h"
#include "host/script.h"
#include "host/script_host.h"
#include "host/script_runner.h"
#include "wingtucker_version.h"

#include <QFile>

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr qint64 MaxScriptSize = 16 * 1024 * 1024;

void Complain(const QString& message) {
    std::fprintf(stderr, "hostide: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

// Reads the script; false after a complaint when it cannot be read.
bool ReadScript(const QString& name, QByteArray* text) {
    QFile file;
    const bool standardInput = name == QLatin1String("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly)
                                      : (file.setFileName(name), file.open(QIODevice::ReadOnly));
    if (!opened) {
        Complain(QStringLiteral("the script %1 cannot be read: %2").arg(name, file.errorString()));
        return false;
    }
    *text = file.read(MaxScriptSize + 1);
    if (text->size() > MaxScriptSize) {
        Complain(
            QStringLiteral("the script %1 is larger than %2 bytes").arg(name).arg(MaxScriptSize));
        return false;
    }
    return true;
}

// A malformed command line, --help and --version: the exit status, or none
// when the IDE is to run.
std::optional<int> AnswerWithoutRunning(const wt::CommandLine& line) {
    if (!line.Error.isEmpty()) {
        Complain(line.Error);
        std::fputs(wt::UsageText().toLocal8Bit().constData(), stderr);
        return 2;
    }
    if (line.Help) {
        std::fputs(wt::UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.Version) {
        std::puts("hostide " WT_PRODUCT_VERSION);
        return 0;
    }
    return std::nullopt;
}

// Reads and parses the script at path ("-": standard input); false, after
// saying why, when it cannot be read or is malformed.
bool LoadScript(const QString& path, const QString& shownName,
                std::vector<wt::ScriptCommand>* commands) {
    QByteArray text;
    if (!ReadScript(path, &text))
        return false;
    wt::ScriptParse parse = wt::ParseScript(text);
    if (parse.ErrorLine) {
        Complain(QStringLiteral("script %1, line %2: %3")
                     .arg(shownName)
                     .arg(parse.ErrorLine)
                     .arg(parse.Error));
        return false;
    }
    *commands = std::move(parse.Commands);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const wt::CommandLine line = wt::ParseCommandLine(arguments);
    if (const std::optional<int> status = AnswerWithoutRunning(line))
        return *status;

    // A malformed script is refused before anything of it runs.
    std::vector<wt::ScriptCommand> commands;
    const QString scriptName =
        line.Script == QLatin1String("-") ? QStringLiteral("standard input") : line.Script;
    if (!line.Script.isEmpty() && !LoadScript(line.Script, scriptName, &commands))
        return 2;

    wt::HostApplication app(argc, argv, QStringLiteral("hostide"));
    if (!app.Problem().isEmpty()) {
        Complain(app.Problem());
        return 1;
    }

    int status = 0;
    wt::IdeSession session;
    wt::QuitSignals quitSignals;
    // The IDE's exit must not depend on its add-ins' forms (HostApplication::Exit).
    QObject::connect(&session, &wt::IdeSession::ExitRequested, app.Context(),
                     [] { wt::HostApplication::Exit(0); });
    QObject::connect(&quitSignals, &wt::QuitSignals::QuitRequested, &session,
                     &wt::IdeSession::ExitRequested);

    wt::IdeScriptHost scriptHost(session);
    std::unique_ptr<wt::ScriptRunner> runner;
    if (!line.Script.isEmpty()) {
        runner = std::make_unique<wt::ScriptRunner>(scriptHost, std::move(commands));
        QObject::connect(runner.get(), &wt::ScriptRunner::Failed, app.Context(),
                         [&](int scriptLine, const QString& message) {
                             Complain(QStringLiteral("script %1, line %2: %3")
                                          .arg(scriptName)
                                          .arg(scriptLine)
                                          .arg(message));
                             status = 1;
                             wt::HostApplication::Exit(1);
                         });
        QObject::connect(&session, &wt::IdeSession::Ready, runner.get(), &wt::ScriptRunner::Start);
    }

    session.Start(line.AddIns);
    const int result = wt::HostApplication::Exec();
    session.Shutdown();
    return status ? status : result;
}
