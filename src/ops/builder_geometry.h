// The points of a LineDef that the builders measure with: its midpoint, and
// its side point, a third of its length out from the midpoint on the side of
// its first SideDef (the right going from start to end). Integer halves and
// thirds round towards zero.
#pragma once

struct MapXY {
    int x, y;
};

// Whether LineDef l exists and both its Vertexes do; the other functions
// need it.
bool HasBothEnds(int l);
MapXY StartOf(int l);
MapXY EndOf(int l);
MapXY Midpoint(int l);
MapXY SidePoint(int l);
double Distance(MapXY a, MapXY b);
double LineDefLength(int l);
