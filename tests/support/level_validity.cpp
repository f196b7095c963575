#include "support/level_validity.h"
#include "support/reference_check.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "level/level.h"

namespace testkit {

namespace {

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

bool EndsOf(const LineDef& ld, Point& a, Point& b) {
    const Vertex* s = VertexAt(ld.start);
    const Vertex* e = VertexAt(ld.end);
    if (!s || !e)
        return false;
    a = {double(s->x), double(s->y)};
    b = {double(e->x), double(e->y)};
    return true;
}

double Cross(Point u, Point v) { return u.x * v.y - u.y * v.x; }

std::string Where(int l) {
    const LineDef& ld = level.lineDefs[l];
    std::string text = "LineDef " + std::to_string(l);
    const Vertex* s = VertexAt(ld.start);
    const Vertex* e = VertexAt(ld.end);
    if (s && e)
        text += " (" + std::to_string(s->x) + "," + std::to_string(s->y) + ")-(" + std::to_string(e->x) + "," +
                std::to_string(e->y) + ")";
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
    if (!EndsOf(level.lineDefs[l], a, b))
        return -1;
    double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
    if (length == 0)
        return -1;
    Point n = {dy / length, -dx / length};
    if (!right)
        n = {-n.x, -n.y};
    Point p = {(a.x + b.x) / 2 + kBeside * n.x, (a.y + b.y) / 2 + kBeside * n.y};
    Point d = {n.x * std::cos(kTurn) - n.y * std::sin(kTurn), n.x * std::sin(kTurn) + n.y * std::cos(kTurn)};
    double nearest = HUGE_VAL;
    int met = -1;
    bool metRight = false;
    for (int c = 0; c < level.lineDefs.count; ++c) {
        Point s, e;
        if (c == l || !EndsOf(level.lineDefs[c], s, e))
            continue;
        Point along = {e.x - s.x, e.y - s.y}, toStart = {s.x - p.x, s.y - p.y};
        double denominator = Cross(d, along);
        if (denominator == 0)
            continue;
        double t = Cross(toStart, along) / denominator, u = Cross(toStart, d) / denominator;
        if (t <= 0 || u < 0 || u > 1 || t >= nearest)
            continue;
        nearest = t;
        met = c;
        metRight = Cross(along, {p.x - s.x, p.y - s.y}) < 0;
    }
    if (met < 0)
        return -1;
    const LineDef& ld = level.lineDefs[met];
    return SectorOf(metRight ? ld.sideDef1 : ld.sideDef2);
}

class Faults {
public:
    void Add(const char* kind, const std::string& text) { list_.push_back({kind, text}); }
    bool empty() const { return list_.empty(); }
    std::vector<LevelFault> Take() { return std::move(list_); }

private:
    std::vector<LevelFault> list_;
};

void Dangling(std::vector<std::string>& faults, const char* kind, int n, const char* field, uint16_t ref,
              const char* target, int32_t count, bool noneAllowed) {
    if (ref >= count && !(noneAllowed && ref == kNoReference))
        faults.push_back(std::string(kind) + " " + std::to_string(n) + ": " + field + " " + target + " " +
                         std::to_string(ref) + " of " + std::to_string(count));
}

::testing::AssertionResult Verdict(const std::vector<LevelFault>& faults) {
    if (faults.empty())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << FaultLines(faults);
}

void LineDefShapes(Faults& faults) {
    constexpr int16_t kTwoSided = 4;
    std::set<std::tuple<int, int, int, int>> placed;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (ld.sideDef1 == kNoReference)
            faults.Add("no first side", Where(l) + ": no first SideDef");
        if ((ld.flags & kTwoSided) && ld.sideDef2 == kNoReference)
            faults.Add("two-sided flag", Where(l) + ": two-sided flag without a second SideDef");
        const Vertex& s = level.vertices[ld.start];
        const Vertex& e = level.vertices[ld.end];
        if (s.x == e.x && s.y == e.y) {
            faults.Add("length 0", Where(l) + ": length 0");
            continue;
        }
        auto key = std::min(std::make_tuple(s.x, s.y, e.x, e.y), std::make_tuple(e.x, e.y, s.x, s.y));
        if (!placed.insert({std::get<0>(key), std::get<1>(key), std::get<2>(key), std::get<3>(key)}).second)
            faults.Add("same points", Where(l) + ": on the same two points as another LineDef");
    }
}

// The turn from o to p to q: positive anticlockwise, 0 in line.
int64_t Turn(const Vertex& o, const Vertex& p, const Vertex& q) {
    return (int64_t(p.x) - o.x) * (int64_t(q.y) - o.y) - (int64_t(p.y) - o.y) * (int64_t(q.x) - o.x);
}

// Two LineDefs that cross at a point inside both: the ends of each lie
// strictly on either side of the other. The sides of a crossed Sector face
// where its LineDefs do not show (a check beside each LineDef's middle
// alone can miss it). Ordered by their left ends, so that only LineDefs
// whose x ranges meet are compared.
void CrossingLineDefs(Faults& faults) {
    std::vector<int> order;
    for (int l = 0; l < level.lineDefs.count; ++l)
        order.push_back(l);
    auto ends = [](int l) { return std::minmax(level.vertices[level.lineDefs[l].start].x,
                                               level.vertices[level.lineDefs[l].end].x); };
    std::sort(order.begin(), order.end(), [&](int a, int b) { return ends(a).first < ends(b).first; });
    for (size_t i = 0; i < order.size(); ++i) {
        const LineDef& a = level.lineDefs[order[i]];
        const Vertex &a1 = level.vertices[a.start], &a2 = level.vertices[a.end];
        for (size_t j = i + 1; j < order.size() && ends(order[j]).first <= ends(order[i]).second; ++j) {
            const LineDef& b = level.lineDefs[order[j]];
            const Vertex &b1 = level.vertices[b.start], &b2 = level.vertices[b.end];
            bool apart = (Turn(a1, a2, b1) > 0) != (Turn(a1, a2, b2) > 0) && Turn(a1, a2, b1) != 0 &&
                         Turn(a1, a2, b2) != 0;
            bool across = (Turn(b1, b2, a1) > 0) != (Turn(b1, b2, a2) > 0) && Turn(b1, b2, a1) != 0 &&
                          Turn(b1, b2, a2) != 0;
            if (apart && across)
                faults.Add("crossing", Where(order[i]) + ": crosses " + Where(order[j]));
        }
    }
}

void FacingSectors(Faults& faults) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        for (bool right : {true, false}) {
            uint16_t side = right ? ld.sideDef1 : ld.sideDef2;
            if (side == kNoReference)
                continue;
            int faced = SectorOf(side), lying = SectorLyingBeside(l, right);
            if (faced == lying)
                continue;
            std::string which = right ? ": first side" : ": second side";
            if (lying < 0)
                faults.Add("void side", Where(l) + which + " faces Sector " + std::to_string(faced) + ", the void lies there");
            else
                faults.Add("wrong Sector", Where(l) + which + " faces Sector " + std::to_string(faced) + ", lies in " +
                                               std::to_string(lying));
        }
    }
}

// At every point, as many sides of a Sector start as end.
void ClosedSectors(Faults& faults) {
    std::map<std::tuple<int, int, int>, int> balance;
    for (const LineDef& ld : level.lineDefs) {
        const Vertex& s = level.vertices[ld.start];
        const Vertex& e = level.vertices[ld.end];
        for (bool right : {true, false}) {
            int sector = SectorOf(right ? ld.sideDef1 : ld.sideDef2);
            if (sector < 0)
                continue;
            const Vertex& from = right ? s : e;
            const Vertex& to = right ? e : s;
            ++balance[{sector, from.x, from.y}];
            --balance[{sector, to.x, to.y}];
        }
    }
    for (const auto& [key, count] : balance)
        if (count != 0)
            faults.Add("open Sector", "Sector " + std::to_string(std::get<0>(key)) + " open at (" +
                                          std::to_string(std::get<1>(key)) + "," + std::to_string(std::get<2>(key)) +
                                          ")");
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
            faults.Add("unused SideDef", "SideDef " + std::to_string(s) + " unused");
        else if (ValidSector(level.sideDefs[s].sector))
            sectorUsed[level.sideDefs[s].sector] = true;
    }
    for (int s = 0; s < level.sectors.count; ++s)
        if (!sectorUsed[static_cast<size_t>(s)])
            faults.Add("unused Sector", "Sector " + std::to_string(s) + " unused");
}

bool NoTexture(const char (&name)[8]) { return name[0] == '\0' || (name[0] == '-' && name[1] == '\0'); }

bool Sky(const Sector& s) { return std::strncmp(s.ceilingTexture, "F_SKY1", 6) == 0; }

// What one side of a two-sided LineDef shows of the step to the Sector
// behind it.
void StepTextures(Faults& faults, int l, const char* which, const SideDef& side, const Sector& front,
                  const Sector& back) {
    if (back.floorHeight > front.floorHeight && NoTexture(side.lower))
        faults.Add("missing texture", Where(l) + which + " shows a step up without a lower texture");
    if (back.ceilingHeight < front.ceilingHeight && !(Sky(front) && Sky(back)) && NoTexture(side.upper))
        faults.Add("missing texture", Where(l) + which + " shows a step down without an upper texture");
}

}  // namespace

std::vector<LevelFault> LevelFaults(Validity validity) {
    Faults faults;
    for (const std::string& dangling : DanglingReferences())
        faults.Add("missing object", dangling);
    if (!faults.empty())
        return faults.Take();
    LineDefShapes(faults);
    CrossingLineDefs(faults);
    FacingSectors(faults);
    ClosedSectors(faults);
    if (validity == Validity::Editor)
        AddUnused(faults);
    return faults.Take();
}

std::vector<LevelFault> UnusedObjects() {
    Faults faults;
    AddUnused(faults);
    return faults.Take();
}

std::vector<LevelFault> MissingVisibleTextures() {
    Faults faults;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        int front = SectorOf(ld.sideDef1), back = SectorOf(ld.sideDef2);
        if (front < 0)
            continue;
        const SideDef& first = level.sideDefs[ld.sideDef1];
        if (back < 0) {
            if (NoTexture(first.middle))
                faults.Add("missing texture", Where(l) + ": a wall without a middle texture");
            continue;
        }
        const SideDef& second = level.sideDefs[ld.sideDef2];
        StepTextures(faults, l, ": first side", first, level.sectors[front], level.sectors[back]);
        StepTextures(faults, l, ": second side", second, level.sectors[back], level.sectors[front]);
    }
    return faults.Take();
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
    const int32_t vertexes = level.vertices.count, sides = level.sideDefs.count;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        Dangling(faults, "LineDef", l, "start", ld.start, "Vertex", vertexes, false);
        Dangling(faults, "LineDef", l, "end", ld.end, "Vertex", vertexes, false);
        Dangling(faults, "LineDef", l, "first", ld.sideDef1, "SideDef", sides, true);
        Dangling(faults, "LineDef", l, "second", ld.sideDef2, "SideDef", sides, true);
    }
    for (int s = 0; s < level.sideDefs.count; ++s)
        Dangling(faults, "SideDef", s, "its", level.sideDefs[s].sector, "Sector", level.sectors.count, true);
    return faults;
}

::testing::AssertionResult ReferencesSound() {
    std::vector<LevelFault> faults;
    for (const std::string& dangling : DanglingReferences())
        faults.push_back({"missing object", dangling});
    return Verdict(faults);
}

}  // namespace testkit
