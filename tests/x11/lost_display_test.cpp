// A display whose server dies: on the add-in's own connections (the
// platform's and the hook's) every call then fails quietly and the process
// lives on to leave in its own way; other connections still reach the
// handler that was there before ours.
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool, Status) would break its templates.
#include "hook/x_error_guard.h"
#include "platform/x11/x11_errors.h"

#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace wt::test {
namespace {

void MarkLost(Display*, void* lost) { *static_cast<bool*>(lost) = true; }

bool previousCalled = false;
int RecordingPrevious(Display*) {
    previousCalled = true;
    return 0;
}

struct ChildResult {
    int Code = -1; // exit status, -1 when a signal ended it
    std::string Said;
};

// Runs setUp in a child connected to a server of its own, kills the server,
// then runs afterLoss there; the child exits with afterLoss's answer.
ChildResult WithServerKilled(const std::function<void(const std::string&)>& setUp,
                             const std::function<bool()>& afterLoss) {
    XvfbServer server;
    server.Start(320, 240, 170);
    int said[2], ready[2], go[2];
    EXPECT_EQ(pipe(said), 0);
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(go), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(said[1], STDERR_FILENO);
        setUp(server.DisplayName());
        char c = 1;
        if (write(ready[1], &c, 1) != 1 || read(go[0], &c, 1) != 1)
            _exit(4);
        _exit(afterLoss() ? 0 : 3);
    }
    close(said[1]);
    char c = 0;
    EXPECT_EQ(read(ready[0], &c, 1), 1);
    server.Kill();
    EXPECT_EQ(write(go[1], &c, 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    ChildResult result;
    result.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    char buffer[512];
    ssize_t n;
    while ((n = read(said[0], buffer, sizeof buffer)) > 0)
        result.Said.append(buffer, static_cast<std::size_t>(n));
    for (int fd : {said[0], ready[0], ready[1], go[0], go[1]})
        close(fd);
    return result;
}

Display* display = nullptr;
Display* other = nullptr;
bool lost = false, otherLost = false;

TEST(LostDisplay, APlatformConnectionFailsQuietlyAndTheProcessLivesOn) {
    const ChildResult result = WithServerKilled(
        [](const std::string& name) {
            display = XOpenDisplay(name.c_str());
            WatchDisplayErrors(display);
            XSetIOErrorExitHandler(display, MarkLost, &lost);
        },
        [] {
            XSync(display, False);
            XSync(display, False); // a second call on the broken connection fails too
            return lost;
        });
    EXPECT_EQ(result.Code, 0) << "it said: " << result.Said;
    EXPECT_EQ(result.Said, "");
}

TEST(LostDisplay, AHookConnectionFailsQuietlyAndCanBeClosed) {
    const ChildResult result = WithServerKilled(
        [](const std::string& name) {
            display = XOpenDisplay(name.c_str());
            hook::GuardDisplay(display);
            XSetIOErrorExitHandler(display, MarkLost, &lost);
        },
        [] {
            XCloseDisplay(display); // as the watch does when asked to stop
            return lost;
        });
    EXPECT_EQ(result.Code, 0) << "it said: " << result.Said;
    EXPECT_EQ(result.Said, "");
}

TEST(LostDisplay, OtherConnectionsStillReachTheHandlerInstalledBefore) {
    const ChildResult result = WithServerKilled(
        [](const std::string& name) {
            XSetIOErrorHandler(RecordingPrevious);
            display = XOpenDisplay(name.c_str());
            other = XOpenDisplay(name.c_str());
            WatchDisplayErrors(display);
            hook::GuardDisplay(display);
            XSetIOErrorExitHandler(other, MarkLost, &otherLost);
        },
        [] {
            XSync(other, False);
            return previousCalled && otherLost;
        });
    EXPECT_EQ(result.Code, 0) << "it said: " << result.Said;
}

} // namespace
} // namespace wt::test
