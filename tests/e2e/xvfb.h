// A private Xvfb for one test program. The display number is found by letting
// Xvfb refuse a taken one and trying the next, so parallel test processes
// never share a server; the server is stopped by its own PID.
#pragma once

#include <string>
#include <sys/types.h>

namespace wt::e2e {

class Xvfb {
public:
    Xvfb() = default;
    ~Xvfb();
    Xvfb(const Xvfb&) = delete;
    Xvfb& operator=(const Xvfb&) = delete;

    // Starts a 1024x768x24 server; false with a message in Error() when no
    // display number in the range could be had.
    bool Start();
    void Stop();

    const std::string& Display() const { return display_; }
    const std::string& Error() const { return error_; }

private:
    // One attempt on :number: 1 = running, 0 = number taken, -1 = failure.
    int TryDisplay(int number);

    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
};

} // namespace wt::e2e
