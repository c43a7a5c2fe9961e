// The user's XDG autostart entry for wingtucker: written with the options
// the runner is to start with, or removed.
#pragma once

#include <string>
#include <vector>

namespace wt {

// $XDG_CONFIG_HOME/autostart/wingtucker.desktop, else under ~/.config.
std::string AutostartFileName();
// The entry's text: it runs program with arguments.
std::string AutostartEntry(const std::string& program, const std::vector<std::string>& arguments);
// Writes the entry whole (a new file renamed over the old one) or removes
// it; "" when done, else why not.
std::string SetAutostart(bool on, const std::string& program,
                         const std::vector<std::string>& arguments);

} // namespace wt
