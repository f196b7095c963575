#include "editor/selection.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <utility>

#include "editor/map_draw.h"
#include "editor/picking.h"
#include "editor/view.h"
#include "level/level.h"
#include "platform/video.h"
#include "base/config.h"
#include "ui/graphics.h"
#include "ui/input.h"
#include "ui/message_box.h"

SelectionState selection;

namespace {

constexpr int kSelectBeepMs = 10;

int HighlightColour() { return config.colors[kColorHiLight]; }

void Tell(const char* text) {
    if (selection.message)
        selection.message(text);
}

// Flags for quick membership tests of a list of objects numbered 0..count-1.
std::vector<bool> Membership(const SelectionList& list, int count) {
    std::vector<bool> in(static_cast<size_t>(std::max(count, 0)), false);
    for (int n : list)
        if (n >= 0 && n < count)
            in[static_cast<size_t>(n)] = true;
    return in;
}

bool Member(const std::vector<bool>& in, int n) {
    return n >= 0 && static_cast<size_t>(n) < in.size() && in[static_cast<size_t>(n)];
}

int SideSector(int sideDef) {
    const SideDef* sd = SideDefAt(sideDef);
    return sd && ValidSector(sd->sector) ? sd->sector : -1;
}

// The XOR outline of the selection box, from its first corner to the pointer.
void DrawBoxOutline() {
    SelectionBox& box = selection.box;
    PointerGuard guard;
    Canvas& screen = Screen();
    screen.setwritemode(kXorPut);
    screen.setlinestyle(config.selectDashed ? kDottedLine : kSolidLine, 0, kNormWidth);
    SetColor(config.colors[kColorSelectBox]);
    screen.rectangle(box.sx0, box.sy0, box.sx1, box.sy1);
    screen.setlinestyle(kSolidLine, 0, config.lineThickness == 3 ? kThickWidth : kNormWidth);
    screen.setwritemode(kCopyPut);
}

void PlaceBoxOutline() {
    SelectionBox& box = selection.box;
    box.sx0 = MapToScreenX(box.x0);
    box.sy0 = MapToScreenY(box.y0);
    box.sx1 = view.pointerX;
    box.sy1 = view.pointerY;
    DrawBoxOutline();
    box.drawn = true;
}

void RemoveBoxOutline() {
    if (selection.box.drawn)
        DrawBoxOutline();
    selection.box.drawn = false;
}

// The highlight of the selection and of the highlighted object, removed or
// drawn (XOR) while the map on the screen is complete.
void ToggleSelectionHighlights() {
    int mode = CurrentEditMode();
    HighlightSelection(mode, selection.list);
    if (selection.currentDrawn)
        HighlightObject(mode, selection.current, HighlightColour());
}

// Puts a new list in the place of the selection, keeping the marks and the
// highlight right on the screen (the highlight shows what is selected
// beneath it).
void ReplaceSelection(SelectionList list) {
    bool onScreen = mapDraw.mapComplete;
    if (onScreen)
        ToggleSelectionHighlights();
    ForgetSelection(selection.list);
    selection.list = std::move(list);
    if (onScreen)
        ToggleSelectionHighlights();
    else
        view.redrawPending = true;
}

// Widens a box to take in a point.
void TakeIn(int x, int y, int& minX, int& minY, int& maxX, int& maxY) {
    minX = std::min(minX, x), maxX = std::max(maxX, x);
    minY = std::min(minY, y), maxY = std::max(maxY, y);
}

SelectionList SectorsToLineDefs(const SelectionList& sectors) {
    std::vector<bool> in = Membership(sectors, level.sectors.count);
    SelectionList out;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (Member(in, SideSector(ld.sideDef1)) || Member(in, SideSector(ld.sideDef2)))
            SelectObject(out, l);
    }
    return out;
}

SelectionList LineDefsToVertexes(const SelectionList& lineDefs) {
    std::vector<bool> taken(static_cast<size_t>(level.vertices.count), false);
    SelectionList out;
    auto take = [&](int v) {
        if (ValidVertex(v) && !taken[static_cast<size_t>(v)]) {
            taken[static_cast<size_t>(v)] = true;
            SelectObject(out, v);
        }
    };
    for (int n : lineDefs)
        if (const LineDef* ld = LineDefAt(n)) {
            take(ld->start);
            take(ld->end);
        }
    return out;
}

// A Sector stays only when every LineDef beside it is selected.
SelectionList LineDefsToSectors(const SelectionList& lineDefs) {
    std::vector<bool> selected = Membership(lineDefs, level.lineDefs.count);
    std::vector<bool> keep(static_cast<size_t>(level.sectors.count), true);
    auto drop = [&](int sector) {
        if (ValidSector(sector))
            keep[static_cast<size_t>(sector)] = false;
    };
    for (int l = 0; l < level.lineDefs.count; ++l) {
        if (selected[static_cast<size_t>(l)])
            continue;
        drop(SideSector(level.lineDefs[l].sideDef1));
        drop(SideSector(level.lineDefs[l].sideDef2));
    }
    SelectionList out;
    for (int s = 0; s < level.sectors.count; ++s)
        if (keep[static_cast<size_t>(s)])
            SelectObject(out, s);
    return out;
}

SelectionList VertexesToLineDefs(const SelectionList& vertexes) {
    std::vector<bool> in = Membership(vertexes, level.vertices.count);
    SelectionList out;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (Member(in, ld.start) && Member(in, ld.end))
            SelectObject(out, l);
    }
    return out;
}

SelectionList Converted(int oldMode, int newMode, const SelectionList& list) {
    if (oldMode == kObjSector && newMode == kObjLineDef)
        return SectorsToLineDefs(list);
    if (oldMode == kObjLineDef && newMode == kObjVertex)
        return LineDefsToVertexes(list);
    if (oldMode == kObjLineDef && newMode == kObjSector)
        return LineDefsToSectors(list);
    if (oldMode == kObjVertex && newMode == kObjLineDef)
        return VertexesToLineDefs(list);
    return SelectionList();
}

// The highlighted object a mode starts with.
int StartObject(int mode) {
    int index = ModeIndex(mode);
    int max = GetMaxObjectNum(mode);
    int n = index >= 0 ? selection.lastObject[index] : -1;
    if (n > max)
        n = -1;
    if (n < 0 && config.selectObject0 == 1 && max >= 0)
        n = 0;
    return n;
}

}  // namespace

bool CheckSelection(CountRule rule, int needed, int type, const SelectionList& list,
                    SelectionCount* found) {
    SelectionCount c;
    c.count = list.size();
    if (!list.empty()) {
        c.first = list.head();
        c.last = list.last();
    }
    if (found)
        *found = c;
    bool exact = rule == CountRule::Exactly;
    if (exact ? c.count == needed : c.count >= needed)
        return true;
    char text[80];
    std::snprintf(text, sizeof text, exact ? "Select exactly %d %ss" : "Select at least %d %ss",
                  needed, ObjectTypeName(type));
    MessageBox(kCentred, kCentred, LineAlign::Centred, "Ok!", kAnyKey, nullptr, 0, text, {});
    return false;
}

void ResetSelection() {
    selection.list = SelectionList();
    ResetListedObjectCount();
    selection.current = -1;
    selection.currentDrawn = false;
    std::fill(std::begin(selection.lastObject), std::end(selection.lastObject), -1);
    selection.box = SelectionBox();
}

int CurrentEditMode() { return config.editMode; }

int ModeIndex(int mode) {
    switch (mode) {
    case kObjThing: return 0;
    case kObjLineDef: return 1;
    case kObjVertex: return 2;
    case kObjSector: return 3;
    default: return -1;
    }
}

void RememberObject(int mode, int n) {
    int index = ModeIndex(mode);
    if (index >= 0)
        selection.lastObject[index] = n;
}

void SetCurrentObject(int n) {
    int mode = CurrentEditMode();
    if (n == selection.current && (selection.currentDrawn || n < 0))
        return;
    if (selection.currentDrawn)
        HighlightObject(mode, selection.current, HighlightColour());
    selection.current = n;
    selection.currentDrawn = n >= 0;
    if (n >= 0)
        HighlightObject(mode, n, HighlightColour());
}

void DrawSelectionHighlights() {
    int mode = CurrentEditMode();
    HighlightSelection(mode, selection.list);
    selection.currentDrawn = selection.current >= 0;
    if (selection.currentDrawn)
        HighlightObject(mode, selection.current, HighlightColour());
    if (selection.box.active)
        PlaceBoxOutline();
}

bool FollowPointer(bool overPanel, HighlightHold hold) {
    bool changed = false;
    if (config.highlightFollows && !overPanel) {
        int n = GetObjectUnderPointer(CurrentEditMode(), config.selectRange);
        if (n < 0 && hold == HighlightHold::UnderPointerOnly && selection.current >= 0) {
            SetCurrentObject(-1);
            changed = true;
        } else if (n >= 0 && n != selection.current) {
            SetCurrentObject(n);
            changed = true;
        }
    }
    int current = selection.current;
    SelectionList& list = selection.list;
    if (current >= 0 && !list.empty() && list.head() != current && IsSelected(list, current)) {
        UnSelectObject(list, current);
        SelectObject(list, current);
    }
    return changed;
}

bool ToggleCurrentSelected() {
    int mode = CurrentEditMode();
    int n = GetObjectUnderPointer(mode, config.selectRange);
    if (n < 0) {
        ErrorBeep();
        return false;
    }
    SetCurrentObject(n);
    // The highlight shows what is selected beneath it: off while that changes.
    HighlightObject(mode, n, HighlightColour());
    if (IsSelected(selection.list, n)) {
        MarkSelectedObject(mode, n);
        UnSelectObject(selection.list, n);
    } else {
        SelectObject(selection.list, n);
        MarkSelectedObject(mode, n);
    }
    HighlightObject(mode, n, HighlightColour());
    if (!selection.list.empty())
        Beep(config.beepSelectFreq, kSelectBeepMs);
    return true;
}

void ClearSelection() { ReplaceSelection(SelectionList()); }

void SelectAll() {
    SelectionList all;
    int count = GetMaxObjectNum(CurrentEditMode()) + 1;
    for (int n = 0; n < count; ++n)
        SelectObject(all, n);
    ReplaceSelection(std::move(all));
}

void InvertSelection() {
    int count = GetMaxObjectNum(CurrentEditMode()) + 1;
    std::vector<bool> selected = Membership(selection.list, count);
    SelectionList inverted;
    for (int n = 0; n < count; ++n)
        if (!Member(selected, n))
            SelectObject(inverted, n);
    ReplaceSelection(std::move(inverted));
}

bool SelectionBounds(int& minX, int& minY, int& maxX, int& maxY) {
    minX = minY = INT_MAX;
    maxX = maxY = INT_MIN;
    int mode = CurrentEditMode();
    auto takeLineDef = [&](const LineDef& ld) {
        for (int v : {ld.start, ld.end})
            if (const Vertex* p = VertexAt(v))
                TakeIn(p->x, p->y, minX, minY, maxX, maxY);
    };
    if (mode == kObjSector) {
        std::vector<bool> in = Membership(selection.list, level.sectors.count);
        for (const LineDef& ld : level.lineDefs)
            if (Member(in, SideSector(ld.sideDef1)) || Member(in, SideSector(ld.sideDef2)))
                takeLineDef(ld);
    } else {
        for (int n : selection.list) {
            if (mode == kObjLineDef) {
                if (const LineDef* ld = LineDefAt(n))
                    takeLineDef(*ld);
            } else if (mode == kObjThing) {
                if (const Thing* t = ThingAt(n))
                    TakeIn(t->x, t->y, minX, minY, maxX, maxY);
            } else if (const Vertex* v = VertexAt(n)) {
                TakeIn(v->x, v->y, minX, minY, maxX, maxY);
            }
        }
    }
    return minX <= maxX;
}

void ForgetMissingObjects() {
    int max = GetMaxObjectNum(CurrentEditMode());
    std::vector<int> gone;
    for (int n : selection.list)
        if (n > max)
            gone.push_back(n);
    for (int n : gone)
        UnSelectObject(selection.list, n);
    if (selection.current > max) {
        selection.current = -1;
        selection.currentDrawn = false;
    }
    for (int mode : {kObjThing, kObjLineDef, kObjVertex, kObjSector}) {
        int& last = selection.lastObject[ModeIndex(mode)];
        if (last > GetMaxObjectNum(mode))
            last = -1;
    }
}

void StartSelectionBox() {
    SelectionBox& box = selection.box;
    RemoveBoxOutline();
    box.active = true;
    box.x0 = ScreenToMapX(view.pointerX);
    box.y0 = ScreenToMapY(view.pointerY);
    PlaceBoxOutline();
}

void MoveSelectionBox() {
    SelectionBox& box = selection.box;
    if (!box.active)
        return;
    if (box.drawn && box.sx1 == view.pointerX && box.sy1 == view.pointerY &&
        box.sx0 == MapToScreenX(box.x0) && box.sy0 == MapToScreenY(box.y0))
        return;
    RemoveBoxOutline();
    PlaceBoxOutline();
}

int EndSelectionBox() {
    SelectionBox& box = selection.box;
    if (!box.active)
        return 0;
    RemoveBoxOutline();
    box.active = false;
    int mode = CurrentEditMode();
    bool onScreen = mapDraw.mapComplete;
    if (onScreen)
        ToggleSelectionHighlights();
    selection.currentDrawn = false;
    SelectionList previous = std::move(selection.list);
    selection.list = SelectionList();
    if (!config.additiveSelect)
        ForgetSelection(previous);
    Tell("Selecting Objects");
    SelectionList found = SelectObjectsInBox(mode, box.x0, box.y0, ScreenToMapX(view.pointerX),
                                             ScreenToMapY(view.pointerY));
    if (!previous.empty()) {
        std::vector<bool> in = Membership(found, GetMaxObjectNum(mode) + 1);
        for (int n : previous)
            if (!Member(in, n))
                SelectObject(found, n);
        ForgetSelection(previous);
    }
    selection.list = std::move(found);
    if (selection.list.empty()) {
        selection.current = -1;
    } else {
        Tell("Use Button 2 to Move or O to Copy");
        selection.current = selection.list.head();
        Beep(config.beepSelectFreq, kSelectBeepMs);
    }
    if (onScreen)
        DrawSelectionHighlights();
    else
        view.redrawPending = true;
    return selection.list.size();
}

void CancelSelectionBox() {
    RemoveBoxOutline();
    selection.box.active = false;
}

int NextObject(int mode, int n) {
    int max = GetMaxObjectNum(mode);
    if (max < 0)
        return -1;
    int next = n + 1;
    return next > max || next < 0 ? 0 : next;
}

int PrevObject(int mode, int n) {
    int max = GetMaxObjectNum(mode);
    if (max < 0)
        return -1;
    return n - 1 < 0 || n - 1 > max ? max : n - 1;
}

void ConvertSelection(int oldMode, int newMode) {
    CancelSelectionBox();
    if (oldMode == newMode)
        return;
    if (selection.current >= 0)
        RememberObject(oldMode, selection.current);
    SelectionList converted = Converted(oldMode, newMode, selection.list);
    ForgetSelection(selection.list);
    selection.list = std::move(converted);
    selection.current = StartObject(newMode);
    selection.currentDrawn = false;
    view.redrawPending = true;
}
