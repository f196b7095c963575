// The game definitions: what the editor knows about the Thing types, LineDef
// types, Sector types and LineDef flags of the game it edits. Each flavour
// (HERETIC, DOOM) has its own set of tables; the lookups of thingtypes.h and
// linetypes.h read the set of the current flavour.
//
// Every table is a list of rows in a fixed order. A row whose type has bit 15
// set is a category header; the rows below it, up to the next header, belong
// to that category. Lookups take the first row whose type matches, header rows
// included.
#pragma once

#include <cstdint>

// The text every name lookup gives for a number that no row has.
extern const char kUnknownName[];   // "<?unknown>?"

constexpr uint16_t kHeaderBit = 0x8000;
inline bool IsHeaderType(uint16_t type) { return (type & kHeaderBit) != 0; }

// Thing categories (the header codes of the Thing tables).
constexpr uint16_t kThingCatExit = 0x8001;
constexpr uint16_t kThingCatStarts = 0x8002;
constexpr uint16_t kThingCatEnemies = 0x8003;
constexpr uint16_t kThingCatWeapons = 0x8004;
constexpr uint16_t kThingCatAmmunition = 0x8005;
constexpr uint16_t kThingCatKeys = 0x8006;
constexpr uint16_t kThingCatEquipment = 0x8007;
constexpr uint16_t kThingCatDecorations = 0x8008;
constexpr uint16_t kThingCatLightSources = 0x8009;
constexpr uint16_t kThingCatCorpses = 0x800A;
constexpr uint16_t kThingCatGeology = 0x800B;         // DOOM: hanging corpses
constexpr uint16_t kThingCatNumber = 0x800D;          // "Thing#": typed number
constexpr uint16_t kThingCatAmbientSounds = 0x800E;   // HERETIC only

// LineDef categories.
constexpr uint16_t kLineCatNormal = 0x8000;
constexpr uint16_t kLineCatDoorKey = 0x8001;
constexpr uint16_t kLineCatDoorOpen = 0x8002;
constexpr uint16_t kLineCatDoorClose = 0x8003;
constexpr uint16_t kLineCatCeilings = 0x8004;
constexpr uint16_t kLineCatCrushers = 0x8005;
constexpr uint16_t kLineCatStairs = 0x8006;
constexpr uint16_t kLineCatFloorRaiseCeil = 0x8007;
constexpr uint16_t kLineCatFloorRaiseFloor = 0x8008;
constexpr uint16_t kLineCatFloorLower = 0x8009;
constexpr uint16_t kLineCatLifts = 0x800A;
constexpr uint16_t kLineCatLights = 0x800B;
constexpr uint16_t kLineCatSpecial = 0x800C;

// Sector categories: 0x8000 holds the normal type; 0x8001 to 0x8003 are the
// three lists of the Sector type menu.
constexpr uint16_t kSectorCatNormal = 0x8000;

// A row of a Thing table.
struct ThingTypeInfo {
    uint16_t type;            // header rows: the category code
    const char* sprite;       // picture of the type (header: of the category)
    const char* description;  // header rows: the category's name
    int16_t colour;           // logical colour on the map; 0 for headers
    uint16_t radius;          // half the side of its square in map units
};

// A row of a LineDef or Sector type table.
struct SpecialTypeInfo {
    uint16_t type;
    const char* description;
    const char* shortName;    // nullptr: the first 16 characters of description
};
using LineDefTypeInfo = SpecialTypeInfo;
using SectorTypeInfo = SpecialTypeInfo;

// A LineDef flag bit with its name and two-letter code.
struct LineDefFlagInfo {
    uint16_t mask;
    const char* name;
    const char* code;
};

// A constant table seen as a range of rows.
template <class Row>
struct DefTable {
    const Row* rows;
    int count;
    const Row* begin() const { return rows; }
    const Row* end() const { return rows + count; }
};

template <class Row, int N>
constexpr DefTable<Row> MakeTable(const Row (&rows)[N]) {
    return DefTable<Row>{rows, N};
}

// A list of LineDef types the consistency checker tests against.
struct TypeList {
    const uint16_t* types;
    int count;
    bool Contains(uint16_t type) const;
};

template <int N>
constexpr TypeList MakeList(const uint16_t (&types)[N]) {
    return TypeList{types, N};
}

// Everything one flavour knows about its game.
struct GameDefinitions {
    DefTable<ThingTypeInfo> things;
    DefTable<LineDefTypeInfo> lineDefTypes;
    DefTable<SectorTypeInfo> sectorTypes;
    // The consistency checker's lists.
    TypeList noTagTypes;       // LineDef types that need no sector tag
    TypeList exitTypes;
    TypeList teleportTypes;
    uint16_t bossType;         // a Thing that needs a Thing of bossSpotType
    uint16_t bossSpotType;
    const char* bossMessage;   // with the Thing number, boss and spot types
};

extern const GameDefinitions kHereticDefinitions;
extern const GameDefinitions kDoomDefinitions;

// The definitions of the current flavour.
const GameDefinitions& CurrentDefinitions();

// The LineDef flag table, highest bit first (the same in both flavours).
DefTable<LineDefFlagInfo> LineDefFlagTable();

// True if bit n - 1 of a flags word is set (n from 1 to 16; false otherwise).
bool HasFlagBit(uint16_t flags, int n);

// Shared scans over any table -------------------------------------------------

// A row marks a type of the later game (DOOM II) when its description ends in
// "2".
bool IsLaterGameDescription(const char* description);

// Index (from 0) of the first row with this type, or -1.
template <class Row>
int FindTypeRow(const DefTable<Row>& table, uint16_t type) {
    for (int i = 0; i < table.count; i++)
        if (table.rows[i].type == type) return i;
    return -1;
}
