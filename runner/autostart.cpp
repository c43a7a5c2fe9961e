#include "runner/autostart.h"

#include "platform/files.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace wt {

namespace {

// A desktop entry's Exec argument: quoted where it holds more than plain characters.
std::string ExecArgument(const std::string& argument) {
    static const std::string plain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_./=+,:@";
    if (!argument.empty() && argument.find_first_not_of(plain) == std::string::npos)
        return argument;
    std::string quoted = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
        if (c == '%') // a literal percent sign is doubled in Exec
            quoted += '%';
    }
    return quoted + '"';
}

} // namespace

std::string AutostartFileName() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string base;
    if (config && *config == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    return base + "/autostart/wingtucker.desktop";
}

std::string AutostartEntry(const std::string& program, const std::vector<std::string>& arguments) {
    std::string exec = ExecArgument(program);
    for (const std::string& argument : arguments)
        exec += " " + ExecArgument(argument);
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Wingtucker\n"
           "Comment=Tucks the IDE's main window and Object Inspector away at the screen's edges\n"
           "Exec=" +
           exec +
           "\n"
           "Icon=wingtucker\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

std::string SetAutostart(bool on, const std::string& program,
                         const std::vector<std::string>& arguments) {
    const std::string name = AutostartFileName();
    if (!on) {
        if (::unlink(name.c_str()) != 0 && errno != ENOENT)
            return name + " cannot be removed: " + std::strerror(errno);
        return {};
    }
    if (const int error = WriteWholeFile(name, AutostartEntry(program, arguments)))
        return name + " cannot be written: " + std::strerror(error);
    return {};
}

} // namespace wt
