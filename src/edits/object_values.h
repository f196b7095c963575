// The changes the edit dialogs make to the objects the user chose: a field
// set on every listed object, Vertexes moved as a block, the SideDefs that
// LineDefs lack, and which SideDef a LineDef uses. They make part of the
// dialog's step (the editor names it when the dialog opens: "edit 3
// LineDefs"), not a step of their own. Each raises level.levelChanged when
// it changes something; missing objects in the lists are skipped.
#pragma once

#include <vector>

#include "edits/object_list.h"
#include "gamedefs/port_types.h"
#include "level/level.h"

namespace edits {

// A number field the dialogs set, of the kind of object it belongs to.
enum class NumberField {
    ThingAngle,
    LineDefTag,
    SideXOffset,
    SideYOffset,
    SideSector,
    SectorCeiling,
    SectorFloor,
    SectorLight,
    SectorTag,
};

// Sets the field of every listed object to value (as its 16 bits hold it).
void SetNumber(LevelState& level, const std::vector<int>& objects, NumberField field, int value);

// The name fields: a Sector's flats, a SideDef's textures.
enum class NamePart { CeilingFlat, FloorFlat, Upper, Lower, Middle };

// Puts the name (its first 8 characters) into that part of every listed
// Sector or SideDef; the number of objects that took it.
int SetName(LevelState& level, const std::vector<int>& objects, NamePart part, const char* name);

// Sets the flags the dialog shows on every listed Thing or LineDef (by its
// type code), keeping the bits it does not show.
void SetFlags(LevelState& level, int type, const std::vector<int>& objects, ShownFlags flags);

// Gives every listed Thing, LineDef or Sector (by the type code of its
// kind) the type chosen. A Sector of a level for Boom or later (DOOM
// flavour) given an original type (0..31) keeps the bits it holds above it.
// True when a type changed.
bool SetType(LevelState& level, int kind, const std::vector<int>& objects, int chosen);

// Gives every listed Sector the bits above the original type (damage,
// secret, friction, wind and the MBF21 ones), keeping its own type.
void SetSectorBits(LevelState& level, const std::vector<int>& sectors, SectorBits bits);

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
