#include "edits/level_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "edits/objects.h"
#include "level/level.h"

namespace {

// Whether some LineDef with a side in the Sector has an end at x <= cx: a
// Sector found by the ray must reach back to the point.
bool ReachesBack(const LevelState& level, int sector, int cx) {
    for (const LineDef& ld : level.lineDefs) {
        if (!HasSideIn(level, ld, sector))
            continue;
        const Vertex* s = level.vertices.at(ld.start);
        const Vertex* t = level.vertices.at(ld.end);
        if ((s && s->x <= cx) || (t && t->x <= cx))
            return true;
    }
    return false;
}

// The Sector around (cx, cy): a ray cast eastwards, the side of the nearest
// LineDef crossed that faces the point. A LineDef without SideDefs bounds no
// Sector: the ray passes it.
}  // namespace

int SectorAround(const LevelState& level, int cx, int cy) {
    int result = -1;
    int64_t bestX = kRayLimit;
    for (const LineDef& ld : level.lineDefs) {
        LineDefEnds e;
        if (!EndsOf(level, ld, e) || (e.sy > cy) == (e.ey > cy) ||
            (!level.sideDefs.valid(ld.sideDef1) && !level.sideDefs.valid(ld.sideDef2)))
            continue;
        int64_t ix = int64_t(cy - e.sy) * (e.ex - e.sx) / (e.ey - e.sy) + e.sx;
        if (ix < cx || ix > bestX)
            continue;
        bestX = ix;
        // The side facing the point. Beyond the point, a LineDef without a
        // SideDef on that side has the void there (the inside of a pillar);
        // a point on the LineDef takes the side it has.
        uint16_t facing = e.ey > e.sy ? ld.sideDef2 : ld.sideDef1;
        if (facing == kNoReference && ix > cx) {
            result = -1;
            continue;
        }
        int side = ld.sideDef1;
        if (e.ey > e.sy && level.sideDefs.valid(ld.sideDef2))
            side = ld.sideDef2;
        int sector = SectorOfSide(level, side);
        if (sector >= 0 && ReachesBack(level, sector, cx))
            result = sector;
    }
    return result;
}

bool HasSideIn(const LevelState& level, const LineDef& ld, int sector) {
    return SectorOfSide(level, ld.sideDef1) == sector || SectorOfSide(level, ld.sideDef2) == sector;
}

int BoxCentre(int a, int b) { return (a + b + 1) / 2; }

int GetSectorAtPoint(const LevelState& level, int x, int y) {
    return SectorAround(level, BoxCentre(x, x), BoxCentre(y, y));
}

int LineDefJoining(const LevelState& level, int a, int b) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if ((ld.start == a && ld.end == b) || (ld.start == b && ld.end == a))
            return l;
    }
    return -1;
}

bool SectorClosed(const LevelState& level, int s) {
    std::vector<int> balance(static_cast<size_t>(level.vertices.count), 0);
    for (const LineDef& ld : level.lineDefs) {
        if (!level.vertices.valid(ld.start) || !level.vertices.valid(ld.end))
            continue;
        if (SectorOfSide(level, ld.sideDef1) == s)
            ++balance[ld.start], --balance[ld.end];
        if (SectorOfSide(level, ld.sideDef2) == s)
            ++balance[ld.end], --balance[ld.start];
    }
    return std::all_of(balance.begin(), balance.end(), [](int b) { return b == 0; });
}

void PointBeside(const LevelState& level, int ld, LineSide side, double& x, double& y) {
    constexpr double kBeside = 0.01;
    LineDefEnds e{};
    EndsOf(level, level.lineDefs[ld], e);
    double dx = e.ex - e.sx, dy = e.ey - e.sy, length = std::hypot(dx, dy);
    double nx = length > 0 ? dy / length : 0, ny = length > 0 ? -dx / length : 0;
    double toward = side == LineSide::Right ? kBeside : -kBeside;
    x = e.sx + dx / 2 + toward * nx;
    y = e.sy + dy / 2 + toward * ny;
}

bool InsideLoop(const LevelState& level, double x, double y, const std::vector<int>& loop) {
    constexpr double kRayX = 0.99992, kRayY = 0.0123;
    int crossings = 0;
    for (int l : loop) {
        LineDefEnds e;
        if (!level.lineDefs.at(l) || !EndsOf(level, level.lineDefs[l], e))
            continue;
        double ex = e.ex - e.sx, ey = e.ey - e.sy, qx = e.sx - x, qy = e.sy - y;
        double denominator = kRayX * ey - kRayY * ex;
        if (denominator == 0)
            continue;
        double t = (qx * ey - qy * ex) / denominator, u = (qx * kRayY - qy * kRayX) / denominator;
        crossings += t > 0 && u >= 0 && u <= 1;
    }
    return crossings % 2 == 1;
}

bool EndsOf(const LevelState& level, const LineDef& ld, LineDefEnds& e) {
    const Vertex* s = level.vertices.at(ld.start);
    const Vertex* t = level.vertices.at(ld.end);
    if (!s || !t)
        return false;
    e = {s->x, s->y, t->x, t->y};
    return true;
}
