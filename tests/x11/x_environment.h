// The X server every test of this program runs on: one Xvfb for the process,
// DISPLAY pointing at it, and a Qt application on it (xcb) for the tests of
// our own windows. Openbox is started by the suites that want a manager.
#pragma once

#include "tests/x11/x_server.h"

#include <string>

namespace wt::test {

// The display name of the test server (":90" or the next free one).
const std::string& TestDisplay();

} // namespace wt::test
