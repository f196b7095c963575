#include "stepwise_delete.h"

#include <algorithm>

#include "level/level.h"

namespace stepwise {

namespace {

// The reference with object n gone: references to objects after n move down;
// one that names no object stays.
uint16_t Shifted(uint16_t ref, int n, int32_t count) {
    return ref < count && ref > n ? static_cast<uint16_t>(ref - 1) : ref;
}

template <typename T>
void RemoveRecord(ObjectArray<T>& array, int type, int n) {
    for (int i = n; i + 1 < array.count; ++i)
        array[i] = array[i + 1];
    ResizeObject(type, Resize::RemoveLast);
}

bool UsedByAnotherLineDef(int side, int except) {
    for (int l = 0; l < level.lineDefs.count; ++l)
        if (l != except && (level.lineDefs[l].sideDef1 == side || level.lineDefs[l].sideDef2 == side))
            return true;
    return false;
}

void DeleteOne(int type, int n);

void DeleteVertex(int n) {
    for (int i = 0; i < level.lineDefs.count;) {
        LineDef& ld = level.lineDefs[i];
        if (ld.start == n || ld.end == n) {
            DeleteOne(kObjLineDef, i);
            continue;
        }
        ld.start = Shifted(ld.start, n, level.vertices.count);
        ld.end = Shifted(ld.end, n, level.vertices.count);
        ++i;
    }
}

// The first side goes first; the second is read afterwards, renumbered.
void DeleteLineDef(int n) {
    for (uint16_t LineDef::*side : {&LineDef::sideDef1, &LineDef::sideDef2}) {
        int s = level.lineDefs[n].*side;
        if (ValidSideDef(s) && !UsedByAnotherLineDef(s, n))
            DeleteOne(kObjSideDef, s);
    }
}

void DeleteSideDef(int n) {
    for (LineDef& ld : level.lineDefs)
        for (uint16_t* side : {&ld.sideDef1, &ld.sideDef2})
            *side = *side == n ? kNoReference : Shifted(*side, n, level.sideDefs.count);
}

void DeleteSector(int n) {
    for (int i = 0; i < level.sideDefs.count;) {
        SideDef& sd = level.sideDefs[i];
        if (sd.sector == n) {
            DeleteOne(kObjSideDef, i);
            continue;
        }
        sd.sector = Shifted(sd.sector, n, level.sectors.count);
        ++i;
    }
}

void DeleteOne(int type, int n) {
    switch (type) {
    case kObjThing: RemoveRecord(level.things, type, n); break;
    case kObjVertex: DeleteVertex(n); RemoveRecord(level.vertices, type, n); break;
    case kObjLineDef: DeleteLineDef(n); RemoveRecord(level.lineDefs, type, n); break;
    case kObjSideDef: DeleteSideDef(n); RemoveRecord(level.sideDefs, type, n); break;
    case kObjSector: DeleteSector(n); RemoveRecord(level.sectors, type, n); break;
    }
    level.levelChanged = true;
    if (type != kObjThing)
        level.mapChanged = true;
}

}  // namespace

int32_t CountOf(int type) {
    switch (type) {
    case kObjThing: return level.things.count;
    case kObjVertex: return level.vertices.count;
    case kObjLineDef: return level.lineDefs.count;
    case kObjSideDef: return level.sideDefs.count;
    default: return level.sectors.count;
    }
}

void DeleteObjects(int type, std::vector<int> list) {
    while (!list.empty()) {
        int n = list.front();
        list.erase(std::remove(list.begin(), list.end(), n), list.end());
        if (n < 0 || n >= CountOf(type))
            continue;
        DeleteOne(type, n);
        for (int& other : list)
            if (other > n)
                --other;
    }
}

}  // namespace stepwise
