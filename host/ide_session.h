// One run of hostide: its windows, the open project, desktop files, the
// host services and the loaded add-ins, and the notifications that tie them
// together (10 after the default desktop is loaded, 8 after a project's
// desktop, 11 before any desktop is saved, 5 before a project closes).
#pragma once

#include "host/desktop_file.h"
#include "host/project_file.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

namespace wt {

class AddInLoader;
class ErrorReporter;
class HostToolServices;
class InspectorWindow;
class MainWindow;
class MessagesWindow;
class ToolsMenu;

class IdeSession : public QObject {
    Q_OBJECT
public:
    explicit IdeSession(QObject* parent = nullptr);
    ~IdeSession() override;

    // Shows the windows; once they are on screen, loads the add-ins (those
    // named first, then the configured ones) and the default desktop, then
    // emits Ready.
    void Start(const QStringList& addInFiles);
    // Terminates the add-ins; nothing is notified any more. Idempotent.
    void Shutdown();

    // Each returns false with *error set when it could not be done; the
    // menu commands report that error, the scripted mode stops on it.
    bool NewProject(const QString& fileName, QString* error);
    bool OpenProject(const QString& fileName, QString* error);
    bool CloseProject(QString* error);
    bool OpenDesktop(const QString& fileName, QString* error);
    bool SaveDesktop(QString* error);

    QString ProjectFileName() const { return project_.FileName; }
    // Where the windows are, as the X server has them.
    DesktopLayout CurrentLayout() const;
    static DesktopLayout DefaultLayout();

    MainWindow* Main() const { return main_.get(); }
    InspectorWindow* Inspector() const { return inspector_.get(); }
    ErrorReporter& Reporter() const { return *reporter_; }
    AddInLoader& Loader() const { return *loader_; }
    ToolsMenu& Tools() const { return *tools_; }

signals:
    void Ready();
    void ExitRequested();

private:
    void ContinueStart(const QStringList& addInFiles);
    void LoadAddIns(const QStringList& addInFiles);
    void LoadDefaultDesktop();
    bool LoadDesktop(const QString& fullName, QString* error);
    void ApplyLayout(const DesktopLayout& layout);
    void SetProject(const ProjectInfo& project);
    void ConnectMenus();
    void RunReported(bool (IdeSession::*operation)(QString*));
    void AskFileAndRun(const QString& caption, const QString& filter, bool save,
                       bool (IdeSession::*operation)(const QString&, QString*));

    std::unique_ptr<MessagesWindow> messages_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<InspectorWindow> inspector_;
    ErrorReporter* reporter_;
    std::unique_ptr<HostToolServices> services_;
    std::unique_ptr<AddInLoader> loader_;
    ToolsMenu* tools_;
    ProjectInfo project_;
};

} // namespace wt
