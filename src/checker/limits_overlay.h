// The engine limits scan on the map: while the scan that the Check menu made
// is of the level as it stands, a square at each of its points, green under
// half of every limit, yellow nearer, red over one; and the menu of the
// worst places, each opening the 3D view there, facing the worst view, with
// its counts on the view's third line, as a click with Ctrl on a square
// does.
#pragma once

// Draws the squares (connected to the editor's map overlay).
void DrawLimitsOverlay();

// Turns the squares on and shows the menu of the worst places at (x, y)
// until Esc; nothing without a scan of the level as it stands.
void ShowWorstPlaces(int x, int y);

// Opens the 3D view at the point whose square holds (x, y), pixels of the
// map area: false when no square shown does.
bool OpenClickedPlace(int x, int y);

// Connects the overlay to the editor.
void InstallLimitsOverlay();
