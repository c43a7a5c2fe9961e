// A second display connection that follows one top-level window's
// ConfigureNotify events, to see each step of an animated move.
#pragma once

#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace wt::e2e {

struct Configure {
    int top = 0, bottom = 0;
};

class ConfigureWatch {
public:
    explicit ConfigureWatch(const std::string& display);
    ~ConfigureWatch();
    ConfigureWatch(const ConfigureWatch&) = delete;
    ConfigureWatch& operator=(const ConfigureWatch&) = delete;

    bool Connected() const { return dpy_ != nullptr; }
    // Polls the root's children for a window of this WM_CLASS class and
    // starts watching it; false when none turned up within timeoutMs.
    bool Attach(const std::string& windowClass, int timeoutMs);
    // Collects the events waiting now.
    void Drain();
    const std::vector<Configure>& Events() const { return events_; }

private:
    unsigned long FindByClass(const std::string& windowClass);

    Display* dpy_ = nullptr;
    unsigned long window_ = 0;
    std::vector<Configure> events_;
};

} // namespace wt::e2e
