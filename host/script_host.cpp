#include "host/script_host.h"

#include "host/ide_session.h"
#include "host/inspector_window.h"
#include "host/main_window.h"
#include "host/tools_menu.h"
#include "host/x11_desktop.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace wt {

QString PlainMenuText(const QString& text) {
    QString plain;
    const QString shown = text.section('\t', 0, 0);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown[i] == '&' && i + 1 < shown.size())
            ++i; // "&&" stands for one '&'; "&x" marks x
        plain += shown[i];
    }
    return plain;
}

namespace {

// Looks for TEXT among every menu's entries, or for MENU|TEXT in one menu.
QAction* FindMenuAction(QMenuBar* bar, const QString& wanted) {
    const qsizetype bar_ = wanted.indexOf('|');
    const QString menuName = bar_ < 0 ? QString() : wanted.left(bar_).trimmed();
    const QString entry = bar_ < 0 ? wanted : wanted.mid(bar_ + 1).trimmed();
    for (QAction* top : bar->actions()) {
        QMenu* menu = top->menu();
        if (!menu)
            continue;
        if (!menuName.isEmpty() && PlainMenuText(top->text()) != menuName)
            continue;
        // An entry is named as shown (marks removed) or as its text stands.
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && (PlainMenuText(action->text()) == entry ||
                                           action->text().section('\t', 0, 0) == entry))
                return action;
    }
    return nullptr;
}

} // namespace

bool IdeScriptHost::NewProject(const QString& fileName, QString* error) {
    return session_.NewProject(fileName, error);
}

bool IdeScriptHost::OpenProject(const QString& fileName, QString* error) {
    return session_.OpenProject(fileName, error);
}

bool IdeScriptHost::CloseProject(QString* error) { return session_.CloseProject(error); }

bool IdeScriptHost::OpenDesktop(const QString& fileName, QString* error) {
    return session_.OpenDesktop(fileName, error);
}

bool IdeScriptHost::SaveDesktop(QString* error) { return session_.SaveDesktop(error); }

bool IdeScriptHost::PickMenuEntry(const QString& text, QString* error) {
    // The Tools entries follow the experts' current states, as when the
    // menu is opened by hand.
    session_.Tools().Refresh();
    QAction* action = FindMenuAction(session_.Main()->menuBar(), text);
    if (!action) {
        *error = QStringLiteral("there is no menu entry \"%1\"").arg(text);
        return false;
    }
    if (!action->isEnabled()) {
        *error = QStringLiteral("the menu entry \"%1\" is disabled").arg(text);
        return false;
    }
    QPointer<QAction> target(action);
    QTimer::singleShot(0, action, [target] {
        if (target)
            target->trigger();
    });
    return true;
}

bool IdeScriptHost::OnScreen(int x, int y, QString* error) const {
    // Every point of the root window, on any monitor or between them.
    const QRect screen(QPoint(0, 0), RootSize());
    if (screen.contains(x, y))
        return true;
    *error = QStringLiteral("the point %1,%2 lies outside the screen (%3 by %4)")
                 .arg(x)
                 .arg(y)
                 .arg(screen.width())
                 .arg(screen.height());
    return false;
}

bool IdeScriptHost::MovePointer(int x, int y, QString* error) {
    return OnScreen(x, y, error) && FakePointerMove(x, y, error);
}

bool IdeScriptHost::Click(int x, int y, int button, QString* error) {
    return OnScreen(x, y, error) && FakePointerClick(x, y, button, error);
}

bool IdeScriptHost::Screenshot(const QString& fileName, QString* error) {
    SyncWithServer();
    const QSize root = RootSize();
    const QPixmap shot =
        QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, root.width(), root.height());
    if (shot.isNull()) {
        *error = QStringLiteral("the screen could not be read");
        return false;
    }
    QSaveFile file(fileName);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    QImageWriter writer(&file, "png");
    if (!writer.write(shot.toImage())) {
        *error = QStringLiteral("%1: %2").arg(fileName, writer.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

QStringList IdeScriptHost::WindowLines() {
    SyncWithServer();
    QStringList lines;
    const std::pair<const char*, QWidget*> windows[] = {
        {"TAppBuilder", session_.Main()},
        {"TPropertyInspector", session_.Inspector()},
    };
    for (const auto& [className, widget] : windows) {
        X11WindowState state;
        if (!QueryWindowState(widget->winId(), &state)) {
            lines.append(QStringLiteral("window %1 unknown").arg(QLatin1String(className)));
            continue;
        }
        const QRect& r = state.Outer;
        // left, top, right, bottom; right and bottom one past the last pixel.
        lines.append(QStringLiteral("window %1 %2 %3 %4 %5 %6")
                         .arg(QLatin1String(className))
                         .arg(r.left())
                         .arg(r.top())
                         .arg(r.left() + r.width())
                         .arg(r.top() + r.height())
                         .arg(state.Mapped ? QStringLiteral("mapped") : QStringLiteral("unmapped"))
                     // Reparented into a manager's frame, or standing bare.
                     + (state.Framed ? QStringLiteral(" framed") : QStringLiteral(" bare")));
    }
    return lines;
}

bool IdeScriptHost::TypeText(const QString& text, QString* error) {
    return FakeTyping(text, error);
}

bool IdeScriptHost::PressKey(const QString& combo, QString* error) {
    return FakeKeyCombo(combo, error);
}

bool IdeScriptHost::ClickMenu(const QString& title, QString* error) {
    QMenuBar* bar = session_.Main()->menuBar();
    for (QAction* top : bar->actions()) {
        if (!top->menu() || PlainMenuText(top->text()) != title)
            continue;
        // Where Qt believes the menu bar is: a window moved behind its back
        // would make this click miss.
        const QPoint at = bar->mapToGlobal(bar->actionGeometry(top).center());
        return OnScreen(at.x(), at.y(), error) && FakePointerClick(at.x(), at.y(), 1, error);
    }
    *error = QStringLiteral("the main window has no menu \"%1\"").arg(title);
    return false;
}

bool IdeScriptHost::ClickProperty(const QString& name, QString* error) {
    const std::optional<QPoint> at = session_.Inspector()->PropertyValuePoint(name);
    if (!at) {
        *error = QStringLiteral("the Object Inspector shows no property \"%1\"").arg(name);
        return false;
    }
    return OnScreen(at->x(), at->y(), error) && FakePointerClick(at->x(), at->y(), 1, error);
}

bool IdeScriptHost::ClickButton(const QString& text, QString* error) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
            if (!button->isVisible() || !button->isEnabled() ||
                PlainMenuText(button->text()) != text)
                continue;
            const QPoint at = button->mapToGlobal(button->rect().center());
            return OnScreen(at.x(), at.y(), error) && FakePointerClick(at.x(), at.y(), 1, error);
        }
    }
    *error = QStringLiteral("no button \"%1\" is shown").arg(text);
    return false;
}

namespace {

// The widget of that object name in one of the program's windows, a shown
// one before a hidden one; "WINDOW.NAME" looks only in the window of that
// name (forms may reuse a control's name).
QWidget* FindControl(const QString& path) {
    const qsizetype dot = path.indexOf(u'.');
    const QString windowName = dot < 0 ? QString() : path.left(dot);
    const QString name = dot < 0 ? path : path.mid(dot + 1);
    QWidget* hidden = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (dot >= 0 && window->objectName() != windowName)
            continue;
        QList<QWidget*> candidates = window->findChildren<QWidget*>(name);
        if (window->objectName() == name)
            candidates.prepend(window);
        for (QWidget* w : candidates) {
            if (w->isVisible())
                return w;
            if (!hidden)
                hidden = w;
        }
    }
    return hidden;
}

} // namespace

bool IdeScriptHost::ClickControl(const QString& name, const std::optional<QPoint>& at,
                                 QString* error) {
    QWidget* control = FindControl(name);
    if (!control || !control->isVisible()) {
        *error = QStringLiteral("no control \"%1\" is shown").arg(name);
        return false;
    }
    const QRect r = control->rect();
    QPoint local = r.center();
    if (at) {
        local.setX(at->x() < 0 ? r.width() + at->x() : at->x());
        local.setY(at->y() < 0 ? r.height() + at->y() : at->y());
        if (!r.contains(local)) {
            *error = QStringLiteral("(%1, %2) lies outside \"%3\", which is %4 x %5")
                         .arg(at->x())
                         .arg(at->y())
                         .arg(name)
                         .arg(r.width())
                         .arg(r.height());
            return false;
        }
    }
    const QPoint global = control->mapToGlobal(local);
    return OnScreen(global.x(), global.y(), error) &&
           FakePointerClick(global.x(), global.y(), 1, error);
}

QString IdeScriptHost::ControlLine(const QString& name) {
    QWidget* control = FindControl(name);
    if (!control)
        return QStringLiteral("control %1 unknown").arg(name);
    const QPoint topLeft = control->mapToGlobal(QPoint(0, 0));
    return QStringLiteral("control %1 %2 %3 %4 %5 %6")
        .arg(name)
        .arg(topLeft.x())
        .arg(topLeft.y())
        .arg(topLeft.x() + control->width())
        .arg(topLeft.y() + control->height())
        .arg(control->isVisible() ? QStringLiteral("shown") : QStringLiteral("hidden"));
}

QString IdeScriptHost::FocusLine() {
    QCoreApplication::processEvents(); // focus events that came with the keys
    QWidget* focused = QApplication::activeWindow();
    QString where = QStringLiteral("none");
    if (focused == session_.Main())
        where = QStringLiteral("TAppBuilder");
    else if (focused == session_.Inspector())
        where = QStringLiteral("TPropertyInspector");
    else if (focused)
        where = QStringLiteral("other");
    QString popup = QStringLiteral("none");
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        popup = PlainMenuText(menu->title());
    return QStringLiteral("focus %1 popup %2").arg(where, popup);
}

QString IdeScriptHost::PropertyLine(const QString& name) {
    const std::optional<QString> value = session_.Inspector()->PropertyValue(name);
    return QStringLiteral("property %1 %2").arg(name, value ? *value : QStringLiteral("unknown"));
}

void IdeScriptHost::Print(const QString& line) {
    std::fputs(line.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void IdeScriptHost::Unload() { session_.Shutdown(); }

void IdeScriptHost::Quit() { emit session_.ExitRequested(); }

} // namespace wt
