#include "editor/picking.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "editor/view.h"
#include "edits/objects.h"
#include "level/level.h"
#include "base/config.h"

namespace {

constexpr int32_t kFarDistance = 9999999;

bool InBox(int32_t x, int32_t y, int x0, int y0, int x1, int y1) {
    return x0 <= x && x <= x1 && y0 <= y && y <= y1;
}

void Order(int& a, int& b) {
    if (a > b)
        std::swap(a, b);
}

// Things: the one nearest the box's corner (x0, y0), the lower number on a tie.
int NearestThing(int x0, int y0, int x1, int y1) {
    int result = -1;
    int32_t best = kFarDistance;
    for (int i = 0; i < level.things.count; ++i) {
        const Thing& t = level.things[i];
        if (!InBox(t.x, t.y, x0, y0, x1, y1))
            continue;
        int32_t d = std::abs(x0 - t.x) + std::abs(y0 - t.y);
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

// Vertexes as Things, except that a box of no width takes the first inside.
int NearestVertex(int x0, int y0, int x1, int y1) {
    int result = -1;
    int32_t best = kFarDistance;
    for (int i = 0; i < level.vertices.count; ++i) {
        const Vertex& v = level.vertices[i];
        if (!InBox(v.x, v.y, x0, y0, x1, y1))
            continue;
        if (x0 == x1)
            return i;
        int32_t d = std::abs(x0 - v.x) + std::abs(y0 - v.y);
        if (d < best) {
            best = d;
            result = i;
        }
    }
    return result;
}

// The cells of the level's LineDefs for picking, kept from one pick to the
// next. Nothing announces a change of the level, so each pick compares its
// Vertexes and LineDefs with copies of those the cells were made from: a
// level that changed is scanned whole, and the cells are made again once
// it stands still from one pick to the next (a drag changes it at every
// step).
class PickingCells {
public:
    // The cells of the level as it stands; nullptr when it changed since
    // the last pick.
    const LineDefCells* Current() {
        if (!Unchanged()) {
            vertexes_.assign(level.vertices.begin(), level.vertices.end());
            lineDefs_.assign(level.lineDefs.begin(), level.lineDefs.end());
            cells_.reset();
            return nullptr;
        }
        if (!cells_)
            cells_ = std::make_unique<LineDefCells>();
        return cells_.get();
    }

private:
    template <typename T>
    static bool Same(const std::vector<T>& kept, const ObjectArray<T>& array) {
        return kept.size() == static_cast<size_t>(array.count) &&
               (kept.empty() || std::memcmp(kept.data(), array.begin(), kept.size() * sizeof(T)) == 0);
    }
    bool Unchanged() const { return Same(vertexes_, level.vertices) && Same(lineDefs_, level.lineDefs); }

    std::vector<Vertex> vertexes_;
    std::vector<LineDef> lineDefs_;
    std::unique_ptr<LineDefCells> cells_;
};

PickingCells pickingCells;

// The lowest-numbered LineDef touching the box, looked for among those of
// the cells the box reaches when there are cells, else among all.
int FirstLineDefInside(const LineDefCells* cells, int x0, int y0, int x1, int y1) {
    if (!cells) {
        for (int i = 0; i < level.lineDefs.count; ++i)
            if (IsLineDefInside(i, x0, y0, x1, y1))
                return i;
        return -1;
    }
    const LineDefCells& c = *cells;
    if (x1 < c.originX || y1 < c.originY)
        return -1;
    int64_t c0 = std::max<int64_t>(0, (int64_t(x0) - c.originX) / c.size);
    int64_t r0 = std::max<int64_t>(0, (int64_t(y0) - c.originY) / c.size);
    int64_t c1 = std::min<int64_t>(c.columns - 1, (int64_t(x1) - c.originX) / c.size);
    int64_t r1 = std::min<int64_t>(c.rows - 1, (int64_t(y1) - c.originY) / c.size);
    int first = INT_MAX;
    for (int64_t r = r0; r <= r1; ++r)
        for (int64_t col = c0; col <= c1; ++col) {
            size_t cell = static_cast<size_t>(r * c.columns + col);
            for (uint32_t k = c.first[cell]; k < c.first[cell + 1]; ++k)
                if (c.lines[k] < first && IsLineDefInside(c.lines[k], x0, y0, x1, y1))
                    first = c.lines[k];
        }
    return first == INT_MAX ? -1 : first;
}

void Midpoint(const LineDefEnds& e, int16_t* x, int16_t* y) {
    *x = static_cast<int16_t>((e.sx + e.ex) / 2);
    *y = static_cast<int16_t>((e.sy + e.ey) / 2);
}

void MapBoundsCentre(int16_t* x, int16_t* y) {
    *x = static_cast<int16_t>((view.mapMinX + view.mapMaxX) / 2);
    *y = static_cast<int16_t>((view.mapMinY + view.mapMaxY) / 2);
}

void SideDefCoords(int n, int16_t* x, int16_t* y) {
    for (const LineDef& ld : level.lineDefs) {
        LineDefEnds e;
        if ((ld.sideDef1 == n || ld.sideDef2 == n) && EndsOf(level, ld, e)) {
            Midpoint(e, x, y);
            return;
        }
    }
    MapBoundsCentre(x, y);
}

void SectorCoords(int n, int16_t* x, int16_t* y) {
    int32_t sumX = 0, sumY = 0, points = 0;
    for (const LineDef& ld : level.lineDefs) {
        LineDefEnds e;
        if (!HasSideIn(level, ld, n) || !EndsOf(level, ld, e))
            continue;
        sumX += e.sx + e.ex;
        sumY += e.sy + e.ey;
        points += 2;
    }
    if (points == 0) {
        MapBoundsCentre(x, y);
        return;
    }
    *x = static_cast<int16_t>(sumX / points);
    *y = static_cast<int16_t>(sumY / points);
}

// The crossing of LineDef c with the ray of GetSectorOnSide along one axis:
// false when c does not straddle the ray's line.
struct Ray {
    bool vertical;    // north or south; else east or west
    bool positive;    // north or east
    double x, y;      // origin
};

bool Crossing(const Ray& ray, const LineDefEnds& c, double& at, double& mid) {
    if (ray.vertical) {
        if ((c.sx > ray.x) == (c.ex > ray.x))
            return false;
        at = c.sy + (ray.x - c.sx) * (c.ey - c.sy) / double(c.ex - c.sx);
        mid = (c.sy + c.ey) / 2.0;
    } else {
        if ((c.sy > ray.y) == (c.ey > ray.y))
            return false;
        at = c.sx + (ray.y - c.sy) * (c.ex - c.sx) / double(c.ey - c.sy);
        mid = (c.sx + c.ex) / 2.0;
    }
    return true;
}

}  // namespace

int GetMaxObjectNum(int type) {
    switch (type) {
    case kObjThing: return level.things.count - 1;
    case kObjLineDef: return level.lineDefs.count - 1;
    case kObjSideDef: return level.sideDefs.count - 1;
    case kObjVertex: return level.vertices.count - 1;
    case kObjSegment: return level.numSegs - 1;
    case kObjSSector: return level.numSSectors - 1;
    case kObjSector: return level.sectors.count - 1;
    default: return -1;
    }
}

void GetObjectCoords(int type, int n, int16_t* x, int16_t* y) {
    switch (type) {
    case kObjThing:
        if (const Thing* t = ThingAt(n))
            *x = t->x, *y = t->y;
        break;
    case kObjVertex:
        if (const Vertex* v = VertexAt(n))
            *x = v->x, *y = v->y;
        break;
    case kObjLineDef:
        if (const LineDef* ld = LineDefAt(n)) {
            LineDefEnds e;
            if (EndsOf(level, *ld, e))
                Midpoint(e, x, y);
        }
        break;
    case kObjSideDef:
        if (ValidSideDef(n))
            SideDefCoords(n, x, y);
        break;
    case kObjSector:
        if (ValidSector(n))
            SectorCoords(n, x, y);
        break;
    default:
        break;
    }
}

int GetCurObject(Coords coords, int type, int x0, int y0, int x1, int y1) {
    if (coords == Coords::Screen) {
        x0 = ScreenToMapX(x0), y0 = ScreenToMapY(y0);
        x1 = ScreenToMapX(x1), y1 = ScreenToMapY(y1);
    }
    Order(x0, x1);
    Order(y0, y1);
    int cx = BoxCentre(x0, x1), cy = BoxCentre(y0, y1);
    switch (type) {
    case kObjThing:
        return NearestThing(x0, y0, x1, y1);
    case kObjVertex:
        return NearestVertex(x0, y0, x1, y1);
    case kObjLineDef: {
        const LineDefCells* cells = pickingCells.Current();
        int n = FirstLineDefInside(cells, cx - 1, cy - 1, cx + 1, cy + 1);
        return n >= 0 ? n : FirstLineDefInside(cells, x0, y0, x1, y1);
    }
    case kObjSector:
        return SectorAround(level, cx, cy);
    default:
        return -1;
    }
}

int GetObjectUnderPointer(int type, int range) {
    if (range < 0)
        range = config.selectRange;
    int r = static_cast<int>(range * view.scale);
    if (r < range)
        r = range;
    return GetCurObject(Coords::Screen, type, view.pointerX - r, view.pointerY - r,
                        view.pointerX + r, view.pointerY + r);
}

bool IsLineDefInside(int ld, int x0, int y0, int x1, int y1) {
    const LineDef* l = LineDefAt(ld);
    LineDefEnds e;
    if (!l || !EndsOf(level, *l, e))
        return false;
    double sx = e.sx, sy = e.sy, ex = e.ex, ey = e.ey;
    double dx = ex - sx, dy = ey - sy;
    if (InBox(e.sx, e.sy, x0, y0, x1, y1) || InBox(e.ex, e.ey, x0, y0, x1, y1))
        return true;
    auto crossesRow = [&](double row) {
        if ((row < sy) == (row < ey))
            return false;
        double x = (row - sy) * dx / dy + sx;
        return x0 <= x && x <= x1;
    };
    auto crossesColumn = [&](double column) {
        if ((column < sx) == (column < ex))
            return false;
        double y = (column - sx) * dy / dx + sy;
        return y0 <= y && y <= y1;
    };
    return crossesRow(y0) || crossesRow(y1) || crossesColumn(x0) || crossesColumn(x1);
}

SelectionList SelectObjectsInBox(int type, int x0, int y0, int x1, int y1) {
    Order(x0, x1);
    Order(y0, y1);
    SelectionList list;
    switch (type) {
    case kObjThing:
        for (int i = 0; i < level.things.count; ++i)
            if (InBox(level.things[i].x, level.things[i].y, x0, y0, x1, y1))
                SelectObject(list, i);
        break;
    case kObjVertex:
        for (int i = 0; i < level.vertices.count; ++i)
            if (InBox(level.vertices[i].x, level.vertices[i].y, x0, y0, x1, y1))
                SelectObject(list, i);
        break;
    case kObjLineDef:
    case kObjSector: {
        std::vector<bool> taken(static_cast<size_t>(level.sectors.count), false);
        auto take = [&](int sector) {
            if (sector >= 0 && !taken[static_cast<size_t>(sector)]) {
                taken[static_cast<size_t>(sector)] = true;
                SelectObject(list, sector);
            }
        };
        for (int i = 0; i < level.lineDefs.count; ++i) {
            const LineDef& ld = level.lineDefs[i];
            LineDefEnds e;
            if (!EndsOf(level, ld, e) || !InBox(e.sx, e.sy, x0, y0, x1, y1) ||
                !InBox(e.ex, e.ey, x0, y0, x1, y1))
                continue;
            if (type == kObjLineDef) {
                SelectObject(list, i);
            } else {
                take(SectorOfSide(level, ld.sideDef1));
                take(SectorOfSide(level, ld.sideDef2));
            }
        }
        break;
    }
    default:
        break;
    }
    return list;
}

namespace {

// The ray GetSectorOnSide casts from the middle of LineDef ld, square to it
// on the given side, along the nearer axis; false when the LineDef has no
// ends.
bool SideRay(int ld, LineSide side, Ray& ray) {
    const LineDef* line = LineDefAt(ld);
    LineDefEnds e;
    if (!line || !EndsOf(level, *line, e))
        return false;
    double dx = e.ex - e.sx, dy = e.ey - e.sy;
    bool right = side == LineSide::Right;
    double nx = right ? dy : -dy, ny = right ? -dx : dx;
    ray.vertical = std::fabs(nx) < std::fabs(ny);
    ray.positive = ray.vertical ? ny > 0 : nx > 0;
    ray.x = e.sx + dx * 0.5;
    ray.y = e.sy + dy * 0.5;
    return true;
}

// The LineDef a ray meets first, of those offered to Consider: the nearest
// crossing beyond the ray's origin (within the ray's reach), then the one
// whose middle lies nearest the origin, then the lowest number. The order
// in which LineDefs are offered does not matter.
class NearestCrossing {
public:
    NearestCrossing(const Ray& ray, int ld) : ray_(ray), ld_(ld), origin_(ray.vertical ? ray.y : ray.x) {}

    void Consider(int i) {
        LineDefEnds c;
        double at, mid;
        if (i == ld_ || !EndsOf(level, level.lineDefs[i], c) || !Crossing(ray_, c, at, mid))
            return;
        if (ray_.positive ? (at <= origin_ || at > kRayLimit) : (at >= origin_ || at < -kRayLimit))
            return;
        if (found_ >= 0) {
            bool nearer = ray_.positive ? at < at_ : at > at_;
            double off = std::fabs(mid - origin_), bestOff = std::fabs(mid_ - origin_);
            if (!nearer && !(at == at_ && (off < bestOff || (off == bestOff && i < found_))))
                return;
        }
        at_ = at;
        mid_ = mid;
        found_ = i;
        ends_ = c;
    }
    bool Found() const { return found_ >= 0; }
    double At() const { return at_; }
    // The Sector of the side of that LineDef that faces the origin; -1.
    int Sector() const {
        if (found_ < 0)
            return -1;
        const LineDef& c = level.lineDefs[found_];
        bool first = ray_.vertical ? ray_.positive == (ends_.sx < ends_.ex) : ray_.positive != (ends_.sy < ends_.ey);
        return SectorOfSide(level, first ? c.sideDef1 : c.sideDef2);
    }

private:
    Ray ray_;
    int ld_;
    double origin_;
    double at_ = 0, mid_ = 0;
    int found_ = -1;
    LineDefEnds ends_{};
};

}  // namespace

int GetSectorOnSide(int ld, LineSide side) {
    Ray ray;
    if (!SideRay(ld, side, ray))
        return -1;
    NearestCrossing nearest(ray, ld);
    for (int i = 0; i < level.lineDefs.count; ++i)
        nearest.Consider(i);
    return nearest.Sector();
}

LineDefCells::LineDefCells() {
    int32_t minX = INT32_MAX, maxX = INT32_MIN, minY = INT32_MAX, maxY = INT32_MIN;
    for (const LineDef& ld : level.lineDefs) {
        LineDefEnds e;
        if (!EndsOf(level, ld, e))
            continue;
        minX = std::min({minX, e.sx, e.ex});
        maxX = std::max({maxX, e.sx, e.ex});
        minY = std::min({minY, e.sy, e.ey});
        maxY = std::max({maxY, e.sy, e.ey});
    }
    if (minX > maxX)
        return;
    int across = std::max(1, static_cast<int>(std::sqrt(double(level.lineDefs.count))));
    originX = minX;
    originY = minY;
    size = std::max(maxX - minX, maxY - minY) / across + 1;
    columns = (maxX - minX) / size + 1;
    rows = (maxY - minY) / size + 1;
    // Two passes: count the LineDefs of each cell, then file them, so that
    // the cells lie one after another in one array.
    auto forEachCell = [this](const std::function<void(size_t cell, int ld)>& take) {
        for (int i = 0; i < level.lineDefs.count; ++i) {
            LineDefEnds e;
            if (!EndsOf(level, level.lineDefs[i], e))
                continue;
            int c0 = (std::min(e.sx, e.ex) - originX) / size, c1 = (std::max(e.sx, e.ex) - originX) / size;
            int r0 = (std::min(e.sy, e.ey) - originY) / size, r1 = (std::max(e.sy, e.ey) - originY) / size;
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c)
                    take(static_cast<size_t>(r) * columns + c, i);
        }
    };
    size_t cells = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    first.assign(cells + 1, 0);
    forEachCell([this](size_t cell, int) { ++first[cell + 1]; });
    for (size_t k = 0; k < cells; ++k)
        first[k + 1] += first[k];
    lines.resize(first[cells]);
    std::vector<uint32_t> next(first.begin(), first.end() - 1);
    forEachCell([&](size_t cell, int ld) { lines[next[cell]++] = ld; });
}

int SideSectorFinder::SectorOnSide(int ld, LineSide side) const {
    Ray ray;
    if (!SideRay(ld, side, ray) || cells_.lines.empty())
        return -1;
    // The ray runs along one column (or row) of cells from the cell of its
    // origin. A LineDef it crosses at a point lies in that point's cell, so
    // once a crossing is found within the cells walked, no cell beyond can
    // hold a nearer one (or an equally near one).
    const LineDefCells& c = cells_;
    double along = ray.vertical ? ray.x : ray.y, from = ray.vertical ? ray.y : ray.x;
    int32_t alongOrigin = ray.vertical ? c.originX : c.originY, fromOrigin = ray.vertical ? c.originY : c.originX;
    int lane = static_cast<int>(std::floor((along - alongOrigin) / c.size));
    int laneCount = ray.vertical ? c.columns : c.rows, steps = ray.vertical ? c.rows : c.columns;
    if (lane < 0 || lane >= laneCount)
        return -1;
    int step = std::clamp(static_cast<int>(std::floor((from - fromOrigin) / c.size)), 0, steps - 1);
    int direction = ray.positive ? 1 : -1;
    NearestCrossing nearest(ray, ld);
    for (; step >= 0 && step < steps; step += direction) {
        size_t cell = ray.vertical ? static_cast<size_t>(step) * c.columns + lane
                                   : static_cast<size_t>(lane) * c.columns + step;
        for (uint32_t k = c.first[cell]; k < c.first[cell + 1]; ++k)
            nearest.Consider(c.lines[k]);
        double low = fromOrigin + double(step) * c.size, high = low + c.size;
        if (nearest.Found() && (ray.positive ? nearest.At() < high : nearest.At() >= low))
            break;
    }
    return nearest.Sector();
}
