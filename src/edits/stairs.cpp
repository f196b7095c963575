#include "edits/stairs.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "edits/builders.h"
#include "edits/edit_support.h"
#include "edits/level_geometry.h"
#include "edits/objects.h"
#include "edits/sector_walk.h"
#include "edits/vertex_edits.h"
#include "level/history.h"
#include "level/level.h"

namespace edits {
namespace {

constexpr double kShortestStep = 5.0;
constexpr int kLandingHeadroom = 64;

// The stairs in the making.
struct Stairs {
    StairPlan plan;
    int height = 0;
    bool reversed = false;
    int bottomRiser = -1;
    std::vector<int> pieces1, pieces2;   // in step order, bottom first
    SelectionList made;
};

int Trunc(double v) { return static_cast<int>(v); }

// Decides the layout and which LineDef is L1 (a is the list's head).
void OrientStairs(const LevelState& level, StairPlan& st, int a, int b) {
    int d0 = Trunc(Distance(Midpoint(level, a), Midpoint(level, b)));
    int dA = Trunc(Distance(SidePoint(level, a), Midpoint(level, b)));
    int dB = Trunc(Distance(SidePoint(level, b), Midpoint(level, a)));
    if (dA < d0 && dB < d0) {
        st.layout = StairLayout::Facing;
    } else {
        st.layout = StairLayout::Same;
        if (dB < dA)
            std::swap(a, b);
    }
    st.l1 = a;
    st.l2 = b;
}

// The SideDef of L2 (or a piece of it) on the stairs' side (a field of a
// level or of a read-only one).
template <typename Level>
auto& InnerSide2(Level& level, StairLayout layout, int l) {
    auto& ld = level.lineDefs[l];
    return layout == StairLayout::Facing ? ld.sideDef1 : ld.sideDef2;
}

// Where the segment from s to e is cut into n equal pieces: the kth cut
// from s (the 0th s, the nth e).
MapXY CutAlong(MapXY s, MapXY e, int k, int n) {
    return {Trunc(s.x + (e.x - s.x) * static_cast<double>(k) / n), Trunc(s.y + (e.y - s.y) * static_cast<double>(k) / n)};
}

// Splits LineDef l into n equal pieces; returns them from its start on.
std::vector<int> SplitIntoPieces(LevelState& level, int l, int n) {
    const MapXY s = StartOf(level, l), e = EndOf(level, l);
    std::vector<int> pieces = {l};
    for (int k = 1; k < n; ++k) {
        MapXY cut = CutAlong(s, e, k, n);
        int v = AddObject(level, kObjVertex, -1, cut.x, cut.y);
        pieces.push_back(SplitLineDefAtVertex(level, pieces.back(), v));
    }
    return pieces;
}

// The corners of the area between the two LineDefs, in order round it.
std::vector<MapXY> StairArea(const LevelState& level, const StairPlan& st) {
    if (st.layout == StairLayout::Facing)
        return {StartOf(level, st.l1), EndOf(level, st.l1), StartOf(level, st.l2), EndOf(level, st.l2)};
    return {StartOf(level, st.l1), EndOf(level, st.l1), EndOf(level, st.l2), StartOf(level, st.l2)};
}

// The steps take the whole area between the two LineDefs: a LineDef in it
// (a line across the room, a pillar) would cut through them.
Refusal NothingBetween(const LevelState& level, const StairPlan& st) {
    std::vector<MapXY> area = StairArea(level, st);
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (l != st.l1 && l != st.l2 && HasBothEnds(level, l) && ReachesInto(area, StartOf(level, l), EndOf(level, l)))
            return Refusal(Refusal::Kind::Said, Format("LineDef %d lies between the 2 LineDefs:", l),
                           "the steps would cut through it");
    return Refusal();
}

// Whether every riser, from a cut of L1 to the matching cut of L2, keeps
// clear of the other cuts: one passing within "Overlap Tolerance" of a
// corner of another step (steps too narrow where the stairs fan out) would
// be joined to it by the vertex check.
bool RisersClear(const LevelState& level, const StairPlan& st, int n) {
    std::vector<MapXY> one, two;
    for (int k = 0; k <= n; ++k) {
        one.push_back(CutAlong(StartOf(level, st.l1), EndOf(level, st.l1), k, n));
        int cut = st.layout == StairLayout::Facing ? n - k : k;
        two.push_back(CutAlong(StartOf(level, st.l2), EndOf(level, st.l2), cut, n));
    }
    for (int k = 0; k <= n; ++k)
        for (int j = 0; j <= n; ++j)
            if (j != k && (PassesNear(one[k], two[k], one[j], OverlapTolerance()) ||
                           PassesNear(one[k], two[k], two[j], OverlapTolerance())))
                return false;
    return true;
}

int NewSide(LevelState& level, int sector) {
    int sd = AddObject(level, kObjSideDef, -1, 0, 0);
    level.sideDefs[sd].sector = static_cast<uint16_t>(sector);
    return sd;
}

// A SideDef of a piece that faced the stairs' Sector now faces step n.
void MoveSide(LevelState& level, uint16_t& side, int n) {
    if (!level.sideDefs.valid(side))
        side = static_cast<uint16_t>(NewSide(level, n));
    level.sideDefs[side].sector = static_cast<uint16_t>(n);
}

// The Sector on a LineDef's side that is not the stairs' Sector, or -1.
int OtherThan(const LevelState& level, int l, int sector) {
    int front = SectorOfSide(level, level.lineDefs[l].sideDef1);
    int back = SectorOfSide(level, level.lineDefs[l].sideDef2);
    if (front >= 0 && front != sector)
        return front;
    return back >= 0 && back != sector ? back : -1;
}

// A riser from Vertex a to b between the lower Sector and the upper one.
int MakeRiser(LevelState& level, Stairs& st, int a, int b, int lower, int upper) {
    int l = LineDefJoining(level, a, b);
    if (l < 0)
        l = AddObject(level, kObjLineDef, -1, 0, 0);
    int front = NewSide(level, st.reversed ? upper : lower);
    int back = NewSide(level, st.reversed ? lower : upper);
    LineDef& ld = level.lineDefs[l];
    ld.start = static_cast<uint16_t>(st.reversed ? b : a);
    ld.end = static_cast<uint16_t>(st.reversed ? a : b);
    ld.sideDef1 = static_cast<uint16_t>(front);
    ld.sideDef2 = static_cast<uint16_t>(back);
    MakeStepEdge(level, l);
    SelectObject(st.made, l);
    return l;
}

// A LineDef of the Sector already where a riser goes, beside the step whose
// pieces are p1 and p2: its side towards them, when it faced the stairs'
// Sector, now faces `step`; with a Sector behind it, it becomes the riser
// between the two, else it stays a wall of the step. Returns l.
int ReuseAsRiser(LevelState& level, Stairs& st, int l, int step, int p1, int p2) {
    LineDef& ld = level.lineDefs[l];
    MapXY a = StartOf(level, l), b = EndOf(level, l), m1 = Midpoint(level, p1), m2 = Midpoint(level, p2);
    double towards = double(b.x - a.x) * ((m1.y + m2.y) / 2.0 - a.y) - double(b.y - a.y) * ((m1.x + m2.x) / 2.0 - a.x);
    uint16_t side = towards < 0 ? ld.sideDef1 : ld.sideDef2;
    if (SectorOfSide(level, side) == st.plan.sector)
        level.sideDefs[side].sector = static_cast<uint16_t>(step);
    if (level.sideDefs.valid(ld.sideDef1) && level.sideDefs.valid(ld.sideDef2)) {
        ld.flags = kLineTwoSided;
        ShowStepTextures(level, l);
    }
    SelectObject(st.made, l);
    return l;
}

// Every LineDef between Sector s and another, after s's heights changed.
void ShowStepTexturesAround(LevelState& level, int s) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (SectorOfSide(level, level.lineDefs[l].sideDef1) == s ||
            SectorOfSide(level, level.lineDefs[l].sideDef2) == s)
            ShowStepTextures(level, l);
}

// The ends of a riser: at the bottom of a pair of pieces, or at its top.
void RiserEnds(const LevelState& level, const Stairs& st, int p1, int p2, bool top, int& a, int& b) {
    const LineDef& one = level.lineDefs[p1];
    const LineDef& two = level.lineDefs[p2];
    if (st.plan.layout == StairLayout::Facing) {
        a = top ? one.end : one.start;
        b = top ? two.start : two.end;
    } else {
        a = top ? two.start : two.end;
        b = top ? one.start : one.end;
    }
}

// The sides of the stairs' Sector s round the landing, the area beyond the
// top riser from a to b, now face t. False when the landing is no area of
// its own: the walk round it comes to the bottom riser (the stairs stand in
// the Sector without cutting it in two), or finds no way round.
bool MoveLandingSides(LevelState& level, int a, int b, int bottomRiser, int s, int t) {
    Walk walk = WalkRound(level, s, a, b);
    if (walk.end != WalkEnd::Reached)
        return false;
    for (const WalkedSide& walked : walk.sides)
        if (walked.lineDef == bottomRiser)
            return false;
    for (const WalkedSide& walked : walk.sides)
        level.sideDefs[SideDefOn(level.lineDefs[walked.lineDef], walked.side)].sector = static_cast<uint16_t>(t);
    return true;
}

// The shapes standing in the landing that no LineDef joins to its walls
// (pillars, rooms inside it): their sides facing the stairs' Sector s that
// lie inside the landing's boundary now face the landing t.
void MoveIslands(LevelState& level, int s, int t) {
    std::vector<int> boundary;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        int front = SectorOfSide(level, level.lineDefs[l].sideDef1);
        int back = SectorOfSide(level, level.lineDefs[l].sideDef2);
        if ((front == t) != (back == t))
            boundary.push_back(l);
    }
    for (int l = 0; l < level.lineDefs.count; ++l) {
        if (!HasBothEnds(level, l))
            continue;
        const std::pair<uint16_t, LineSide> sides[] = {{level.lineDefs[l].sideDef1, LineSide::Right},
                                                        {level.lineDefs[l].sideDef2, LineSide::Left}};
        for (const auto& [side, which] : sides) {
            double x = 0, y = 0;
            if (SectorOfSide(level, side) != s)
                continue;
            PointBeside(level, l, which, x, y);
            if (InsideLoop(level, x, y, boundary))
                level.sideDefs[side].sector = static_cast<uint16_t>(t);
        }
    }
}

void BuildSteps(LevelState& level, Stairs& st) {
    int s = st.plan.sector;
    int floor = level.sectors[s].floorHeight, ceiling = level.sectors[s].ceilingHeight;
    int h = st.height;
    int previous = s;
    for (size_t i = 0; i < st.pieces1.size(); ++i) {
        int p1 = st.pieces1[i], p2 = st.pieces2[i];
        int n = AddObject(level, kObjSector, s, 0, 0);
        floor += h;
        if (ceiling - h <= floor)
            ceiling = floor + h;
        level.sectors[n].floorHeight = static_cast<int16_t>(floor);
        level.sectors[n].ceilingHeight = static_cast<int16_t>(ceiling);
        int a = 0, b = 0;
        RiserEnds(level, st, p1, p2, false, a, b);
        int existing = LineDefJoining(level, a, b);
        int riser = i == 0 && existing >= 0 ? ReuseAsRiser(level, st, existing, n, p1, p2)
                                             : MakeRiser(level, st, a, b, previous, n);
        if (i == 0)
            st.bottomRiser = riser;
        MoveSide(level, level.lineDefs[p1].sideDef1, n);
        MoveSide(level, InnerSide2(level, st.plan.layout, p2), n);
        ShowStepTextures(level, p1);   // a piece between a step and a room beside it
        ShowStepTextures(level, p2);
        SelectObject(st.made, p1);
        SelectObject(st.made, p2);
        previous = n;
    }
    int a = 0, b = 0;
    RiserEnds(level, st, st.pieces1.back(), st.pieces2.back(), true, a, b);
    // A wall already at the top closes the last step; a LineDef to a Sector
    // beyond makes that Sector the landing.
    int existing = LineDefJoining(level, a, b);
    int beyond = existing >= 0 ? OtherThan(level, existing, s) : -1;
    int last1 = st.pieces1.back(), last2 = st.pieces2.back();
    if (existing >= 0 && beyond < 0) {
        ReuseAsRiser(level, st, existing, previous, last1, last2);
        return;
    }
    // Else a new landing takes over the rest of the stairs' Sector.
    int t = beyond >= 0 ? beyond : AddObject(level, kObjSector, s, 0, 0);
    floor += h;
    if (ceiling - kLandingHeadroom <= floor)
        ceiling += h + kLandingHeadroom;
    level.sectors[t].floorHeight = static_cast<int16_t>(floor);
    level.sectors[t].ceilingHeight = static_cast<int16_t>(ceiling);
    if (beyond >= 0) {
        ReuseAsRiser(level, st, existing, previous, last1, last2);
        ShowStepTexturesAround(level, t);
        return;
    }
    int riser = MakeRiser(level, st, a, b, previous, t);
    // Stairs that do not cut the Sector in two (it runs on round a pillar
    // beside them) have no landing of their own: the rest stays one Sector.
    if (!MoveLandingSides(level, a, b, st.bottomRiser, s, t)) {
        for (SideDef& sd : level.sideDefs)
            if (sd.sector == t)
                sd.sector = static_cast<uint16_t>(s);
        DeleteObject(level, kObjSector, t);
        ShowStepTextures(level, riser);
        return;
    }
    MoveIslands(level, s, t);
    ShowStepTexturesAround(level, t);
}

// The stairs' Sector is gone when the steps and the landing took all of it.
void DropWhenUnused(LevelState& level, int s) {
    for (const SideDef& sd : level.sideDefs)
        if (sd.sector == s)
            return;
    DeleteObject(level, kObjSector, s);
}

Refusal SameSectorInside(const LevelState& level, StairPlan& st) {
    int one = SectorOfSide(level, level.lineDefs[st.l1].sideDef1);
    int two = SectorOfSide(level, InnerSide2(level, st.layout, st.l2));
    if (one < 0 || one != two)
        return Refusal(Refusal::Kind::Said, "The 2 LineDefs do not share", Format("the same sector %d,%d?", one, two));
    // The steps take the Sector between its walls; a LineDef inside it
    // (the Sector on both sides) bounds no part of it.
    for (int l : {st.l1, st.l2})
        if (SectorOfSide(level, level.lineDefs[l].sideDef1) == one &&
            SectorOfSide(level, level.lineDefs[l].sideDef2) == one)
            return Refusal(Refusal::Kind::Said, Format("LineDef %d has Sector %d on both sides:", l, one),
                           "stairs go between the walls of a Sector");
    st.sector = one;
    return Refusal();
}

Refusal StepsLongEnough(const LevelState& level, const StairPlan& st, int n) {
    double shortest = std::min(LineDefLength(level, st.l1), LineDefLength(level, st.l2)) / n;
    if (shortest <= kShortestStep)
        return Refusal(Refusal::Kind::Said, Format("Steps are too small %d", Trunc(shortest)));
    if (!RisersClear(level, st, n))
        return Refusal(Refusal::Kind::Said, Format("Steps are too small %d", Trunc(shortest)),
                       "a riser would pass the corner of another step");
    return Refusal();
}

}  // namespace

StairPlan PlanStairs(const LevelState& level, const SelectionList& lineDefs) {
    StairPlan plan;
    if (lineDefs.size() != 2) {
        plan.refusal = Refusal(Refusal::Kind::Said, Format("You have %d LineDefs selected", lineDefs.size()),
                               "Select 2 LineDefs Opposite one another");
        return plan;
    }
    int a = lineDefs.head(), b = lineDefs.last();
    if (!HasBothEnds(level, a) || !HasBothEnds(level, b)) {
        plan.refusal = Refusal(Refusal::Kind::Said, "The 2 LineDefs do not share", "the same sector -1,-1?");
        return plan;
    }
    OrientStairs(level, plan, a, b);
    plan.refusal = SameSectorInside(level, plan);
    if (!plan.refusal.refused())
        plan.refusal = NothingBetween(level, plan);
    return plan;
}

MapXY StairBottom(const LevelState& level, const StairPlan& plan) {
    MapXY p = plan.layout == StairLayout::Facing ? StartOf(level, plan.l1) : EndOf(level, plan.l1);
    MapXY q = EndOf(level, plan.l2);
    return {(p.x + q.x) / 2, (p.y + q.y) / 2};
}

Refusal MakeStairs(LevelState& level, SelectionList& lineDefs, const StairPlan& plan, StairChoice choice) {
    if (plan.refusal.refused())
        return plan.refusal;
    int n = choice.steps;
    if (n < 1)
        return Refusal(Refusal::Kind::Said, "Steps are too small 0");
    Refusal tooSmall = StepsLongEnough(level, plan, n);
    if (tooSmall.refused())
        return tooSmall;
    if (!RoomFor(level, 3 * n + 1, 8 * n + 4, 2 * n, n + 1))
        return Refusal(Refusal::Kind::Said, "The level is full");
    EditScope edit("make stairs");
    Stairs st;
    st.plan = plan;
    st.height = choice.height;
    st.reversed = choice.reversed != (choice.height < 0);
    st.pieces1 = SplitIntoPieces(level, plan.l1, n);
    st.pieces2 = SplitIntoPieces(level, plan.l2, n);
    // Bottom first: L2 from its far end, and L1 the same way unless the two
    // run against each other.
    std::reverse(st.pieces2.begin(), st.pieces2.end());
    if (plan.layout == StairLayout::Same)
        std::reverse(st.pieces1.begin(), st.pieces1.end());
    BuildSteps(level, st);
    DropWhenUnused(level, plan.sector);
    ForgetSelection(lineDefs);
    for (int l : st.made)
        SelectObject(lineDefs, l);
    level.levelChanged = level.mapChanged = true;
    edit.Commit(Format("make %d stairs", n));
    return Refusal();
}

void MakeStepEdge(LevelState& level, int l) {
    LineDef& ld = level.lineDefs[l];
    ld.flags = kLineTwoSided;
    SideDef& front = level.sideDefs[ld.sideDef1];
    SetTextureName(front.upper, config.textureUpper);
    SetTextureName(front.lower, config.textureLower);
    SetTextureName(front.middle, "-");
    SetTextureName(level.sideDefs[ld.sideDef2].middle, "-");
    ShowStepTextures(level, l);
}

}  // namespace edits
