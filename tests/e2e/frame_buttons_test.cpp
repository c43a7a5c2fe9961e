// The add-in's windows of fixed size under a manager that reads what a
// program asks of its frame (icewm): the panel, the Options dialog and the
// About box are offered neither resizing nor maximizing.
#include "tests/e2e/hostide_run.h"
#include "tests/x11/x_server.h"

#include <gtest/gtest.h>

// After gtest: Xlib's macros (None, Bool) would break its templates.
#include "tests/e2e/top_windows.h"

#include <X11/Xatom.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace wt::e2e {
namespace {

namespace fs = std::filesystem;

// The actions the manager allows on the window of that title, by name.
std::vector<std::string> AllowedActions(Display* display, const std::string& title) {
    std::vector<std::string> names;
    const auto window = FindMapped(display, title);
    if (!window)
        return names;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window->window,
                           XInternAtom(display, "_NET_WM_ALLOWED_ACTIONS", False), 0, 64, False,
                           XA_ATOM, &type, &format, &count, &after, &data) != Success)
        return names;
    const auto* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < count; ++i) {
        char* name = XGetAtomName(display, atoms[i]);
        names.emplace_back(name ? name : "");
        if (name)
            XFree(name);
    }
    if (data)
        XFree(data);
    return names;
}

TEST(FrameButtons, FixedSizeWindowsAreOfferedNeitherResizeNorMaximize) {
    test::WindowManager manager("icewm");
    if (!manager.Installed())
        GTEST_SKIP() << "icewm is not installed";
    test::XvfbServer server;
    server.Start(1024, 768, 160);
    manager.Start(server.DisplayName());
    char pattern[] = "/tmp/wt-frame-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const fs::path dir = pattern;
    fs::create_directories(dir / "config" / "wingtucker");
    fs::create_directories(dir / "project");
    std::ofstream(dir / "frame.script")
        << "new-project " << (dir / "project" / "Demo.dpr").string() << "\n"
        << "menu Tools|Wingtucker 1.2d\nwait 800\necho @panel\nwait 1500\n"
           "click-button Options\nwait 800\necho @options\nwait 1500\nkey Escape\nwait 400\n"
           "click-button About\nwait 800\necho @about\nwait 1500\nquit\n";
    Display* display = XOpenDisplay(server.DisplayName().c_str());
    ASSERT_NE(display, nullptr);
    HostideRun run;
    ASSERT_TRUE(run.Start(server.DisplayName(), (dir / "config").string(),
                          (dir / "frame.script").string()));
    for (const auto& [marker, title] :
         {std::pair{"@panel", "Wingtucker 1.2d"}, std::pair{"@options", "Options"},
          std::pair{"@about", "About..."}}) {
        ASSERT_TRUE(run.WaitForOutput(marker, 20000)) << run.Output();
        const std::vector<std::string> actions = AllowedActions(display, title);
        std::string all;
        for (const std::string& action : actions)
            all += action + " ";
        EXPECT_NE(all.find("_NET_WM_ACTION_MOVE"), std::string::npos) << title << ": " << all;
        for (const char* refused : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                    "_NET_WM_ACTION_MAXIMIZE_VERT"})
            EXPECT_EQ(all.find(refused), std::string::npos) << title << ": " << all;
    }
    EXPECT_EQ(run.Wait(20000), 0) << run.Output();
    XCloseDisplay(display);
    fs::remove_all(dir);
}

} // namespace
} // namespace wt::e2e
