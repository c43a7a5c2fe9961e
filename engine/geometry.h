// Where each managed window stands when revealed and when tucked away: the
// main window along the top edge at full screen width, the Inspector along
// the left or right edge at full usable height, HangOutPixels left on screen.
#pragma once

namespace wt {

// Records both windows' current rectangles as their restore rectangles and
// computes their shown and hidden rectangles from the current settings and
// screen. The Hidden flags are left alone.
void ComputeGeometry();

} // namespace wt
