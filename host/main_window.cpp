#include "host/main_window.h"

#include "host/x11_class.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QStyle>
#include <QTabBar>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

namespace wt {

namespace {

struct PalettePage {
    const char* Name;
    QStringList Components;
};

const QList<PalettePage>& Palette() {
    static const QList<PalettePage> pages = {
        {"Standard",
         {"Frame", "MainMenu", "PopupMenu", "Label", "Edit", "Memo", "Button", "CheckBox",
          "RadioButton", "ListBox", "ComboBox", "ScrollBar", "GroupBox", "RadioGroup", "Panel"}},
        {"Additional",
         {"BitBtn", "SpeedButton", "MaskEdit", "StringGrid", "Image", "Shape", "Bevel"}},
        {"Win95", {"TabControl", "PageControl", "TreeView", "ListView", "ProgressBar", "TrackBar"}},
        {"Data Access", {"DataSource", "Table", "Query", "StoredProc", "Database"}},
        {"Dialogs", {"OpenDialog", "SaveDialog", "FontDialog", "ColorDialog", "PrintDialog"}},
        {"System", {"Timer", "PaintBox", "FileListBox", "DirectoryListBox", "MediaPlayer"}},
    };
    return pages;
}

QString PlainText(QString text) { return text.remove('&').remove(QStringLiteral("...")); }

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    SetProjectName(QString());
    BuildMenus();
    setCentralWidget(BuildStrip());
    // The strip is as high as the IDE's, whatever the contents would like.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(200, 40);
    SetWindowClass(this, "hostide", "TAppBuilder");
}

void MainWindow::SetProjectName(const QString& name) {
    setWindowTitle(name.isEmpty() ? QStringLiteral("hostide")
                                  : QStringLiteral("hostide - %1").arg(name));
}

void MainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file_.NewProject = file->addAction(QStringLiteral("&New Project..."));
    file_.NewProject->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+N")));
    file_.OpenProject = file->addAction(QStringLiteral("&Open Project..."));
    file_.OpenProject->setShortcut(QKeySequence(QStringLiteral("Ctrl+F11")));
    file_.CloseProject = file->addAction(QStringLiteral("&Close Project"));
    file_.CloseProject->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+F4")));
    file->addSeparator();
    file_.OpenDesktop = file->addAction(QStringLiteral("Open &Desktop..."));
    file_.OpenDesktop->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+O")));
    file_.SaveDesktop = file->addAction(QStringLiteral("&Save Desktop"));
    file_.SaveDesktop->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    file->addSeparator();
    file_.Exit = file->addAction(QStringLiteral("E&xit"));
    file_.Exit->setShortcut(QKeySequence(QStringLiteral("Alt+X")));

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    showInspector_ = view->addAction(QStringLiteral("&Object Inspector"));
    showInspector_->setShortcut(QKeySequence(Qt::Key_F11));
    showMessages_ = view->addAction(QStringLiteral("&Messages"));

    tools_ = menuBar()->addMenu(QStringLiteral("&Tools"));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(help->addAction(QStringLiteral("&About hostide...")), &QAction::triggered, this,
            [this] {
                QMessageBox::about(
                    this, QStringLiteral("About hostide"),
                    QStringLiteral("hostide: a small host IDE that loads add-ins through "
                                   "INITEXPERT0016."));
            });
}

QWidget* MainWindow::BuildStrip() {
    auto* strip = new QWidget(this);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(4);

    // The speed bar: two rows of buttons for the File menu's commands.
    auto* speedBar = new QWidget(strip);
    auto* grid = new QGridLayout(speedBar);
    grid->setContentsMargins(0, 4, 0, 0);
    grid->setSpacing(1);
    const QStyle* look = style();
    const std::pair<QStyle::StandardPixmap, QAction*> commands[] = {
        {QStyle::SP_FileIcon, file_.NewProject},
        {QStyle::SP_DialogOpenButton, file_.OpenProject},
        {QStyle::SP_DialogSaveButton, file_.SaveDesktop},
        {QStyle::SP_DirOpenIcon, file_.OpenDesktop},
        {QStyle::SP_DialogCloseButton, file_.CloseProject},
        {QStyle::SP_FileDialogDetailedView, showInspector_},
    };
    int place = 0;
    for (const auto& [icon, action] : commands) {
        auto* button = new QToolButton(speedBar);
        button->setIcon(look->standardIcon(icon));
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setToolTip(PlainText(action->text()));
        connect(button, &QToolButton::clicked, action, &QAction::trigger);
        grid->addWidget(button, place % 2, place / 2);
        ++place;
    }
    row->addWidget(speedBar, 0, Qt::AlignTop);

    auto* palette = new QWidget(strip);
    auto* column = new QVBoxLayout(palette);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* pages = new QTabBar(palette);
    pages->setDrawBase(true);
    pages->setExpanding(false);
    auto* buttons = new QWidget(palette);
    auto* buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(1);
    QList<QToolButton*> tools;
    for (const PalettePage& page : Palette())
        pages->addTab(QString::fromLatin1(page.Name));
    auto showPage = [buttons, buttonRow](int index) {
        while (QLayoutItem* item = buttonRow->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        if (index < 0)
            return;
        for (const QString& name : Palette()[index].Components) {
            auto* button = new QToolButton(buttons);
            button->setText(name);
            button->setToolTip(QStringLiteral("T") + name);
            button->setAutoRaise(true);
            buttonRow->addWidget(button);
        }
        buttonRow->addStretch(1);
    };
    connect(pages, &QTabBar::currentChanged, buttons, showPage);
    showPage(pages->currentIndex());
    column->addWidget(pages);
    column->addWidget(buttons);
    column->addStretch(1);
    row->addWidget(palette, 1);
    return strip;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The session decides how the program ends; the window stays until then.
    event->ignore();
    emit ExitRequested();
}

} // namespace wt
