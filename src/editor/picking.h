// Finding objects: the object of a mode at a map point or under the pointer,
// the Sector around a point or beside a LineDef, where an object is, and
// whether a LineDef touches a box.
//
// Objects whose references are out of range are missing: a LineDef without
// both of its Vertexes is never found or crossed, a SideDef or Sector that
// does not exist stands for no Sector.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/selection.h"
#include "edits/level_geometry.h"

// count - 1 for Things, LineDefs, SideDefs, Vertexes, Segments, SSectors and
// Sectors; -1 for any other type.
int GetMaxObjectNum(int type);

// The reference point of an object: the position of a Thing or Vertex, the
// midpoint of a LineDef, of the first LineDef using a SideDef, or the mean of
// the end points of a Sector's LineDefs (the centre of the map bounds when
// nothing uses it). Other types, and objects that do not exist, leave x and y
// unchanged.
void GetObjectCoords(int type, int n, int16_t* x, int16_t* y);

// What the coordinates of a box are.
enum class Coords { Map, Screen };

// The object of the type in the box, or -1. Things and Vertexes: the nearest
// to the box's lower left corner; LineDefs: the first touching a small box at
// the centre, else the first touching the box; Sectors: the Sector around the
// box's centre.
int GetCurObject(Coords coords, int type, int x0, int y0, int x1, int y1);
// GetCurObject on a box of at least range pixels around the pointer; range
// < 0 takes the "Object Select Range" setting.
int GetObjectUnderPointer(int type, int range = -1);
// True when the LineDef touches the box (x0 <= x1, y0 <= y1).
bool IsLineDefInside(int ld, int x0, int y0, int x1, int y1);

// The objects of the type inside the box (map coordinates, any corner order):
// Things and Vertexes by position, LineDefs with both ends inside, Sectors
// with at least one LineDef wholly inside.
SelectionList SelectObjectsInBox(int type, int x0, int y0, int x1, int y1);

// The Sector on one side of a LineDef, found by casting a ray from its
// midpoint; -1.
int GetSectorOnSide(int ld, LineSide side);

// The level's LineDefs as they stand, sorted into square cells (about one
// LineDef to a cell on an evenly filled map): each is listed in every cell
// its bounding box reaches, so that a search near a point looks only at
// the LineDefs of the cells there. LineDefs without both ends are left out.
struct LineDefCells {
    LineDefCells();
    int32_t originX = 0, originY = 0, size = 1;   // the lower left corner of cell 0, a cell's side
    int columns = 0, rows = 0;
    // The cells row by row: cell k's LineDefs are lines[first[k]] up to
    // lines[first[k + 1]].
    std::vector<uint32_t> first;
    std::vector<int> lines;
};

// GetSectorOnSide for many LineDefs of a level that does not change while
// the finder is used: each ray looks only at the LineDefs of the cells it
// passes until it has found its LineDef. Gives the same answers as
// GetSectorOnSide.
class SideSectorFinder {
public:
    int SectorOnSide(int ld, LineSide side) const;

private:
    LineDefCells cells_;
};
