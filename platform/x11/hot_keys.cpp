#include "platform/x11/hot_keys.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace wt {

namespace {

Display* QtDisplay() {
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = gui ? gui->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

unsigned XModifiers(unsigned modifiers) {
    unsigned mask = 0;
    if (modifiers & MOD_CONTROL)
        mask |= ControlMask;
    if (modifiers & MOD_ALT)
        mask |= Mod1Mask;
    if (modifiers & MOD_SHIFT)
        mask |= ShiftMask;
    if (modifiers & MOD_WIN)
        mask |= Mod4Mask;
    return mask;
}

// The lock keys' states a press may come with: each is grabbed.
constexpr unsigned LockStates[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

} // namespace

HotKeys::HotKeys(std::function<void(WindowHandle, int)> pressed) : pressed_(std::move(pressed)) {
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

HotKeys::~HotKeys() {
    while (!grabs_.empty())
        Unregister(grabs_.back().Window, grabs_.back().Id);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

bool HotKeys::Register(WindowHandle window, int id, const THotKey& key) {
    Display* display = QtDisplay();
    if (!display)
        return false;
    Unregister(window, id);
    const KeySym sym = XStringToKeysym(key.Key.c_str());
    const unsigned code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    if (code == 0)
        return false;
    xcb_connection_t* connection = XGetXCBConnection(display);
    const xcb_window_t root = DefaultRootWindow(display);
    const Grab grab{window, id, code, XModifiers(key.Modifiers)};
    // Checked one by one: a key another client grabbed is refused at once.
    bool refused = false;
    for (unsigned lock : LockStates) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(
            connection, 1, root, static_cast<uint16_t>(grab.Modifiers | lock),
            static_cast<xcb_keycode_t>(code), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            std::free(error);
            refused = true;
        }
    }
    if (refused) {
        Ungrab(grab);
        return false;
    }
    grabs_.push_back(grab);
    return true;
}

void HotKeys::Ungrab(const Grab& grab) {
    Display* display = QtDisplay();
    if (!display)
        return;
    xcb_connection_t* connection = XGetXCBConnection(display);
    for (unsigned lock : LockStates)
        xcb_ungrab_key(connection, static_cast<xcb_keycode_t>(grab.KeyCode),
                       DefaultRootWindow(display), static_cast<uint16_t>(grab.Modifiers | lock));
    xcb_flush(connection);
}

void HotKeys::Unregister(WindowHandle window, int id) {
    auto it = std::find_if(grabs_.begin(), grabs_.end(),
                           [&](const Grab& g) { return g.Window == window && g.Id == id; });
    if (it == grabs_.end())
        return;
    Ungrab(*it);
    grabs_.erase(it);
}

bool HotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !message || grabs_.empty())
        return false;
    auto* event = static_cast<xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    auto* press = reinterpret_cast<xcb_key_press_event_t*>(event);
    if (press->event != press->root)
        return false; // a key typed into one of our own windows
    const unsigned state = press->state & ~(LockMask | Mod2Mask);
    for (const Grab& grab : grabs_)
        if (press->detail == grab.KeyCode && state == grab.Modifiers) {
            pressed_(grab.Window, grab.Id);
            return true;
        }
    return false;
}

} // namespace wt
