// Builders that turn a few selected LineDefs or Sectors into a working game
// structure: a door from four LineDefs, a lift from a Sector, and floor,
// ceiling or light levels spread evenly over Sectors. Each checks what it is
// given first and refuses, changing nothing, with the words the user is
// shown; what it builds is one undo step.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <string>
#include <vector>

#include "edits/linedef_edits.h"
#include "edits/object_list.h"
#include "level/level.h"

namespace edits {

// What the door builder found in four LineDefs before it builds: a refusal;
// or `loose`, the first LineDef that does not meet two others round a
// doorway (>= 0); or the LineDefs that run the wrong way round it and must
// be flipped first, with the question that asks the user (two lines).
struct DoorPlan {
    Refusal refusal;
    int loose = -1;
    std::vector<int> flips;
    std::string question, question2;

    bool ready() const { return !refusal.refused() && loose < 0; }
};

// Four LineDefs round a doorway, meeting in two pairs at common end points:
// in each pair the one whose first side looks out of the doorway is a door
// face, the other a door edge. A LineDef running the wrong way round is
// named in the plan's question (a face must have a room beyond it, so a
// wall that would have to become one is refused).
DoorPlan PlanDoor(const LevelState& level, const SelectionList& lineDefs);

// What building the door did: a refusal, and how many missing first
// SideDefs it added (each deserves a check of its Sector).
struct DoorOutcome {
    Refusal refusal;
    int sidesAdded = 0;
};

// Builds the door that PlanDoor planned on the same LineDefs (flipping those
// of the plan): the faces become two-sided door LineDefs ("Door Texture"
// above) around a closed door Sector, the edges impassable door tracks
// ("Door Track Texture"). The door Sector is the doorway's own when the
// door takes all of its sides, else a new one. The list becomes edge, face,
// edge, face. Refused when the plan is not ready or the level is full.
DoorOutcome MakeDoor(LevelState& level, SelectionList& lineDefs, const DoorPlan& plan);

// Turns Sector n into a lift down to its lowest neighbour: raised to the
// highest neighbouring floor, its border LineDefs tagged with a new tag and
// given lift types and textures, its walls impassable. Refused without a
// neighbouring Sector.
Refusal MakeLift(LevelState& level, int sector);

enum class SectorValue { Floor, Ceiling, Light };

// Spreads a value evenly over at least 3 Sectors, in list order (newest
// first): the first and the last keep theirs, the others step between them.
// Light always rises along the list.
void DistributeSectorValue(LevelState& level, const SelectionList& sectors, SectorValue value);

// Gives each side of a two-sided LineDef the default upper or lower texture
// where the heights of the Sectors on its sides show a wall above or below
// and the side has none. What every builder does to the LineDefs whose
// heights it changed.
void ShowStepTextures(LevelState& level, int l);

}  // namespace edits
