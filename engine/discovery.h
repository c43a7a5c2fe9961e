// Finding the IDE's two windows: by the window rules of the settings where
// they are set, else by the host IDE's window classes (and, in re-finds, the
// Inspector's title); at panel opening, before each Inspector move, and in
// the reveal tick while no geometry has been computed yet.
#pragma once

#include <string_view>

namespace wt {

inline constexpr std::string_view DelphiClassName = "TAppBuilder";
inline constexpr std::string_view InspectorClassName = "TPropertyInspector";
inline constexpr std::string_view InspectorTitle = "Object Inspector";

// Looks both windows up by class, any title. Returns whether the IDE main
// window was found; a missing Inspector leaves a 0 handle and is not an error.
bool FindIdeWindows();

// Finds the Inspector again by class and title when its handle no longer
// denotes a window (the IDE re-created it, or it was never found).
void RefindInspector();

// Finds each window again and recomputes the geometry, but only for a window
// whose shown rectangle is still all zeros (no geometry computed yet).
void RefindWindows();

} // namespace wt
