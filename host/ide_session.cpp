#include "host/ide_session.h"

#include "host/addin_loader.h"
#include "host/error_reporter.h"
#include "host/host_paths.h"
#include "host/inspector_window.h"
#include "host/main_window.h"
#include "host/messages_window.h"
#include "host/tool_services.h"
#include "host/tools_menu.h"
#include "host/x11_desktop.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace wt {

namespace {

// How long start-up waits for the window manager to put the windows on
// screen before the add-ins, which look them up, are loaded anyway.
constexpr int ExposeTimeoutMs = 3000;

bool Exposed(QWidget* window) {
    return window->windowHandle() && window->windowHandle()->isExposed();
}

} // namespace

IdeSession::IdeSession(QObject* parent) : QObject(parent) {
    messages_ = std::make_unique<MessagesWindow>();
    reporter_ = new ErrorReporter(messages_.get(), this);
    main_ = std::make_unique<MainWindow>();
    inspector_ = std::make_unique<InspectorWindow>();
    services_ = std::make_unique<HostToolServices>(HostToolServices::Hooks{
        [this] { return static_cast<uintptr_t>(main_->winId()); },
        [this] { return project_.FileName; },
        [this](const QString& message) { reporter_->Report(message); },
    });
    loader_ = std::make_unique<AddInLoader>(
        *services_, [this](const QString& message) { reporter_->Report(message); });
    tools_ = new ToolsMenu(main_->ToolsMenu(), *loader_,
                           [this](const QString& message) { reporter_->Report(message); });
    ConnectMenus();
}

IdeSession::~IdeSession() {
    Shutdown();
    // The add-ins' objects are gone; the windows go after them.
    tools_ = nullptr;
    inspector_.reset();
    main_.reset();
    messages_.reset();
}

DesktopLayout IdeSession::DefaultLayout() {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    DesktopLayout layout;
    layout.MainWindow = QRect(screen.left(), screen.top(), screen.width(), MainWindowHeight);
    layout.Inspector =
        QRect(screen.left(), screen.top() + MainWindowHeight + 24, InspectorWidth, InspectorHeight);
    layout.InspectorVisible = true;
    return layout;
}

void IdeSession::Start(const QStringList& addInFiles) {
    ApplyLayout(DefaultLayout());
    main_->show();
    inspector_->show();
    // Add-ins look the windows up by class as soon as they start, so they
    // are loaded once the windows are on screen.
    auto* poll = new QTimer(this);
    auto* clock = new QElapsedTimer;
    clock->start();
    connect(poll, &QTimer::timeout, this, [this, poll, clock, addInFiles] {
        if (!(Exposed(main_.get()) && Exposed(inspector_.get())) &&
            clock->elapsed() < ExposeTimeoutMs)
            return;
        poll->stop();
        poll->deleteLater();
        delete clock;
        ContinueStart(addInFiles);
    });
    poll->start(10);
}

void IdeSession::ContinueStart(const QStringList& addInFiles) {
    SyncWithServer();
    LoadAddIns(addInFiles);
    tools_->Refresh();
    LoadDefaultDesktop();
    emit Ready();
}

void IdeSession::LoadAddIns(const QStringList& addInFiles) {
    QStringList files;
    for (const QString& file : addInFiles)
        files.append(FullFileName(file));
    const AddInList list = ReadAddInList(AddInListFileName());
    if (!list.Error.isEmpty())
        reporter_->Report(QStringLiteral("The list of add-ins cannot be read: %1").arg(list.Error));
    if (list.FromListFile) {
        files += list.Files;
    } else {
        const QStringList candidates =
            DefaultAddInCandidates(QCoreApplication::applicationDirPath());
        QString found;
        for (const QString& candidate : candidates)
            if (QFileInfo::exists(candidate)) {
                found = candidate;
                break;
            }
        if (!found.isEmpty())
            files.append(found);
        else
            reporter_->Note(QStringLiteral("The default add-in %1 was not found (looked for %2).")
                                .arg(QString::fromLatin1(DefaultAddInFile),
                                     candidates.join(QStringLiteral(", "))));
    }
    QStringList seen;
    for (const QString& file : files) {
        const QString identity = QFileInfo(file).canonicalFilePath();
        if (!identity.isEmpty() && seen.contains(identity))
            continue; // named twice (say, on the command line and in the list)
        if (!identity.isEmpty())
            seen.append(identity);
        loader_->Load(file);
    }
}

void IdeSession::LoadDefaultDesktop() {
    const QString fileName = DefaultDesktopFileName();
    QString error;
    if (!QFileInfo::exists(fileName)) {
        // A first run: the default desktop is the host's built-in layout.
        if (!WriteDesktopFile(fileName, CurrentLayout(), &error)) {
            reporter_->Report(
                QStringLiteral("The default desktop cannot be written: %1").arg(error));
            return;
        }
    }
    if (!LoadDesktop(fileName, &error))
        reporter_->Report(error);
}

void IdeSession::ApplyLayout(const DesktopLayout& layout) {
    main_->setGeometry(layout.MainWindow);
    inspector_->setGeometry(layout.Inspector);
    inspector_->setVisible(layout.InspectorVisible);
    SyncWithServer();
}

bool IdeSession::LoadDesktop(const QString& fullName, QString* error) {
    DesktopLayout layout;
    if (!ReadDesktopFile(fullName, &layout, error))
        return false;
    ApplyLayout(layout);
    const bool isDefault = fullName == FullFileName(DefaultDesktopFileName());
    services_->Broadcast(isDefault ? fnDefaultDesktopLoad : fnProjectDesktopLoad, fullName);
    return true;
}

DesktopLayout IdeSession::CurrentLayout() const {
    DesktopLayout layout;
    X11WindowState state;
    layout.MainWindow = QueryWindowState(main_->winId(), &state) ? state.Client : main_->geometry();
    layout.Inspector =
        QueryWindowState(inspector_->winId(), &state) ? state.Client : inspector_->geometry();
    layout.InspectorVisible = inspector_->isVisible();
    return layout;
}

void IdeSession::SetProject(const ProjectInfo& project) {
    project_ = project;
    main_->SetProjectName(project.Name);
    inspector_->ShowProject(project.Name);
}

bool IdeSession::NewProject(const QString& fileName, QString* error) {
    if (!CloseProject(error))
        return false;
    ProjectInfo project;
    if (!CreateProjectFile(fileName, &project, error))
        return false;
    SetProject(project);
    return true;
}

bool IdeSession::OpenProject(const QString& fileName, QString* error) {
    ProjectInfo project;
    if (!ReadProjectFile(fileName, &project, error))
        return false;
    if (!CloseProject(error))
        return false;
    SetProject(project);
    const QString desktop = DesktopFileForProject(project.FileName);
    if (QFileInfo::exists(desktop) && !LoadDesktop(desktop, error)) {
        *error =
            QStringLiteral("The project is open, but its desktop was not loaded: %1").arg(*error);
        return false;
    }
    return true;
}

bool IdeSession::CloseProject(QString* error) {
    if (project_.FileName.isEmpty())
        return true;
    if (!services_->Broadcast(fnProjectClosing, project_.FileName)) {
        *error =
            QStringLiteral("An add-in asked to keep the project %1 open.").arg(project_.FileName);
        return false;
    }
    SetProject(ProjectInfo());
    return true;
}

bool IdeSession::OpenDesktop(const QString& fileName, QString* error) {
    return LoadDesktop(FullFileName(fileName), error);
}

bool IdeSession::SaveDesktop(QString* error) {
    const QString fileName = project_.FileName.isEmpty() ? FullFileName(DefaultDesktopFileName())
                                                         : DesktopFileForProject(project_.FileName);
    // The add-ins put the windows back first, so that the saved rectangles
    // are where the windows belong.
    if (!services_->Broadcast(fnDesktopSave, fileName)) {
        *error = QStringLiteral("An add-in asked not to save the desktop %1.").arg(fileName);
        return false;
    }
    SyncWithServer();
    return WriteDesktopFile(fileName, CurrentLayout(), error);
}

void IdeSession::Shutdown() {
    if (loader_->IsShutDown())
        return;
    reporter_->SetBoxesEnabled(false);
    loader_->Shutdown();
    tools_->Refresh();
}

void IdeSession::RunReported(bool (IdeSession::*operation)(QString*)) {
    QString error;
    if (!(this->*operation)(&error))
        reporter_->Report(error);
}

void IdeSession::AskFileAndRun(const QString& caption, const QString& filter, bool save,
                               bool (IdeSession::*operation)(const QString&, QString*)) {
    const QString fileName =
        save ? QFileDialog::getSaveFileName(main_.get(), caption, QString(), filter)
             : QFileDialog::getOpenFileName(main_.get(), caption, QString(), filter);
    if (fileName.isEmpty())
        return;
    QString error;
    if (!(this->*operation)(fileName, &error))
        reporter_->Report(error);
}

void IdeSession::ConnectMenus() {
    const MainWindow::FileActions& file = main_->File();
    const QString projects = QStringLiteral("Projects (*.dpr);;All files (*)");
    const QString desktops = QStringLiteral("Desktops (*.dsk *.DSK);;All files (*)");
    connect(file.NewProject, &QAction::triggered, this, [this, projects] {
        AskFileAndRun(QStringLiteral("New Project"), projects, true, &IdeSession::NewProject);
    });
    connect(file.OpenProject, &QAction::triggered, this, [this, projects] {
        AskFileAndRun(QStringLiteral("Open Project"), projects, false, &IdeSession::OpenProject);
    });
    connect(file.OpenDesktop, &QAction::triggered, this, [this, desktops] {
        AskFileAndRun(QStringLiteral("Open Desktop"), desktops, false, &IdeSession::OpenDesktop);
    });
    connect(file.CloseProject, &QAction::triggered, this,
            [this] { RunReported(&IdeSession::CloseProject); });
    connect(file.SaveDesktop, &QAction::triggered, this,
            [this] { RunReported(&IdeSession::SaveDesktop); });
    connect(file.Exit, &QAction::triggered, this, &IdeSession::ExitRequested);
    connect(main_.get(), &MainWindow::ExitRequested, this, &IdeSession::ExitRequested);
    connect(main_->ShowInspectorAction(), &QAction::triggered, this, [this] {
        inspector_->show();
        inspector_->raise();
    });
    connect(main_->ShowMessagesAction(), &QAction::triggered, this, [this] {
        messages_->show();
        messages_->raise();
    });
}

} // namespace wt
