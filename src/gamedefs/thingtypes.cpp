#include "gamedefs/thingtypes.h"

namespace {

constexpr int kUnknownColour = 15;
constexpr int kUnknownRadius = 16;

const char* const kThingFlagNames[] = {"12 ", "3 ", "45 ", "Deaf ", "Net "};

const char* const kCompassNames[] = {"E", "NE", "N", "NW", "W", "SW", "S", "SE"};
const char kOddAngle[] = "<?\?>";   // "<??>", escaped so it is no trigraph

const DefTable<ThingTypeInfo>& Things() { return CurrentDefinitions().things; }

}  // namespace

const ThingTypeInfo* FindThingType(uint16_t type) {
    int row = FindTypeRow(Things(), type);
    return row < 0 ? nullptr : &Things().rows[row];
}

const char* GetThingTypeSprite(uint16_t type) {
    const ThingTypeInfo* row = FindThingType(type);
    return row ? row->sprite : kUnknownName;
}

const char* GetThingTypeDescription(uint16_t type) {
    const ThingTypeInfo* row = FindThingType(type);
    return row ? row->description : kUnknownName;
}

int GetThingTypeColour(uint16_t type) {
    const ThingTypeInfo* row = FindThingType(type);
    return row ? row->colour : kUnknownColour;
}

int GetThingTypeRadius(uint16_t type) {
    const ThingTypeInfo* row = FindThingType(type);
    return row ? row->radius : kUnknownRadius;
}

uint16_t GetThingTypeCategory(uint16_t type) {
    int row = FindTypeRow(Things(), type);
    for (; row >= 0; row--)
        if (IsHeaderType(Things().rows[row].type)) return Things().rows[row].type;
    return 0;
}

bool IsThingTypeKnown(uint16_t type) { return FindThingType(type) != nullptr; }

bool IsPlayerStart(uint16_t type) { return type >= 1 && type <= 4; }

std::string ThingFlagsText(uint16_t flags) {
    std::string text;
    for (int n = 1; n <= 5; n++)
        if (HasFlagBit(flags, n)) text += kThingFlagNames[n - 1];
    return text;
}

const char* AngleText(int angle) {
    if (angle < 0 || angle % 45 != 0 || angle / 45 >= 8) return kOddAngle;
    return kCompassNames[angle / 45];
}
