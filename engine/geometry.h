// Where each managed window stands when revealed and when tucked away: the
// main window along the top edge at full screen width, the Inspector along
// the left or right edge at full usable height, HangOutPixels left on screen.
#pragma once

#include "platform/types.h"
#include "settings/settings_store.h"

#include <cstdint>

namespace wt {

struct TTuckPlaces {
    TRect Shown;
    TRect Hidden;
};

struct TGeometry {
    TTuckPlaces Delphi;
    TTuckPlaces Inspector;
};

// What the places depend on: the Inspector's edge, the pixels left showing,
// the screen (full width, usable height) and where each window stands now.
struct TGeometryInput {
    TEdge InspectorEdge = TEdge::Left;
    std::int32_t HangOutPixels = 5;
    TRect Screen;
    TRect DelphiRestore;
    TRect InspectorRestore;
};

// The shown and hidden rectangles of both windows. Each keeps its extent
// across the edge (height for the top, width for a side), taken as a 16-bit
// unsigned number as the IDE's own arithmetic has it; the position is imposed.
TGeometry ComputeGeometry(const TGeometryInput& input);

// Records both windows' current rectangles as their restore rectangles and
// stores their shown and hidden rectangles for the current settings and
// screen. The Hidden flags are left alone.
void MeasureWindows();

// Whether less than half of r's width or height lies on screen: where a tuck
// leaves a window, and no place a user keeps one.
bool LiesOffScreen(TRect r, TRect screen);

// r moved the least distance that puts it wholly on screen, its size kept
// where the screen is large enough for it.
TRect BroughtOnScreen(TRect r, TRect screen);

// The screen the windows are tucked against: full width, usable height.
TRect ScreenRect();

} // namespace wt
