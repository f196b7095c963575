// The changes of the edit dialogs that reach beyond one field: moving
// Vertexes as a block, giving LineDefs the SideDefs they lack, and changing
// which SideDef a LineDef uses. They make part of the dialog's step (the
// editor names it when the dialog opens: "edit 3 LineDefs"), not a step of
// their own. Missing objects in the lists are skipped.
#pragma once

#include <vector>

#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

// Moves every listed Vertex by (dx, dy), each coordinate held within the
// map's range.
void MoveVertexesBy(LevelState& level, const SelectionList& vertexes, int dx, int dy);

enum class LineDefSide { First, Second };

// The SideDefs that AddMissingSides made, in the list's order, and whether
// it stopped because the level holds no more.
struct SidesAdded {
    std::vector<int> sideDefs;
    bool full = false;
};

// Gives every listed LineDef the side it lacks:
//   First - a LineDef without a first SideDef gets one of the defaults;
//   Second - a one-sided LineDef becomes two-sided (its flags only the
//     two-sided bit), its new second SideDef an empty wall facing its own
//     Sector; a LineDef without sides gets a first SideDef.
SidesAdded AddMissingSides(LevelState& level, const SelectionList& lineDefs, LineDefSide side);

// Makes that side of LineDef n use SideDef sideDef, or none for -1. A
// SideDef that no LineDef uses any more then goes (one that the other side
// of some LineDef still uses stays). False, changing nothing, when there is
// no such LineDef or SideDef.
bool SetSideDefOf(LevelState& level, int lineDef, LineDefSide side, int sideDef);

}  // namespace edits
