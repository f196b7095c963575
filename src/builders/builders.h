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

// edits::AlignTexturesY on the side the user chooses from the menu.
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

// edits::AlignTexturesX on the side and in the way the user chooses from
// the menu (the initial offset and whether a new texture starts again at 0
// asked when the choice needs them), with the box that says why it stopped.
void AlignTexturesX(const SelectionList& lineDefs);
