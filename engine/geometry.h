// Where each managed window stands when revealed and when tucked away: the
// main window along the top edge at full screen width, the Inspector along
// the left or right edge at full usable height, HangOutPixels left on screen.
#pragma once

#include "platform/types.h"

namespace wt {

// Records both windows' current rectangles as their restore rectangles and
// computes their shown and hidden rectangles from the current settings and
// screen. The Hidden flags are left alone.
void ComputeGeometry();

// Whether less than half of r's width or height lies on screen: where a tuck
// leaves a window, and no place a user keeps one.
bool LiesOffScreen(TRect r, TRect screen);

// r moved the least distance that puts it wholly on screen, its size kept
// where the screen is large enough for it.
TRect BroughtOnScreen(TRect r, TRect screen);

// The screen the windows are tucked against: full width, usable height.
TRect ScreenRect();

} // namespace wt
