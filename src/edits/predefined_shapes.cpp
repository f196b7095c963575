#include "edits/predefined_shapes.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "base/config.h"
#include "edits/builders.h"
#include "edits/edit_support.h"
#include "edits/level_geometry.h"
#include "edits/objects.h"
#include "edits/stairs.h"
#include "edits/turn_scale.h"
#include "level/history.h"

namespace edits {

namespace {


int NewSide(LevelState& level, int sector) {
    int sd = AddObject(level, kObjSideDef, -1, 0, 0);
    level.sideDefs[sd].sector = static_cast<uint16_t>(sector);
    return sd;
}

// A LineDef from Vertex a to b whose first side faces the Sector.
int NewWall(LevelState& level, int a, int b, int sector) {
    int l = AddObject(level, kObjLineDef, -1, 0, 0);
    int sd = NewSide(level, sector);
    LineDef& ld = level.lineDefs[l];
    ld.start = static_cast<uint16_t>(a);
    ld.end = static_cast<uint16_t>(b);
    ld.sideDef1 = static_cast<uint16_t>(sd);
    return l;
}

// Walls around the Vertexes in order, closing the loop; reversed, the other
// way round.
std::vector<int> WallsAround(LevelState& level, const std::vector<int>& corners, int sector, bool reversed) {
    std::vector<int> walls;
    size_t n = corners.size();
    for (size_t k = 0; k < n; ++k) {
        int a = corners[k], b = corners[(k + 1) % n];
        walls.push_back(reversed ? NewWall(level, b, a, sector) : NewWall(level, a, b, sector));
    }
    return walls;
}

// The inner Sector of a pool, pedestal or light box, behind the object's
// walls (whose first sides face the Sector outside); false when its floor
// came out above its ceiling.
bool MakeInnerSector(LevelState& level, const std::vector<int>& walls, int outside, ObjectKind kind, int depth) {
    int p = AddObject(level, kObjSector, -1, 0, 0);
    const Sector o = level.sectors[outside];
    Sector& inner = level.sectors[p];
    inner.light = o.light;
    inner.ceilingHeight = o.ceilingHeight;
    std::copy(std::begin(o.ceilingTexture), std::end(o.ceilingTexture), std::begin(inner.ceilingTexture));
    switch (kind) {
    case ObjectKind::Pool:
        inner.floorHeight = static_cast<int16_t>(o.floorHeight - depth);
        SetTextureName(inner.floorTexture, config.flatPoolBottom);
        break;
    case ObjectKind::Pedestal:
        inner.floorHeight = static_cast<int16_t>(o.floorHeight + depth);
        SetTextureName(inner.floorTexture, config.flatPedestalTop);
        break;
    default:
        inner.floorHeight = static_cast<int16_t>(o.floorHeight + depth);
        inner.ceilingHeight = static_cast<int16_t>(o.ceilingHeight - depth);
        SetTextureName(inner.floorTexture, config.flatLight);
        SetTextureName(inner.ceilingTexture, config.flatLight);
        break;
    }
    for (int l : walls) {
        int in = NewSide(level, p);
        LineDef& ld = level.lineDefs[l];
        SideDef& outer = level.sideDefs[ld.sideDef1];
        SideDef& innerSide = level.sideDefs[in];
        if (kind == ObjectKind::Pool)
            SetTextureName(innerSide.lower, config.texturePoolSide);
        else
            SetTextureName(outer.lower, config.texturePedestalSide);
        if (kind == ObjectKind::LightBox)
            SetTextureName(outer.upper, config.texturePedestalSide);
        SetTextureName(outer.middle, "-");
        SetTextureName(innerSide.middle, "-");
        ld.sideDef2 = static_cast<uint16_t>(in);
        ld.flags = kLineTwoSided;
        ShowStepTextures(level, l);
    }
    return level.sectors[p].ceilingHeight >= level.sectors[p].floorHeight;
}

// Walls around the corners: a room's facing into a new Sector (clockwise),
// an object's facing out into its Sector (anticlockwise, the corners' order).
ShapeInserted MakeShape(LevelState& level, const std::vector<int>& anticlockwise, int sector, ObjectKind kind,
                        int depth) {
    bool room = sector < 0;
    int r = room ? AddObject(level, kObjSector, -1, 0, 0) : sector;
    std::vector<int> walls = WallsAround(level, anticlockwise, r, room);
    ShapeInserted inserted;
    if (!room && kind != ObjectKind::Plain)
        inserted.floorAboveCeiling = !MakeInnerSector(level, walls, sector, kind, depth);
    level.levelChanged = level.mapChanged = true;
    return inserted;
}

Refusal Full() { return Refusal{Refusal::Kind::Said, "The level is full"}; }

// Whether the level has room for a room or an object of so many corners: a
// wall each, and the room's Sector or the Sector behind the object's walls.
bool RoomForCorners(const LevelState& level, int corners, bool room, ObjectKind kind) {
    bool inner = !room && kind != ObjectKind::Plain;
    return RoomFor(level, corners, inner ? 2 * corners : corners, corners, room || inner ? 1 : 0);
}

// A LineDef from Vertex a to b between two floor heights, its first side
// facing `front` and its second `back`.
int NewStepEdge(LevelState& level, int a, int b, int front, int back) {
    int l = NewWall(level, a, b, front);
    level.lineDefs[l].sideDef2 = static_cast<uint16_t>(NewSide(level, back));
    MakeStepEdge(level, l);
    return l;
}

// A door edge with a Sector beyond it (a door standing free in a room): the
// Sector is closed round the door by a second side, the end of the door
// seen from the room, in the track's texture.
void CloseDoorEnd(LevelState& level, int edge, int beyond) {
    if (beyond < 0)
        return;
    LineDef& ld = level.lineDefs[edge];
    ld.sideDef2 = static_cast<uint16_t>(NewSide(level, beyond));
    ld.flags |= kLineTwoSided;
    SideDef& end = level.sideDefs[ld.sideDef2];
    SetTextureName(end.upper, config.textureDoorTrack);
    SetTextureName(end.middle, "-");
    SetTextureName(end.lower, "-");
}

std::vector<int> RectangleCorners(LevelState& level, int x, int y, int width, int length) {
    return {AddObject(level, kObjVertex, -1, x, y), AddObject(level, kObjVertex, -1, x + width, y),
            AddObject(level, kObjVertex, -1, x + width, y + length), AddObject(level, kObjVertex, -1, x, y + length)};
}

const char* ShapeStep(bool polygon, bool room) {
    if (polygon)
        return room ? "insert a polygonal room" : "insert a polygon";
    return room ? "insert a rectangular room" : "insert a rectangle";
}

}  // namespace

ShapeInserted InsertRectangle(LevelState& level, int x, int y, int width, int length, int sector, ObjectKind kind,
                              int depth) {
    if (!RoomForCorners(level, 4, sector < 0, kind))
        return {Full()};
    EditScope edit(ShapeStep(false, sector < 0));
    ShapeInserted inserted = MakeShape(level, RectangleCorners(level, x, y, width, length), sector, kind, depth);
    edit.Commit();
    return inserted;
}

ShapeInserted InsertPolygon(LevelState& level, int x, int y, int sides, int radius, int sector, ObjectKind kind,
                            int depth) {
    if (!RoomForCorners(level, std::max(sides, 0), sector < 0, kind))
        return {Full()};
    EditScope edit(ShapeStep(true, sector < 0));
    int first = level.vertices.count;
    AddPolygonVertexes(level, x, y, sides, radius);
    std::vector<int> corners;
    for (int v = first; v < level.vertices.count; ++v)
        corners.push_back(v);
    ShapeInserted inserted = MakeShape(level, corners, sector, kind, depth);
    edit.Commit();
    return inserted;
}

ShapeInserted InsertDoorShape(LevelState& level, int x, int y, int width, int length, int sector) {
    // Four walls, and what the door builder adds: the faces' second sides
    // and the door's Sector; the edges' outer sides when the door stands free.
    if (!RoomFor(level, 4, 8, 4, 1))
        return {Full()};
    EditScope edit("make a door");
    // What lies where the edges go, before they are there: the Sector round
    // a door standing free in a room, the void beside a door set in a gap.
    const int beyondSouth = GetSectorAtPoint(level, x + width / 2, y);
    const int beyondNorth = GetSectorAtPoint(level, x + width / 2, y + length);
    std::vector<int> c = RectangleCorners(level, x, y, width, length);
    enum { BL, BR, TR, TL };
    SelectionList walls;
    int south = NewWall(level, c[BR], c[BL], sector);
    SelectObject(walls, south);
    SelectObject(walls, NewWall(level, c[BR], c[TR], sector));
    int north = NewWall(level, c[TL], c[TR], sector);
    SelectObject(walls, north);
    SelectObject(walls, NewWall(level, c[TL], c[BL], sector));
    DoorPlan plan = PlanDoor(level, walls);
    ShapeInserted inserted;
    if (plan.ready())
        inserted.refusal = MakeDoor(level, walls, plan).refusal;
    else
        inserted.refusal = plan.refusal.refused() ? plan.refusal : Refusal{Refusal::Kind::Missing};
    ForgetSelection(walls);
    if (inserted.refusal.refused())
        return inserted;
    CloseDoorEnd(level, south, beyondSouth);
    CloseDoorEnd(level, north, beyondNorth);
    edit.Commit();
    return inserted;
}

ShapeInserted InsertStairs(LevelState& level, int x, int y, int sector, StairShape shape, int floor, int ceiling,
                           const StairsSize& size) {
    bool room = shape == StairShape::Room;
    int n = size.steps;
    if (n < 1 || !RoomFor(level, 3 * n + 1, room ? 4 * n + 1 : 6 * n + 2, 2 * n + 2, n))
        return {Full()};
    EditScope edit(room ? "insert a stair room" : "insert stairs");
    int left = AddObject(level, kObjVertex, -1, x, y);
    int right = AddObject(level, kObjVertex, -1, x + size.width, y);
    int below = sector;
    for (int k = 1; k <= n; ++k) {
        y += size.depth;
        int nextLeft = AddObject(level, kObjVertex, -1, x, y);
        int nextRight = AddObject(level, kObjVertex, -1, x + size.width, y);
        int step = AddObject(level, kObjSector, -1, 0, 0);
        level.sectors[step].floorHeight = static_cast<int16_t>(floor + size.height * k);
        level.sectors[step].ceilingHeight = static_cast<int16_t>(ceiling);
        if (room) {
            NewWall(level, left, nextLeft, step);
            NewWall(level, nextRight, right, step);
            NewStepEdge(level, left, right, below, step);
        } else {
            NewStepEdge(level, nextLeft, left, sector, step);
            NewStepEdge(level, left, right, below, step);
            NewStepEdge(level, right, nextRight, sector, step);
        }
        below = step;
        left = nextLeft;
        right = nextRight;
    }
    // The top of the last step is closed: a wall of the room, or the drop
    // from the object back to its Sector.
    if (room)
        NewWall(level, left, right, below);
    else
        NewStepEdge(level, right, left, sector, below);
    level.levelChanged = level.mapChanged = true;
    edit.Commit();
    return {};
}

}  // namespace edits
