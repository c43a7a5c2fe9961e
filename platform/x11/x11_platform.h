// The real desktop: builds the x11 backend's drivers and ties them together.
// Other programs' windows through Xlib on our own display connection; our
// own windows, timers and the pump through Qt; sounds through SDL2; help in
// a viewer of our own; the hook library libruvazad1 for the pointer watch.
#pragma once

#include "platform/platform.h"
#include "platform/x11/x11_windows.h"

#include <memory>
#include <string>

class QObject;

namespace wt {

class QtSystem;
class WaveSound;

class X11Platform : public Platform {
public:
    // Connects to the display Qt runs on (when Qt runs on X11), else to
    // $DISPLAY; throws X11Unavailable when that fails.
    X11Platform();
    // Connects to displayName ("" for $DISPLAY).
    explicit X11Platform(const std::string& displayName, std::string configDir = {});
    ~X11Platform() override;

    X11Desktop& Desktop() { return windows_->Desktop(); }
    X11Takeover& Takeover() { return windows_->Takeover(); }
    TuckGuard& Guard() { return windows_->Guard(); }

private:
    class ViewerHelp;
    class PointerHook;

    std::unique_ptr<X11Windows> windows_;
    std::unique_ptr<QtSystem> system_;
    std::unique_ptr<WaveSound> sound_;
    std::unique_ptr<ViewerHelp> help_;
    std::unique_ptr<PointerHook> hook_;
    std::unique_ptr<QObject> eventWatch_; // reads our connection from Qt's loop
};

} // namespace wt
