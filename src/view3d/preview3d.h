// The 3D view of the level: the whole canvas shows the level as edited from
// a camera that walks (or, without clipping, flies) through it, drawn by the
// preview renderer as the game draws it, in the game's colours. Two lines
// at the top name the keys and what is shown; the game's weapon and status
// bar are not drawn. Esc goes back to the map, centred where the camera
// stood.
//
// Keys: Up/W forward, Down/S back, Left/Right turn, A/D step aside, the mouse
// turns, PgUp/Q and PgDn/E raise and lower the eye, N switches clipping and
// gravity off and on, T shows every Thing or again only what one player
// sees, 1 .. 5 choose the skill of those (at first the test play options'),
// F1 shows the help topic VIEW3D.
#pragma once

#include <string>

#include "editor/editor_actions.h"

// Opens the view from Player 1's start (or, without one, and with
// PreviewStart::Pointer, from the map point under the pointer) and runs it
// until Esc.
void Preview3d(PreviewStart start);
// Opens it at map point (x, y), facing heading degrees (0 east, 90 north),
// with note as a third line under the two.
void Preview3dAt(double x, double y, double heading, const std::string& note);

// Sets the editor's entry for the 3D view.
void InstallPreview3d();
