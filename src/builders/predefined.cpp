#include "builders/predefined.h"

#include <string>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "editor/editor.h"
#include "editor/map_draw.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "ui/forms.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/menus.h"
#include "ui/message_box.h"

PredefinedSizes predefinedSizes;

namespace {

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

// The shape's refusal or warning in a box; true when it was made.
bool Inserted(const edits::ShapeInserted& inserted) {
    if (inserted.refusal.refused()) {
        ReportFailure(inserted.refusal.first, inserted.refusal.second);
        return false;
    }
    if (inserted.floorAboveCeiling)
        ReportFailure("The floor is GT ceiling, please fix!");
    return true;
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
    insert(x, y, first, second, s, static_cast<ObjectKind>(z.kind), z.depth);
}

void BuildStairs(StairShape shape, int x, int y, int sector) {
    int floor = level.sectors[sector].floorHeight, ceiling = level.sectors[sector].ceilingHeight;
    if (AskStairs(shape, floor, ceiling))
        InsertStairs(x, y, sector, shape, floor, ceiling, predefinedSizes.stairs);
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
    return Inserted(edits::InsertRectangle(level, x, y, width, length, sector, kind, depth));
}

bool InsertPolygon(int x, int y, int sides, int radius, int sector, ObjectKind kind, int depth) {
    return Inserted(edits::InsertPolygon(level, x, y, sides, radius, sector, kind, depth));
}

bool InsertDoorShape(int x, int y, int width, int length, int sector) {
    return Inserted(edits::InsertDoorShape(level, x, y, width, length, sector));
}

bool InsertStairs(int x, int y, int sector, StairShape shape, int floor, int ceiling, const StairsSize& size) {
    return Inserted(edits::InsertStairs(level, x, y, sector, shape, floor, ceiling, size));
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
    int sector = GetSectorAtPoint(level, px, py);
    if (!PlacedRight(item, sector))
        return 0;
    MarkInsertionPoint(px, py);
    BuildItem(item, px, py, sector);
    ComputeMapBounds();
    return 0;
}
