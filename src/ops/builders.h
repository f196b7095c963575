// Builders that turn a few selected LineDefs or Sectors into a working game
// structure: a door from four LineDefs, a lift from a Sector, and floor,
// ceiling or light levels spread evenly over Sectors. Each checks what it is
// given first, says what is wrong in a box and then changes nothing; what it
// builds is one undo step.
#pragma once

#include "editor/selection.h"

// Four LineDefs meeting in two pairs at common end points: in each pair the
// one whose first side looks away from the other is a door face, the other
// a door edge. The faces become two-sided door LineDefs ("Door Texture"
// above) around a new closed door Sector, the edges impassable door tracks
// ("Door Track Texture"). The list becomes edge, face, edge, face.
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
