// The stair builder's edit: a staircase between two LineDefs of one Sector.
// The plan checks the LineDefs and finds the Sector and the bottom before
// the user is asked for the steps; the build takes the answers. Each refuses
// with the words the user is shown, changing nothing; what it builds is one
// undo step.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include "edits/builder_geometry.h"
#include "edits/linedef_edits.h"
#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

// How the two LineDefs lie: facing each other across the Sector, or running
// the same way (the first with the Sector on its first side, the second on
// its second side).
enum class StairLayout { Facing, Same };

// What the builder found in the two LineDefs: a refusal; or how they lie,
// which is L1 (the bottom riser starts from its start when they face each
// other, from its end otherwise) and the Sector between them.
struct StairPlan {
    Refusal refusal;
    StairLayout layout = StairLayout::Facing;
    int l1 = -1, l2 = -1;
    int sector = -1;
};

// Two LineDefs that bound the same Sector from its walls, with no LineDef
// in the area between them (the steps would cut through it).
StairPlan PlanStairs(const LevelState& level, const SelectionList& lineDefs);

// The middle of the bottom riser, where the user is shown the stairs start.
MapXY StairBottom(const LevelState& level, const StairPlan& plan);

// What the user chose: the number of steps, the height of each (negative:
// the stairs go down), and whether the risers face the other way (going
// down turns them too).
struct StairChoice {
    int steps = 3;
    int height = 16;
    bool reversed = false;
};

// Builds the stairs that PlanStairs planned: both LineDefs are split into
// as many pieces as there are steps, and each pair of pieces, with a riser
// across at its bottom, bounds a new step Sector one step height above the
// last. A landing Sector takes the rest of the Sector beyond the top riser
// (a Sector already beyond it is the landing; a wall there closes the last
// step). The list becomes the pieces and risers made. Refused when the plan
// was, when the steps would be too short or so narrow where the stairs fan
// out that a riser would pass the corner of another step, and when the
// level is full.
Refusal MakeStairs(LevelState& level, SelectionList& lineDefs, const StairPlan& plan, StairChoice choice);

// Makes LineDef l an edge between two floor heights: two-sided, its first
// side showing the default upper and lower textures around an open middle,
// the middle of its second side open too (and a side that looks at the
// higher floor or the lower ceiling showing them). Both its SideDefs must
// exist.
void MakeStepEdge(LevelState& level, int l);

}  // namespace edits
