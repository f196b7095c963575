#include "edits/object_values.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "edits/objects.h"

namespace edits {

namespace {

constexpr int16_t kTwoSidedOnly = 4;

uint16_t& SideOf(LineDef& ld, LineDefSide side) { return side == LineDefSide::First ? ld.sideDef1 : ld.sideDef2; }

bool UsedAsSide(const LevelState& level, int sideDef) {
    return std::any_of(level.lineDefs.begin(), level.lineDefs.end(),
                       [sideDef](const LineDef& ld) { return ld.sideDef1 == sideDef || ld.sideDef2 == sideDef; });
}

// The missing side of LineDef n (see AddMissingSides); false when the level
// holds no more SideDefs.
bool AddMissingSide(LevelState& level, int n, LineDefSide side, SidesAdded& added) {
    const LineDef& ld = level.lineDefs[n];
    bool hasFirst = level.sideDefs.valid(ld.sideDef1);
    bool complete = side == LineDefSide::First ? hasFirst : hasFirst && level.sideDefs.valid(ld.sideDef2);
    if (complete)
        return true;
    int sd = AddObject(level, kObjSideDef, -1, 0, 0);
    if (sd < 0) {
        added.full = true;
        return false;
    }
    LineDef& line = level.lineDefs[n];
    if (hasFirst) {
        SideDef& back = level.sideDefs[sd];
        std::strncpy(back.middle, "-", sizeof back.middle);
        back.sector = level.sideDefs[line.sideDef1].sector;
        line.sideDef2 = static_cast<uint16_t>(sd);
        line.flags = kTwoSidedOnly;
    } else {
        line.sideDef1 = static_cast<uint16_t>(sd);
    }
    added.sideDefs.push_back(sd);
    return true;
}

}  // namespace

void MoveVertexesBy(LevelState& level, const SelectionList& vertexes, int dx, int dy) {
    for (int n : vertexes)
        if (Vertex* v = level.vertices.at(n)) {
            v->x = ClampToMap(v->x + dx);
            v->y = ClampToMap(v->y + dy);
        }
    level.levelChanged = level.mapChanged = true;
}

SidesAdded AddMissingSides(LevelState& level, const SelectionList& lineDefs, LineDefSide side) {
    SidesAdded added;
    for (int n : lineDefs)
        if (level.lineDefs.valid(n) && !AddMissingSide(level, n, side, added))
            break;
    return added;
}

bool SetSideDefOf(LevelState& level, int lineDef, LineDefSide side, int sideDef) {
    if (!level.lineDefs.valid(lineDef) || (sideDef != -1 && !level.sideDefs.valid(sideDef)))
        return false;
    uint16_t& field = SideOf(level.lineDefs[lineDef], side);
    int old = field;
    field = sideDef < 0 ? kNoReference : static_cast<uint16_t>(sideDef);
    if (sideDef < 0 && level.sideDefs.valid(old) && !UsedAsSide(level, old))
        DeleteObject(level, kObjSideDef, old);
    level.levelChanged = level.mapChanged = true;
    return true;
}

}  // namespace edits
