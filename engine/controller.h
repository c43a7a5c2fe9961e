// The controller behind the main panel: opening and closing the panel, Start,
// Stop, bringing the windows back, and the host's desktop events.
#pragma once

#include <string_view>

namespace wt {

class TIToolServices;

// Creates the panel (hidden on the first call) or shows it again, looks up the
// IDE windows and re-reads the settings.
void OpenPanel(TIToolServices* services);
// Resets the hook and destroys the panel; tucked-away windows stay where they are.
void ClosePanel();
// The work of the Stop button.
void StopHiding();
// Moves every window marked hidden back to its restore rectangle; the hook stays.
void RestoreAll();
// Tucks the chosen windows away and sets the hook.
void HideAll();
// A desktop file was loaded: recompute the geometry, and start when the
// settings ask for it and the file is not the host's default desktop.
void DesktopLoaded(std::string_view fileName);
// Reads the settings file into Settings and the reveal timer; with
// tellProblem, an unusable file is reported (once a session).
void ReadSettings(bool tellProblem);
// Moves each IDE window that lies off screen (left tucked by an earlier
// session, say) back onto the screen.
void BringBackLostWindows();
// At Start: a window chosen to be hidden that is minimized or rolled up is
// left as it is this run, with one message naming it; a maximized one is
// restored first and maximized again when it goes back.
void SettleShowStates();
// Monitors were added, removed or moved: a running engine places its
// windows on the edges as they are now.
void MonitorsChanged();
// Whether the panel has been created and not closed since.
bool PanelCreated();

} // namespace wt
