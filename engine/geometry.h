// Where each managed window stands when revealed and when tucked away: the
// main window along the top edge of its monitor at that monitor's width, the
// Inspector along the left or right edge of its monitor at its usable height,
// HangOutPixels left showing. An edge with another monitor beyond it is never
// used: the window goes on across the monitors to the outer edge that way.
#pragma once

#include "platform/types.h"
#include "settings/settings_store.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace wt {

// The usable rectangle of each monitor, in screen pixels.
using TMonitors = std::vector<TRect>;

struct TTuckPlaces {
    TRect Shown;
    TRect Hidden;
    TRect Monitor; // the monitor whose edge the window hangs from
};

struct TGeometry {
    TTuckPlaces Delphi;
    TTuckPlaces Inspector;
};

// What the places depend on: the Inspector's edge, the pixels left showing,
// the monitors (at least one) and where each window stands now.
struct TGeometryInput {
    TEdge InspectorEdge = TEdge::Left;
    std::int32_t HangOutPixels = 5;
    TMonitors Monitors;
    TRect DelphiRestore;
    TRect InspectorRestore;
};

// The shown and hidden rectangles of both windows. Each keeps its extent
// across the edge (height for the top, width for a side), taken as a 16-bit
// unsigned number as the IDE's own arithmetic has it; the position is imposed.
TGeometry ComputeGeometry(const TGeometryInput& input);

// Records both windows' current rectangles as their restore rectangles and
// stores their shown and hidden rectangles for the current settings and
// monitors. The Hidden flags are left alone.
void MeasureWindows();

// The shown and hidden rectangles again for the monitors as they are now,
// from the restore rectangles recorded before.
void RemeasureWindows();

// The monitor that holds most of r; where none holds any of it, the nearest.
// monitors must not be empty.
std::size_t MonitorHolding(const TMonitors& monitors, TRect r);

// Whether less than half of r's width or height lies on screen: where a tuck
// leaves a window, and no place a user keeps one.
bool LiesOffScreen(TRect r, TRect screen);

// r moved the least distance that puts it wholly on screen, its size kept
// where the screen is large enough for it.
TRect BroughtOnScreen(TRect r, TRect screen);

// The screen the windows are tucked against: full width, usable height.
TRect ScreenRect();

// The monitors as the desktop has them now, each cut to the usable height;
// the screen alone where the desktop tells of none.
TMonitors MonitorLayout();

// Whether r lies off the monitor that holds most of it (LiesOffScreen), and
// r brought onto that monitor.
bool LiesOffMonitors(TRect r, const TMonitors& monitors);
TRect BroughtOnMonitors(TRect r, const TMonitors& monitors);

} // namespace wt
