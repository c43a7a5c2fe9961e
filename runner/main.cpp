// wingtucker: serves the Wingtucker add-in with an IDE that runs as another
// program (Lazarus, Qt Designer), from the desktop's tray. It loads the
// add-in as hostide does and tells it of the IDE's windows and projects.
#include "host/host_paths.h"
#include "host/lost_display.h"
#include "host/quit_signals.h"
#include "host/thread_exit.h"
#include "host/x11_desktop.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/window_presets.h"
#include "runner/autostart.h"
#include "runner/guardian.h"
#include "runner/runner_line.h"
#include "runner/runner_lock.h"
#include "runner/runner_session.h"
#include "settings/settings_schema.h"
#include "wingtucker_version.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>

#include <X11/Xlib.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace wt;

void Complain(const QString& message) {
    std::fprintf(stderr, "wingtucker: %s\n", message.toLocal8Bit().constData());
    std::fflush(stderr);
}

std::optional<int> AnswerWithoutRunning(const RunnerLine& line, const QStringList& arguments) {
    if (!line.Error.isEmpty()) {
        Complain(line.Error);
        return 2;
    }
    if (line.Help) {
        std::fputs(RunnerUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (line.Version) {
        std::puts("wingtucker " WT_PRODUCT_VERSION);
        return 0;
    }
    if (line.Autostart) {
        // The entry starts the runner with the other options given here.
        std::vector<std::string> runArguments;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            if (arguments[i].startsWith(QLatin1String("--autostart"))) {
                i += arguments[i] == QLatin1String("--autostart") ? 1 : 0;
                continue;
            }
            runArguments.push_back(arguments[i].toStdString());
        }
        const std::string failure = SetAutostart(*line.Autostart, "wingtucker", runArguments);
        if (!failure.empty()) {
            Complain(QString::fromStdString(failure));
            return 1;
        }
        std::printf("%s %s\n", *line.Autostart ? "wrote" : "removed", AutostartFileName().c_str());
        return 0;
    }
    return std::nullopt;
}

// What the run looks for: the preset's rules, else the settings file's,
// else the classes hostide's windows carry.
RunnerSession::Setup ChooseWindows(const RunnerLine& line) {
    RunnerSession::Setup setup;
    const TWindowPreset* preset =
        line.Preset.isEmpty() ? nullptr : FindWindowPreset(line.Preset.toStdString());
    const std::string file = DefaultConfigurationDirectory() + "/" + SettingsFileName;
    auto fileRule = [&](const char* key) {
        return ProfileReadString(WindowsSection, key, "", 4096, file);
    };
    auto rule = [&](std::string_view presetRule, const char* key,
                    std::string_view fallback) -> TWindowRule {
        const std::string written = preset ? std::string(presetRule) : fileRule(key);
        if (auto parsed = ParseWindowRule(written))
            return *parsed;
        return *ParseWindowRule(fallback);
    };
    const TWindowPreset& hostide = *FindWindowPreset("hostide");
    setup.Preset = preset ? *preset : TWindowPreset{"", "the IDE", "", "", true, false, " - "};
    setup.MainRule = rule(setup.Preset.MainRule, "Main", hostide.MainRule);
    setup.InspectorRule = rule(setup.Preset.InspectorRule, "Inspector", hostide.InspectorRule);
    const TSettingInfo& hide = SettingOf(sHideInspector);
    const std::string hidden = ProfileReadString(
        hide.Section, hide.Key, hide.WhenAbsent || preset ? "True" : "False", 16, file);
    setup.WaitForInspector = !ProfileNamesEqual(hidden, "False") && hidden != "0";
    setup.StartWhenFound = line.Start;
    return setup;
}

QString FindAddIn() {
    for (const QString& candidate : DefaultAddInCandidates(QCoreApplication::applicationDirPath()))
        if (QFileInfo::exists(candidate))
            return candidate;
    return {};
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const RunnerLine line = ParseRunnerLine(arguments);
    if (const std::optional<int> status = AnswerWithoutRunning(line, arguments))
        return *status;

    // The add-in reads the folder and the preset of this run from here.
    if (!line.Dir.isEmpty())
        qputenv("WINGTUCKER_CONFIG_DIR", QFileInfo(line.Dir).absoluteFilePath().toLocal8Bit());
    if (!line.Preset.isEmpty())
        qputenv(RunPresetVariable, line.Preset.toLocal8Bit());

    QString displayError;
    if (!CanOpenDisplay(&displayError)) {
        Complain(displayError);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    AwaitThreadsAtExit();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("wingtucker"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/wingtucker_48.png")));
    if (QApplication::platformName() != QLatin1String("xcb") || !X11Display()) {
        Complain(QStringLiteral("wingtucker runs on X11 only"));
        return 1;
    }
    WatchForLostDisplay();

    RunnerLock lock(X11Display());
    long holder = 0;
    if (!lock.Acquire(&holder)) {
        Complain(QStringLiteral("another wingtucker runs on display %1 (process %2)")
                     .arg(QString::fromLocal8Bit(DisplayString(X11Display())))
                     .arg(holder));
        return 1;
    }

    RunnerSession::Setup setup = ChooseWindows(line);
    setup.AddInFile = FindAddIn();
    if (setup.AddInFile.isEmpty()) {
        Complain(QStringLiteral("the add-in libwingtucker.so was not found"));
        return 1;
    }
    // Started before any window is moved: it outlives a runner that dies.
    Guardian guardian;
    std::vector<std::string> addInPlaces;
    for (const QString& place : DefaultAddInCandidates(QCoreApplication::applicationDirPath()))
        addInPlaces.push_back(place.toStdString());
    std::string guardFailure;
    if (!guardian.Start(
            GuardianCandidates(QCoreApplication::applicationDirPath().toStdString(), addInPlaces),
            &guardFailure))
        Complain(QString::fromStdString(guardFailure) +
                 "; windows left tucked by a crash wait for the next run");
    QString failure;

    RunnerSession session(setup);
    QuitSignals quitSignals;
    QObject::connect(&session, &RunnerSession::ExitRequested, &app, [] { QApplication::exit(0); });
    QObject::connect(&quitSignals, &QuitSignals::QuitRequested, &session,
                     &RunnerSession::ExitRequested);
    // Begun inside the event loop: a quit asked for while it begins (the
    // tray's D-Bus questions run their own loops) then ends the main loop.
    QTimer::singleShot(0, &session, [&] {
        if (!session.Begin(&failure)) {
            Complain(failure);
            QApplication::exit(1);
        }
    });
    const int result = QApplication::exec();
    session.Shutdown();
    return result;
}
