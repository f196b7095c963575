// The builders as the user starts them: the door and the lift of the model
// (edits/builders.h) with their boxes and questions, the stair builder, and
// the alignment of wall textures. Each checks what it is given first, says
// what is wrong in a box and then changes nothing; what it builds is one
// undo step.
#pragma once

#include "editor/selection.h"
#include "edits/builders.h"

// edits::PlanDoor and edits::MakeDoor on the selected LineDefs, with the
// boxes that say what is wrong ("LineDefs Not Selected Correctly" names a
// LineDef that does not meet the others) and the question whether to flip
// the LineDefs that run the wrong way round.
void MakeDoor(SelectionList& lineDefs);

// edits::MakeLift, with a box when it refuses.
void MakeLift(int sector);

using edits::DistributeSectorValue;
using edits::SectorValue;
using edits::ShowStepTextures;

// Lines up the wall textures of the listed LineDefs vertically, on the side
// the user chooses: each SideDef's Y offset makes its texture continue the
// one of the LineDef selected first, measured from the ceilings they hang
// from.
void AlignTexturesY(const SelectionList& lineDefs);

// What the stair builder asks, remembered for the run.
struct StairSettings {
    int steps = 3;
    int height = 16;
};
extern StairSettings stairSettings;

// Builds a staircase between two LineDefs of one Sector, facing each other
// or running the same way: both are split into as many pieces as there are
// steps, and each pair of pieces, with a riser across at its bottom, bounds
// a new step Sector one step height above the last. A landing Sector takes
// the rest of the Sector beyond the top riser. The user gives the number of
// steps and their height and chooses the risers' direction. The list becomes
// the pieces and risers made. Refused, with a message: a LineDef between the
// two (the steps would cut through it), and steps so narrow where the
// stairs fan out that a riser would pass the corner of another step.
void MakeStairs(SelectionList& lineDefs);

// Makes LineDef l an edge between two floor heights: two-sided, its first
// side showing the default upper and lower textures around an open middle,
// the middle of its second side open too (and a side that looks at the
// higher floor or the lower ceiling showing them). Both its SideDefs must
// exist.
void MakeStepEdge(int l);

// Lines up the wall textures of a chain of LineDefs horizontally, on the
// side and in the way the user chooses: each SideDef's X offset continues
// its texture from where the LineDef before it left off.
void AlignTexturesX(const SelectionList& lineDefs);
