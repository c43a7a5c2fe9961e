#include "host/x11_desktop.h"

#include <QGuiApplication>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <vector>

namespace wt {

namespace {

// _NET_FRAME_EXTENTS as left, right, top, bottom; zeros without a frame.
void FrameExtents(Display* display, Window window, long extents[4]) {
    extents[0] = extents[1] = extents[2] = extents[3] = 0;
    const Atom property = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, 4, False, XA_CARDINAL, &type, &format,
                           &count, &after, &data) == Success &&
        data) {
        if (type == XA_CARDINAL && format == 32 && count == 4)
            for (int i = 0; i < 4; ++i)
                extents[i] = reinterpret_cast<long*>(data)[i];
        XFree(data);
    }
}

bool HaveXTest(Display* display, QString* error) {
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!display) {
        *error = QStringLiteral("there is no X display");
        return false;
    }
    if (!XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor)) {
        *error = QStringLiteral("the X server has no XTest extension");
        return false;
    }
    return true;
}

} // namespace

bool CanOpenDisplay(QString* error) {
    const QByteArray name = qgetenv("DISPLAY");
    if (name.isEmpty()) {
        *error = QStringLiteral("there is no X display: DISPLAY is not set");
        return false;
    }
    Display* display = XOpenDisplay(name.constData());
    if (!display) {
        *error = QStringLiteral("the X display \"%1\" cannot be opened")
                     .arg(QString::fromLocal8Bit(name));
        return false;
    }
    XCloseDisplay(display);
    return true;
}

Display* X11Display() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

void SyncWithServer() {
    if (Display* display = X11Display())
        XSync(display, False);
}

bool QueryWindowState(uintptr_t windowId, X11WindowState* state) {
    Display* display = X11Display();
    if (!display || !windowId)
        return false;
    const Window window = static_cast<Window>(windowId);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    int rootX = 0, rootY = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, attributes.root, 0, 0, &rootX, &rootY, &child))
        return false;
    long extents[4];
    FrameExtents(display, window, extents);
    state->Client = QRect(rootX, rootY, attributes.width, attributes.height);
    state->Outer =
        state->Client.adjusted(-static_cast<int>(extents[0]), -static_cast<int>(extents[2]),
                               static_cast<int>(extents[1]), static_cast<int>(extents[3]));
    state->Mapped = attributes.map_state == IsViewable;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &rootReturn, &parent, &children, &count))
        state->Framed = parent != 0 && parent != attributes.root;
    if (children)
        XFree(children);
    return true;
}

QSize RootSize() {
    Display* display = X11Display();
    if (!display)
        return {};
    const int screen = DefaultScreen(display);
    return {DisplayWidth(display, screen), DisplayHeight(display, screen)};
}

bool FakePointerMove(int x, int y, QString* error) {
    Display* display = X11Display();
    if (!HaveXTest(display, error))
        return false;
    XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
    XSync(display, False);
    return true;
}

bool FakePointerClick(int x, int y, int button, QString* error) {
    if (!FakePointerMove(x, y, error))
        return false;
    Display* display = X11Display();
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display, False);
    return true;
}

namespace {

bool FakeKey(Display* display, KeySym keysym, bool down) {
    const KeyCode code = XKeysymToKeycode(display, keysym);
    if (code == 0)
        return false;
    XTestFakeKeyEvent(display, code, down ? True : False, CurrentTime);
    return true;
}

// "ctrl", "alt" and "shift", or any key name Xlib knows (XStringToKeysym).
KeySym KeyByName(const QString& name) {
    const QString lower = name.toLower();
    if (lower == QLatin1String("ctrl"))
        return XK_Control_L;
    if (lower == QLatin1String("alt"))
        return XK_Alt_L;
    if (lower == QLatin1String("shift"))
        return XK_Shift_L;
    return XStringToKeysym(name.toLatin1().constData());
}

bool PressAll(Display* display, const std::vector<KeySym>& keys, QString* error,
              const QString& what) {
    for (KeySym key : keys)
        if (key == NoSymbol || XKeysymToKeycode(display, key) == 0) {
            *error = QStringLiteral("no key for \"%1\"").arg(what);
            return false;
        }
    for (KeySym key : keys)
        FakeKey(display, key, true);
    for (auto it = keys.rbegin(); it != keys.rend(); ++it)
        FakeKey(display, *it, false);
    XSync(display, False);
    return true;
}

} // namespace

bool FakeKeyCombo(const QString& combo, QString* error) {
    Display* display = X11Display();
    if (!HaveXTest(display, error))
        return false;
    std::vector<KeySym> keys;
    for (const QString& part : combo.split('+'))
        keys.push_back(KeyByName(part));
    return PressAll(display, keys, error, combo);
}

bool FakeTyping(const QString& text, QString* error) {
    Display* display = X11Display();
    if (!HaveXTest(display, error))
        return false;
    for (QChar c : text) {
        std::vector<KeySym> keys;
        if (c.isUpper())
            keys.push_back(XK_Shift_L);
        const QString name = c == ' ' ? QStringLiteral("space") : QString(c.toLower());
        keys.push_back(XStringToKeysym(name.toLatin1().constData()));
        if (!PressAll(display, keys, error, QString(c)))
            return false;
    }
    return true;
}

} // namespace wt
