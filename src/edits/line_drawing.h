// The edits that line drawing makes: the Vertexes of its points, the
// LineDefs that join them, the Sector a closed shape gets, and the Sector Ins
// builds on LineDefs chosen in LineDefs mode. Each is one undoable step when
// it changes something; where the points are, and what the user pressed,
// are the caller's.
#pragma once

#include <vector>

#include "edits/linedef_edits.h"
#include "edits/sector_building.h"
#include "level/level.h"

namespace edits {

// A point placed where no Vertex is: a new Vertex at (x, y) ("draw
// Vertex"); -1 when the level holds no more.
int DrawVertex(LevelState& level, int x, int y);

// How a LineDef between two points came about.
enum class Drawn {
    New,        // made now
    Existing,   // one joined the points already (either way round)
    Missing,    // the points are the same, or one is not there
    NoRoom,     // the level holds no more LineDefs
};

struct DrawnLine {
    Drawn how = Drawn::Missing;
    int lineDef = -1;   // the new or existing LineDef; -1 for the others
};

// Joins Vertex `from` to `to`: the LineDef that already joins them, or a new
// impassable one without sides from `from` to `to` ("draw 1 LineDef").
DrawnLine DrawLineDef(LevelState& level, int from, int to);

// The Sector of a shape closed while "Auto Insert Sector" is on: when the
// LineDefs (in the order given) close around, BuildSector as the command
// says ("draw 4 LineDefs", the number of LineDefs given). A shape left open
// stays bare LineDefs: a Sector must close.
SectorBuilt CloseShapeSector(LevelState& level, const std::vector<int>& lineDefs, SectorBuild command, int first,
                             int last);

// What Ins in LineDefs mode built: a refusal, or the new Sector.
struct SectorInserted {
    Refusal refusal;
    SectorBuilt built;
};

// A new Sector of the defaults on the LineDefs (SectorBuild::FromLineDefs,
// "insert Sector"). Refused when none is given (Missing) or one has two
// SideDefs already (Said: the Sector must be given to it by hand).
SectorInserted InsertSector(LevelState& level, const std::vector<int>& lineDefs);

}  // namespace edits
