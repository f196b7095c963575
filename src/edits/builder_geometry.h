// The points of a LineDef that the builders measure with: its midpoint, and
// its side point, a third of its length out from the midpoint on the side of
// its first SideDef (the right going from start to end). Integer halves and
// thirds round towards zero. And the exact tests of where segments lie that
// decide whether a new LineDef would meet what is there.
//
// The functions that read or change a level take it as their first
// parameter (see edits/objects.h).
#pragma once

#include <cstdint>
#include <vector>

#include "level/level.h"

struct MapXY {
    int x, y;
};

// Whether LineDef l exists and both its Vertexes do; the other functions
// need it.
bool HasBothEnds(const LevelState& level, int l);
MapXY StartOf(const LevelState& level, int l);
MapXY EndOf(const LevelState& level, int l);
MapXY Midpoint(const LevelState& level, int l);
MapXY SidePoint(const LevelState& level, int l);
double Distance(MapXY a, MapXY b);
double LineDefLength(const LevelState& level, int l);

// Twice the signed area of the triangle o, p, q: above 0 when q lies left
// of the line from o to p, 0 on it. Exact for map coordinates.
int64_t Cross(MapXY o, MapXY p, MapXY q);

// Whether the segments p-q and r-t have a point in common (touching counts).
bool SegmentsMeet(MapXY p, MapXY q, MapXY r, MapXY t);

// Whether the segment p-q passes within r of v: through the square of half
// side r round it, as the vertex check measures nearness.
bool PassesNear(MapXY p, MapXY q, MapXY v, int r);

// Whether p lies inside an area (its corners in order round it), off its
// edges. Exact for a convex area; of any other, only its points that see
// every edge from inside count.
bool InsideArea(const std::vector<MapXY>& area, MapXY p);

// Whether the segment from s to e reaches into the area: an end or its
// middle inside, or crossing an edge.
bool ReachesInto(const std::vector<MapXY>& area, MapXY s, MapXY e);
