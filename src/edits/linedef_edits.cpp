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


bool Faces(const LevelState& level, uint16_t side, int sector) {
    return SectorOfSide(level, side) == sector && sector >= 0;
}

// --- The path of a new LineDef -------------------------------------------------

MapXY At(const LevelState& level, int v) { return {level.vertices[v].x, level.vertices[v].y}; }

}  // namespace

std::string PathBlocked(const LevelState& level, int a, int b) {
    MapXY p = At(level, a), q = At(level, b);
    if (p.x == q.x && p.y == q.y)
        return "it would have no length.";
    std::vector<bool> used(static_cast<size_t>(level.vertices.count), false);
    for (const LineDef& ld : level.lineDefs)
        for (uint16_t v : {ld.start, ld.end})
            if (level.vertices.valid(v))
                used[v] = true;
    for (int v = 0; v < level.vertices.count; ++v)
        if (used[static_cast<size_t>(v)] && v != a && v != b && PassesNear(p, q, At(level, v), OverlapTolerance()))
            return Format("it would pass through Vertex %d.", v);
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (!level.vertices.valid(ld.start) || !level.vertices.valid(ld.end))
            continue;
        bool atA = ld.start == a || ld.end == a, atB = ld.start == b || ld.end == b;
        if (atA && atB)
            continue;
        MapXY s = At(level, ld.start), e = At(level, ld.end);
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

int NewSideFacing(LevelState& level, int sector) {
    int n = AddObject(level, kObjSideDef, -1, 0, 0);
    SideDef& sd = level.sideDefs[n];
    sd.sector = static_cast<uint16_t>(sector);
    SetTextureName(sd.middle, "-");
    return n;
}

void AddTwoSidedLineDef(LevelState& level, int a, int b, int right, int left) {
    int l = AddObject(level, kObjLineDef, -1, 0, 0);
    int side1 = NewSideFacing(level, right);
    int side2 = NewSideFacing(level, left);
    LineDef& ld = level.lineDefs[l];
    ld.start = static_cast<uint16_t>(a);
    ld.end = static_cast<uint16_t>(b);
    ld.flags = kLineTwoSided;
    ld.type = ld.tag = 0;
    ld.sideDef1 = static_cast<uint16_t>(side1);
    ld.sideDef2 = static_cast<uint16_t>(side2);
}

// Every side facing s that lies inside the new part, the loop of the walk
// and the new LineDef (the shapes inside it).
void MoveInnerSides(LevelState& level, int s, int n, const std::vector<int>& loop) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        const std::pair<uint16_t, LineSide> sides[] = {{ld.sideDef1, LineSide::Right}, {ld.sideDef2, LineSide::Left}};
        for (const auto& [side, which] : sides) {
            double x = 0, y = 0;
            if (!Faces(level, side, s) || !level.vertices.valid(ld.start) || !level.vertices.valid(ld.end))
                continue;
            PointBeside(level, l, which, x, y);
            if (InsideLoop(level, x, y, loop))
                level.sideDefs[side].sector = static_cast<uint16_t>(n);
        }
    }
}

// The Sectors on the two sides of a LineDef (-1 for none).
std::pair<int, int> SectorsBeside(const LevelState& level, int l) {
    const LineDef* ld = level.lineDefs.at(l);
    if (!ld)
        return {-1, -1};
    return {SectorOfSide(level, ld->sideDef1), SectorOfSide(level, ld->sideDef2)};
}

}  // namespace

bool ShareSector(const LevelState& level, int l1, int l2) {
    auto [a1, a2] = SectorsBeside(level, l1);
    auto [b1, b2] = SectorsBeside(level, l2);
    for (int s : {a1, a2})
        if (s >= 0 && (s == b1 || s == b2))
            return true;
    return false;
}

bool UsedByLineDef(const LevelState& level, int v) {
    for (const LineDef& ld : level.lineDefs)
        if (ld.start == v || ld.end == v)
            return true;
    return false;
}

Refusal AddLineDefSplitSector(LevelState& level, int a, int b, SplitChoice choice, int deleted) {
    if (!level.vertices.valid(a) || !level.vertices.valid(b) || a == b)
        return Refusal{Refusal::Kind::Missing};
    std::string blocked = PathBlocked(level, a, b);
    if (!blocked.empty())
        return Refusal{Refusal::Kind::Said, Format("Cannot add a LineDef from Vertex %d to %d:", a, b), blocked};
    bool split = choice == SplitChoice::SplitSector;
    if (!RoomFor(level, 1, 2, 0, split ? 1 : 0))
        return Refusal{Refusal::Kind::NoRoom};
    bool onLineDefs = UsedByLineDef(level, a) || UsedByLineDef(level, b);
    EditScope edit(split ? "split Sector" : "add a LineDef");
    if (deleted >= 0)
        DeleteObject(level, kObjLineDef, deleted);
    const Vertex& va = level.vertices[a];
    const Vertex& vb = level.vertices[b];
    int s = GetSectorAtPoint(level, (va.x + vb.x) / 2, (va.y + vb.y) / 2);
    if (s < 0)
        return Refusal{Refusal::Kind::Said, Format("No Sector between Vertex %d and %d", a, b)};
    // Free Vertexes lie on no boundary: a LineDef between two of them only
    // needs the Sector around it.
    Walk walk;
    if (onLineDefs)
        walk = WalkRound(level, s, a, b);
    // A walk round the outside of an island that the new LineDef joins to
    // itself (through a wall of it, or a LineDef inside the Sector) found
    // no area of its own: the area it cuts off lies on its other side.
    bool turned = split && walk.end == WalkEnd::Reached && !walk.sides.empty() && !WalkEncloses(level, walk, a);
    if (turned) {
        walk = WalkRound(level, s, b, a);
        if (walk.end == WalkEnd::Reached && !WalkEncloses(level, walk, b))
            walk.end = WalkEnd::CameRound;
    }
    if (walk.end != WalkEnd::Reached)
        return Refusal{Refusal::Kind::Said, Format("Sector %d, Vertex %d to %d", s, a, b), WalkFailure(walk)};
    int n = split ? AddObject(level, kObjSector, s, 0, 0) : s;
    if (turned)
        AddTwoSidedLineDef(level, b, a, s, n);
    else
        AddTwoSidedLineDef(level, a, b, s, n);
    if (split) {
        std::vector<int> loop;
        for (const WalkedSide& walked : walk.sides) {
            level.sideDefs[SideDefOn(level.lineDefs[walked.lineDef], walked.side)].sector = static_cast<uint16_t>(n);
            loop.push_back(walked.lineDef);
        }
        loop.push_back(level.lineDefs.count - 1);
        MoveInnerSides(level, s, n, loop);
    }
    edit.Commit();
    return {};
}

void JoinSectors(LevelState& level, SelectionList& sectors) {
    if (sectors.empty())
        return;
    int keep = sectors.head();
    std::vector<int> others = NumbersOf(sectors);
    others.erase(others.begin());
    ForgetSelection(sectors);
    std::vector<bool> joined(static_cast<size_t>(level.sectors.count), false);
    SelectionList doomed;
    for (int s : others)
        if (level.sectors.valid(s) && s != keep && !joined[static_cast<size_t>(s)]) {
            joined[static_cast<size_t>(s)] = true;
            SelectObject(doomed, s);
        }
    if (!level.sectors.valid(keep) || doomed.empty()) {
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

Refusal DeleteLineDefsJoinSectors(LevelState& level, SelectionList& lineDefs) {
    for (int l : lineDefs) {
        const LineDef* ld = level.lineDefs.at(l);
        if (!ld)
            continue;
        if (!level.sideDefs.valid(ld->sideDef1) || !level.sideDefs.valid(ld->sideDef2))
            return Refusal{Refusal::Kind::Said, Format("Error: LineDef %d has only one side", l)};
        if (SectorOfSide(level, ld->sideDef1) < 0 || SectorOfSide(level, ld->sideDef2) < 0)
            return Refusal{Refusal::Kind::Said, Format("Error: LineDef %d has two sides, but one", l),
                    "side is not bound to any Sector"};
    }
    EditScope edit("delete " + CountOf(lineDefs.size(), kObjLineDef) + " and join Sectors");
    for (int l : lineDefs) {
        const LineDef* ld = level.lineDefs.at(l);
        if (!ld)
            continue;
        int kept = SectorOfSide(level, ld->sideDef1), joined = SectorOfSide(level, ld->sideDef2);
        if (kept == joined)
            continue;
        SelectionList pair;
        SelectObject(pair, joined);
        SelectObject(pair, kept);
        JoinSectors(level, pair);
        ForgetSelection(pair);
    }
    DeleteObjects(level, kObjLineDef, lineDefs);
    edit.Commit();
    return {};
}

void FlipLineDefs(LevelState& level, const SelectionList& lineDefs, FlipPart part) {
    int flipped = 0;
    for (int l : lineDefs) {
        LineDef* ld = level.lineDefs.at(l);
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

int FirstFreeTag(const LevelState& level) {
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
