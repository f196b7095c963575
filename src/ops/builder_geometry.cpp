#include "ops/builder_geometry.h"

#include <cmath>

#include "level/level.h"

bool HasBothEnds(int l) {
    const LineDef* ld = LineDefAt(l);
    return ld && ValidVertex(ld->start) && ValidVertex(ld->end);
}

MapXY StartOf(int l) {
    const Vertex& v = level.vertices[level.lineDefs[l].start];
    return {v.x, v.y};
}

MapXY EndOf(int l) {
    const Vertex& v = level.vertices[level.lineDefs[l].end];
    return {v.x, v.y};
}

MapXY Midpoint(int l) {
    MapXY a = StartOf(l), b = EndOf(l);
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

MapXY SidePoint(int l) {
    MapXY a = StartOf(l), b = EndOf(l), m = Midpoint(l);
    return {m.x + (b.y - a.y) / 3, m.y + (a.x - b.x) / 3};
}

double Distance(MapXY a, MapXY b) {
    return std::hypot(static_cast<double>(a.x - b.x), static_cast<double>(a.y - b.y));
}

double LineDefLength(int l) { return Distance(StartOf(l), EndOf(l)); }
