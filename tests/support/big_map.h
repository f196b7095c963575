// A generated level far larger than any of the games' own: a grid of square
// rooms that share two-sided walls, whose references (Vertexes, SideDefs,
// Sectors) and object numbers reach well past 32,767.
#pragma once

#include "support/map_lumps.h"

namespace bigmap {

struct Options {
    int columns = 992, rows = 32;   // rooms; 64,512 LineDefs, 32,769 grid Vertexes
    int cell = 32;                  // side of a room in map units
    // Vertexes that no LineDef uses (as a node builder adds them) come first
    // in the file, so the grid's numbers there start above them.
    int unusedVertices = 32000;
    int roomSectors = 2000;   // the rooms take them in turn
    int things = 40000;   // one per room, then a second round 4 units east
    // A REJECT of the size the Sector count asks for (a pattern, not a real
    // table), else an empty one.
    bool reject = true;
};

// The map; the node builder's lumps are stand-ins. The LineDefs run along
// the rows first: horizontal walls row by row, then vertical ones. Room r
// faces its horizontal walls with SideDef 2r and its vertical ones with 2r+1.
struct BigMap : MapData {
    Options options;

    int Rooms() const { return options.columns * options.rows; }
    // Lower left corner of a room's column and row.
    int RoomX(int column) const { return (column - options.columns / 2) * options.cell; }
    int RoomY(int row) const { return (row - options.rows / 2) * options.cell; }
    int RoomSector(int room) const { return room % options.roomSectors; }
    // Grid Vertex (column, row): its number in the file.
    int FileVertex(int column, int row) const { return options.unusedVertices + row * (options.columns + 1) + column; }
};

BigMap Generate(const Options& options = Options());

}  // namespace bigmap
