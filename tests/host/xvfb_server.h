// A private Xvfb for one test program: started on the first free display
// from :70 up, stopped by its process id.
#pragma once

#include <string>
#include <sys/types.h>

namespace wt::test {

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { Stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server (1024 by 768, 24 bits); false with *error if none
    // could be started.
    bool Start(std::string* error);
    void Stop();

    const std::string& DisplayName() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

} // namespace wt::test
