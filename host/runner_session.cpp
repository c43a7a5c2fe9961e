#include "host/runner_session.h"

#include "host/addin_loader.h"
#include "host/error_reporter.h"
#include "host/tool_services.h"
#include "platform/x11/ide_watch.h"
#include "wingtucker_version.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMessageBox>
#include <QSystemTrayIcon>
#include <QWidget>

namespace wt {

RunnerSession::RunnerSession(Setup setup, QObject* parent)
    : QObject(parent), setup_(std::move(setup)), reporter_(new ErrorReporter(nullptr, this)) {
    services_ = std::make_unique<HostToolServices>(HostToolServices::Hooks{
        [] { return uintptr_t{0}; }, // the IDE's windows are not ours to own dialogs
        [this] { return project_; },
        [this](const QString& message) { reporter_->Report(message); },
    });
    loader_ = std::make_unique<AddInLoader>(
        *services_, [this](const QString& message) { reporter_->Report(message); });
}

RunnerSession::~RunnerSession() { Shutdown(); }

bool RunnerSession::Begin(QString* error) {
    watch_ = std::make_unique<IdeWatch>(setup_.MainRule, setup_.InspectorRule);
    connect(watch_.get(), &IdeWatch::MainChanged, this, &RunnerSession::MainChanged);
    connect(watch_.get(), &IdeWatch::MainFound, this, [this](const QString& title) {
        reporter_->Note(
            QStringLiteral("found %1's main window \"%2\"")
                .arg(QString::fromUtf8(setup_.Preset.Program.data(), setup_.Preset.Program.size()),
                     title.left(120)));
    });
    connect(watch_.get(), &IdeWatch::InspectorChanged, this, &RunnerSession::InspectorChanged);
    BuildTray();
    return watch_->Open(error);
}

void RunnerSession::Shutdown() {
    if (shutDown_)
        return;
    shutDown_ = true;
    reporter_->SetBoxesEnabled(false);
    if (panelMade_)
        Press("btnStop"); // disabled, and so nothing, when not running
    watch_.reset();
    // The add-in's end gives back every window it still holds.
    loader_->Shutdown();
    tray_.reset();
}

// The expert's menu text, as it gives it once loaded.
QString RunnerSession::PanelEntry() { return QStringLiteral("Wingtucker " WT_PRODUCT_VERSION); }

TIExpert* RunnerSession::Expert() const {
    return loader_->Experts().empty() ? nullptr : loader_->Experts().front().Expert;
}

void RunnerSession::MainChanged() {
    const QString title = watch_->MainTitle();
    const QString project =
        watch_->Main()
            ? QString::fromStdString(ProjectFromTitle(setup_.Preset, title.toStdString()))
            : QString();
    if (project == project_)
        return;
    // The project the IDE had is closed first: the engine stops and gives
    // back what is left of the windows (nothing, when the IDE has quit).
    if (!project_.isEmpty()) {
        services_->Broadcast(fnProjectClosing, project_);
        started_ = false;
    }
    project_ = project;
    if (project_.isEmpty() || !EnsurePanel())
        return;
    if (!tray_)
        ShowPanel(); // no tray to reach it from: the panel opens with the IDE
    services_->Broadcast(fnProjectDesktopLoad, project_);
    StartIfFound();
}

void RunnerSession::InspectorChanged() {
    // An inspector opened while tucking runs joins it as a new Start would
    // take it in: the run is stopped and started again.
    if (watch_->Inspector() && PanelButton("btnStop") && PanelButton("btnStop")->isEnabled()) {
        Press("btnStop");
        Press("btnStart");
        return;
    }
    StartIfFound();
}

void RunnerSession::StartIfFound() {
    if (!setup_.StartWhenFound || started_ || project_.isEmpty())
        return;
    if (setup_.WaitForInspector && !watch_->Inspector())
        return;
    if (!EnsurePanel())
        return;
    started_ = true;
    Press("btnStart");
}

bool RunnerSession::EnsurePanel() {
    if (panelMade_)
        return true;
    if (!watch_ || !watch_->Main() || addInFailed_)
        return false;
    // Loaded once the IDE is there, as a host loads it with its windows
    // shown: the add-in makes its panel (hidden) and finds them at once.
    if (!loader_->Load(setup_.AddInFile) || !Expert()) {
        addInFailed_ = true;
        reporter_->Report(
            QStringLiteral("The add-in %1 could not be loaded.").arg(setup_.AddInFile));
        return false;
    }
    panelMade_ = true;
    return true;
}

void RunnerSession::ShowPanel() {
    if (EnsurePanel())
        Expert()->Execute();
    else
        TellNoIde();
}

QAbstractButton* RunnerSession::PanelButton(const char* buttonName) const {
    if (!panelMade_)
        return nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String("frmMain"))
            if (auto* button = window->findChild<QAbstractButton*>(QLatin1String(buttonName)))
                return button;
    return nullptr;
}

void RunnerSession::Press(const char* buttonName) {
    if (QAbstractButton* button = PanelButton(buttonName))
        button->click();
}

void RunnerSession::TellNoIde() {
    reporter_->Report(
        QStringLiteral("No window of %1 is open. Wingtucker serves it once its main "
                       "window appears.")
            .arg(QString::fromUtf8(setup_.Preset.Program.data(), setup_.Preset.Program.size())));
}

void RunnerSession::BuildTray() {
    menu_ = std::make_unique<QMenu>();
    menu_->addAction(PanelEntry(), this, &RunnerSession::ShowPanel);
    menu_->addSeparator();
    struct Entry {
        const char* Text;
        const char* Button;
    };
    for (const Entry& entry :
         {Entry{"Start", "btnStart"}, Entry{"Stop", "btnStop"}, Entry{"Options", "btnOptions"},
          Entry{"About", "btnAbout"}, Entry{"Help", "btnHelp"}}) {
        const char* button = entry.Button;
        menu_->addAction(QString::fromLatin1(entry.Text), this, [this, button] {
            if (!EnsurePanel())
                return TellNoIde();
            Press(button);
        });
    }
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Quit"), this, &RunnerSession::ExitRequested);
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return; // the panel opens with the IDE instead
    tray_ = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/wingtucker_48.png")));
    tray_->setToolTip(PanelEntry());
    tray_->setContextMenu(menu_.get());
    // A plain click on the icon opens the panel, as the menu's first entry does.
    connect(tray_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    ShowPanel();
            });
    tray_->show();
}

} // namespace wt
