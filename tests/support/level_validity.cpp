#include "support/level_validity.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <numeric>
#include <set>
#include <tuple>
#include <utility>

#include "level/level.h"

namespace testkit {

namespace {

using Faults = std::vector<LevelFault>;

constexpr size_t kShownFaults = 8;
// How far beside a LineDef's middle the point lies whose Sector is looked
// for, and how far the ray from it turns off the square: a turn no line
// between whole-number points follows, so the ray never runs through a
// Vertex or along a LineDef.
constexpr double kBeside = 0.01;
constexpr double kTurn = 0.0123;

struct Point {
    double x, y;
};

double Cross(Point u, Point v) { return u.x * v.y - u.y * v.x; }

// The ends of LineDef l; false when one of them is missing.
bool EndsOf(int l, Point& a, Point& b) {
    const Vertex* s = VertexAt(level.lineDefs[l].start);
    const Vertex* e = VertexAt(level.lineDefs[l].end);
    if (!s || !e)
        return false;
    a = {double(s->x), double(s->y)};
    b = {double(e->x), double(e->y)};
    return true;
}

std::string At(int x, int y) { return "(" + std::to_string(x) + "," + std::to_string(y) + ")"; }

std::string Where(int l) {
    Point a, b;
    std::string text = "LineDef " + std::to_string(l);
    if (EndsOf(l, a, b))
        text += " " + At(int(a.x), int(a.y)) + "-" + At(int(b.x), int(b.y));
    return text;
}

int SectorOf(uint16_t side) {
    const SideDef* sd = SideDefAt(side);
    return sd && ValidSector(sd->sector) ? sd->sector : -1;
}

// The Sector that lies beside LineDef l on its right (first) or left side:
// the side facing the point of the first LineDef that a ray from beside l's
// middle meets; -1 for the void (nothing met, or a side without a SideDef).
int SectorLyingBeside(int l, bool right) {
    Point a, b;
    if (!EndsOf(l, a, b) || (a.x == b.x && a.y == b.y))
        return -1;
    double length = std::hypot(b.x - a.x, b.y - a.y), side = right ? 1 : -1;
    Point n = {side * (b.y - a.y) / length, side * (a.x - b.x) / length};
    Point p = {(a.x + b.x) / 2 + kBeside * n.x, (a.y + b.y) / 2 + kBeside * n.y};
    Point d = {n.x * std::cos(kTurn) - n.y * std::sin(kTurn), n.x * std::sin(kTurn) + n.y * std::cos(kTurn)};
    double nearest = HUGE_VAL;
    int sector = -1;
    for (int c = 0; c < level.lineDefs.count; ++c) {
        Point s, e;
        if (c == l || !EndsOf(c, s, e))
            continue;
        Point along = {e.x - s.x, e.y - s.y}, toStart = {s.x - p.x, s.y - p.y};
        double denominator = Cross(d, along);
        if (denominator == 0)
            continue;
        double t = Cross(toStart, along) / denominator, u = Cross(toStart, d) / denominator;
        if (t <= 0 || u < 0 || u > 1 || t >= nearest)
            continue;
        nearest = t;
        const LineDef& met = level.lineDefs[c];
        sector = SectorOf(Cross(along, {p.x - s.x, p.y - s.y}) < 0 ? met.sideDef1 : met.sideDef2);
    }
    return sector;
}

::testing::AssertionResult Verdict(const Faults& faults) {
    if (faults.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << FaultLines(faults);
}

Faults MissingObjects() {
    Faults faults;
    for (const std::string& dangling : DanglingReferences())
        faults.push_back({"missing object", dangling});
    return faults;
}

void LineDefShapes(Faults& faults) {
    constexpr int16_t kTwoSided = 4;
    std::set<std::pair<std::pair<int, int>, std::pair<int, int>>> placed;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (ld.sideDef1 == kNoReference)
            faults.push_back({"no first side", Where(l) + ": no first SideDef"});
        if ((ld.flags & kTwoSided) && ld.sideDef2 == kNoReference)
            faults.push_back({"two-sided flag", Where(l) + ": two-sided flag without a second SideDef"});
        std::pair<int, int> from{level.vertices[ld.start].x, level.vertices[ld.start].y};
        std::pair<int, int> to{level.vertices[ld.end].x, level.vertices[ld.end].y};
        if (from == to)
            faults.push_back({"length 0", Where(l) + ": length 0"});
        else if (!placed.insert(std::minmax(from, to)).second)
            faults.push_back({"same points", Where(l) + ": on the same two points as another LineDef"});
    }
}

// Whether r and s lie strictly on either side of the line through p and q.
bool Straddle(const Vertex& p, const Vertex& q, const Vertex& r, const Vertex& s) {
    auto turn = [&](const Vertex& o) {
        return (int64_t(q.x) - p.x) * (int64_t(o.y) - p.y) - (int64_t(q.y) - p.y) * (int64_t(o.x) - p.x);
    };
    return (turn(r) > 0 && turn(s) < 0) || (turn(r) < 0 && turn(s) > 0);
}

// Two LineDefs that cross at a point inside both: the ends of each lie
// strictly on either side of the other. The sides of a crossed Sector face
// where its LineDefs do not show (a check beside each LineDef's middle
// alone can miss it). Ordered by their left ends, so that only LineDefs
// whose x ranges meet are compared.
void CrossingLineDefs(Faults& faults) {
    auto start = [](int l) -> const Vertex& { return level.vertices[level.lineDefs[l].start]; };
    auto end = [](int l) -> const Vertex& { return level.vertices[level.lineDefs[l].end]; };
    auto ends = [&](int l) { return std::minmax(start(l).x, end(l).x); };
    std::vector<int> order(static_cast<size_t>(level.lineDefs.count));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) { return ends(a).first < ends(b).first; });
    for (size_t i = 0; i < order.size(); ++i)
        for (size_t j = i + 1; j < order.size() && ends(order[j]).first <= ends(order[i]).second; ++j) {
            int a = order[i], b = order[j];
            if (Straddle(start(a), end(a), start(b), end(b)) && Straddle(start(b), end(b), start(a), end(a)))
                faults.push_back({"crossing", Where(a) + ": crosses " + Where(b)});
        }
}

void FacingSectors(Faults& faults) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        for (bool right : {true, false}) {
            uint16_t side = right ? level.lineDefs[l].sideDef1 : level.lineDefs[l].sideDef2;
            int faced = SectorOf(side), lying = side == kNoReference ? faced : SectorLyingBeside(l, right);
            if (lying == faced)
                continue;
            std::string text = Where(l) + (right ? ": first" : ": second") + " side faces Sector " +
                               std::to_string(faced);
            faults.push_back({lying < 0 ? "void side" : "wrong Sector",
                              text + (lying < 0 ? ", the void lies there" : ", lies in " + std::to_string(lying))});
        }
}

// At every point, as many sides of a Sector start as end.
void ClosedSectors(Faults& faults) {
    std::map<std::tuple<int, int, int>, int> balance;
    for (const LineDef& ld : level.lineDefs)
        for (bool right : {true, false}) {
            int sector = SectorOf(right ? ld.sideDef1 : ld.sideDef2);
            const Vertex& from = level.vertices[right ? ld.start : ld.end];
            const Vertex& to = level.vertices[right ? ld.end : ld.start];
            if (sector >= 0) {
                ++balance[{sector, from.x, from.y}];
                --balance[{sector, to.x, to.y}];
            }
        }
    for (const auto& [key, count] : balance)
        if (count != 0)
            faults.push_back({"open Sector", "Sector " + std::to_string(std::get<0>(key)) + " open at " +
                                                 At(std::get<1>(key), std::get<2>(key))});
}

void AddUnused(Faults& faults) {
    std::vector<bool> sideUsed(static_cast<size_t>(level.sideDefs.count), false);
    std::vector<bool> sectorUsed(static_cast<size_t>(level.sectors.count), false);
    for (const LineDef& ld : level.lineDefs)
        for (uint16_t side : {ld.sideDef1, ld.sideDef2})
            if (ValidSideDef(side))
                sideUsed[side] = true;
    for (int s = 0; s < level.sideDefs.count; ++s) {
        if (!sideUsed[static_cast<size_t>(s)])
            faults.push_back({"unused SideDef", "SideDef " + std::to_string(s) + " unused"});
        else if (ValidSector(level.sideDefs[s].sector))
            sectorUsed[level.sideDefs[s].sector] = true;
    }
    for (int s = 0; s < level.sectors.count; ++s)
        if (!sectorUsed[static_cast<size_t>(s)])
            faults.push_back({"unused Sector", "Sector " + std::to_string(s) + " unused"});
}

bool NoTexture(const char (&name)[8]) { return name[0] == '\0' || (name[0] == '-' && name[1] == '\0'); }

bool Sky(const Sector& s) { return std::strncmp(s.ceilingTexture, "F_SKY1", 6) == 0; }

// What one side of a two-sided LineDef shows of the step to the Sector
// behind it.
void StepTextures(Faults& faults, int l, const char* which, const SideDef& side, const Sector& front,
                  const Sector& back) {
    if (back.floorHeight > front.floorHeight && NoTexture(side.lower))
        faults.push_back({"missing texture", Where(l) + which + " shows a step up without a lower texture"});
    if (back.ceilingHeight < front.ceilingHeight && !(Sky(front) && Sky(back)) && NoTexture(side.upper))
        faults.push_back({"missing texture", Where(l) + which + " shows a step down without an upper texture"});
}

}  // namespace

std::vector<LevelFault> LevelFaults(Validity validity) {
    Faults faults = MissingObjects();
    if (!faults.empty())
        return faults;
    LineDefShapes(faults);
    CrossingLineDefs(faults);
    FacingSectors(faults);
    ClosedSectors(faults);
    if (validity == Validity::Editor)
        AddUnused(faults);
    return faults;
}

std::vector<LevelFault> UnusedObjects() {
    Faults faults;
    AddUnused(faults);
    return faults;
}

std::vector<LevelFault> MissingVisibleTextures() {
    Faults faults;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        int front = SectorOf(ld.sideDef1), back = SectorOf(ld.sideDef2);
        if (front >= 0 && back < 0 && NoTexture(level.sideDefs[ld.sideDef1].middle))
            faults.push_back({"missing texture", Where(l) + ": a wall without a middle texture"});
        if (front < 0 || back < 0)
            continue;
        const Sector &f = level.sectors[front], &b = level.sectors[back];
        StepTextures(faults, l, ": first side", level.sideDefs[ld.sideDef1], f, b);
        StepTextures(faults, l, ": second side", level.sideDefs[ld.sideDef2], b, f);
    }
    return faults;
}

std::string FaultLines(const std::vector<LevelFault>& faults) {
    std::string text = std::to_string(faults.size()) + " faults:";
    for (size_t i = 0; i < faults.size() && i < kShownFaults; ++i)
        text += "\n  " + faults[i].text;
    return text;
}

::testing::AssertionResult LevelValid(Validity validity) { return Verdict(LevelFaults(validity)); }

std::vector<std::string> DanglingReferences() {
    std::vector<std::string> faults;
    auto check = [&](const std::string& object, const char* field, uint16_t ref, const char* target,
                     int32_t count, bool noneAllowed) {
        if (ref >= count && !(noneAllowed && ref == kNoReference))
            faults.push_back(object + ": " + field + " " + target + " " + std::to_string(ref) + " of " +
                             std::to_string(count));
    };
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        const std::string object = "LineDef " + std::to_string(l);
        check(object, "start", ld.start, "Vertex", level.vertices.count, false);
        check(object, "end", ld.end, "Vertex", level.vertices.count, false);
        check(object, "first", ld.sideDef1, "SideDef", level.sideDefs.count, true);
        check(object, "second", ld.sideDef2, "SideDef", level.sideDefs.count, true);
    }
    for (int s = 0; s < level.sideDefs.count; ++s)
        check("SideDef " + std::to_string(s), "its", level.sideDefs[s].sector, "Sector", level.sectors.count,
              true);
    return faults;
}

::testing::AssertionResult ReferencesSound() { return Verdict(MissingObjects()); }

}  // namespace testkit
