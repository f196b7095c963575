// The primitive edits of the level: appending one object, deleting objects
// with everything that depends on them, copying a selection in place, and
// moving objects by whole grid steps. Every other editing operation builds on
// these, and they keep the level sound: after each of them every reference
// (a LineDef's Vertexes and SideDefs, a SideDef's Sector) names the same
// object as before, or none when that object was deleted.
//
// Object types are the ObjectType codes; object numbers are ints. Numbers
// that name no object (out of range in a loaded map, or kNoReference) are
// missing: such list entries are skipped, such references are left as they
// are and never followed.
//
// Every operation that changes something raises level.levelChanged, and
// level.mapChanged unless it only touched Things.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/selection.h"
#include "level/level.h"

// Appends one object as the new last one and returns its number, or -1 (after
// the error beep) for a type other than Thing, LineDef, SideDef, Vertex and
// Sector, when the level already holds as many objects of a referenced kind
// as a reference can name, or for a LineDef when the level has no Vertex.
//
// With from naming an object of the type the new one copies it: a Thing's
// type, angle and flags; a LineDef's Vertexes, flags, type and tag (never its
// SideDefs); a SideDef's offsets, textures and Sector; a Sector's heights,
// flats, light, type and tag. Otherwise (from < 0, or out of range) it takes
// the defaults of the configuration: a Thing of the default type, angle 0,
// flags 7; a LineDef from Vertex 0 to the last Vertex, impassable, no
// SideDefs; a SideDef with the default wall texture and "-" above and below,
// facing the last Sector; a Sector with the default heights and flats, light
// 255. (x, y) places a Thing or Vertex and is ignored otherwise; a new Vertex
// widens the map bounds.
int InsertObject(int type, int from, int x, int y);

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
// gives the error beep and leaves the list alone. Takes time in proportion to
// the level's size, whatever the list's length.
void DeleteObjects(int type, SelectionList& list);
// DeleteObjects on a list of the one object n.
void DeleteObject(int type, int n);

// Duplicates the listed objects in place, each copy lying exactly on its
// source, and replaces each list entry by its copy's number:
//   Things, Vertexes - one copy each;
//   LineDefs - copies without SideDefs, on copies of their Vertexes (a
//     Vertex shared by listed LineDefs is copied once);
//   Sectors - copies of every LineDef beside a listed Sector, with copies of
//     that LineDef's SideDefs; a copied SideDef faces the Sector's copy, or
//     the original Sector when that Sector was not listed.
// Returns false, changing nothing, when the copies would not fit in the
// level (see InsertObject); other types change nothing and return true.
bool CopyObjects(int type, SelectionList& list);

// MoveObjectsToCoords types besides the ObjectType codes: kObjNone moves
// nothing and only reports whether the point is a whole (snapped) step away
// from the reference point; kMoveFreeVertexes moves Vertexes without snapping
// them (the ends of dragged LineDefs and Sectors).
constexpr int kMoveFreeVertexes = -1;

// Snaps a map point to the grid when the grid-snap switch is on and grid > 0:
// each coordinate to the nearest multiple of grid (halves upwards). Results
// stay inside the 16-bit map range (on the grid).
void SnapToGrid(int& x, int& y, int grid);

// A point of the map, as the drag keeps them.
struct MapPoint {
    int16_t x, y;
};

// What a drag keeps from step to step (the main loop starts and ends it).
struct MoveState {
    int16_t refX = 0, refY = 0;   // the snapped point the last step was measured from
    int type = kObjNone;          // kObjThing, kObjVertex or kMoveFreeVertexes while dragging
    SelectionList list;           // the Things or Vertexes that move
    std::vector<MapPoint> backup; // their places before the drag, in the list's order
    SelectionList touched;        // the LineDefs of the drag image (Vertexes that move at an end)
    bool moved = false;           // some step moved something
    bool copy = false;            // the next drag (or this one) moves copies just made: the selection
                                  // stays highlighted; BeginMove keeps it, the end of a drag clears it
    bool imageShown = false;      // the drag image is on the screen
};

extern MoveState moveState;

// Moves the listed objects by the offset of the snapped point (x, y) from the
// reference point. With an empty list it only sets the reference point to
// the snapped (x, y) and returns true. Otherwise it returns false, moving
// nothing, when the offset is zero; true when not. Things and free Vertexes
// move by the offset; Vertexes move by it and each lands on the grid; type
// kObjNone and other types move nothing. The reference point is left alone:
// the caller resets it with an empty list. Coordinates stop at the limits of
// the 16-bit map range instead of wrapping around.
bool MoveObjectsToCoords(int type, const SelectionList& list, int x, int y, int grid);

// Starts a drag of the objects of an EditMode: the Things or Vertexes
// themselves, the ends of LineDefs, the ends of every LineDef beside a Sector.
// Fills moveState (the list, the backup of their places, the LineDefs the
// drag image draws) and sets the reference point to the snapped (x, y).
// False, and nothing started, when there is nothing to move.
bool BeginMove(int mode, const SelectionList& objects, int x, int y, int grid);
// Ends a drag where the objects are: forgets the lists and the flags.
void EndMove();
// Ends a drag by putting every dragged object back where it was.
void CancelMove();
