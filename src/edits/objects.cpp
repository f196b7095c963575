#include "edits/objects.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "base/config.h"
#include "level/history.h"
#include "level/level.h"

namespace {

constexpr int16_t kDefaultThingFlags = 7;   // skill levels easy, medium and hard
constexpr int16_t kFullLight = 255;

// New numbers of an array's records after a deletion: -1 for a deleted one.
using Renumbering = std::vector<int32_t>;
// Which records of an array go; empty when none of that kind.
using Marks = std::vector<bool>;

bool Marked(const Marks& marks, int n) {
    return n >= 0 && static_cast<size_t>(n) < marks.size() && marks[static_cast<size_t>(n)];
}

void Mark(Marks& marks, int n, int32_t count) {
    if (marks.empty())
        marks.assign(static_cast<size_t>(count), false);
    marks[static_cast<size_t>(n)] = true;
}

bool Editable(const LevelState& level, int type) { return ObjectCount(level, type) >= 0; }

// Whether extra more objects of the type fit: a kind that references name
// stops where a 16-bit reference can no longer name its objects. An edit
// that would pass that limit is refused, whatever it made before.
bool HasRoom(const LevelState& level, int type, int64_t extra) {
    std::string limit = LimitLine(type, ObjectCount(level, type) + extra);
    if (limit.empty())
        return true;
    RefuseEdit(limit);
    return false;
}

void SetName(char (&to)[8], const char* from) { std::strncpy(to, from, sizeof to); }

// --- Inserting -----------------------------------------------------------------

Thing NewThing(const LevelState& level, int from, int x, int y) {
    Thing t{};
    if (const Thing* source = level.things.at(from)) {
        t = *source;
    } else {
        t.type = config.defaultThingType;
        t.flags = kDefaultThingFlags;
    }
    t.x = ClampToMap(x);
    t.y = ClampToMap(y);
    return t;
}

LineDef NewLineDef(const LevelState& level, int from) {
    LineDef ld{};
    if (const LineDef* source = level.lineDefs.at(from)) {
        ld = *source;
    } else {
        ld.end = static_cast<uint16_t>(level.vertices.count - 1);
        ld.flags = kLineImpassable;
    }
    ld.sideDef1 = ld.sideDef2 = kNoReference;
    return ld;
}

SideDef NewSideDef(const LevelState& level, int from) {
    if (const SideDef* source = level.sideDefs.at(from))
        return *source;
    SideDef sd{};
    SetName(sd.upper, "-");
    SetName(sd.lower, "-");
    SetName(sd.middle, config.textureNormal);
    sd.sector = static_cast<uint16_t>(level.sectors.count - 1);
    return sd;
}

Sector NewSector(const LevelState& level, int from) {
    if (const Sector* source = level.sectors.at(from))
        return *source;
    Sector s{};
    s.floorHeight = config.defaultFloor;
    s.ceilingHeight = config.defaultCeiling;
    SetName(s.floorTexture, config.flatFloor);
    SetName(s.ceilingTexture, config.flatCeiling);
    s.light = kFullLight;
    return s;
}

// Appends the record (built before the array grows, which may move it).
template <typename T>
int Append(LevelState& level, ObjectArray<T>& array, int type, const T& record) {
    ResizeObject(level, type, Resize::AddOne);
    array[array.count - 1] = record;
    MarkChanged(level, type);
    return array.count - 1;
}

// --- Deleting --------------------------------------------------------------------

// Everything one deletion removes, by kind.
struct Doomed {
    Marks things, lineDefs, sideDefs, vertices, sectors;
};

void DoomLineDefsOfVertexes(const LevelState& level, Doomed& d) {
    for (int l = 0; l < level.lineDefs.count; ++l) {
        const LineDef& ld = level.lineDefs[l];
        if (Marked(d.vertices, ld.start) || Marked(d.vertices, ld.end))
            Mark(d.lineDefs, l, level.lineDefs.count);
    }
}

// The SideDefs of deleted LineDefs go with them, unless a LineDef that stays
// uses them too (maps may share one SideDef between LineDefs).
void DoomSideDefsOfLineDefs(const LevelState& level, Doomed& d) {
    if (d.lineDefs.empty())
        return;
    std::vector<bool> kept(static_cast<size_t>(level.sideDefs.count), false);
    for (int l = 0; l < level.lineDefs.count; ++l) {
        if (Marked(d.lineDefs, l))
            continue;
        for (uint16_t side : {level.lineDefs[l].sideDef1, level.lineDefs[l].sideDef2})
            if (level.sideDefs.valid(side))
                kept[side] = true;
    }
    for (int l = 0; l < level.lineDefs.count; ++l) {
        if (!Marked(d.lineDefs, l))
            continue;
        for (uint16_t side : {level.lineDefs[l].sideDef1, level.lineDefs[l].sideDef2})
            if (level.sideDefs.valid(side) && !kept[side])
                Mark(d.sideDefs, side, level.sideDefs.count);
    }
}

void DoomSideDefsOfSectors(const LevelState& level, Doomed& d) {
    for (int s = 0; s < level.sideDefs.count; ++s)
        if (Marked(d.sectors, level.sideDefs[s].sector))
            Mark(d.sideDefs, s, level.sideDefs.count);
}

// The game needs a first SideDef on every LineDef: one that loses its first
// side with a deleted Sector turns round to take its second as the first;
// one left with no side at all goes. A LineDef left with one side is an
// impassable wall, not two-sided, with the default texture where it had
// none.
void MendLineDefsOfSectors(LevelState& level, Doomed& d) {
    auto gone = [&](uint16_t side) { return !level.sideDefs.valid(side) || Marked(d.sideDefs, side); };
    for (int l = 0; l < level.lineDefs.count; ++l) {
        LineDef& ld = level.lineDefs[l];
        bool lost = (level.sideDefs.valid(ld.sideDef1) && Marked(d.sideDefs, ld.sideDef1)) ||
                    (level.sideDefs.valid(ld.sideDef2) && Marked(d.sideDefs, ld.sideDef2));
        if (!lost)
            continue;
        if (gone(ld.sideDef1) && gone(ld.sideDef2)) {
            Mark(d.lineDefs, l, level.lineDefs.count);
            continue;
        }
        if (gone(ld.sideDef1)) {
            std::swap(ld.start, ld.end);
            std::swap(ld.sideDef1, ld.sideDef2);
        }
        ld.flags = static_cast<int16_t>((ld.flags | kLineImpassable) & ~kLineTwoSided);
        SideDef& wall = level.sideDefs[ld.sideDef1];
        if (wall.middle[0] == '-' || wall.middle[0] == '\0')
            SetName(wall.middle, config.textureNormal);
    }
}

// Removes the marked records, the others keeping their order; returns the
// new number of every old record.
template <typename T>
Renumbering Compact(ObjectArray<T>& array, const Marks& marks) {
    Renumbering table(static_cast<size_t>(array.count));
    int32_t kept = 0;
    for (int32_t i = 0; i < array.count; ++i) {
        if (marks[static_cast<size_t>(i)]) {
            table[static_cast<size_t>(i)] = -1;
            continue;
        }
        array[kept] = array[i];
        table[static_cast<size_t>(i)] = kept++;
    }
    array.count = kept;
    return table;
}

// A reference under a renumbering: a deleted object's becomes none; one that
// named no object stays as it was.
uint16_t Renumbered(uint16_t ref, const Renumbering& table) {
    if (ref >= table.size())
        return ref;
    int32_t now = table[ref];
    return now < 0 ? kNoReference : static_cast<uint16_t>(now);
}

void RemoveDoomed(LevelState& level, const Doomed& d) {
    if (!d.lineDefs.empty())
        Compact(level.lineDefs, d.lineDefs);
    if (!d.sideDefs.empty()) {
        Renumbering table = Compact(level.sideDefs, d.sideDefs);
        for (LineDef& ld : level.lineDefs) {
            ld.sideDef1 = Renumbered(ld.sideDef1, table);
            ld.sideDef2 = Renumbered(ld.sideDef2, table);
        }
    }
    if (!d.vertices.empty()) {
        Renumbering table = Compact(level.vertices, d.vertices);
        for (LineDef& ld : level.lineDefs) {
            ld.start = Renumbered(ld.start, table);
            ld.end = Renumbered(ld.end, table);
        }
    }
    if (!d.sectors.empty()) {
        Renumbering table = Compact(level.sectors, d.sectors);
        for (SideDef& sd : level.sideDefs)
            sd.sector = Renumbered(sd.sector, table);
    }
    if (!d.things.empty())
        Compact(level.things, d.things);
}

Marks& MarksOf(Doomed& d, int type) {
    switch (type) {
    case kObjThing: return d.things;
    case kObjLineDef: return d.lineDefs;
    case kObjSideDef: return d.sideDefs;
    case kObjVertex: return d.vertices;
    default: return d.sectors;
    }
}

// --- Copying ----------------------------------------------------------------------

// Removes the entries that name no object of the type.
void DropMissing(const LevelState& level, int type, SelectionList& list) {
    SelectionList kept = ExistingObjects(level, type, list);
    if (kept.size() == list.size()) {
        ForgetSelection(kept);
        return;
    }
    ForgetSelection(list);
    list = std::move(kept);
}

struct Pairs {
    SelectionList sources, copies;
    ~Pairs() {
        ForgetSelection(sources);
        ForgetSelection(copies);
    }
};

void AddPair(Pairs& pairs, int n) {
    SelectObject(pairs.sources, n);
    SelectObject(pairs.copies, n);
}

// The start and end Vertexes of the LineDefs, each once.
void GatherEnds(const LevelState& level, const SelectionList& lineDefs, Pairs& ends) {
    std::vector<bool> taken(static_cast<size_t>(level.vertices.count), false);
    for (int n : lineDefs) {
        const LineDef& ld = level.lineDefs[n];
        for (uint16_t v : {ld.start, ld.end})
            if (level.vertices.valid(v) && !taken[v]) {
                taken[v] = true;
                AddPair(ends, v);
            }
    }
}

// Every LineDef with a side in a listed Sector, each once.
void GatherLineDefsOfSectors(const LevelState& level, const SelectionList& sectors, Pairs& lineDefs) {
    std::vector<bool> listed(static_cast<size_t>(level.sectors.count), false);
    for (int s : sectors)
        listed[static_cast<size_t>(s)] = true;
    auto inList = [&](uint16_t side) {
        int s = SectorOfSide(level, side);
        return s >= 0 && listed[static_cast<size_t>(s)];
    };
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (inList(level.lineDefs[l].sideDef1) || inList(level.lineDefs[l].sideDef2))
            AddPair(lineDefs, l);
}

int SidesOf(const LevelState& level, const SelectionList& lineDefs) {
    int sides = 0;
    for (int n : lineDefs)
        sides += level.sideDefs.valid(level.lineDefs[n].sideDef1) + level.sideDefs.valid(level.lineDefs[n].sideDef2);
    return sides;
}

// Whether the copies of the listed objects fit in the level.
bool CopiesFit(const LevelState& level, int type, const SelectionList& list) {
    switch (type) {
    case kObjThing:
    case kObjVertex:
        return HasRoom(level, type, list.size());
    case kObjLineDef: {
        Pairs ends;
        GatherEnds(level, list, ends);
        return HasRoom(level, kObjLineDef, list.size()) && HasRoom(level, kObjVertex, ends.sources.size());
    }
    case kObjSector: {
        Pairs lineDefs, ends;
        GatherLineDefsOfSectors(level, list, lineDefs);
        GatherEnds(level, lineDefs.sources, ends);
        return HasRoom(level, kObjSector, list.size()) && HasRoom(level, kObjLineDef, lineDefs.sources.size()) &&
               HasRoom(level, kObjVertex, ends.sources.size()) &&
               HasRoom(level, kObjSideDef, SidesOf(level, lineDefs.sources));
    }
    default:
        return true;
    }
}

void CopyThings(LevelState& level, SelectionList& list) {
    for (int& n : list) {
        const Thing t = level.things[n];
        n = AddObject(level, kObjThing, n, t.x, t.y);
    }
}

void CopyVertexes(LevelState& level, SelectionList& list) {
    for (int& n : list) {
        const Vertex v = level.vertices[n];
        n = AddObject(level, kObjVertex, -1, v.x, v.y);
    }
}

// The copies of the LineDefs run between copies of their Vertexes.
void CopyLineDefs(LevelState& level, SelectionList& list) {
    for (int& n : list)
        n = AddObject(level, kObjLineDef, n, 0, 0);
    Pairs ends;
    GatherEnds(level, list, ends);
    CopyObjects(level, kObjVertex, ends.copies);
    std::vector<int> copyOf(static_cast<size_t>(level.vertices.count), -1);
    auto copy = ends.copies.begin();
    for (int source : ends.sources)
        copyOf[static_cast<size_t>(source)] = *copy++;
    auto copied = [&](uint16_t v) {
        return level.vertices.valid(v) && copyOf[v] >= 0 ? static_cast<uint16_t>(copyOf[v]) : v;
    };
    for (int n : list) {
        LineDef& ld = level.lineDefs[n];
        ld.start = copied(ld.start);
        ld.end = copied(ld.end);
    }
}

uint16_t CopiedSide(LevelState& level, uint16_t side) {
    return level.sideDefs.valid(side) ? static_cast<uint16_t>(AddObject(level, kObjSideDef, side, 0, 0))
                                      : kNoReference;
}

void CopySectors(LevelState& level, SelectionList& list) {
    Pairs lineDefs;
    GatherLineDefsOfSectors(level, list, lineDefs);
    CopyObjects(level, kObjLineDef, lineDefs.copies);
    int32_t firstNewSide = level.sideDefs.count;
    auto copy = lineDefs.copies.begin();
    for (int source : lineDefs.sources) {
        LineDef& copied = level.lineDefs[*copy++];
        const LineDef& original = level.lineDefs[source];
        copied.sideDef1 = CopiedSide(level, original.sideDef1);
        copied.sideDef2 = CopiedSide(level, original.sideDef2);
    }
    std::vector<int> copyOf(static_cast<size_t>(level.sectors.count), -1);
    for (int& s : list) {
        int copied = AddObject(level, kObjSector, s, 0, 0);
        copyOf[static_cast<size_t>(s)] = copied;
        s = copied;
    }
    for (int32_t i = firstNewSide; i < level.sideDefs.count; ++i) {
        SideDef& sd = level.sideDefs[i];
        if (sd.sector < copyOf.size() && copyOf[sd.sector] >= 0)
            sd.sector = static_cast<uint16_t>(copyOf[sd.sector]);
    }
}

}  // namespace

int32_t ObjectCount(const LevelState& level, int type) {
    switch (type) {
    case kObjThing: return level.things.count;
    case kObjLineDef: return level.lineDefs.count;
    case kObjSideDef: return level.sideDefs.count;
    case kObjVertex: return level.vertices.count;
    case kObjSector: return level.sectors.count;
    default: return -1;
    }
}

int16_t ClampToMap(int v) { return static_cast<int16_t>(std::clamp(v, kMapLow, kMapHigh)); }

void MarkChanged(LevelState& level, int type) {
    level.levelChanged = true;
    if (type != kObjThing)
        level.mapChanged = true;
}

int SectorOfSide(const LevelState& level, int sideDef) {
    const SideDef* sd = level.sideDefs.at(sideDef);
    return sd && level.sectors.valid(sd->sector) ? sd->sector : -1;
}

SelectionList ExistingObjects(const LevelState& level, int type, const SelectionList& list) {
    int32_t count = ObjectCount(level, type);
    std::vector<int> numbers(list.begin(), list.end());
    SelectionList out;
    for (auto n = numbers.rbegin(); n != numbers.rend(); ++n)
        if (*n >= 0 && *n < count)
            SelectObject(out, *n);
    return out;
}

int AddObject(LevelState& level, int type, int from, int x, int y) {
    // A LineDef must run between Vertexes that exist.
    bool noEnds = type == kObjLineDef && level.vertices.count == 0;
    if (!Editable(level, type) || !HasRoom(level, type, 1) || noEnds)
        return -1;
    switch (type) {
    case kObjThing:
        return Append(level, level.things, type, NewThing(level, from, x, y));
    case kObjLineDef:
        return Append(level, level.lineDefs, type, NewLineDef(level, from));
    case kObjSideDef:
        return Append(level, level.sideDefs, type, NewSideDef(level, from));
    case kObjVertex:
        return Append(level, level.vertices, type, Vertex{ClampToMap(x), ClampToMap(y)});
    default:
        return Append(level, level.sectors, type, NewSector(level, from));
    }
}

void DeleteObjects(LevelState& level, int type, SelectionList& list) {
    if (!Editable(level, type))
        return;
    Doomed doomed;
    Marks& marks = MarksOf(doomed, type);
    int32_t count = ObjectCount(level, type);
    for (int n : list)
        if (n >= 0 && n < count)
            Mark(marks, n, count);
    ForgetSelection(list);
    if (marks.empty())
        return;
    if (type == kObjVertex)
        DoomLineDefsOfVertexes(level, doomed);
    if (type == kObjVertex || type == kObjLineDef)
        DoomSideDefsOfLineDefs(level, doomed);
    if (type == kObjSector) {
        DoomSideDefsOfSectors(level, doomed);
        MendLineDefsOfSectors(level, doomed);
    }
    RemoveDoomed(level, doomed);
    MarkChanged(level, type);
}

void DeleteObject(LevelState& level, int type, int n) {
    SelectionList list;
    SelectObject(list, n);
    DeleteObjects(level, type, list);
}

bool CopyObjects(LevelState& level, int type, SelectionList& list) {
    DropMissing(level, type, list);
    if (!CopiesFit(level, type, list))
        return false;
    switch (type) {
    case kObjThing: CopyThings(level, list); break;
    case kObjVertex: CopyVertexes(level, list); break;
    case kObjLineDef: CopyLineDefs(level, list); break;
    case kObjSector: CopySectors(level, list); break;
    default: break;
    }
    return true;
}

