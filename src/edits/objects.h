// The primitive edits of the level: appending one object, deleting objects
// with everything that depends on them, and copying objects in place. Every
// other edit builds on these, and they keep the level sound: after each of
// them every reference (a LineDef's Vertexes and SideDefs, a SideDef's
// Sector) names the same object as before, or none when that object was
// deleted.
//
// Each takes the level it works on as its first parameter (the editor passes
// the global one; tests and tools may pass their own).
//
// Object types are the ObjectType codes; object numbers are ints. Numbers
// that name no object (out of range in a loaded map, or kNoReference) are
// missing: such list entries are skipped, such references are left as they
// are and never followed.
//
// Every operation that changes something raises level.levelChanged, and
// level.mapChanged unless it only touched Things (MarkChanged).
#pragma once

#include <cstdint>

#include "edits/object_list.h"
#include "level/level.h"

// A point of the map, as a drag and a turn keep the places objects start
// from.
struct MapPoint {
    int16_t x, y;
};

// The range of map coordinates.
constexpr int kMapLow = -32768;
constexpr int kMapHigh = 32767;

// Appends one object as the new last one and returns its number, or -1 for a
// type other than Thing, LineDef, SideDef, Vertex and Sector, when the level
// already holds as many objects of a referenced kind as a reference can name
// (the edit in the making is then refused: RefuseEdit in level/history.h),
// or for a LineDef when the level has no Vertex.
//
// With from naming an object of the type the new one copies it: a Thing's
// type, angle and flags; a LineDef's Vertexes, flags, type and tag (never its
// SideDefs); a SideDef's offsets, textures and Sector; a Sector's heights,
// flats, light, type and tag. Otherwise (from < 0, or out of range) it takes
// the defaults of the configuration: a Thing of the default type, angle 0,
// flags 7; a LineDef from Vertex 0 to the last Vertex, impassable, no
// SideDefs; a SideDef with the default wall texture and "-" above and below,
// facing the last Sector; a Sector with the default heights and flats, light
// 255. (x, y) places a Thing or Vertex (kept within the map's range) and is
// ignored otherwise.
int AddObject(LevelState& level, int type, int from, int x, int y);

// Deletes every listed object with its dependants and empties the list:
//   Vertex  - every LineDef that uses it (so their SideDefs too);
//   LineDef - its SideDefs, except one that another LineDef still uses;
//   Sector  - every SideDef facing it: a LineDef beside it loses that side
//             and is an impassable wall of the other (turned round when it
//             lost its first side, so that its second is its first now), and
//             goes when it has no side left;
//   Thing, SideDef - nothing else.
// Vertexes left without LineDefs and Sectors without SideDefs stay. The
// objects after each deleted one move down, and every reference is
// renumbered; references to deleted SideDefs become kNoReference. Another type
// leaves the list alone. Takes time in proportion to
// the level's size, whatever the list's length.
void DeleteObjects(LevelState& level, int type, SelectionList& list);
// DeleteObjects on a list of the one object n.
void DeleteObject(LevelState& level, int type, int n);

// Duplicates the listed objects in place, each copy lying exactly on its
// source, and replaces each list entry by its copy's number:
//   Things, Vertexes - one copy each;
//   LineDefs - copies without SideDefs, on copies of their Vertexes (a
//     Vertex shared by listed LineDefs is copied once);
//   Sectors - copies of every LineDef beside a listed Sector, with copies of
//     that LineDef's SideDefs; a copied SideDef faces the Sector's copy, or
//     the original Sector when that Sector was not listed.
// Returns false, changing nothing, when the copies would not fit in the
// level (see AddObject); other types change nothing and return true.
bool CopyObjects(LevelState& level, int type, SelectionList& list);

// The number of objects of a type; -1 for a type that is not edited.
int32_t ObjectCount(const LevelState& level, int type);

// The entries of the list that name an object of the type, in the list's
// order.
SelectionList ExistingObjects(const LevelState& level, int type, const SelectionList& list);

// A coordinate kept within the map's range.
int16_t ClampToMap(int v);

// Raises the change flags for an edit of objects of the type.
void MarkChanged(LevelState& level, int type);

// The Sector that a SideDef faces, or -1 when there is no such SideDef or
// Sector.
int SectorOfSide(const LevelState& level, int sideDef);
