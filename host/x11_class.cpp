#include "host/x11_class.h"

#include "host/x11_desktop.h"

#include <QEvent>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace wt {

namespace {

void ApplyClass(QWidget* window, const QByteArray& instanceName, const QByteArray& className) {
    Display* display = X11Display();
    if (!display)
        return;
    QByteArray instance = instanceName;
    QByteArray windowClass = className;
    XClassHint hint;
    hint.res_name = instance.data();
    hint.res_class = windowClass.data();
    XSetClassHint(display, static_cast<Window>(window->winId()), &hint);
    XFlush(display);
}

// Re-applies the class when Qt gives the widget a new native window.
class ClassKeeper : public QObject {
public:
    ClassKeeper(QWidget* window, QByteArray instanceName, QByteArray className)
        : QObject(window), instance_(std::move(instanceName)), class_(std::move(className)) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WinIdChange && watched == parent()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->internalWinId())
                ApplyClass(window, instance_, class_);
        }
        return false;
    }

private:
    QByteArray instance_;
    QByteArray class_;
};

} // namespace

void SetWindowClass(QWidget* window, const QByteArray& instanceName, const QByteArray& className) {
    new ClassKeeper(window, instanceName, className);
    ApplyClass(window, instanceName, className);
}

} // namespace wt
