// Picks the desktop the add-in works on: the real X11 desktop by default, the
// simulated one when WINGTUCKER_PLATFORM=sim, or whatever a test installed.
#pragma once

namespace wt {

// False, after one clear message, when no X11 session can be reached.
bool EnsurePlatform();

} // namespace wt
