#include "edits/sector_building.h"

#include <cstring>
#include <utility>
#include <vector>

#include "base/config.h"
#include "edits/level_geometry.h"
#include "edits/objects.h"
#include "level/level.h"

namespace edits {
namespace {


bool HasSide(const LevelState& level, uint16_t side) { return level.sideDefs.valid(side); }

// The entries of a list that name a LineDef, in the list's order.
std::vector<int> ExistingLineDefs(const LevelState& level, const std::vector<int>& listed) {
    std::vector<int> lineDefs;
    for (int l : listed)
        if (level.lineDefs.valid(l))
            lineDefs.push_back(l);
    return lineDefs;
}

// A new SideDef with the defaults facing sector; kNoReference when the level
// holds no more.
uint16_t NewSide(LevelState& level, int sector, int& refused) {
    int n = AddObject(level, kObjSideDef, -1, 0, 0);
    if (n < 0) {
        ++refused;
        return kNoReference;
    }
    level.sideDefs[n].sector = static_cast<uint16_t>(sector);
    return static_cast<uint16_t>(n);
}

void ClearNormalTexture(LevelState& level, uint16_t side) {
    if (SideDef* sd = level.sideDefs.at(side))
        std::strncpy(sd->middle, "-", sizeof sd->middle);
}

// The LineDef becomes two-sided, its second side (a new one when it has
// none) facing sector, and no texture in the middle of either side.
void MakeTwoSided(LevelState& level, int l, int sector, int& refused) {
    if (HasSide(level, level.lineDefs[l].sideDef2)) {
        level.sideDefs[level.lineDefs[l].sideDef2].sector = static_cast<uint16_t>(sector);
    } else {
        uint16_t side = NewSide(level, sector, refused);
        level.lineDefs[l].sideDef2 = side;
    }
    LineDef& ld = level.lineDefs[l];
    ld.flags = kLineTwoSided;
    ClearNormalTexture(level, ld.sideDef1);
    ClearNormalTexture(level, ld.sideDef2);
}

// The Sector whose first sides the LineDefs face: the walk stops at the
// first one-sided LineDef.
int SectorAlreadyFaced(const LevelState& level, const std::vector<int>& lineDefs) {
    int found = -1;
    for (int l : lineDefs) {
        const LineDef& ld = level.lineDefs[l];
        if (!HasSide(level, ld.sideDef1))
            continue;
        found = SectorOfSide(level, ld.sideDef1);
        if (!HasSide(level, ld.sideDef2))
            break;
    }
    return found;
}

// The Sector at the centre of the box spanned by two points.
int SectorBetween(const LevelState& level, int a, int b) {
    const Vertex& p = level.vertices[a];
    const Vertex& q = level.vertices[b];
    return SectorAround(level, BoxCentre(p.x, q.x), BoxCentre(p.y, q.y));
}

void TakeLook(LevelState& level, int target, int from) {
    Sector& t = level.sectors[target];
    const Sector& f = level.sectors[from];
    t.floorHeight = f.floorHeight;
    t.ceilingHeight = f.ceilingHeight;
    t.light = f.light;
    std::memcpy(t.floorTexture, f.floorTexture, sizeof t.floorTexture);
    std::memcpy(t.ceilingTexture, f.ceilingTexture, sizeof t.ceilingTexture);
}

// --- A drawn shape's inside ----------------------------------------------------

// Whether the inside of the closed shape lies on LineDef l's right (first
// side).
bool InsideOnRight(const LevelState& level, int l, const std::vector<int>& shape) {
    double x = 0, y = 0;
    PointBeside(level, l, LineSide::Right, x, y);
    return InsideLoop(level, x, y, shape);
}

// A LineDef drawn the other way: its ends and its sides change places.
void Reverse(LevelState& level, int l) {
    LineDef& ld = level.lineDefs[l];
    std::swap(ld.start, ld.end);
    std::swap(ld.sideDef1, ld.sideDef2);
}

// The walls of a drawn shape: those it made (without sides) and those it
// reused, each with the side its inside lies on.
struct ShapeWall {
    int lineDef;
    bool insideRight;
};
struct DrawnShape {
    std::vector<ShapeWall> made, reused;
};

DrawnShape WallsOf(const LevelState& level, const std::vector<int>& lineDefs) {
    DrawnShape shape;
    for (int l : lineDefs) {
        ShapeWall wall = {l, InsideOnRight(level, l, lineDefs)};
        (HasSide(level, level.lineDefs[l].sideDef1) ? shape.reused : shape.made).push_back(wall);
    }
    return shape;
}

uint16_t InsideSide(const LevelState& level, const ShapeWall& wall) {
    const LineDef& ld = level.lineDefs[wall.lineDef];
    return wall.insideRight ? ld.sideDef1 : ld.sideDef2;
}

// Drawn clockwise: the inside lies on the right of most LineDefs drawn (a
// shape of reused walls alone is a room).
bool DrawnClockwise(const DrawnShape& shape) {
    int right = 0;
    for (const ShapeWall& wall : shape.made)
        right += wall.insideRight ? 1 : -1;
    return right >= 0;
}

// A reused wall whose inside becomes part of a solid object loses the side
// that faced it: a wall left between the object and another Sector keeps
// the other side as its first, impassable with a wall texture; a wall with
// nothing behind it goes. Marks what to delete.
void SolidBehind(LevelState& level, const ShapeWall& wall, SelectionList& sides, SelectionList& walls) {
    uint16_t inside = InsideSide(level, wall);
    if (!HasSide(level, inside))
        return;
    LineDef& ld = level.lineDefs[wall.lineDef];
    uint16_t outside = wall.insideRight ? ld.sideDef2 : ld.sideDef1;
    if (!HasSide(level, outside)) {
        SelectObject(walls, wall.lineDef);
        return;
    }
    if (wall.insideRight)
        Reverse(level, wall.lineDef);
    level.lineDefs[wall.lineDef].sideDef2 = kNoReference;
    level.lineDefs[wall.lineDef].flags = kLineImpassable;
    SideDef& kept = level.sideDefs[outside];
    if (kept.middle[0] == '-' || kept.middle[0] == '\0')
        std::strncpy(kept.middle, config.textureNormal, sizeof kept.middle);
    SelectObject(sides, inside);
}

// A drawn counter-clockwise in Sector outer: a solid object standing there,
// its walls' first sides looking out into it.
int BuildObject(LevelState& level, const DrawnShape& shape, int outer, int& refused) {
    for (const ShapeWall& wall : shape.made) {
        if (wall.insideRight)
            Reverse(level, wall.lineDef);
        level.lineDefs[wall.lineDef].sideDef1 = NewSide(level, outer, refused);
    }
    SelectionList sides, walls;
    for (const ShapeWall& wall : shape.reused)
        SolidBehind(level, wall, sides, walls);
    DeleteObjects(level, kObjSideDef, sides);
    DeleteObjects(level, kObjLineDef, walls);
    return outer;
}

// A room: a new Sector inside the shape, joined by two-sided LineDefs to the
// Sector it was drawn in (when there is one). A reused wall's side that
// faced the inside now faces the room; a wall open to the inside gets a
// second side facing it.
int BuildRoom(LevelState& level, const DrawnShape& shape, int outer, int look, int& refused) {
    int room = AddObject(level, kObjSector, outer, 0, 0);
    if (room < 0) {
        ++refused;
        return -1;
    }
    if (outer < 0 && look >= 0)
        TakeLook(level, room, look);
    for (const ShapeWall& wall : shape.made) {
        if (!wall.insideRight)
            Reverse(level, wall.lineDef);
        level.lineDefs[wall.lineDef].sideDef1 = NewSide(level, room, refused);
        if (outer >= 0)
            MakeTwoSided(level, wall.lineDef, outer, refused);
    }
    for (const ShapeWall& wall : shape.reused) {
        uint16_t inside = InsideSide(level, wall);
        if (HasSide(level, inside))
            level.sideDefs[inside].sector = static_cast<uint16_t>(room);
        else
            MakeTwoSided(level, wall.lineDef, room, refused);
    }
    return room;
}

// Whether the closed shape completes Sector s: s is open, and every side
// of the shape's LineDefs that faces it lies on the shape's inside.
bool CompletesSector(const LevelState& level, const std::vector<int>& lineDefs, int s) {
    for (int l : lineDefs) {
        bool right = InsideOnRight(level, l, lineDefs);
        const LineDef& ld = level.lineDefs[l];
        if (SectorOfSide(level, right ? ld.sideDef2 : ld.sideDef1) == s)
            return false;
    }
    return !SectorClosed(level, s);
}

// The right button closed a drawn shape. The Sector it was drawn in is the
// one its reused walls face on their inside (none when they are open
// there), else the one around its first and last point. Drawn clockwise, or
// outside every Sector, it becomes a room; else a solid object in that
// Sector.
int BuildDrawnShape(LevelState& level, const std::vector<int>& lineDefs, int first, int last, int& refused) {
    DrawnShape shape = WallsOf(level, lineDefs);
    int outer = -1, look = -1;
    if (shape.reused.empty()) {
        if (level.vertices.valid(first) && level.vertices.valid(last))
            outer = SectorBetween(level, first, last);
    } else {
        look = SectorOfSide(level, level.lineDefs[shape.reused.front().lineDef].sideDef1);
        for (const ShapeWall& wall : shape.reused)
            if (HasSide(level, InsideSide(level, wall))) {
                outer = SectorOfSide(level, InsideSide(level, wall));
                break;
            }
    }
    if (outer >= 0 && !DrawnClockwise(shape))
        return BuildObject(level, shape, outer, refused);
    return BuildRoom(level, shape, outer, look, refused);
}

}  // namespace

bool ShapeClosed(const LevelState& level, const std::vector<int>& listed) {
    std::vector<int> ends(static_cast<size_t>(level.vertices.count), 0);
    for (int l : ExistingLineDefs(level, listed)) {
        const LineDef& ld = level.lineDefs[l];
        if (!level.vertices.valid(ld.start) || !level.vertices.valid(ld.end))
            return false;
        ++ends[ld.start];
        ++ends[ld.end];
    }
    for (int count : ends)
        if (count == 1)
            return false;
    return true;
}

SectorBuilt BuildSector(LevelState& level, const std::vector<int>& listed, SectorBuild command, int first, int last) {
    const std::vector<int> lineDefs = ExistingLineDefs(level, listed);
    SectorBuilt built;
    if (lineDefs.empty())
        return built;
    bool closed = ShapeClosed(level, lineDefs);
    int found = command == SectorBuild::FromLineDefs ? -1 : SectorAlreadyFaced(level, lineDefs);
    bool drawn = command == SectorBuild::RightButton || command == SectorBuild::InsertKey;
    bool completes = command == SectorBuild::InsertKey && found >= 0 && CompletesSector(level, lineDefs, found);
    if (closed && drawn && !completes) {
        built.sector = BuildDrawnShape(level, lineDefs, first, last, built.refusedInserts);
        return built;
    }
    int target = found >= 0 && command == SectorBuild::InsertKey ? found : AddObject(level, kObjSector, -1, 0, 0);
    if (target < 0) {
        ++built.refusedInserts;
        return built;
    }
    if (found >= 0)
        TakeLook(level, target, found);
    for (int l : lineDefs) {
        if (!HasSide(level, level.lineDefs[l].sideDef1)) {
            // A closed shape's Sector lies inside it.
            if (closed && !InsideOnRight(level, l, lineDefs))
                Reverse(level, l);
            uint16_t side = NewSide(level, target, built.refusedInserts);
            level.lineDefs[l].sideDef1 = side;
        } else if (command != SectorBuild::InsertKey) {
            MakeTwoSided(level, l, target, built.refusedInserts);
        }
    }
    built.sector = target;
    return built;
}

}  // namespace edits
