#include "editor/line_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/config.h"
#include "editor/editor.h"
#include "editor/map_draw.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/split_option.h"
#include "editor/view.h"
#include "level/history.h"
#include "level/level.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"

LineDrawingState drawing;

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int16_t kTwoSided = 4;
constexpr int16_t kImpassable = 1;

void Tell(const char* format, int n) {
    char text[40];
    std::snprintf(text, sizeof text, format, n);
    ShowEditorMessage(text);
}

void Notice(const char* title, const std::vector<const char*>& lines) {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK!", kAnyKey, nullptr, 0, title, lines);
    editor.redrawAll = true;
}

bool HasSide(uint16_t side) { return ValidSideDef(side); }

int SectorOfSide(uint16_t side) {
    const SideDef* sd = SideDefAt(side);
    return sd && ValidSector(sd->sector) ? sd->sector : -1;
}

// A new impassable LineDef without sides from start to end; -1 when the
// level holds no more.
int AppendLineDef(int start, int end) {
    int n = InsertObject(kObjLineDef, -1, 0, 0);
    if (n >= 0) {
        level.lineDefs[n].start = static_cast<uint16_t>(start);
        level.lineDefs[n].end = static_cast<uint16_t>(end);
    }
    return n;
}

std::string LineDefCount(int count) {
    return std::to_string(count) + (count == 1 ? " LineDef" : " LineDefs");
}

// --- The rubber band ------------------------------------------------------------

// Draws the band once in XOR: a second drawing removes it.
void DrawBand() {
    PointerGuard guard;
    Canvas& screen = Screen();
    screen.setwritemode(kXorPut);
    screen.setlinestyle(kSolidLine, 0, kNormWidth);
    SetColor(config.colors[kColorInsertVertex]);
    DrawMapLine(drawing.bandStartX, drawing.bandStartY, drawing.bandEndX, drawing.bandEndY);
    screen.setwritemode(kCopyPut);
}

void RemoveBand() {
    if (drawing.bandShown)
        DrawBand();
    drawing.bandShown = false;
}

// What the status line says while the band is drawn.
enum class BandMessage {
    Length,   // the pointer moved: the band's length
    Keep,     // drawn again after a redraw or a new point, whose message stays
};

// The band from its start to the pointer (snapped).
void ShowBand(BandMessage message) {
    int x = ScreenToMapX(view.PointerX), y = ScreenToMapY(view.PointerY);
    SnapToGrid(x, y, config.gridSize);
    drawing.bandEndX = x;
    drawing.bandEndY = y;
    drawing.bandPointerX = view.PointerX;
    drawing.bandPointerY = view.PointerY;
    DrawBand();
    drawing.bandShown = true;
    if (message == BandMessage::Keep)
        return;
    double dx = x - drawing.bandStartX, dy = y - drawing.bandStartY;
    Tell("length %4d", static_cast<int>(std::sqrt(dx * dx + dy * dy)));
}

// The band follows the pointer while a point waits to be joined.
void MoveBand() {
    if (drawing.pointsInSegment <= 0)
        return;
    bool moved = view.PointerX != drawing.bandPointerX || view.PointerY != drawing.bandPointerY;
    if (drawing.bandShown && !moved)
        return;
    RemoveBand();
    ShowBand(moved ? BandMessage::Length : BandMessage::Keep);
}

void StartBandAt(int v) {
    drawing.bandStartX = level.vertices[v].x;
    drawing.bandStartY = level.vertices[v].y;
    drawing.bandPointerX = view.PointerX;
    drawing.bandPointerY = view.PointerY;
    drawing.bandShown = false;   // the point's redraw takes the old band away
}

// --- Points ------------------------------------------------------------------------

// Presses on the bars and the info panels are the main loop's.
bool PointerOnMap() {
    int y = view.PointerY + MapAreaTop();
    return !editor.panelHover && y >= kMenuBarHeight && y <= graphics.ScreenMaxY - kStatusHeight;
}

// The Vertex under the pointer, or a new one there (on the grid while
// snapping is on), highlighted; -1 when the level holds no more.
int VertexAtPointer() {
    int v = GetObjectUnderPointer(kObjVertex);
    if (v >= 0)
        return v;
    int x = ScreenToMapX(view.PointerX), y = ScreenToMapY(view.PointerY);
    SnapToGrid(x, y, config.gridSize);
    v = InsertObject(kObjVertex, -1, x, y);
    if (v >= 0) {
        selection.current = v;
        selection.currentDrawn = false;
    }
    return v;
}

// Joins the point before (p) to the latest (v), reusing a LineDef that
// joins them already.
void JoinPoints(int p, int v) {
    int old = LineDefJoining(p, v);
    if (old >= 0) {
        Tell("OldLine %4d", old);
        drawing.newLineDef = -1;
    } else {
        drawing.newLineDef = AppendLineDef(p, v);
        Tell("NewLine %4d", drawing.newLineDef);
        NameStep("draw 1 LineDef");
    }
    ForgetSelection(selection.list);
    SelectObject(selection.list, v);
    drawing.pointsInSegment = 1;
    StartBandAt(v);
}

// The latest point is the one in the working list (the selection), which the
// clear key may have emptied.
bool IsLatestPoint(int v) {
    return IsSelected(selection.list, v) || (drawing.pointsInSegment > 0 && v == drawing.lastPoint);
}

void PlacePoint() {
    int countBefore = level.vertices.count;
    int v = VertexAtPointer();
    if (v < 0 || IsLatestPoint(v))
        return;
    if (level.vertices.count != countBefore)
        NameStep("draw Vertex");
    int previous = drawing.lastPoint;
    if (drawing.firstPoint < 0)
        drawing.firstPoint = v;
    drawing.lastPoint = v;
    SelectObject(selection.list, v);
    if (!IsSelected(drawing.drawList, v))
        SelectObject(drawing.drawList, v);
    ++drawing.pointsInSegment;
    ++drawing.pointsInShape;
    editor.redrawMap = true;
    if (drawing.pointsInShape == 1)
        Tell("Sector %4d", GetSectorAtPoint(level.vertices[v].x, level.vertices[v].y));
    if (drawing.pointsInSegment > 1 && ValidVertex(previous)) {
        JoinPoints(previous, v);
    } else {
        drawing.pointsInSegment = 1;
        StartBandAt(v);
    }
}

// --- Closing a shape -------------------------------------------------------------

// A point of the shape that the vertex check may have merged away: it counts
// while its number is still in the draw list at the same place.
struct ShapePoint {
    int n;
    Vertex at;
};

ShapePoint Remember(int n) {
    const Vertex* v = VertexAt(n);
    return {n, v ? *v : Vertex{}};
}

bool StillDrawn(const ShapePoint& p) {
    const Vertex* v = VertexAt(p.n);
    return v && v->x == p.at.x && v->y == p.at.y && IsSelected(drawing.drawList, p.n);
}

// The new LineDef of the latest point, while it still joins the two points.
int ReplaceableLineDef(int first, int last) {
    const LineDef* ld = LineDefAt(drawing.newLineDef);
    bool joins = ld && ((ld->start == first && ld->end == last) ||
                        (ld->start == last && ld->end == first));
    return joins ? drawing.newLineDef : -1;
}

// Selects, in LineDef order, every LineDef between two points of the shape.
void SelectShapeLineDefs() {
    std::vector<bool> drawn(static_cast<size_t>(level.vertices.count), false);
    for (int v : drawing.drawList)
        if (ValidVertex(v))
            drawn[static_cast<size_t>(v)] = true;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (ValidVertex(ld.start) && ValidVertex(ld.end) && drawn[ld.start] && drawn[ld.end])
            SelectObject(selection.list, l);
    }
}

std::vector<int> SelectedLineDefs() {
    std::vector<int> out;
    for (int l : selection.list)
        if (ValidLineDef(l))
            out.push_back(l);
    return out;
}

// Whether the LineDefs close around: every end is shared by at least two of
// them.
bool ShapeClosed(const std::vector<int>& lineDefs) {
    std::vector<int> ends(static_cast<size_t>(level.vertices.count), 0);
    for (int l : lineDefs) {
        const LineDef& ld = level.lineDefs[l];
        if (!ValidVertex(ld.start) || !ValidVertex(ld.end))
            return false;
        ++ends[ld.start];
        ++ends[ld.end];
    }
    for (int count : ends)
        if (count == 1)
            return false;
    return true;
}

SectorBuild BuildOf(LineDrawingCommand command) {
    switch (command) {
    case LineDrawingCommand::Insert: return SectorBuild::InsertKey;
    case LineDrawingCommand::Escape: return SectorBuild::EscapeKey;
    default: return SectorBuild::RightButton;
    }
}

void CloseShape(LineDrawingCommand command) {
    ForgetSelection(selection.list);
    WaitRelease(nullptr);
    drawing.previousButtons = 0;
    editor.redrawMap = true;
    if (drawing.drawList.empty()) {
        EndLineDrawing();
        return;
    }
    ShapePoint first = Remember(drawing.firstPoint), last = Remember(drawing.lastPoint);
    int points = drawing.pointsInShape;
    editorActions.checkVertexes(drawing.drawList, CheckStyle::Quiet);
    bool ends = StillDrawn(first) && StillDrawn(last);
    bool handled = false;
    if (ends && command != LineDrawingCommand::Escape) {
        if (points == 2 && command != LineDrawingCommand::Insert) {
            NameStep("split Sector");
            AddLineDefSplitSector(first.n, last.n, ReplaceableLineDef(first.n, last.n));
            handled = true;
        } else if (ConnectVertexes(first.n, last.n) >= 0) {
            NameStep("draw 1 LineDef");
        }
    }
    if (config.autoInsertSector && !handled) {
        SelectShapeLineDefs();
        ForgetSelection(drawing.drawList);
        // A shape left open (Esc, two points closed with Ins, a point
        // merged away) stays bare LineDefs: a Sector must close.
        if (ShapeClosed(SelectedLineDefs())) {
            int count = selection.list.size();
            if (BuildSector(BuildOf(command), ends ? first.n : -1, ends ? last.n : -1) >= 0)
                NameStep("draw " + LineDefCount(count));
        }
        ForgetSelection(selection.list);
    }
    StartLineDrawing();
}

// --- Building a Sector -------------------------------------------------------------

// A new SideDef with the defaults facing sector; kNoReference when the level
// holds no more.
uint16_t NewSide(int sector) {
    int n = InsertObject(kObjSideDef, -1, 0, 0);
    if (n < 0)
        return kNoReference;
    level.sideDefs[n].sector = static_cast<uint16_t>(sector);
    return static_cast<uint16_t>(n);
}

void ClearNormalTexture(uint16_t side) {
    if (SideDef* sd = SideDefAt(side))
        std::strncpy(sd->middle, "-", sizeof sd->middle);
}

// The LineDef becomes two-sided, its second side (a new one when it has
// none) facing sector, and no texture in the middle of either side.
void MakeTwoSided(int l, int sector) {
    if (HasSide(level.lineDefs[l].sideDef2)) {
        level.sideDefs[level.lineDefs[l].sideDef2].sector = static_cast<uint16_t>(sector);
    } else {
        uint16_t side = NewSide(sector);
        level.lineDefs[l].sideDef2 = side;
    }
    LineDef& ld = level.lineDefs[l];
    ld.flags = kTwoSided;
    ClearNormalTexture(ld.sideDef1);
    ClearNormalTexture(ld.sideDef2);
}

// The Sector whose first sides the LineDefs face: the walk stops at the
// first one-sided LineDef.
int SectorAlreadyFaced(const std::vector<int>& lineDefs) {
    int found = -1;
    for (int l : lineDefs) {
        const LineDef& ld = level.lineDefs[l];
        if (!HasSide(ld.sideDef1))
            continue;
        found = SectorOfSide(ld.sideDef1);
        if (!HasSide(ld.sideDef2))
            break;
    }
    return found;
}

// The Sector at the centre of the box spanned by two points.
int SectorBetween(int a, int b) {
    const Vertex& p = level.vertices[a];
    const Vertex& q = level.vertices[b];
    return GetCurObject(Coords::Map, kObjSector, p.x, p.y, q.x, q.y);
}

void TakeLook(int target, int from) {
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
bool InsideOnRight(int l, const std::vector<int>& shape) {
    double x = 0, y = 0;
    PointBeside(l, LineSide::Right, x, y);
    return InsideLoop(x, y, shape);
}

// A LineDef drawn the other way: its ends and its sides change places.
void Reverse(int l) {
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

DrawnShape WallsOf(const std::vector<int>& lineDefs) {
    DrawnShape shape;
    for (int l : lineDefs) {
        ShapeWall wall = {l, InsideOnRight(l, lineDefs)};
        (HasSide(level.lineDefs[l].sideDef1) ? shape.reused : shape.made).push_back(wall);
    }
    return shape;
}

uint16_t InsideSide(const ShapeWall& wall) {
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
void SolidBehind(const ShapeWall& wall, SelectionList& sides, SelectionList& walls) {
    uint16_t inside = InsideSide(wall);
    if (!HasSide(inside))
        return;
    LineDef& ld = level.lineDefs[wall.lineDef];
    uint16_t outside = wall.insideRight ? ld.sideDef2 : ld.sideDef1;
    if (!HasSide(outside)) {
        SelectObject(walls, wall.lineDef);
        return;
    }
    if (wall.insideRight)
        Reverse(wall.lineDef);
    level.lineDefs[wall.lineDef].sideDef2 = kNoReference;
    level.lineDefs[wall.lineDef].flags = kImpassable;
    SideDef& kept = level.sideDefs[outside];
    if (kept.middle[0] == '-' || kept.middle[0] == '\0')
        std::strncpy(kept.middle, config.textureNormal, sizeof kept.middle);
    SelectObject(sides, inside);
}

// A drawn counter-clockwise in Sector outer: a solid object standing there,
// its walls' first sides looking out into it.
int BuildObject(const DrawnShape& shape, int outer) {
    for (const ShapeWall& wall : shape.made) {
        if (wall.insideRight)
            Reverse(wall.lineDef);
        level.lineDefs[wall.lineDef].sideDef1 = NewSide(outer);
    }
    SelectionList sides, walls;
    for (const ShapeWall& wall : shape.reused)
        SolidBehind(wall, sides, walls);
    DeleteObjects(kObjSideDef, sides);
    DeleteObjects(kObjLineDef, walls);
    return outer;
}

// A room: a new Sector inside the shape, joined by two-sided LineDefs to the
// Sector it was drawn in (when there is one). A reused wall's side that
// faced the inside now faces the room; a wall open to the inside gets a
// second side facing it.
int BuildRoom(const DrawnShape& shape, int outer, int look) {
    int room = InsertObject(kObjSector, outer, 0, 0);
    if (room < 0)
        return -1;
    if (outer < 0 && look >= 0)
        TakeLook(room, look);
    for (const ShapeWall& wall : shape.made) {
        if (!wall.insideRight)
            Reverse(wall.lineDef);
        level.lineDefs[wall.lineDef].sideDef1 = NewSide(room);
        if (outer >= 0)
            MakeTwoSided(wall.lineDef, outer);
    }
    for (const ShapeWall& wall : shape.reused) {
        uint16_t inside = InsideSide(wall);
        if (HasSide(inside))
            level.sideDefs[inside].sector = static_cast<uint16_t>(room);
        else
            MakeTwoSided(wall.lineDef, room);
    }
    return room;
}

// Whether the closed shape completes Sector s: s is open, and every side
// of the shape's LineDefs that faces it lies on the shape's inside.
bool CompletesSector(const std::vector<int>& lineDefs, int s) {
    for (int l : lineDefs) {
        bool right = InsideOnRight(l, lineDefs);
        const LineDef& ld = level.lineDefs[l];
        if (SectorOfSide(right ? ld.sideDef2 : ld.sideDef1) == s)
            return false;
    }
    return !SectorClosed(s);
}

// The right button closed a drawn shape. The Sector it was drawn in is the
// one its reused walls face on their inside (none when they are open
// there), else the one around its first and last point. Drawn clockwise, or
// outside every Sector, it becomes a room; else a solid object in that
// Sector.
int BuildDrawnShape(const std::vector<int>& lineDefs, int first, int last) {
    DrawnShape shape = WallsOf(lineDefs);
    int outer = -1, look = -1;
    if (shape.reused.empty()) {
        if (ValidVertex(first) && ValidVertex(last))
            outer = SectorBetween(first, last);
    } else {
        look = SectorOfSide(level.lineDefs[shape.reused.front().lineDef].sideDef1);
        for (const ShapeWall& wall : shape.reused)
            if (HasSide(InsideSide(wall))) {
                outer = SectorOfSide(InsideSide(wall));
                break;
            }
    }
    if (outer >= 0 && !DrawnClockwise(shape))
        return BuildObject(shape, outer);
    return BuildRoom(shape, outer, look);
}

// --- Ins ---------------------------------------------------------------------------

// Two Vertexes selected: across the Sector between them, else a plain
// LineDef from the one selected first to the other.
void JoinSelectedPair() {
    int a = selection.list.head(), b = selection.list.last();
    if (!ValidVertex(a) || !ValidVertex(b)) {
        ErrorBeep();
        return;
    }
    NameStep("split Sector");
    SplitResult result = AddLineDefSplitSector(a, b, -1);
    if (result == SplitResult::Failed && ConnectVertexes(a, b) >= 0)
        NameStep("draw 1 LineDef");
    editor.redrawMap = true;
}

void InsertInVertexesMode() {
    int selected = selection.list.size();
    if (selected <= 1) {
        StartLineDrawing();
        editor.lineDrawing = true;
    } else if (selected == 2) {
        JoinSelectedPair();
    } else {
        Notice("Select 0 - 1 Vertices to Insert vertex (make them into LineDefs later).",
               {"Select 2 Vertices to close a Sector or Drag a Vertex to close Sector."});
    }
}

void InsertInLineDefsMode() {
    std::vector<int> lineDefs = SelectedLineDefs();
    if (lineDefs.empty()) {
        ErrorBeep();
        return;
    }
    for (int l : lineDefs) {
        const LineDef& ld = level.lineDefs[l];
        if (HasSide(ld.sideDef1) && HasSide(ld.sideDef2)) {
            char title[48];
            std::snprintf(title, sizeof title, "LineDef #%d already has two SideDefs", l);
            Notice(title, {"Add the Sector Reference manually! "});
            return;
        }
    }
    int sector = BuildSector(SectorBuild::FromLineDefs, -1, -1);
    if (sector < 0)
        return;
    NameStep("insert Sector");
    ForgetSelection(selection.list);
    SetEditMode(kObjSector);
    SelectObject(selection.list, sector);
    selection.current = sector;
    selection.currentDrawn = false;
    RememberObject(kObjSector, sector);
    editor.redrawMap = true;
}

}  // namespace

void StartLineDrawing() {
    ShowEditorMessage(config.autoInsertSector ? "LeftButton=Insert, Right=Close/Quit, End=Quit"
                                              : "Select LineDef+Ins to add SideDefs/Sectors");
    if (editor.dragging)
        editorActions.cancelDrag();
    EndMove();
    CancelSelectionBox();
    ForgetSelection(drawing.drawList);
    drawing = LineDrawingState{};
    drawing.previousButtons = HeldButtons();   // a button still held is no new press
    if (selection.list.size() == 1 && ValidVertex(selection.list.head())) {
        int v = selection.list.head();
        drawing.firstPoint = drawing.lastPoint = v;
        SelectObject(drawing.drawList, v);
        drawing.pointsInSegment = drawing.pointsInShape = 1;
        StartBandAt(v);
    } else {
        ForgetSelection(selection.list);
    }
}

void EndLineDrawing() {
    if (!editor.lineDrawing)
        return;
    ForgetSelection(drawing.drawList);
    drawing = LineDrawingState{};
    editor.lineDrawing = false;
    editor.redrawMap = true;
}

void LineDrawingEvent(LineDrawingCommand command) {
    switch (command) {
    case LineDrawingCommand::Pass: {
        int pressed = editor.buttons & ~drawing.previousButtons;
        drawing.previousButtons = HeldButtons();
        if (pressed && PointerOnMap()) {
            if (pressed & kRightButton) {
                CloseShape(command);
                return;
            }
            if (pressed & kLeftButton)
                PlacePoint();
        }
        MoveBand();
        break;
    }
    case LineDrawingCommand::Point:
        PlacePoint();
        MoveBand();
        break;
    case LineDrawingCommand::Insert:
    case LineDrawingCommand::Escape:
        CloseShape(command);
        break;
    case LineDrawingCommand::Quit:
        CloseShape(LineDrawingCommand::Escape);
        EndLineDrawing();
        break;
    }
}

int ConnectVertexes(int a, int b) {
    if (a == b || !ValidVertex(a) || !ValidVertex(b) || LineDefJoining(a, b) >= 0)
        return -1;
    editor.redrawMap = true;
    return AppendLineDef(b, a);
}

int BuildSector(SectorBuild command, int first, int last) {
    std::vector<int> lineDefs = SelectedLineDefs();
    if (lineDefs.empty())
        return -1;
    bool closed = ShapeClosed(lineDefs);
    int found = command == SectorBuild::FromLineDefs ? -1 : SectorAlreadyFaced(lineDefs);
    bool drawn = command == SectorBuild::RightButton || command == SectorBuild::InsertKey;
    if (closed && drawn && !(command == SectorBuild::InsertKey && found >= 0 && CompletesSector(lineDefs, found)))
        return BuildDrawnShape(lineDefs, first, last);
    int target = found >= 0 && command == SectorBuild::InsertKey
                     ? found
                     : InsertObject(kObjSector, -1, 0, 0);
    if (target < 0)
        return -1;
    if (found >= 0)
        TakeLook(target, found);
    for (int l : lineDefs) {
        if (!HasSide(level.lineDefs[l].sideDef1)) {
            // A closed shape's Sector lies inside it.
            if (closed && !InsideOnRight(l, lineDefs))
                Reverse(l);
            uint16_t side = NewSide(target);
            level.lineDefs[l].sideDef1 = side;
        } else if (command != SectorBuild::InsertKey) {
            MakeTwoSided(l, target);
        }
    }
    return target;
}

void RedrawLineDrawing() {
    drawing.bandShown = false;
    if (drawing.pointsInSegment > 0)
        ShowBand(BandMessage::Keep);
}

void InsertCommand() {
    switch (CurrentEditMode()) {
    case kObjVertex: InsertInVertexesMode(); break;
    case kObjLineDef: InsertInLineDefsMode(); break;
    default: InsertObjectCommand(); break;
    }
}
