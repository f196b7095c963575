// The editor's side of the primitive edits (edits/objects.h): inserting with
// the error beep, moving objects by whole grid steps, and the drag.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/selection.h"
#include "edits/objects.h"
#include "level/level.h"

// InsertObject of the editor: AddObject, with the error beep when it refuses;
// a new Vertex widens the map bounds.
int InsertObject(int type, int from, int x, int y);

// MoveObjectsToCoords types besides the ObjectType codes: kObjNone moves
// nothing and only reports whether the point is a whole (snapped) step away
// from the reference point; kMoveFreeVertexes moves Vertexes without snapping
// them (the ends of dragged LineDefs and Sectors).
constexpr int kMoveFreeVertexes = -1;

// Snaps a map point to the grid when the grid-snap switch is on and grid > 0:
// each coordinate to the nearest multiple of grid (halves upwards). Results
// stay inside the 16-bit map range (on the grid).
void SnapToGrid(int& x, int& y, int grid);

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
