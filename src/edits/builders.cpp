#include "edits/builders.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "edits/builder_geometry.h"
#include "edits/edit_support.h"
#include "edits/linedef_edits.h"
#include "edits/objects.h"
#include "level/history.h"
#include "level/level.h"

namespace edits {
namespace {

constexpr int kDoorType = 1;              // DR open door, wait, close
constexpr int kLiftType = 62;             // SR lower lift
constexpr int kWalkLiftType = 88;         // WR lower lift
constexpr int16_t kDoorTrackFlags = 0x11;  // impassable, lower unpegged
constexpr int kLiftHeadroom = 56;

// --- Doors -----------------------------------------------------------------------

struct DoorPair {
    int face, edge;
};

bool SamePoint(MapXY a, MapXY b) { return a.x == b.x && a.y == b.y; }

// Four LineDefs in their order round the loop they close, each with whether
// it runs the loop's way; `loose` is the first that does not close one.
struct DoorLoop {
    std::vector<int> lineDefs;
    std::vector<bool> along;
    bool clockwise = false;
    int loose = -1;
};

DoorLoop LoopOf(const LevelState& level, const std::vector<int>& listed) {
    DoorLoop loop;
    std::vector<bool> taken(listed.size(), false);
    MapXY at = StartOf(level, listed[0]);
    for (size_t k = 0; k < listed.size(); ++k) {
        size_t next = listed.size();
        for (size_t i = 0; i < listed.size() && next == listed.size(); ++i)
            if (!taken[i] && (SamePoint(StartOf(level, listed[i]), at) || SamePoint(EndOf(level, listed[i]), at)))
                next = i;
        if (next == listed.size()) {
            loop.loose = loop.lineDefs.empty() ? listed[0] : loop.lineDefs.back();
            return loop;
        }
        taken[next] = true;
        bool along = SamePoint(StartOf(level, listed[next]), at);
        loop.lineDefs.push_back(listed[next]);
        loop.along.push_back(along);
        at = along ? EndOf(level, listed[next]) : StartOf(level, listed[next]);
    }
    if (!SamePoint(at, StartOf(level, listed[0]))) {
        loop.loose = listed[0];
        return loop;
    }
    long twiceArea = 0;
    for (size_t k = 0; k < 4; ++k) {
        MapXY a = loop.along[k] ? StartOf(level, loop.lineDefs[k]) : EndOf(level, loop.lineDefs[k]);
        MapXY b = loop.along[k] ? EndOf(level, loop.lineDefs[k]) : StartOf(level, loop.lineDefs[k]);
        twiceArea += long(a.x) * b.y - long(b.x) * a.y;
    }
    loop.clockwise = twiceArea < 0;
    return loop;
}

bool TwoSided(const LevelState& level, int l) { return level.sideDefs.valid(level.lineDefs[l].sideDef2); }

// The door takes all of the area its four LineDefs close: another LineDef
// in it (a room inside a room the four close) would be left facing a
// Sector that no longer surrounds it. The first such LineDef, or -1.
int LineDefInside(const LevelState& level, const DoorLoop& loop) {
    std::vector<MapXY> area;
    for (size_t k = 0; k < 4; ++k)
        area.push_back(loop.along[k] ? StartOf(level, loop.lineDefs[k]) : EndOf(level, loop.lineDefs[k]));
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (std::find(loop.lineDefs.begin(), loop.lineDefs.end(), l) == loop.lineDefs.end() && HasBothEnds(level, l) &&
            ReachesInto(area, StartOf(level, l), EndOf(level, l)))
            return l;
    return -1;
}

// The LineDefs that must turn round for the faces to be the loop's LineDefs
// first, first + 2: a face's first side looks out of the doorway
// (counter-clockwise round it), an edge's in (clockwise).
std::vector<int> DoorFlips(const DoorLoop& loop, int first) {
    std::vector<int> flips;
    for (int k = 0; k < 4; ++k) {
        bool face = k % 2 == first;
        bool wanted = face != loop.clockwise;   // runs the loop's way
        if (loop.along[static_cast<size_t>(k)] != wanted)
            flips.push_back(loop.lineDefs[static_cast<size_t>(k)]);
    }
    return flips;
}

bool SameEnd(const LevelState& level, int a, int b) { return SamePoint(EndOf(level, a), EndOf(level, b)); }

// The faces and edges of four LineDefs round a doorway, each face with the
// edge that ends where it ends: a face's first side looks out of the
// doorway, an edge's into it. Empty unless faces and edges alternate round
// it.
std::vector<DoorPair> DoorPairs(const LevelState& level, const DoorLoop& loop) {
    std::vector<DoorPair> pairs;
    for (size_t k = 0; k < 4; ++k) {
        bool outward = loop.along[k] != loop.clockwise;
        if (outward == (loop.along[(k + 1) % 4] != loop.clockwise))
            return {};
        if (!outward)
            continue;
        for (size_t j : {(k + 1) % 4, (k + 3) % 4})
            if (SameEnd(level, loop.lineDefs[k], loop.lineDefs[j]))
                pairs.push_back({loop.lineDefs[k], loop.lineDefs[j]});
    }
    if (pairs.size() != 2)
        return {};
    return pairs;
}

// Four LineDefs round a doorway that do not pair up because some run the
// wrong way round it. The faces are the pair with more two-sided LineDefs
// (then the one needing fewer flips). Names the first LineDef that runs
// wrong and asks to flip them; a wall that would have to become a face
// cannot (nothing lies beyond it), nor can LineDefs that need no flip.
void PlanFlips(const LevelState& level, const DoorLoop& loop, DoorPlan& plan) {
    auto twoSidedFaces = [&](int first) {
        return TwoSided(level, loop.lineDefs[first]) + TwoSided(level, loop.lineDefs[first + 2]);
    };
    int first = 0;
    if (twoSidedFaces(1) > twoSidedFaces(0) ||
        (twoSidedFaces(1) == twoSidedFaces(0) && DoorFlips(loop, 1).size() < DoorFlips(loop, 0).size()))
        first = 1;
    std::vector<int> flips = DoorFlips(loop, first);
    if (flips.empty()) {
        plan.loose = loop.lineDefs[0];
        return;
    }
    for (int l : flips)
        if (!TwoSided(level, l)) {
            plan.refusal = Refusal(Refusal::Kind::Said, Format("LineDef %d is a wall with nothing beyond it:", l),
                                   "a door's faces lead into the Sectors on either side");
            return;
        }
    int wrong = flips.front();
    bool face = wrong == loop.lineDefs[first] || wrong == loop.lineDefs[first + 2];
    std::string numbers = std::to_string(flips[0]);
    for (size_t i = 1; i < flips.size(); ++i)
        numbers += (i + 1 == flips.size() ? " and " : ", ") + std::to_string(flips[i]);
    plan.flips = flips;
    plan.question = face ? Format("LineDef %d runs clockwise round the door; a face runs counter-clockwise", wrong)
                         : Format("LineDef %d runs counter-clockwise round the door; an edge runs clockwise", wrong);
    plan.question2 = Format(flips.size() == 1 ? "Flip LineDef %s and make the door?"
                                              : "Flip LineDefs %s and make the door?",
                            numbers.c_str());
}

// The doorway's own Sector: the one the edges' first sides face, when no
// SideDef faces it but those and the faces' second sides. The door takes it
// over rather than leave it without sides; -1 when there is none such.
int DoorwaySector(const LevelState& level, const std::vector<DoorPair>& pairs) {
    int way = SectorOfSide(level, level.lineDefs[pairs[0].edge].sideDef1);
    if (way < 0 || way != SectorOfSide(level, level.lineDefs[pairs[1].edge].sideDef1))
        return -1;
    std::vector<int> doorSides;
    for (const DoorPair& p : pairs)
        doorSides.insert(doorSides.end(), {level.lineDefs[p.edge].sideDef1, level.lineDefs[p.face].sideDef2});
    for (int sd = 0; sd < level.sideDefs.count; ++sd)
        if (level.sideDefs[sd].sector == way && std::find(doorSides.begin(), doorSides.end(), sd) == doorSides.end())
            return -1;
    return way;
}

// A LineDef's first SideDef, inserted (and counted) when it has none.
SideDef& FirstSide(LevelState& level, int l, int& added) {
    if (!level.sideDefs.valid(level.lineDefs[l].sideDef1)) {
        level.lineDefs[l].sideDef1 = static_cast<uint16_t>(AddObject(level, kObjSideDef, -1, 0, 0));
        ++added;
    }
    return level.sideDefs[level.lineDefs[l].sideDef1];
}

void MakeDoorFace(LevelState& level, int l, int door, int& added) {
    FirstSide(level, l, added);
    if (!level.sideDefs.valid(level.lineDefs[l].sideDef2))
        level.lineDefs[l].sideDef2 = static_cast<uint16_t>(AddObject(level, kObjSideDef, -1, 0, 0));
    LineDef& ld = level.lineDefs[l];
    ld.type = kDoorType;
    ld.flags = kLineTwoSided;
    SideDef& outside = level.sideDefs[ld.sideDef1];
    SetTextureName(outside.upper, config.textureDoor);
    SetTextureName(outside.lower, "-");
    SetTextureName(outside.middle, "-");
    SideDef& inside = level.sideDefs[ld.sideDef2];
    inside.sector = static_cast<uint16_t>(door);
    SetTextureName(inside.upper, "-");
    SetTextureName(inside.middle, "-");
}

// Returns the floor of the Sector the edge's side faced.
int MakeDoorEdge(LevelState& level, int l, int door, int& added) {
    SideDef& side = FirstSide(level, l, added);
    const Sector* before = level.sectors.at(side.sector);
    int floor = before ? before->floorHeight : 0;
    side.sector = static_cast<uint16_t>(door);
    level.lineDefs[l].flags = kDoorTrackFlags;
    SetTextureName(side.middle, config.textureDoorTrack);
    SetTextureName(side.upper, "-");
    SetTextureName(side.lower, "-");
    return floor;
}

// --- Lifts -----------------------------------------------------------------------

struct LiftParts {
    std::vector<int> walls, borders, neighbours;
};

LiftParts LiftPartsOf(const LevelState& level, int s) {
    LiftParts parts;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        int front = SectorOfSide(level, ld.sideDef1);
        int back = SectorOfSide(level, ld.sideDef2);
        bool twoSided = level.sideDefs.valid(ld.sideDef2) && level.sideDefs.valid(ld.sideDef1);
        if (!twoSided) {
            if (front == s)
                parts.walls.push_back(l);
            continue;
        }
        if (front != s && back != s)
            continue;
        parts.borders.push_back(l);
        int other = front == s ? back : front;
        if (other >= 0 && other != s &&
            std::find(parts.neighbours.begin(), parts.neighbours.end(), other) == parts.neighbours.end())
            parts.neighbours.push_back(other);
    }
    return parts;
}

// An empty name counts as none too.
bool NoTexture(const char (&name)[8]) { return name[0] == '\0' || (name[0] == '-' && name[1] == '\0'); }

// A wall texture in the middle moves down to an empty lower texture.
void MiddleToLower(SideDef& sd) {
    if (!NoTexture(sd.middle) && NoTexture(sd.lower))
        std::copy(std::begin(sd.middle), std::end(sd.middle), std::begin(sd.lower));
    SetTextureName(sd.middle, "-");
    if (NoTexture(sd.lower))
        SetTextureName(sd.lower, config.textureLift);
}

void FlipBorder(LevelState& level, int l) {
    SelectionList one;
    SelectObject(one, l);
    FlipLineDefs(level, one, FlipPart::Both);
    ForgetSelection(one);
}

void MakeLiftBorder(LevelState& level, int l, int s, int tag, int lowest) {
    LineDef& ld = level.lineDefs[l];
    ld.type = kLiftType;
    ld.flags = kLineTwoSided;
    ld.tag = static_cast<int16_t>(tag);
    SideDef& outer = level.sideDefs[ld.sideDef1];
    SideDef& inner = level.sideDefs[ld.sideDef2];
    const Sector& outside = level.sectors[SectorOfSide(level, ld.sideDef1)];
    const Sector& lift = level.sectors[s];
    MiddleToLower(outer);
    if (lowest < outside.floorHeight)
        MiddleToLower(inner);
    else
        SetTextureName(inner.lower, "-");
    SetTextureName(inner.middle, "-");
    if (outside.ceilingHeight < lift.ceilingHeight && NoTexture(inner.upper))
        SetTextureName(inner.upper, config.textureUpper);
    if (outside.floorHeight >= lift.floorHeight) {
        ld.type = kWalkLiftType;
        FlipBorder(level, l);
    }
    ShowStepTextures(level, l);
}

void MakeLiftWall(LevelState& level, int l) {
    level.lineDefs[l].flags = kLineImpassable;
    SideDef& sd = level.sideDefs[level.lineDefs[l].sideDef1];
    if (NoTexture(sd.middle))
        SetTextureName(sd.middle, config.textureNormal);
    SetTextureName(sd.upper, "-");
    SetTextureName(sd.lower, "-");
}

// What side sees across the LineDef: the default lower texture when the
// floor behind is higher, the default upper one when the ceiling behind is
// lower (unless both are sky), where it has none.
void ShowStep(SideDef& side, const Sector& front, const Sector& back) {
    auto sky = [](const Sector& s) { return std::strncmp(s.ceilingTexture, "F_SKY1", 6) == 0; };
    if (back.floorHeight > front.floorHeight && NoTexture(side.lower))
        SetTextureName(side.lower, config.textureLower);
    if (back.ceilingHeight < front.ceilingHeight && !(sky(front) && sky(back)) && NoTexture(side.upper))
        SetTextureName(side.upper, config.textureUpper);
}

int16_t& ValueOf(Sector& s, SectorValue value) {
    switch (value) {
    case SectorValue::Floor:
        return s.floorHeight;
    case SectorValue::Ceiling:
        return s.ceilingHeight;
    default:
        return s.light;
    }
}

}  // namespace

void ShowStepTextures(LevelState& level, int l) {
    const LineDef* ld = level.lineDefs.at(l);
    if (!ld)
        return;
    int front = SectorOfSide(level, ld->sideDef1), back = SectorOfSide(level, ld->sideDef2);
    if (front < 0 || back < 0)
        return;
    ShowStep(level.sideDefs[ld->sideDef1], level.sectors[front], level.sectors[back]);
    ShowStep(level.sideDefs[ld->sideDef2], level.sectors[back], level.sectors[front]);
}

DoorPlan PlanDoor(const LevelState& level, const SelectionList& lineDefs) {
    DoorPlan plan;
    if (lineDefs.size() != 4) {
        plan.refusal = Refusal(Refusal::Kind::Said, Format("You have %d LineDefs selected", lineDefs.size()),
                               "Select exactly 4 LineDefs (see help)");
        return plan;
    }
    std::vector<int> listed(lineDefs.begin(), lineDefs.end());
    auto whole = [&](int l) { return HasBothEnds(level, l); };
    if (!std::all_of(listed.begin(), listed.end(), whole)) {
        plan.loose = *std::find_if_not(listed.begin(), listed.end(), whole);
        return plan;
    }
    DoorLoop loop = LoopOf(level, listed);
    if (loop.loose >= 0) {
        plan.loose = loop.loose;
        return plan;
    }
    int inside = LineDefInside(level, loop);
    if (inside >= 0) {
        plan.refusal = Refusal(Refusal::Kind::Said, Format("LineDef %d stands inside the door:", inside),
                               "a door takes all of the area its 4 LineDefs close");
        return plan;
    }
    if (DoorPairs(level, loop).empty())
        PlanFlips(level, loop, plan);
    return plan;
}

DoorOutcome MakeDoor(LevelState& level, SelectionList& lineDefs, const DoorPlan& plan) {
    DoorOutcome outcome;
    if (!plan.ready()) {
        outcome.refusal = plan.refusal.refused() ? plan.refusal : Refusal(Refusal::Kind::Missing);
        return outcome;
    }
    EditScope edit("make a door");
    SelectionList turned;
    for (int l : plan.flips)
        SelectObject(turned, l);
    FlipLineDefs(level, turned, FlipPart::Both);
    ForgetSelection(turned);
    std::vector<int> listed(lineDefs.begin(), lineDefs.end());
    std::vector<DoorPair> pairs = DoorPairs(level, LoopOf(level, listed));
    if (pairs.empty()) {
        outcome.refusal = Refusal(Refusal::Kind::Missing);
        return outcome;
    }
    if (!RoomFor(level, 0, 6, 0, 1)) {
        outcome.refusal = Refusal(Refusal::Kind::Said, "The level is full");
        return outcome;
    }
    ForgetSelection(lineDefs);
    for (int l : {pairs[1].face, pairs[1].edge, pairs[0].face, pairs[0].edge})
        SelectObject(lineDefs, l);   // iterated: edge 1, face 1, edge 2, face 2
    int door = DoorwaySector(level, pairs);
    if (door < 0)
        door = AddObject(level, kObjSector, -1, 0, 0);
    int floor = 0;
    for (const DoorPair& p : pairs) {
        floor = MakeDoorEdge(level, p.edge, door, outcome.sidesAdded);
        MakeDoorFace(level, p.face, door, outcome.sidesAdded);
    }
    level.sectors[door].floorHeight = level.sectors[door].ceilingHeight = static_cast<int16_t>(floor);
    for (const DoorPair& p : pairs) {
        ShowStepTextures(level, p.face);
        ShowStepTextures(level, p.edge);
    }
    level.levelChanged = level.mapChanged = true;
    edit.Commit();
    return outcome;
}

Refusal MakeLift(LevelState& level, int s) {
    if (!level.sectors.valid(s))
        return Refusal(Refusal::Kind::Missing);
    LiftParts parts = LiftPartsOf(level, s);
    if (parts.neighbours.empty())
        return Refusal(Refusal::Kind::Said, "The lift must be connected to", "at least one other Sector.");
    EditScope edit("make a lift");
    for (int l : parts.borders)
        if (SectorOfSide(level, level.lineDefs[l].sideDef1) == s)
            FlipBorder(level, l);
    int tag = FirstFreeTag(level);
    int lowest = INT_MAX, highest = INT_MIN;
    for (int n : parts.neighbours) {
        lowest = std::min<int>(lowest, level.sectors[n].floorHeight);
        highest = std::max<int>(highest, level.sectors[n].floorHeight);
    }
    Sector& lift = level.sectors[s];
    lift.floorHeight = static_cast<int16_t>(std::max<int>(lift.floorHeight, highest));
    lift.ceilingHeight =
        static_cast<int16_t>(std::max<int>(lift.ceilingHeight, std::min(highest + kLiftHeadroom, 32767)));
    lift.tag = static_cast<int16_t>(tag);
    for (int l : parts.borders)
        MakeLiftBorder(level, l, s, tag, lowest);
    for (int l : parts.walls)
        MakeLiftWall(level, l);
    level.levelChanged = level.mapChanged = true;
    edit.Commit();
    return Refusal();
}

void DistributeSectorValue(LevelState& level, const SelectionList& sectors, SectorValue value) {
    std::vector<int> listed;
    for (int s : sectors)
        if (level.sectors.valid(s))
            listed.push_back(s);
    if (listed.size() < 3)
        return;
    static const char* const kNames[] = {"floor heights", "ceiling heights", "lighting"};
    EditScope edit(std::string("distribute ") + kNames[static_cast<int>(value)]);
    int n = static_cast<int>(listed.size());
    int a = ValueOf(level.sectors[listed.front()], value);
    int b = ValueOf(level.sectors[listed.back()], value);
    if (value == SectorValue::Light && a > b)
        std::swap(a, b);
    for (int k = 0; k < n; ++k)
        ValueOf(level.sectors[listed[k]], value) = static_cast<int16_t>(a + (b - a) * k / (n - 1));
    level.levelChanged = true;
    edit.Commit();
}

}  // namespace edits
