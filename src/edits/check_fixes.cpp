#include "edits/check_fixes.h"

#include <algorithm>

#include "base/config.h"
#include "edits/edit_support.h"
#include "edits/objects.h"
#include "level/history.h"

namespace edits {

namespace {

// A fix of one field: the level counts as changed, the check's step is
// named after the fix.
void FieldFixed(LevelState& level, const char* step) {
    level.levelChanged = true;
    NameStep(step);
}

int16_t HeightAbove(int16_t floor, int by) { return static_cast<int16_t>(std::min(floor + by, 32767)); }

}   // namespace

void DeleteUnusedObjects(LevelState& level, int type, SelectionList& unused) {
    EditScope edit("delete unused objects");
    DeleteObjects(level, type, unused);
    level.levelChanged = true;
    edit.Commit();
}

bool DeleteDuplicateLineDef(LevelState& level, int lineDef) {
    if (!level.lineDefs.valid(lineDef)) return false;
    EditScope edit("delete duplicate LineDef");
    DeleteObject(level, kObjLineDef, lineDef);
    edit.Commit();
    return true;
}

void FixLineDefFlags(LevelState& level, const std::vector<int>& lineDefs, int16_t set, int16_t clear) {
    EditScope edit("set LineDef flags");
    for (int i : lineDefs)
        if (LineDef* ld = level.lineDefs.at(i)) ld->flags = static_cast<int16_t>((ld->flags | set) & ~clear);
    level.levelChanged = true;
    edit.Commit();
}

bool ResetTag(LevelState& level, int type, int n) {
    int16_t* tag = nullptr;
    if (type == kObjLineDef && level.lineDefs.valid(n))
        tag = &level.lineDefs[n].tag;
    else if (type == kObjSector && level.sectors.valid(n))
        tag = &level.sectors[n].tag;
    if (!tag) return false;
    *tag = 0;
    FieldFixed(level, "reset tags");
    return true;
}

const char* DefaultName(NamePart part) {
    switch (part) {
    case NamePart::CeilingFlat: return config.flatCeiling;
    case NamePart::FloorFlat: return config.flatFloor;
    case NamePart::Upper: return config.textureUpper;
    case NamePart::Lower: return config.textureLower;
    case NamePart::Middle: break;
    }
    return config.textureNormal;
}

bool SetDefaultName(LevelState& level, int n, NamePart part, NameFix why) {
    if (SetName(level, {n}, part, DefaultName(part)) == 0)
        return false;
    FieldFixed(level, why == NameFix::Missing ? "set missing textures" : "replace unknown textures");
    return true;
}

bool FixSectorHeight(LevelState& level, int sector, HeightFix fix) {
    Sector* s = level.sectors.at(sector);
    if (!s) return false;
    s->ceilingHeight = HeightAbove(s->floorHeight, fix == HeightFix::CeilingBelowFloor ? 64 : 1023);
    FieldFixed(level, "set missing textures");
    return true;
}

}   // namespace edits
