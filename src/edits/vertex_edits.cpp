#include "edits/vertex_edits.h"

#include "edits/objects.h"
#include "level/history.h"
#include "level/level.h"

namespace edits {
namespace {

// The LineDefs that start and that end at Vertex v.
struct Meeting {
    std::vector<int> starting, ending;
};

Meeting LineDefsMeetingAt(const LevelState& level, int v) {
    Meeting m;
    for (int l = 0; l < level.lineDefs.count; ++l) {
        if (level.lineDefs[l].start == v)
            m.starting.push_back(l);
        if (level.lineDefs[l].end == v)
            m.ending.push_back(l);
    }
    return m;
}

// Joins the two LineDefs at v into one; false (changing nothing) unless
// exactly one starts and one ends there.
bool JoinAt(LevelState& level, int v, TrackedLists tracked) {
    Meeting m = LineDefsMeetingAt(level, v);
    if (m.starting.size() != 1 || m.ending.size() != 1)
        return false;
    LineDef& ending = level.lineDefs[m.ending[0]];
    const LineDef& starting = level.lineDefs[m.starting[0]];
    // Two LineDefs between the same two Vertexes would join into one of no
    // length: both go with the Vertex.
    if (ending.start != starting.end) {
        ending.end = starting.end;
        DeleteTracked(level, kObjLineDef, {m.starting[0]}, tracked);
    }
    DeleteTracked(level, kObjVertex, {v}, tracked);
    return true;
}

uint16_t CopyOfSide(LevelState& level, uint16_t side) {
    if (!level.sideDefs.valid(side))
        return kNoReference;
    return static_cast<uint16_t>(AddObject(level, kObjSideDef, side, 0, 0));
}

}  // namespace

JoinOutcome DeleteVertexesJoinLineDefs(LevelState& level, const SelectionList& vertexes) {
    std::vector<int> left = NumbersOf(vertexes);
    EditScope edit("join LineDefs");
    JoinOutcome outcome;
    for (size_t i = 0; i < left.size(); ++i) {
        int v = left[i];
        if (!level.vertices.valid(v))
            continue;
        if (JoinAt(level, v, {&left, nullptr}))
            ++outcome.joined;
        else
            outcome.refused.push_back(v);
    }
    if (outcome.joined > 0)
        edit.Commit("delete " + CountOf(outcome.joined, kObjVertex) + " and join LineDefs");
    return outcome;
}

int MergeVertexesInto(LevelState& level, int keep, const std::vector<int>& gone, TrackedLists tracked) {
    std::vector<bool> merged(static_cast<size_t>(level.vertices.count), false);
    std::vector<int> doomed;
    for (int v : gone)
        if (level.vertices.valid(v) && v != keep && !merged[static_cast<size_t>(v)]) {
            merged[static_cast<size_t>(v)] = true;
            doomed.push_back(v);
        }
    if (doomed.empty() || !level.vertices.valid(keep))
        return keep;
    auto isMerged = [&](uint16_t v) { return v < merged.size() && merged[v]; };
    for (LineDef& ld : level.lineDefs) {
        bool start = isMerged(ld.start), end = isMerged(ld.end);
        if (start && !end && ld.end != keep)
            ld.start = static_cast<uint16_t>(keep);
        else if (end && !start && ld.start != keep)
            ld.end = static_cast<uint16_t>(keep);
    }
    DeleteTracked(level, kObjVertex, doomed, tracked);
    int below = 0;
    for (int v : doomed)
        below += v < keep;
    return keep - below;
}

bool MergeVertexes(LevelState& level, SelectionList& vertexes) {
    if (vertexes.size() < 2)
        return false;
    int keep = vertexes.head();
    std::vector<int> gone = NumbersOf(vertexes);
    gone.erase(gone.begin());
    EditScope edit("merge " + CountOf(vertexes.size(), kObjVertex));
    ForgetSelection(vertexes);
    MergeVertexesInto(level, keep, gone);
    edit.Commit();
    return true;
}

int SplitLineDefAtVertex(LevelState& level, int ld, int v) {
    const LineDef* line = level.lineDefs.at(ld);
    if (!line || !level.vertices.valid(v))
        return -1;
    int sides = level.sideDefs.valid(line->sideDef1) + level.sideDefs.valid(line->sideDef2);
    if (!RoomFor(level, 1, sides, 0, 0))
        return -1;
    int added = AddObject(level, kObjLineDef, ld, 0, 0);
    uint16_t side1 = CopyOfSide(level, level.lineDefs[ld].sideDef1);
    uint16_t side2 = CopyOfSide(level, level.lineDefs[ld].sideDef2);
    LineDef& copy = level.lineDefs[added];
    copy.start = static_cast<uint16_t>(v);
    copy.sideDef1 = side1;
    copy.sideDef2 = side2;
    level.lineDefs[ld].end = static_cast<uint16_t>(v);
    return added;
}

SplitCount SplitLineDefs(LevelState& level, const SelectionList& lineDefs) {
    EditScope edit("split LineDefs");
    SplitCount count;
    for (int l : lineDefs) {
        const LineDef* ld = level.lineDefs.at(l);
        const Vertex* a = ld ? level.vertices.at(ld->start) : nullptr;
        const Vertex* b = ld ? level.vertices.at(ld->end) : nullptr;
        if (!a || !b)
            continue;
        int x = (a->x + b->x) / 2, y = (a->y + b->y) / 2;
        // A LineDef too short to have a point between its ends would leave a
        // LineDef of no length.
        if ((x == a->x && y == a->y) || (x == b->x && y == b->y)) {
            ++count.refused;
            continue;
        }
        if (!RoomFor(level, 1, level.sideDefs.valid(ld->sideDef1) + level.sideDefs.valid(ld->sideDef2), 1, 0)) {
            ++count.refused;
            break;
        }
        SplitLineDefAtVertex(level, l, AddObject(level, kObjVertex, -1, x, y));
        ++count.split;
    }
    if (count.split > 0)
        edit.Commit("split " + CountOf(count.split, kObjLineDef));
    return count;
}

}  // namespace edits
