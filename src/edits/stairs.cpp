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

constexpr int16_t kTwoSided = 4;
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
void OrientStairs(StairPlan& st, int a, int b) {
    int d0 = Trunc(Distance(Midpoint(a), Midpoint(b)));
    int dA = Trunc(Distance(SidePoint(a), Midpoint(b)));
    int dB = Trunc(Distance(SidePoint(b), Midpoint(a)));
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

// The SideDef of L2 (or a piece of it) on the stairs' side.
uint16_t& InnerSide2(StairLayout layout, int l) {
    LineDef& ld = level.lineDefs[l];
    return layout == StairLayout::Facing ? ld.sideDef1 : ld.sideDef2;
}

// Where the segment from s to e is cut into n equal pieces: the kth cut
// from s (the 0th s, the nth e).
MapXY CutAlong(MapXY s, MapXY e, int k, int n) {
    return {Trunc(s.x + (e.x - s.x) * static_cast<double>(k) / n), Trunc(s.y + (e.y - s.y) * static_cast<double>(k) / n)};
}

// Splits LineDef l into n equal pieces; returns them from its start on.
std::vector<int> SplitIntoPieces(int l, int n) {
    const MapXY s = StartOf(l), e = EndOf(l);
    std::vector<int> pieces = {l};
    for (int k = 1; k < n; ++k) {
        MapXY cut = CutAlong(s, e, k, n);
        int v = AddObject(level, kObjVertex, -1, cut.x, cut.y);
        pieces.push_back(SplitLineDefAtVertex(pieces.back(), v));
    }
    return pieces;
}

// The corners of the area between the two LineDefs, in order round it.
std::vector<MapXY> StairArea(const StairPlan& st) {
    if (st.layout == StairLayout::Facing)
        return {StartOf(st.l1), EndOf(st.l1), StartOf(st.l2), EndOf(st.l2)};
    return {StartOf(st.l1), EndOf(st.l1), EndOf(st.l2), StartOf(st.l2)};
}

// The steps take the whole area between the two LineDefs: a LineDef in it
// (a line across the room, a pillar) would cut through them.
Refusal NothingBetween(const StairPlan& st) {
    std::vector<MapXY> area = StairArea(st);
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (l != st.l1 && l != st.l2 && HasBothEnds(l) && ReachesInto(area, StartOf(l), EndOf(l)))
            return Refusal(Refusal::Kind::Said, Format("LineDef %d lies between the 2 LineDefs:", l),
                           "the steps would cut through it");
    return Refusal();
}

// Whether every riser, from a cut of L1 to the matching cut of L2, keeps
// clear of the other cuts: one passing within "Overlap Tolerance" of a
// corner of another step (steps too narrow where the stairs fan out) would
// be joined to it by the vertex check.
bool RisersClear(const StairPlan& st, int n) {
    std::vector<MapXY> one, two;
    for (int k = 0; k <= n; ++k) {
        one.push_back(CutAlong(StartOf(st.l1), EndOf(st.l1), k, n));
        two.push_back(CutAlong(StartOf(st.l2), EndOf(st.l2), st.layout == StairLayout::Facing ? n - k : k, n));
    }
    for (int k = 0; k <= n; ++k)
        for (int j = 0; j <= n; ++j)
            if (j != k && (PassesNear(one[k], two[k], one[j], OverlapTolerance()) ||
                           PassesNear(one[k], two[k], two[j], OverlapTolerance())))
                return false;
    return true;
}

int NewSide(int sector) {
    int sd = AddObject(level, kObjSideDef, -1, 0, 0);
    level.sideDefs[sd].sector = static_cast<uint16_t>(sector);
    return sd;
}

// A SideDef of a piece that faced the stairs' Sector now faces step n.
void MoveSide(uint16_t& side, int n) {
    if (!ValidSideDef(side))
        side = static_cast<uint16_t>(NewSide(n));
    level.sideDefs[side].sector = static_cast<uint16_t>(n);
}

// The Sector on a LineDef's side that is not the stairs' Sector, or -1.
int OtherThan(int l, int sector) {
    int front = SectorOfSide(level, level.lineDefs[l].sideDef1);
    int back = SectorOfSide(level, level.lineDefs[l].sideDef2);
    if (front >= 0 && front != sector)
        return front;
    return back >= 0 && back != sector ? back : -1;
}

// A riser from Vertex a to b between the lower Sector and the upper one.
int MakeRiser(Stairs& st, int a, int b, int lower, int upper) {
    int l = LineDefJoining(a, b);
    if (l < 0)
        l = AddObject(level, kObjLineDef, -1, 0, 0);
    int front = NewSide(st.reversed ? upper : lower);
    int back = NewSide(st.reversed ? lower : upper);
    LineDef& ld = level.lineDefs[l];
    ld.start = static_cast<uint16_t>(st.reversed ? b : a);
    ld.end = static_cast<uint16_t>(st.reversed ? a : b);
    ld.sideDef1 = static_cast<uint16_t>(front);
    ld.sideDef2 = static_cast<uint16_t>(back);
    MakeStepEdge(l);
    SelectObject(st.made, l);
    return l;
}

// A LineDef of the Sector already where a riser goes, beside the step whose
// pieces are p1 and p2: its side towards them, when it faced the stairs'
// Sector, now faces `step`; with a Sector behind it, it becomes the riser
// between the two, else it stays a wall of the step. Returns l.
int ReuseAsRiser(Stairs& st, int l, int step, int p1, int p2) {
    LineDef& ld = level.lineDefs[l];
    MapXY a = StartOf(l), b = EndOf(l), m1 = Midpoint(p1), m2 = Midpoint(p2);
    double towards = double(b.x - a.x) * ((m1.y + m2.y) / 2.0 - a.y) - double(b.y - a.y) * ((m1.x + m2.x) / 2.0 - a.x);
    uint16_t side = towards < 0 ? ld.sideDef1 : ld.sideDef2;
    if (SectorOfSide(level, side) == st.plan.sector)
        level.sideDefs[side].sector = static_cast<uint16_t>(step);
    if (ValidSideDef(ld.sideDef1) && ValidSideDef(ld.sideDef2)) {
        ld.flags = kTwoSided;
        ShowStepTextures(l);
    }
    SelectObject(st.made, l);
    return l;
}

// Every LineDef between Sector s and another, after s's heights changed.
void ShowStepTexturesAround(int s) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (SectorOfSide(level, level.lineDefs[l].sideDef1) == s ||
            SectorOfSide(level, level.lineDefs[l].sideDef2) == s)
            ShowStepTextures(l);
}

// The ends of a riser: at the bottom of a pair of pieces, or at its top.
void RiserEnds(const Stairs& st, int p1, int p2, bool top, int& a, int& b) {
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
bool MoveLandingSides(int a, int b, int bottomRiser, int s, int t) {
    Walk walk = WalkRound(s, a, b);
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
void MoveIslands(int s, int t) {
    std::vector<int> boundary;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        int front = SectorOfSide(level, level.lineDefs[l].sideDef1);
        int back = SectorOfSide(level, level.lineDefs[l].sideDef2);
        if ((front == t) != (back == t))
            boundary.push_back(l);
    }
    for (int l = 0; l < level.lineDefs.count; ++l) {
        if (!HasBothEnds(l))
            continue;
        const std::pair<uint16_t, LineSide> sides[] = {{level.lineDefs[l].sideDef1, LineSide::Right},
                                                        {level.lineDefs[l].sideDef2, LineSide::Left}};
        for (const auto& [side, which] : sides) {
            double x = 0, y = 0;
            if (SectorOfSide(level, side) != s)
                continue;
            PointBeside(l, which, x, y);
            if (InsideLoop(x, y, boundary))
                level.sideDefs[side].sector = static_cast<uint16_t>(t);
        }
    }
}

void BuildSteps(Stairs& st) {
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
        RiserEnds(st, p1, p2, false, a, b);
        int existing = LineDefJoining(a, b);
        int riser = i == 0 && existing >= 0 ? ReuseAsRiser(st, existing, n, p1, p2) : MakeRiser(st, a, b, previous, n);
        if (i == 0)
            st.bottomRiser = riser;
        MoveSide(level.lineDefs[p1].sideDef1, n);
        MoveSide(InnerSide2(st.plan.layout, p2), n);
        ShowStepTextures(p1);   // a piece between a step and a room beside it
        ShowStepTextures(p2);
        SelectObject(st.made, p1);
        SelectObject(st.made, p2);
        previous = n;
    }
    int a = 0, b = 0;
    RiserEnds(st, st.pieces1.back(), st.pieces2.back(), true, a, b);
    // A wall already at the top closes the last step; a LineDef to a Sector
    // beyond makes that Sector the landing.
    int existing = LineDefJoining(a, b);
    int beyond = existing >= 0 ? OtherThan(existing, s) : -1;
    int last1 = st.pieces1.back(), last2 = st.pieces2.back();
    if (existing >= 0 && beyond < 0) {
        ReuseAsRiser(st, existing, previous, last1, last2);
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
        ReuseAsRiser(st, existing, previous, last1, last2);
        ShowStepTexturesAround(t);
        return;
    }
    int riser = MakeRiser(st, a, b, previous, t);
    // Stairs that do not cut the Sector in two (it runs on round a pillar
    // beside them) have no landing of their own: the rest stays one Sector.
    if (!MoveLandingSides(a, b, st.bottomRiser, s, t)) {
        for (SideDef& sd : level.sideDefs)
            if (sd.sector == t)
                sd.sector = static_cast<uint16_t>(s);
        DeleteObject(level, kObjSector, t);
        ShowStepTextures(riser);
        return;
    }
    MoveIslands(s, t);
    ShowStepTexturesAround(t);
}

// The stairs' Sector is gone when the steps and the landing took all of it.
void DropWhenUnused(int s) {
    for (const SideDef& sd : level.sideDefs)
        if (sd.sector == s)
            return;
    DeleteObject(level, kObjSector, s);
}

Refusal SameSectorInside(StairPlan& st) {
    int one = SectorOfSide(level, level.lineDefs[st.l1].sideDef1);
    int two = SectorOfSide(level, InnerSide2(st.layout, st.l2));
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

Refusal StepsLongEnough(const StairPlan& st, int n) {
    double shortest = std::min(LineDefLength(st.l1), LineDefLength(st.l2)) / n;
    if (shortest <= kShortestStep)
        return Refusal(Refusal::Kind::Said, Format("Steps are too small %d", Trunc(shortest)));
    if (!RisersClear(st, n))
        return Refusal(Refusal::Kind::Said, Format("Steps are too small %d", Trunc(shortest)),
                       "a riser would pass the corner of another step");
    return Refusal();
}

}  // namespace

StairPlan PlanStairs(const SelectionList& lineDefs) {
    StairPlan plan;
    if (lineDefs.size() != 2) {
        plan.refusal = Refusal(Refusal::Kind::Said, Format("You have %d LineDefs selected", lineDefs.size()),
                               "Select 2 LineDefs Opposite one another");
        return plan;
    }
    int a = lineDefs.head(), b = lineDefs.last();
    if (!HasBothEnds(a) || !HasBothEnds(b)) {
        plan.refusal = Refusal(Refusal::Kind::Said, "The 2 LineDefs do not share", "the same sector -1,-1?");
        return plan;
    }
    OrientStairs(plan, a, b);
    plan.refusal = SameSectorInside(plan);
    if (!plan.refusal.refused())
        plan.refusal = NothingBetween(plan);
    return plan;
}

MapXY StairBottom(const StairPlan& plan) {
    MapXY p = plan.layout == StairLayout::Facing ? StartOf(plan.l1) : EndOf(plan.l1);
    MapXY q = EndOf(plan.l2);
    return {(p.x + q.x) / 2, (p.y + q.y) / 2};
}

Refusal MakeStairs(SelectionList& lineDefs, const StairPlan& plan, StairChoice choice) {
    if (plan.refusal.refused())
        return plan.refusal;
    int n = choice.steps;
    if (n < 1)
        return Refusal(Refusal::Kind::Said, "Steps are too small 0");
    Refusal tooSmall = StepsLongEnough(plan, n);
    if (tooSmall.refused())
        return tooSmall;
    if (!RoomFor(3 * n + 1, 8 * n + 4, 2 * n, n + 1))
        return Refusal(Refusal::Kind::Said, "The level is full");
    EditScope edit("make stairs");
    Stairs st;
    st.plan = plan;
    st.height = choice.height;
    st.reversed = choice.reversed != (choice.height < 0);
    st.pieces1 = SplitIntoPieces(plan.l1, n);
    st.pieces2 = SplitIntoPieces(plan.l2, n);
    // Bottom first: L2 from its far end, and L1 the same way unless the two
    // run against each other.
    std::reverse(st.pieces2.begin(), st.pieces2.end());
    if (plan.layout == StairLayout::Same)
        std::reverse(st.pieces1.begin(), st.pieces1.end());
    BuildSteps(st);
    DropWhenUnused(plan.sector);
    ForgetSelection(lineDefs);
    for (int l : st.made)
        SelectObject(lineDefs, l);
    level.levelChanged = level.mapChanged = true;
    edit.Commit(Format("make %d stairs", n));
    return Refusal();
}

void MakeStepEdge(int l) {
    LineDef& ld = level.lineDefs[l];
    ld.flags = kTwoSided;
    SideDef& front = level.sideDefs[ld.sideDef1];
    SetTextureName(front.upper, config.textureUpper);
    SetTextureName(front.lower, config.textureLower);
    SetTextureName(front.middle, "-");
    SetTextureName(level.sideDefs[ld.sideDef2].middle, "-");
    ShowStepTextures(l);
}

}  // namespace edits
