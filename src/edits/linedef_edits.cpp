#include "edits/linedef_edits.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/format.h"
#include "edits/builder_geometry.h"
#include "edits/edit_support.h"
#include "edits/level_geometry.h"
#include "edits/objects.h"
#include "edits/sector_walk.h"
#include "level/history.h"
#include "level/level.h"

namespace edits {
namespace {

constexpr int16_t kTwoSided = 4;

bool Faces(uint16_t side, int sector) { return SectorOfSide(level, side) == sector && sector >= 0; }

// --- The path of a new LineDef -------------------------------------------------

MapXY At(int v) { return {level.vertices[v].x, level.vertices[v].y}; }

}  // namespace

std::string PathBlocked(int a, int b) {
    MapXY p = At(a), q = At(b);
    if (p.x == q.x && p.y == q.y)
        return "it would have no length.";
    std::vector<bool> used(static_cast<size_t>(level.vertices.count), false);
    for (const LineDef& ld : level.lineDefs)
        for (uint16_t v : {ld.start, ld.end})
            if (ValidVertex(v))
                used[v] = true;
    for (int v = 0; v < level.vertices.count; ++v)
        if (used[static_cast<size_t>(v)] && v != a && v != b && PassesNear(p, q, At(v), OverlapTolerance()))
            return Format("it would pass through Vertex %d.", v);
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (!ValidVertex(ld.start) || !ValidVertex(ld.end))
            continue;
        bool atA = ld.start == a || ld.end == a, atB = ld.start == b || ld.end == b;
        if (atA && atB)
            continue;
        MapXY s = At(ld.start), e = At(ld.end);
        if (atA || atB) {
            MapXY from = atA ? p : q, to = atA ? q : p, other = (ld.start == a || ld.start == b) ? e : s;
            int64_t along = int64_t{to.x - from.x} * (other.x - from.x) + int64_t{to.y - from.y} * (other.y - from.y);
            if (Cross(from, to, other) == 0 && along > 0)
                return Format("it would run along LineDef %d.", l);
        } else if (SegmentsMeet(p, q, s, e)) {
            return Format("it would cross LineDef %d.", l);
        }
    }
    return "";
}

namespace {

// The failure of a walk, in the words the split shows.
std::string WalkFailure(const Walk& walk) {
    switch (walk.end) {
    case WalkEnd::Reached: return "";
    case WalkEnd::NoStart: return Format("There is no SideDef starting from Vertex %d", walk.at);
    case WalkEnd::Stuck: return Format("Cannot go past Vertex %d)", walk.at);
    case WalkEnd::CameRound: break;
    }
    return "Vertexes are in a different Sectors";
}

int NewSideFacing(int sector) {
    int n = AddObject(level, kObjSideDef, -1, 0, 0);
    SideDef& sd = level.sideDefs[n];
    sd.sector = static_cast<uint16_t>(sector);
    SetTextureName(sd.middle, "-");
    return n;
}

void AddTwoSidedLineDef(int a, int b, int right, int left) {
    int l = AddObject(level, kObjLineDef, -1, 0, 0);
    int side1 = NewSideFacing(right);
    int side2 = NewSideFacing(left);
    LineDef& ld = level.lineDefs[l];
    ld.start = static_cast<uint16_t>(a);
    ld.end = static_cast<uint16_t>(b);
    ld.flags = kTwoSided;
    ld.type = ld.tag = 0;
    ld.sideDef1 = static_cast<uint16_t>(side1);
    ld.sideDef2 = static_cast<uint16_t>(side2);
}

// Every side facing s that lies inside the new part, the loop of the walk
// and the new LineDef (the shapes inside it).
void MoveInnerSides(int s, int n, const std::vector<int>& loop) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const std::pair<uint16_t, LineSide> sides[] = {{level.lineDefs[l].sideDef1, LineSide::Right},
                                                        {level.lineDefs[l].sideDef2, LineSide::Left}};
        for (const auto& [side, which] : sides) {
            double x = 0, y = 0;
            if (!Faces(side, s) || !ValidVertex(level.lineDefs[l].start) || !ValidVertex(level.lineDefs[l].end))
                continue;
            PointBeside(l, which, x, y);
            if (InsideLoop(x, y, loop))
                level.sideDefs[side].sector = static_cast<uint16_t>(n);
        }
    }
}

// The Sectors on the two sides of a LineDef (-1 for none).
std::pair<int, int> SectorsBeside(int l) {
    const LineDef* ld = LineDefAt(l);
    if (!ld)
        return {-1, -1};
    return {SectorOfSide(level, ld->sideDef1), SectorOfSide(level, ld->sideDef2)};
}

}  // namespace

bool ShareSector(int l1, int l2) {
    auto [a1, a2] = SectorsBeside(l1);
    auto [b1, b2] = SectorsBeside(l2);
    for (int s : {a1, a2})
        if (s >= 0 && (s == b1 || s == b2))
            return true;
    return false;
}

bool UsedByLineDef(int v) {
    for (const LineDef& ld : level.lineDefs)
        if (ld.start == v || ld.end == v)
            return true;
    return false;
}

Refusal AddLineDefSplitSector(int a, int b, SplitChoice choice, int deleted) {
    if (!ValidVertex(a) || !ValidVertex(b) || a == b)
        return Refusal{Refusal::Kind::Missing};
    std::string blocked = PathBlocked(a, b);
    if (!blocked.empty())
        return Refusal{Refusal::Kind::Said, Format("Cannot add a LineDef from Vertex %d to %d:", a, b), blocked};
    bool split = choice == SplitChoice::SplitSector;
    if (!RoomFor(1, 2, 0, split ? 1 : 0))
        return Refusal{Refusal::Kind::NoRoom};
    bool onLineDefs = UsedByLineDef(a) || UsedByLineDef(b);
    EditScope edit(split ? "split Sector" : "add a LineDef");
    if (deleted >= 0)
        DeleteObject(level, kObjLineDef, deleted);
    const Vertex& va = level.vertices[a];
    const Vertex& vb = level.vertices[b];
    int s = GetSectorAtPoint((va.x + vb.x) / 2, (va.y + vb.y) / 2);
    if (s < 0)
        return Refusal{Refusal::Kind::Said, Format("No Sector between Vertex %d and %d", a, b)};
    // Free Vertexes lie on no boundary: a LineDef between two of them only
    // needs the Sector around it.
    Walk walk;
    if (onLineDefs)
        walk = WalkRound(s, a, b);
    // A walk round the outside of an island that the new LineDef joins to
    // itself (through a wall of it, or a LineDef inside the Sector) found
    // no area of its own: the area it cuts off lies on its other side.
    bool turned = split && walk.end == WalkEnd::Reached && !walk.sides.empty() && !WalkEncloses(walk, a);
    if (turned) {
        walk = WalkRound(s, b, a);
        if (walk.end == WalkEnd::Reached && !WalkEncloses(walk, b))
            walk.end = WalkEnd::CameRound;
    }
    if (walk.end != WalkEnd::Reached)
        return Refusal{Refusal::Kind::Said, Format("Sector %d, Vertex %d to %d", s, a, b), WalkFailure(walk)};
    int n = split ? AddObject(level, kObjSector, s, 0, 0) : s;
    if (turned)
        AddTwoSidedLineDef(b, a, s, n);
    else
        AddTwoSidedLineDef(a, b, s, n);
    if (split) {
        std::vector<int> loop;
        for (const WalkedSide& walked : walk.sides) {
            level.sideDefs[SideDefOn(level.lineDefs[walked.lineDef], walked.side)].sector = static_cast<uint16_t>(n);
            loop.push_back(walked.lineDef);
        }
        loop.push_back(level.lineDefs.count - 1);
        MoveInnerSides(s, n, loop);
    }
    edit.Commit();
    return {};
}

void JoinSectors(SelectionList& sectors) {
    if (sectors.empty())
        return;
    int keep = sectors.head();
    std::vector<int> others = NumbersOf(sectors);
    others.erase(others.begin());
    ForgetSelection(sectors);
    std::vector<bool> joined(static_cast<size_t>(level.sectors.count), false);
    SelectionList doomed;
    for (int s : others)
        if (ValidSector(s) && s != keep && !joined[static_cast<size_t>(s)]) {
            joined[static_cast<size_t>(s)] = true;
            SelectObject(doomed, s);
        }
    if (!ValidSector(keep) || doomed.empty()) {
        SelectObject(sectors, keep);
        return;
    }
    for (SideDef& sd : level.sideDefs)
        if (sd.sector < joined.size() && joined[sd.sector])
            sd.sector = static_cast<uint16_t>(keep);
    int below = 0;
    for (int s : doomed)
        below += s < keep;
    DeleteObjects(level, kObjSector, doomed);
    SelectObject(sectors, keep - below);
}

Refusal DeleteLineDefsJoinSectors(SelectionList& lineDefs) {
    for (int l : lineDefs) {
        const LineDef* ld = LineDefAt(l);
        if (!ld)
            continue;
        if (!ValidSideDef(ld->sideDef1) || !ValidSideDef(ld->sideDef2))
            return Refusal{Refusal::Kind::Said, Format("Error: LineDef %d has only one side", l)};
        if (SectorOfSide(level, ld->sideDef1) < 0 || SectorOfSide(level, ld->sideDef2) < 0)
            return Refusal{Refusal::Kind::Said, Format("Error: LineDef %d has two sides, but one", l),
                    "side is not bound to any Sector"};
    }
    EditScope edit("delete " + CountOf(lineDefs.size(), kObjLineDef) + " and join Sectors");
    for (int l : lineDefs) {
        const LineDef* ld = LineDefAt(l);
        if (!ld)
            continue;
        int kept = SectorOfSide(level, ld->sideDef1), joined = SectorOfSide(level, ld->sideDef2);
        if (kept == joined)
            continue;
        SelectionList pair;
        SelectObject(pair, joined);
        SelectObject(pair, kept);
        JoinSectors(pair);
        ForgetSelection(pair);
    }
    DeleteObjects(level, kObjLineDef, lineDefs);
    edit.Commit();
    return {};
}

void FlipLineDefs(const SelectionList& lineDefs, FlipPart part) {
    int flipped = 0;
    for (int l : lineDefs) {
        LineDef* ld = LineDefAt(l);
        if (!ld)
            continue;
        if (part != FlipPart::SideDefs)
            std::swap(ld->start, ld->end);
        if (part != FlipPart::Vertexes)
            std::swap(ld->sideDef1, ld->sideDef2);
        ++flipped;
    }
    if (flipped == 0)
        return;
    level.levelChanged = level.mapChanged = true;
    std::string what = part == FlipPart::SideDefs   ? "swap SideDefs of "
                       : part == FlipPart::Vertexes ? "flip Vertexes of "
                                                    : "flip ";
    NameStep(what + CountOf(flipped, kObjLineDef));
}

int FirstFreeTag() {
    std::vector<bool> used(1u << 16, false);
    for (const LineDef& ld : level.lineDefs)
        used[static_cast<uint16_t>(ld.tag)] = true;
    for (const Sector& s : level.sectors)
        used[static_cast<uint16_t>(s.tag)] = true;
    int tag = 1;
    while (tag < 32768 && used[static_cast<size_t>(tag)])
        ++tag;
    return tag;
}

}  // namespace edits
