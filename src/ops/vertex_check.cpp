#include "ops/vertex_check.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/config.h"
#include "base/format.h"
#include "editor/editor.h"
#include "editor/picking.h"
#include "level/level.h"
#include "ops/edit_support.h"
#include "ops/vertex_ops.h"
#include "platform/keys.h"
#include "ui/input.h"

namespace {

// One run of the check: the lists it keeps and what it did so far.
struct VertexCheck {
    std::vector<int> vertexes;   // newest first; -1 for one merged away
    std::vector<int>* lineDefs = nullptr;
    bool interactive = false;
    bool merged = false;        // phase 1 merged something
    bool split = false;         // phase 2 split something
    bool endMet = false;        // phase 2 met a Vertex at a LineDef's end

    TrackedLists Tracked() { return {&vertexes, lineDefs}; }
};

bool EscapePressed() {
    int key = 0;
    return KeyWaiting() && ReadKey(&key) && key == kKeyEsc;
}

// A find: the map is to be drawn afresh, and the status line says where.
void ShowFind(const std::string& status) {
    editor.redrawMap = true;
    ShowEditorMessage(status.c_str());
}

// Asks before a change (interactive only). False when the user said no.
bool Confirmed(const VertexCheck& check, const char* first, const char* second) {
    return !check.interactive || AskYes(first, second);
}

// The lowest-numbered other Vertex on exactly the point of v; -1 for none.
int VertexOnTopOf(int v) {
    const Vertex p = level.vertices[v];
    for (int w = 0; w < level.vertices.count; ++w)
        if (w != v && level.vertices[w].x == p.x && level.vertices[w].y == p.y)
            return w;
    return -1;
}

bool InList(const std::vector<int>& list, int n) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

// Phase 1. False when the check is to end.
bool MergeOverlaps(VertexCheck& check) {
    ShowEditorMessage("Checking Vertex OverLap-Press Esc to Cancel");
    bool asked = false;
    for (size_t i = 0; i < check.vertexes.size(); ++i) {
        if (EscapePressed())
            return false;
        int v = check.vertexes[i];
        int w = ValidVertex(v) ? VertexOnTopOf(v) : -1;
        if (w < 0)
            continue;
        ShowFind(Format("Starting with Vertex %d & %d", w, v));
        if (!asked) {
            asked = true;
            if (!Confirmed(check, "One or more Vertices specify the same position",
                           "Do you want to merge them into one?"))
                return false;
        }
        // The Vertex kept joins the list, and is checked in its turn (a third
        // Vertex may lie on the same point).
        int kept = edits::MergeVertexesInto(level, w, {v}, check.Tracked());
        if (!InList(check.vertexes, kept))
            check.vertexes.push_back(kept);
        check.merged = true;
    }
    return true;
}

// Whether the box around LineDef ld's ends reaches within r of p: the quick
// test that spares most LineDefs the exact one.
bool NearLineDef(const LineDef& ld, Vertex p, int r) {
    const Vertex* s = VertexAt(ld.start);
    const Vertex* e = VertexAt(ld.end);
    return s && e && std::min(s->x, e->x) <= p.x + r && std::max(s->x, e->x) >= p.x - r &&
           std::min(s->y, e->y) <= p.y + r && std::max(s->y, e->y) >= p.y - r;
}

// Phase 2. False when the check is to end.
bool SplitLineDefsAtVertexes(VertexCheck& check) {
    ShowEditorMessage(" Checking LineDef Split-Press Esc to Cancel");
    bool asked = false;
    int r = OverlapTolerance();
    for (int v : check.vertexes) {
        if (EscapePressed())
            return false;
        if (!ValidVertex(v))
            continue;
        const Vertex p = level.vertices[v];
        int existing = level.lineDefs.count;
        for (int l = 0; l < existing; ++l) {
            const LineDef& ld = level.lineDefs[l];
            if (ld.start == v || ld.end == v) {
                check.endMet = true;
                continue;
            }
            if (!NearLineDef(ld, p, r) || !IsLineDefInside(l, p.x - r, p.y - r, p.x + r, p.y + r))
                continue;
            ShowFind(Format("Starting with LineDef %d Vertex %d", l, v));
            if (!asked) {
                asked = true;
                if (!Confirmed(check, "One or more Vertices are on a LineDef",
                               "Do you want to split the LineDef there?"))
                    return false;
            }
            if (SplitLineDefAtVertex(l, v) < 0)
                return false;
            check.split = true;
        }
    }
    return true;
}

// The two Vertexes of a LineDef in either direction, as one number.
uint32_t EndsKey(const LineDef& ld) {
    return ld.start < ld.end ? uint32_t{ld.start} << 16 | ld.end : uint32_t{ld.end} << 16 | ld.start;
}

// LineDef i takes the SideDefs it lacks from j, which then goes.
void MergeSuperimposed(VertexCheck& check, int i, int j) {
    LineDef& keep = level.lineDefs[i];
    LineDef& gone = level.lineDefs[j];
    bool reversed = !(keep.start == gone.start && keep.end == gone.end);
    uint16_t& fromFirst = reversed ? gone.sideDef2 : gone.sideDef1;
    uint16_t& fromSecond = reversed ? gone.sideDef1 : gone.sideDef2;
    if (!ValidSideDef(keep.sideDef1)) {
        keep.sideDef1 = fromFirst;
        fromFirst = kNoReference;
    }
    if (!ValidSideDef(keep.sideDef2)) {
        keep.sideDef2 = fromSecond;
        fromSecond = kNoReference;
    }
    if (ValidSideDef(keep.sideDef1) && ValidSideDef(keep.sideDef2) && !(keep.flags & kLineTwoSided))
        keep.flags = kLineTwoSided;
    DeleteTracked(level, kObjLineDef, {j}, check.Tracked());
}

// Phase 3: each LineDef against the lowest-numbered one before it on the
// same two Vertexes. False when the check is to end.
bool MergeSuperimposedLineDefs(VertexCheck& check) {
    ShowEditorMessage(" Checking LineDef SuperImposed-Press Esc to Cancel");
    std::unordered_map<uint32_t, int> first;
    for (int j = 0; j < level.lineDefs.count;) {
        auto [at, isNew] = first.emplace(EndsKey(level.lineDefs[j]), j);
        if (isNew) {
            ++j;
            continue;
        }
        int i = at->second;
        if (EscapePressed())
            return false;
        ShowFind(Format("Starting with LineDefs %d & %d", i, j));
        if (!Confirmed(check, "Some LineDefs are Superimposed", "Do you want to merge them into one?"))
            return false;
        MergeSuperimposed(check, i, j);   // the next LineDef moves down to j
    }
    return true;
}

void RunCheck(VertexCheck& check) {
    if (!MergeOverlaps(check))
        return;
    bool splitCheck = !check.interactive || config.lineDefSplit || check.merged;
    if (splitCheck && !SplitLineDefsAtVertexes(check))
        return;
    if (check.endMet && (check.merged || check.split))
        MergeSuperimposedLineDefs(check);
}

}  // namespace

void CheckVertexes(SelectionList& vertexes, CheckStyle style) {
    VertexCheck check;
    check.vertexes = NumbersOf(vertexes);
    check.interactive = style == CheckStyle::Interactive;
    RunCheck(check);
    ReplaceList(vertexes, check.vertexes, level.vertices.count);
}

void CheckLineDefVertexes(SelectionList& lineDefs, CheckStyle style) {
    std::vector<int> listed = NumbersOf(lineDefs);
    VertexCheck check;
    check.lineDefs = &listed;
    check.interactive = style == CheckStyle::Interactive;
    for (int l : listed)
        if (const LineDef* ld = LineDefAt(l))
            for (int v : {ld->start, ld->end})
                if (ValidVertex(v) && !InList(check.vertexes, v))
                    check.vertexes.push_back(v);
    RunCheck(check);
    ReplaceList(lineDefs, listed, level.lineDefs.count);
}
