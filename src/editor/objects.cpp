#include "editor/objects.h"

#include <algorithm>
#include <vector>

#include "editor/view.h"
#include "level/level.h"
#include "base/config.h"
#include "ui/input.h"

MoveState moveState;

namespace {

// --- Moving ----------------------------------------------------------------------

// The snapping of one move: x -> (x + half) AND mask, kept on the map (and on
// the grid).
struct GridSnap {
    int mask = ~0;
    int half = 0;

    explicit GridSnap(int grid) {
        if (config.gridSnap && grid > 0) {
            mask = -grid;
            half = grid / 2;
        }
    }
    int operator()(int v) const {
        return std::clamp(v & mask, kMapLow, kMapHigh & mask);
    }
};

template <typename T>
void Shift(T& object, int dx, int dy) {
    object.x = ClampToMap(object.x + dx);
    object.y = ClampToMap(object.y + dy);
}

void ShiftThings(const SelectionList& list, int dx, int dy) {
    for (int n : list)
        if (Thing* t = ThingAt(n))
            Shift(*t, dx, dy);
}

void ShiftVertexes(const SelectionList& list, int dx, int dy, const GridSnap& snap) {
    for (int n : list) {
        Vertex* v = VertexAt(n);
        if (!v)
            continue;
        v->x = static_cast<int16_t>(snap(v->x + snap.half + dx));
        v->y = static_cast<int16_t>(snap(v->y + snap.half + dy));
        WidenMapBounds(v->x, v->y);
    }
}

// Adds the ends of a LineDef to the list, each Vertex once.
void TakeEnds(const LineDef& ld, std::vector<bool>& taken, SelectionList& out) {
    for (uint16_t v : {ld.start, ld.end})
        if (ValidVertex(v) && !taken[v]) {
            taken[v] = true;
            SelectObject(out, v);
        }
}

SelectionList VertexesToMove(int mode, const SelectionList& objects) {
    std::vector<bool> taken(static_cast<size_t>(level.vertices.count), false);
    SelectionList out;
    if (mode == kObjLineDef) {
        for (int n : objects)
            if (const LineDef* ld = LineDefAt(n))
                TakeEnds(*ld, taken, out);
        return out;
    }
    std::vector<bool> listed(static_cast<size_t>(level.sectors.count), false);
    for (int s : objects)
        if (ValidSector(s))
            listed[static_cast<size_t>(s)] = true;
    auto inList = [&](uint16_t side) {
        int s = SectorOfSide(level, side);
        return s >= 0 && listed[static_cast<size_t>(s)];
    };
    for (const LineDef& ld : level.lineDefs)
        if (inList(ld.sideDef1) || inList(ld.sideDef2))
            TakeEnds(ld, taken, out);
    return out;
}

SelectionList LineDefsTouching(const SelectionList& vertexes) {
    std::vector<bool> moving(static_cast<size_t>(level.vertices.count), false);
    for (int v : vertexes)
        moving[static_cast<size_t>(v)] = true;
    auto moves = [&](uint16_t v) { return ValidVertex(v) && moving[v]; };
    SelectionList out;
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (moves(level.lineDefs[l].start) || moves(level.lineDefs[l].end))
            SelectObject(out, l);
    return out;
}

void ForgetMove() {
    ForgetSelection(moveState.list);
    ForgetSelection(moveState.touched);
    moveState.backup.clear();
    moveState.type = kObjNone;
    moveState.moved = moveState.copy = moveState.imageShown = false;
}

}  // namespace

int InsertObject(int type, int from, int x, int y) {
    int n = AddObject(level, type, from, x, y);
    if (n < 0)
        ErrorBeep();
    else if (type == kObjVertex)
        WidenMapBounds(level.vertices[n].x, level.vertices[n].y);
    return n;
}

void SnapToGrid(int& x, int& y, int grid) {
    GridSnap snap(grid);
    x = snap(x + snap.half);
    y = snap(y + snap.half);
}

bool MoveObjectsToCoords(int type, const SelectionList& list, int x, int y, int grid) {
    SnapToGrid(x, y, grid);
    if (list.empty()) {
        moveState.refX = static_cast<int16_t>(x);
        moveState.refY = static_cast<int16_t>(y);
        return true;
    }
    int dx = x - moveState.refX, dy = y - moveState.refY;
    if (dx == 0 && dy == 0)
        return false;
    switch (type) {
    case kObjThing:
        ShiftThings(list, dx, dy);
        break;
    case kObjVertex:
        ShiftVertexes(list, dx, dy, GridSnap(grid));
        break;
    case kMoveFreeVertexes:
        ShiftVertexes(list, dx, dy, GridSnap(0));
        break;
    default:
        return true;
    }
    MarkChanged(level, type);
    return true;
}

bool BeginMove(int mode, const SelectionList& objects, int x, int y, int grid) {
    bool copy = moveState.copy;
    ForgetMove();
    moveState.copy = copy;
    bool things = mode == kObjThing;
    if (things || mode == kObjVertex)
        moveState.list = ExistingObjects(level, mode, objects);
    else if (mode == kObjLineDef || mode == kObjSector)
        moveState.list = VertexesToMove(mode, objects);
    if (moveState.list.empty())
        return false;
    moveState.type = things ? kObjThing : mode == kObjVertex ? kObjVertex : kMoveFreeVertexes;
    for (int n : moveState.list) {
        int16_t px = 0, py = 0;
        if (things)
            px = level.things[n].x, py = level.things[n].y;
        else
            px = level.vertices[n].x, py = level.vertices[n].y;
        moveState.backup.push_back({px, py});
    }
    if (!things)
        moveState.touched = LineDefsTouching(moveState.list);
    MoveObjectsToCoords(kObjNone, SelectionList(), x, y, grid);
    return true;
}

void EndMove() { ForgetMove(); }

void CancelMove() {
    auto place = moveState.backup.begin();
    for (int n : moveState.list) {
        MapPoint p = *place++;
        if (moveState.type == kObjThing) {
            if (Thing* t = ThingAt(n))
                t->x = p.x, t->y = p.y;
        } else if (Vertex* v = VertexAt(n)) {
            v->x = p.x, v->y = p.y;
        }
    }
    ForgetMove();
}
