#include "editor/line_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/config.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/map_draw.h"
#include "editor/object_commands.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/split_option.h"
#include "editor/view.h"
#include "edits/line_drawing.h"
#include "level/level.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"

LineDrawingState drawing;

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;

void Tell(const char* format, int n) {
    char text[40];
    std::snprintf(text, sizeof text, format, n);
    ShowEditorMessage(text);
}

void Notice(const char* title, const std::vector<const char*>& lines) {
    MessageBox(kCentred, kCentred, LineAlign::Centred, "OK!", kAnyKey, nullptr, 0, title, lines);
    editor.redrawAll = true;
}

// A LineDef from `from` to `to` (edits::DrawLineDef), with the error beep
// when the level holds no more.
edits::DrawnLine DrawLineDef(int from, int to) {
    edits::DrawnLine line = edits::DrawLineDef(level, from, to);
    if (line.how == edits::Drawn::NoRoom)
        ErrorBeep();
    return line;
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
    int x = ScreenToMapX(view.pointerX), y = ScreenToMapY(view.pointerY);
    SnapToGrid(x, y, config.gridSize);
    drawing.bandEndX = x;
    drawing.bandEndY = y;
    drawing.bandPointerX = view.pointerX;
    drawing.bandPointerY = view.pointerY;
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
    bool moved = view.pointerX != drawing.bandPointerX || view.pointerY != drawing.bandPointerY;
    if (drawing.bandShown && !moved)
        return;
    RemoveBand();
    ShowBand(moved ? BandMessage::Length : BandMessage::Keep);
}

void StartBandAt(int v) {
    drawing.bandStartX = level.vertices[v].x;
    drawing.bandStartY = level.vertices[v].y;
    drawing.bandPointerX = view.pointerX;
    drawing.bandPointerY = view.pointerY;
    drawing.bandShown = false;   // the point's redraw takes the old band away
}

// --- Points ------------------------------------------------------------------------

// Presses on the bars and the info panels are the main loop's.
bool PointerOnMap() {
    int y = view.pointerY + MapAreaTop();
    return !editor.panelHover && y >= kMenuBarHeight && y <= graphics.screenMaxY - kStatusHeight;
}

// The Vertex under the pointer, or a new one there (on the grid while
// snapping is on), highlighted; -1 when the level holds no more.
int VertexAtPointer() {
    int v = GetObjectUnderPointer(kObjVertex);
    if (v >= 0)
        return v;
    int x = ScreenToMapX(view.pointerX), y = ScreenToMapY(view.pointerY);
    SnapToGrid(x, y, config.gridSize);
    v = edits::DrawVertex(level, x, y);
    if (v < 0) {
        ErrorBeep();
        return v;
    }
    WidenMapBounds(level.vertices[v].x, level.vertices[v].y);
    selection.current = v;
    selection.currentDrawn = false;
    return v;
}

// Joins the point before (p) to the latest (v), reusing a LineDef that
// joins them already.
void JoinPoints(int p, int v) {
    edits::DrawnLine line = DrawLineDef(p, v);
    if (line.how == edits::Drawn::Existing) {
        Tell("OldLine %4d", line.lineDef);
        drawing.newLineDef = -1;
    } else {
        drawing.newLineDef = line.lineDef;
        Tell("NewLine %4d", drawing.newLineDef);
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
    int v = VertexAtPointer();
    if (v < 0 || IsLatestPoint(v))
        return;
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
        Tell("Sector %4d", GetSectorAtPoint(level, level.vertices[v].x, level.vertices[v].y));
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

// The error beep for each object the level had no room for.
void BeepRefused(const edits::SectorBuilt& built) {
    for (int beep = 0; beep < built.refusedInserts; ++beep)
        ErrorBeep();
}

std::vector<int> SelectedLineDefs() {
    std::vector<int> out;
    for (int l : selection.list)
        if (ValidLineDef(l))
            out.push_back(l);
    return out;
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
            AddLineDefSplitSector(first.n, last.n, ReplaceableLineDef(first.n, last.n));
            handled = true;
        } else {
            ConnectVertexes(first.n, last.n);
        }
    }
    if (config.autoInsertSector && !handled) {
        SelectShapeLineDefs();
        ForgetSelection(drawing.drawList);
        // A shape left open (Esc, two points closed with Ins, a point
        // merged away) stays bare LineDefs.
        edits::SectorBuilt built = edits::CloseShapeSector(level, SelectedLineDefs(), BuildOf(command),
                                                           ends ? first.n : -1, ends ? last.n : -1);
        BeepRefused(built);
        ForgetSelection(selection.list);
    }
    StartLineDrawing();
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
    if (AddLineDefSplitSector(a, b, -1) == SplitResult::Failed)
        ConnectVertexes(a, b);
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
    edits::SectorInserted inserted = edits::InsertSector(level, SelectedLineDefs());
    if (inserted.refusal.kind == edits::Refusal::Kind::Said) {
        Notice(inserted.refusal.first.c_str(), {inserted.refusal.second.c_str()});
        return;
    }
    if (inserted.refusal.refused()) {
        ErrorBeep();
        return;
    }
    BeepRefused(inserted.built);
    int sector = inserted.built.sector;
    if (sector < 0)
        return;
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
        CancelDrag();
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
    edits::DrawnLine line = DrawLineDef(b, a);
    if (line.how == edits::Drawn::New || line.how == edits::Drawn::NoRoom)
        editor.redrawMap = true;
    return line.how == edits::Drawn::New ? line.lineDef : -1;
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
