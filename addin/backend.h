// Installs the desktop the add-in works on, as platform/backends.h chooses
// it, unless one (a test's) is installed already.
#pragma once

namespace wt {

// False, after one clear message, when no X11 session can be reached.
bool EnsurePlatform();

} // namespace wt
