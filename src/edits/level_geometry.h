// Where the level's objects lie, as the edits and the map view find them:
// the Sector around a point, the LineDef joining two Vertexes, the point
// just beside a LineDef, and whether a point lies inside a loop of LineDefs.
//
// Objects whose references are out of range are missing: a LineDef without
// both of its Vertexes is never found or crossed, a SideDef or Sector that
// does not exist stands for no Sector.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

// How far from its origin a ray looks for LineDefs, in map units.
constexpr int32_t kRayLimit = 32767;

// The two ends of a LineDef; EndsOf is false when either Vertex is missing.
struct LineDefEnds {
    int32_t sx, sy, ex, ey;
};
bool EndsOf(const LevelState& level, const LineDef& ld, LineDefEnds& e);

// Whether a side of the LineDef faces Sector s.
bool HasSideIn(const LevelState& level, const LineDef& ld, int s);

// The middle of the span a..b as picking centres a box: (a + b + 1) / 2 in
// whole units.
int BoxCentre(int a, int b);

// The Sector around map point (x, y), or -1: a ray cast eastwards, the side
// of the nearest LineDef crossed that faces the point, when that Sector
// reaches back to the point. A LineDef without SideDefs bounds no Sector.
int SectorAround(const LevelState& level, int x, int y);
// SectorAround at the centre of a box of no size at (x, y), as picking finds
// the Sector under a point.
int GetSectorAtPoint(const LevelState& level, int x, int y);

// The first LineDef from Vertex a to b or from b to a; -1 when there is none.
int LineDefJoining(const LevelState& level, int a, int b);

// The sides of a LineDef: the first SideDef's is the right one.
enum class LineSide { Left, Right };

// Whether every side of Sector s ends where another of its sides begins:
// at each Vertex as many of them start as end.
bool SectorClosed(const LevelState& level, int s);

// A point a hundredth of a unit beside the middle of LineDef ld (which must
// have both ends), on the given side.
void PointBeside(const LevelState& level, int ld, LineSide side, double& x, double& y);
// Whether the point lies inside the closed loop of LineDefs: a ray from it
// (turned off the axes, so that it runs through no Vertex) crosses them an
// odd number of times.
bool InsideLoop(const LevelState& level, double x, double y, const std::vector<int>& loop);

