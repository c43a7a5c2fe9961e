// The fault campaigns. Each runs the given number of rounds (or keys), prints
// one line of figures and returns 0 when it found no fault.
#pragma once

#include <cstdint>
#include <string>

namespace wt::campaign {

int SettingsKilledWriters(int rounds, std::uint32_t seed);
int SettingsConcurrentWriters(int keys, std::uint32_t seed);
int HostileMessages(int rounds, std::uint32_t seed);
int DisplayKilled(int rounds, std::uint32_t seed);
int WindowsDestroyed(int rounds, std::uint32_t seed);
// One moment only: "slide", "timer" or "lookup".
int WindowsDestroyedAt(const std::string& moment, int rounds, std::uint32_t seed);

} // namespace wt::campaign
