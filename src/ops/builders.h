// Builders that turn a few selected LineDefs or Sectors into a working game
// structure: a door from four LineDefs, a lift from a Sector, and floor,
// ceiling or light levels spread evenly over Sectors. Each checks what it is
// given first, says what is wrong in a box and then changes nothing; what it
// builds is one undo step.
#pragma once

#include "editor/selection.h"

// Four LineDefs round a doorway, meeting in two pairs at common end points:
// in each pair the one whose first side looks out of the doorway is a door
// face, the other a door edge. A LineDef running the wrong way round is
// named, and flipped when the user agrees (a face must have a room beyond
// it). The faces become two-sided door LineDefs ("Door Texture"
// above) around a closed door Sector, the edges impassable door tracks
// ("Door Track Texture"). The door Sector is the doorway's own when the
// door takes all of its sides, else a new one. The list becomes edge, face,
// edge, face.
void MakeDoor(SelectionList& lineDefs);

// Turns Sector n into a lift down to its lowest neighbour: raised to the
// highest neighbouring floor, its border LineDefs tagged with a new tag and
// given lift types and textures, its walls impassable.
void MakeLift(int sector);

enum class SectorValue { Floor, Ceiling, Light };

// Spreads a value evenly over at least 3 Sectors, in list order (newest
// first): the first and the last keep theirs, the others step between them.
// Light always rises along the list.
void DistributeSectorValue(const SelectionList& sectors, SectorValue value);

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

// Gives each side of a two-sided LineDef the default upper or lower texture
// where the heights of the Sectors on its sides show a wall above or below
// and the side has none. What every builder does to the LineDefs whose
// heights it changed.
void ShowStepTextures(int l);

// Lines up the wall textures of a chain of LineDefs horizontally, on the
// side and in the way the user chooses: each SideDef's X offset continues
// its texture from where the LineDef before it left off.
void AlignTexturesX(const SelectionList& lineDefs);
