#include "gamedefs/linetypes.h"

#include "base/flavour.h"
#include "gamedefs/generalized.h"
#include "gamedefs/port_types.h"

namespace {

constexpr size_t kShortNameLength = 16;
constexpr size_t kFlagsTextLimit = 14;

// A DOOM-flavour target that knows generalized types and Boom's Sector bits.
bool KnowsBoom(MapTarget target) { return !IsHeretic() && TargetAllows(target, MapTarget::Boom); }

bool KnownGeneralized(uint16_t type, MapTarget target) { return KnowsBoom(target) && IsGeneralizedType(type); }

// A Sector special with Boom's bits set that the target knows whole.
bool KnownSectorBits(uint16_t type, MapTarget target) {
    std::optional<MapTarget> needs = SectorTypeNeeds(type);
    return KnowsBoom(target) && type > 0x1F && needs && TargetAllows(target, *needs);
}

const char* DescriptionOf(const DefTable<SpecialTypeInfo>& table, uint16_t type) {
    int row = FindTypeRow(table, type);
    return row < 0 ? kUnknownName : table.rows[row].description;
}

std::string ShortNameOf(const DefTable<SpecialTypeInfo>& table, uint16_t type) {
    int row = FindTypeRow(table, type);
    if (row < 0) return kUnknownName;
    const SpecialTypeInfo& info = table.rows[row];
    if (info.shortName) return info.shortName;
    return std::string(info.description).substr(0, kShortNameLength);
}

}  // namespace

const char* GetLineDefTypeDescription(uint16_t type, MapTarget target) {
    if (KnownGeneralized(type, target))
        return GeneralizedKind(DecodeGeneralized(type)->kind).name;
    return DescriptionOf(LineDefTypeTable(target), type);
}
const char* GetSectorTypeDescription(uint16_t type, MapTarget target) {
    if (KnownSectorBits(type, target))
        return GetSectorTypeDescription(type & 0x1F, target);
    return DescriptionOf(SectorTypeTable(target), type);
}

std::string GetLineDefTypeShortName(uint16_t type, MapTarget target) {
    if (KnownGeneralized(type, target))
        return GeneralizedShortName(type);
    return ShortNameOf(LineDefTypeTable(target), type);
}
std::string GetSectorTypeShortName(uint16_t type, MapTarget target) {
    if (KnownSectorBits(type, target))
        return SectorBitsText(type, target).substr(0, kShortNameLength);
    return ShortNameOf(SectorTypeTable(target), type);
}

int IsLineDefTypeValid(uint16_t type, MapTarget target) {
    DefTable<LineDefTypeInfo> table = LineDefTypeTable(target);
    if (KnownGeneralized(type, target))
        return table.count + 1;
    return FindTypeRow(table, type) + 1;
}
int IsSectorTypeValid(uint16_t type, MapTarget target) {
    DefTable<SectorTypeInfo> table = SectorTypeTable(target);
    if (KnownSectorBits(type, target))
        return table.count + 1;
    return FindTypeRow(table, type) + 1;
}

const char* GetLineDefFlagName(int n) {
    for (const LineDefFlagInfo& flag : LineDefFlagTable())
        if (HasFlagBit(flag.mask, n)) return flag.name;
    for (const PortFlag& flag : PortLineDefFlags())
        if (!IsHeretic() && HasFlagBit(flag.mask, n)) return flag.name;
    return kUnknownName;
}

std::string LineDefFlagsText(uint16_t flags, MapTarget target) {
    std::string text;
    for (const PortFlag& flag : PortLineDefFlags())
        if (!IsHeretic() && TargetAllows(target, flag.needs))
            text += (flags & flag.mask) ? flag.code : "-";
    for (const LineDefFlagInfo& flag : LineDefFlagTable())
        text += (flags & flag.mask) ? flag.code : "-";
    if (text.size() >= kFlagsTextLimit) text = text.substr(0, kFlagsTextLimit - 1) + "|";
    return text;
}

bool LineDefNeedsTag(uint16_t type, MapTarget target) {
    if (KnowsBoom(target) && PortTypeNeedsNoTag(type))
        return false;
    return type > 1 && !CurrentDefinitions().noTagTypes.Contains(type);
}

bool IsExitType(uint16_t type) { return CurrentDefinitions().exitTypes.Contains(type); }
bool IsTeleportType(uint16_t type) { return CurrentDefinitions().teleportTypes.Contains(type); }
