// The consistency checker: the checks that look for the faults that make the
// game crash or misbehave, each reporting its findings through the dialogs
// given, and the fixes they offer.
//
// Each check returns true when it ran to its end, false when the user
// cancelled it (at a verification dialog, or by not confirming a warning).
// Fixes made before a cancel stay; each is an edit of edits/check_fixes.h.
//
// References out of range are reported by the cross-reference check; the
// other checks treat them as missing and never follow them.
#pragma once

#include "checker/check_dialogs.h"

// Whether a check with fixes asks before each one or fixes at once.
enum class FixStyle {
    Ask,
    Fix,
};

// Every side of each Sector ends where another begins, and the Sector found
// beside each SideDef is the SideDef's own.
bool CheckClosedSectors(CheckDialogs& dialogs);
// Missing and shared SideDefs, LineDefs on one Vertex or on the same two,
// the LineDef flags, unused and duplicate Vertexes, unused SideDefs and
// Sectors, references out of range.
bool CheckCrossReferences(CheckDialogs& dialogs);
// Sectors without flats or with impossible heights; walls without the
// textures they show.
bool CheckMissingTextures(CheckDialogs& dialogs, FixStyle style);
// Flats and wall textures that the loaded files do not have.
bool CheckTextureNames(CheckDialogs& dialogs, FixStyle style);
// Unknown Thing types; the boss without its spot.
bool CheckThingTypes(CheckDialogs& dialogs);
// Unknown LineDef types; tags missing, useless or naming no Sector; teleports
// without a landing.
bool CheckLineDefTypes(CheckDialogs& dialogs);
// Unknown Sector types; Sector tags that no LineDef has.
bool CheckSectorTypes(CheckDialogs& dialogs);
// That the level has an exit, the four player starts and four deathmatch
// starts; false when the user did not confirm a warning. Runs before every
// save.
bool CheckExitsAndStarts(CheckDialogs& dialogs);
// What the game cannot load or play as it is, looked for before every save
// after the exits and starting positions: a LineDef without a first
// SideDef, a reference to an object that does not exist, a texture or flat
// that the game's files do not have (when their lists are read), more than
// one Player 1 start, places where the original engine stops for want of
// room (limits_check.h). One box lists them; the user may save all the same.
// False when the user cancelled, having been taken to the first.
bool CheckUnplayable(CheckDialogs& dialogs);
