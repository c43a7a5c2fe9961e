#include "toolkit/forms/frame_hints.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace wt {

namespace {

// The Motif window manager hints: flags, functions, decorations, input mode, status.
constexpr std::uint32_t HintsFunctions = 1, HintsDecorations = 2;
constexpr std::uint32_t FuncResize = 2, FuncMove = 4, FuncMinimize = 8, FuncMaximize = 16,
                        FuncClose = 32;
constexpr std::uint32_t DecorBorder = 2, DecorResizeHandle = 4, DecorTitle = 8, DecorMenu = 16,
                        DecorMinimize = 32, DecorMaximize = 64;

xcb_atom_t MotifHintsAtom(xcb_connection_t* connection) {
    static xcb_atom_t atom = XCB_ATOM_NONE;
    if (atom != XCB_ATOM_NONE)
        return atom;
    static constexpr char name[] = "_MOTIF_WM_HINTS";
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    if (reply) {
        atom = reply->atom;
        std::free(reply);
    }
    return atom;
}

} // namespace

void AskFrameFunctions(QWidget* window, const TFrameFunctions& f) {
    auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    auto* x11 = gui ? gui->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window || window->internalWinId() == 0)
        return;
    xcb_connection_t* connection = x11->connection();
    const xcb_atom_t atom = MotifHintsAtom(connection);
    if (atom == XCB_ATOM_NONE)
        return;
    std::uint32_t functions = FuncMove;
    std::uint32_t decorations = f.Title ? DecorBorder | DecorTitle : 0;
    if (f.Resize) {
        functions |= FuncResize;
        decorations |= DecorResizeHandle;
    }
    if (f.Close) {
        functions |= FuncClose;
        decorations |= DecorMenu;
    }
    if (f.Minimize) {
        functions |= FuncMinimize;
        decorations |= DecorMinimize;
    }
    if (f.Maximize && f.Resize) {
        functions |= FuncMaximize;
        decorations |= DecorMaximize;
    }
    const std::uint32_t hints[5] = {HintsFunctions | HintsDecorations, functions, decorations, 0,
                                    0};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window->internalWinId()), atom, atom, 32, 5,
                        hints);
    xcb_flush(connection);
}

} // namespace wt
