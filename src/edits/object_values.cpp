#include "edits/object_values.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "edits/edit_support.h"
#include "edits/objects.h"
#include "base/flavour.h"
#include "base/map_target.h"

namespace edits {

namespace {


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
        line.flags = kLineTwoSided;
    } else {
        line.sideDef1 = static_cast<uint16_t>(sd);
    }
    added.sideDefs.push_back(sd);
    return true;
}

// Sets a member of every listed record of the array; how many there were.
template <class T, class F>
int PutEach(ObjectArray<T>& array, const std::vector<int>& objects, F T::*member, int value) {
    int put = 0;
    for (int n : objects)
        if (T* record = array.at(n)) {
            record->*member = static_cast<F>(value);
            ++put;
        }
    return put;
}

using NameField = char[8];

// The field of Sector or SideDef n that holds the part; null when there is
// no such object.
NameField* NameOf(LevelState& level, int n, NamePart part) {
    if (part == NamePart::CeilingFlat || part == NamePart::FloorFlat) {
        Sector* sector = level.sectors.at(n);
        if (!sector)
            return nullptr;
        return part == NamePart::CeilingFlat ? &sector->ceilingTexture : &sector->floorTexture;
    }
    SideDef* side = level.sideDefs.at(n);
    if (!side)
        return nullptr;
    return part == NamePart::Upper ? &side->upper : part == NamePart::Lower ? &side->lower : &side->middle;
}

}  // namespace

void SetNumber(LevelState& level, const std::vector<int>& objects, NumberField field, int value) {
    int put = 0;
    switch (field) {
    case NumberField::ThingAngle: put = PutEach(level.things, objects, &Thing::angle, value); break;
    case NumberField::LineDefTag: put = PutEach(level.lineDefs, objects, &LineDef::tag, value); break;
    case NumberField::SideXOffset: put = PutEach(level.sideDefs, objects, &SideDef::xOffset, value); break;
    case NumberField::SideYOffset: put = PutEach(level.sideDefs, objects, &SideDef::yOffset, value); break;
    case NumberField::SideSector: put = PutEach(level.sideDefs, objects, &SideDef::sector, value); break;
    case NumberField::SectorCeiling: put = PutEach(level.sectors, objects, &Sector::ceilingHeight, value); break;
    case NumberField::SectorFloor: put = PutEach(level.sectors, objects, &Sector::floorHeight, value); break;
    case NumberField::SectorLight: put = PutEach(level.sectors, objects, &Sector::light, value); break;
    case NumberField::SectorTag: put = PutEach(level.sectors, objects, &Sector::tag, value); break;
    }
    level.levelChanged |= put > 0;
}

int SetName(LevelState& level, const std::vector<int>& objects, NamePart part, const char* name) {
    int named = 0;
    for (int n : objects)
        if (NameField* field = NameOf(level, n, part)) {
            SetTextureName(*field, name);
            ++named;
        }
    level.levelChanged |= named > 0;
    return named;
}

void SetFlags(LevelState& level, int type, const std::vector<int>& objects, ShownFlags flags) {
    for (int n : objects) {
        int16_t* word = nullptr;
        if (type == kObjThing && level.things.valid(n))
            word = &level.things[n].flags;
        else if (type == kObjLineDef && level.lineDefs.valid(n))
            word = &level.lineDefs[n].flags;
        if (word) {
            *word = flags.Over(*word);
            level.levelChanged = true;
        }
    }
}

bool SetType(LevelState& level, int kind, const std::vector<int>& objects, int chosen) {
    constexpr int kBaseBits = 0x1F;
    bool keepBits = kind == kObjSector && !IsHeretic() && TargetAllows(level.target, MapTarget::Boom) &&
                    chosen <= kBaseBits;
    bool changed = false;
    for (int n : objects) {
        int16_t* type = kind == kObjThing     ? (level.things.valid(n) ? &level.things[n].type : nullptr)
                        : kind == kObjLineDef ? (level.lineDefs.valid(n) ? &level.lineDefs[n].type : nullptr)
                        : kind == kObjSector  ? (level.sectors.valid(n) ? &level.sectors[n].type : nullptr)
                                              : nullptr;
        if (!type)
            continue;
        int16_t value = static_cast<int16_t>(keepBits ? (*type & ~kBaseBits) | chosen : chosen);
        if (*type != value) {
            *type = value;
            changed = true;
        }
    }
    level.levelChanged |= changed;
    return changed;
}

void SetSectorBits(LevelState& level, const std::vector<int>& sectors, SectorBits bits) {
    for (int n : sectors)
        if (Sector* s = level.sectors.at(n)) {
            SectorBits own = DecodeSectorBits(static_cast<uint16_t>(s->type));
            bits.base = own.base;
            bits.other = own.other;
            s->type = static_cast<int16_t>(EncodeSectorBits(bits));
            level.levelChanged = true;
        }
}

void MoveVertexesBy(LevelState& level, const SelectionList& vertexes, int dx, int dy) {
    for (int n : vertexes)
        if (Vertex* v = level.vertices.at(n)) {
            v->x = ClampToMap(v->x + dx);
            v->y = ClampToMap(v->y + dy);
            level.levelChanged = level.mapChanged = true;
        }
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
