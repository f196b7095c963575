#include "gamedefs/gamedefs.h"

#include <cstring>

#include "base/flavour.h"

const char kUnknownName[] = "<?unknown>?";

namespace {

const LineDefFlagInfo kLineDefFlags[] = {
    {0x100, "Automapped", "Ma"},
    {0x080, "Invisible", "In"},
    {0x040, "Block Sound", "So"},
    {0x020, "Secret", "Se"},
    {0x010, "LowerTx Unpegged", "Lo"},
    {0x008, "UpperTx Unpegged", "Up"},
    {0x004, "Two-sided", "2S"},
    {0x002, "Monster Block", "Mo"},
    {0x001, "Impassible", "Im"},
};

}  // namespace

const GameDefinitions& CurrentDefinitions() {
    return IsHeretic() ? kHereticDefinitions : kDoomDefinitions;
}

DefTable<LineDefFlagInfo> LineDefFlagTable() { return MakeTable(kLineDefFlags); }

bool TypeList::Contains(uint16_t type) const {
    for (int i = 0; i < count; i++)
        if (types[i] == type) return true;
    return false;
}

bool HasFlagBit(uint16_t flags, int n) {
    if (n < 1 || n > 16) return false;
    return (flags >> (n - 1)) & 1;
}

bool IsLaterGameDescription(const char* description) {
    size_t length = std::strlen(description);
    return length > 0 && description[length - 1] == '2';
}
