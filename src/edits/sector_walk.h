// Walking round the area of a Sector: from one Vertex to another along the
// LineDefs whose sides face the Sector, the area on the walk's right. At each
// Vertex the walk turns to the next LineDef round it, so that it keeps to the
// one area it started in: a LineDef with the Sector on both sides is passed
// on the side the walk is on (and on both, going round its free end), never
// followed into another part of the Sector.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <cstdint>
#include <vector>

#include "edits/level_geometry.h"
#include "level/level.h"

// A side of a LineDef that a walk passed.
struct WalkedSide {
    int lineDef;
    LineSide side;
};

// How a walk ended.
enum class WalkEnd {
    Reached,     // at the Vertex it was to reach
    NoStart,     // no LineDef with a side facing the Sector leads on from the start
    Stuck,       // likewise at a later Vertex
    CameRound,   // it came round to a side it had passed: the end lies in another area
};

struct Walk {
    std::vector<WalkedSide> sides;
    WalkEnd end = WalkEnd::Reached;
    int at = -1;   // the Vertex where it ended
};

// Walks round the area of Sector s that a straight line from Vertex a to
// Vertex b would bound on its left, from a to b: the walk leaves a by the
// first LineDef turning counter-clockwise from the line and ends where it
// comes to b with the line next round. The line itself need not exist; a
// LineDef joining a and b is taken as the line.
Walk WalkRound(const LevelState& level, int s, int a, int b);

// The SideDef on a side of a LineDef.
uint16_t SideDefOn(const LineDef& ld, LineSide side);

// Whether the walk from Vertex a, closed by a line from where it ended back
// to a, runs clockwise: the area on its right is the one it goes round. A
// walk round the outside of an island (shapes joined to each other but not
// to the Sector's walls) runs the other way.
bool WalkEncloses(const LevelState& level, const Walk& walk, int a);
