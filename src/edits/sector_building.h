// Giving LineDefs their SideDefs and a Sector: a shape drawn point by point
// (a room or a solid object, from the way it was drawn), or LineDefs chosen
// in LineDefs mode. Numbers that name no object (out of range in a loaded
// map) are missing: such SideDefs count as none and are replaced, and such
// list entries are skipped.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <vector>

#include "level/level.h"

// How BuildSector is asked, which decides what the LineDefs that already have
// a first SideDef become and which Sector the shape faces.
enum class SectorBuild {
    // Ins in LineDefs mode: a new Sector with the defaults; LineDefs with a
    // first side become two-sided, their second side facing it.
    FromLineDefs,
    // A drawn shape closed with the right button: a new Sector, a copy of the
    // Sector the shape was drawn in, if any; the drawing direction decides
    // between a room in that Sector and an object standing in it. The Sector
    // a shape that reuses walls was drawn in is the one those walls face on
    // the shape's inside: a room takes that side of them over, an object
    // drops it (a wall left with nothing on either side goes). A reused wall
    // becomes two-sided only when the room lies on its open side. LineDefs
    // drawn the other way round are turned to face the room or the Sector.
    RightButton,
    // Closed with Ins: the Sector that the LineDefs' first sides already
    // face, when they face one on the shape's inside that is still open, is
    // completed (the new LineDefs' first sides facing it); else as
    // RightButton.
    InsertKey,
    // Closed with Esc (the shape left open): as InsertKey, but a new Sector
    // even when the first sides face one.
    EscapeKey,
};

namespace edits {

// Whether the LineDefs close around: every end is shared by at least two of
// them.
bool ShapeClosed(const LevelState& level, const std::vector<int>& lineDefs);

// What building a Sector did: the Sector the shape faces (-1 none), and how
// many objects it could not add for want of room (a side left missing).
struct SectorBuilt {
    int sector = -1;
    int refusedInserts = 0;
};

// Gives the LineDefs (in the order given) SideDefs facing a Sector, as the
// command says; first and last are the Vertexes of a drawn shape's first and
// last point (-1 when none). Nothing changes when no LineDef is given or the
// level holds no more Sectors.
SectorBuilt BuildSector(LevelState& level, const std::vector<int>& lineDefs, SectorBuild command, int first, int last);

}  // namespace edits
