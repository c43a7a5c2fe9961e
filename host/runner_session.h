// One run of wingtucker: the add-in loaded as hostide loads it, served with
// an IDE that runs as another program. The IDE's main window found, or its
// title naming another project, is a desktop load; the window gone, or its
// project closed, a project close. The tray menu holds the expert's entry
// and the panel's buttons, and Quit.
#pragma once

#include "platform/window_presets.h"
#include "platform/window_rule.h"

#include <QObject>
#include <QString>

#include <memory>

class QAbstractButton;
class QMenu;
class QSystemTrayIcon;

namespace wt {

class AddInLoader;
class ErrorReporter;
class HostToolServices;
class IdeWatch;
class TIExpert;

class RunnerSession : public QObject {
    Q_OBJECT
public:
    struct Setup {
        TWindowPreset Preset;      // names the program and says how titles name projects
        TWindowRule MainRule;      // what the add-in will find, also where the
        TWindowRule InspectorRule; // settings file's rules stand for the preset's
        bool StartWhenFound = false;
        bool WaitForInspector = true; // the inspector is tucked: --start waits for it
        QString AddInFile;
    };

    explicit RunnerSession(Setup setup, QObject* parent = nullptr);
    ~RunnerSession() override;

    // Watches for the IDE (the add-in is loaded when it comes) and shows
    // the tray icon; false with a message when the display is not there.
    bool Begin(QString* error);
    // Stops tucking and ends the add-in; idempotent.
    void Shutdown();

    QString ProjectName() const { return project_; }

signals:
    void ExitRequested();

private:
    void MainChanged();
    void InspectorChanged();
    void StartIfFound();
    // Loads the add-in, which makes its panel (hidden), once the IDE is
    // there; false while it is not or the add-in failed.
    bool EnsurePanel();
    void ShowPanel();
    // Presses one of the panel's buttons, as a click on it would.
    void Press(const char* buttonName);
    QAbstractButton* PanelButton(const char* buttonName) const;
    void BuildTray();
    TIExpert* Expert() const;
    static QString PanelEntry();
    void TellNoIde();

    Setup setup_;
    ErrorReporter* reporter_;
    std::unique_ptr<HostToolServices> services_;
    std::unique_ptr<AddInLoader> loader_;
    std::unique_ptr<IdeWatch> watch_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QString project_;
    bool panelMade_ = false; // the add-in is loaded, and its panel made
    bool addInFailed_ = false;
    bool started_ = false;
    bool shutDown_ = false;
};

} // namespace wt
