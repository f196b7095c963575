// The builders as the user starts them: the door and the lift of the model
// (edits/builders.h) with their boxes and questions, the stair builder, and
// the alignment of wall textures. Each checks what it is given first, says
// what is wrong in a box and then changes nothing; what it builds is one
// undo step.
#pragma once

#include "editor/selection.h"
#include "edits/builders.h"

// Says in a box why the model refused an edit, when it said.
void ReportRefusal(const edits::Refusal& refusal);

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

// edits::PlanStairs and edits::MakeStairs on the selected LineDefs: the
// bottom of the stairs marked on the map, the number of steps and their
// height asked (remembered in stairSettings) and whether the risers face the
// other way; then the vertex check on what was made. A refusal is said in a
// box.
void MakeStairs(SelectionList& lineDefs);

// Lines up the wall textures of a chain of LineDefs horizontally, on the
// side and in the way the user chooses: each SideDef's X offset continues
// its texture from where the LineDef before it left off.
void AlignTexturesX(const SelectionList& lineDefs);
