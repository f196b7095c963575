// Small scenes for the builders, built at any point of the map: the builder
// tests build them at the origin of an empty level, the test that plays
// every builder's result builds them beside a real level. LineDefs are
// numbered from the first one a scene makes.
#pragma once

#include <string>
#include <vector>

// A Sector with Freedoom's flats; a SideDef showing a wall, or nothing (for
// two-sided LineDefs).
int AddSceneSector(int floor, int ceiling);
int AddWallSide(int sector);
int AddOpenSide(int sector);

// A 64 by 16 doorway between a south and a north room, its lower left corner
// at (x, y): LineDefs 0 and 4 are its faces (running counter-clockwise
// around it), 8 and 9 its edges (clockwise), their first sides facing the
// doorway's own Sector (floor 8, ceiling 120).
struct DoorwayScene {
    int south, north, way;
};
DoorwayScene AddDoorway(int x, int y);

// A lift Sector (x, y)-(x + 64, y + 64), floor 0, ceiling 100, between a low
// room west of it (floor 0) and a high one east (floor 64): LineDef 0 is the
// low border with the lift on its first side, 2 the high border with the
// lift on its second, 1 and 3 the lift's walls.
struct LiftScene {
    int lift, low, high;
};
LiftScene AddLiftScene(int x, int y);

// A corridor (x, y)-(x + 64, y + 256), floor 0, ceiling 128, drawn
// clockwise, and its Sector: its west wall has a middle piece from y + 64 to
// y + 192 (LineDef 1), and so has its east wall, running south (LineDef 5)
// or, for stairs of the same direction, north with the corridor on its
// second side.
int AddCorridor(int x, int y, bool sameWay);

// The walls of a Sector west and east of a door shape whose corners are the
// Vertexes first to first + 3 (anticlockwise from the lower left): two
// rooms 256 wide whose north and south walls meet the door's ends, so that
// the door closes the gap between them.
void AddRoomsBesideDoor(int sector, int first);

// Four walls of one Sector in a chain from (0, 0) north to (0, 160), then
// east to (64, 160): LineDefs 0-2 show "WALL", 3 shows "BRICK", every X
// offset 7 (the texture alignments' scene).
void AddAlignmentChain();
