#include "builders/predefined.h"

#include <algorithm>
#include <string>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "editor/editor.h"
#include "editor/map_draw.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/history.h"
#include "level/level.h"
#include "builders/builders.h"
#include "edits/stairs.h"
#include "edits/turn_scale.h"
#include "ops/edit_support.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/message_box.h"

PredefinedSizes predefinedSizes;

namespace {

constexpr int16_t kTwoSided = 4;
constexpr int kCrossRadius = 10;       // pixels
constexpr int kMaxStairsRise = 1024;   // ceiling - floor must stay below

enum ObjectItem {
    kRectangleRoom = 1,
    kRectangleObject,
    kPolygonRoom,
    kPolygonObject,
    kStairsRoom,
    kStairsObject,
    kDoorObject,
};

int NewSide(int sector) {
    int sd = InsertObject(kObjSideDef, -1, 0, 0);
    level.sideDefs[sd].sector = static_cast<uint16_t>(sector);
    return sd;
}

// A LineDef from Vertex a to b whose first side faces the Sector.
int NewWall(int a, int b, int sector) {
    int l = InsertObject(kObjLineDef, -1, 0, 0);
    int sd = NewSide(sector);
    LineDef& ld = level.lineDefs[l];
    ld.start = static_cast<uint16_t>(a);
    ld.end = static_cast<uint16_t>(b);
    ld.sideDef1 = static_cast<uint16_t>(sd);
    return l;
}

// Walls around the Vertexes in order, closing the loop; reversed, the other
// way round.
std::vector<int> WallsAround(const std::vector<int>& corners, int sector, bool reversed) {
    std::vector<int> walls;
    size_t n = corners.size();
    for (size_t k = 0; k < n; ++k) {
        int a = corners[k], b = corners[(k + 1) % n];
        walls.push_back(reversed ? NewWall(b, a, sector) : NewWall(a, b, sector));
    }
    return walls;
}

// The inner Sector of a pool, pedestal or light box, behind the object's
// walls (whose first sides face the Sector outside).
void MakeInnerSector(const std::vector<int>& walls, int outside, ObjectKind kind, int depth) {
    int p = InsertObject(kObjSector, -1, 0, 0);
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
        int in = NewSide(p);
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
        ld.flags = kTwoSided;
        ShowStepTextures(l);
    }
    if (inner.ceilingHeight < inner.floorHeight)
        ReportFailure("The floor is GT ceiling, please fix!");
}

// Walls around the corners: a room's facing into a new Sector (clockwise),
// an object's facing out into its Sector (anticlockwise, the corners' order).
void MakeShape(const std::vector<int>& anticlockwise, int sector, ObjectKind kind, int depth) {
    bool room = sector < 0;
    int r = room ? InsertObject(kObjSector, -1, 0, 0) : sector;
    std::vector<int> walls = WallsAround(anticlockwise, r, room);
    if (!room && kind != ObjectKind::Plain)
        MakeInnerSector(walls, sector, kind, depth);
    level.levelChanged = level.mapChanged = true;
}

// Whether the level has room for so many more objects; says so when not.
bool RoomForShape(int lineDefs, int sideDefs, int vertexes, int sectors) {
    if (RoomFor(lineDefs, sideDefs, vertexes, sectors))
        return true;
    ReportFailure("The level is full");
    return false;
}

// A room or an object of so many corners: a wall each, and the room's
// Sector or the Sector behind the object's walls.
bool RoomForCorners(int corners, bool room, ObjectKind kind) {
    bool inner = !room && kind != ObjectKind::Plain;
    return RoomForShape(corners, inner ? 2 * corners : corners, corners, room || inner ? 1 : 0);
}

// A LineDef from Vertex a to b between two floor heights, its first side
// facing `front` and its second `back`.
int NewStepEdge(int a, int b, int front, int back) {
    int l = NewWall(a, b, front);
    level.lineDefs[l].sideDef2 = static_cast<uint16_t>(NewSide(back));
    edits::MakeStepEdge(l);
    return l;
}

// A door edge with a Sector beyond it (a door standing free in a room): the
// Sector is closed round the door by a second side, the end of the door
// seen from the room, in the track's texture.
void CloseDoorEnd(int edge, int beyond) {
    if (beyond < 0)
        return;
    LineDef& ld = level.lineDefs[edge];
    ld.sideDef2 = static_cast<uint16_t>(NewSide(beyond));
    ld.flags |= kTwoSided;
    SideDef& end = level.sideDefs[ld.sideDef2];
    SetTextureName(end.upper, config.textureDoorTrack);
    SetTextureName(end.middle, "-");
    SetTextureName(end.lower, "-");
}

std::vector<int> RectangleCorners(int x, int y, int width, int length) {
    return {InsertObject(kObjVertex, -1, x, y), InsertObject(kObjVertex, -1, x + width, y),
            InsertObject(kObjVertex, -1, x + width, y + length), InsertObject(kObjVertex, -1, x, y + length)};
}

// --- Asking ----------------------------------------------------------------------

bool Ask(const char* title, std::vector<FormField>& fields) {
    return NumberForm(kCentred, kCentred, WindowSave::Always, title, fields) == 1;
}

void ShowPoolHelp() {
    MessageBox(kCentred, kCentred, LineAlign::Left, "Ok!", kAnyKey, nullptr, 0, "Pool Help",
               {"0=Plain", "1=Sunken Pool", "2=Pedestal", "3=Light Boxes", "Depth or Height"});
}

// The size fields of a shape, and for objects the kind and depth too.
bool AskSizes(const char* title, FormField first, FormField second, bool object, int& a, int& b) {
    PredefinedSizes& z = predefinedSizes;
    if (object)
        ShowPoolHelp();
    first.value = a;
    second.value = b;
    std::vector<FormField> fields = {first, second};
    if (object) {
        fields.push_back({"PoolPedLight", 0, 3, z.kind});
        fields.push_back({"Depth/Height", -512, 512, z.depth});
    }
    if (!Ask(title, fields))
        return false;
    a = fields[0].value;
    b = fields[1].value;
    if (object) {
        z.kind = fields[2].value;
        z.depth = fields[3].value;
    }
    return true;
}

// Waits for a click or key and gives the map point under the pointer.
void AskInsertionPoint(int& x, int& y) {
    MessageBox(kCentred, kCentred, LineAlign::Centred, nullptr, kNoButtons, nullptr, 0, nullptr,
               {"Insertion Point", "Move Cursor to Location", "Then click a Mouse button", "(or press a key)", "",
                "Don't make over 16 visible", "LineDefs for older DOOM"});
    int buttons = 0;
    GetInput(&buttons, InputWait::Wait);
    SetPointerFromScreen(input.pointerX, input.pointerY);
    x = ScreenToMapX(view.pointerX);
    y = ScreenToMapY(view.pointerY);
}

// The stairs' heights and sizes, asked again until the steps fit between
// the heights; false when the entry is cancelled. A room's heights are its
// Sector's, shown only.
bool AskStairs(StairShape shape, int& floor, int& ceiling) {
    StairsSize& z = predefinedSizes.stairs;
    bool object = shape == StairShape::Object;
    int low = object ? -1024 : 0, high = object ? 1023 : -1;
    std::vector<FormField> fields = {{"Floor Height", low, high, floor}, {"Ceiling Height", low, high, ceiling},
                                     {"Number of Steps", 2, 64, z.steps}, {"Step Height", 0, 24, z.height},
                                     {"Step Width", 34, 1024, z.width},   {"Step Depth", 8, 1024, z.depth}};
    for (;;) {
        if (!Ask("Stairs", fields))
            return false;
        int f = fields[0].value, c = fields[1].value;
        if (fields[2].value * fields[3].value > c - f) {
            ReportFailure("The stairs are too high for sector");
        } else if (c - f >= kMaxStairsRise) {
            ReportFailure("The maximum difference (ceiling - floor)= 1023");
        } else {
            floor = f;
            ceiling = c;
            z = {fields[2].value, fields[3].value, fields[4].value, fields[5].value};
            return true;
        }
    }
}

bool PlacedRight(int item, int sector) {
    bool room = item == kRectangleRoom || item == kPolygonRoom;
    if (room && sector >= 0) {
        ErrorBeep();
        ReportFailure("Error", "You need to be outside a Sector.");
        return false;
    }
    if (!room && sector < 0) {
        ErrorBeep();
        ReportFailure("You need to be", "inside a Sector!");
        return false;
    }
    if (!room)
        ReportFailure("Object will be", Format("created in Sector %d", sector));
    if (item == kStairsRoom)
        MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0, "Remember",
                   {"Move the stairs outside", "the sector when done."});
    return true;
}

void MarkInsertionPoint(int x, int y) {
    PointerGuard guard;
    SetColor(config.colors[kColorHiLight]);
    DrawMapCross(x, y, static_cast<int>(kCrossRadius / view.scale));
}

// A rectangle or polygon, a room or an object, with the sizes asked.
void BuildShape(int item, int x, int y, int sector) {
    PredefinedSizes& z = predefinedSizes;
    bool object = item == kRectangleObject || item == kPolygonObject;
    bool polygon = item == kPolygonRoom || item == kPolygonObject;
    int& first = polygon ? z.polySides : z.rectWidth;
    int& second = polygon ? z.polyRadius : z.rectLength;
    bool asked = polygon ? AskSizes("Polygon", {"Number of Sides", 3, 64, 0}, {"Radius", 8, 2000, 0}, object, first,
                                    second)
                         : AskSizes("Rectangle", {"Width", 8, 2000, 0}, {"Length", 8, 2000, 0}, object, first,
                                    second);
    if (!asked)
        return;
    int s = object ? sector : -1;
    auto insert = polygon ? InsertPolygon : InsertRectangle;
    if (!insert(x, y, first, second, s, static_cast<ObjectKind>(z.kind), z.depth))
        return;
    const char* shape = polygon ? "polygon" : "rectangle";
    const char* room = polygon ? "polygonal room" : "rectangular room";
    NameStep(std::string("insert a ") + (object ? shape : room));
}

void BuildStairs(StairShape shape, int x, int y, int sector) {
    int floor = level.sectors[sector].floorHeight, ceiling = level.sectors[sector].ceilingHeight;
    if (AskStairs(shape, floor, ceiling) &&
        InsertStairs(x, y, sector, shape, floor, ceiling, predefinedSizes.stairs))
        NameStep(shape == StairShape::Room ? "insert a stair room" : "insert stairs");
}

void BuildDoor(int x, int y, int sector) {
    PredefinedSizes& z = predefinedSizes;
    std::vector<FormField> fields = {{"Width", 8, 256, z.doorWidth}, {"Length", 8, 1000, z.doorLength}};
    if (!Ask("Door", fields))
        return;
    z.doorWidth = fields[0].value;
    z.doorLength = fields[1].value;
    InsertDoorShape(x, y, z.doorWidth, z.doorLength, sector);
}

void BuildItem(int item, int x, int y, int sector) {
    switch (item) {
    case kStairsRoom:
    case kStairsObject:
        BuildStairs(item == kStairsRoom ? StairShape::Room : StairShape::Object, x, y, sector);
        break;
    case kDoorObject:
        BuildDoor(x, y, sector);
        break;
    default:
        BuildShape(item, x, y, sector);
    }
}

}  // namespace

bool InsertRectangle(int x, int y, int width, int length, int sector, ObjectKind kind, int depth) {
    if (!RoomForCorners(4, sector < 0, kind))
        return false;
    MakeShape(RectangleCorners(x, y, width, length), sector, kind, depth);
    return true;
}

bool InsertPolygon(int x, int y, int sides, int radius, int sector, ObjectKind kind, int depth) {
    if (!RoomForCorners(std::max(sides, 0), sector < 0, kind))
        return false;
    int first = level.vertices.count;
    edits::AddPolygonVertexes(level, x, y, sides, radius);
    std::vector<int> corners;
    for (int v = first; v < level.vertices.count; ++v)
        corners.push_back(v);
    MakeShape(corners, sector, kind, depth);
    return true;
}

bool InsertDoorShape(int x, int y, int width, int length, int sector) {
    // Four walls, and what the door builder adds: the faces' second sides
    // and the door's Sector; the edges' outer sides when the door stands free.
    if (!RoomForShape(4, 8, 4, 1))
        return false;
    // What lies where the edges go, before they are there: the Sector round
    // a door standing free in a room, the void beside a door set in a gap.
    const int beyondSouth = GetSectorAtPoint(x + width / 2, y);
    const int beyondNorth = GetSectorAtPoint(x + width / 2, y + length);
    std::vector<int> c = RectangleCorners(x, y, width, length);
    enum { BL, BR, TR, TL };
    SelectionList walls;
    int south = NewWall(c[BR], c[BL], sector);
    SelectObject(walls, south);
    SelectObject(walls, NewWall(c[BR], c[TR], sector));
    int north = NewWall(c[TL], c[TR], sector);
    SelectObject(walls, north);
    SelectObject(walls, NewWall(c[TL], c[BL], sector));
    MakeDoor(walls);
    ForgetSelection(walls);
    CloseDoorEnd(south, beyondSouth);
    CloseDoorEnd(north, beyondNorth);
    return true;
}

bool InsertStairs(int x, int y, int sector, StairShape shape, int floor, int ceiling, const StairsSize& size) {
    bool room = shape == StairShape::Room;
    int n = size.steps;
    if (n < 1 || !RoomForShape(3 * n + 1, room ? 4 * n + 1 : 6 * n + 2, 2 * n + 2, n))
        return false;
    int left = InsertObject(kObjVertex, -1, x, y);
    int right = InsertObject(kObjVertex, -1, x + size.width, y);
    int below = sector;
    for (int k = 1; k <= n; ++k) {
        y += size.depth;
        int nextLeft = InsertObject(kObjVertex, -1, x, y);
        int nextRight = InsertObject(kObjVertex, -1, x + size.width, y);
        int step = InsertObject(kObjSector, -1, 0, 0);
        level.sectors[step].floorHeight = static_cast<int16_t>(floor + size.height * k);
        level.sectors[step].ceilingHeight = static_cast<int16_t>(ceiling);
        if (room) {
            NewWall(left, nextLeft, step);
            NewWall(nextRight, right, step);
            NewStepEdge(left, right, below, step);
        } else {
            NewStepEdge(nextLeft, left, sector, step);
            NewStepEdge(left, right, below, step);
            NewStepEdge(right, nextRight, sector, step);
        }
        below = step;
        left = nextLeft;
        right = nextRight;
    }
    // The top of the last step is closed: a wall of the room, or the drop
    // from the object back to its Sector.
    if (room)
        NewWall(left, right, below);
    else
        NewStepEdge(right, left, sector, below);
    level.levelChanged = level.mapChanged = true;
    return true;
}

int PredefinedObjectMenu(int x, int y) {
    int item = SimpleMenu(x, y, MenuStyle::Numbered, 1, "OBJECT", WindowSave::UnlessNested,
                          "Create Predefined Object",
                          {"Rectangle (Room)", "Rectangle (Object)", "Polygon   (Room)", "Polygon   (Object)",
                           "Stairs    (Room)", "Stairs    (Object)", "Door      (Object)"});
    if (item == kMenuNext || item == kMenuPrevious)
        return item;
    if (item <= 0)
        return 0;
    int px = 0, py = 0;
    AskInsertionPoint(px, py);
    editor.redrawMap = true;
    int sector = GetSectorAtPoint(px, py);
    if (!PlacedRight(item, sector))
        return 0;
    MarkInsertionPoint(px, py);
    BuildItem(item, px, py, sector);
    ComputeMapBounds();
    return 0;
}
