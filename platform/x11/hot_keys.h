// Keys that reach one of our windows wherever the focus is: grabbed on the
// root window through Qt's own connection (with and without Caps Lock and
// Num Lock, which X counts as modifiers), their presses picked out of Qt's
// events and handed on as WM_HOTKEY.
#pragma once

#include "platform/hot_key.h"
#include "platform/types.h"

#include <QAbstractNativeEventFilter>

#include <functional>
#include <vector>

namespace wt {

class HotKeys : public QAbstractNativeEventFilter {
public:
    // pressed: called with the window and the id a registered key was given.
    explicit HotKeys(std::function<void(WindowHandle, int)> pressed);
    ~HotKeys() override;
    HotKeys(const HotKeys&) = delete;
    HotKeys& operator=(const HotKeys&) = delete;

    // False, and nothing grabbed, when the key is unknown here or another
    // program holds it.
    bool Register(WindowHandle window, int id, const THotKey& key);
    void Unregister(WindowHandle window, int id);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab {
        WindowHandle Window;
        int Id;
        unsigned KeyCode;
        unsigned Modifiers; // X's modifier mask
    };
    void Ungrab(const Grab& grab);

    std::function<void(WindowHandle, int)> pressed_;
    std::vector<Grab> grabs_;
};

} // namespace wt
