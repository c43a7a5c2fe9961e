// The IDE's main window, of window class "TAppBuilder": a full-width strip
// along the top of the screen with the menu bar, the speed bar and the
// component palette. Its title is the program name and the open project's.
#pragma once

#include <QMainWindow>

class QAction;
class QMenu;

namespace wt {

inline constexpr int MainWindowHeight = 106;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    struct FileActions {
        QAction* NewProject;
        QAction* OpenProject;
        QAction* CloseProject;
        QAction* OpenDesktop;
        QAction* SaveDesktop;
        QAction* Exit;
    };

    explicit MainWindow(QWidget* parent = nullptr);

    const FileActions& File() const { return file_; }
    QAction* ShowInspectorAction() const { return showInspector_; }
    QAction* ShowMessagesAction() const { return showMessages_; }
    QMenu* ToolsMenu() const { return tools_; }

    // "" while no project is open.
    void SetProjectName(const QString& name);

signals:
    // The window manager or the user asked the window to close.
    void ExitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    QWidget* BuildStrip();

    FileActions file_{};
    QAction* showInspector_ = nullptr;
    QAction* showMessages_ = nullptr;
    QMenu* tools_ = nullptr;
};

} // namespace wt
