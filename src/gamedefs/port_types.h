// What the game ports add to DOOM's types and flags, and the target each
// addition needs: the Boom line specials (with MBF's sky transfers and
// MBF21's wall scrollers), the generalized line types, the Sector special's
// bit fields, and the new LineDef and Thing flags. The DOOM flavour's tables
// for a target are its own rows with the rows of every target up to it
// merged in, each under its category.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/map_target.h"
#include "gamedefs/gamedefs.h"

// The LineDef and Sector type tables of the current flavour for a target:
// HERETIC's, and DOOM's for the original games and limit-removing, are the
// flavour's own.
DefTable<LineDefTypeInfo> LineDefTypeTable(MapTarget target);
DefTable<SectorTypeInfo> SectorTypeTable(MapTarget target);

// The target a LineDef type, Sector special, Thing type or flags word needs
// in the DOOM flavour: Original for what the original games know; none for
// a value no target knows (types 18 to 31 of a Sector, LineDef types no
// table has, flag bits no port defines).
std::optional<MapTarget> LineDefTypeNeeds(uint16_t type);
std::optional<MapTarget> SectorTypeNeeds(uint16_t type);
std::optional<MapTarget> ThingTypeNeeds(uint16_t type);   // Original for any type not the ports'
std::optional<MapTarget> LineDefFlagsNeed(uint16_t flags);
std::optional<MapTarget> ThingFlagsNeed(uint16_t flags);
// A port's LineDef type that acts without a tag (its own line or sector).
bool PortTypeNeedsNoTag(uint16_t type);

// Flag bits no map may carry: engines read a LineDef with the first as a map
// of an old editor and drop its port flags, and a Thing with the second and
// keep only its original flags.
constexpr uint16_t kReservedLineDefFlag = 0x0800;
constexpr uint16_t kReservedThingFlag = 0x0100;

// A flags word as a dialog sets it: the bits its boxes show and their
// values. The bits it does not show stay as each object has them.
struct ShownFlags {
    uint16_t mask = 0;
    uint16_t value = 0;
    int16_t Over(int16_t old) const {
        return static_cast<int16_t>((static_cast<uint16_t>(old) & ~mask) | (value & mask));
    }
};

// A flag a port adds, with the target it needs.
struct PortFlag {
    uint16_t mask;
    const char* name;
    const char* code;   // two letters for the info panel
    MapTarget needs;
};
DefTable<PortFlag> PortLineDefFlags();   // pass use, block land monsters, block players
DefTable<PortFlag> PortThingFlags();     // not in deathmatch, not in co-op, friendly

// The Boom Sector special: the original type in bits 0-4 and bit fields
// above it.
struct SectorBits {
    int base = 0;          // bits 0-4
    int damage = 0;        // bits 5-6: 0 none, 1 5%, 2 10%, 3 20% (other meanings with altDamage)
    bool secret = false;   // bit 7
    bool friction = false;
    bool wind = false;
    bool altDamage = false;       // MBF21: the damage field kills or ends the level
    bool killMonsters = false;    // MBF21: kills grounded monsters
    uint16_t other = 0;           // the bits no port defines, kept as they are
};
SectorBits DecodeSectorBits(uint16_t type);
uint16_t EncodeSectorBits(const SectorBits& bits);
// The names of the damage field's values, plain and in the alternate mode.
const char* SectorDamageName(int damage, bool altDamage);

// The codes of the bit fields a target knows ("D10 Se Fr"); "" when none is set.
std::string SectorBitsCodes(uint16_t type, MapTarget target);
// A Sector special for a narrow panel: the base type's short name followed by
// the bit fields a target knows ("Glowing D10 Se Fr").
std::string SectorBitsText(uint16_t type, MapTarget target);
