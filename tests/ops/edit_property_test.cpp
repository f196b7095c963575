// Random editing sequences on small generated levels (rooms, rooms in rooms,
// a corridor between rooms) and on Freedoom's: drawing, the builders, the
// predefined shapes, splitting, merging and joining, copying, dragging,
// turning and deleting, each given what a level designer gives it (a shape
// in free space or inside one Sector, stairs between two parallel walls of
// a Sector...). After every operation the level is one the game can use;
// a builder leaves no SideDef or Sector unused and no visible wall without
// its texture.
//
// Seeded and repeatable. ZARN_EDIT_SEQUENCES=N runs N sequences of each
// generated level (and a twentieth of that on each Freedoom level) instead of
// the default, ZARN_EDIT_SEED=S starts from seed S. A failure names the
// level, the seed and the operations that led to it, and the run goes on with
// the next sequence: one run lists every seed that fails.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "builders/builders.h"
#include "builders/predefined.h"
#include "editor/line_drawing.h"
#include "edits/builder_geometry.h"
#include "ops/linedef_ops.h"
#include "ops/rotate_scale.h"
#include "ops/vertex_ops.h"
#include "ops_fixture.h"
#include "pictures/namelists.h"

namespace {

using testkit::LevelFault;
using testkit::Validity;

constexpr int kSequences = 100;   // of each generated level
constexpr int kSteps = 10;        // operations of a sequence
constexpr int kMargin = 24;       // free map kept around a new shape

int Setting(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

struct Box {
    int x0, y0, x1, y1;
    int MidX() const { return (x0 + x1) / 2; }
    int MidY() const { return (y0 + y1) / 2; }
};

// --- What lies where --------------------------------------------------------------

MapXY At(const Vertex& v) { return {v.x, v.y}; }
MapXY AtVertex(int v) { return At(level.vertices[v]); }

// Whether a new LineDef from p to q would meet no LineDef and pass no
// Vertex, but for the LineDefs skipped and those at Vertexes a and b (its
// ends when they are Vertexes; -1 for none).
bool SegmentClear(MapXY p, MapXY q, int a, int b = -1, const std::vector<int>& skipped = {}) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        bool skip = ld.start == a || ld.start == b || ld.end == a || ld.end == b ||
                    std::count(skipped.begin(), skipped.end(), l) > 0;
        if (!skip && SegmentsMeet(p, q, AtVertex(ld.start), AtVertex(ld.end)))
            return false;
    }
    for (int v = 0; v < level.vertices.count; ++v)
        if (v != a && v != b && SegmentsMeet(p, q, AtVertex(v), AtVertex(v)))
            return false;
    return true;
}
bool SegmentClear(int a, int b) { return SegmentClear(AtVertex(a), AtVertex(b), a, b); }

// No Vertex and no LineDef within the box grown by the margin.
bool BoxFree(const Box& b) {
    int x0 = b.x0 - kMargin, y0 = b.y0 - kMargin, x1 = b.x1 + kMargin, y1 = b.y1 + kMargin;
    for (const Vertex& v : level.vertices)
        if (v.x >= x0 && v.x <= x1 && v.y >= y0 && v.y <= y1)
            return false;
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (IsLineDefInside(l, x0, y0, x1, y1))
            return false;
    return x0 > -30000 && y0 > -30000 && x1 < 30000 && y1 < 30000;
}

// The Sector the whole box lies in (-1: outside every Sector), or -2 when
// its corners and middle do not agree.
int SectorOfBox(const Box& b) {
    int s = GetSectorAtPoint(level, b.MidX(), b.MidY());
    for (auto [x, y] : {std::pair{b.x0, b.y0}, {b.x1, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}})
        if (GetSectorAtPoint(level, x, y) != s)
            return -2;
    return s;
}

// Whether a Vertex lies strictly inside the convex area, drawn either way round.
bool VertexInside(const std::vector<MapXY>& area) {
    return std::any_of(level.vertices.begin(), level.vertices.end(),
                       [&](const Vertex& v) { return InsideArea(area, At(v)); });
}

Box Bounds() {
    Box b{32767, 32767, -32768, -32768};
    for (const Vertex& v : level.vertices)
        b = {std::min<int>(b.x0, v.x), std::min<int>(b.y0, v.y), std::max<int>(b.x1, v.x), std::max<int>(b.y1, v.y)};
    return level.vertices.count == 0 ? Box{0, 0, 0, 0} : b;
}

// The LineDefs with a side facing the Sector (none for -1).
std::vector<int> LineDefsOf(int s) {
    std::vector<int> out;
    for (int l = 0; l < level.lineDefs.count && s >= 0; ++l)
        if (SectorOf(level.lineDefs[l].sideDef1) == s || SectorOf(level.lineDefs[l].sideDef2) == s)
            out.push_back(l);
    return out;
}

// The Sectors joined to s by two-sided LineDefs or by a Vertex their
// LineDefs share, s among them: a group that moves on its own.
std::vector<int> GroupOf(int s) {
    std::vector<std::vector<int>> sectorsAt(static_cast<size_t>(level.vertices.count));
    for (const LineDef& ld : level.lineDefs)
        for (uint16_t side : {ld.sideDef1, ld.sideDef2})
            if (SectorOf(side) >= 0)
                for (uint16_t v : {ld.start, ld.end})
                    sectorsAt[v].push_back(SectorOf(side));
    std::vector<int> group = {s}, todo = {s};
    while (!todo.empty()) {
        int t = todo.back();
        todo.pop_back();
        for (int l : LineDefsOf(t))
            for (uint16_t v : {level.lineDefs[l].start, level.lineDefs[l].end})
                for (int other : sectorsAt[v])
                    if (std::find(group.begin(), group.end(), other) == group.end()) {
                        group.push_back(other);
                        todo.push_back(other);
                    }
    }
    return group;
}

Box BoxOfSectors(const std::vector<int>& sectors) {
    Box b{32767, 32767, -32768, -32768};
    for (int s : sectors)
        for (int l : LineDefsOf(s))
            for (uint16_t v : {level.lineDefs[l].start, level.lineDefs[l].end})
                b = {std::min<int>(b.x0, level.vertices[v].x), std::min<int>(b.y0, level.vertices[v].y),
                     std::max<int>(b.x1, level.vertices[v].x), std::max<int>(b.y1, level.vertices[v].y)};
    return b;
}


// --- The starting levels -----------------------------------------------------------


void OneRoom() {
    AddRoom(0, 0, 512, 384, AddSector());
    AddThing(64, 64, 1);
}

void RoomsInRooms() {
    int outer = AddSector(0, 0, 0, 256), inner = AddSector(0, 0, 32, 200), pit = AddSector(0, 0, -16, 200);
    AddRoom(0, 0, 1024, 768, outer);
    AddRoom(128, 128, 640, 640, inner, outer);
    AddRoom(256, 256, 384, 384, pit, inner);
    AddThing(64, 64, 1);
}

// Two rooms and a corridor 64 wide between them, its ends two-sided.
void Corridor() {
    int west = AddSector(0, 0, 0, 128), way = AddSector(0, 0, 0, 112), east = AddSector(0, 0, 16, 160);
    int a = AddVertex(0, 0), b = AddVertex(0, 512), c = AddVertex(384, 512), d = AddVertex(384, 288),
        e = AddVertex(384, 224), f = AddVertex(384, 0);
    int g = AddVertex(512, 288), h = AddVertex(512, 224), i = AddVertex(512, 512), j = AddVertex(896, 512),
        k = AddVertex(896, 0), m = AddVertex(512, 0);
    const int walls[][4] = {   // start, end, the Sectors in front and behind (-1: none)
        {a, b, west, -1}, {b, c, west, -1}, {c, d, west, -1}, {d, e, west, way}, {e, f, west, -1},
        {f, a, west, -1}, {d, g, way, -1},  {h, e, way, -1},  {h, g, east, way}, {g, i, east, -1},
        {i, j, east, -1}, {j, k, east, -1}, {k, m, east, -1}, {m, h, east, -1},
    };
    for (const auto& w : walls)
        AddLineDef(w[0], w[1], AddSideDef(w[2]), w[3] < 0 ? -1 : AddSideDef(w[3]), w[3] < 0 ? 1 : 4);
    AddThing(64, 64, 1);
}

// Gives every SideDef and Sector the names a real level has.
void DressLevel() {
    for (SideDef& sd : level.sideDefs) {
        SetTextureName(sd.upper, "-");
        SetTextureName(sd.lower, "-");
        SetTextureName(sd.middle, "-");
    }
    for (const LineDef& ld : level.lineDefs)
        if (ld.sideDef2 == kNoReference)
            SetTextureName(level.sideDefs[ld.sideDef1].middle, config.textureNormal);
    for (int l = 0; l < level.lineDefs.count; ++l)
        ShowStepTextures(level, l);
    for (Sector& s : level.sectors) {
        SetTextureName(s.floorTexture, config.flatFloor);
        SetTextureName(s.ceilingTexture, config.flatCeiling);
    }
}

// --- One sequence ------------------------------------------------------------------

class Sequence {
public:
    Sequence(unsigned seed, testkit::Session& session) : rng_(seed), session_(session) {}

    int Upto(int most) { return std::uniform_int_distribution<int>(0, std::max(most, 0))(rng_); }
    int Between(int low, int high) { return low + Upto(high - low); }
    bool Flag() { return Upto(1) == 1; }
    template <typename T>
    T Pick(const std::vector<T>& from) { return from[static_cast<size_t>(Upto(static_cast<int>(from.size()) - 1))]; }

    // The keys that answer the boxes the next operation opens, then escapes.
    void Answers(const std::string& keys) {
        std::string script;
        for (char c : keys)
            script += c == 'E' ? "key Enter\n" : c == 'D' ? "key Down\n" : std::string("key ") + c + "\n";
        for (int n = 0; n < 8; ++n)
            script += "key Esc\n";
        session_.Script(script);
    }

    // A free box of about w by h (into box): outside every Sector (sector -1),
    // or inside one (sector >= 0 is set to it); false when none was found.
    bool FindBox(int w, int h, bool inside) {
        Box all = Bounds();
        for (int attempt = 0; attempt < 60; ++attempt) {
            int x = Between(all.x0 - (inside ? 0 : w + 256), all.x1 + (inside ? 0 : 256)) & ~7;
            int y = Between(all.y0 - (inside ? 0 : h + 256), all.y1 + (inside ? 0 : 256)) & ~7;
            box = {x, y, x + w, y + h};
            if (!BoxFree(box))
                continue;
            sector = SectorOfBox(box);
            if (inside ? sector >= 0 : sector == -1)
                return true;
        }
        return false;
    }

    // Draws the box's corners (or a triangle in it) with the line drawing,
    // clockwise or not.
    void DrawPoints(std::vector<std::pair<int, int>> points, bool clockwise) {
        if (!clockwise)
            std::reverse(points.begin(), points.end());
        ForgetSelection(selection.list);
        config.editMode = kObjVertex;
        StartLineDrawing();
        editor.lineDrawing = true;
        for (auto [x, y] : points) {
            CentreMapAt(x, y);
            PointAt(x, y);
            LineDrawingEvent(LineDrawingCommand::Point);
        }
        if (Flag()) {
            LineDrawingEvent(LineDrawingCommand::Insert);
        } else {   // the right button
            editor.buttons = 2;
            LineDrawingEvent(LineDrawingCommand::Pass);
            editor.buttons = 0;
        }
        EndLineDrawing();
    }

    std::mt19937 rng_;
    testkit::Session& session_;
    Box box{};        // what FindBox found
    int sector = -1;
};

// What an operation promises beyond a level the game can use.
enum class Promise { Game, Builder };

struct Operation {
    const char* name;
    Promise promise;
    std::function<bool(Sequence&)> run;   // false when it found nothing to do
};

std::vector<std::pair<int, int>> Corners(const Box& b) {
    return {{b.x0, b.y0}, {b.x0, b.y1}, {b.x1, b.y1}, {b.x1, b.y0}};   // clockwise
}

int RandomSector(Sequence& in) { return level.sectors.count > 0 ? in.Upto(level.sectors.count - 1) : -1; }

// Runs the operation on a list of the objects (the last is its head), then
// forgets the list.
template <typename Op>
void OnList(const std::vector<int>& objects, Op op) {
    SelectionList list = ListOf(objects);
    op(list);
    ForgetSelection(list);
}

// Two parallel LineDefs of one Sector facing into it, sharing no Vertex,
// with nothing between them: where a designer puts stairs.
bool StairWalls(Sequence& in, int& l1, int& l2) {
    int s = RandomSector(in);
    std::vector<int> walls;
    for (int l : LineDefsOf(s))
        if (SectorOf(level.lineDefs[l].sideDef1) == s)
            walls.push_back(l);
    for (int attempt = 0; attempt < 20 && walls.size() >= 2; ++attempt) {
        l1 = in.Pick(walls);
        l2 = in.Pick(walls);
        const LineDef &a = level.lineDefs[l1], &b = level.lineDefs[l2];
        MapXY as = StartOf(level, l1), ae = EndOf(level, l1);
        MapXY bs = StartOf(level, l2), be = EndOf(level, l2);
        if (l1 == l2 || a.start == b.start || a.start == b.end || a.end == b.start || a.end == b.end)
            continue;
        bool parallel = Cross({0, 0}, {ae.x - as.x, ae.y - as.y}, {be.x - bs.x, be.y - bs.y}) == 0;
        if (parallel && SegmentClear(a.start, b.end) && SegmentClear(a.end, b.start) &&
            !SegmentsMeet(as, be, ae, bs) && !VertexInside({as, ae, bs, be}))   // nothing stands between them
            return true;
    }
    return false;
}

// A box between low and high on each side, in free space or inside a
// Sector, drawn one way round or the other.
bool DrawBox(Sequence& in, int low, int high, bool inside) {
    if (!in.FindBox(in.Between(low, high), in.Between(low, high), inside))
        return false;
    in.DrawPoints(Corners(in.box), in.Flag());
    return true;
}

// A rectangle or a polygon of 3 to 12 sides in the box found last, in its
// Sector (or none).
bool InsertShape(Sequence& in, int size, ObjectKind kind, int depth) {
    const Box& b = in.box;
    if (in.Flag())
        return InsertRectangle(b.x0, b.y0, size, size, in.sector, kind, depth);
    return InsertPolygon(b.MidX(), b.MidY(), in.Between(3, 12), size / 2, in.sector, kind, depth);
}

enum class GroupMove { Copy, Turn };

// A group of Sectors (or a copy of it) dragged into free space, where the
// drag may go on to turn it about its middle.
bool MoveGroup(Sequence& in, GroupMove how) {
    int s = RandomSector(in);
    if (s < 0)
        return false;
    std::vector<int> group = GroupOf(s);
    Box from = BoxOfSectors(group);
    // Room for it turned any way about the middle of its Vertexes, which
    // lies in its box: every Vertex stays within a diagonal of the middle.
    int side = 3 * static_cast<int>(std::hypot(from.x1 - from.x0, from.y1 - from.y0)) + 16;
    if (group.size() > 12 || !in.FindBox(side, side, false))
        return false;
    SelectionList list = ListOf(group);
    if (how == GroupMove::Copy && !CopyObjects(level, kObjSector, list))
        return false;
    BeginMove(kObjSector, list, from.MidX(), from.MidY(), 0);
    MoveObjectsToCoords(moveState.type, moveState.list, in.box.MidX(), in.box.MidY(), 0);
    EndMove();
    if (how == GroupMove::Turn && in.Flag()) {
        BeginMove(kObjSector, list, 0, 0, 0);
        double cx = 0, cy = 0;
        DragCentre(cx, cy);
        PlaceRotatedScaled(cx, cy, in.Between(-180, 180), 1.0);
        EndMove();
    }
    ForgetSelection(list);
    return true;
}

const std::vector<Operation>& Operations() {
    static const std::vector<Operation> table = {
        {"draw a room", Promise::Game, [](Sequence& in) { return DrawBox(in, 64, 256, false); }},
        {"draw in a Sector", Promise::Game, [](Sequence& in) { return DrawBox(in, 32, 128, true); }},
        {"draw on a wall", Promise::Game,
         [](Sequence& in) {
             if (level.lineDefs.count == 0)
                 return false;
             int l = in.Upto(level.lineDefs.count - 1);
             const LineDef ld = level.lineDefs[l];
             MapXY a = StartOf(level, l), b = EndOf(level, l);
             double dx = b.x - a.x, dy = b.y - a.y, length = std::hypot(dx, dy);
             if (length < 16)
                 return false;
             double out = in.Between(16, 96) * (in.Flag() ? 1 : -1) / length;
             int px = static_cast<int>((a.x + b.x) / 2 + dy * out), py = static_cast<int>((a.y + b.y) / 2 - dx * out);
             MapXY p = {static_cast<int16_t>(px), static_cast<int16_t>(py)};
             // Nothing in the way of the new sides or inside the triangle.
             if (!SegmentClear(a, p, ld.start) || !SegmentClear(b, p, ld.end) || !BoxFree({px, py, px, py}) ||
                 VertexInside({a, b, p}))
                 return false;
             in.DrawPoints({{a.x, a.y}, {b.x, b.y}, {px, py}}, in.Flag());
             return true;
         }},
        {"predefined room", Promise::Builder,
         [](Sequence& in) {
             int size = in.Between(64, 320);
             return in.FindBox(size, size, false) && InsertShape(in, size, ObjectKind::Plain, 0);
         }},
        {"predefined object", Promise::Builder,
         [](Sequence& in) {
             int size = in.Between(32, 192);
             if (!in.FindBox(size, size, true))
                 return false;
             auto kind = static_cast<ObjectKind>(in.Upto(3));
             int depth = in.Between(-48, 48);
             if (in.Upto(4) == 0)
                 return InsertDoorShape(in.box.x0, in.box.y0, std::min(size, 256), size, in.sector);
             return InsertShape(in, size, kind, depth);
         }},
        {"predefined stairs", Promise::Builder,
         [](Sequence& in) {
             StairsSize size{in.Between(2, 5), in.Between(0, 24), in.Between(34, 128), in.Between(8, 48)};
             if (!in.FindBox(size.width, size.steps * size.depth, true))
                 return false;
             const Sector& room = level.sectors[in.sector];
             return InsertStairs(in.box.x0, in.box.y0, in.sector, StairShape::Object, room.floorHeight,
                                 room.ceilingHeight, size);
         }},
        {"make a door", Promise::Builder,
         [](Sequence& in) {
             int s = RandomSector(in);
             std::vector<int> lines = LineDefsOf(s);
             if (lines.size() < 4)
                 return false;
             std::shuffle(lines.begin(), lines.end(), in.rng_);
             in.Answers(in.Flag() ? "YE" : "NE");
             OnList({lines.begin(), lines.begin() + 4}, MakeDoor);
             return true;
         }},
        {"make a lift", Promise::Builder,
         [](Sequence& in) {
             in.Answers("E");
             MakeLift(RandomSector(in));
             return true;
         }},
        {"make stairs", Promise::Builder,
         [](Sequence& in) {
             int l1 = 0, l2 = 0;
             if (!StairWalls(in, l1, l2))
                 return false;
             stairSettings = {in.Between(2, 6), in.Between(-24, 24)};
             in.Answers(in.Flag() ? "EEY" : "EEN");
             OnList({l1, l2}, MakeStairs);
             return true;
         }},
        {"split LineDefs", Promise::Game,
         [](Sequence& in) {
             if (level.lineDefs.count == 0)
                 return false;
             std::vector<int> lines;
             for (int n = in.Between(1, 3); n > 0; --n)
                 lines.push_back(in.Upto(level.lineDefs.count - 1));
             OnList(lines, SplitLineDefs);
             return true;
         }},
        {"split a Sector", Promise::Game,
         [](Sequence& in) {
             int s = RandomSector(in);
             std::vector<int> lines = LineDefsOf(s);
             if (lines.size() < 2)
                 return false;
             const LineDef &p = level.lineDefs[in.Pick(lines)], &q = level.lineDefs[in.Pick(lines)];
             int a = in.Flag() ? p.start : p.end, b = in.Flag() ? q.start : q.end;
             MapXY va = AtVertex(a), vb = AtVertex(b);
             if (a == b || LineDefJoining(level, a, b) >= 0 || !SegmentClear(a, b) ||
                 GetSectorAtPoint(level, (va.x + vb.x) / 2, (va.y + vb.y) / 2) != s)
                 return false;
             in.Answers(in.Flag() ? "E" : "DE");
             AddLineDefSplitSector(a, b);
             return true;
         }},
        {"split two LineDefs and the Sector", Promise::Game,
         [](Sequence& in) {
             int s = RandomSector(in);
             std::vector<int> lines = LineDefsOf(s);
             if (lines.size() < 2)
                 return false;
             int l1 = in.Pick(lines), l2 = in.Pick(lines);
             if (l1 == l2)
                 return false;
             MapXY p = Midpoint(level, l1), q = Midpoint(level, l2);
             if (!SegmentClear(p, q, -1, -1, {l1, l2}) || GetSectorAtPoint(level, (p.x + q.x) / 2, (p.y + q.y) / 2) != s)
                 return false;
             in.Answers("E");
             SplitLineDefsAndSector(l1, l2);
             return true;
         }},
        {"join Sectors", Promise::Game,
         [](Sequence& in) {
             if (level.sectors.count < 2)
                 return false;
             OnList({RandomSector(in), RandomSector(in)}, [](SelectionList& list) { JoinSectors(level, list); });
             return true;
         }},
        {"delete LineDefs and join Sectors", Promise::Game,
         [](Sequence& in) {
             std::vector<int> twoSided;
             for (int l = 0; l < level.lineDefs.count; ++l)
                 if (SectorOf(level.lineDefs[l].sideDef1) >= 0 && SectorOf(level.lineDefs[l].sideDef2) >= 0)
                     twoSided.push_back(l);
             if (twoSided.empty())
                 return false;
             int l = in.Pick(twoSided);
             in.Answers("E");
             OnList({l}, DeleteLineDefsJoinSectors);
             return true;
         }},
        {"delete a Vertex and join LineDefs", Promise::Game,
         [](Sequence& in) {
             // A Vertex in the middle of a straight wall (as splitting leaves).
             for (int attempt = 0; attempt < 20 && level.vertices.count > 0; ++attempt) {
                 int v = in.Upto(level.vertices.count - 1);
                 std::vector<int> starting, ending;
                 for (int l = 0; l < level.lineDefs.count; ++l) {
                     if (level.lineDefs[l].start == v)
                         starting.push_back(l);
                     if (level.lineDefs[l].end == v)
                         ending.push_back(l);
                 }
                 if (starting.size() != 1 || ending.size() != 1)
                     continue;
                 if (Cross(StartOf(level, ending[0]), AtVertex(v), EndOf(level, starting[0])) != 0)
                     continue;
                 OnList({v}, DeleteVertexesJoinLineDefs);
                 return true;
             }
             return false;
         }},
        {"copy and drag a group", Promise::Game, [](Sequence& in) { return MoveGroup(in, GroupMove::Copy); }},
        {"drag and turn a group", Promise::Game, [](Sequence& in) { return MoveGroup(in, GroupMove::Turn); }},
        {"delete a Sector", Promise::Game,
         [](Sequence& in) {
             int s = RandomSector(in);
             if (s < 0)
                 return false;
             DeleteObject(level, kObjSector, s);
             return true;
         }},
        {"delete Things", Promise::Game,
         [](Sequence& in) {
             if (level.things.count == 0)
                 return false;
             DeleteObject(level, kObjThing, in.Upto(level.things.count - 1));
             return true;
         }},
    };
    return table;
}

// What went wrong after an operation, "" when nothing.
std::string Broken(Promise promise, size_t unusedBefore, size_t texturesBefore) {
    std::vector<LevelFault> faults = testkit::LevelFaults(Validity::Game);
    if (!faults.empty())
        return testkit::FaultLines(faults);
    if (promise != Promise::Builder)
        return "";
    std::vector<LevelFault> unused = testkit::UnusedObjects();
    if (unused.size() > unusedBefore)
        return testkit::FaultLines(unused);
    std::vector<LevelFault> textures = testkit::MissingVisibleTextures();
    if (textures.size() > texturesBefore)
        return testkit::FaultLines(textures);
    return "";
}

using StartingLevel = std::pair<std::string, std::function<void()>>;

class EditPropertyTest : public OpsTest {
protected:
    void SetUp() override {
        OpsTest::SetUp();
        config.gridSnap = 0;
        config.autoInsertSector = 1;
        SetScale(1.0f);
    }

    // Runs the sequences of one starting level; counts what ran. A level
    // that the check finds wanting before anything is done is reported.
    void RunSequences(const std::string& name, const std::function<void()>& start, int sequences,
                      unsigned firstSeed = static_cast<unsigned>(Setting("ZARN_EDIT_SEED", 1))) {
        for (int n = 0; n < sequences; ++n) {
            unsigned seed = firstSeed + static_cast<unsigned>(n);
            ClearMap();
            start();
            ComputeMapBounds();
            ResetHistory();
            ASSERT_EQ(testkit::FaultLines(testkit::LevelFaults(Validity::Game)), "0 faults:") << name;
            Sequence in(seed, session);
            std::string done;
            for (int step = 0; step < kSteps; ++step) {
                const Operation& op = in.Pick(Operations());
                size_t unused = testkit::UnusedObjects().size();
                size_t textures = testkit::MissingVisibleTextures().size();
                in.Answers("");
                bool ran = op.run(in);
                RecordStep();
                if (!ran)
                    continue;
                ++operations;
                done += std::string(done.empty() ? "" : ", ") + op.name;
                std::string broken = Broken(op.promise, unused, textures);
                if (!broken.empty()) {   // the next sequence may find another fault
                    ADD_FAILURE() << name << ", seed " << seed << ": " << done << "\n" << broken;
                    ++failed;
                    break;
                }
            }
            ++ran;
        }
    }

    // Runs the sequences of each level in turn, then tells what ran.
    void RunLevels(const std::vector<StartingLevel>& levels, int sequences) {
        for (const auto& [name, start] : levels) {
            RunSequences(name, start, sequences);
            if (HasFatalFailure())
                return;
        }
        std::printf("[ property ] %d sequences, %d operations, %d failed\n", ran, operations, failed);
    }

    int ran = 0, operations = 0, failed = 0;
};

const std::vector<StartingLevel>& GeneratedLevels() {
    static const std::vector<StartingLevel> levels = {
        {"one room", [] { OneRoom(); DressLevel(); }},
        {"rooms in rooms", [] { RoomsInRooms(); DressLevel(); }},
        {"corridor", [] { Corridor(); DressLevel(); }},
    };
    return levels;
}

// Sequences that once broke a level, each with what it found: stairs across
// a LineDef inside the Sector, stairs fanning out so far that a riser passed
// the corner of the next step, a door round a room with a room inside, a
// Sector split through an island joined to itself.
TEST_F(EditPropertyTest, SequencesThatFoundFaultsStayValid) {
    const std::pair<size_t, unsigned> found[] = {
        {0, 1400}, {0, 2429}, {0, 2644}, {2, 844},   // across a LineDef
        {0, 1745}, {0, 2581}, {1, 396},              // fanning out
        {1, 2050},                                   // a door round a room
        {1, 1182}, {1, 2167},                        // round an island
    };
    for (const auto& [level, seed] : found)
        RunSequences(GeneratedLevels()[level].first, GeneratedLevels()[level].second, 1, seed);
}

TEST_F(EditPropertyTest, GeneratedLevelsStayValid) {
    RunLevels(GeneratedLevels(), Setting("ZARN_EDIT_SEQUENCES", kSequences));
}

TEST_F(EditPropertyTest, FreedoomLevelsStayValid) {
    if (!OpenFreedoom2())
        GTEST_SKIP() << "Freedoom is not installed";
    BuildTextureNames();
    BuildFlatNames();
    auto map = [](const char* name) {
        return StartingLevel{name, [name] { ASSERT_TRUE(LoadIwadLevel(name)); }};
    };
    RunLevels({map("MAP01"), map("MAP02")}, std::max(1, Setting("ZARN_EDIT_SEQUENCES", kSequences) / 20));
}

}  // namespace
