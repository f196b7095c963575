// The engine limits scan on the map: while the scan that the Check menu made
// is of the level as it stands, a square at each of its points, green under
// half of every limit, yellow nearer, red over one; and the menu of the
// worst places, each opening the 3D view there, facing the worst view, with
// its counts on the view's third line.
#pragma once

// Draws the squares (connected to the editor's map overlay).
void DrawLimitsOverlay();

// Turns the squares on and shows the menu of the worst places at (x, y)
// until Esc; nothing without a scan of the level as it stands.
void ShowWorstPlaces(int x, int y);

// Connects the overlay to the editor.
void InstallLimitsOverlay();
