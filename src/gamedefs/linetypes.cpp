#include "gamedefs/linetypes.h"

namespace {

constexpr size_t kShortNameLength = 16;
constexpr size_t kFlagsTextLimit = 14;

const DefTable<LineDefTypeInfo>& LineDefTypes() { return CurrentDefinitions().lineDefTypes; }
const DefTable<SectorTypeInfo>& SectorTypes() { return CurrentDefinitions().sectorTypes; }

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

const char* GetLineDefTypeDescription(uint16_t type) { return DescriptionOf(LineDefTypes(), type); }
const char* GetSectorTypeDescription(uint16_t type) { return DescriptionOf(SectorTypes(), type); }

std::string GetLineDefTypeShortName(uint16_t type) { return ShortNameOf(LineDefTypes(), type); }
std::string GetSectorTypeShortName(uint16_t type) { return ShortNameOf(SectorTypes(), type); }

int IsLineDefTypeValid(uint16_t type) { return FindTypeRow(LineDefTypes(), type) + 1; }
int IsSectorTypeValid(uint16_t type) { return FindTypeRow(SectorTypes(), type) + 1; }

const char* GetLineDefFlagName(int n) {
    for (const LineDefFlagInfo& flag : LineDefFlagTable())
        if (HasFlagBit(flag.mask, n)) return flag.name;
    return kUnknownName;
}

std::string LineDefFlagsText(uint16_t flags) {
    std::string text;
    for (const LineDefFlagInfo& flag : LineDefFlagTable())
        text += (flags & flag.mask) ? flag.code : "-";
    if (text.size() >= kFlagsTextLimit) text = text.substr(0, kFlagsTextLimit - 1) + "|";
    return text;
}

bool LineDefNeedsTag(uint16_t type) {
    return type > 1 && !CurrentDefinitions().noTagTypes.Contains(type);
}

bool IsExitType(uint16_t type) { return CurrentDefinitions().exitTypes.Contains(type); }
bool IsTeleportType(uint16_t type) { return CurrentDefinitions().teleportTypes.Contains(type); }
