#include "editor/object_commands.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "base/config.h"
#include "editor/editor.h"
#include "editor/editor_actions.h"
#include "editor/map_draw.h"
#include "editor/objects.h"
#include "editor/picking.h"
#include "editor/selection.h"
#include "editor/view.h"
#include "edits/object_edits.h"
#include "gamedefs/thingtypes.h"
#include "level/history.h"
#include "level/level.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"

namespace {

constexpr int kSearchRings = 15;
constexpr int kRingSelectRange = 2;
constexpr float kGoToZoomLimit = 4.0f;

void Tell(const char* text) {
    if (selection.message)
        selection.message(text);
}

int Mode() { return CurrentEditMode(); }

int PointerMapX() { return ScreenToMapX(view.pointerX); }
int PointerMapY() { return ScreenToMapY(view.pointerY); }

// "delete 3 LineDefs", "move 1 Vertex".
std::string StepName(const char* verb, int count, int type) {
    std::string name = std::string(verb) + " " + std::to_string(count) + " " + ObjectTypeName(type);
    if (count != 1)
        name += type == kObjVertex ? "es" : "s";
    return name;
}

// What a command acts on: the selection, or else the highlighted object.
int TargetCount() { return selection.list.empty() ? 1 : selection.list.size(); }

SelectionList HighlightedAlone() {
    SelectionList list;
    SelectObject(list, selection.current);
    return list;
}

// --- The drag image ----------------------------------------------------------------

// Calls line(x1, y1, x2, y2) for each LineDef of the image, or
// square(x1, y1, x2, y2) for each Thing's square, in map coordinates.
template <class Line, class Square>
void VisitDragImage(Line line, Square square) {
    if (moveState.type == kObjThing) {
        for (int n : moveState.list)
            if (const Thing* t = ThingAt(n)) {
                int r = GetThingTypeRadius(static_cast<uint16_t>(t->type));
                square(t->x - r, t->y - r, t->x + r, t->y + r);
            }
        return;
    }
    for (int l : moveState.touched) {
        const LineDef* ld = LineDefAt(l);
        const Vertex* s = ld ? VertexAt(ld->start) : nullptr;
        const Vertex* e = ld ? VertexAt(ld->end) : nullptr;
        if (s && e)
            line(s->x, s->y, e->x, e->y);
    }
}

// The pen of the image, left set after it is drawn or taken off.
void UseDragPen() {
    Canvas& screen = Screen();
    screen.setlinestyle(kSolidLine, 0, config.lineThickness == 3 ? kThickWidth : kNormWidth);
    SetColor(config.colors[kColorDragging]);
    screen.setwritemode(kCopyPut);
}

// Draws the image once in XOR: a second drawing removes it.
void DrawDragImage() {
    UseDragPen();
    Screen().setwritemode(kXorPut);
    VisitDragImage(DrawMapLine, DrawMapRect);
    Screen().setwritemode(kCopyPut);
}

// Drawing a large image again to take it off costs as much as drawing it (a
// thousand Vertexes turned: their LineDefs cross the whole map). So when the
// image fills enough of the box it can touch, the box's pixels are kept as
// they were before it was drawn and as it left them: while the screen there
// is still as it left it, putting back the first copy takes the image off,
// pixel for pixel as a second drawing would. A sparse image in a large box
// (the whole map turned, its LineDefs short) is drawn again instead: that
// costs less than copying the box.
struct DragImageCopies {
    bool kept = false;
    int left = 0, top = 0, right = -1, bottom = -1;   // screen pixels, both corners in
    int screenWidth = 0, screenHeight = 0;
    std::vector<uint8_t> under, shown;
};
DragImageCopies dragCopies;

// The screen box the image can touch (its corners' box a pixel wider for
// thick lines, inside where drawing lands) and whether the image's pixels
// fill a quarter of it.
void FindImageBox(DragImageCopies& kept) {
    const Canvas& screen = Screen();
    const Viewport v = screen.getviewport();
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    int64_t pixels = 0;
    // The width and height of a shape's box on the screen, the box grown.
    auto measure = [&](int x1, int y1, int x2, int y2, int64_t& w, int64_t& h) {
        int sx1 = MapToScreenX(x1), sx2 = MapToScreenX(x2), sy1 = MapToScreenY(y1), sy2 = MapToScreenY(y2);
        left = std::min({left, sx1, sx2});
        right = std::max({right, sx1, sx2});
        top = std::min({top, sy1, sy2});
        bottom = std::max({bottom, sy1, sy2});
        w = std::abs(int64_t(sx2) - sx1);
        h = std::abs(int64_t(sy2) - sy1);
    };
    auto line = [&](int x1, int y1, int x2, int y2) {
        int64_t w, h;
        measure(x1, y1, x2, y2, w, h);
        pixels += std::max(w, h) + 1;
    };
    auto square = [&](int x1, int y1, int x2, int y2) {
        int64_t w, h;
        measure(x1, y1, x2, y2, w, h);
        pixels += 2 * (w + h);
    };
    VisitDragImage(line, square);
    // Kept within a pixel beyond where drawing lands, so that a box wholly
    // off it (or of an image that drew nothing) comes out empty, never wrapped.
    const bool clip = v.clip;
    const int64_t lowX = clip ? v.left : 0, highX = clip ? v.right : screen.getmaxx();
    const int64_t lowY = clip ? v.top : 0, highY = clip ? v.bottom : screen.getmaxy();
    kept.left = int(std::clamp(int64_t(left) + v.left - 1, lowX, highX + 1));
    kept.top = int(std::clamp(int64_t(top) + v.top - 1, lowY, highY + 1));
    kept.right = int(std::clamp(int64_t(right) + v.left + 1, lowX - 1, highX));
    kept.bottom = int(std::clamp(int64_t(bottom) + v.top + 1, lowY - 1, highY));
    kept.screenWidth = screen.width();
    kept.screenHeight = screen.height();
    const int64_t area = std::max(0, kept.right - kept.left + 1) * int64_t(std::max(0, kept.bottom - kept.top + 1));
    kept.kept = area > 0 && 4 * pixels >= area;
}

// Calls row(pixels of the screen, pixels of the copy, count) for each row
// of the kept box.
template <class Row>
void ForEachKeptRow(DragImageCopies& kept, std::vector<uint8_t>& copy, Row row) {
    if (kept.left > kept.right || kept.top > kept.bottom)
        return;
    Canvas& screen = Screen();
    const size_t width = size_t(kept.right - kept.left + 1);
    copy.resize(width * size_t(kept.bottom - kept.top + 1));
    for (int y = kept.top; y <= kept.bottom; ++y)
        row(screen.pixels() + size_t(y) * size_t(screen.width()) + size_t(kept.left),
            copy.data() + size_t(y - kept.top) * width, width);
}

void KeepRows(DragImageCopies& kept, std::vector<uint8_t>& copy) {
    ForEachKeptRow(kept, copy, [](const uint8_t* pixels, uint8_t* to, size_t n) { std::memcpy(to, pixels, n); });
}

// Whether the screen is as the image left it (and the same screen).
bool StillAsShown(DragImageCopies& kept) {
    const Canvas& screen = Screen();
    if (screen.width() != kept.screenWidth || screen.height() != kept.screenHeight)
        return false;
    bool same = true;
    ForEachKeptRow(kept, kept.shown, [&](const uint8_t* pixels, const uint8_t* shown, size_t n) {
        same = same && std::memcmp(pixels, shown, n) == 0;
    });
    return same;
}

void PutBackUnder(DragImageCopies& kept) {
    ForEachKeptRow(kept, kept.under,
                   [](uint8_t* pixels, const uint8_t* under, size_t n) { std::memcpy(pixels, under, n); });
}

// --- Dragging ----------------------------------------------------------------------

// The edit a drag makes, open from its start to its drop, over many passes
// of the main loop. Held by pointer rather than as a static object, so that
// nothing puts the level back when the program ends during a drag.
EditScope* dragEdit = nullptr;

enum class DragEnd {
    Keep,      // the objects stay where the drag left them: one step
    PutBack,   // the level as before the drag: no step
};

void CloseDragEdit(DragEnd end) {
    if (!dragEdit)
        return;
    if (end == DragEnd::PutBack || !moveState.moved)
        dragEdit->Cancel();
    else
        dragEdit->Commit(StepName("move", TargetCount(), Mode()));
    delete dragEdit;
    dragEdit = nullptr;
}

// An edit left open by a drag that never ended (the editor was reset
// meanwhile) is kept as it is.
void OpenDragEdit() {
    if (dragEdit)
        dragEdit->Commit();
    delete dragEdit;
    dragEdit = new EditScope("move");
}

void StartDrag() {
    if (selection.current < 0 && selection.list.empty()) {
        ErrorBeep();
        return;
    }
    Tell("Selecting Objects to Move - Wait");
    bool alone = selection.list.empty();
    SelectionList single = alone ? HighlightedAlone() : SelectionList();
    bool started = BeginMove(Mode(), alone ? single : selection.list, PointerMapX(), PointerMapY(),
                             config.gridSize);
    ForgetSelection(single);
    if (!started) {
        EndMove();
        ErrorBeep();
        return;
    }
    OpenDragEdit();
    editor.dragging = true;
    if (!moveState.copy)
        HideSelectionHighlights();
    ShowDragImage();
    Tell("When done, Press C to Clear Selected Objects");
}

// The LineDefs with a side in one of the Sectors.
SelectionList LineDefsOfSectors(const SelectionList& sectors) {
    std::vector<bool> listed(static_cast<size_t>(level.sectors.count), false);
    for (int s : sectors)
        if (ValidSector(s))
            listed[static_cast<size_t>(s)] = true;
    auto inList = [&](uint16_t side) {
        const SideDef* sd = SideDefAt(side);
        return sd && ValidSector(sd->sector) && listed[sd->sector];
    };
    SelectionList out;
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (inList(level.lineDefs[l].sideDef1) || inList(level.lineDefs[l].sideDef2))
            SelectObject(out, l);
    return out;
}

// The vertex check on what a drag moved, asking the user.
void CheckMoved() {
    int mode = Mode();
    if (mode == kObjThing)
        return;
    bool alone = selection.list.empty();
    SelectionList single = alone ? HighlightedAlone() : SelectionList();
    SelectionList& moved = alone ? single : selection.list;
    if (mode == kObjSector) {
        SelectionList lineDefs = LineDefsOfSectors(moved);
        editorActions.checkLineDefVertexes(lineDefs, CheckStyle::Interactive);
        ForgetSelection(lineDefs);
    } else if (mode == kObjVertex) {
        editorActions.checkVertexes(moved, CheckStyle::Interactive);
    } else {
        editorActions.checkLineDefVertexes(moved, CheckStyle::Interactive);
    }
    ForgetSelection(single);
    if (selection.current > GetMaxObjectNum(mode))
        selection.current = -1;
}

void EndDrag() {
    Tell("Moving Objects, Please Wait");
    HideDragImage();
    bool moved = moveState.moved;
    CloseDragEdit(DragEnd::Keep);
    EndMove();
    editor.dragging = false;
    editor.redrawMap = true;
    if (moved)
        CheckMoved();
}

// --- Going to an object -----------------------------------------------------------

bool FoundUnderPointer(int type, int n, int range) { return GetObjectUnderPointer(type, range) == n; }

// The midpoint of each LineDef beside Sector n, until one lies in n (the view
// is centred there). (x, y) ends at the last point tried.
bool CentreOnSectorMidpoint(int n, int& x, int& y) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        const SideDef* s1 = SideDefAt(ld.sideDef1);
        const SideDef* s2 = SideDefAt(ld.sideDef2);
        if (!((s1 && s1->sector == n) || (s2 && s2->sector == n)))
            continue;
        const Vertex* a = VertexAt(ld.start);
        const Vertex* b = VertexAt(ld.end);
        if (!a || !b)
            continue;
        x = (a->x + b->x) / 2;
        y = (a->y + b->y) / 2;
        if (GetSectorAtPoint(level, x, y) == n) {
            CentreMapAt(static_cast<int16_t>(x), static_cast<int16_t>(y));
            return true;
        }
    }
    return false;
}

// The corners of growing squares around (x, y), until picking finds n.
bool CentreInRings(int n, int x, int y) {
    for (int d = 1; d <= kSearchRings; ++d) {
        const int corners[4][2] = {{x - d, y - d}, {x - d, y + d}, {x + d, y + d}, {x + d, y - d}};
        for (const auto& c : corners) {
            CentreMapAt(static_cast<int16_t>(c[0]), static_cast<int16_t>(c[1]));
            if (FoundUnderPointer(kObjSector, n, kRingSelectRange))
                return true;
        }
    }
    return false;
}

// A Sector's reference point may lie outside it (a ring, a U shape): true
// when a point inside it was found and the view centred there.
bool CentreInsideSector(int n, int16_t x, int16_t y) {
    if (FoundUnderPointer(kObjSector, n, 0) || GetSectorAtPoint(level, x, y) == n)
        return true;
    int lastX = x, lastY = y;
    return CentreOnSectorMidpoint(n, lastX, lastY) || CentreInRings(n, lastX, lastY);
}

float NextGoToScale(float scale) {
    float next = scale < 1.0f ? 1.0f / (1.0f / scale - 1.0f) : scale + 0.5f;
    return next < kMaxZoom ? next : kMaxZoom;
}

void ZoomUntilFound(int type, int n) {
    while (view.scale < kGoToZoomLimit && !FoundUnderPointer(type, n, config.selectRange)) {
        SetScale(NextGoToScale(view.scale));
        view.redrawPending = true;
    }
}

}  // namespace

void HideSelectionHighlights() {
    if (mapDraw.mapComplete) {
        HighlightSelection(Mode(), selection.list);
        if (selection.currentDrawn)
            HighlightObject(Mode(), selection.current, config.colors[kColorHiLight]);
    }
    selection.currentDrawn = false;
}

void ShowDragImage() {
    if (!moveState.imageShown) {
        PointerGuard guard;
        FindImageBox(dragCopies);
        if (dragCopies.kept)
            KeepRows(dragCopies, dragCopies.under);
        DrawDragImage();
        if (dragCopies.kept)
            KeepRows(dragCopies, dragCopies.shown);
    }
    moveState.imageShown = true;
}

void HideDragImage() {
    if (moveState.imageShown) {
        PointerGuard guard;
        if (dragCopies.kept && StillAsShown(dragCopies)) {
            PutBackUnder(dragCopies);
            UseDragPen();
        } else {
            DrawDragImage();
        }
    }
    moveState.imageShown = false;
}

void InsertObjectCommand() {
    if (Mode() != kObjThing) {
        ErrorBeep();
        return;
    }
    int x = PointerMapX(), y = PointerMapY();
    SnapToGrid(x, y, config.gridSize);
    edits::ThingInserted made = edits::InsertThing(level, selection.current, x, y);
    if (made.thing < 0) {
        ErrorBeep();
        return;
    }
    if (made.modelIsStart) {
        const char* start = GetThingTypeDescription(static_cast<uint16_t>(level.things[selection.current].type));
        Tell((std::string(start) + " not copied: a Thing of the default type").c_str());
    }
    selection.current = made.thing;
    selection.currentDrawn = false;
    RememberObject(kObjThing, made.thing);
    editor.redrawMap = true;
}

void DeleteObjectsCommand() {
    int mode = Mode();
    if (selection.current < 0) {
        ErrorBeep();
        return;
    }
    int count = TargetCount();
    if (mode != kObjThing && !config.expertMode) {
        std::string question = "Do you really want to delete " + std::to_string(count) + " objects?";
        bool yes = ConfirmDel(kCentred, kCentred, question.c_str(),
                              "This also deletes the objects bound to them.");
        editor.redrawMap = true;
        if (!yes)
            return;
    }
    if (editor.dragging) {
        HideDragImage();
        CloseDragEdit(DragEnd::Keep);
        EndMove();
        editor.dragging = false;
    }
    CancelSelectionBox();
    if (selection.list.empty()) {
        SelectionList single = HighlightedAlone();
        edits::DeleteListed(level, mode, single);
    } else {
        edits::DeleteListed(level, mode, selection.list);
    }
    selection.current = -1;
    selection.currentDrawn = false;
    ComputeMapBounds();
    editor.redrawMap = true;
}

void CopyObjectsCommand() {
    int mode = Mode();
    if (selection.current < 0 && selection.list.empty()) {
        ErrorBeep();
        return;
    }
    Tell("Copying Objects");
    bool alone = selection.list.empty();
    SelectionList single = alone ? HighlightedAlone() : SelectionList();
    SelectionList& objects = alone ? single : selection.list;
    bool copied = edits::CopyListed(level, mode, objects);
    if (!copied || objects.empty()) {
        if (!copied)
            ErrorBeep();
        ForgetSelection(single);
        return;
    }
    selection.current = objects.head();
    selection.currentDrawn = false;
    ForgetSelection(single);
    moveState.copy = true;
    editor.redrawMap = true;
    Tell("Press Button 2 to Drag Copy");
}

void MoveObjectsCommand() {
    if (editor.dragging)
        EndDrag();
    else
        StartDrag();
}

void DragStep() {
    int x = PointerMapX(), y = PointerMapY();
    int grid = config.gridSize;
    if (!MoveObjectsToCoords(kObjNone, moveState.list, x, y, grid))
        return;
    HideDragImage();
    if (MoveObjectsToCoords(moveState.type, moveState.list, x, y, grid))
        moveState.moved = true;
    MoveObjectsToCoords(kObjNone, SelectionList(), x, y, grid);
    ShowDragImage();
}

void CancelDrag() {
    HideDragImage();
    CloseDragEdit(DragEnd::PutBack);
    EndMove();
    editor.dragging = false;
    editor.redrawMap = true;
}

void DrawDragHighlights() {
    if (moveState.copy)
        DrawSelectionHighlights();
    else
        selection.currentDrawn = false;
    moveState.imageShown = false;
    ShowDragImage();
}

void GoToObject(int type, int n, GoToMode mode) {
    if (n < 0 || n > GetMaxObjectNum(type))
        return;
    int16_t x = view.origX, y = view.origY;
    GetObjectCoords(type, n, &x, &y);
    CentreMapAt(x, y);
    if (type == kObjThing)
        return;
    bool found = type == kObjSector && CentreInsideSector(n, x, y);
    if (!found && mode == GoToMode::Zoom)
        ZoomUntilFound(type, n);
    CentreMapAt(view.origX, view.origY);
}
