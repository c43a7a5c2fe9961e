// wingtucker: serves the Wingtucker add-in with an IDE that runs as another
// program (Lazarus, Qt Designer), from the desktop's tray. It loads the
// add-in as hostide does and tells it of the IDE's windows and projects.
#include "host/host_application.h"
#include "host/host_paths.h"
#include "host/quit_signals.h"
#include "host/x11_desktop.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/window_presets.h"
#include "runner/autostart.h"
#include "runner/guardian.h"
#include "host/runner_line.h"
#include "platform/x11/runner_lock.h"
#include "host/runner_session.h"
#include "settings/settings_schema.h"
#include "wingtucker_version.h"

#include <cstdio>
#include <filesystem>
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

QString FindAddIn(const QString& programDir) {
    for (const QString& candidate : DefaultAddInCandidates(programDir))
        if (std::filesystem::exists(candidate.toStdString()))
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
        qputenv("WINGTUCKER_CONFIG_DIR",
                std::filesystem::absolute(line.Dir.toStdString()).lexically_normal().c_str());
    if (!line.Preset.isEmpty())
        qputenv(RunPresetVariable, line.Preset.toLocal8Bit());

    HostApplication app(argc, argv, QStringLiteral("wingtucker"),
                        QStringLiteral(":/wingtucker_48.png"));
    if (!app.Problem().isEmpty()) {
        Complain(app.Problem());
        return 1;
    }

    RunnerLock lock(X11Display());
    long holder = 0;
    if (!lock.Acquire(&holder)) {
        Complain(QStringLiteral("another wingtucker runs on display %1 (process %2)")
                     .arg(app.DisplayName())
                     .arg(holder));
        return 1;
    }

    RunnerSession::Setup setup = ChooseWindows(line);
    const QString programDir = HostApplication::ProgramDir();
    setup.AddInFile = FindAddIn(programDir);
    if (setup.AddInFile.isEmpty()) {
        Complain(QStringLiteral("the add-in libwingtucker.so was not found"));
        return 1;
    }
    // Started before any window is moved: it outlives a runner that dies.
    Guardian guardian;
    std::vector<std::string> addInPlaces;
    for (const QString& place : DefaultAddInCandidates(programDir))
        addInPlaces.push_back(place.toStdString());
    std::string guardFailure;
    if (!guardian.Start(GuardianCandidates(programDir.toStdString(), addInPlaces), &guardFailure))
        Complain(QString::fromStdString(guardFailure) +
                 "; windows left tucked by a crash wait for the next run");
    QString failure;

    RunnerSession session(setup);
    QuitSignals quitSignals;
    QObject::connect(&session, &RunnerSession::ExitRequested, app.Context(),
                     [] { HostApplication::Exit(0); });
    QObject::connect(&quitSignals, &QuitSignals::QuitRequested, &session,
                     &RunnerSession::ExitRequested);
    // Begun inside the event loop: a quit asked for while it begins (the
    // tray's D-Bus questions run their own loops) then ends the main loop.
    HostApplication::OnceRunning(&session, [&] {
        if (!session.Begin(&failure)) {
            Complain(failure);
            HostApplication::Exit(1);
        }
    });
    const int result = HostApplication::Exec();
    session.Shutdown();
    return result;
}
