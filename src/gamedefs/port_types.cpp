#include "gamedefs/port_types.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/flavour.h"
#include "gamedefs/generalized.h"

namespace {

// A row a port adds to a table: the category it goes under and the target
// it needs.
struct PortRow {
    uint16_t category;
    MapTarget needs;
    SpecialTypeInfo row;
};

constexpr MapTarget B = MapTarget::Boom;
constexpr MapTarget M = MapTarget::Mbf21;

// Descriptions never end in "2": that marks what only DOOM II has.
const PortRow kPortLineDefTypes[] = {
    {kLineCatDoorClose, B, {175, "S1 CloseDoor 30 open again after 30 seconds", nullptr}},
    {kLineCatDoorClose, B, {196, "SR CloseDoor 30 open again after 30 seconds", nullptr}},
    {kLineCatCeilings, B, {145, "W1 LowerCeil FlF to floor, fast", nullptr}},
    {kLineCatCeilings, B, {152, "WR LowerCeil FlF to floor, fast", nullptr}},
    {kLineCatCeilings, B, {151, "WR RaiseCeil Ne+ max neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {166, "S1 RaiseCeil Ne+ max neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {186, "SR RaiseCeil Ne+ max neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {167, "S1 LowerCeil Fl8 8 above floor", nullptr}},
    {kLineCatCeilings, B, {187, "SR LowerCeil Fl8 8 above floor", nullptr}},
    {kLineCatCeilings, B, {199, "W1 LowerCeil Ce- min neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {201, "WR LowerCeil Ce- min neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {203, "S1 LowerCeil Ce- min neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {205, "SR LowerCeil Ce- min neighbor ceiling", nullptr}},
    {kLineCatCeilings, B, {200, "W1 LowerCeil Fl+ max neighbor floor", nullptr}},
    {kLineCatCeilings, B, {202, "WR LowerCeil Fl+ max neighbor floor", nullptr}},
    {kLineCatCeilings, B, {204, "S1 LowerCeil Fl+ max neighbor floor", nullptr}},
    {kLineCatCeilings, B, {206, "SR LowerCeil Fl+ max neighbor floor", nullptr}},
    {kLineCatCrushers, B, {150, "WR Crusher S    start, slow and silent", nullptr}},
    {kLineCatCrushers, B, {164, "S1 Crusher F    start, fast", nullptr}},
    {kLineCatCrushers, B, {165, "S1 Crusher S    start, slow and silent", nullptr}},
    {kLineCatCrushers, B, {168, "S1 Crusher      stop", nullptr}},
    {kLineCatCrushers, B, {183, "SR Crusher F    start, fast", nullptr}},
    {kLineCatCrushers, B, {184, "SR Crusher      start, slow", nullptr}},
    {kLineCatCrushers, B, {185, "SR Crusher S    start, slow and silent", nullptr}},
    {kLineCatCrushers, B, {188, "SR Crusher      stop", nullptr}},
    {kLineCatFloorRaiseFloor, B, {142, "W1 RaiseFlr 512 up 512 units", nullptr}},
    {kLineCatFloorRaiseFloor, B, {147, "WR RaiseFlr 512 up 512 units", nullptr}},
    {kLineCatFloorRaiseFloor, B, {178, "SR RaiseFlr 512 up 512 units", nullptr}},
    {kLineCatFloorRaiseFloor, B, {158, "S1 RaiseFlr Lo  up by shortest lower texture", nullptr}},
    {kLineCatFloorRaiseFloor, B, {176, "SR RaiseFlr Lo  up by shortest lower texture", nullptr}},
    {kLineCatFloorRaiseFloor, B, {161, "S1 RaiseFlr 24  up 24", nullptr}},
    {kLineCatFloorRaiseFloor, B, {180, "SR RaiseFlr 24  up 24", nullptr}},
    {kLineCatFloorRaiseFloor, B, {143, "W1 RaiseFlr 24T up 24, match front txt", nullptr}},
    {kLineCatFloorRaiseFloor, B, {148, "WR RaiseFlr 24T up 24, match front txt", nullptr}},
    {kLineCatFloorRaiseFloor, B, {144, "W1 RaiseFlr 32T up 32, match front txt, type 0", nullptr}},
    {kLineCatFloorRaiseFloor, B, {149, "WR RaiseFlr 32T up 32, match front txt, type 0", nullptr}},
    {kLineCatFloorRaiseFloor, B, {160, "S1 RaiseFlr 24T up 24, match front txt/type", nullptr}},
    {kLineCatFloorRaiseFloor, B, {179, "SR RaiseFlr 24T up 24, match front txt/type", nullptr}},
    {kLineCatFloorRaiseFloor, B, {153, "W1 ChangeFlr T  front txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {154, "WR ChangeFlr T  front txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {189, "S1 ChangeFlr T  front txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {190, "SR ChangeFlr T  front txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {239, "W1 ChangeFlr N  neighbor txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {240, "WR ChangeFlr N  neighbor txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {241, "S1 ChangeFlr N  neighbor txt/type, no move", nullptr}},
    {kLineCatFloorRaiseFloor, B, {78, "SR ChangeFlr N  neighbor txt/type, no move", nullptr}},
    {kLineCatFloorLower, B, {159, "S1 LowerFlr NT- min neighbor floor, neighbor txt/type", nullptr}},
    {kLineCatFloorLower, B, {177, "SR LowerFlr NT- min neighbor floor, neighbor txt/type", nullptr}},
    {kLineCatFloorLower, B, {219, "W1 LowerFlr Nx- next lower neighbor floor", nullptr}},
    {kLineCatFloorLower, B, {220, "WR LowerFlr Nx- next lower neighbor floor", nullptr}},
    {kLineCatFloorLower, B, {221, "S1 LowerFlr Nx- next lower neighbor floor", nullptr}},
    {kLineCatFloorLower, B, {222, "SR LowerFlr Nx- next lower neighbor floor", nullptr}},
    {kLineCatFloorLower, B, {146, "W1 Donut        lower pillar, raise ring to match outside", nullptr}},
    {kLineCatFloorLower, B, {155, "WR Donut        lower pillar, raise ring to match outside", nullptr}},
    {kLineCatFloorLower, B, {191, "SR Donut        lower pillar, raise ring to match outside", nullptr}},
    {kLineCatStairs, B, {256, "WR Stairs 8     raise stairs, 8 per step", nullptr}},
    {kLineCatStairs, B, {257, "WR Stairs 16F   raise stairs, 16 per step, fast", nullptr}},
    {kLineCatStairs, B, {258, "SR Stairs 8     raise stairs, 8 per step", nullptr}},
    {kLineCatStairs, B, {259, "SR Stairs 16F   raise stairs, 16 per step, fast", nullptr}},
    {kLineCatLifts, B, {162, "S1 MovingFloor  start, up and down, wait 3 at each end", nullptr}},
    {kLineCatLifts, B, {163, "S1 MovingFlr S  stop", nullptr}},
    {kLineCatLifts, B, {181, "SR MovingFloor  start, up and down, wait 3 at each end", nullptr}},
    {kLineCatLifts, B, {182, "SR MovingFlr S  stop", nullptr}},
    {kLineCatLifts, B, {211, "SR Toggle       floor to ceiling and back, instant", nullptr}},
    {kLineCatLifts, B, {212, "WR Toggle       floor to ceiling and back, instant", nullptr}},
    {kLineCatLifts, B, {227, "W1 Elevator Up  to next higher floor", nullptr}},
    {kLineCatLifts, B, {228, "WR Elevator Up  to next higher floor", nullptr}},
    {kLineCatLifts, B, {229, "S1 Elevator Up  to next higher floor", nullptr}},
    {kLineCatLifts, B, {230, "SR Elevator Up  to next higher floor", nullptr}},
    {kLineCatLifts, B, {231, "W1 Elevator Dn  to next lower floor", nullptr}},
    {kLineCatLifts, B, {232, "WR Elevator Dn  to next lower floor", nullptr}},
    {kLineCatLifts, B, {233, "S1 Elevator Dn  to next lower floor", nullptr}},
    {kLineCatLifts, B, {234, "SR Elevator Dn  to next lower floor", nullptr}},
    {kLineCatLifts, B, {235, "W1 Elevator Tr  to the front sector's floor", nullptr}},
    {kLineCatLifts, B, {236, "WR Elevator Tr  to the front sector's floor", nullptr}},
    {kLineCatLifts, B, {237, "S1 Elevator Tr  to the front sector's floor", nullptr}},
    {kLineCatLifts, B, {238, "SR Elevator Tr  to the front sector's floor", nullptr}},
    {kLineCatLights, B, {169, "S1 Lights Ne+   max neighbor light level", nullptr}},
    {kLineCatLights, B, {192, "SR Lights Ne+   max neighbor light level", nullptr}},
    {kLineCatLights, B, {170, "S1 Lights OFF   level goes to 35", nullptr}},
    {kLineCatLights, B, {171, "S1 Lights ON    level goes to 255", nullptr}},
    {kLineCatLights, B, {156, "WR Lights Blink start blinking (every second)", nullptr}},
    {kLineCatLights, B, {172, "S1 Lights Blink start blinking (every second)", nullptr}},
    {kLineCatLights, B, {193, "SR Lights Blink start blinking (every second)", nullptr}},
    {kLineCatLights, B, {157, "WR Lights Ne-   min neighbor light level", nullptr}},
    {kLineCatLights, B, {173, "S1 Lights Ne-   min neighbor light level", nullptr}},
    {kLineCatLights, B, {194, "SR Lights Ne-   min neighbor light level", nullptr}},
    {kLineCatLights, B, {213, "-- Light Floor  tagged floors take front sector's light", nullptr}},
    {kLineCatLights, B, {261, "-- Light Ceil   tagged ceilings take front sector's light", nullptr}},
    {kLineCatSpecial, B, {197, "G- End Level    when shot", nullptr}},
    {kLineCatSpecial, B, {198, "G- Secret Exit  when shot", nullptr}},
    {kLineCatSpecial, B, {174, "S1 Teleport     to the TP thing in the tagged sector", nullptr}},
    {kLineCatSpecial, B, {195, "SR Teleport     to the TP thing in the tagged sector", nullptr}},
    {kLineCatSpecial, B, {207, "W1 Teleport Q   silent, keeps the view angle", nullptr}},
    {kLineCatSpecial, B, {208, "WR Teleport Q   silent, keeps the view angle", nullptr}},
    {kLineCatSpecial, B, {209, "S1 Teleport Q   silent, keeps the view angle", nullptr}},
    {kLineCatSpecial, B, {210, "SR Teleport Q   silent, keeps the view angle", nullptr}},
    {kLineCatSpecial, B, {243, "W1 TeleLine Q   silent, to the line of the same tag", nullptr}},
    {kLineCatSpecial, B, {244, "WR TeleLine Q   silent, to the line of the same tag", nullptr}},
    {kLineCatSpecial, B, {262, "W1 TeleLine QR  silent, to the line, turned around", nullptr}},
    {kLineCatSpecial, B, {263, "WR TeleLine QR  silent, to the line, turned around", nullptr}},
    {kLineCatSpecial, B, {264, "W1 TeleLine MR  monsters only, turned around", nullptr}},
    {kLineCatSpecial, B, {265, "WR TeleLine MR  monsters only, turned around", nullptr}},
    {kLineCatSpecial, B, {266, "W1 TeleLine M   monsters only, silent", nullptr}},
    {kLineCatSpecial, B, {267, "WR TeleLine M   monsters only, silent", nullptr}},
    {kLineCatSpecial, B, {268, "W1 Teleport MQ  monsters only, silent", nullptr}},
    {kLineCatSpecial, B, {269, "WR Teleport MQ  monsters only, silent", nullptr}},
    {kLineCatSpecial, B, {85, "-- Animated wall (scroll right)", nullptr}},
    {kLineCatSpecial, B, {255, "-- Scroll Wall  by its own front offsets", nullptr}},
    {kLineCatSpecial, B, {250, "-- Scroll Ceil  tagged ceilings, by line direction", nullptr}},
    {kLineCatSpecial, B, {251, "-- Scroll Floor tagged floors, by line direction", nullptr}},
    {kLineCatSpecial, B, {252, "-- Carry        objects on tagged floors", nullptr}},
    {kLineCatSpecial, B, {253, "-- Scroll+Carry tagged floors and their objects", nullptr}},
    {kLineCatSpecial, B, {254, "-- Scroll Walls tagged walls, by line direction", nullptr}},
    {kLineCatSpecial, B, {245, "-- Scroll Ceil D displaced by the front sector", nullptr}},
    {kLineCatSpecial, B, {246, "-- ScrollFloorD displaced by the front sector", nullptr}},
    {kLineCatSpecial, B, {247, "-- Carry D      displaced by the front sector", nullptr}},
    {kLineCatSpecial, B, {248, "-- ScrollCarryD displaced by the front sector", nullptr}},
    {kLineCatSpecial, B, {249, "-- ScrollWallsD displaced by the front sector", nullptr}},
    {kLineCatSpecial, B, {214, "-- Scroll Ceil A accelerated by the front sector", nullptr}},
    {kLineCatSpecial, B, {215, "-- ScrollFloorA accelerated by the front sector", nullptr}},
    {kLineCatSpecial, B, {216, "-- Carry A      accelerated by the front sector", nullptr}},
    {kLineCatSpecial, B, {217, "-- ScrollCarryA accelerated by the front sector", nullptr}},
    {kLineCatSpecial, B, {218, "-- ScrollWallsA accelerated by the front sector", nullptr}},
    {kLineCatSpecial, B, {223, "-- Friction     by line length (sector friction bit)", nullptr}},
    {kLineCatSpecial, B, {224, "-- Wind         by line length and angle (wind bit)", nullptr}},
    {kLineCatSpecial, B, {225, "-- Current      by line length and angle (wind bit)", nullptr}},
    {kLineCatSpecial, B, {226, "-- Point Push   strength of thing 5001/5002 (wind bit)", nullptr}},
    {kLineCatSpecial, B, {242, "-- Deep Water   fake floor/ceiling of the front sector", nullptr}},
    {kLineCatSpecial, B, {260, "-- Translucent  middle texture (tag 0: this line)", nullptr}},
    {kLineCatSpecial, M, {271, "-- Sky Transfer front upper texture as sky", nullptr}},
    {kLineCatSpecial, M, {272, "-- Sky Mirrored front upper texture as sky, flipped", nullptr}},
    {kLineCatSpecial, M, {1024, "-- Scroll Tagged walls by this line's offsets / 8", nullptr}},
    {kLineCatSpecial, M, {1025, "-- ScrollTaggedD displaced by the front sector", nullptr}},
    {kLineCatSpecial, M, {1026, "-- ScrollTaggedA accelerated by the front sector", nullptr}},
};

// Types that need no tag under the ports: manual doors, the scrollers of
// their own wall and the effects that act on their own line.
const uint16_t kPortNoTagTypes[] = {85, 197, 198, 255, 260};

struct PortThing {
    uint16_t type;
    MapTarget needs;
};
const PortThing kPortThings[] = {{5001, B}, {5002, B}, {888, M}};

const PortFlag kPortLineDefFlags[] = {
    {0x2000, "Block Players", "Bp", M},
    {0x1000, "Block Land Monsters", "Bl", M},
    {0x0200, "Pass Use", "Pu", B},
};
const PortFlag kPortThingFlags[] = {
    {0x0020, "Not in DM", "NoDM", B},
    {0x0040, "Not in Coop", "NoCo", B},
    {0x0080, "Friendly", "Frnd", M},
};

constexpr uint16_t kOriginalLineDefFlags = 0x01FF;
constexpr uint16_t kOriginalThingFlags = 0x001F;

constexpr uint16_t kBaseMask = 0x001F;
constexpr uint16_t kDamageMask = 0x0060;
constexpr uint16_t kSecretBit = 0x0080;
constexpr uint16_t kFrictionBit = 0x0100;
constexpr uint16_t kWindBit = 0x0200;
constexpr uint16_t kAltDamageBit = 0x1000;
constexpr uint16_t kKillMonstersBit = 0x2000;
constexpr uint16_t kBoomSectorBits = kDamageMask | kSecretBit | kFrictionBit | kWindBit;
constexpr uint16_t kMbf21SectorBits = kAltDamageBit | kKillMonstersBit;

bool IsDoom() { return !IsHeretic(); }

// The flavour's rows with the port rows up to the target, each port row
// after the last row of its category.
std::vector<LineDefTypeInfo> MergedLineDefTypes(MapTarget target) {
    std::vector<LineDefTypeInfo> rows;
    const DefTable<LineDefTypeInfo>& base = kDoomDefinitions.lineDefTypes;
    auto addCategory = [&](uint16_t category) {
        for (const PortRow& port : kPortLineDefTypes)
            if (port.category == category && TargetAllows(target, port.needs))
                rows.push_back(port.row);
    };
    uint16_t category = 0;
    for (const LineDefTypeInfo& row : base) {
        if (IsHeaderType(row.type)) {
            addCategory(category);
            category = row.type;
        }
        rows.push_back(row);
    }
    addCategory(category);
    return rows;
}

}  // namespace

DefTable<LineDefTypeInfo> LineDefTypeTable(MapTarget target) {
    if (!IsDoom() || !TargetAllows(target, MapTarget::Boom))
        return CurrentDefinitions().lineDefTypes;
    static std::array<std::vector<LineDefTypeInfo>, kMapTargetCount> merged;
    std::vector<LineDefTypeInfo>& rows = merged[static_cast<size_t>(target)];
    if (rows.empty())
        rows = MergedLineDefTypes(target);
    return DefTable<LineDefTypeInfo>{rows.data(), static_cast<int>(rows.size())};
}

DefTable<SectorTypeInfo> SectorTypeTable(MapTarget) { return CurrentDefinitions().sectorTypes; }

std::optional<MapTarget> LineDefTypeNeeds(uint16_t type) {
    if (FindTypeRow(kDoomDefinitions.lineDefTypes, type) >= 0 && !IsHeaderType(type))
        return MapTarget::Original;
    if (IsGeneralizedType(type))
        return MapTarget::Boom;
    for (const PortRow& port : kPortLineDefTypes)
        if (port.row.type == type)
            return port.needs;
    return std::nullopt;
}

bool PortTypeNeedsNoTag(uint16_t type) {
    for (uint16_t t : kPortNoTagTypes)
        if (t == type)
            return true;
    return GeneralizedNeedsNoTag(type);
}

std::optional<MapTarget> SectorTypeNeeds(uint16_t type) {
    if (type <= kBaseMask) {
        int row = FindTypeRow(kDoomDefinitions.sectorTypes, type);
        return row >= 0 ? std::optional<MapTarget>(MapTarget::Original) : std::nullopt;
    }
    if (type & ~(kBaseMask | kBoomSectorBits | kMbf21SectorBits))
        return std::nullopt;
    if (FindTypeRow(kDoomDefinitions.sectorTypes, type & kBaseMask) < 0)
        return std::nullopt;
    return (type & kMbf21SectorBits) ? MapTarget::Mbf21 : MapTarget::Boom;
}

std::optional<MapTarget> ThingTypeNeeds(uint16_t type) {
    for (const PortThing& thing : kPortThings)
        if (thing.type == type)
            return thing.needs;
    return MapTarget::Original;
}

namespace {

std::optional<MapTarget> FlagsNeed(uint16_t flags, uint16_t original, DefTable<PortFlag> ports) {
    uint16_t rest = flags & ~original;
    MapTarget needs = MapTarget::Original;
    for (const PortFlag& flag : ports) {
        if (!(rest & flag.mask))
            continue;
        rest &= ~flag.mask;
        needs = std::max(needs, flag.needs);
    }
    return rest ? std::nullopt : std::optional<MapTarget>(needs);
}

}  // namespace

std::optional<MapTarget> LineDefFlagsNeed(uint16_t flags) {
    return FlagsNeed(flags, kOriginalLineDefFlags, PortLineDefFlags());
}

std::optional<MapTarget> ThingFlagsNeed(uint16_t flags) {
    return FlagsNeed(flags, kOriginalThingFlags, PortThingFlags());
}

DefTable<PortFlag> PortLineDefFlags() { return MakeTable(kPortLineDefFlags); }
DefTable<PortFlag> PortThingFlags() { return MakeTable(kPortThingFlags); }

SectorBits DecodeSectorBits(uint16_t type) {
    SectorBits bits;
    bits.base = type & kBaseMask;
    bits.damage = (type & kDamageMask) >> 5;
    bits.secret = type & kSecretBit;
    bits.friction = type & kFrictionBit;
    bits.wind = type & kWindBit;
    bits.altDamage = type & kAltDamageBit;
    bits.killMonsters = type & kKillMonstersBit;
    bits.other = type & ~(kBaseMask | kBoomSectorBits | kMbf21SectorBits);
    return bits;
}

uint16_t EncodeSectorBits(const SectorBits& bits) {
    return static_cast<uint16_t>((bits.base & kBaseMask) | ((bits.damage & 3) << 5) | (bits.secret ? kSecretBit : 0) |
                                 (bits.friction ? kFrictionBit : 0) | (bits.wind ? kWindBit : 0) |
                                 (bits.altDamage ? kAltDamageBit : 0) | (bits.killMonsters ? kKillMonstersBit : 0) |
                                 bits.other);
}

const char* SectorDamageName(int damage, bool altDamage) {
    static const char* const kPlain[] = {"None", "5%", "10%", "20%"};
    static const char* const kAlternate[] = {"Kill without suit", "Kill", "Kill all, exit", "Kill all, secret exit"};
    return (altDamage ? kAlternate : kPlain)[damage & 3];
}

std::string SectorBitsCodes(uint16_t type, MapTarget target) {
    SectorBits bits = DecodeSectorBits(type);
    static const char* const kDamageCodes[] = {"", " D5", " D10", " D20"};
    static const char* const kAltCodes[] = {" K", " Kx", " KEx", " KSx"};
    bool mbf21 = TargetAllows(target, MapTarget::Mbf21);
    std::string text = (bits.altDamage && mbf21 ? kAltCodes : kDamageCodes)[bits.damage];
    if (bits.secret)
        text += " Se";
    if (bits.friction)
        text += " Fr";
    if (bits.wind)
        text += " Wi";
    if (bits.killMonsters && mbf21)
        text += " KM";
    return text.empty() ? text : text.substr(1);
}

std::string SectorBitsText(uint16_t type, MapTarget target) {
    int row = FindTypeRow(kDoomDefinitions.sectorTypes, static_cast<uint16_t>(type & kBaseMask));
    const SectorTypeInfo* base = row < 0 ? nullptr : &kDoomDefinitions.sectorTypes.rows[row];
    std::string text = base ? (base->shortName ? base->shortName : base->description)
                            : "#" + std::to_string(type & kBaseMask);
    std::string codes = SectorBitsCodes(type, target);
    return codes.empty() ? text : text + " " + codes;
}
