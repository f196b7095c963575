// Operations on LineDefs and the Sectors beside them: adding a LineDef
// across a Sector (splitting it in two), splitting two LineDefs and the
// Sector between them, joining Sectors, deleting LineDefs and joining the
// Sectors on their sides, flipping and swapping LineDefs, and the first free
// tag. Each keeps every reference sound, raises both change flags when it
// changes something, and leaves the level exactly as it was when it fails.
#pragma once

#include "editor/editor_actions.h"
#include "editor/selection.h"

// Adds a two-sided LineDef from Vertex a to Vertex b inside the Sector
// around their midpoint, after the user chose in the menu "Split Option":
//   "Split Sector" - the part of the Sector on the LineDef's left (found by
//     walking the Sector's boundary from a to b with the Sector on the
//     right) becomes a new Sector, a copy of the old, with every inner shape
//     (pillar) that lies in it;
//   "2-Sided LineDef" - both sides face the Sector.
// Only "2-Sided LineDef" is offered when no LineDef uses a or b. When a
// LineDef already joins a and b, `replace` (when >= 0) is deleted, or else
// the user is asked whether to delete the LineDef found. The new LineDef's
// first side faces the old Sector; both sides have "-" as normal texture.
// The walk follows the Sector's area that the new LineDef cuts, turning at
// each Vertex to the next LineDef round it, so that it never wanders along
// a LineDef inside the Sector into another part of it.
// Failures (a path that would pass through a Vertex, run along or cross a
// LineDef; no Sector between a and b; a boundary walk that ends or comes
// back) are reported and change nothing. Returns Cancelled when the user
// chose "Exit" or pressed Esc.
SplitResult AddLineDefSplitSector(int a, int b, int replace = -1);

// Splits both LineDefs at their midpoints and adds a LineDef between the two
// new Vertexes, splitting the Sector they share (AddLineDefSplitSector).
// LineDefs without a Sector in common are reported; on any failure or
// cancel nothing changes.
void SplitLineDefsAndSector(int lineDef1, int lineDef2);

// Joins the listed Sectors into the list's head: every SideDef facing one of
// the others faces it, and the others are deleted. The list then holds the
// kept Sector alone.
void JoinSectors(SelectionList& sectors);

// Deletes the listed LineDefs (at least 1) and joins the Sector of each one's
// second side into the Sector of its first. Every LineDef must have two
// sides, both facing a Sector; otherwise the first that does not is
// reported and nothing changes. Empties the list when done.
void DeleteLineDefsJoinSectors(SelectionList& lineDefs);

// What a flip exchanges.
enum class FlipPart { Vertexes, SideDefs, Both };
// Flips every listed LineDef: its start and end Vertexes, its first and
// second SideDefs, or both.
void FlipLineDefs(const SelectionList& lineDefs, FlipPart part);

// The smallest tag of 1 or above that no LineDef and no Sector uses.
int FirstFreeTag();
