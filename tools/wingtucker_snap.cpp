// wingtucker-snap: renders registered forms to PNG files without a display.
//
//   wingtucker-snap FORM OUT.png [--at MS]   one form by class name (TfrmOops),
//                                           MS ms of its timers run first
//   wingtucker-snap --all DIR                every registered form, DIR/<class>.png
//   wingtucker-snap --list                   the class names of the registered forms
#include "toolkit/forms/snapshot.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: wingtucker-snap FORM OUT.png [--at MS]\n"
                         "       wingtucker-snap --all DIR\n"
                         "       wingtucker-snap --list\n");
    return 2;
}

// A count of milliseconds, 0 to 10 minutes, digits only.
bool ParseMilliseconds(const std::string& text, std::int64_t& ms) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    ms = std::stoll(text);
    return ms <= 600000;
}

bool RenderOne(wt::TSnapshotSession& session, const std::string& form, const std::string& file,
               std::int64_t atMs) {
    std::string message;
    const bool ok = session.Render(form, file, atMs, message);
    std::fprintf(ok ? stdout : stderr, "%s\n", message.c_str());
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    wt::TSnapshotSession session(argc, argv);
    const std::vector<std::string> args(argv + 1, argv + argc);

    if (args.size() == 1 && args[0] == "--list") {
        for (const std::string& name : session.FormNames())
            std::printf("%s\n", name.c_str());
        return 0;
    }
    if (args.size() == 2 && args[0] == "--all") {
        std::error_code error;
        std::filesystem::create_directories(args[1], error);
        if (error) {
            std::fprintf(stderr, "cannot make directory %s\n", args[1].c_str());
            return 1;
        }
        const auto forms = session.FormNames();
        if (forms.empty())
            std::fprintf(stderr, "no forms are registered\n");
        bool ok = true;
        for (const std::string& form : forms)
            ok = RenderOne(session, form,
                           (std::filesystem::path(args[1]) / (form + ".png")).string(), 0) &&
                 ok;
        return ok ? 0 : 1;
    }
    std::int64_t atMs = 0;
    if (args.size() == 4 && args[2] == "--at") {
        if (!ParseMilliseconds(args[3], atMs)) {
            std::fprintf(stderr, "--at takes milliseconds, 0 to 600000\n");
            return 2;
        }
    } else if (args.size() != 2 || args[0].starts_with("-")) {
        return Usage();
    }
    return RenderOne(session, args[0], args[1], atMs) ? 0 : 1;
}
