// Our own windows on the real desktop through Qt: their messages (and the
// hook's reports picked out of Qt's X events), timers on Qt's loop, the
// pump, message boxes, and whether the host is the active program.
#pragma once

#include "platform/drivers.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace wt {

class HotKeys;
class OwnWindows;
class QtTimers;

class QtSystem : public SystemDriver {
public:
    // watchMouseAtom: the atom "WM_WATCHMOUSE" on the display Qt talks to;
    // activeOther: the active window when it is another program's, else none.
    QtSystem(unsigned long watchMouseAtom,
             std::function<std::optional<unsigned long>()> activeOther);
    ~QtSystem() override;

    OwnWindows& Own() { return *own_; }
    // A message box once the work under way is over: no modal loop inside a slide.
    void TellLater(const std::string& text, const std::string& caption);
    // Whether the window is one of the host's own (a window of Qt's in this process).
    static bool IsHostWindow(unsigned long window);

    WindowHandle AttachWindow(std::uintptr_t nativeId, std::string_view className,
                              MessageHandler handler) override;
    void DetachWindow(WindowHandle window) override;
    bool PostMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    bool SendMessage(WindowHandle window, std::uint32_t msg, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
    void ProcessMessages() override;
    void MessageBox(std::string_view text, std::string_view caption) override;
    bool AnotherProgramActive() override;
    bool WatchActivation(std::function<void(bool)> listener) override;
    bool RegisterHotKey(WindowHandle window, int id, const THotKey& key) override;
    void UnregisterHotKey(WindowHandle window, int id) override;

    TimerId SetTimer(int intervalMs, std::function<void()> tick) override;
    void KillTimer(TimerId timer) override;
    std::int64_t TickCount() override;

private:
    std::unique_ptr<OwnWindows> own_;
    std::unique_ptr<QtTimers> timers_;
    std::unique_ptr<HotKeys> hotKeys_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace wt
