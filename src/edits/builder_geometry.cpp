#include "edits/builder_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "level/level.h"

bool HasBothEnds(const LevelState& level, int l) {
    const LineDef* ld = level.lineDefs.at(l);
    return ld && level.vertices.valid(ld->start) && level.vertices.valid(ld->end);
}

MapXY StartOf(const LevelState& level, int l) {
    const Vertex& v = level.vertices[level.lineDefs[l].start];
    return {v.x, v.y};
}

MapXY EndOf(const LevelState& level, int l) {
    const Vertex& v = level.vertices[level.lineDefs[l].end];
    return {v.x, v.y};
}

MapXY Midpoint(const LevelState& level, int l) {
    MapXY a = StartOf(level, l), b = EndOf(level, l);
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

MapXY SidePoint(const LevelState& level, int l) {
    MapXY a = StartOf(level, l), b = EndOf(level, l), m = Midpoint(level, l);
    return {m.x + (b.y - a.y) / 3, m.y + (a.x - b.x) / 3};
}

double Distance(MapXY a, MapXY b) {
    return std::hypot(static_cast<double>(a.x - b.x), static_cast<double>(a.y - b.y));
}

double LineDefLength(const LevelState& level, int l) { return Distance(StartOf(level, l), EndOf(level, l)); }

int64_t Cross(MapXY o, MapXY p, MapXY q) {
    return int64_t{p.x - o.x} * (q.y - o.y) - int64_t{p.y - o.y} * (q.x - o.x);
}

namespace {

// Whether q lies on the segment o-p, ends included.
bool OnSegment(MapXY o, MapXY p, MapXY q) {
    return Cross(o, p, q) == 0 && std::min(o.x, p.x) <= q.x && q.x <= std::max(o.x, p.x) &&
           std::min(o.y, p.y) <= q.y && q.y <= std::max(o.y, p.y);
}

int Sign(int64_t v) { return (v > 0) - (v < 0); }

}  // namespace

bool SegmentsMeet(MapXY p, MapXY q, MapXY r, MapXY t) {
    int d1 = Sign(Cross(p, q, r)), d2 = Sign(Cross(p, q, t)), d3 = Sign(Cross(r, t, p)), d4 = Sign(Cross(r, t, q));
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    return OnSegment(p, q, r) || OnSegment(p, q, t) || OnSegment(r, t, p) || OnSegment(r, t, q);
}

bool PassesNear(MapXY p, MapXY q, MapXY v, int r) {
    if (std::abs(p.x - v.x) <= r && std::abs(p.y - v.y) <= r)
        return true;
    const MapXY corners[4] = {{v.x - r, v.y - r}, {v.x + r, v.y - r}, {v.x + r, v.y + r}, {v.x - r, v.y + r}};
    for (int k = 0; k < 4; ++k)
        if (SegmentsMeet(p, q, corners[k], corners[(k + 1) % 4]))
            return true;
    return false;
}

bool InsideArea(const std::vector<MapXY>& area, MapXY p) {
    int sign = 0;
    for (size_t k = 0; k < area.size(); ++k) {
        int64_t c = Cross(area[k], area[(k + 1) % area.size()], p);
        int now = Sign(c);
        if (now == 0 || (sign != 0 && now != sign))
            return false;
        sign = now;
    }
    return true;
}

bool ReachesInto(const std::vector<MapXY>& area, MapXY s, MapXY e) {
    if (InsideArea(area, s) || InsideArea(area, e) || InsideArea(area, {(s.x + e.x) / 2, (s.y + e.y) / 2}))
        return true;
    for (size_t k = 0; k < area.size(); ++k) {
        MapXY p = area[k], q = area[(k + 1) % area.size()];
        if (Sign(Cross(p, q, s)) * Sign(Cross(p, q, e)) < 0 && Sign(Cross(s, e, p)) * Sign(Cross(s, e, q)) < 0)
            return true;
    }
    return false;
}
