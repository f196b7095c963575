#include "edits/vertex_edits.h"

#include <algorithm>
#include <vector>

#include "edits/builder_geometry.h"
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

// A LineDef's two ends, as the splits of one pass see the level.
struct Ends {
    MapXY s, e;
    int start = -1, end = -1;   // Vertex numbers; -1 when an end is missing
};

// The LineDefs of a pass of splits, found by where they lie: each is listed
// in the cells of a coarse grid that its box covers, or, when that box
// covers many cells, in one list searched every time.
class LineDefsByPlace {
public:
    explicit LineDefsByPlace(const LevelState& level) : cells_(kCells * kCells) {
        for (int l = 0; l < level.lineDefs.count; ++l)
            if (HasBothEnds(level, l))
                Set(l, {StartOf(level, l), EndOf(level, l), level.lineDefs[l].start, level.lineDefs[l].end});
    }

    // Lists LineDef l where it lies now. A LineDef that shrank stays listed
    // where it was too: a search only finds more to look at.
    void Set(int l, const Ends& e) {
        if (static_cast<size_t>(l) >= ends_.size())
            ends_.resize(static_cast<size_t>(l) + 1);
        ends_[static_cast<size_t>(l)] = e;
        Box box = BoxOf(std::min(e.s.x, e.e.x), std::min(e.s.y, e.e.y), std::max(e.s.x, e.e.x), std::max(e.s.y, e.e.y));
        if (box.Cells() > kMostCells) {
            wide_.push_back(l);
            return;
        }
        for (int cx = box.x0; cx <= box.x1; ++cx)
            for (int cy = box.y0; cy <= box.y1; ++cy)
                cells_[static_cast<size_t>(cx * kCells + cy)].push_back(l);
    }

    // Whether found is true of a LineDef that may lie in the box.
    template <class Found>
    bool Any(int x0, int y0, int x1, int y1, const Found& found) const {
        Box box = BoxOf(x0, y0, x1, y1);
        auto any = [&](const std::vector<int>& listed) {
            return std::any_of(listed.begin(), listed.end(),
                               [&](int l) { return found(ends_[static_cast<size_t>(l)]); });
        };
        if (box.Cells() > kMostCells)
            return std::any_of(ends_.begin(), ends_.end(), found);
        if (any(wide_))
            return true;
        for (int cx = box.x0; cx <= box.x1; ++cx)
            for (int cy = box.y0; cy <= box.y1; ++cy)
                if (any(cells_[static_cast<size_t>(cx * kCells + cy)]))
                    return true;
        return false;
    }

private:
    static constexpr int kCellSize = 256, kCells = 65536 / kCellSize, kMostCells = 64;
    struct Box {
        int x0, y0, x1, y1;
        int Cells() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
    };
    static int Cell(int c) { return std::clamp((c + 32768) / kCellSize, 0, kCells - 1); }
    static Box BoxOf(int x0, int y0, int x1, int y1) { return {Cell(x0), Cell(y0), Cell(x1), Cell(y1)}; }

    std::vector<Ends> ends_;
    std::vector<std::vector<int>> cells_;
    std::vector<int> wide_;
};

int Side(MapXY o, MapXY p, MapXY q) {
    int64_t c = Cross(o, p, q);
    return (c > 0) - (c < 0);
}

// Whether p lies in the triangle a, m, b or on its edges, off the edge a-b.
bool SweptBy(MapXY a, MapXY m, MapXY b, MapXY p) {
    int s1 = Side(a, m, p), s2 = Side(m, b, p), s3 = Side(b, a, p);
    bool inside = !((s1 > 0 || s2 > 0 || s3 > 0) && (s1 < 0 || s2 < 0 || s3 < 0));
    return inside && s3 != 0;
}

// Whether bending the LineDef from Vertex va at a to Vertex vb at b at the
// point m carries it past something. Coordinates are whole units, so a
// midpoint rounded off the line moves the halves up to half a unit, which
// can take them across a Vertex that lay a fraction of a unit beside the
// line, or into a LineDef it did not meet.
bool BendPassesSomething(const LineDefsByPlace& lineDefs, int va, int vb, MapXY a, MapXY m, MapXY b) {
    if (Cross(a, b, m) == 0)
        return false;
    const int x0 = std::min(a.x, b.x), x1 = std::max(a.x, b.x), y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
    return lineDefs.Any(x0, y0, x1, y1, [&](const Ends& g) {
        if (g.start < 0 || std::max(g.s.x, g.e.x) < x0 || std::min(g.s.x, g.e.x) > x1 ||
            std::max(g.s.y, g.e.y) < y0 || std::min(g.s.y, g.e.y) > y1)
            return false;
        bool atA = g.start == va || g.end == va, atB = g.start == vb || g.end == vb;
        if (atA && atB)
            return false;
        if ((g.start != va && g.start != vb && SweptBy(a, m, b, g.s)) ||
            (g.end != va && g.end != vb && SweptBy(a, m, b, g.e)))
            return true;
        return atA   ? SegmentsMeet(m, b, g.s, g.e)
               : atB ? SegmentsMeet(a, m, g.s, g.e)
                     : (SegmentsMeet(a, m, g.s, g.e) || SegmentsMeet(m, b, g.s, g.e)) && !SegmentsMeet(a, b, g.s, g.e);
    });
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
    LineDefsByPlace placed(level);
    for (int l : lineDefs) {
        const LineDef* ld = level.lineDefs.at(l);
        const Vertex* a = ld ? level.vertices.at(ld->start) : nullptr;
        const Vertex* b = ld ? level.vertices.at(ld->end) : nullptr;
        if (!a || !b)
            continue;
        int x = (a->x + b->x) / 2, y = (a->y + b->y) / 2;
        // A LineDef too short to have a point between its ends would leave a
        // LineDef of no length; nor is a LineDef bent past what lies beside it.
        const int va = ld->start, vb = ld->end;
        if ((x == a->x && y == a->y) || (x == b->x && y == b->y) ||
            BendPassesSomething(placed, va, vb, {a->x, a->y}, {x, y}, {b->x, b->y})) {
            ++count.refused;
            continue;
        }
        if (!RoomFor(level, 1, level.sideDefs.valid(ld->sideDef1) + level.sideDefs.valid(ld->sideDef2), 1, 0)) {
            ++count.refused;
            break;
        }
        const MapXY at = {a->x, a->y}, to = {b->x, b->y};
        int v = AddObject(level, kObjVertex, -1, x, y);
        int added = SplitLineDefAtVertex(level, l, v);
        placed.Set(l, {at, {x, y}, va, v});
        if (added >= 0)
            placed.Set(added, {{x, y}, to, v, vb});
        ++count.split;
    }
    if (count.split > 0)
        edit.Commit("split " + CountOf(count.split, kObjLineDef));
    return count;
}

}  // namespace edits
